// The settings editor, the memo window and the version box.
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "app/ui/dialogs_memo.h"
#include "app/ui/dialogs_settings.h"
#include "app/ui/dialogs_version.h"
#include "app_ui_test_util.h"
#include "framework/folders.h"
#include "framework/ui/controls.h"
#include "framework/ui/input_behaviour.h"

using namespace apptest;

namespace {

// ---- Settings editor

TEST(SettingsRowCheck, Table) {
  testsupport::FakeUi ui;
  InstalledTree tree;
  fw::AppInit();
  struct Case {
    int code;
    std::string text;
    bool ok;
  };
  const Case cases[] = {
      {1014, "FD[A:] CD[?:] MC[?:] HD[C:]", true},
      {1014, "FD[A:] CD[?:] MC[?:]", true},
      {1014, "FD[A:] CD[?:] MC", false},  // shorter than 20 characters
      {1014, "FD[A ] CD[?:] MC[?:] HD[C:]", false},
      {1015, "[224][226][228][230][232][234]", true},
      {1015, "[224][226][228][230][232]", false},
      {1017, "[224 [226][228][230][232][234]", false},
      {1018, S("標準色.COL"), true},
      {1018, "NOSUCH.COL", false},
      {1018, "", false},
      {1012, "anything", true},
  };
  for (const Case& c : cases) EXPECT_EQ(app::CheckSettingsRow(c.code, c.text), c.ok) << c.code << " " << U(c.text);
}

class SettingsEditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fw::AppInit();
    settings = tree.Path("DATA/利用環境.WIN");
    original = tree.Path("DATA/利用環境.ORG");
    before = FileText(settings);
    beforeOrg = FileText(original);
  }
  testsupport::FakeUi ui;
  InstalledTree tree;
  std::string settings, original, before, beforeOrg;
};

TEST_F(SettingsEditorTest, ShowsRowsOneToTwentyAndOnlyTheMarkedRowsAreEdited) {
  app::TUTForm f;
  f.FormActivate();
  EXPECT_EQ(f.STRG1->RowCount(), 20);
  EXPECT_EQ(f.STRG1->Cells(1, 0), fw::SettingsRows[1]);
  EXPECT_EQ(f.STRG1->Cells(1, 19), fw::SettingsRows[20]);
  EXPECT_EQ(U(f.STRG1->Cells(0, 14)), "【ドライブ】");
  EXPECT_FALSE(f.EditMode());  // the last file exists: view mode
  EXPECT_FALSE(f.SettingsChanged());
  EXPECT_FALSE(f.BTN4->isEnabled());
  f.GridClick(14);
  EXPECT_FALSE(f.PNL1->isVisibleTo(&f));
  f.RBTN2->click();

  f.GridClick(11);  // 最終ファイルの場所: not editable
  EXPECT_EQ(f.LBL1->text().toStdString(), "(12)");
  EXPECT_FALSE(f.EDIT1_1->isVisibleTo(&f));
  f.GridClick(14);  // the drive row opens its panel
  EXPECT_TRUE(f.PNL1->isVisibleTo(&f));
  EXPECT_EQ(f.CBOX1[0]->Text(), "A:");
  EXPECT_EQ(f.CBOX1[3]->Text(), "C:");
  f.CBOX1[1]->SetItemIndex(4);  // "D:"
  f.BTN1_1Click();
  EXPECT_FALSE(f.PNL1->isVisibleTo(&f));
  EXPECT_EQ(f.STRG1->Cells(1, 14), "FD[A:] CD[D:] MC[  ] HD[C:]");
  EXPECT_TRUE(f.SettingsChanged());
  EXPECT_TRUE(f.BTN4->isEnabled());
}

