#include "framework/table_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/convert.h"
#include "framework/fake_status_bar.h"
#include "framework/folders.h"
#include "framework/messages.h"
#include "platform/files.h"
#include "support/test_support.h"

namespace {

using testsupport::S;
using testsupport::U;

class TableFileTest : public testing::Test {
 protected:
  void SetUp() override {
    savedDatDir_ = fw::DatDir;
    fw::DatDir = temp.inside();
    ui.stepMs = 100;  // error notes end after a few dozen fake rounds
    std::vector<std::string> errors = {S("511 書き込みが禁止されたファイルです。"),
                                       S("521 表の行数が多すぎます。"), S("522 先頭の999行だけを読みます。")};
    ASSERT_TRUE(platform::WriteTextLinesAtomic(temp.Path("エラー文.DAT"), errors));
    fw::TableBuffer = {};
  }
  void TearDown() override { fw::DatDir = savedDatDir_; }

  // Writes raw bytes (CP932) as a file of the temporary folder; returns its inside path.
  std::string WriteRaw(const std::string& nameUtf8, const std::string& bytes) {
    const std::string path = temp.Path(nameUtf8);
    EXPECT_TRUE(platform::WriteFileBytesAtomic(path, bytes));
    return path;
  }
  std::string ReadRaw(const std::string& path) {
    std::string bytes;
    EXPECT_TRUE(platform::ReadFileBytes(path, bytes));
    return bytes;
  }
  // Puts rows (each a list of fields, column 1 first) and widths into the buffer.
  void FillBuffer(const std::vector<int>& widths, const std::vector<std::vector<std::string>>& rows) {
    auto& t = fw::TableBuffer;
    t.TableRows = static_cast<int>(rows.size());
    t.TableCols = static_cast<int>(widths.size());
    for (size_t j = 0; j < widths.size(); ++j) t.TableWidths[j + 1] = widths[j];
    for (size_t i = 0; i < rows.size(); ++i) {
      t.TableKeys[i + 1] = rows[i][0];
      for (size_t j = 1; j < rows[i].size(); ++j) t.TableCells[i + 1][j + 1] = rows[i][j];
    }
  }
  void ExpectEmptyBuffer() {
    EXPECT_EQ(fw::TableBuffer.TableRows, 0);
    EXPECT_EQ(fw::TableBuffer.TableCols, 0);
    EXPECT_EQ(fw::TableBuffer.FileNamesCount, 0);
    EXPECT_FALSE(fw::TableBuffer.TableLoaded);
  }

  testsupport::TempFolder temp;
  testsupport::FakeUi ui;
  testsupport::StatusBarScope status;

