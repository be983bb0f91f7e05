// The version box "プログラムバージョン情報": the program's title and name with version, the
// date and time of the program file, the machine information written at start-up, and a small
// picture.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace fw {
class TImageEx;
}

namespace app {

class TVERForm : public QDialog {
  Q_OBJECT
 public:
  explicit TVERForm(QWidget* parent = nullptr);

  QLabel* LBL1;
  QLabel* LBL2;
  QLabel* LBL3;
  QLabel* LBL4;
  fw::TImageEx* IMAG1;
  QPushButton* BTN1;

  // Fills the labels (standalone titles when no program title is set) and puts the pointer on
  // BTN1.
  void FormActivate();

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  bool activated_ = false;
};

void ShowVersionForm(QWidget* parent);

}  // namespace app
