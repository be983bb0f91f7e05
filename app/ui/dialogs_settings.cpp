#include "app/ui/dialogs_settings.h"

#include <QButtonGroup>
#include <algorithm>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "framework/appinit.h"
#include "framework/convert.h"
#include "framework/file_names.h"
#include "framework/folders.h"
#include "framework/input_state.h"
#include "framework/messages.h"
#include "framework/table_file.h"
#include "framework/ui/controls.h"
#include "framework/ui/form_utils.h"
#include "framework/ui/input_behaviour.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "platform/qt/dc_qt.h"
#include "platform/qt/qt_text.h"

namespace app {

namespace {

using platform::J;

constexpr int kGridRows = 20;
constexpr int kDriveGridRow = 14;  // shows settings row 15
constexpr int kRowCode = 1000;     // input code of grid row r: 1000 + r

const char* const kTitles[kGridRows + 1] = {
    "",
    "名称",
    "システム名",
    "メモリ・画面",
    "システムドライブ",
    "起動ドライブ",
    "基本フォルダー(1)",
    "基本フォルダー(2)",
    "データフォルダー",
    "プログラム名称",
    "プログラム版数",
    "保存日時",
    "最終ファイルの場所",
    "最終ファイルの名前",
    "最終ファイルの拡張子",
    "【ドライブ】",
    "【色番号１】",
    "【色番号２】",
    "【色番号３】",
    "【色ファイル】",
    "予備",
};

const char* const kDriveNames[4] = {"フロッピー・ドライブ", "CD-ROM・ドライブ", "メモリカード・ドライブ",
                                    "増設ディスク・ドライブ"};
// Characters (1-based) of the four drive letters in settings row 15.
constexpr int kDrivePositions[4] = {4, 11, 18, 25};

bool CharAt(const std::string& text, int position, char c) {
  return static_cast<int>(text.size()) >= position && text[static_cast<size_t>(position - 1)] == c;
}

bool Editable(int gridRow) { return gridRow >= 0 && gridRow < kGridRows && fw::ContainsStr(J("【"), SettingsRowTitle(gridRow + 1)); }

bool ExistsBelow(const std::string& folder, const std::string& name) {
  return platform::FileExists(folder + name) || platform::FolderExists(folder + name);
}

}  // namespace

std::string SettingsRowTitle(int settingsRow) {
  if (settingsRow < 1 || settingsRow > kGridRows) return std::string();
  return J(kTitles[settingsRow]);
}

bool CheckSettingsRow(int code, const std::string& text) {
  switch (code) {
    case 1014:  // drive letters "FD[A:] CD[?:] MC[?:] HD[C:]"
      return text.size() >= 20 && CharAt(text, 5, ':') && CharAt(text, 12, ':') && CharAt(text, 19, ':');
    case 1015:
    case 1016:
    case 1017:  // six groups "[nnn]"
      for (int g = 0; g < 6; ++g)
        if (!CharAt(text, 1 + 5 * g, '[') || !CharAt(text, 5 + 5 * g, ']')) return false;
      return true;
    case 1018:
    case 1019: {
      const std::string name = fw::TrimBoth(text);
      if (name.empty()) return false;
      return ExistsBelow(fw::ColorDir, name) || ExistsBelow(fw::DataDir, name) ||
             ExistsBelow(fw::BaseDrive + fw::BaseFolder, name);
    }
    default:
      return true;
  }
}

TUTForm::TUTForm(QWidget* parent) : QDialog(parent) {
  if (fw::DataDir.empty()) fw::AppInit();  // opened before the program's start-up (standalone)
  setObjectName("UTForm");
  setWindowTitle(QString::fromUtf8("利用環境ファイル(Util)"));
  setFixedSize(560, 448);

  LBL_Note = new QLabel(QString::fromUtf8("注意：編集は慎重にお願いします。"), this);
  LBL_Note->setObjectName("LBL_Note");
  LBL_Note->setGeometry(12, 10, 260, 20);
  LBL1 = new QLabel(this);
  LBL1->setObjectName("LBL1");
  LBL1->setGeometry(280, 10, 50, 20);
  RBTN1 = new QRadioButton(QString::fromUtf8("表示"), this);
  RBTN1->setObjectName("RBTN1");
  fw::SetTag(RBTN1, 1);
  RBTN1->setGeometry(350, 10, 70, 20);
  RBTN2 = new QRadioButton(QString::fromUtf8("編集"), this);
  RBTN2->setObjectName("RBTN2");
  fw::SetTag(RBTN2, 2);
  RBTN2->setGeometry(420, 10, 70, 20);
  auto* modes = new QButtonGroup(this);
  modes->addButton(RBTN1, 1);
  modes->addButton(RBTN2, 2);
  connect(modes, &QButtonGroup::idClicked, this, [this](int id) { SetMode(id == 2); });

  STRG1 = new fw::TStrGridEx(this);
  STRG1->setObjectName("STRG1");
  fw::SetTag(STRG1, kRowCode);
  STRG1->setGeometry(12, 36, 536, 364);
  STRG1->SetColCount(2);
  STRG1->SetRowCount(kGridRows);
  STRG1->SetFixedCols(1);
  STRG1->SetFixedRows(0);
  STRG1->SetDefaultRowHeight(17);
  STRG1->SetColWidths(0, 170);
  STRG1->SetColWidths(1, 362);  // the rest of the grid's width
  STRG1->OnDrawCell = [this](fw::TStrGridEx* g, int col, int row, const platform::Rect& rect, int) {
    platform::Canvas* c = g->Canvas();
    if (!c) return;
    const std::string title = SettingsRowTitle(row + 1);
    platform::ColorRef back, fore;
    if (col == 0) {
      if (!fw::ContainsStr(J("【"), title)) return;
      back = platform::RgbColor(40, 56, 92);
      fore = platform::RgbColor(255, 255, 255);
    } else {
      back = platform::QRgbToColorRef(g->Color().rgb());
      fore = EditMode() ? platform::RgbColor(0, 0, 0) : platform::RgbColor(128, 128, 128);
    }
    // The text in the middle of the cell's height, 2 pixels in from the left and the right.
    const std::string text = g->Cells(col, row);
    c->Brush().SetColor(back);
    c->FillRect(rect);
    c->Font().SetColor(fore);
    const int y = rect.top + (rect.Height() - c->TextHeight(text)) / 2;
    c->TextRect(platform::Rect{rect.left + 2, rect.top, rect.right - 2, rect.bottom}, rect.left + 2, y, text);
  };
  STRG1->OnMouseUp = [this](QWidget*, QMouseEvent*) { GridClick(STRG1->Row()); };

  EDIT1_1 = new fw::TEditEx(this);
  EDIT1_1->setObjectName("EDIT1_1");
  fw::SetTag(EDIT1_1, kRowCode);
  EDIT1_1->OnEnter = [](QWidget* s) { fw::EditEnter(s); };
  EDIT1_1->OnExit = [this](QWidget* s) {
    fw::EditExit(s);
    CommitRow();
  };
  EDIT1_1->OnKeyDown = fw::EditKeyDown;
  EDIT1_1->OnKeyPress = [this](QWidget* s, uint8_t& key) {
    const uint8_t typed = key;
    fw::EditKeyPress(s, key);
    if (typed == 9 || typed == 13 || typed == 27) STRG1->setFocus(Qt::OtherFocusReason);  // ends the input
  };

  LBL_Changed = new QLabel(QString::fromUtf8("※変更あり"), this);
  LBL_Changed->setObjectName("LBL_Changed");
  LBL_Changed->setGeometry(12, 410, 80, 24);
  QPalette red = LBL_Changed->palette();
  red.setColor(QPalette::Active, QPalette::WindowText, Qt::red);
  red.setColor(QPalette::Inactive, QPalette::WindowText, Qt::red);
  LBL_Changed->setPalette(red);
  auto button = [this](const char* name, const char* text, int x) {
    auto* b = new QPushButton(QString::fromUtf8(text), this);
    b->setObjectName(name);
    b->setGeometry(x, 406, 104, 28);
    return b;
  };
  BTN1 = button("BTN1", "最初に戻す(&R)", 100);
  BTN2 = button("BTN2", "ｵﾘｼﾞﾅﾙﾌｧｲﾙ(&O)", 212);
  BTN4 = button("BTN4", "保存(&S)", 324);
  BTN5 = button("BTN5", "閉じる(&X)", 436);
  connect(BTN1, &QPushButton::clicked, this, [this] { BTN1Click(); });
  connect(BTN2, &QPushButton::clicked, this, [this] { BTN2Click(); });
  connect(BTN4, &QPushButton::clicked, this, [this] { BTN4Click(); });
  connect(BTN5, &QPushButton::clicked, this, [this] { BTN5Click(); });

  PNL1 = new QFrame(this);
  PNL1->setObjectName("PNL1");
  PNL1->setFrameShape(QFrame::Panel);
  PNL1->setFrameShadow(QFrame::Raised);
  PNL1->setAutoFillBackground(true);
  PNL1->setGeometry(150, 120, 260, 176);
  std::vector<std::string> drives = {"?:"};
  for (char c = 'A'; c <= 'Z'; ++c) drives.push_back(std::string(1, c) + ":");
  drives.push_back("  ");  // no drive of this kind
  for (int i = 0; i < 4; ++i) {
    auto* l = new QLabel(QString::fromUtf8(kDriveNames[i]), PNL1);
    l->setGeometry(12, 12 + i * 30, 150, 22);
    auto* c = new fw::TCBoxEx(PNL1);
    c->setObjectName(QString("CBOX1_%1").arg(i + 1));
    fw::SetTag(c, 1101 + i);
    c->SetCellFrame(false);
    c->SetStyle(fw::TComboBoxStyle::csDropDownList);
    c->SetItems(drives);
    c->setGeometry(170, 12 + i * 30, 70, 22);
    CBOX1[static_cast<size_t>(i)] = c;
  }
  BTN1_1 = new QPushButton(QString::fromUtf8("設定"), PNL1);
  BTN1_1->setObjectName("BTN1_1");
  BTN1_1->setGeometry(40, 136, 80, 28);
  BTN1_2 = new QPushButton(QString::fromUtf8("戻る"), PNL1);
  BTN1_2->setObjectName("BTN1_2");
  BTN1_2->setGeometry(140, 136, 80, 28);
  connect(BTN1_1, &QPushButton::clicked, this, [this] { BTN1_1Click(); });
  connect(BTN1_2, &QPushButton::clicked, this, [this] { BTN1_2Click(); });
  PNL1->hide();

  setWindowTitle(platform::ToQString(J("利用環境.WIN <") + fw::DataDir + ">"));
}

bool TUTForm::EditMode() const { return RBTN2->isChecked(); }

void TUTForm::FillGrid() {
  for (int r = 0; r < kGridRows; ++r) {
    STRG1->SetCells(0, r, SettingsRowTitle(r + 1));
    STRG1->SetCells(1, r, fw::SettingsRows[static_cast<size_t>(r + 1)]);
  }
  STRG1->viewport()->update();
}

void TUTForm::SetChanged(bool on) {
  changed_ = on;
  LBL_Changed->setEnabled(on);
  BTN1->setEnabled(on);
  BTN4->setEnabled(on);
}

void TUTForm::SetMode(bool edit) {
  RBTN1->setChecked(!edit);
  RBTN2->setChecked(edit);
  if (!edit) PNL1->hide();
  LBL1->clear();
  STRG1->viewport()->update();
}

void TUTForm::FormActivate() {
  fw::LoadSettings();
  FillGrid();
  changedAtOpening_ = false;
  SetChanged(false);
  // View mode while the last file exists; otherwise editing is offered at once.
  SetMode(!fw::FileCheck(fw::FilePath, 0));
  fw::MoveMouseToControl(BTN5);
}

void TUTForm::GridClick(int row) {
  if (!EditMode() || row < 0 || row >= kGridRows) return;
  LBL1->setText(QString("(%1)").arg(row + 1));
  if (!Editable(row)) return;
  editRow_ = row;
  if (row == kDriveGridRow) {
    const std::string text = STRG1->Cells(1, row);
    for (int i = 0; i < 4; ++i) {
      const std::string letter = text.size() >= static_cast<size_t>(kDrivePositions[i] + 1)
                                     ? text.substr(static_cast<size_t>(kDrivePositions[i] - 1), 2)
                                     : std::string("?:");
      fw::TCBoxEx* combo = CBOX1[static_cast<size_t>(i)];
      const std::vector<std::string> items = combo->Items();
      const auto it = std::find(items.begin(), items.end(), letter);
      combo->SetItemIndex(it == items.end() ? 0 : static_cast<int>(it - items.begin()));
    }
    PNL1->show();
    PNL1->raise();
    return;
  }
  fw::PlaceEditorOnGridCell(STRG1, 1, row);
  fw::ShowGridEdit(EDIT1_1, fw::TEditType::etString, fw::kSettingsRowWidth, 0, 0);
  fw::Input.InputCode = kRowCode + row;
  fw::Input.InputSection = fw::Input.InputCode / 100;
}

void TUTForm::CommitRow() {
  const int row = editRow_;
  editRow_ = -1;
  if (row < 0 || fw::Input.InputUnchanged || fw::Input.InputCommitted) return;
  fw::Input.InputCommitted = true;
  const std::string text = fw::TrimBoth(fw::Input.InputText);
  if (!CheckSettingsRow(kRowCode + row, text)) {
    STRG1->SetCells(1, row, fw::Input.InputOrgText);  // the editor's old text
    return;
  }
  STRG1->SetCells(1, row, text);
  fw::SettingsRows[static_cast<size_t>(row + 1)] = text;
  SetChanged(true);
}

void TUTForm::BTN1Click() {
  fw::LoadSettings();
  FillGrid();
  SetChanged(false);
}

void TUTForm::BTN2Click() {
  fw::MsgDialog(J("〔利用環境.ORG〕オリジナルファイルを読込みますか？"), 2, 2);
  if (!fw::DialogYes) return;
  if (!fw::DataLoad(fw::DataDir + J("利用環境.ORG"))) return;
  const int rows = std::min(fw::TableBuffer.TableRows, fw::kSettingsRowCount);
  for (int i = 0; i < rows; ++i)
    fw::SettingsRows[static_cast<size_t>(i)] = fw::TableBuffer.TableKeys[static_cast<size_t>(i + 1)];
  FillGrid();
  SetChanged(true);
}

void TUTForm::BTN4Click() {
  for (int r = 0; r < kGridRows; ++r) fw::SettingsRows[static_cast<size_t>(r + 1)] = STRG1->Cells(1, r);
  if (!fw::WriteSettingsFile()) {
    // The edits stay on screen, so the user can try again or close without them.
    fw::MsgDialog(J("利用環境ファイルを保存できませんでした。") + "\r\r" + fw::DataDir + J("利用環境.WIN"), 4, 1);
    return;
  }
  changedAtOpening_ = false;
  BTN5Click();
}

void TUTForm::BTN5Click() {
  changed_ = changedAtOpening_;
  fw::LoadSettings();  // unsaved edits of the grid are dropped
  QDialog::accept();
}

void TUTForm::BTN1_1Click() {
  std::string text = STRG1->Cells(1, kDriveGridRow);
  for (int i = 0; i < 4; ++i) text = fw::OverwriteAt(text, kDrivePositions[i], CBOX1[static_cast<size_t>(i)]->Text());
  STRG1->SetCells(1, kDriveGridRow, text);
  fw::SettingsRows[kDriveGridRow + 1] = text;
  SetChanged(true);
  PNL1->hide();
}

void TUTForm::BTN1_2Click() { PNL1->hide(); }

void TUTForm::reject() { BTN5Click(); }

void TUTForm::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (!activated_) {
    activated_ = true;
    FormActivate();
  }
}

void ShowSettingsForm(QWidget* parent) {
  TUTForm form(parent);
  form.exec();
}

}  // namespace app
