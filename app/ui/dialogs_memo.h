// The memo window "メモ用紙": a text file (the quick guide, or a notes file) in a memo beside
// the main window, with an index of its heading lines, a text search and printing. Created
// once by the main window and kept until exit.
//
// Heading lines: a line whose characters from the heading column (1-based byte column, 3 by
// default), as long as the heading mark ("．" by default), equal the mark. A guide written
// "１．はじめに" therefore lists "１．はじめに --- (n)" in the index.
#pragma once

#include <QWidget>
#include <string>
#include <vector>

class QLabel;
class QPushButton;
class QToolButton;

namespace fw {
class TCBoxEx;
class TEditEx;
class TMemoEx;
}  // namespace fw

namespace app {

// The file the memo window shows (inside path); set before the window is shown.
extern std::string MemoFile;

// The index items "%s --- (%d)" of the heading lines of `lines` (line numbers from 1).
std::vector<std::string> BuildMemoIndex(const std::vector<std::string>& lines, int column, const std::string& mark);

class TMEMForm : public QWidget {
  Q_OBJECT
 public:
  explicit TMEMForm(QWidget* parent = nullptr);

  fw::TMemoEx* MEMO1;
  fw::TCBoxEx* CBOX1;  // index (code 1001)
  fw::TEditEx* EDIT1;  // search text (code 1002)
  QPushButton* BTN1;   // 実行
  QToolButton* SBTN3;  // 目次／検索切替
  QToolButton* SBTN2;  // print
  QToolButton* SBTN1;  // ×
  QLabel* LBL0_1;      // "全?,???行"
  QLabel* LBL1;        // "目次参照" / "文字検索"

  // Heading column (0 gives 3) and mark (empty gives "．").
  void SetMemoIndexMark(int column, const std::string& mark);
  // Resolves MemoFile, sets the caption, loads the file once and builds the index.
  void FormActivate();
  bool Loaded() const { return loaded_; }
  int Mode() const { return mode_; }  // 1 index, 2 search
  void SetMode(int mode);
  // Moves the memo to the line of index item `index` (0-based).
  void IndexChosen(int index);
  // Finds the search text from the start of the memo; true when found.
  bool FindText();
  void PrintMemo();

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  int column_ = 3;
  std::string mark_;
  bool loaded_ = false;
  int mode_ = 1;
};

}  // namespace app
