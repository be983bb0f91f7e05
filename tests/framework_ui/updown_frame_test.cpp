// The numeric up-down frame: format taken from its label, values shown and passed on.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>

#include "framework/ui/updown_frame.h"
#include "framework/input_state.h"

namespace {

std::string Label(const fw::TInpUpDnFrame& f) { return f.LBL_1->text().toStdString(); }

TEST(UpDownFrame, TakesWidthAndDecimalsFromItsLabel) {
  fw::TInpUpDnFrame f;
  f.LBL_1->setText("12.3");
  f.Setup(0, 500, false, false, fw::TInpUpDnFrame::kReal, 5);
  EXPECT_EQ(f.Width(), 4);
  EXPECT_EQ(f.Decimals(), 1);
  EXPECT_DOUBLE_EQ(f.Scale(), 10);
  f.UPDN_1->setValue(125);
  f.UpDownClick();
  EXPECT_EQ(Label(f), "12.5");
  EXPECT_DOUBLE_EQ(fw::UpDownValue, 12.5);

  fw::TInpUpDnFrame design;  // the design text "?????????????"
  design.Setup(1981, 1995, false, false, fw::TInpUpDnFrame::kInteger, 1);
  EXPECT_EQ(design.Width(), 13);
  EXPECT_EQ(design.Decimals(), 0);
  design.LBL_1->clear();
  design.LBL_1->resize(65, 20);
  design.Setup(1981, 1995, false, false, fw::TInpUpDnFrame::kInteger, 1);
  EXPECT_EQ(design.Width(), 10);  // 65 / 6.5
}

TEST(UpDownFrame, IntegersWithOrWithoutThousandsAndRedZero) {
  struct Case {
    bool thousands;
    double value;
    const char* shown;
  };
  for (const Case& c : {Case{true, 1995, " 1,995"}, Case{false, 1995, "  1995"}, Case{false, 0, "     0"}}) {
    fw::TInpUpDnFrame f;
    f.LBL_1->setText("000000");
    f.Setup(0, 2000, c.thousands, true, fw::TInpUpDnFrame::kInteger, 1);
    f.SetValue(c.value);
    EXPECT_EQ(Label(f), c.shown);
    EXPECT_EQ(f.UPDN_1->Position(), static_cast<int>(c.value));
    const bool red = f.LBL_1->palette().color(QPalette::WindowText) == QColor(Qt::red);
    EXPECT_EQ(red, c.value == 0);
  }
}

TEST(UpDownFrame, AnArrowPressMovesByTheIncrementAndTellsTheOwner) {
  fw::TInpUpDnFrame f;
  f.LBL_1->setText("000");
  f.Setup(1, 250, false, true, fw::TInpUpDnFrame::kInteger, 5);
  f.SetValue(10);
  int told = 0;
  f.OnChange = [&told](fw::TInpUpDnFrame*) { ++told; };
  fw::Input.InputUnchanged = true;
  fw::Input.InputChanged = false;
  f.show();
  auto press = [&f](int y) {
    QMouseEvent down(QEvent::MouseButtonPress, QPointF(8, y), f.UPDN_1->mapToGlobal(QPointF(8, y)), Qt::LeftButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(f.UPDN_1, &down);
    QMouseEvent up(QEvent::MouseButtonRelease, QPointF(8, y), f.UPDN_1->mapToGlobal(QPointF(8, y)), Qt::LeftButton,
                   Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(f.UPDN_1, &up);
    QApplication::processEvents();
  };
  press(2);  // upper arrow
  EXPECT_EQ(Label(f), " 15");
  EXPECT_EQ(told, 1);
  EXPECT_FALSE(fw::Input.InputUnchanged);
  EXPECT_TRUE(fw::Input.InputChanged);
  press(f.UPDN_1->height() - 2);
  EXPECT_EQ(Label(f), " 10");
  EXPECT_EQ(told, 2);

  f.UPDN_1->setEnabled(false);
  f.UpDownClick();
  EXPECT_EQ(told, 2);

  // A programmatic value tells nobody and clears the changed flag.
  f.SetValue(20);
  QApplication::processEvents();
  EXPECT_EQ(told, 2);
  EXPECT_FALSE(fw::Input.InputChanged);
  // A frame that changes its size on screen clears its label.
  f.resize(f.width() + 20, f.height());
  EXPECT_TRUE(f.LBL_1->text().isEmpty());
}

}  // namespace
