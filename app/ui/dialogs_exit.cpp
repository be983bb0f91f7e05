#include "app/ui/dialogs_exit.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "framework/appinit.h"
#include "framework/calc_state.h"
#include "framework/input_state.h"
#include "framework/messages.h"
#include "framework/ui/form_utils.h"
#include "platform/qt/qt_text.h"
#include "platform/ui.h"

namespace app {

namespace {

const char* const kItems[4] = {"変更データはありません。", "変更データを破棄して、終了する。",
                               "変更データを保存して、終了する。", "変更データを保存して、再びプログラムに戻る。"};
const char* const kButtonCaptions[4] = {"終了(&Y)", "破棄終了(&Y)", "保存終了(&Y)", "保存再開(&Y)"};

}  // namespace

TCLOSEForm::TCLOSEForm(QWidget* parent) : QDialog(parent) {
  setObjectName("CLOSEForm");
  setWindowTitle(QString::fromUtf8("プログラムの終了"));
  setFixedSize(330, 224);
  LBL1 = new QLabel(this);
  LBL1->setObjectName("LBL1");
  LBL1->setGeometry(16, 10, 300, 20);
  RADG1 = new QGroupBox(QString::fromUtf8("終了方法"), this);
  RADG1->setObjectName("RADG1");
  RADG1->setGeometry(16, 36, 298, 132);
  RADG1Items = new QButtonGroup(this);
  for (int i = 0; i < 4; ++i) {
    auto* b = new QRadioButton(QString::fromUtf8(kItems[i]), RADG1);
    b->setGeometry(14, 24 + i * 25, 276, 22);
    RADG1Items->addButton(b, i);
    Items[static_cast<size_t>(i)] = b;
  }
  connect(RADG1Items, &QButtonGroup::idClicked, this, [this](int id) { RADG1Click(id); });
  BTN1 = new QPushButton(QString::fromUtf8(kButtonCaptions[0]), this);
  BTN1->setObjectName("BTN1");
  BTN1->setGeometry(74, 182, 100, 28);
  BTN1->setDefault(true);
  BTN2 = new QPushButton(QString::fromUtf8("中止(&C)"), this);
  BTN2->setObjectName("BTN2");
  BTN2->setGeometry(188, 182, 100, 28);
  connect(BTN1, &QPushButton::clicked, this, [this] { BTN1Click(); });
  connect(BTN2, &QPushButton::clicked, this, [this] { BTN2Click(); });
}

void TCLOSEForm::FormActivate() {
  const bool modified = fw::DataState.Modified != 0;
  RADG1->setEnabled(modified);
  const int item = modified ? 1 : 0;
  fw::SetRadioGroupSilently(RADG1Items, item + 1);
  BTN1->setText(QString::fromUtf8(kButtonCaptions[item]));
  fw::Input.SelectedNo = 0;
  LBL1->setText(platform::ToQString(fw::ProgramNameVersion) + QString::fromUtf8(" を終了しますか？"));
  fw::MoveMouseToControl(BTN1);
  fw::ShowStatus("");
  platform::CurrentUi().Beep();
}

void TCLOSEForm::RADG1Click(int item) {
  if (item < 0 || item > 3) return;
  BTN1->setText(QString::fromUtf8(kButtonCaptions[item]));
}

void TCLOSEForm::BTN1Click() {
  fw::DialogYes = true;
  fw::DialogCancel = false;
  fw::Input.SelectedNo = RADG1Items->checkedId() + 1;
  QDialog::accept();
}

void TCLOSEForm::BTN2Click() {
  fw::DialogYes = false;
  fw::DialogCancel = true;
  fw::Input.SelectedNo = 0;
  QDialog::reject();
}

void TCLOSEForm::reject() { BTN2Click(); }

void TCLOSEForm::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (!activated_) {
    activated_ = true;
    FormActivate();
  }
}

int ShowCloseForm(QWidget* parent) {
  TCLOSEForm form(parent);
  form.exec();
  return fw::Input.SelectedNo;
}

}  // namespace app
