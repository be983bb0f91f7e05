// The program entry: starts what the program uses (app/startup), installs the Qt services of
// the user interface, creates the main window (the only form created at start) and runs the
// event loop until it closes.
#include <QApplication>

#include "app/startup/program_startup.h"
#include "app/ui/main_window.h"
#include "platform/qt/qt_ui.h"
#include "platform/ui.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  app::ProgramStartup startup;
  platform::QtUi ui;
  platform::InstallUi(&ui);

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
