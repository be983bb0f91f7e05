#include "framework/appinit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string>
#include <vector>

#include "framework/convert.h"
#include "framework/fake_status_bar.h"
#include "framework/file_names.h"
#include "framework/folders.h"
#include "framework/messages.h"
#include "framework/table_file.h"
#include "platform/files.h"
#include "platform/path.h"
#include "support/test_support.h"

namespace {

using platform::ModalResult;
using testsupport::S;
using testsupport::U;

// The shipped data tree (native). Falls back to this source file's repository when the test
// runs without HARVSIM_SOURCE_DIR.
std::string ShippedTree() {
  std::filesystem::path tree = std::filesystem::path(testsupport::SourceDir()) / "data" / "tree";
  if (!std::filesystem::exists(tree))
    tree = std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "data" / "tree";
  return tree.string();
}

// A temporary copy of the installed data tree with the program file "harvsim" in it.
class AppInitTest : public testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::copy(ShippedTree(), temp.native(),
                          std::filesystem::copy_options::recursive);
    fw::ExecutablePath = temp.inside() + "harvsim";
    fw::ProgramTitle = S("雨水利用シミュレーション Ver2.00");
    fw::ProgramNameVersion = "HarvSim Ver.2.00";
    fw::SettingsRows = {};
    fw::StartupPrinterHook = nullptr;
    fw::DialogCancel = false;
  }
  void TearDown() override {
    fw::ExecutablePath.clear();
    fw::StartupPrinterHook = nullptr;
    fw::SettingsRows = {};
    fw::BaseFolder.clear();
  }
  std::string SettingsFile() const { return temp.Path("DATA/利用環境.WIN"); }
  // The settings rows as they stand in the file.
  std::vector<std::string> RowsOnDisk() {
    std::vector<std::string> rows;
    if (!fw::DataLoad(SettingsFile())) return rows;
    for (int i = 1; i <= fw::TableBuffer.TableRows; ++i) rows.push_back(fw::TableBuffer.TableKeys[i]);
    return rows;
  }
  std::string Touch(const std::string& relUtf8) {
    const std::string p = temp.Path(relUtf8);
    fw::SplitFileName(p);
    platform::MakeFolders(fw::FileDir);
    EXPECT_TRUE(platform::WriteFileBytesAtomic(p, "x\r\n"));
    return p;
  }

  testsupport::TempFolder temp;
  testsupport::FakeUi ui;
};

