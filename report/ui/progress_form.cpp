#include "report/ui/progress_form.h"

#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>

#include "platform/ui.h"
#include "report/rpt_printer.h"

namespace rpt {

TRptProgressForm::TRptProgressForm(TRptPrinter* printer, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint),
      printer_(printer) {
  setObjectName(QStringLiteral("RptProgressForm"));
  setWindowTitle(QStringLiteral("Printing progress"));
  setFixedSize(149, 97);
  Gauge = new QProgressBar(this);
  Gauge->setObjectName(QStringLiteral("Gauge"));
  Gauge->setGeometry(16, 18, 114, 16);
  Gauge->setRange(0, 100);
  Gauge->setValue(0);
  Gauge->setTextVisible(false);
  Info = new QLabel(this);
  Info->setObjectName(QStringLiteral("Info"));
  Info->setGeometry(0, 44, 145, 13);
  Info->setAlignment(Qt::AlignCenter);
  CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
  CancelButton->setObjectName(QStringLiteral("CancelButton"));
  CancelButton->setGeometry(36, 60, 75, 25);
  connect(CancelButton, &QPushButton::clicked, this, [this] {
    if (printer_) printer_->Cancel();
  });
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->geometry();
    move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
  }
}

bool TRptProgressForm::event(QEvent* e) {
  if (e->type() == RptMessageEvent::EventType()) {
    if (static_cast<RptMessageEvent*>(e)->message == CM_RPTPROGRESSUPDATE) ProgressUpdate();
    return true;
  }
  return QDialog::event(e);
}

void TRptProgressForm::ProgressUpdate() {
  if (!printer_) return;
  const int progress = printer_->Progress();
  if (progress % 5 != 0) return;
  Gauge->setValue(std::clamp(progress, 0, 100));
  Info->setText(QString::number(progress) + QStringLiteral("% ") + QStringLiteral(" Completed"));
  platform::CurrentUi().ProcessEvents(platform::PumpScope::WithUserInput);
}

}  // namespace rpt
