// The shared input behaviour on real widgets (offscreen): commit, restore, leaving, keys,
// overwrite typing, entry and exit events, combos and the active-editor routines.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QMessageBox>
#include <sstream>

#include "framework/file_names.h"
#include "framework/messages.h"
#include "framework/ui/focus_tracker.h"
#include "platform/qt/keys_qt.h"
#include "input_test_util.h"
#include "support/test_support.h"

using namespace uitest;
using testsupport::S;

namespace {

struct FieldCase {
  const char* name;
  fw::TEditEx* TDemoForm::*field;
  const char* entry;    // UTF-8 text when the field is entered
  const char* actions;  // "=text" types over the field, "enter", "esc", "tab", "mouse" (click another field)
  const char* shown;    // the field's text afterwards
  int unchanged;        // Input.InputUnchanged afterwards (1, 0; -1: another field was entered)
  const char* stored;   // what the form's commit stored (nullptr: nothing)
};

void RunActions(TDemoForm& form, fw::TEditEx* field, const std::string& actions) {
  std::stringstream in(actions);
  std::string token;
  while (std::getline(in, token, ',')) {
    if (token[0] == '=') {
      TypeOver(token.substr(1));
    } else if (token == "enter") {
      Enter();
    } else if (token == "esc") {
      Esc();
    } else if (token == "tab") {
      Tab();
      Pump();
    } else if (token == "mouse") {
      Click(field == form.EDIT_S ? form.EDIT_F : form.EDIT_S);
    }
  }
}

TEST(InputBehaviour, CommitRestoreAndLeaveTable) {
  const FieldCase cases[] = {
      {"float unchanged by Enter", &TDemoForm::EDIT_F, "12.5", "enter", "12.5", 1, nullptr},
      {"float changed to 13", &TDemoForm::EDIT_F, "12.5", "=13,enter", "    13.0", 0, nullptr},
      {"empty entry always changes", &TDemoForm::EDIT_S, "", "enter", "", 0, nullptr},
      {"Esc restores", &TDemoForm::EDIT_F, "12.5", "=13,esc", "12.5", 1, nullptr},
      {"leaving by mouse commits", &TDemoForm::EDIT_F, "12.5", "=13,mouse", "    13.0", -1, "    13.0"},
      {"leaving after Esc commits nothing", &TDemoForm::EDIT_F, "12.5", "=13,esc,mouse", "12.5", 1, nullptr},
      {"integer 10 to 10.4 is unchanged", &TDemoForm::EDIT_I, "10", "=10.4,enter", "10", 1, nullptr},
      {"byte 300 shows 255", &TDemoForm::EDIT_B, "", "=300,enter", "255", 0, nullptr},
      {"text retyped is unchanged", &TDemoForm::EDIT_S, "abc", "=abc,enter", "abc", 1, nullptr},
      {"Tab leaves and commits", &TDemoForm::EDIT_I, "10", "=11,tab", "         11", -1, "         11"},
      {"Enter then leave commits once", &TDemoForm::EDIT_F, "1.0", "=2,enter,mouse", "     2.0", -1, "     2.0"},
  };
  for (const FieldCase& c : cases) {
    SCOPED_TRACE(c.name);
    TDemoForm form;
    form.ShowActive();
    fw::TEditEx* field = form.*c.field;
    field->SetText(S(c.entry));
    Click(field);
    ASSERT_EQ(fw::CurrentEdit.data(), field);
    RunActions(form, field, c.actions);
    EXPECT_EQ(U8(field->Text()), c.shown);
    if (c.unchanged >= 0) {
      EXPECT_EQ(fw::Input.InputUnchanged, c.unchanged == 1);
    }
    const int code = fw::Tag(field);
    if (c.stored) {
      ASSERT_EQ(form.stored.count(code), 1u);
      EXPECT_EQ(U8(form.stored[code]), c.stored);
      EXPECT_EQ(form.commits, 1);
    } else {
      EXPECT_EQ(form.stored.count(code), 0u);
    }
  }
}

TEST(InputBehaviour, ChangedFlagFollowsInputMode) {
  TDemoForm form;
  form.ShowActive();
  fw::Input.InputChanged = false;
  form.EDIT_F->SetText("12.5");
  Click(form.EDIT_F);
  TypeOver("13");
  Enter();
  EXPECT_TRUE(fw::Input.InputChanged);
  Esc();  // back to the entry text: the change flag returns to its entry value
  EXPECT_FALSE(fw::Input.InputChanged);
  EXPECT_EQ(form.EDIT_F->Text(), "12.5");
}

TEST(InputBehaviour, EnterAndEscNeverReachTheDialogButtons) {
  TDemoForm form;
  form.ShowActive();
  int accepted = 0, rejected = 0;
  QObject::connect(&form, &QDialog::accepted, [&] { ++accepted; });
  QObject::connect(&form, &QDialog::rejected, [&] { ++rejected; });
  form.EDIT_S->SetText("abc");
  Click(form.EDIT_S);
  Type("d");
  Enter();
  Esc();
  Pump();
  EXPECT_EQ(accepted, 0);
  EXPECT_EQ(rejected, 0);
  EXPECT_TRUE(form.isVisible());
  EXPECT_EQ(Focused(), form.EDIT_S);
}

TEST(InputBehaviour, EntryAndExitFireOnlyWhenTheFocusedControlChanges) {
  TDemoForm form;
  form.ShowActive();
  Click(form.EDIT_F);
  Click(form.EDIT_I);
  EXPECT_EQ(form.log, (std::vector<std::string>{"enter 2101", "exit 2101", "enter 2102"}));

  // Another window takes the focus and gives it back: nothing fires.
  QWidget other;
  other.show();
  other.activateWindow();
  Pump();
  form.activateWindow();
  Pump();
  EXPECT_EQ(Focused(), form.EDIT_I);

  // A combo's popup list opens and closes: nothing fires for the combo either.
  form.CBOX_1->SetItems({S("  1:A"), S("  2:B")});
  Click(form.CBOX_1);
  form.CBOX_1->showPopup();
  Pump();
  form.CBOX_1->hidePopup();
  Pump();
  EXPECT_EQ(form.log, (std::vector<std::string>{"enter 2101", "exit 2101", "enter 2102", "exit 2102", "enter 1101"}));
}

TEST(InputBehaviour, MessageBoxDuringACommitFiresNoExitOrEntry) {
  TDemoForm form;
  form.ShowActive();
  form.boxOnCommit = true;
  form.EDIT_F->SetText("1.0");
  Click(form.EDIT_F);
  TypeOver("7");
  Click(form.EDIT_I);  // the exit commits, the commit shows a box, the box closes
  Pump();
  EXPECT_EQ(form.log, (std::vector<std::string>{"enter 2101", "exit 2101", "enter 2102"}));
  EXPECT_EQ(form.commits, 1);
  EXPECT_EQ(Focused(), form.EDIT_I);
  EXPECT_EQ(fw::CurrentEdit.data(), form.EDIT_I);
}

TEST(InputBehaviour, DialogInTheMiddleOfAnInputKeepsTheHeldValues) {
  // The message dialog saves and restores the state; 12.3 must compare equal afterwards.
  testsupport::FakeUi ui;
  TDemoForm form;
  form.ShowActive();
  form.EDIT_F->SetText("12.3");
  Click(form.EDIT_F);
  fw::MsgDialog(S("確認"), 1, 1);
  Enter();
  EXPECT_TRUE(fw::Input.InputUnchanged);
  EXPECT_EQ(form.EDIT_F->Text(), "12.3");
}

TEST(InputBehaviour, InsertTogglesOverwriteTyping) {
  TDemoForm form;
  form.ShowActive();
  fw::Input.OverwriteMode = 0;
  form.EDIT_S->SetText("abcd");
  Click(form.EDIT_S);
  form.EDIT_S->setCursorPosition(1);
  Key(Qt::Key_Insert);
  EXPECT_EQ(fw::Input.OverwriteMode, 1);
  Type("X");
  EXPECT_EQ(form.EDIT_S->Text(), "aXcd");
  Key(Qt::Key_Insert);
  EXPECT_EQ(fw::Input.OverwriteMode, 0);
  Type("Y");
  EXPECT_EQ(form.EDIT_S->Text(), "aXYcd");
}

TEST(InputBehaviour, KeysAreVirtualKeyCodesAndNavigationCodes) {
  struct {
    int qt;
    Qt::KeyboardModifiers mods;
    int vk;
  } const table[] = {
      {Qt::Key_A, Qt::NoModifier, 'A'},         {Qt::Key_7, Qt::NoModifier, '7'},
      {Qt::Key_Return, Qt::NoModifier, 13},     {Qt::Key_Escape, Qt::NoModifier, 27},
      {Qt::Key_Tab, Qt::NoModifier, 9},         {Qt::Key_Up, Qt::NoModifier, 38},
      {Qt::Key_PageDown, Qt::NoModifier, 34},   {Qt::Key_Delete, Qt::NoModifier, 46},
      {Qt::Key_F5, Qt::NoModifier, 116},        {Qt::Key_5, Qt::KeypadModifier, 101},
      {Qt::Key_Minus, Qt::KeypadModifier, 109}, {Qt::Key_Comma, Qt::NoModifier, 188},
  };
  for (const auto& k : table) EXPECT_EQ(platform::VirtualKeyOf(k.qt, k.mods), k.vk) << k.qt;

  TDemoForm form;
  form.ShowActive();
  form.EDIT_S->SetText("ab");
  Click(form.EDIT_S);
  const struct {
    int qt;
    uint8_t last;
  } nav[] = {{Qt::Key_Up, 241},       {Qt::Key_Down, 242},    {Qt::Key_Left, 243},  {Qt::Key_Right, 244},
             {Qt::Key_PageUp, 245},   {Qt::Key_PageDown, 246}, {Qt::Key_Delete, 248}, {Qt::Key_Home, 36}};
  for (const auto& n : nav) {
    Key(n.qt);
    EXPECT_EQ(fw::Input.LastKey, n.last) << n.qt;
  }
  // A handler that swallows a key keeps it from the edit.
  form.EDIT_S->SetText("ab");
  form.EDIT_S->OnKeyPress = [](QWidget*, uint8_t& key) {
    if (key == 'z') key = 0;
  };
  form.EDIT_S->setCursorPosition(2);
  Type("zy");
  EXPECT_EQ(form.EDIT_S->Text(), "aby");
}

TEST(InputBehaviour, TypedTextIsCp932WithinTheByteLimit) {
  TDemoForm form;
  form.ShowActive();
  form.EDIT_S->SetMaxLength(4);
  form.EDIT_S->SetText("");
  Click(form.EDIT_S);
  Type("あい");
  EXPECT_EQ(form.EDIT_S->Text(), S("あい"));
  Type("a");  // a fifth byte is refused
  EXPECT_EQ(form.EDIT_S->Text(), S("あい"));
  form.EDIT_S->SetText("");
  Type("x한y");  // a character outside CP932 is refused
  EXPECT_EQ(form.EDIT_S->Text(), "xy");
  // Pasted text is held to the same rules.
  form.EDIT_S->SetText("");
  form.EDIT_S->insert(QString::fromUtf8("한"));
  EXPECT_EQ(form.EDIT_S->Text(), "");
  EXPECT_EQ(fw::Input.TypedKeys.find(S("あ")) != std::string::npos, true);
}

TEST(InputBehaviour, NumberedComboEntryChangeAndEsc) {
  TDemoForm form;
  form.ShowActive();
  form.CBOX_1->SetItems({S("  1:A"), S("  2:B")});
  form.CBOX_1->SetItemIndex(1);
  Click(form.CBOX_1);
  EXPECT_EQ(fw::Input.SelectedNo, 2);
  EXPECT_EQ(fw::Input.InputText, "B");

  // Choosing the other item is a change; choosing the entry item again is none.
  form.CBOX_1->setCurrentIndex(0);
  emit form.CBOX_1->activated(0);
  EXPECT_FALSE(fw::Input.InputUnchanged);
  EXPECT_EQ(fw::Input.InputText, "A");
  EXPECT_EQ(form.CBOX_1->InputState(), 1);
  Esc();
  EXPECT_TRUE(fw::Input.InputUnchanged);
  EXPECT_EQ(form.CBOX_1->ItemIndex(), 1);

  // A typed text matching an item, taken by Enter and committed by leaving.
  TypeOver("a");
  Enter();
  EXPECT_EQ(form.CBOX_1->InputState(), 2);
  EXPECT_EQ(fw::Input.SelectedNo, 1);
  EXPECT_TRUE(form.CBOX_1->ChangedFlag());
  Click(form.EDIT_S);
  EXPECT_EQ(form.stored[1101], "a");
}

TEST(InputBehaviour, CommitActiveEditorCommitsTheTypedValueAndEndsTheInput) {
  TDemoForm form;
  form.ShowActive();
  form.EDIT_I->SetText("5");
  Click(form.EDIT_I);
  TypeOver("6");
  fw::CommitActiveEditor();  // a toolbar command: the focus stays where it is until now
  EXPECT_EQ(U8(form.stored[2102]), "          6");
  EXPECT_FALSE(fw::Input.InputMode);
  EXPECT_TRUE(fw::CurrentEdit.isNull());
  EXPECT_FALSE(form.EDIT_I->hasFocus());
  // The next click on the field starts a new input.
  Click(form.EDIT_I);
  EXPECT_TRUE(fw::Input.InputMode);
  EXPECT_EQ(form.log.back(), "enter 2102");
  // The file dialogs reach the same routine through their hook.
  fw::InstallInputFramework();
  TypeOver("7");
  fw::CommitActiveEditHook();
  EXPECT_EQ(U8(form.stored[2102]), "          7");
}

TEST(InputBehaviour, CancelEditAndResetEditStateReturnTheEntryValues) {
  TDemoForm form;
  form.ShowActive();
  form.EDIT_F->SetText("4.5");
  Click(form.EDIT_F);
  TypeOver("9");
  Enter();
  ASSERT_FALSE(fw::Input.InputUnchanged);
  fw::CancelEdit(form.EDIT_F);
  EXPECT_EQ(form.EDIT_F->Text(), "4.5");
  EXPECT_TRUE(fw::Input.InputUnchanged);
  EXPECT_EQ(fw::Input.InputText, "4.5");
  EXPECT_EQ(fw::Input.InputValue, 4.5);
}

TEST(InputBehaviour, SetCurrentItemNoAddsTheCellOffset) {
  fw::TEditEx edit;
  fw::SetTag(&edit, 4300);
  fw::Input.GridCol = 2;
  fw::Input.GridRow = 3;
  const struct {
    char mode;
    int count;
    int code;
  } table[] = {{'N', 5, 4300}, {'X', 5, 4302}, {'Y', 5, 4303}, {'Z', 5, 4312}, {'X', 0, 4300}};
  for (const auto& t : table) {
    fw::Input.InputCommitted = true;
    fw::SetCurrentItemNo(&edit, t.mode, t.count);
    EXPECT_EQ(fw::Input.InputCode, t.code) << t.mode;
    EXPECT_EQ(fw::Input.InputSection, t.code / 100);
    EXPECT_FALSE(fw::Input.InputCommitted);
  }
}

}  // namespace
