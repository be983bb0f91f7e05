// CP932 byte strings at the edge of Qt widgets.
#pragma once

#include <QString>
#include <optional>
#include <string>

namespace platform {

QString ToQString(const std::string& cp932);
// Empty optional when the text holds characters CP932 cannot encode.
std::optional<std::string> FromQString(const QString& text);

}  // namespace platform