TEST_F(SettingsEditorTest, ARowThatFailsItsCheckKeepsItsText) {
  app::TUTForm f;
  f.FormActivate();
  f.RBTN2->click();
  const std::string colours = f.STRG1->Cells(1, 15);
  auto type = [&f](const std::string& text) {
    f.GridClick(15);
    f.EDIT1_1->FireEnter();
    EXPECT_EQ(fw::Input.InputCode, 1015);
    f.EDIT1_1->SetText(text);
    f.EDIT1_1->SetModified(true);
    f.EDIT1_1->FireExit();  // leaving the editor commits it
  };
  type("[1][2]");
  EXPECT_EQ(f.STRG1->Cells(1, 15), colours);
  EXPECT_FALSE(f.SettingsChanged());
  type("[001][002][003][004][005][006]");
  EXPECT_EQ(f.STRG1->Cells(1, 15), "[001][002][003][004][005][006]");
  EXPECT_EQ(fw::SettingsRows[16], "[001][002][003][004][005][006]");
  EXPECT_TRUE(f.SettingsChanged());
  f.GridClick(16);
  EXPECT_TRUE(f.EDIT1_1->isVisibleTo(&f));
  f.RBTN1->click();  // view mode: clicks edit nothing
  f.EDIT1_1->FireEnter();
  f.EDIT1_1->FireExit();
  f.GridClick(17);
  EXPECT_FALSE(f.EDIT1_1->isVisibleTo(&f));
}

TEST_F(SettingsEditorTest, SaveWritesOnlyTheSettingsFile) {
  {
    app::TUTForm f;
    f.FormActivate();
    f.GridClick(14);
    f.CBOX1[2]->SetItemIndex(13);  // "M:"
    f.BTN1_1Click();
    f.BTN4Click();
  }
  EXPECT_NE(FileText(settings), before);
  EXPECT_NE(FileText(settings).find("MC[M:]"), std::string::npos);
  EXPECT_EQ(FileText(original), beforeOrg);  // the factory copy is never written
  EXPECT_EQ(fw::DriveMC, "M:");  // the settings were loaded again

  // The factory copy brings the installed rows back.
  app::TUTForm f;
  f.FormActivate();
  f.BTN2Click();
  EXPECT_TRUE(f.SettingsChanged());
  EXPECT_EQ(f.STRG1->Cells(1, 14), "FD[A:] CD[  ] MC[  ] HD[C:]");
  f.BTN4Click();
  EXPECT_NE(FileText(settings).find("MC[  ]"), std::string::npos);
  EXPECT_EQ(FileText(original), beforeOrg);
}

TEST_F(SettingsEditorTest, ASaveThatCannotWriteIsReportedAndTheEditorStaysOpen) {
  app::TUTForm f;
  f.show();
  f.FormActivate();
  f.GridClick(14);
  f.CBOX1[2]->SetItemIndex(13);  // "M:"
  f.BTN1_1Click();
  ASSERT_TRUE(platform::SetReadOnly(settings, true));
  ui.shown.clear();
  f.BTN4Click();
  EXPECT_EQ(FileText(settings), before);
  ASSERT_FALSE(ui.shown.empty());
  EXPECT_EQ(U(ui.shown.back().text).rfind("利用環境ファイルを保存できませんでした。", 0), 0u);
  EXPECT_EQ(ui.shown.back().kind, platform::DialogKind::Error);
  EXPECT_TRUE(f.isVisible());  // still open, the edit still there
  EXPECT_TRUE(f.SettingsChanged());
  EXPECT_EQ(f.STRG1->Cells(1, 14), "FD[A:] CD[  ] MC[M:] HD[C:]");

  ASSERT_TRUE(platform::SetReadOnly(settings, false));
  f.BTN4Click();
  EXPECT_FALSE(f.isVisible());
  EXPECT_NE(FileText(settings).find("MC[M:]"), std::string::npos);
}

TEST_F(SettingsEditorTest, ClosingWithoutSavingLeavesTheFileAndTheRows) {
  const std::string row15 = fw::SettingsRows[15];
  app::TUTForm f;
  f.FormActivate();
  f.GridClick(14);
  f.CBOX1[0]->SetItemIndex(2);
  f.BTN1_1Click();
  EXPECT_NE(fw::SettingsRows[15], row15);
  f.BTN1Click();  // 最初に戻す
  EXPECT_EQ(f.STRG1->Cells(1, 14), row15);
  EXPECT_FALSE(f.SettingsChanged());
  f.GridClick(14);
  f.CBOX1[0]->SetItemIndex(2);
  f.BTN1_1Click();
  f.BTN5Click();
  EXPECT_EQ(FileText(settings), before);
  EXPECT_EQ(fw::SettingsRows[15], row15);
}

