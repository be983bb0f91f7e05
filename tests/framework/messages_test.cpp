#include "framework/messages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/appinit.h"
#include "framework/calc_state.h"
#include "framework/folders.h"
#include "framework/input_state.h"
#include "framework/fake_status_bar.h"
#include "platform/files.h"
#include "support/test_support.h"

namespace {

using platform::DialogButtons;
using platform::DialogKind;
using platform::ModalResult;
using testsupport::S;
using testsupport::U;

class MessagesTest : public testing::Test {
 protected:
  void SetUp() override {
    savedDatDir_ = fw::DatDir;
    fw::DatDir = temp.inside();
    fw::Input = {};
    fw::DataState = {};
    fw::CurrentFileName = "TEST.HVS";
    fw::LastStatusText.clear();
    fw::ErrorText.clear();
    fw::ErrorNo = 0;
    fw::JokeFileName.clear();
    fw::SettingsRows[2].clear();
    fw::ScreenWidth = 0;
    fw::ScreenHeight = 0;
    ui.stepMs = 1;
  }
  void TearDown() override {
    fw::DatDir = savedDatDir_;
    fw::JokeFileName.clear();
    fw::SettingsRows[2].clear();
  }

  void WriteErrorTable(const std::vector<std::string>& utf8Lines) {
    std::vector<std::string> lines;
    for (const auto& l : utf8Lines) lines.push_back(S(l));
    ASSERT_TRUE(platform::WriteTextLinesAtomic(temp.Path("エラー文.DAT"), lines));
  }

  // Fake-clock milliseconds that ShowErrorStatus(text) takes.
  uint64_t NoteMs(const std::string& text) {
    const uint64_t start = ui.nowMs;
    fw::ShowErrorStatus(text);
    return ui.nowMs - start;
  }

  testsupport::TempFolder temp;
  testsupport::FakeUi ui;
  testsupport::StatusBarScope status;
  testsupport::FakeStatusBar& bar = status.bar;

