#include "app/ui/dialogs_version.h"

#include <QLabel>
#include <QPushButton>
#include <cstdint>

#include "app/ui/pictures.h"
#include "framework/appinit.h"
#include "framework/file_names.h"
#include "framework/ui/controls.h"
#include "framework/ui/form_utils.h"
#include "platform/cp932.h"
#include "platform/path.h"
#include "platform/qt/qt_text.h"

namespace app {

TVERForm::TVERForm(QWidget* parent) : QDialog(parent) {
  setObjectName("VERForm");
  setWindowTitle(QString::fromUtf8("プログラムバージョン情報"));
  setFixedSize(420, 200);
  IMAG1 = new fw::TImageEx(this);
  IMAG1->setObjectName("IMAG1");
  IMAG1->setGeometry(14, 16, 128, 96);
  IMAG1->SetPicture(DrawWorkingPicture(QSize(128, 96)));
  auto label = [this](const char* name, int y, bool bold) {
    auto* l = new QLabel(this);
    l->setObjectName(name);
    l->setGeometry(156, y, 252, 20);
    if (bold) {
      QFont f = l->font();
      f.setBold(true);
      l->setFont(f);
    }
    return l;
  };
  LBL1 = label("LBL1", 18, true);
  LBL2 = label("LBL2", 42, false);
  LBL3 = label("LBL3", 66, false);
  LBL4 = label("LBL4", 90, false);
  LBL4->setGeometry(14, 124, 394, 20);
  BTN1 = new QPushButton(QString::fromUtf8("閉じる(&X)"), this);
  BTN1->setObjectName("BTN1");
  BTN1->setGeometry(160, 156, 100, 28);
  BTN1->setDefault(true);
  connect(BTN1, &QPushButton::clicked, this, &QDialog::accept);
}

void TVERForm::FormActivate() {
  if (fw::ProgramTitle.empty()) {
    fw::ProgramTitle = platform::J("プログラムバージョン情報 Ver.1.00");
    fw::ProgramNameVersion = "Wver.EXE Ver.1.00";
  }
  LBL1->setText(platform::ToQString(fw::ProgramTitle));
  LBL2->setText(platform::ToQString(fw::ProgramNameVersion));
  const std::string exe = fw::ExecutablePath.empty() ? platform::ExecutableFolder() + "harvsim" : fw::ExecutablePath;
  int64_t when = 0;
  std::string text;
  fw::FileDateText(exe, when, text);
  LBL3->setText(platform::ToQString(text));
  LBL4->setText(platform::ToQString(fw::SettingsRows[3]));
  fw::MoveMouseToControl(BTN1);
}

void TVERForm::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (!activated_) {
    activated_ = true;
    FormActivate();
  }
}

void ShowVersionForm(QWidget* parent) {
  TVERForm form(parent);
  form.exec();
}

}  // namespace app
