#pragma once

#include <string>

#include <QString>

namespace runtime {

// The program's 8-bit texts are UTF-8 on this platform; these are the only
// conversions between them and Qt's strings.
inline QString ToQString(const std::string& text) {
    return QString::fromStdString(text);
}
inline std::string FromQString(const QString& text) {
    return text.toStdString();
}

} // namespace runtime
