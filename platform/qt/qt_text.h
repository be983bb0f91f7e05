// CP932 byte strings at the edge of Qt widgets.
#pragma once

#include <QString>
#include <optional>
#include <string>

namespace platform {

QString ToQString(const std::string& cp932);
// The one helper of the windows for their texts: a literal of the sources (UTF-8), or CP932
// text (as ToQString).
QString Q(const char* utf8);
inline QString Q(const std::string& cp932) { return ToQString(cp932); }
// A literal taken byte for byte (Latin-1): the report library's English texts.
QString QLatin1(const char* text);
// Empty optional when the text holds characters CP932 cannot encode.
std::optional<std::string> FromQString(const QString& text);

}  // namespace platform
