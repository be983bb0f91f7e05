#include "framework/ui/inp_form.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

#include "framework/convert.h"
#include "framework/input_state.h"
#include "framework/messages.h"
#include "framework/ui/controls.h"
#include "framework/ui/form_utils.h"
#include "framework/ui/input_behaviour.h"
#include "platform/cp932.h"
#include "platform/qt/qt_text.h"

namespace fw {

InpType InpData;

namespace {

constexpr int kValueGroup = 10;  // the input section of the codes 1001 and 1002

using platform::Q;

QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption, int x) {
  auto* b = new QPushButton(Q(caption), parent);
  b->setObjectName(Q(name));
  b->setGeometry(x, 46, 75, 25);
  return b;
}

QFrame* MakePanel(QWidget* parent, const char* name) {
  auto* p = new QFrame(parent);
  p->setObjectName(Q(name));
  p->setGeometry(20, 48, 250, 81);
  p->setFrameStyle(QFrame::Panel | QFrame::Raised);
  return p;
}

}  // namespace

TINPForm::TINPForm(QWidget* parent) : QDialog(parent) {
  setObjectName(Q("INPForm"));
  setWindowTitle(Q("補助入力"));
  resize(292, 139);
  callerInputCode_ = Input.InputCode;
  callerInputSection_ = Input.InputSection;
  callerInputMode_ = Input.InputMode;

  LBL1 = new QLabel(this);
  LBL1->setObjectName(Q("LBL1"));
  LBL1->setGeometry(12, 6, 270, 16);
  LBL2 = new QLabel(this);
  LBL2->setObjectName(Q("LBL2"));
  LBL2->setGeometry(12, 24, 270, 16);

  PNL1 = MakePanel(this, "PNL1");
  EDIT1_1 = new TEditEx(PNL1);
  EDIT1_1->setObjectName(Q("EDIT1_1"));
  SetTag(EDIT1_1, 1001);
  EDIT1_2 = new TEditEx(PNL1);
  EDIT1_2->setObjectName(Q("EDIT1_2"));
  SetTag(EDIT1_2, 1002);
  for (TEditEx* e : {EDIT1_1, EDIT1_2}) {
    e->SetEditType(TEditType::etString);
    e->SetCellFrame(false);
    e->OnEnter = [this](QWidget* s) { EDITcomEnter(s); };
    e->OnExit = [this](QWidget* s) { EDITcomExit(s); };
    e->OnKeyDown = [this](QWidget* s, int& k) { EDITcomKeyDown(s, k); };
    e->OnKeyPress = [this](QWidget* s, uint8_t& k) { EDITcomKeyPress(s, k); };
  }
  EDIT1_1->setGeometry(4, 10, 76, 20);
  EDIT1_2->setGeometry(108, 10, 120, 20);
  LBL1_1 = new QLabel(Q("から                     まで"), PNL1);
  LBL1_1->setObjectName(Q("LBL1_1"));
  LBL1_1->setGeometry(82, 13, 166, 16);
  LBL1_1->lower();
  BTN1_1 = MakeButton(PNL1, "BTN1_1", "確定(&Y)", 40);
  BTN1_2 = MakeButton(PNL1, "BTN1_2", "中止(&C)", 135);

  PNL2 = MakePanel(this, "PNL2");
  LBL2_1 = new QLabel(PNL2);
  LBL2_1->setObjectName(Q("LBL2_1"));
  LBL2_1->setGeometry(12, 14, 230, 16);
  BTN2_1 = MakeButton(PNL2, "BTN2_1", "確定(&Y)", 40);
  BTN2_2 = MakeButton(PNL2, "BTN2_2", "中止(&C)", 135);

  for (QPushButton* b : {BTN1_1, BTN2_1}) connect(b, &QPushButton::clicked, this, [this] { BTN1_1Click(); });
  for (QPushButton* b : {BTN1_2, BTN2_2}) connect(b, &QPushButton::clicked, this, [this] { BTN1_2Click(); });
  PNL1->hide();
  PNL2->hide();
}

void TINPForm::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (!activated_) {
    activated_ = true;
    FormActivate();
  }
}

QPushButton* TINPForm::FirstButton() const { return panelNo_ == 2 ? BTN2_1 : BTN1_1; }

