#pragma once
// The models hold 8-bit text, one byte one character (ISO-8859-1); widgets hold
// QString. Multi-line text may use CR LF line ends in the model; widgets use LF.
#include <QString>
#include <string>

namespace vantrel::qt {

inline QString fromLatin1(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string toLatin1(const QString& text) {
    return text.toLatin1().toStdString();
}

// True when every character of the text has a one-byte form.
bool isLatin1(const QString& text);
// The text without the characters that have no one-byte form.
QString latin1Only(const QString& text);

// Text for a multi-line widget: CR LF line ends become LF.
QString fromModelText(const std::string& text);
// Text typed in a multi-line widget, with the line ends that `previous` used.
std::string toModelText(const QString& text, const std::string& previous);

}  // namespace vantrel::qt
