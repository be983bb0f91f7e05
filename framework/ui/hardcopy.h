// The Qt side of printing: the print-confirmation form TPRYNForm, window hard copies, and
// the start-up call that installs the Qt printers, fonts and the form.
//
// PrintFormHardCopy asks with AskPrint(1), keeps the window's picture as "Glimmet.BMP" in the
// temporary folder (a picture that cannot be written does not stop the print) and prints
// the picture at the chosen scale: 1 proportional (screen size in inches), 2 fit to the page
// keeping its proportions, 3 one screen pixel per printer pixel; at the page's top left.
#pragma once

#include <QDialog>
#include <string>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QPushButton;
class QToolButton;
class QWidget;

namespace fw {

class TPRYNForm final : public QDialog {
 public:
  explicit TPRYNForm(QWidget* parent = nullptr);
  // Lays the form out for PrinterInfoType (height, scale choice, printer change, question).
  void Activate();
  QLabel* LBL1 = nullptr;
  QToolButton* SBTN1 = nullptr;
  QPushButton* BTN1 = nullptr;
  QPushButton* BTN2 = nullptr;
  QGroupBox* RADG1 = nullptr;
  QButtonGroup* Items = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;
};

// Installs the Qt printers, the Qt font engine and TPRYNForm as the print confirmation.
void InstallPrintingUi();

// Prints a hard copy of `form`; true when it was printed.
bool PrintFormHardCopy(QWidget* form);

// Where the hard copy's picture is kept (inside path).
std::string HardCopyPicturePath();

}  // namespace fw
