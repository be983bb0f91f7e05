#include "platform/qt/shell_qt.h"

#include <QDesktopServices>
#include <QUrl>

#include "platform/path.h"
#include "platform/qt/qt_text.h"
#include "platform/shell.h"

namespace platform {

void InstallQtShell() {
  InstallShellOpen([](const std::string& target) {
    if (target.size() > 2 && target[1] == ':') {
      auto native = ToNativePath(target);
      return native && QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(*native)));
    }
    return QDesktopServices::openUrl(QUrl::fromUserInput(ToQString(target)));
  });
}

}  // namespace platform
