// Quick clicks: a press and its release arrive together while a typed value is still being
// committed. The commit shows status texts (which handle pending window messages); the click
// must still act as one click, on the control it was made on, with the input state of that
// control.
#include <QAbstractItemView>
#include <QApplication>

#include "screen1_fixture.h"

using namespace s1test;

namespace {

// A point on a radio button's circle (its click area is the circle and the caption).
QPoint OnRadio(const QRadioButton* radio) { return QPoint(6, radio->height() / 2); }

TEST_F(Screen1Test, QuickClickOnARadioRightAfterTypingSelectsIt) {
  app::THARV1Form& s = Open();
  UseCase(HouseCase());
  uitest::Click(s.EDIT2_1);
  uitest::TypeOver("130");
  uitest::QueueClick(ui, s.RBTN4_4_2, OnRadio(s.RBTN4_4_2));
  uitest::DeliverQueuedInput(ui);

  EXPECT_EQ(fw::GetVV8Value(fw::CalcData, 2100, 1), 130.0f);  // the typed value
  EXPECT_TRUE(s.RBTN4_4_2->isChecked());
  EXPECT_FALSE(s.RBTN4_4_2->isDown());  // not left drawn pressed
  fw::ReadRecVV8(fw::CalcData, 4100);
  EXPECT_EQ(fw::RecVV8.Attr[3], "2");  // water-saving stored
  EXPECT_EQ(fw::RecVV8.V[4], 8.0f);    // and its litres per large flush
}

// The file combo lies on the main window, outside the screen that holds the typed field.
TEST_F(Screen1Test, QuickClicksOnTheFileComboRightAfterTypingOpenTheChosenFile) {
  tree.CopySample("CAL/HVS/OTHER.HVS");
  app::THARV1Form& s = Open();
  const std::string title = U(s.EDIT0_1->Text());
  uitest::Click(s.EDIT2_1);
  uitest::TypeOver("130");

  fw::TCBoxEx* files = form->CBOX0;
  uitest::QueueClick(ui, files, QPoint(files->width() - 8, files->height() / 2));
  uitest::DeliverQueuedInput(ui);
  ASSERT_TRUE(files->view()->isVisible());  // the list is open
  EXPECT_EQ(fw::DataState.Modified, 1);     // the typed value was committed first
  EXPECT_EQ(U(s.EDIT0_1->Text()), title);   // into its own field, not the title

  // The choice in the list, as the list hands it to the combo.
  const int other = files->findText("OTHER.HVS", Qt::MatchEndsWith);
  ASSERT_GE(other, 0);
  files->hidePopup();
  files->setCurrentIndex(other);
  emit files->activated(other);
  uitest::Pump();

  EXPECT_TRUE(ShownContains("現在編集中のデータを廃棄してもいいですか？"));  // answered yes
  EXPECT_TRUE(app::CalcFilePath.ends_with("OTHER.HVS")) << U(app::CalcFilePath);
  EXPECT_EQ(fw::DataState.Modified, 0);
  EXPECT_EQ(U(form->SBAR->PanelText(1)), "変更なし");
  EXPECT_EQ(U(s.EDIT0_1->Text()), title);  // the sample's title, as the file holds it
  EXPECT_EQ(U(s.EDIT2_1->Text()), "   120.0");
}

// Back from the file combo into a field of the screen: the combo's input ends first, so a
// later choice in the combo works on the combo's own input state.
TEST_F(Screen1Test, AFieldEnteredAfterTheFileComboLeavesTheComboFirst) {
  tree.CopySample("CAL/HVS/OTHER.HVS");
  app::THARV1Form& s = Open();
  fw::TCBoxEx* files = form->CBOX0;
  files->setFocus(Qt::TabFocusReason);
  uitest::Pump();
  EXPECT_EQ(fw::Input.InputCode, 1000);
  uitest::Click(s.EDIT2_1);
  EXPECT_EQ(QApplication::focusWidget(), s.EDIT2_1);
  EXPECT_EQ(fw::Input.InputCode, 2101);

  const int other = files->findText("OTHER.HVS", Qt::MatchEndsWith);
  ASSERT_GE(other, 0);
  uitest::Click(files);
  files->setCurrentIndex(other);
  emit files->activated(other);
  uitest::Pump();
  EXPECT_TRUE(app::CalcFilePath.ends_with("OTHER.HVS")) << U(app::CalcFilePath);
  EXPECT_EQ(fw::DataState.Modified, 0);
}

}  // namespace
