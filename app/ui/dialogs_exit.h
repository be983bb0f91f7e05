// The exit dialog "プログラムの終了": asks how to leave a modified case. The result is the
// program-wide Input.SelectedNo (0 cancelled, 1 to 4 the chosen way) with the answer flags:
//   1 "変更データはありません。"                       close
//   2 "変更データを破棄して、終了する。"               close without saving
//   3 "変更データを保存して、終了する。"               save, then close
//   4 "変更データを保存して、再びプログラムに戻る。"   save and stay
// Closing the dialog by its title bar counts as "中止(&C)".
#pragma once

#include <QDialog>
#include <array>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace app {

class TCLOSEForm : public QDialog {
  Q_OBJECT
 public:
  explicit TCLOSEForm(QWidget* parent = nullptr);

  QLabel* LBL1;
  QGroupBox* RADG1;
  QButtonGroup* RADG1Items;  // ids 0..3 in item order
  std::array<QRadioButton*, 4> Items{};
  QPushButton* BTN1;
  QPushButton* BTN2;

  // Activation: the group is enabled (item 2 preselected) only for a modified case, else
  // item 1; SelectedNo 0; the question; pointer onto BTN1; status cleared; a beep.
  void FormActivate();
  // The chosen item (0-based) names BTN1.
  void RADG1Click(int item);
  void BTN1Click();
  void BTN2Click();

 public slots:
  void reject() override;

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  bool activated_ = false;
};

// Shows the dialog modally; returns the chosen mode (0 cancelled, 1 to 4).
int ShowCloseForm(QWidget* parent);

}  // namespace app
