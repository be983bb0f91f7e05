// The auxiliary input dialog on real widgets: modes, kinds, commit checks and the answers.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>

#include "framework/file_names.h"
#include "framework/messages.h"
#include "framework/ui/inp_form.h"
#include "input_test_util.h"
#include "support/test_support.h"

using namespace uitest;
using testsupport::S;

namespace {

void Prepare(char mode, int kind, int count, const std::string& v1, const std::string& v2 = "") {
  fw::InpData = fw::InpType{};
  fw::InpData.Comment1 = S("現在の値は<10>です。");
  fw::InpData.Comment2 = S("新しい値を入力して下さい。");
  fw::InpData.Mode = mode;
  fw::InpData.Kind = static_cast<uint8_t>(kind);
  fw::InpData.Count = count;
  fw::InpData.Values[1] = v1;
  fw::InpData.Values[2] = v2;
}

void Open(fw::TINPForm& f) {
  f.show();
  f.activateWindow();
  Pump();
}

TEST(InpForm, IntegerEntryRefusesAFractionAndTakesAnInteger) {
  Prepare('E', 5, 1, "10");
  fw::TINPForm f;
  Open(f);
  EXPECT_EQ(f.windowTitle(), QString::fromUtf8("整数入力"));
  EXPECT_EQ(f.EDIT1_1->width(), 201);
  EXPECT_FALSE(f.LBL1_1->isVisible());
  EXPECT_FALSE(f.EDIT1_2->isVisible());
  EXPECT_TRUE(f.PNL1->isVisible());
  EXPECT_FALSE(f.PNL2->isVisible());
  EXPECT_EQ(f.LBL1->text(), QString::fromUtf8("現在の値は<10>です。"));
  EXPECT_EQ(Focused(), f.EDIT1_1);  // the value can be typed at once

  TypeOver("1.5");
  Enter();
  EXPECT_EQ(f.EDIT1_1->Text(), "10");
  EXPECT_EQ(fw::InpData.Values[1], "10");

  Click(f.EDIT1_1);
  TypeOver("12");
  Enter();
  EXPECT_EQ(fw::InpData.Values[1], "12");
  EXPECT_EQ(Focused(), f.BTN1_1);  // a committed value moves on to "確定"
  Click(f.BTN1_1);
  EXPECT_EQ(f.result(), 1);
  EXPECT_TRUE(fw::DialogYes);
  EXPECT_FALSE(fw::DialogCancel);
}

TEST(InpForm, CancelAndClosingRestoreTheValues) {
  enum How { kCancelButton, kCloseBox, kEscOnButton };
  for (How how : {kCancelButton, kCloseBox, kEscOnButton}) {
    SCOPED_TRACE(how);
    Prepare('E', 4, 2, "1.5", "2.25");
    fw::TINPForm f;
    Open(f);
    EXPECT_TRUE(f.LBL1_1->isVisible());
    EXPECT_TRUE(f.EDIT1_2->isVisible());
    EXPECT_EQ(f.EDIT1_2->UnderPoint(), 2);  // digits after the point of its value
    EXPECT_EQ(f.windowTitle(), QString::fromUtf8("実数入力"));
    TypeOver("3.5");
    Tab();
    Pump();
    EXPECT_EQ(fw::InpData.Values[1], "3.5");
    fw::DialogYes = true;
    if (how == kCancelButton) {
      Click(f.BTN1_2);
    } else if (how == kCloseBox) {
      f.close();
    } else {
      f.BTN1_2->setFocus();
      Esc();
    }
    Pump();
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(f.result(), 2);
    EXPECT_FALSE(fw::DialogYes);
    EXPECT_TRUE(fw::DialogCancel);
    EXPECT_EQ(fw::InpData.Values[1], "1.5");
    EXPECT_EQ(fw::InpData.Values[2], "2.25");
  }
}

TEST(InpForm, ConfirmationModesShowOnlyTheYesNoPanel) {
  for (char mode : {'U', 'L'}) {
    Prepare(mode, 0, 1, "a");
    fw::TINPForm f;
    Open(f);
    EXPECT_FALSE(f.PNL1->isVisible());
    EXPECT_TRUE(f.PNL2->isVisible());
    EXPECT_EQ(f.BTN2_1->text(), QString::fromUtf8("はい(&Y)"));
    EXPECT_EQ(f.BTN2_2->text(), QString::fromUtf8("中止(&C)"));
    EXPECT_EQ(f.LBL2_1->text(), QString::fromUtf8(mode == 'U' ? "（↑）上のデータと同じにする。" : "（←）左のデータと同じにする。"));
    EXPECT_EQ(Focused(), f.BTN2_1);
    EXPECT_EQ(f.windowTitle(), QString::fromUtf8("補助入力"));
  }
}

TEST(InpForm, WidthFollowsTheLongerCommentAndTheCallersCodeReturns) {
  Prepare('E', 0, 1, "x");
  fw::InpData.Comment1 = std::string(60, 'a');
  fw::Input.InputCode = 2101;
  fw::Input.InputSection = 21;
  fw::Input.InputMode = false;
  fw::TINPForm f;
  Open(f);
  EXPECT_EQ(f.width(), 6 * 60 + 40);
  EXPECT_EQ(f.windowTitle(), QString::fromUtf8("文字入力"));
  EXPECT_EQ(fw::Input.InputCode, 1001);
  EXPECT_TRUE(fw::Input.InputMode);
  f.close();
  EXPECT_EQ(fw::Input.InputCode, 2101);
  EXPECT_EQ(fw::Input.InputSection, 21);
  EXPECT_FALSE(fw::Input.InputMode);
  EXPECT_TRUE(fw::CurrentEdit.isNull());
}

TEST(InpForm, ConfirmCommitsAValueStillBeingTyped) {
  Prepare('E', 0, 1, "old");
  fw::TINPForm f;
  Open(f);
  TypeOver("new");
  f.BTN1_1->click();  // as its keyboard shortcut does: the focus stays in the field
  EXPECT_EQ(f.result(), 1);
  EXPECT_EQ(fw::InpData.Values[1], "new");
}

TEST(InpForm, NewFileNameIsAskedThroughTheDialog) {
  fw::InstallInputFramework();
  QTimer::singleShot(0, [] {
    auto* f = qobject_cast<fw::TINPForm*>(QApplication::activeModalWidget());
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->LBL2->text(), QString::fromUtf8("現在の名前は<OLD>です。（拡張子不要）"));
    f->activateWindow();
    Pump();
    TypeOver("NEWCASE");
    Enter();
    Click(f->BTN1_1);
  });
  const std::string answer = fw::InputNewFileName("OLD");
  EXPECT_EQ(answer, "NEWCASE");
  EXPECT_TRUE(fw::DialogYes);

  QTimer::singleShot(0, [] {
    if (QWidget* f = QApplication::activeModalWidget()) f->close();
  });
  EXPECT_EQ(fw::InputNewFileName("OLD"), "OLD");
  EXPECT_FALSE(fw::DialogYes);
}

}  // namespace