// ---- Memo window

TEST(MemoIndex, HeadingLinesAtTheColumnBecomeItems) {
  const std::vector<std::string> lines = {S("題名"), S("１．はじめに"), S("　本文．です"), "", S("２．終わりに"), "x"};
  EXPECT_EQ(app::BuildMemoIndex(lines, 3, S("．")),
            (std::vector<std::string>{S("１．はじめに --- (2)"), S("２．終わりに --- (5)")}));
  EXPECT_TRUE(app::BuildMemoIndex({"plain", "lines"}, 3, S("．")).empty());
  EXPECT_EQ(app::BuildMemoIndex({"  * a", "* b"}, 3, "*"), (std::vector<std::string>{"  * a --- (1)"}));
}

TEST(MemoWindow, ShowsAFileWithItsIndexAndFindsText) {
  testsupport::FakeUi ui;
  InstalledTree tree;
  fw::AppInit();
  app::MemoFile = tree.Path("harvsim.TXT");
  app::TMEMForm memo;
  memo.SetMemoIndexMark(0, "");
  memo.show();
  QApplication::processEvents();
  EXPECT_TRUE(memo.Loaded());
  EXPECT_EQ(memo.Mode(), 1);
  EXPECT_EQ(memo.LBL1->text().toStdString(), "目次参照");
  EXPECT_EQ(memo.CBOX1->count(), 9);
  const int lines = memo.MEMO1->LineCount();
  EXPECT_EQ(U(fw::Cp932Of(memo.LBL0_1->text())), "全" + std::to_string(lines) + "行");
  EXPECT_LE(memo.height(), 570);

  memo.SetMode(2);
  EXPECT_EQ(memo.LBL1->text().toStdString(), "文字検索");
  EXPECT_FALSE(memo.BTN1->isEnabled());
  memo.EDIT1->SetText(S("＜RESULT＞"));
  EXPECT_TRUE(memo.FindText());
  EXPECT_EQ(memo.MEMO1->textCursor().selectedText().toStdString(), "＜RESULT＞");
  memo.EDIT1->SetText("no such words");
  EXPECT_FALSE(memo.FindText());
}

TEST(MemoWindow, AMissingFileGivesAnEmptyMemoUnderTheTemporaryName) {
  testsupport::FakeUi ui;
  InstalledTree tree;
  fw::AppInit();
  app::MemoFile = tree.Path("NOSUCH.TXT");
  app::TMEMForm memo;
  memo.FormActivate();
  EXPECT_TRUE(memo.MEMO1->Text().empty());
  EXPECT_EQ(memo.CBOX1->count(), 0);
  fw::SplitFileName(app::MemoFile);
  EXPECT_EQ(U(fw::FileNameExt), "一時ﾌｧｲﾙ.DAT");
  EXPECT_EQ(memo.windowTitle().toStdString(), "メモ用紙 － 一時ﾌｧｲﾙ.DAT");
}

// ---- Version box

TEST(VersionBox, ShowsTitlesFileDateAndMachine) {
  testsupport::FakeUi ui;
  InstalledTree tree;
  fw::AppInit();
  ASSERT_TRUE(platform::WriteFileBytesAtomic(tree.Path("harvsim"), "program"));
  fw::ProgramTitle = S("雨水利用シミュレーション Ver2.00");
  fw::ProgramNameVersion = "HarvSim Ver.2.00";
  app::TVERForm f;
  f.FormActivate();
  EXPECT_EQ(f.LBL1->text().toStdString(), "雨水利用シミュレーション Ver2.00");
  EXPECT_EQ(f.LBL2->text().toStdString(), "HarvSim Ver.2.00");
  EXPECT_EQ(f.LBL3->text().size(), 19);  // "yyyy/mm/dd hh:nn:ss"
  EXPECT_EQ(U(fw::Cp932Of(f.LBL4->text())), U(fw::SettingsRows[3]));
  EXPECT_EQ(f.BTN1->text().toStdString(), "閉じる(&X)");
  EXPECT_EQ(f.windowTitle().toStdString(), "プログラムバージョン情報");
}

}  // namespace