TEST_F(AppInitTest, FindsTheDataFolderAndRewritesTheSettings) {
  fw::AppInit();
  ASSERT_FALSE(fw::DialogCancel);
  EXPECT_TRUE(ui.shown.empty());
  EXPECT_EQ(fw::BaseDrive, "C:");
  EXPECT_EQ(fw::BaseFolder, temp.inside().substr(2));
  EXPECT_EQ(fw::DataDir, temp.inside() + "DATA\\");
  EXPECT_EQ(fw::DatDir, temp.inside() + "DATA\\DAT\\");
  EXPECT_EQ(fw::ColorDir, temp.inside() + "DATA\\COLOR\\");
  EXPECT_EQ(fw::ColorFileName, fw::ColorDir + S("標準色.COL"));
  EXPECT_TRUE(platform::FileExists(fw::ColorFileName));
  EXPECT_EQ(fw::CountryNo, 1);
  EXPECT_EQ(fw::CountryName, S("日本"));
  EXPECT_EQ(fw::ScreenWidth, 1280);
  EXPECT_EQ(fw::MainWidth, 800);
  EXPECT_EQ(fw::DriveFD, "A:");
  EXPECT_EQ(fw::DriveHD, "C:");
  EXPECT_EQ(fw::DriveCD, "");
  EXPECT_EQ(fw::WindowsDrive, "C:");
  EXPECT_EQ(fw::ManualPath, temp.inside() + "harvsim.PDF");
  EXPECT_EQ(ui.hintHidePauseMs, 3000);
  EXPECT_TRUE(fw::SharedListsReady);
  EXPECT_EQ(fw::ColorGroups[0][0], 224);
  EXPECT_EQ(fw::ColorGroups[2][5], 202);
  EXPECT_GE(fw::ThisYear, 2024);
  EXPECT_EQ(fw::NextYear, fw::ThisYear + 1);
  EXPECT_EQ(fw::ThisYear2, fw::ThisYearText.substr(2));
  EXPECT_EQ(fw::TodayText.size(), 6u);
  EXPECT_EQ(fw::TodayText.substr(0, 2), fw::ThisYear2);
  ASSERT_FALSE(fw::UnitNames.empty());
  EXPECT_EQ(fw::UnitNames[0].first, "kcal/m2h");

  const auto rows = RowsOnDisk();
  ASSERT_EQ(rows.size(), 21u);
  EXPECT_EQ(rows[3].substr(0, 4), S("ﾒﾓﾘ:"));
  EXPECT_NE(rows[3].find(" CRT:1280x1024"), std::string::npos);
  EXPECT_EQ(rows[4], "Windows Drive[C:]");
  EXPECT_EQ(rows[5], "Start Drive[C:]");
  EXPECT_EQ(rows[6] + rows[7], fw::BaseFolder);
  EXPECT_EQ(rows[8], "C:...DATA\\");
  EXPECT_EQ(rows[9], fw::ProgramTitle);
  EXPECT_EQ(rows[10], S("HarvSim Ver.2.00 (国№ 1)"));
  EXPECT_TRUE(fw::IsDateTimeText(rows[11]));
  // The last file and the carried rows stay as shipped.
  EXPECT_EQ(rows[12], "C:...CAL\\HVS\\");
  EXPECT_EQ(rows[13], "TEST_HVS");
  EXPECT_EQ(rows[14], ".HVS");
  EXPECT_EQ(rows[15], "FD[A:] CD[  ] MC[  ] HD[C:]");
  EXPECT_EQ(rows[19], S("標準色.COL"));

  fw::AppDone("");
  EXPECT_FALSE(fw::SharedListsReady);
}

TEST_F(AppInitTest, WithoutTheSettingsFileStartUpFails) {
  ASSERT_TRUE(platform::RemoveFile(SettingsFile()));
  fw::AppInit();
  EXPECT_TRUE(fw::DialogCancel);
  ASSERT_EQ(ui.shown.size(), 1u);
  EXPECT_EQ(U(ui.shown[0].text), "利用環境ファイルが見つからないので、プログラムは実行できません。");
  EXPECT_EQ(ui.shown[0].kind, platform::DialogKind::Error);
}

TEST_F(AppInitTest, AWarningClosedByItsCloseBoxDoesNotEndStartUp) {
  fw::StartupPrinterHook = [] {
    fw::MsgDialog(S("デフォルトプリンターが設定されていないので、印刷はできません。"), 3, 1);
  };
  ui.answers = {ModalResult::Close};
  fw::AppInit();
  EXPECT_EQ(ui.shown.size(), 1u);
  EXPECT_FALSE(fw::DialogCancel);
}

