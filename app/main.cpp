// The program entry: installs Qt's Japanese translation, the Qt services of the platform and
// the framework, creates the main window (the only form created at start) and runs the event
// loop until it closes.
#include <QApplication>
#include <QFont>

#include "app/ui/main_window.h"
#include "framework/appinit.h"
#include "framework/printing.h"
#include "framework/ui/hardcopy.h"
#include "framework/ui/input_behaviour.h"
#include "platform/dc.h"
#include "platform/path.h"
#include "platform/qt/qt_ui.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QFont font(QString::fromStdString(platform::SubstituteFace("ＭＳ Ｐゴシック")));
  font.setPixelSize(12);
  QApplication::setFont(font);
  platform::InstallJapaneseTranslation();
  platform::QtUi ui;
  platform::InstallUi(&ui);
  fw::InstallInputFramework();
  fw::InstallPrintingUi();
  fw::InstallStartupPrinting();
  fw::ExecutablePath = platform::ExecutableFolder() + "harvsim";

  int rc = 1;
  {
    app::THARVForm window;
    if (!window.StartupFailed()) {
      window.show();
      rc = application.exec();
    }
  }
  platform::InstallUi(nullptr);
  return rc;
}
