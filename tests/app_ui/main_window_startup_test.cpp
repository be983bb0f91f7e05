// Start-up of the main window in an installed tree, and the file commands that move the case:
// which file is loaded, where its results go, and what a failed load or save leaves behind.
#include <QMdiArea>
#include <QMdiSubWindow>
#include <algorithm>
#include <random>

#include "app_ui_test_util.h"
#include "framework/folders.h"
#include "framework/weather_stations.h"
#include "platform/files.h"

using namespace apptest;

namespace {

TEST_F(MainWindowTest, StartsWithTheSampleCaseWithoutWeatherFiles) {
  app::THARVForm& w = Start();
  ASSERT_FALSE(w.StartupFailed());
  EXPECT_EQ(app::CalcFilePath, tree.Path("CAL/HVS/TEST_HVS.HVS"));
  EXPECT_TRUE(app::IsSampleFile);
  EXPECT_EQ(fw::DataState.Modified, 0);
  EXPECT_TRUE(fw::LabelExists(fw::CalcData, S("№1000")));
  EXPECT_EQ(fw::ResultDir, tree.Path("CAL/HVS/＜RESULT＞/"));
  EXPECT_EQ(app::ResultPrefix, tree.Path("CAL/HVS/＜RESULT＞/HarvSim"));
  EXPECT_EQ(fw::CountryNo, 1);
  EXPECT_EQ(U(fw::Cp932Of(w.LBL0_1->text())), "静岡県 浜松市");
  EXPECT_FALSE(w.LBL1->text().isEmpty());
  EXPECT_TRUE(w.TIMER->isActive());
  EXPECT_EQ(w.SplashTicks(), 0);
}

TEST_F(MainWindowTest, SettingsNamingAnExistingCaseLoadIt) {
  tree.CopySample("CAL/HVS/WORK/MYCASE.HVS");
  tree.SetLastFile("C:..." + S("CAL\\HVS\\WORK\\"), "MYCASE", ".HVS");
  Start();
  EXPECT_EQ(app::CalcFilePath, tree.Path("CAL/HVS/WORK/MYCASE.HVS"));
  EXPECT_FALSE(app::IsSampleFile);
  EXPECT_EQ(fw::ResultDir, tree.Path("CAL/HVS/WORK/＜RESULT＞/"));
  EXPECT_NE(U(form->SBAR->PanelText(0)).find("〔ファイル読込〕"), std::string::npos);
}

struct FallbackCase {
  const char* name;
  const char* ext;
  bool createFile;
};

class StartupFallback : public MainWindowTest, public ::testing::WithParamInterface<FallbackCase> {};

TEST_P(StartupFallback, AnythingButAnExistingDotHvsFileStartsWithTheSample) {
  const FallbackCase& c = GetParam();
  if (c.createFile) tree.CopySample(std::string("CAL/HVS/") + c.name + c.ext);
  tree.SetLastFile("C:..." + S("CAL\\HVS\\"), c.name, c.ext);
  Start();
  EXPECT_EQ(app::CalcFilePath, tree.Path("CAL/HVS/TEST_HVS.HVS"));
  EXPECT_TRUE(app::IsSampleFile);
  EXPECT_TRUE(fw::LabelExists(fw::CalcData, S("№1000")));
}

INSTANTIATE_TEST_SUITE_P(Cases, StartupFallback,
                         ::testing::Values(FallbackCase{"LOWER", ".hvs", true}, FallbackCase{"GONE", ".HVS", false},
                                           FallbackCase{"OTHER", ".TXT", true}),
                         [](const ::testing::TestParamInfo<FallbackCase>& info) { return std::string(info.param.name); });

TEST_F(MainWindowTest, AMissingSampleStartsANewEmptyCaseUnderItsName) {
  platform::RemoveFile(tree.Path("CAL/HVS/TEST_HVS.HVS"));
  Start();
  EXPECT_EQ(app::CalcFilePath, tree.Path("CAL/HVS/TEST_HVS.HVS"));
  ASSERT_EQ(fw::CalcData.size(), 1u);  // the header line only
  EXPECT_FALSE(platform::FileExists(app::CalcFilePath));
}

TEST_F(MainWindowTest, SaveAsMovesTheResultFolderWithTheFile) {
  tree.CopySample("CAL/HVS/WORK/CASE.HVS");
  tree.SetLastFile("C:..." + S("CAL\\HVS\\WORK\\"), "CASE", ".HVS");
  app::THARVForm& w = Start();
  EditTitle("移した計算");
  EXPECT_TRUE(w.ACT_SaveAs->isEnabled());
  platform::MakeFolders(tree.Path("CAL/HVS/PROJ/"));
  w.FileDialog = [&](bool save, const std::string& start, const std::string& filter) -> std::optional<std::string> {
    EXPECT_TRUE(save);
    EXPECT_EQ(start, tree.Path("CAL/HVS/WORK/CASE.HVS"));
    EXPECT_EQ(U(filter), "計算ファイル(*.HVS)|*.HVS");
    return tree.Path("CAL/HVS/PROJ/MOVED");  // no extension: ".HVS" is added
  };
  w.ACT_SaveAsExecute();
  const std::string moved = tree.Path("CAL/HVS/PROJ/MOVED.HVS");
  EXPECT_EQ(app::CalcFilePath, moved);
  EXPECT_TRUE(platform::FileExists(moved));
  EXPECT_EQ(fw::ResultDir, tree.Path("CAL/HVS/PROJ/＜RESULT＞/"));
  EXPECT_EQ(app::ResultPrefix, tree.Path("CAL/HVS/PROJ/＜RESULT＞/HarvSim"));
  EXPECT_TRUE(platform::FileExists(tree.Path("CAL/HVS/PROJ/＜RESULT＞/FILE_NEM.DAT")));
  EXPECT_EQ(fw::DataState.Modified, 0);
  EXPECT_NE(FileText(moved).find(S("移した計算")), std::string::npos);
  EXPECT_EQ(app::CurrentScreen, 1);  // the saved case opens on screen 1
  EXPECT_NE(w.ScreenForm(1), nullptr);
  // The settings remember the moved file at exit.
  w.close();
  EXPECT_EQ(U(fw::SettingsRows[13]), "MOVED");
}

TEST_F(MainWindowTest, SaveAsOutsideTheCalculationFoldersSavesNothing) {
  app::THARVForm& w = Start();
  EditTitle("どこにも保存しない");
  w.FileDialog = [&](bool, const std::string&, const std::string&) -> std::optional<std::string> {
    return tree.Path("DATA/ELSEWHERE.HVS");
  };
  w.ACT_SaveAsExecute();
  EXPECT_FALSE(platform::FileExists(tree.Path("DATA/ELSEWHERE.HVS")));
  EXPECT_EQ(app::CalcFilePath, tree.Path("CAL/HVS/TEST_HVS.HVS"));
  EXPECT_TRUE(ShownContains("この場所には保存できません。"));

  // A save that fails keeps the previous file and its result folder.
  platform::MakeFolders(tree.Path("CAL/HVS/PROJ/BLOCKED.HVS/"));  // a folder in the file's place
  w.FileDialog = [&](bool, const std::string&, const std::string&) -> std::optional<std::string> {
    return tree.Path("CAL/HVS/PROJ/BLOCKED.HVS");
  };
  w.ACT_SaveAsExecute();
  EXPECT_EQ(app::CalcFilePath, tree.Path("CAL/HVS/TEST_HVS.HVS"));
  EXPECT_EQ(fw::ResultDir, tree.Path("CAL/HVS/＜RESULT＞/"));
  EXPECT_EQ(fw::DataState.Modified, 1);
  EXPECT_EQ(app::CurrentScreen, 0);
}

TEST_F(MainWindowTest, OpenLoadsTheChosenFileFromAnyFolderAndItsResultFolder) {
  tree.CopySample("CAL/HVS/OTHER/FAR.HVS");
  app::THARVForm& w = Start();
  w.FileDialog = [&](bool save, const std::string& start, const std::string& filter) -> std::optional<std::string> {
    EXPECT_FALSE(save);
    EXPECT_EQ(start, tree.Path("CAL/HVS/TEST_HVS.HVS"));
    EXPECT_EQ(U(filter), "現在の拡張子(*.HVS)|*.HVS|");
    return tree.Path("CAL/HVS/OTHER/FAR.HVS");
  };
  w.ACT_OpenAsExecute();
  EXPECT_EQ(app::CalcFilePath, tree.Path("CAL/HVS/OTHER/FAR.HVS"));
  EXPECT_EQ(fw::ResultDir, tree.Path("CAL/HVS/OTHER/＜RESULT＞/"));
  EXPECT_FALSE(app::IsSampleFile);
  EXPECT_EQ(app::CurrentScreen, 1);  // opening a file opens screen 1
  EXPECT_NE(w.ScreenForm(1), nullptr);
  EXPECT_NE(U(w.SBAR->PanelText(0)).find("〔入力データ表示完了〕"), std::string::npos);
}

TEST_F(MainWindowTest, OpenOfAnEditedCaseAsksOnceAndKeepsTheCaseOnNo) {
  tree.CopySample("CAL/HVS/OTHER/FAR.HVS");
  app::THARVForm& w = Start();
  EditTitle("編集中");
  w.FileDialog = [&](bool, const std::string&, const std::string&) -> std::optional<std::string> {
    return tree.Path("CAL/HVS/OTHER/FAR.HVS");
  };
  ui.answers = {platform::ModalResult::No};
  w.ACT_OpenAsExecute();
  EXPECT_EQ(app::CalcFilePath, tree.Path("CAL/HVS/TEST_HVS.HVS"));
  EXPECT_EQ(fw::DataState.Modified, 1);
  EXPECT_EQ(app::CurrentScreen, 0);

  ui.shown.clear();
  w.ACT_OpenAsExecute();  // Yes by default
  EXPECT_EQ(app::CalcFilePath, tree.Path("CAL/HVS/OTHER/FAR.HVS"));
  int questions = 0;
  for (const auto& s : ui.shown) questions += s.text.find(S("廃棄してもいいですか")) != std::string::npos;
  EXPECT_EQ(questions, 1);
}

TEST_F(MainWindowTest, AFileThatCannotBeLoadedLeavesTheCurrentCase) {
  app::THARVForm& w = Start();
  const std::vector<std::string> before = fw::CalcData;
  fw::Input.InputCommitted = false;
  fw::Input.InputUnchanged = false;
  fw::Input.InputCode = 1000;
  fw::Input.InputText = "NOSUCH.HVS";
  w.SelectCalcFile(nullptr, 10, 0, 0);
  EXPECT_EQ(app::CalcFilePath, tree.Path("CAL/HVS/TEST_HVS.HVS"));
  EXPECT_EQ(fw::ResultDir, tree.Path("CAL/HVS/＜RESULT＞/"));
  EXPECT_EQ(fw::CalcData, before);
  EXPECT_TRUE(ShownContains("読込むファイル名が見つかりません。"));
  EXPECT_EQ(app::CurrentScreen, 0);
}

TEST_F(MainWindowTest, TheFileComboLoadsTheChosenFileOfTheFolder) {
  tree.CopySample("CAL/HVS/SECOND.HVS");
  app::THARVForm& w = Start();
  w.RefreshHeader();
  ASSERT_GE(w.CBOX0->count(), 2);
  fw::Input.InputCommitted = false;
  fw::Input.InputUnchanged = false;
  fw::Input.InputCode = 1000;
  fw::Input.InputText = S("  1:SECOND.HVS");
  w.SelectCalcFile(w.CBOX0, 10, 0, 0);
  EXPECT_EQ(app::CalcFilePath, tree.Path("CAL/HVS/SECOND.HVS"));
  EXPECT_EQ(app::CurrentScreen, 1);
  // A second selection within the same input does nothing.
  fw::Input.InputText = "TEST_HVS.HVS";
  w.SelectCalcFile(w.CBOX0, 10, 0, 0);
  EXPECT_EQ(app::CalcFilePath, tree.Path("CAL/HVS/SECOND.HVS"));

  // Leaving the combo of an edited case without a choice asks nothing and keeps the case.
  EditTitle("編集中");
  ui.shown.clear();
  fw::Input.InputCommitted = false;
  fw::Input.InputUnchanged = true;
  fw::Input.InputText = "SECOND.HVS";
  w.SelectCalcFile(w.CBOX0, 10, 0, 0);
  EXPECT_TRUE(ui.shown.empty());
  EXPECT_EQ(fw::DataState.Modified, 1);

  // A choice asks; "No" puts the old text back and keeps the case.
  ui.answers = {platform::ModalResult::No};
  fw::Input.InputCommitted = false;
  fw::Input.InputUnchanged = false;
  fw::Input.InputOrgText = "SECOND.HVS";
  fw::Input.InputText = "TEST_HVS.HVS";
  w.CBOX0->SetText("TEST_HVS.HVS");
  w.SelectCalcFile(w.CBOX0, 10, 0, 0);
  EXPECT_TRUE(ShownContains("現在編集中のデータを廃棄してもいいですか？"));
  EXPECT_EQ(app::CalcFilePath, tree.Path("CAL/HVS/SECOND.HVS"));
  EXPECT_EQ(fw::DataState.Modified, 1);
  EXPECT_EQ(fw::StripLabelPrefix(w.CBOX0->Text()), "SECOND.HVS");  // the current file again
}

TEST_F(MainWindowTest, TheFileComboRefusesFilesThatAreNotCalculationFiles) {
  std::string sample;
  ASSERT_TRUE(platform::ReadFileBytes(tree.Path("CAL/HVS/TEST_HVS.HVS"), sample));
  const std::string records = sample.substr(sample.find("\r\n") + 2);  // the sample without its header
  std::string noise;
  std::mt19937 random(45);
  for (int i = 0; i < 600; ++i) noise += static_cast<char>(random() % 256);
  std::string noiseOneLine = noise;
  std::replace(noiseOneLine.begin(), noiseOneLine.end(), '\n', 'x');
  std::string record = records.substr(0, records.find("\r\n") + 2);  // the first record line
  std::string otherLabel = record, otherTag = record, shiftedTag = record;
  otherLabel.replace(0, 6, "ABCDEF");
  otherTag.replace(6, 6, "<ZZ9> ");
  shiftedTag.replace(6, 6, " <SS1>");
  struct Case {
    const char* name;
    std::string bytes;
    bool loads;
  } cases[] = {
      {"NOISE.HVS", noise + "\r\n", false},
      {"NOISE1.HVS", noiseOneLine + "\r\n", false},
      {"TEXT.HVS", "This is a note.\r\nIt holds no records.\r\n", false},
      {"LINE.HVS", std::string(90, 'a') + "\r\n", false},
      {"LABEL.HVS", sample + otherLabel, false},
      {"TAG.HVS", sample + otherTag, false},
      {"SHIFTED.HVS", sample + shiftedTag, false},
      {"VALID.HVS", sample, true},
      {"NOHEAD.HVS", records, true},
      {"EMPTY.HVS", sample.substr(0, sample.find("\r\n") + 2), true},  // the header alone: an empty case
  };
  for (const Case& c : cases) ASSERT_TRUE(platform::WriteFileBytesAtomic(tree.Path(std::string("CAL/HVS/") + c.name), c.bytes));
  app::THARVForm& w = Start();
  w.RefreshHeader();
  for (const Case& c : cases) {
    // Back to the sample case first.
    fw::Input.InputCommitted = false;
    fw::Input.InputUnchanged = false;
    fw::Input.InputCode = 1000;
    fw::Input.InputText = "TEST_HVS.HVS";
    w.SelectCalcFile(w.CBOX0, 10, 0, 0);
    ASSERT_EQ(app::CalcFilePath, tree.Path("CAL/HVS/TEST_HVS.HVS"));
    const fw::StringList before = fw::CalcData;
    ui.shown.clear();

    fw::Input.InputCommitted = false;
    fw::Input.InputUnchanged = false;
    fw::Input.InputText = c.name;
    w.SelectCalcFile(w.CBOX0, 10, 0, 0);
    const std::string path = tree.Path(std::string("CAL/HVS/") + c.name);
    if (c.loads) {
      EXPECT_EQ(app::CalcFilePath, path) << c.name;
      EXPECT_TRUE(ui.shown.empty()) << c.name;
    } else {
      EXPECT_EQ(app::CalcFilePath, tree.Path("CAL/HVS/TEST_HVS.HVS")) << c.name;
      EXPECT_TRUE(fw::CalcData == before) << c.name << ": the case shown before is kept";
      ASSERT_EQ(ui.shown.size(), 1u) << c.name;
      EXPECT_NE(ui.shown[0].text.find(path), std::string::npos) << c.name << ": the message names the file";
      EXPECT_NE(ui.shown[0].text.find(S("計算ファイルの形式ではありません")), std::string::npos) << c.name;
    }
    EXPECT_EQ(fw::DataState.Modified, 0) << c.name;
  }
}

TEST_F(MainWindowTest, SaveRemovesTheOldResultsOnlyAfterTheFileIsWritten) {
  tree.CopySample("CAL/HVS/WORK/CASE.HVS");
  tree.SetLastFile("C:..." + S("CAL\\HVS\\WORK\\"), "CASE", ".HVS");
  app::THARVForm& w = Start();
  const std::string result = tree.Path("CAL/HVS/WORK/＜RESULT＞/HarvSim(1981).DAY");
  platform::MakeFolders(tree.Path("CAL/HVS/WORK/＜RESULT＞/"));
  ASSERT_TRUE(platform::WriteFileBytesAtomic(result, "old\r\n"));
  EditTitle("保存できない");

  // The file's place is taken by a folder: the save fails and the results stay.
  const std::string path = app::CalcFilePath;
  platform::RemoveFile(path);
  platform::MakeFolders(path + "\\");
  EXPECT_FALSE(w.SaveCalcFile());
  EXPECT_TRUE(platform::FileExists(result));
  EXPECT_EQ(fw::DataState.Modified, 1);
  EXPECT_EQ(U(w.SBAR->PanelText(0)).find("〔ファイル保存〕"), std::string::npos);

  platform::RemoveFolder(path);
  EXPECT_TRUE(w.SaveCalcFile());
  EXPECT_FALSE(platform::FileExists(result));
  EXPECT_TRUE(platform::FileExists(path));
  EXPECT_NE(U(w.SBAR->PanelText(0)).find("〔ファイル保存〕"), std::string::npos);
}

TEST_F(MainWindowTest, NewCreatesAnEmptyFileBesideTheCurrentOneAndOpensScreen1) {
  app::THARVForm& w = Start();
  w.ACT_CRTExecute(3);
  w.ACT_CRTExecute(1);
  static std::string answer;
  answer = "NEWCASE";
  fw::AskTextHook = [](const std::string&, const std::string&, std::string& value) {
    value = answer;
    return true;
  };
  w.ACT_NewExecute();
  fw::AskTextHook = nullptr;
  FlushDeletes();
  const std::string made = tree.Path("CAL/HVS/NEWCASE.HVS");
  EXPECT_EQ(app::CalcFilePath, made);
  EXPECT_TRUE(platform::FileExists(made));
  ASSERT_EQ(fw::CalcData.size(), 1u);
  EXPECT_EQ(fw::DataState.Modified, 0);
  EXPECT_EQ(app::CurrentScreen, 1);
  EXPECT_EQ(w.ScreenForm(3), nullptr);  // the screens of the old case were freed
  EXPECT_NE(w.ScreenForm(1), nullptr);
  EXPECT_EQ(U(fw::CurrentFileName), "NEWCASE.HVS");
}

}  // namespace
