#include "platform/qt/qt_ui.h"

#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>

#include "platform/qt/qt_text.h"

namespace platform {

ModalResult QtUi::ShowMessageBox(const std::string& text, const std::string& caption, DialogKind kind,
                                 DialogButtons buttons) {
  QMessageBox box(QApplication::activeWindow());
  box.setText(ToQString(text));
  box.setWindowTitle(ToQString(caption));
  switch (kind) {
    case DialogKind::Confirmation: box.setIcon(QMessageBox::Question); break;
    case DialogKind::Warning: box.setIcon(QMessageBox::Warning); break;
    case DialogKind::Error: box.setIcon(QMessageBox::Critical); break;
    case DialogKind::Information: box.setIcon(QMessageBox::Information); break;
  }
  QMessageBox::StandardButtons set = QMessageBox::Ok;
  QMessageBox::StandardButton def = QMessageBox::Ok;
  switch (buttons) {
    case DialogButtons::YesNo: set = QMessageBox::Yes | QMessageBox::No; def = QMessageBox::Yes; break;
    case DialogButtons::YesNoCancel:
      set = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
      def = QMessageBox::Yes;
      break;
    case DialogButtons::CancelRetry: set = QMessageBox::Cancel | QMessageBox::Retry; def = QMessageBox::Cancel; break;
    case DialogButtons::YesAbort: set = QMessageBox::Yes | QMessageBox::Abort; def = QMessageBox::Yes; break;
    case DialogButtons::Ok: break;
  }
  box.setStandardButtons(set);
  box.setDefaultButton(def);
  int r = box.exec();
  switch (r) {
    case QMessageBox::Ok: return ModalResult::Ok;
    case QMessageBox::Yes: return ModalResult::Yes;
    case QMessageBox::No: return ModalResult::No;
    case QMessageBox::Retry: return ModalResult::Retry;
    case QMessageBox::Abort: return ModalResult::Abort;
    case QMessageBox::Cancel: return ModalResult::Cancel;
    default: return ModalResult::Close;
  }
}

void QtUi::Beep() { QApplication::beep(); }

uint64_t QtUi::TickCountMs() {
  static QElapsedTimer timer;
  if (!timer.isValid()) timer.start();
  return static_cast<uint64_t>(timer.elapsed());
}

void QtUi::ProcessEvents() { QApplication::processEvents(QEventLoop::AllEvents, 20); }

Point QtUi::CursorPos() {
  QPoint p = QCursor::pos();
  return {p.x(), p.y()};
}

void QtUi::SetCursorPos(Point p) { QCursor::setPos(p.x, p.y); }

void QtUi::SetCursorShape(CursorShape shape) {
  if (overrideCursor_) {
    QApplication::restoreOverrideCursor();
    overrideCursor_ = false;
  }
  if (shape == CursorShape::Default) return;
  QApplication::setOverrideCursor(shape == CursorShape::Wait ? Qt::WaitCursor : Qt::ForbiddenCursor);
  overrideCursor_ = true;
}

int QtUi::ScreenWidth() {
  QScreen* s = QGuiApplication::primaryScreen();
  return s ? s->geometry().width() : 1024;
}

int QtUi::ScreenHeight() {
  QScreen* s = QGuiApplication::primaryScreen();
  return s ? s->geometry().height() : 768;
}

}  // namespace platform
