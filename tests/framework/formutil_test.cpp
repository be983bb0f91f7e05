// Form utilities without widgets: list filling, replacing in lines, and the day-table readers
// over a small synthetic table in the result-file layout.
#include <gtest/gtest.h>

#include "framework/form_utils.h"
#include "framework/table_file.h"
#include "platform/files.h"
#include "support/test_support.h"

using testsupport::S;

namespace {

// Four header lines, then three rows: 19 bytes of date and time, then 7-byte value cells.
std::vector<std::string> DayTable() {
  return {
      S("テスト （日次データ）"),
      std::string(19, ' ') + "   CH01   CH02   CH03",
      std::string(19, ' ') + S("気温   降水量 残量1  "),
      "year mm dd hr mn sc" + S("℃     mm     ﾘｯﾄﾙ   "),
      "1981/01/01 24:00:00   -2.5      02000.00",
      "1981/01/02 24:00:00   12.3     1515000.0",
      "1981/01/03 24:00:00    3.0      7  12345",
  };
}

TEST(FormUtilDayTable, RowsAreReadBelowTheHeaderWithWholeCells) {
  const std::vector<std::string> table = DayTable();
  int count = 0;
  fw::TDayRecord rec;
  ASSERT_TRUE(fw::ReadDayRow(table, 1, count, rec));
  EXPECT_EQ(count, 3);
  EXPECT_EQ(rec.Row, 1);
  EXPECT_EQ(rec.DateKey, "810101240000");
  EXPECT_EQ(rec.DateValue, 347241600);  // 24:00:00 is midnight ending the day
  EXPECT_EQ(rec.Year, 1981);
  EXPECT_EQ(rec.Month, 1);
  EXPECT_EQ(rec.Day, 1);
  EXPECT_DOUBLE_EQ(rec.Values[1], -2.5);
  EXPECT_DOUBLE_EQ(rec.Values[2], 0);
  EXPECT_DOUBLE_EQ(rec.Values[3], 2000.0);

  ASSERT_TRUE(fw::ReadDayRow(table, 2, count, rec));
  EXPECT_DOUBLE_EQ(rec.Values[1], 12.3);  // a temperature keeps its decimal
  EXPECT_DOUBLE_EQ(rec.Values[2], 15);
  EXPECT_DOUBLE_EQ(rec.Values[3], 15000.0);
  EXPECT_EQ(rec.Day, 2);

  ASSERT_TRUE(fw::ReadDayRow(table, 3, count, rec));  // the last row
  EXPECT_DOUBLE_EQ(rec.Values[3], 12345);
  EXPECT_FALSE(fw::ReadDayRow(table, 0, count, rec));
  EXPECT_FALSE(fw::ReadDayRow(table, 4, count, rec));  // beyond the last row
  EXPECT_EQ(rec.Row, 3);                               // a refused row leaves the record

  // Row 1 starts a new reading: the count and record are cleared even when it fails.
  const std::vector<std::string> headerOnly(table.begin(), table.begin() + 3);
  count = 9;
  EXPECT_FALSE(fw::ReadDayRow(headerOnly, 1, count, rec));
  EXPECT_EQ(count, 0);
  EXPECT_EQ(rec.Row, 0);
  EXPECT_EQ(rec.DateKey, "000000000000");

  // A line that is not a data line (too short, no blank at byte 11) is refused.
  std::vector<std::string> bad = table;
  bad[4] = "1981/01/01";
  EXPECT_FALSE(fw::ReadDayRow(bad, 1, count, rec));
  bad[4] = "1981/01/01-24:00:00   -2.5      02000.00";
  EXPECT_FALSE(fw::ReadDayRow(bad, 1, count, rec));
}

TEST(FormUtilDayTable, CellsAreSevenBytesFromColumnTwenty) {
  const std::vector<std::string> table = DayTable();
  const struct {
    int col, row;
    double value;
  } cells[] = {{1, 1, -2.5}, {2, 1, 0},   {3, 1, 2000}, {1, 2, 12.3}, {3, 2, 15000},
               {2, 3, 7},    {4, 1, 0},   {3, 4, 0},    {1, 0, 0},    {0, 1, 0}};
  for (const auto& c : cells) EXPECT_DOUBLE_EQ(fw::ReadTableCell(table, c.col, c.row), c.value) << c.col << "," << c.row;
}

TEST(FormUtilDayTable, ColumnStatsStartFromTheFirstValue) {
  const std::vector<std::string> table = DayTable();
  double sum, mean, max, min;
  fw::ColumnStats(table, 3, 2, 3, sum, mean, max, min);  // every value above 9999
  EXPECT_DOUBLE_EQ(sum, 27345);
  EXPECT_DOUBLE_EQ(mean, 13672.5);
  EXPECT_DOUBLE_EQ(max, 15000);
  EXPECT_DOUBLE_EQ(min, 12345);
  fw::ColumnStats(table, 1, 1, 3, sum, mean, max, min);
  EXPECT_DOUBLE_EQ(min, -2.5);
  EXPECT_DOUBLE_EQ(max, 12.3);
  fw::ColumnStats(table, 2, 3, 3, sum, mean, max, min);  // one row
  EXPECT_DOUBLE_EQ(sum, 7);
  EXPECT_DOUBLE_EQ(mean, 7);
  EXPECT_DOUBLE_EQ(max, 7);
  EXPECT_DOUBLE_EQ(min, 7);
  fw::ColumnStats(table, 2, 3, 2, sum, mean, max, min);  // an empty range
  EXPECT_EQ(sum, 0);
  EXPECT_EQ(mean, 0);
  EXPECT_EQ(max, 0);
  EXPECT_EQ(min, 0);
}

TEST(FormUtilLists, TablesBecomeNumberedLists) {
  std::vector<std::string> table(6);
  table[1] = S("北海道");
  table[2] = "B";
  table[3] = "C";
  std::vector<std::string> list = {"stale"};
  fw::FillStringsFromTable(list, table, 1, 2, true);
  EXPECT_EQ(list, (std::vector<std::string>{"  1:" + S("北海道"), "  2:B"}));
  fw::FillStringsFromTable(list, table, 2, 999, false);  // held to the table
  EXPECT_EQ(list, (std::vector<std::string>{"B", "C", "", ""}));
  EXPECT_EQ(fw::NumberedItem(123, "x"), "123:x");

  fw::TableBuffer.TableRows = 2;
  fw::TableBuffer.TableCells[1][3] = "r1c3";
  fw::TableBuffer.TableCells[2][3] = "r2c3";
  fw::FillStringsFromColumnAll(list, 3, true);
  EXPECT_EQ(list, (std::vector<std::string>{"  1:r1c3", "  2:r2c3"}));
  fw::FillStringsFromColumn(list, 1, 1, false, 17);  // no such column
  EXPECT_TRUE(list.empty());
}

TEST(FormUtilLists, TableFileFirstColumnAndReplaceInAllLines) {
  testsupport::TempFolder tmp;
  const std::string path = tmp.Path("list.DAT");
  ASSERT_TRUE(platform::WriteTextLinesAtomic(path, {"     2     2", "     6     4", S("東京") + "  ab", "OSAKA cd"}));
  std::vector<std::string> list;
  fw::FillStringsFromFile(list, path, true);
  EXPECT_EQ(list, (std::vector<std::string>{"  1:" + S("東京"), "  2:OSAKA"}));

  std::vector<std::string> lines = {"a-b-a", "", "aa"};
  fw::ReplaceInAllLines(lines, "a", "aa");
  EXPECT_EQ(lines, (std::vector<std::string>{"aa-b-aa", "", "aaaa"}));
}

}  // namespace