TEST_F(AppInitTest, LastFileRoundTripsThroughRows12To14InStoredForm) {
  fw::AppInit();
  ASSERT_FALSE(fw::DialogCancel);
  struct Case {
    std::string file;     // UTF-8, under the temporary tree
    std::string row12;    // expected, UTF-8
    std::string row13;
  };
  const std::string deep = "AAAAAAAAAA/BBBBBBBBBB/CCCCCCCCCC/DDDDDDDDDD/EEEE";
  const std::vector<Case> cases = {
      {"CAL/HVS/CASE1.HVS", "C:...CAL\\HVS\\", "CASE1"},
      {"CAL/雨水/雨水.HVS", "C:...CAL\\･･･\\", "雨水"},  // the same-name folder
      {"CAL/A.B.HVS", "C:...CAL\\", "A.B"},              // dots in the name are kept
      // A folder too long for row 12 moves its last levels to row 13.
      {deep + "/F.HVS", "C:...AAAAAAAAAA\\BBBBBBBBBB\\CCCCCCCCCC\\", "DDDDDDDDDD\\EEEE\\F"},
  };
  for (const Case& c : cases) {
    const std::string path = Touch(c.file);
    fw::AppDone(path);
    const auto rows = RowsOnDisk();
    ASSERT_EQ(rows.size(), 21u);
    EXPECT_EQ(U(rows[12]), c.row12) << c.file;
    EXPECT_EQ(U(rows[13]), c.row13) << c.file;
    EXPECT_EQ(rows[14], ".HVS") << c.file;
    EXPECT_LE(rows[12].size(), 40u);

    fw::SettingsRows = {};
    fw::LoadSettings();
    EXPECT_EQ(fw::FilePath, path) << c.file;
    EXPECT_EQ(fw::NormalizePath(rows[12] + rows[13] + rows[14]), path) << c.file;
  }
  EXPECT_TRUE(ui.shown.empty());

  // A file that is gone is remembered as "なし"; loading falls back to the placeholder.
  fw::AppDone(temp.Path("CAL/GONE.HVS"));
  auto rows = RowsOnDisk();
  EXPECT_EQ(rows[12], "C:...");
  EXPECT_EQ(rows[13], S("なし"));
  fw::LoadSettings();
  EXPECT_EQ(fw::FileNameExt, S("なし.???"));
  EXPECT_EQ(fw::FileDir, "C:...");
  EXPECT_EQ(fw::FilePath, temp.inside() + S("なし.???"));
  EXPECT_FALSE(fw::FileCheck(fw::FilePath, 0));

  // A name that cannot fit the row is reported, not written as a broken path.
  const std::string longName(44, 'N');
  fw::AppDone(Touch("CAL/" + longName + ".HVS"));
  ASSERT_EQ(ui.shown.size(), 1u);
  EXPECT_NE(U(ui.shown[0].text).find("利用環境ファイルに記録できませんでした。"), std::string::npos);
  rows = RowsOnDisk();
  EXPECT_EQ(rows[12], "C:...");
  EXPECT_EQ(rows[13], S("なし"));
}

TEST_F(AppInitTest, RowsWrittenAndReadBack) {
  fw::AppInit();
  ASSERT_FALSE(fw::DialogCancel);
  // Drives and colour groups come back as written.
  fw::DriveFD = "A:";
  fw::DriveCD = "D:";
  fw::DriveMC = "  ";
  fw::DriveHD = "C:";
  fw::ColorGroups = {{{1, 22, 333, 4, 5, 6}, {7, 8, 9, 10, 11, 12}, {0, 255, 100, 99, 98, 97}}};
  fw::SaveSettings("");
  fw::DriveFD = fw::DriveCD = fw::DriveMC = fw::DriveHD = "";
  fw::ColorGroups = {};
  fw::LoadSettings();
  EXPECT_EQ(fw::DriveFD, "A:");
  EXPECT_EQ(fw::DriveCD, "D:");
  EXPECT_EQ(fw::DriveMC, "  ");
  EXPECT_EQ(fw::DriveHD, "C:");
  EXPECT_EQ(fw::ColorGroups[0][2], 333);
  EXPECT_EQ(fw::ColorGroups[2][1], 255);
  EXPECT_EQ(fw::ColorGroups[1][5], 12);

  // A row 10 without the country mark starts with country 1.
  fw::ProgramNameVersion.clear();
  fw::SettingsRows[10] = "HarvSim";
  fw::SaveSettings("");
  fw::CountryNo = 3;
  fw::LoadSettings();
  EXPECT_EQ(fw::CountryNo, 1);
  EXPECT_EQ(fw::CountryName, S("日本"));

  // A base folder deeper than 40 bytes spreads over rows 6 and 7 without splitting 表.
  fw::BaseFolder = "\\" + std::string(38, 'a') + S("表") + "\\x\\";
  fw::SaveSettings("");
  const auto rows = RowsOnDisk();
  EXPECT_EQ(rows[6], "\\" + std::string(38, 'a'));
  EXPECT_EQ(rows[7], S("表") + "\\x\\");
}

