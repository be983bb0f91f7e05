// The print progress form: shows how far a print job has come and lets the user cancel it. The
// printer posts CM_RPTPROGRESSUPDATE whenever its progress changes; the form moves its bar and
// text only at multiples of 5 percent ("45%  Completed") and then lets pending messages run, so
// it repaints and its Cancel button, which cancels the printer, can be pressed.
#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace rpt {

class TRptPrinter;

class TRptProgressForm : public QDialog {
  Q_OBJECT
 public:
  // A form bound to `printer` (not owned): a dialog on top of the others, centred on the screen.
  explicit TRptProgressForm(TRptPrinter* printer, QWidget* parent = nullptr);

  QProgressBar* Gauge;
  QLabel* Info;
  QPushButton* CancelButton;

 protected:
  bool event(QEvent* e) override;

 private:
  void ProgressUpdate();
  TRptPrinter* printer_;
};

}  // namespace rpt