void TINPForm::FormActivate() {
  SaveCursorPos(savedMouseX_, savedMouseY_);
  const char mode = InpData.Mode;
  if (mode == 'E') {
    panelNo_ = 1;
  } else if (mode == 'L' || mode == 'U') {
    panelNo_ = 2;
    LBL2_1->setText(mode == 'L' ? Q("（←）左のデータと同じにする。") : Q("（↑）上のデータと同じにする。"));
  }
  if (panelNo_ == 0) return;
  (panelNo_ == 1 ? PNL1 : PNL2)->show();

  const int longest = static_cast<int>(std::max(InpData.Comment1.size(), InpData.Comment2.size()));
  resize(std::max(300, 6 * longest + 40), height());
  LBL1->resize(width() - 20, LBL1->height());
  LBL2->resize(width() - 20, LBL2->height());
  PNL1->move((width() - PNL1->width()) / 2, PNL1->y());
  PNL2->move((width() - PNL2->width()) / 2, PNL2->y());
  const bool two = InpData.Count == 2;
  if (!two) EDIT1_1->resize(201, EDIT1_1->height());
  LBL1->setText(platform::ToQString(InpData.Comment1));
  LBL2->setText(platform::ToQString(InpData.Comment2));

  if (panelNo_ == 1) {
    LBL1_1->setVisible(two);
    TEditEx* edits[3] = {nullptr, EDIT1_1, EDIT1_2};
    for (int n = 1; n <= 2; ++n) {
      edits[n]->SetEditType(TEditType::etString);
      if (InpData.Kind == 4) edits[n]->SetUnderPoint(DecimalPlaces(InpData.Values[n]));
    }
    EDIT1_2->setVisible(two);
    setWindowTitle(InpData.Kind == 4 ? Q("実数入力") : InpData.Kind == 5 ? Q("整数入力") : Q("文字入力"));
    EDIT1_1->SetText(InpData.Values[1]);
    EDIT1_2->SetText(InpData.Values[2]);
    EditEnter(EDIT1_1);
    EDIT1_1->selectAll();
    EDIT1_1->setFocus(Qt::OtherFocusReason);
    InpData.SavedValues = InpData.Values;
    MovePointerToControl(FirstButton());
  } else {
    FirstButton()->setText(Q("はい(&Y)"));
    MoveMouseToControl(FirstButton());
  }
}

void TINPForm::EDITcomEnter(QWidget* sender) { EditEnter(sender); }

void TINPForm::EDITcomExit(QWidget* sender) {
  EditExit(sender);
  if (!Input.InputUnchanged) CommitValue(Input.InputSection);
}

void TINPForm::EDITcomKeyDown(QWidget* sender, int& key) { EditKeyDown(sender, key); }

void TINPForm::EDITcomKeyPress(QWidget* sender, uint8_t& key) {
  const uint8_t typed = key;
  EditKeyPress(sender, key);
  if (typed == 9 || typed == 13 || typed == 27) EDITcomExit(sender);
}

void TINPForm::CheckValueChars() {
  if (Input.InputSection != kValueGroup) return;
  std::string allowed;
  if (InpData.Kind == 4) allowed = "1234567890+-. ";
  if (InpData.Kind == 5) allowed = "1234567890+- ";
  if (allowed.empty() || HasOnlyChars(Input.InputText, allowed)) return;
  CancelEdit(Input.InputCode == 1002 ? EDIT1_2 : EDIT1_1);
}

void TINPForm::CommitValue(int group) {
  if (Input.InputCommitted) return;
  Input.InputCommitted = true;
  CheckValueChars();
  if (group == kValueGroup) {
    const int n = Input.InputCode - 1000;
    if (n == 1 || n == 2) InpData.Values[n] = Input.InputText;
    EDIT1_1->SetText(InpData.Values[1]);
    EDIT1_2->SetText(InpData.Values[2]);
  }
  Input.InputChanged = false;
  FirstButton()->setEnabled(true);
  MoveMouseToControl(FirstButton());
}

void TINPForm::BTN1_1Click() {
  CommitActiveEditor();
  SetCursorPosXY(savedMouseX_, savedMouseY_);
  DialogYes = true;
  DialogCancel = false;
  done(1);
}

void TINPForm::BTN1_2Click() {
  if (InpData.Mode == 'E') InpData.Values = InpData.SavedValues;
  SetCursorPosXY(savedMouseX_, savedMouseY_);
  DialogYes = false;
  DialogCancel = true;
  done(2);
}

void TINPForm::reject() {
  if (isVisible()) BTN1_2Click();
}

void TINPForm::done(int result) {
  // The dialog's own input ends with it; the caller's input values come back.
  if (CurrentEdit == EDIT1_1 || CurrentEdit == EDIT1_2) CurrentEdit = nullptr;
  Input.InputMode = callerInputMode_;
  Input.InputCode = callerInputCode_;
  Input.InputSection = callerInputSection_;
  QDialog::done(result);
}

int ShowInpForm(QWidget* parent) {
  TINPForm form(parent);
  return form.exec();
}

bool AskTextWithInpForm(const std::string& caption, const std::string& prompt, std::string& value) {
  InpData = InpType{};
  InpData.Comment1 = caption;
  InpData.Comment2 = prompt;
  InpData.Mode = 'E';
  InpData.Count = 1;
  InpData.Values[1] = value;
  if (ShowInpForm(QApplication::activeWindow()) != 1) return false;
  value = InpData.Values[1];
  return true;
}

}  // namespace fw
