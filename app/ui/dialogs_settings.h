// The settings-file editor "利用環境ファイル(Util)": shows settings rows 1 to 20 of
// "DATA\利用環境.WIN" in a grid (grid row r shows settings row r + 1) and lets the user edit
// the rows whose title holds "【" in edit mode: the drive letters through a panel of four
// drive combos, the other rows in place, each checked before it is taken.
//
// Row titles (the meaning of each settings row):
//   1 名称                 6 基本フォルダー(1)    11 保存日時                16 【色番号１】
//   2 システム名           7 基本フォルダー(2)    12 最終ファイルの場所      17 【色番号２】
//   3 メモリ・画面         8 データフォルダー     13 最終ファイルの名前      18 【色番号３】
//   4 システムドライブ     9 プログラム名称       14 最終ファイルの拡張子    19 【色ファイル】
//   5 起動ドライブ        10 プログラム版数       15 【ドライブ】            20 予備
//
// Decisions of this implementation:
// - "保存(&S)" writes the rows to "利用環境.WIN" only, through the framework's settings-file
//   writer; the factory copy "利用環境.ORG" is never written, so "ｵﾘｼﾞﾅﾙﾌｧｲﾙ(&O)" can always
//   bring the installed rows back. A file that cannot be written is reported in an error
//   dialog and the editor stays open with its edits.
// - The colour-file row (code 1018) must name a file or folder that exists in the colour
//   folder, the data folder or the program folder.
// - The drive combos hold "?:", "A:" to "Z:" and two blanks (no drive of that kind), 28 items.
// - The caption is "利用環境.WIN <" + the data folder + ">".
#pragma once

#include <QDialog>
#include <array>
#include <string>

class QFrame;
class QLabel;
class QPushButton;
class QRadioButton;

namespace fw {
class TCBoxEx;
class TEditEx;
class TStrGridEx;
}  // namespace fw

namespace app {

// The row check of an edited settings row (input code 1000 + grid row).
bool CheckSettingsRow(int code, const std::string& text);
// The title of settings row 1..20 (CP932).
std::string SettingsRowTitle(int settingsRow);

class TUTForm : public QDialog {
  Q_OBJECT
 public:
  explicit TUTForm(QWidget* parent = nullptr);

  fw::TStrGridEx* STRG1;
  fw::TEditEx* EDIT1_1;
  QRadioButton* RBTN1;  // 表示
  QRadioButton* RBTN2;  // 編集
  QPushButton* BTN1;    // 最初に戻す
  QPushButton* BTN2;    // ｵﾘｼﾞﾅﾙﾌｧｲﾙ
  QPushButton* BTN4;    // 保存
  QPushButton* BTN5;    // 閉じる
  QLabel* LBL_Note;     // 注意：編集は慎重にお願いします。
  QLabel* LBL_Changed;  // ※変更あり
  QLabel* LBL1;         // (n)
  QFrame* PNL1;
  std::array<fw::TCBoxEx*, 4> CBOX1{};  // CBOX1_1 .. CBOX1_4
  QPushButton* BTN1_1;  // 設定
  QPushButton* BTN1_2;  // 戻る

  bool SettingsChanged() const { return changed_; }
  bool EditMode() const;

  void FormActivate();
  // Edit mode: a click on grid row `row` opens the drive panel or the in-grid editor.
  void GridClick(int row);
  // The editor's text for the row being edited: taken when it passes the row check.
  void CommitRow();
  void BTN1Click();
  void BTN2Click();
  void BTN4Click();
  void BTN5Click();
  void BTN1_1Click();
  void BTN1_2Click();

 public slots:
  void reject() override;

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  void FillGrid();
  void SetChanged(bool on);
  void SetMode(bool edit);

  bool changed_ = false;
  bool changedAtOpening_ = false;
  bool activated_ = false;
  int editRow_ = -1;
};

void ShowSettingsForm(QWidget* parent);

}  // namespace app
