#include "platform/qt/qt_ui.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCursor>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QEvent>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <QTranslator>
#include <QWidget>

#include "platform/qt/qt_text.h"

namespace platform {

namespace {

// Gives every tool tip without a duration of its own the hint hide pause.
class HintPauseFilter final : public QObject {
 public:
  explicit HintPauseFilter(QObject* parent) : QObject(parent) {}
  int pauseMs = -1;

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override {
    if (e->type() == QEvent::ToolTip && watched->isWidgetType()) {
      auto* w = static_cast<QWidget*>(watched);
      if (w->toolTipDuration() < 0 && !w->toolTip().isEmpty()) w->setToolTipDuration(pauseMs);
    }
    return false;
  }
};

}  // namespace

QString JapaneseButtonText(int standardButton) {
  switch (standardButton) {
    case QMessageBox::Ok: return QStringLiteral("OK");
    case QMessageBox::Yes: return QString::fromUtf8("はい(&Y)");
    case QMessageBox::No: return QString::fromUtf8("いいえ(&N)");
    case QMessageBox::Cancel: return QString::fromUtf8("キャンセル");
    case QMessageBox::Retry: return QString::fromUtf8("再試行(&R)");
    case QMessageBox::Abort: return QString::fromUtf8("中止(&A)");
    default: return QString();
  }
}

void UseJapaneseButtonTexts(QDialogButtonBox* box) {
  if (!box) return;
  for (QAbstractButton* b : box->buttons()) {
    const QString text = JapaneseButtonText(box->standardButton(b));
    if (!text.isEmpty()) b->setText(text);
  }
}

bool InstallJapaneseTranslation() {
  if (!qApp) return false;
  QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));  // dates and sizes in Qt's dialogs
  const QString name = QStringLiteral("qtbase_ja");
  if (qApp->findChild<QTranslator*>(name, Qt::FindDirectChildrenOnly)) return true;
  auto* t = new QTranslator(qApp);
  t->setObjectName(name);
  if (!t->load(name, QLibraryInfo::path(QLibraryInfo::TranslationsPath)) || !QCoreApplication::installTranslator(t)) {
    delete t;
    return false;
  }
  return true;
}

QtUi::~QtUi() { delete hintFilter_; }

ModalResult QtUi::ShowMessageBox(const std::string& text, const std::string& caption, DialogKind kind,
                                 DialogButtons buttons) {
  QMessageBox box(QApplication::activeWindow());
  // A message is plain text: a file name may hold "<", ">" or "&", which rich text would take
  // for markup (and then drop the line breaks).
  box.setTextFormat(Qt::PlainText);
  QString shown = ToQString(text);
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  box.setText(shown);
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
  for (QAbstractButton* b : box.buttons()) {
    const QString japanese = JapaneseButtonText(box.standardButton(b));
    if (!japanese.isEmpty()) b->setText(japanese);
  }
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

void QtUi::ProcessEvents(PumpScope scope) {
  QApplication::processEvents(
      scope == PumpScope::WithUserInput ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents, 20);
}

void QtUi::WaitEvents(PumpScope scope, int ms) {
  if (ms <= 0) {
    ProcessEvents(scope);
    return;
  }
  QTimer wake;  // ends the rest when nothing else comes
  wake.setSingleShot(true);
  wake.start(ms);
  QApplication::processEvents(QEventLoop::WaitForMoreEvents | (scope == PumpScope::WithUserInput
                                                                   ? QEventLoop::AllEvents
                                                                   : QEventLoop::ExcludeUserInputEvents));
}

void QtUi::SetHintHidePause(int ms) {
  if (!qApp) return;
  if (!hintFilter_) {
    hintFilter_ = new HintPauseFilter(nullptr);
    qApp->installEventFilter(hintFilter_);
  }
  static_cast<HintPauseFilter*>(hintFilter_)->pauseMs = ms;
}

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