 private:
  std::string savedDatDir_;
};

TEST_F(TableFileTest, SaveAndLoadRoundTripShiftJisFieldsWithCrLf) {
  // "表" and "ソ" have the trail byte 0x5C, "ポ" has 0x7C.
  FillBuffer({8, 12, 4}, {{S("東京都"), S("表示ソフト"), "1"}, {"OSAKA", S("ポンプ"), "22"}, {"", "", "333"}});
  const std::string path = temp.Path("表.DAT");
  ASSERT_TRUE(fw::DataSave(path));
  EXPECT_EQ(U(ReadRaw(path)),
            "     3     3\r\n"
            "     8    12     4\r\n"
            "  東京都  表示ソフト   1\r\n"
            "   OSAKA      ポンプ  22\r\n"
            "                     333\r\n");

  fw::TableBuffer = {};
  ASSERT_TRUE(fw::DataLoad(path));
  const auto& t = fw::TableBuffer;
  EXPECT_EQ(fw::ErrorNo, 0);
  EXPECT_EQ(t.TableRows, 3);
  EXPECT_EQ(t.TableCols, 3);
  EXPECT_EQ(U(t.TableKeys[1]), "東京都");
  EXPECT_EQ(U(t.TableCells[1][1]), "東京都");
  EXPECT_EQ(U(t.TableCells[1][2]), "表示ソフト");
  EXPECT_EQ(t.TableCells[1][3], "1");
  EXPECT_EQ(U(t.TableCells[2][2]), "ポンプ");
  EXPECT_EQ(t.TableKeys[3], "");
  EXPECT_EQ(t.TableCells[3][3], "333");
  EXPECT_EQ(t.FileNames[2], "OSAKA");
  EXPECT_EQ(t.FileNamesCount, 3);
  EXPECT_EQ(t.FileNamesLongest, 6);
  EXPECT_EQ((std::vector<int>{t.TableStarts[1], t.TableStarts[2], t.TableStarts[3], t.TableStarts[4]}),
            (std::vector<int>{0, 8, 20, 24}));
  EXPECT_EQ(t.TableStarts[21], 24);
  EXPECT_EQ(t.TableStarts[22], 3);
  EXPECT_EQ((std::vector<int>{t.TableOrder[1], t.TableOrder[2], t.TableOrder[3]}), (std::vector<int>{1, 2, 3}));
  EXPECT_TRUE(t.TableLoaded);
  EXPECT_TRUE(status.bar.panel0History.empty());
}

TEST_F(TableFileTest, ReaderAcceptsLfShortLinesAndALastLineWithoutEnd) {
  // Counts free-form; widths from fixed 6-character fields ("    5" + "    10" gives 5 and 10).
  const std::string path = WriteRaw("LF.DAT",
                                    " 4  2 \n"
                                    "    5    10\n"
                                    "AB   x\n"
                                    "     \r\n"
                                    "  C  yy  z \n"
                                    "D");
  ASSERT_TRUE(fw::DataLoad(path));
  const auto& t = fw::TableBuffer;
  EXPECT_EQ(t.TableWidths[1], 5);
  EXPECT_EQ(t.TableWidths[2], 10);
  EXPECT_EQ(t.TableKeys[1], "AB");
  EXPECT_EQ(t.TableCells[1][2], "x");
  EXPECT_EQ(t.TableKeys[2], "");  // blanks only
  EXPECT_EQ(t.TableCells[2][2], "");
  EXPECT_EQ(t.TableKeys[3], "C");  // leading blanks dropped
  EXPECT_EQ(t.TableCells[3][2], "yy  z");
  EXPECT_EQ(t.TableKeys[4], "D");  // no line end, shorter than its fields
  EXPECT_EQ(t.TableCells[4][2], "");
}

TEST_F(TableFileTest, HeaderLimits) {
  struct Case {
    std::string header;
    bool loads;
  };
  std::string widths16;
  for (int j = 0; j < 17; ++j) widths16 += "     1";
  const Case cases[] = {
      {"     1    16", true}, {"     1    17", false}, {"     0     2", false}, {"    -1     2", false},
      {"     1     0", false}, {"     1    -2", false}, {"    ab     2", false}, {"     1", false},
      {"", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.header);
    status.bar.panel0History.clear();
    fw::TableBuffer.TableLoaded = true;
    fw::TableBuffer.TableRows = 5;
    const std::string path = WriteRaw("HEAD.DAT", c.header + "\r\n" + widths16 + "\r\n" + std::string(17, 'Q') + "\r\n");
    EXPECT_EQ(fw::DataLoad(path), c.loads);
    if (c.loads) {
      EXPECT_EQ(fw::TableBuffer.TableCols, 16);
      EXPECT_EQ(fw::TableBuffer.TableCells[1][16], "Q");
    } else {
      ExpectEmptyBuffer();
      EXPECT_TRUE(status.bar.Showed(S("あれっ？〔HEAD.DAT〕ファイルが読めないぞ。(DataLoad)")));
    }
  }
  // A negative width is as unreadable as a bad header.
  EXPECT_FALSE(fw::DataLoad(WriteRaw("NEG.DAT", "     1     2\r\n     3    -4\r\nAAABBBB\r\n")));
  ExpectEmptyBuffer();
}

TEST_F(TableFileTest, ThousandRowsAreCutTo999AfterNotes521And522) {
  std::string bytes = "  1000     1\r\n     6\r\n";
  for (int i = 1; i <= 1000; ++i) bytes += fw::IntToStrWidth(6, i) + "\r\n";
  ASSERT_TRUE(fw::DataLoad(WriteRaw("BIG.DAT", bytes)));
  const auto& t = fw::TableBuffer;
  EXPECT_EQ(t.TableRows, 999);
  EXPECT_EQ(t.FileNamesCount, 999);
  EXPECT_EQ(t.TableKeys[999], "999");
  EXPECT_EQ(fw::ErrorNo, 522);
  EXPECT_TRUE(status.bar.Showed(S("表の行数が多すぎます。 （ERRno=521）")));
  EXPECT_TRUE(status.bar.Showed(S("先頭の999行だけを読みます。 （ERRno=522）")));
}

TEST_F(TableFileTest, MissingFileEmptiesTheBufferAndWarnsForTheSettingsFile) {
  fw::TableBuffer.TableLoaded = true;
  fw::TableBuffer.TableRows = 4;
  EXPECT_FALSE(fw::DataLoad(temp.Path("NONE.DAT")));
  ExpectEmptyBuffer();
  EXPECT_TRUE(status.bar.Showed(S("が見つかりません。(ﾌｧｲﾙﾁｪｯｸ)")));
  EXPECT_TRUE(ui.shown.empty());

  const std::string settings = temp.Path("利用環境.WIN");
  EXPECT_FALSE(fw::DataLoad(settings));
  ASSERT_EQ(ui.shown.size(), 1u);
  EXPECT_EQ(ui.shown[0].kind, platform::DialogKind::Warning);
  EXPECT_EQ(ui.shown[0].buttons, platform::DialogButtons::Ok);
  EXPECT_EQ(U(ui.shown[0].text),
            "ファイル名 ： " + U(settings) + "\r\r〔利用環境.WIN〕ファイルが見つからないので実行できません。");
}

TEST_F(TableFileTest, FieldThatDoesNotFitIsRefusedAndTheOldFileKept) {
  const std::string path = WriteRaw("KEEP.DAT", "     1     1\r\n     4\r\nOLD!\r\n");
  struct Case {
    std::string field;
    const char* note;
  };
  const Case cases[] = {
      {"12345", "あれっ？〔KEEP.DAT〕2行3列目が幅4に収まらないので書き込めないぞ。(DataSave)"},
      {"1\r\n2", "あれっ？〔KEEP.DAT〕2行3列目が幅4に収まらないので書き込めないぞ。(DataSave)"},
      {S("あいう"), "あれっ？〔KEEP.DAT〕2行3列目が幅4に収まらないので書き込めないぞ。(DataSave)"},
  };
  for (const auto& c : cases) {
    FillBuffer({2, 3, 4}, {{"A", "B", "C"}, {"D", "E", c.field}});
    status.bar.panel0History.clear();
    EXPECT_FALSE(fw::DataSave(path));
    EXPECT_TRUE(status.bar.Showed(S(c.note))) << U(c.field);
    EXPECT_EQ(ReadRaw(path), "     1     1\r\n     4\r\nOLD!\r\n");
  }
}

TEST_F(TableFileTest, BufferThatCouldNotBeReadBackIsNotSaved) {
  const std::string path = temp.Path("SHAPE.DAT");
  struct Case {
    int rows, cols, width;
  };
  const Case cases[] = {{0, 1, 4}, {-1, 1, 4}, {1, 0, 4}, {1, 17, 4}, {1, 1, -1}, {1000, 1, 4}};
  for (const auto& c : cases) {
    fw::TableBuffer = {};
    fw::TableBuffer.TableRows = c.rows;
    fw::TableBuffer.TableCols = c.cols;
    fw::TableBuffer.TableWidths[1] = c.width;
    status.bar.panel0History.clear();
    EXPECT_FALSE(fw::DataSave(path)) << c.rows << " " << c.cols << " " << c.width;
    EXPECT_TRUE(status.bar.Showed(S("あれっ？〔SHAPE.DAT〕ファイルに書き込めないぞ。(DataSave)")));
    EXPECT_FALSE(platform::FileExists(path));
  }
  // Sixteen columns are written and read back.
  std::vector<std::string> row;
  for (int j = 1; j <= 16; ++j) row.push_back(std::to_string(j));
  FillBuffer(std::vector<int>(16, 3), {row});
  ASSERT_TRUE(fw::DataSave(path));
  fw::TableBuffer = {};
  ASSERT_TRUE(fw::DataLoad(path));
  EXPECT_EQ(fw::TableBuffer.TableCells[1][16], "16");
}

TEST_F(TableFileTest, FailedSaveLeavesTheOldFileIntact) {
  FillBuffer({4}, {{"NEW"}});
  const std::string old = "     1     1\r\n     4\r\n OLD\r\n";

  // A read-only target: error 511, nothing written.
  const std::string locked = WriteRaw("LOCKED.DAT", old);
  ASSERT_TRUE(platform::SetReadOnly(locked, true));
  EXPECT_FALSE(fw::DataSave(locked));
  EXPECT_EQ(fw::ErrorNo, 511);
  EXPECT_TRUE(status.bar.Showed(S("書き込みが禁止されたファイルです。 （ERRno=511）")));
  EXPECT_EQ(ReadRaw(locked), old);

  // A target that cannot be written (its folder is missing).
  EXPECT_FALSE(fw::DataSave(temp.Path("NOFOLDER\\T.DAT")));
  EXPECT_EQ(fw::ErrorNo, 101);
  EXPECT_TRUE(status.bar.Showed(S("あれっ？〔T.DAT〕ファイルに書き込めないぞ。(DataSave)")));

  // A writable target is replaced whole, with no temporary file left beside it.
  const std::string open = WriteRaw("OPEN.DAT", old);
  ASSERT_TRUE(fw::DataSave(open));
  EXPECT_EQ(ReadRaw(open), "     1     1\r\n     4\r\n NEW\r\n");
  std::vector<platform::FolderEntry> entries;
  ASSERT_TRUE(platform::ListFolder(temp.inside(), entries));
  for (const auto& e : entries) EXPECT_EQ(e.name.find(".tmp"), std::string::npos) << e.name;
}

TEST_F(TableFileTest, LoadTableAsTextShowsTheFirstColumn) {
  const std::string path = WriteRaw("LIST.DAT", "     3     2\r\n     4     2\r\nJPN 1\r\nUSA 2\r\nFRA 3\r\n");
  fw::LoadTableAsText(path);
  ASSERT_EQ(ui.shown.size(), 1u);
  EXPECT_EQ(ui.shown[0].text, "JPN\rUSA\rFRA");
  EXPECT_EQ(ui.shown[0].kind, platform::DialogKind::Information);
  EXPECT_EQ(ui.shown[0].buttons, platform::DialogButtons::Ok);

  fw::LoadTableAsText(temp.Path("NONE.DAT"));
  EXPECT_EQ(ui.shown.size(), 1u);
}

TEST_F(TableFileTest, FindInTableAndFindInStrings) {
  const std::vector<std::string> texts = {"(unused)", "ABC", S("東京"), "abc", "ABC"};
  struct Case {
    int count;
    std::string text;
    int found;
  };
  const Case tableCases[] = {
      {4, "ABC", 1}, {4, "abc", 3}, {4, S("東京"), 2}, {4, "", 0}, {4, "XYZ", 0}, {2, "abc", 0}, {99, "abc", 3}, {0, "ABC", 0},
  };
  for (const auto& c : tableCases) {
    EXPECT_EQ(fw::FindInTable(c.count, texts, c.text), c.found) << c.count << " " << c.text;
    EXPECT_EQ(fw::FoundFlag, c.found > 0);
  }

  const std::vector<std::string> items = {"  1:Tokyo", "  2:Osaka", S(" 10:ｿｳﾙ"), "Nagoya"};
  const std::pair<std::string, int> stringCases[] = {
      {"OSAKA", 2}, {"  7:tokyo", 1}, {S("ｿｳﾙ"), 3}, {"nagoya", 4}, {"", 0}, {"Kyoto", 0},
  };
  for (const auto& [text, found] : stringCases) {
    EXPECT_EQ(fw::FindInStrings(items, text), found) << text;
    EXPECT_EQ(fw::FoundFlag, found > 0);
  }
  EXPECT_EQ(fw::FindInStrings({}, "A"), 0);
  EXPECT_FALSE(fw::FoundFlag);
}

}  // namespace
