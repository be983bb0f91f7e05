// The Qt user-interface services: message boxes with Japanese buttons, Qt's own dialogs in
// Japanese once its translation is loaded, and the hint hide pause.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QHelpEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QMouseEvent>
#include <QTimer>
#include <ctime>
#include <set>

#include "framework/messages.h"
#include "platform/qt/qt_ui.h"

namespace {

using platform::DialogButtons;
using platform::ModalResult;

// The captions of the message box that is about to open; the box is answered by its default
// button.
std::set<std::string> CaptionsOfNextBox(const std::function<void()>& open) {
  std::set<std::string> captions;
  QTimer::singleShot(0, [&captions] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    for (QAbstractButton* b : box->buttons()) captions.insert(b->text().toStdString());
    box->defaultButton()->click();
  });
  open();
  return captions;
}

TEST(QtUi, MessageBoxesOfEveryButtonSetHaveJapaneseCaptions) {
  platform::QtUi ui;
  struct Case {
    DialogButtons buttons;
    std::set<std::string> captions;
    ModalResult answer;  // of the default button
  };
  const std::vector<Case> cases = {
      {DialogButtons::Ok, {"OK"}, ModalResult::Ok},
      {DialogButtons::YesNo, {"はい(&Y)", "いいえ(&N)"}, ModalResult::Yes},
      {DialogButtons::YesNoCancel, {"はい(&Y)", "いいえ(&N)", "キャンセル"}, ModalResult::Yes},
      {DialogButtons::CancelRetry, {"キャンセル", "再試行(&R)"}, ModalResult::Cancel},
      {DialogButtons::YesAbort, {"はい(&Y)", "中止(&A)"}, ModalResult::Yes},
  };
  for (const Case& c : cases) {
    ModalResult answer = ModalResult::None;
    const std::set<std::string> captions = CaptionsOfNextBox(
        [&] { answer = ui.ShowMessageBox("text", "caption", platform::DialogKind::Confirmation, c.buttons); });
    EXPECT_EQ(captions, c.captions) << static_cast<int>(c.buttons);
    EXPECT_EQ(answer, c.answer) << static_cast<int>(c.buttons);
  }
}

TEST(QtUi, MessagesAreShownAsPlainTextWithTheirLineBreaks) {
  platform::QtUi ui;
  // A file name as a user may type it, then a line of the forbidden characters; CR LF, CR and
  // LF each end one line (the program's messages break lines with CR).
  const std::string text = "C:\\tmp\\a<b>|?.emf\r\nTom & Jerry: \\ / : * ? \" < > |\rlast\nend";
  QString shown;
  Qt::TextFormat format = Qt::AutoText;
  int height = 0, lineSpacing = 0;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    auto* label = box->findChild<QLabel*>("qt_msgbox_label");
    if (label) {
      shown = label->text();
      format = label->textFormat();
      height = label->sizeHint().height();
      lineSpacing = label->fontMetrics().lineSpacing();
    }
    box->defaultButton()->click();
  });
  ui.ShowMessageBox(text, "caption", platform::DialogKind::Error, DialogButtons::Ok);
  EXPECT_EQ(format, Qt::PlainText);
  EXPECT_EQ(shown.toStdString(), "C:\\tmp\\a<b>|?.emf\nTom & Jerry: \\ / : * ? \" < > |\nlast\nend");
  // Four lines, none of them bold or joined.
  EXPECT_GE(height, 4 * lineSpacing);
  EXPECT_LT(height, 5 * lineSpacing);
}

TEST(QtUi, QtsOwnDialogsReadJapaneseWithItsTranslation) {
  ASSERT_TRUE(platform::InstallJapaneseTranslation());
  ASSERT_TRUE(platform::InstallJapaneseTranslation());  // once is enough; again does no harm
  QFileDialog dialog;
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  auto* name = dialog.findChild<QLabel*>("fileNameLabel");
  ASSERT_NE(name, nullptr);
  EXPECT_EQ(name->text().toStdString(), "ファイル名(&N):");
  EXPECT_EQ(dialog.labelText(QFileDialog::Accept).toStdString(), "保存(&S)");
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel").toStdString(), "キャンセル");
}

TEST(QtUi, HintsStayForTheHintHidePause) {
  QWidget w;
  w.setToolTip("hint");
  QWidget own;
  own.setToolTip("hint");
  own.setToolTipDuration(500);  // a duration of its own stays
  {
    platform::QtUi ui;
    ui.SetHintHidePause(3000);
    for (QWidget* target : {&w, &own}) {
      QHelpEvent tip(QEvent::ToolTip, QPoint(1, 1), QPoint(1, 1));
      QApplication::sendEvent(target, &tip);
    }
  }
  EXPECT_EQ(w.toolTipDuration(), 3000);
  EXPECT_EQ(own.toolTipDuration(), 500);
}

// The processor time this thread has used, in seconds.
double ThreadCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

TEST(QtUi, WaitSecondsRestsAndStillHandlesAClick) {
  platform::QtUi ui;
  platform::Ui* previous = platform::InstallUi(&ui);
  QPushButton button("button");
  button.resize(80, 30);
  button.show();
  // The button's first paint (fonts loaded, the window made) is done before the wait is timed.
  QCoreApplication::processEvents();
  int clicks = 0;
  QObject::connect(&button, &QPushButton::clicked, [&clicks] { ++clicks; });
  // A click comes in through the event queue while the wait runs.
  QTimer::singleShot(300, &button, [&button] {
    const QPointF at(40, 15);
    QCoreApplication::postEvent(&button, new QMouseEvent(QEvent::MouseButtonPress, at, button.mapToGlobal(at),
                                                         Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
    QCoreApplication::postEvent(&button, new QMouseEvent(QEvent::MouseButtonRelease, at, button.mapToGlobal(at),
                                                         Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
  });
  const uint64_t start = ui.TickCountMs();
  const double cpu = ThreadCpuSeconds();
  fw::WaitSeconds(1.0);
  const double used = ThreadCpuSeconds() - cpu;
  EXPECT_GE(ui.TickCountMs() - start, 1000u);
  // A wait that spins uses the whole second; the events handled in it (the click and its
  // repaints) cost a few hundredths, more under the sanitizers.
  EXPECT_LT(used, 0.25) << "processor seconds used by a 1 s wait";
  EXPECT_EQ(clicks, 1);
  platform::InstallUi(previous);
}

}  // namespace
