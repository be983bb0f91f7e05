// The auxiliary input dialog "補助入力": asks for one or two short values (mode 'E'), or
// confirms that a value is to be copied from the field on the left ('L') or above ('U').
// The caller fills InpData, shows the dialog modally (ShowInpForm) and reads the answer from
// InpData and from DialogYes / DialogCancel.
//
// Decisions kept on purpose:
// - Closing the dialog by its title bar or by Esc on a button counts as "中止": the values
//   return and DialogYes is cleared.
// - Closing puts back the caller's input mode with its input code and section.
// - "確定" first commits a value still being typed (as leaving the field would), so a value
//   accepted by the keyboard shortcut is not lost.
// - In mode 'E' the value edit keeps the focus when the dialog opens (the pointer still moves
//   onto "確定"), so the user can type at once.
#pragma once

#include <QDialog>
#include <array>
#include <cstdint>
#include <string>

class QFrame;
class QLabel;
class QPushButton;

namespace fw {

class TEditEx;

struct InpType {
  std::string Comment1;  // shown above the values
  std::string Comment2;
  char Mode = 'E';       // 'E' value entry, 'L' copy from the left, 'U' copy from above
  uint8_t Kind = 0;      // 4 real number, 5 integer, anything else text
  int Count = 1;         // 1 or 2 values
  std::array<std::string, 3> Values;       // [1] and [2]: shown and returned
  std::array<std::string, 3> SavedValues;  // [1] and [2]: the values at activation
};

extern InpType InpData;

class TINPForm : public QDialog {
  Q_OBJECT
 public:
  explicit TINPForm(QWidget* parent = nullptr);

  QLabel* LBL1;
  QLabel* LBL2;
  QFrame* PNL1;
  TEditEx* EDIT1_1;  // Tag 1001
  TEditEx* EDIT1_2;  // Tag 1002
  QLabel* LBL1_1;
  QPushButton* BTN1_1;
  QPushButton* BTN1_2;
  QFrame* PNL2;
  QLabel* LBL2_1;
  QPushButton* BTN2_1;
  QPushButton* BTN2_2;

  int PanelNo() const { return panelNo_; }

  void FormActivate();
  void EDITcomEnter(QWidget* sender);
  void EDITcomExit(QWidget* sender);
  void EDITcomKeyDown(QWidget* sender, int& key);
  void EDITcomKeyPress(QWidget* sender, uint8_t& key);
  // Takes the committed value of group `group` into InpData (once per input).
  void CommitValue(int group);
  void BTN1_1Click();  // 確定
  void BTN1_2Click();  // 中止

 public slots:
  void reject() override;
  void done(int result) override;

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  void CheckValueChars();
  QPushButton* FirstButton() const;

  int panelNo_ = 0;
  bool activated_ = false;
  int callerInputCode_ = 0;
  int callerInputSection_ = 0;
  bool callerInputMode_ = false;
  int savedMouseX_ = 0;
  int savedMouseY_ = 0;
};

// Shows the dialog for InpData modally; returns its modal result (1 確定, 2 中止).
int ShowInpForm(QWidget* parent = nullptr);

// Asks for one text value (mode 'E', text kind): the caption and the prompt become the two
// comments; true when the user accepted, with the answer in `value`.
bool AskTextWithInpForm(const std::string& caption, const std::string& prompt, std::string& value);

}  // namespace fw
