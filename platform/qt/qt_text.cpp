#include "platform/qt/qt_text.h"

#include "platform/cp932.h"

namespace platform {

QString ToQString(const std::string& cp932) { return QString::fromStdString(Cp932ToUtf8(cp932)); }

std::optional<std::string> FromQString(const QString& text) { return Utf8ToCp932(text.toStdString()); }

QString Q(const char* utf8) { return QString::fromUtf8(utf8); }

QString QLatin1(const char* text) { return QString::fromLatin1(text); }

}  // namespace platform
