#include "TextCodec.h"

#include <algorithm>

namespace vantrel::qt {

namespace {
constexpr char16_t kLastLatin1 = 0xFF;
}

bool isLatin1(const QString& text) {
    return std::all_of(text.begin(), text.end(),
                       [](QChar c) { return c.unicode() <= kLastLatin1; });
}

QString latin1Only(const QString& text) {
    QString kept;
    kept.reserve(text.size());
    for (QChar c : text)
        if (c.unicode() <= kLastLatin1) kept += c;
    return kept;
}

QString fromModelText(const std::string& text) {
    return fromLatin1(text).replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

std::string toModelText(const QString& text, const std::string& previous) {
    if (previous.find("\r\n") == std::string::npos) return toLatin1(text);
    QString crlf = text;
    crlf.replace(QLatin1String("\n"), QLatin1String("\r\n"));
    return toLatin1(crlf);
}

}  // namespace vantrel::qt
