#include "TextCodec.h"

namespace vantrel::qt {

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
