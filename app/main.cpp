// The program entry: installs the Qt platform services and opens the main window.
#include <QApplication>
#include <QLabel>

#include "platform/qt/qt_ui.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("HarvSim Ver.2.00");
  platform::QtUi ui;
  platform::InstallUi(&ui);
  QLabel window(QString::fromUtf8("雨水利用シミュレーション Ver2.00"));
  window.resize(800, 573);
  window.setWindowTitle(QString::fromUtf8("雨水利用シミュレーション Ver2.00"));
  window.show();
  int rc = app.exec();
  platform::InstallUi(nullptr);
  return rc;
}