// Every table shipped in the data tree loads without a note; the other program files keep
// their own layouts.
TEST(InstalledTree, EveryShippedTableLoads) {
  testsupport::FakeUi ui;
  testsupport::StatusBarScope status;
  const std::filesystem::path root = ShippedTree();
  const std::vector<std::string> notTables = {"エラー文.DAT", "都々逸.DAT"};
  int tables = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    if (!entry.is_regular_file()) continue;
    const std::string name = entry.path().filename().string();
    std::string ext = entry.path().extension().string();
    for (char& ch : ext) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    if (ext != ".DAT" && ext != ".WIN" && ext != ".ORG") continue;
    if (std::find(notTables.begin(), notTables.end(), name) != notTables.end()) continue;
    const std::string inside = *platform::ToInsidePath(entry.path().string());
    std::string bytes;
    ASSERT_TRUE(platform::ReadFileBytes(inside, bytes));
    if (bytes.find('\0') != std::string::npos) continue;  // fixed-record binary files
    EXPECT_TRUE(fw::DataLoad(inside)) << name;
    EXPECT_GT(fw::TableBuffer.TableRows, 0) << name;
    ++tables;
  }
  EXPECT_GE(tables, 6);  // settings, its copy, units, countries, years, papers
  EXPECT_TRUE(status.bar.panel0History.empty());
  EXPECT_TRUE(ui.shown.empty());
}

// The program files that are not tables: error texts, joke records and the palette.
TEST(InstalledTree, ErrorJokeAndColourFilesHaveTheirLayouts) {
  const std::string dat = *platform::ToInsidePath(ShippedTree() + "/DATA/DAT/");
  std::vector<std::string> lines;
  ASSERT_TRUE(platform::ReadTextLines(dat + S("エラー文.DAT"), lines));
  std::vector<int64_t> numbers;
  for (const std::string& line : lines) {
    EXPECT_LE(line.size(), 74u) << U(line);
    EXPECT_EQ(line[3], ' ');
    numbers.push_back(fw::TextToInt(line.substr(0, 3)));
  }
  for (int used : {500, 511, 521, 522}) EXPECT_NE(std::find(numbers.begin(), numbers.end(), used), numbers.end()) << used;

  std::string jokes;
  ASSERT_TRUE(platform::ReadFileBytes(dat + S("都々逸.DAT"), jokes));
  ASSERT_GE(jokes.size(), 81u);
  EXPECT_EQ(jokes.size() % 81, 0u);
  for (size_t r = 0; r < jokes.size(); r += 81) EXPECT_LE(static_cast<unsigned char>(jokes[r]), 80);

  ASSERT_TRUE(platform::ReadTextLines(dat + "..\\COLOR\\" + S("標準色.COL"), lines));
  ASSERT_EQ(lines.size(), 256u);
  for (size_t i = 0; i < lines.size(); ++i) {
    EXPECT_EQ(fw::TextToInt(lines[i].substr(0, 6)), static_cast<int64_t>(i));
    const int64_t colour = fw::TextToInt(lines[i].substr(6, 7));
    EXPECT_EQ(lines[i][6], '$');
    EXPECT_GE(colour, 0);
    EXPECT_LE(colour, 0xFFFFFF);
  }
  EXPECT_EQ(fw::TextToInt(lines[9].substr(6, 7)), 0x0000FF);    // 9 red: temperature lines
  EXPECT_EQ(fw::TextToInt(lines[12].substr(6, 7)), 0xFF0000);   // 12 blue: precipitation bars
  EXPECT_EQ(fw::TextToInt(lines[15].substr(6, 7)), 0xFFFFFF);   // 15 white: chart background

  std::string win, org;
  const std::string data = *platform::ToInsidePath(ShippedTree() + "/DATA/");
  ASSERT_TRUE(platform::ReadFileBytes(data + S("利用環境.WIN"), win));
  ASSERT_TRUE(platform::ReadFileBytes(data + S("利用環境.ORG"), org));
  EXPECT_EQ(win, org);
}

}  // namespace
