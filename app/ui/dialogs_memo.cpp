#include "app/ui/dialogs_memo.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTextCursor>
#include <QToolButton>

#include "framework/convert.h"
#include "framework/drawing.h"
#include "framework/file_names.h"
#include "framework/input_state.h"
#include "framework/printing.h"
#include "framework/ui/controls.h"
#include "framework/ui/form_utils.h"
#include "framework/ui/input_behaviour.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "platform/path.h"
#include "platform/qt/dc_qt.h"
#include "platform/qt/qt_text.h"

namespace app {

using platform::J;

std::string MemoFile;

namespace {

constexpr int kPanelColour = 202;
constexpr int kMaxHeight = 570;

}  // namespace

std::vector<std::string> BuildMemoIndex(const std::vector<std::string>& lines, int column, const std::string& mark) {
  std::vector<std::string> items;
  if (mark.empty() || column < 1) return items;
  const size_t at = static_cast<size_t>(column - 1);
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    if (line.size() >= at + mark.size() && line.compare(at, mark.size(), mark) == 0)
      items.push_back(line + " --- (" + std::to_string(i + 1) + ")");
  }
  return items;
}

TMEMForm::TMEMForm(QWidget* parent) : QWidget(parent, Qt::Window), mark_(J("．")) {
  setObjectName("MEMForm");
  setWindowTitle(QString::fromUtf8("メモ用紙"));
  resize(640, 540);
  const QColor colour = platform::ColorRefToQColor(fw::ColorOf(kPanelColour));

  auto* panel = new QFrame(this);
  panel->setObjectName("PNL0");
  panel->setGeometry(0, 0, 640, 32);
  panel->setAutoFillBackground(true);
  QPalette pal = panel->palette();
  pal.setColor(QPalette::Window, colour);
  panel->setPalette(pal);

  auto tool = [panel](const char* name, const char* text, const char* hint, int x) {
    auto* b = new QToolButton(panel);
    b->setObjectName(name);
    b->setText(QString::fromUtf8(text));
    if (hint) b->setToolTip(QString::fromUtf8(hint));
    b->setGeometry(x, 4, 24, 24);
    b->setAutoRaise(true);
    return b;
  };
  SBTN3 = tool("SBTN3", "⇔", "目次／検索切替", 4);
  LBL1 = new QLabel(panel);
  LBL1->setObjectName("LBL1");
  LBL1->setGeometry(32, 6, 64, 20);
  CBOX1 = new fw::TCBoxEx(panel);
  CBOX1->setObjectName("CBOX1");
  fw::SetTag(CBOX1, 1001);
  CBOX1->SetCellFrame(false);
  CBOX1->SetStyle(fw::TComboBoxStyle::csDropDownList);
  CBOX1->setGeometry(98, 5, 330, 22);
  CBOX1->OnEnter = [](QWidget* s) { fw::ComboEnter(s); };
  CBOX1->OnExit = [](QWidget* s) { fw::ComboExit(s); };
  CBOX1->OnClick = [this](QWidget*) { IndexChosen(CBOX1->ItemIndex()); };
  EDIT1 = new fw::TEditEx(panel);
  EDIT1->setObjectName("EDIT1");
  fw::SetTag(EDIT1, 1002);
  EDIT1->SetCellFrame(false);
  EDIT1->setGeometry(98, 5, 262, 22);
  EDIT1->OnEnter = [](QWidget* s) { fw::EditEnter(s); };
  EDIT1->OnExit = [](QWidget* s) { fw::EditExit(s); };
  EDIT1->OnKeyDown = fw::EditKeyDown;
  EDIT1->OnKeyPress = [this](QWidget* s, uint8_t& key) {
    const bool enter = key == 13;
    fw::EditKeyPress(s, key);
    if (enter && BTN1->isEnabled()) FindText();
  };
  EDIT1->OnChange = [this](QWidget*) { BTN1->setEnabled(!EDIT1->Text().empty()); };
  BTN1 = new QPushButton(QString::fromUtf8("実行"), panel);
  BTN1->setObjectName("BTN1");
  BTN1->setGeometry(364, 4, 64, 24);
  BTN1->setEnabled(false);
  SBTN2 = tool("SBTN2", "印", nullptr, 436);
  SBTN2->setToolTip(QString::fromUtf8("印刷"));
  LBL0_1 = new QLabel(panel);
  LBL0_1->setObjectName("LBL0_1");
  LBL0_1->setGeometry(466, 6, 130, 20);
  LBL0_1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  SBTN1 = tool("SBTN1", "×", nullptr, 608);

  MEMO1 = new fw::TMemoEx(this);
  MEMO1->setObjectName("MEMO1");
  MEMO1->setGeometry(0, 32, 640, 508);
  QPalette memoPal = MEMO1->palette();
  memoPal.setColor(QPalette::Base, colour);
  MEMO1->setPalette(memoPal);

  connect(SBTN3, &QToolButton::clicked, this, [this] { SetMode(mode_ == 1 ? 2 : 1); });
  connect(BTN1, &QPushButton::clicked, this, [this] { FindText(); });
  connect(SBTN2, &QToolButton::clicked, this, [this] { PrintMemo(); });
  connect(SBTN1, &QToolButton::clicked, this, &QWidget::close);

  // The window may grow beyond 570 pixels only for a record shown by its label ("№...") that is
  // not a notes file.
  fw::SplitFileName(MemoFile);
  const bool tall = fw::Input.InputText.rfind(J("№"), 0) == 0 && fw::FileExt != ".MSG";
  if (!tall) setMaximumHeight(kMaxHeight);
  SetMode(1);
}

