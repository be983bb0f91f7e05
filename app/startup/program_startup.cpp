#include "app/startup/program_startup.h"

#include <QApplication>
#include <QFont>

#include "framework/appinit.h"
#include "framework/printing.h"
#include "framework/ui/hardcopy.h"
#include "framework/ui/input_behaviour.h"
#include "framework/ui/metafile_picture.h"
#include "platform/dc.h"
#include "platform/path.h"
#include "platform/qt/qt_ui.h"
#include "report/ui/editors.h"

namespace app {

ProgramStartup::ProgramStartup() {
  QFont font(QString::fromStdString(platform::SubstituteFace("ＭＳ Ｐゴシック")));
  font.setPixelSize(12);
  QApplication::setFont(font);
  platform::InstallJapaneseTranslation();
  fw::InstallInputFramework();
  fw::InstallPrintingUi();
  fw::InstallStartupPrinting();
  fw::ExecutablePath = platform::ExecutableFolder() + "harvsim";
  fw::RegisterMetafileEx();
  rpt::RegisterControlEditors();
}

ProgramStartup::~ProgramStartup() { fw::UnregisterMetafileEx(); }

}  // namespace app