 private:
  std::string savedDatDir_;
};

TEST_F(MessagesTest, PanelsOutsideAndInsideInputMode) {
  fw::ShowStatus(S("計算条件を読みました"));
  EXPECT_EQ(U(bar.panels[0]), "　△ 計算条件を読みました");
  EXPECT_EQ(U(bar.panels[1]), "変更なし");
  EXPECT_EQ(bar.panels[2], "");
  EXPECT_EQ(bar.panels[3], "TEST.HVS");
  EXPECT_EQ(bar.hint, bar.panels[0]);
  EXPECT_EQ(U(fw::LastStatusText), "計算条件を読みました");

  fw::BeginInputStatus();
  fw::DataState.Modified = 1;
  fw::Input.InputCode = 1205;
  fw::Input.OverwriteMode = 1;
  fw::ShowStatus("A");
  EXPECT_EQ(U(bar.panels[0]), "　▲ A");
  EXPECT_EQ(U(bar.panels[1]), "変更あり1205");
  EXPECT_EQ(U(bar.panels[2]), "上書モード");

  fw::DataState.Modified = 0;
  fw::Input.InputCode = 0;
  fw::Input.OverwriteMode = 0;
  fw::ShowStatus("B");
  EXPECT_EQ(U(bar.panels[1]), "入力№");
  EXPECT_EQ(U(bar.panels[2]), "挿入モード");

  fw::EndInputStatus();
  EXPECT_FALSE(fw::Input.InputMode);
  EXPECT_EQ(U(bar.panels[0]), "　");
  EXPECT_EQ(U(bar.panels[1]), "変更なし");
  EXPECT_EQ(fw::LastStatusText, "B");  // the clearing call is not remembered
}

TEST_F(MessagesTest, LeadingMarksAndRememberedText) {
  struct Case {
    const char* text;
    bool inputMode;
    const char* panel0;
    bool remembered;
    bool inputModeAfter;
    int beeps;
  };
  const Case cases[] = {
      {"", false, "　", false, false, 0},
      {"準備", true, "　▲ 準備", true, true, 0},
      {" (ﾟ_ﾟ)  歌  (^_^;)", false, "　♪  (ﾟ_ﾟ)  歌  (^_^;)", true, false, 0},
      {"※注意 入力が空です", true, "　※注意 入力が空です", false, true, 1},
      {"※(ﾟ_ﾟ)", false, "　※(ﾟ_ﾟ)", false, false, 0},
      {"計算中です．．．", true, "　△ 計算中です．．．", false, false, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    fw::LastStatusText = "OLD";
    fw::Input.InputMode = c.inputMode;
    const int beeps = ui.beeps;
    fw::ShowStatus(S(c.text));
    EXPECT_EQ(U(bar.panels[0]), c.panel0);
    EXPECT_EQ(U(fw::LastStatusText), c.remembered ? std::string(c.text) : "OLD");
    EXPECT_EQ(fw::Input.InputMode, c.inputModeAfter);
    EXPECT_EQ(ui.beeps - beeps, c.beeps);
  }
}

TEST_F(MessagesTest, FileNamePanelIsCutAtTwentyBytesWithoutSplittingACharacter) {
  struct Case {
    std::string name;  // UTF-8
    std::string shown;
  };
  const Case cases[] = {
      {"ABCDEFGHIJKLMNOPQRST", "ABCDEFGHIJKLMNOPQRST"},
      {"ABCDEFGHIJKLMNOPQRSTU", "ABCDEFGHIJKLMNOPQRST..."},
      {"ABCDEFGHIJKLMNOPQRSあ", "ABCDEFGHIJKLMNOPQRS ..."},  // "あ" spans bytes 20 and 21
      {"雨水利用計算条件表示テスト.HVS", "雨水利用計算条件表示..."},
  };
  for (const auto& c : cases) {
    fw::CurrentFileName = S(c.name);
    fw::ShowStatus("X");
    EXPECT_EQ(U(bar.panels[3]), c.shown) << c.name;
  }
}

TEST_F(MessagesTest, StatusCallsWithoutStatusBarDoNothing) {
  fw::MainStatusBar = nullptr;
  const uint64_t start = ui.nowMs;
  fw::ShowStatus("X");
  fw::ShowErrorStatus(std::string(80, 'E'));
  EXPECT_EQ(ui.nowMs, start);
  EXPECT_EQ(ui.beeps, 0);
  EXPECT_TRUE(fw::LastStatusText.empty());
  EXPECT_TRUE(bar.panel0History.empty());
}

TEST_F(MessagesTest, ErrorNoteDurationFollowsByteLengthWithoutTheMark) {
  struct Case {
    std::string text;
    uint64_t ms;
  };
  const Case cases[] = {
      {std::string(30, 'e'), 3000}, {std::string(31, 'e'), 3500}, {std::string(60, 'e'), 3500},
      {std::string(61, 'e'), 4000}, {std::string(70, 'e'), 4000}, {std::string(71, 'e'), 5000},
      {S("全角十五文字の誤りを知らせる文"), 3000},  // 30 bytes
      {S("※全角十五文字の誤りを知らせる"), 3000},  // 30 bytes with its own mark
  };
  for (const auto& c : cases) {
    const uint64_t ms = NoteMs(c.text);
    EXPECT_GE(ms, c.ms) << c.text.size();
    EXPECT_LT(ms, c.ms + 20) << c.text.size();
  }
}

TEST_F(MessagesTest, ErrorNoteShowsMarkedTextThenRestoresTheLastStatusText) {
  fw::ShowStatus(S("準備完了"));
  fw::ShowStatus("");  // an empty text must not become the text to restore
  bar.panel0History.clear();
  fw::ShowErrorStatus(S("ファイルがありません"));
  ASSERT_EQ(bar.panel0History.size(), 3u);
  EXPECT_EQ(U(bar.panel0History[0]), "　");
  EXPECT_EQ(U(bar.panel0History[1]), "　※ファイルがありません");
  EXPECT_EQ(U(bar.panel0History[2]), "　△ 準備完了");
  EXPECT_EQ(U(fw::ErrorText), "ファイルがありません");
  EXPECT_EQ(ui.beeps, 1);
  EXPECT_EQ(ui.cursorShape, platform::CursorShape::Default);

  // A text that already holds the mark gets no second one.
  fw::ShowErrorStatus(S("※もう一度"));
  EXPECT_TRUE(bar.Showed(S("　※もう一度")));
  EXPECT_FALSE(bar.Showed(S("※※")));
}

TEST_F(MessagesTest, WaitSecondsOnTheFakeClock) {
  ui.stepMs = 10;
  fw::WaitSeconds(0);
  EXPECT_EQ(ui.processEventsCalls, 0);
  fw::WaitSeconds(-1);
  EXPECT_EQ(ui.processEventsCalls, 1);
  const uint64_t start = ui.nowMs;
  fw::WaitSeconds(0.2504);  // 250 ms
  EXPECT_EQ(ui.nowMs - start, 250u);
}

TEST_F(MessagesTest, ErrorNumbersFromTheErrorTable) {
  WriteErrorTable({
      "500 計算を中止しました。",
      "511 書き込みが禁止されたファイルです。",
      // bytes 5 to 74: 69 letters and a double-byte character across byte 74
      "512 " + std::string(69, 'x') + "字が切れる",
  });
  fw::ShowErrorNo(500);
  EXPECT_EQ(fw::ErrorNo, 500);
  EXPECT_EQ(U(fw::ErrorText), "計算を中止しました。");
  EXPECT_TRUE(bar.Showed(S("　※計算を中止しました。")));

  fw::ShowErrorNo(511);
  EXPECT_EQ(U(fw::ErrorText), "書き込みが禁止されたファイルです。 （ERRno=511）");

  fw::ShowErrorNo(512);
  EXPECT_EQ(U(fw::ErrorText), std::string(69, 'x') + "  （ERRno=512）");

  fw::ShowErrorNo(0);  // repeats the last note
  EXPECT_EQ(fw::ErrorNo, 0);
  EXPECT_EQ(U(fw::ErrorText), std::string(69, 'x') + "  （ERRno=512）");

  fw::ShowErrorNo(777);
  EXPECT_EQ(fw::ErrorNo, 777);
  EXPECT_EQ(U(fw::ErrorText), "登録されていないエラーが発生しました。 （ERRno=?）");
}

TEST_F(MessagesTest, MissingErrorTableGivesTheUnregisteredText) {
  fw::ShowErrorNo(511);
  EXPECT_EQ(fw::ErrorNo, 511);
  EXPECT_EQ(U(fw::ErrorText), "登録されていないエラーが発生しました。 （ERRno=?）");
  EXPECT_TRUE(bar.Showed(S("　※登録されていないエラー")));
}

std::string JokeRecord(const std::string& cp932) {
  std::string record(81, ' ');
  record[0] = static_cast<char>(cp932.size());
  record.replace(1, cp932.size(), cp932);
  return record;
}

TEST_F(MessagesTest, JokeLineAfterTheFirstCall) {
  ASSERT_TRUE(platform::WriteFileBytesAtomic(temp.Path("都々逸.DAT"), JokeRecord(S("三千世界の烏を殺し"))));
  fw::LastStatusText = "KEEP";
  fw::ShowDodoitsu();
  EXPECT_EQ(U(bar.panels[0]), "　△ ここは一番、どどいつ（都々逸）でも歌いたいところですが．．．");
  EXPECT_EQ(U(fw::JokeFileName), "都々逸.DAT");
  EXPECT_EQ(fw::LastStatusText, "KEEP");

  fw::ShowDodoitsu();
  EXPECT_EQ(U(bar.panels[0]), "　♪  (ﾟ_ﾟ)  三千世界の烏を殺し  (^_^;)");

  // Another joke file shows the line alone; one of two records is chosen.
  ASSERT_TRUE(platform::WriteFileBytesAtomic(temp.Path("JOKE.DAT"), JokeRecord("ONE") + JokeRecord("TWO")));
  fw::JokeFileName = "JOKE.DAT";
  for (int i = 0; i < 5; ++i) {
    fw::ShowDodoitsu();
    EXPECT_TRUE(U(bar.panels[0]) == "　△ ONE" || U(bar.panels[0]) == "　△ TWO") << U(bar.panels[0]);
  }
}

TEST_F(MessagesTest, JokeFileShorterThanOneRecordShowsNothing) {
  ASSERT_TRUE(platform::WriteFileBytesAtomic(temp.Path("都々逸.DAT"), JokeRecord("SHORT").substr(0, 50)));
  fw::JokeFileName = S("都々逸.DAT");
  fw::ShowDodoitsu();
  EXPECT_TRUE(bar.panel0History.empty());
}

TEST_F(MessagesTest, EveryButtonSetGivesItsAnswerFlags) {
  struct Case {
    int buttons;
    ModalResult answer;
    DialogButtons shown;
    bool yes;
    bool cancel;
    int dialogAnswer;
  };
  const Case cases[] = {
      {1, ModalResult::Ok, DialogButtons::Ok, true, false, 1},
      {1, ModalResult::Close, DialogButtons::Ok, false, true, 3},  // the close box
      {0, ModalResult::Ok, DialogButtons::Ok, true, false, 1},
      {2, ModalResult::Yes, DialogButtons::YesNo, true, false, 1},
      {2, ModalResult::No, DialogButtons::YesNo, false, false, 2},
      {3, ModalResult::Yes, DialogButtons::YesNoCancel, true, false, 1},
      {3, ModalResult::No, DialogButtons::YesNoCancel, false, false, 2},
      {3, ModalResult::Cancel, DialogButtons::YesNoCancel, false, true, 3},
      {4, ModalResult::Cancel, DialogButtons::CancelRetry, false, true, 3},
      {4, ModalResult::Retry, DialogButtons::CancelRetry, false, true, 3},
      {5, ModalResult::Yes, DialogButtons::YesAbort, true, false, 1},
      {5, ModalResult::Abort, DialogButtons::YesAbort, false, true, 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "buttons " << c.buttons << " answer " << static_cast<int>(c.answer));
    fw::DialogYes = !c.yes;
    fw::DialogCancel = !c.cancel;
    ui.answers = {c.answer};
    fw::MsgDialog(S("保存しますか？"), 2, c.buttons);
    ASSERT_FALSE(ui.shown.empty());
    EXPECT_EQ(ui.shown.back().buttons, c.shown);
    EXPECT_EQ(fw::DialogYes, c.yes);
    EXPECT_EQ(fw::DialogCancel, c.cancel);
    EXPECT_EQ(fw::DialogAnswer, c.dialogAnswer);
    EXPECT_EQ(fw::DialogResult, static_cast<int>(c.answer));
    EXPECT_EQ(U(fw::LastDialogText), "保存しますか？");
  }
}

TEST_F(MessagesTest, DialogKindsAndBeeps) {
  struct Case {
    int kind;
    const char* text;
    DialogKind shown;
    int beeps;
  };
  const Case cases[] = {
      {1, "情報", DialogKind::Information, 0},   {0, "情報", DialogKind::Information, 0},
      {2, "続けますか", DialogKind::Confirmation, 0}, {2, "全て終了しますか", DialogKind::Confirmation, 1},
      {3, "注意", DialogKind::Warning, 1},       {4, "誤り", DialogKind::Error, 1},
  };
  for (const auto& c : cases) {
    const int beeps = ui.beeps;
    fw::MsgDialog(S(c.text), c.kind, 1);
    EXPECT_EQ(ui.shown.back().kind, c.shown) << c.text;
    EXPECT_EQ(ui.beeps - beeps, c.beeps) << c.text;
  }
}

// A user interface whose dialog changes the input state, as a focus change during the
// modal question would.
class InputChangingUi final : public platform::Ui {
 public:
  InputChangingUi() { previous_ = platform::InstallUi(this); }
  ~InputChangingUi() override { platform::InstallUi(previous_); }
  platform::ModalResult ShowMessageBox(const std::string&, const std::string& caption, platform::DialogKind,
                                       platform::DialogButtons) override {
    this->caption = caption;
    fw::Input.InputText = "CHANGED";
    fw::Input.InputCode = 9;
    fw::Input.InputValue = 99;
    return platform::ModalResult::Ok;
  }
  void Beep() override {}
  uint64_t TickCountMs() override { return 0; }
  void ProcessEvents(platform::PumpScope) override {}
  platform::Point CursorPos() override { return {}; }
  void SetCursorPos(platform::Point) override {}
  void SetCursorShape(platform::CursorShape) override {}
  int ScreenWidth() override { return 800; }
  int ScreenHeight() override { return 600; }
  void SetHintHidePause(int) override {}
  std::string caption;

 private:
  platform::Ui* previous_;
};

TEST_F(MessagesTest, DialogLeavesTheFieldBeingEditedUnchanged) {
  InputChangingUi changing;
  fw::Input.InputText = "12.5";
  fw::Input.InputCode = 1205;
  fw::Input.InputValue = 12.5;
  fw::MsgDialog("?", 1, 1);
  EXPECT_EQ(fw::Input.InputText, "12.5");
  EXPECT_EQ(fw::Input.InputCode, 1205);
  EXPECT_EQ(fw::Input.InputValue, 12.5);
  EXPECT_EQ(changing.caption, "HarvSim Ver.2.00");
}

TEST_F(MessagesTest, PointerLandsOnTheDefaultButton) {
  struct Case {
    int buttons;
    const char* text;
    const char* system;
    platform::Point at;  // from the centre of the 1280 x 1024 screen (640, 512)
  };
  const Case cases[] = {
      {1, "one line", "", {640, 546}},
      {3, "a\r\nb", "", {558, 546}},
      {2, "a\r\nb\r\nc", "", {599, 548}},
      {4, "a", "Windows2000", {599, 546}},
      {2, "a\r\nb\r\nc", "WindowsVista", {594, 557}},
  };
  for (const auto& c : cases) {
    fw::SettingsRows[2] = c.system;
    fw::MsgDialog(c.text, 1, c.buttons);
    EXPECT_EQ(ui.cursor.x, c.at.x) << c.buttons << " " << c.system;
    EXPECT_EQ(ui.cursor.y, c.at.y) << c.buttons << " " << c.system;
  }
  // The screen size taken at start-up wins over the user interface's.
  fw::ScreenWidth = 1000;
  fw::ScreenHeight = 700;
  fw::SettingsRows[2].clear();
  fw::CenterMouseCursor();
  EXPECT_EQ(ui.cursor.x, 500);
  EXPECT_EQ(ui.cursor.y, 350);
}

TEST_F(MessagesTest, CountTextLinesSplitsAsAStringList) {
  const std::pair<const char*, int> cases[] = {
      {"", 0}, {"a", 1}, {"a\r\n", 1}, {"\r\n", 1}, {"a\r\nb", 2}, {"a\rb\nc", 3}, {"a\r\n\r\nb", 3}, {"a\n\n", 2},
  };
  for (const auto& [text, lines] : cases) EXPECT_EQ(fw::CountTextLines(text), lines) << testing::PrintToString(text);
}

class FakeTarget final : public fw::PointerTarget {
 public:
  bool visible = true, windowed = true, enabled = true;
  int focused = 0;
  bool IsVisible() const override { return visible; }
  int ClientWidth() const override { return 75; }
  int ClientHeight() const override { return 25; }
  platform::Point ClientToScreen(platform::Point p) const override { return {p.x + 100, p.y + 200}; }
  bool IsWindowed() const override { return windowed; }
  bool IsEnabled() const override { return enabled; }
  void SetFocus() override { ++focused; }
};

TEST_F(MessagesTest, MoveMouseToControl) {
  FakeTarget target;
  fw::MoveMouseToControl(&target);
  EXPECT_EQ(ui.cursor.x, 137);
  EXPECT_EQ(ui.cursor.y, 212);
  EXPECT_EQ(target.focused, 1);

  target.enabled = false;
  fw::MoveMouseToControl(&target);
  target.enabled = true;
  target.windowed = false;
  fw::MoveMouseToControl(&target);
  EXPECT_EQ(target.focused, 1);

  ui.cursor = {1, 2};
  target.visible = false;
  fw::MoveMouseToControl(&target);
  fw::MoveMouseToControl(nullptr);
  EXPECT_EQ(ui.cursor.x, 1);
  EXPECT_EQ(ui.cursor.y, 2);
  EXPECT_EQ(target.focused, 1);

  int x = 0, y = 0;
  fw::SetCursorPosXY(30, 40);
  fw::MoveMouseBy(-5, 6);
  fw::SaveCursorPos(x, y);
  EXPECT_EQ(x, 25);
  EXPECT_EQ(y, 46);
}

}  // namespace