void TMEMForm::SetMemoIndexMark(int column, const std::string& mark) {
  column_ = column == 0 ? 3 : column;
  mark_ = mark.empty() ? J("．") : mark;
}

void TMEMForm::FormActivate() {
  if (!platform::FileExists(MemoFile)) MemoFile = platform::ExecutableFolder() + J("なし.DAT");
  fw::SplitFileName(MemoFile);
  if (fw::FileBaseName == J("なし"))
    MemoFile = fw::FileDir + J("一時ﾌｧｲﾙ.DAT");
  else
    MemoFile = fw::FileDir + fw::FileNameExt;
  fw::SplitFileName(MemoFile);
  setWindowTitle(platform::ToQString(J("メモ用紙 － ") + fw::FileNameExt));
  if (!loaded_) {
    loaded_ = true;
    fw::LoadMemoFromFile(MEMO1, MemoFile, false);
    const std::vector<std::string> lines = MEMO1->Lines();
    fw::SetComboItems(CBOX1, BuildMemoIndex(lines, column_, mark_));
    if (CBOX1->count() > 0) CBOX1->SetItemIndex(0);
    LBL0_1->setText(platform::ToQString(J("全") + fw::FormatNumberN(0, MEMO1->LineCount()) + J("行")));
  }
  SetMode(1);
  fw::MovePointerToControl(CBOX1);
}

void TMEMForm::SetMode(int mode) {
  mode_ = mode == 2 ? 2 : 1;
  const bool search = mode_ == 2;
  LBL1->setText(QString::fromUtf8(search ? "文字検索" : "目次参照"));
  CBOX1->setVisible(!search);
  EDIT1->setVisible(search);
  BTN1->setVisible(search);
  BTN1->setEnabled(!EDIT1->Text().empty());
  if (search) {
    EDIT1->setFocus(Qt::OtherFocusReason);
    EDIT1->selectAll();
  }
}

void TMEMForm::IndexChosen(int index) {
  if (index < 0) return;
  const std::string item = CBOX1->Items()[static_cast<size_t>(index)];
  const size_t at = item.rfind(" --- (");
  if (at == std::string::npos) return;
  const int line = static_cast<int>(fw::TextToInt(item.substr(at + 6)));
  fw::MemoDataType data;
  fw::GotoMemoLine(MEMO1, data, line);
}

bool TMEMForm::FindText() {
  const QString wanted = EDIT1->text();
  if (wanted.isEmpty()) return false;
  MEMO1->moveCursor(QTextCursor::Start);
  const bool found = MEMO1->find(wanted);
  if (found) MEMO1->ensureCursorVisible();
  return found;
}

void TMEMForm::PrintMemo() {
  fw::ResetPrintKind('D');
  fw::PrintMemo(MEMO1->Lines());
}

void TMEMForm::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  FormActivate();
}

}  // namespace app
