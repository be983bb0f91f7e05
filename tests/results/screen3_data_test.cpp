// Screen 3's tables on the golden results of the sample case (tests/app/fixtures/golden): the
// year list and its representative years, the analysis table of each graph with its mean row,
// the full-tank table, the grid colours, and the weather lines of page 5 with their threshold
// filter and precipitation-frequency classes.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "model/results/screen3_data.h"
#include "platform/files.h"
#include "platform/path.h"
#include "support/test_support.h"

namespace {

using testsupport::S;
using testsupport::U;

std::vector<std::string> Golden(const std::string& name) {
  const auto path = platform::ToInsidePath(testsupport::SourceDir() + "/tests/app/fixtures/golden/" + name);
  std::vector<std::string> lines;
  EXPECT_TRUE(path && platform::ReadTextLines(*path, lines)) << name;
  return lines;
}

TEST(Screen3Data, YearListMarksTheLowestHighestAndAverageYears) {
  const app::YearList list = app::BuildYearList(Golden("HarvSim(1981-1995).YER"));
  // 1985 has the least precipitation (1529 mm), 1984 the most (3388 mm); the mean rounds to
  // 2535 mm and 1981 (2536 mm) lies nearest to it.
  EXPECT_EQ(list.representative, (std::array<int, 4>{0, 5, 4, 1}));
  EXPECT_EQ(list.mean, 2535);
  ASSERT_EQ(list.items.size(), 15u);
  EXPECT_EQ(U(list.items[0]), "1981年  2536mm 平均");
  EXPECT_EQ(U(list.items[1]), "1982年  1758mm ");
  EXPECT_EQ(U(list.items[3]), "1984年  3388mm 最高");
  EXPECT_EQ(U(list.items[4]), "1985年  1529mm 最低");
  EXPECT_EQ(U(app::AnnualMeanText(list.mean)), "年平均降水量 2535 mm");
}

TEST(Screen3Data, AShortOrMissingYearlyTableGivesNoRepresentativeYears) {
  std::vector<std::string> lines = Golden("HarvSim(1981-1995).YER");
  lines.resize(10);  // the header and six years
  for (const auto& given : {lines, std::vector<std::string>{}}) {
    const app::YearList list = app::BuildYearList(given);
    EXPECT_EQ(list.representative, (std::array<int, 4>{}));
    ASSERT_EQ(list.items.size(), 15u);
    EXPECT_EQ(U(list.items[14]).substr(0, 4), "1995");  // every year keeps its item
    EXPECT_EQ(U(list.items[14]).find("平均"), std::string::npos);
  }
}

TEST(Screen3Data, AnalysisTableOfEachGraphWithItsMeanRow) {
  const std::vector<std::string> lines = Golden("HarvSim(1981-1995).YER");
  struct Case {
    int graph;
    int col;
    int row;
    const char* text;
  };
  // Columns 1..5 are the common result columns, 6..14 the graph's group (result columns 6..14,
  // 15..23 or 24..32); row 17 is the mean, whole numbers for the precipitation and the day counts.
  const Case cases[] = {
      {1, 1, 2, "   13.2"}, {1, 2, 2, "   2536"}, {1, 6, 2, "    157"}, {1, 14, 16, "     88"},
      {1, 1, 17, "   13.0"}, {1, 2, 17, "   2535"}, {1, 3, 17, "  211.5"}, {1, 6, 17, "    157"},
      {1, 13, 17, "    342"}, {1, 14, 17, "    114"}, {2, 6, 17, "    157"}, {3, 6, 2, "   61.9"},
      {3, 6, 17, "   60.5"}, {3, 14, 17, "   51.7"}, {4, 6, 2, "   31.8"}, {4, 6, 17, "   32.9"},
      {4, 14, 17, "   40.3"}, {4, 2, 17, "   2535"},
  };
  for (const Case& c : cases) {
    app::CellTable table;
    ASSERT_TRUE(app::FillAnalysisTable(lines, c.graph, table));
    EXPECT_EQ(table.Cell(c.col, c.row), c.text) << "graph " << c.graph << " cell " << c.col << "," << c.row;
  }
  app::CellTable table;
  ASSERT_TRUE(app::FillAnalysisTable(lines, 3, table));
  EXPECT_EQ(table.ColCount(), 15);
  EXPECT_EQ(table.RowCount(), 18);
  EXPECT_EQ(table.Cell(0, 2), "1981");
  EXPECT_EQ(table.Cell(0, 16), "1995");
  EXPECT_EQ(U(table.Cell(0, 17)), "平均");
  EXPECT_EQ(U(table.Cell(6, 0)), "流出1/4");  // the titles come from the table's header lines
  EXPECT_EQ(U(table.Cell(6, 1)), "％     ");
  EXPECT_DOUBLE_EQ(table.Value(6, 17), 60.5);
  EXPECT_FALSE(app::FillAnalysisTable(lines, 5, table));
  EXPECT_TRUE(table.Cell(1, 2).empty());
}

TEST(Screen3Data, FullTankTableShowsZeroDaysAsDashes) {
  std::vector<std::string> lines = Golden("HarvSim(FULL).DAT");
  ASSERT_EQ(lines.size(), 16u);
  lines[2] = S("1983年 :    78    0   67   61   60   58   58    0");
  app::CellTable table;
  app::FillFullTankTable(lines, table);
  EXPECT_EQ(U(table.Cell(1, 1)), " 満水日");
  EXPECT_EQ(table.Cell(0, 2), "1981");
  EXPECT_EQ(table.Cell(1, 2), "   88");
  EXPECT_EQ(table.Cell(8, 2), "   54");
  EXPECT_EQ(table.Cell(2, 4), "    -");
  EXPECT_EQ(table.Cell(8, 4), "    -");
  EXPECT_EQ(table.Cell(1, 4), "   78");
  EXPECT_EQ(U(table.Cell(0, 17)), "15年平均");
  EXPECT_EQ(table.Cell(1, 17), "   88");
  EXPECT_EQ(table.Cell(8, 17), "   61");
}

TEST(Screen3Data, GridCellColours) {
  struct Case {
    int graph, col, row;
    const char* text;
    int colour;
  };
  const int face = app::kButtonFaceColorNumber;
  const Case cases[] = {
      {1, 1, 2, "   13.2", 224}, {1, 14, 16, "    117", 238}, {1, 6, 17, "    157", face},
      {3, 6, 9, "   62.0", 231}, {2, 6, 2, "    157", 238},  {2, 13, 16, "    359", 224},
      {2, 14, 2, "    114", face}, {2, 5, 2, "   78.2", face}, {2, 8, 17, "    157", face},
      {1, 3, 5, "    -", face},  {2, 6, 5, "    -", face},
  };
  for (const Case& c : cases)
    EXPECT_EQ(app::AnalysisCellColorNumber(c.graph, c.col, c.row, c.text), c.colour)
        << "graph " << c.graph << " cell " << c.col << "," << c.row;
  EXPECT_EQ(app::TankColorNumber(1), 238);
  EXPECT_EQ(app::TankColorNumber(3), 4);
  EXPECT_EQ(app::TankColorNumber(8), 224);
}

// A daily result line of `date` with temperature and precipitation (the other fields zero).
std::string DayLine(const std::string& date, const char* temperature, const char* precip) {
  std::string line = date + " 24:00:00" + temperature + precip;
  for (int f = 3; f <= 21; ++f) line += "      0";
  return line;
}

TEST(Screen3Data, WeatherLinesAreReadWhereTheyAreWritten) {
  const std::string line = app::WeatherLine(DayLine("1987/07/14", "   24.5", "    132"));
  EXPECT_EQ(U(line), "1987/07/14  24.5℃   132mm ※");
  EXPECT_EQ(app::WeatherLineYear(line), 1987);
  EXPECT_EQ(app::WeatherLinePrecip(line), 132);
  EXPECT_TRUE(app::WeatherLine(DayLine("1987/07/15", "   24.5", "      0")).empty());
}

TEST(Screen3Data, ThresholdKeepsTheDaysAtOrAboveIt) {
  std::vector<std::string> lines;
  for (const char* p : {"      1", "     49", "     50", "     51", "    200"})
    lines.push_back(app::WeatherLine(DayLine("1990/06/01", "   20.0", p)));
  const auto kept = app::FilterPrecipDays(lines, 50);
  ASSERT_EQ(kept.size(), 3u);
  EXPECT_EQ(app::WeatherLinePrecip(kept[0]), 50);
  EXPECT_EQ(app::WeatherLinePrecip(kept[2]), 200);
  EXPECT_EQ(app::FilterPrecipDays(lines, 1).size(), 5u);
  EXPECT_TRUE(app::FilterPrecipDays(lines, 201).empty());
}

TEST(Screen3Data, PrecipitationFrequencyClasses) {
  const std::pair<int, int> classes[] = {{0, 0},    {1, 1},    {2, 1},    {3, 2},   {4, 2},
                                         {117, 59}, {118, 59}, {119, 60}, {120, 60}, {200, 60}};
  for (const auto& [p, cls] : classes) EXPECT_EQ(app::PrecipClass(p), cls) << p << " mm";
  EXPECT_EQ(app::PrecipClass(-1), -1);

  // Counted per year from weather lines; lines below 0 mm or outside 1981..1995 are left out.
  std::vector<std::string> lines;
  const auto add = [&lines](const char* date, const char* precip) {
    lines.push_back(S(std::string(date) + "  20.0℃ " + precip + "mm"));
  };
  add("1981/01/02", "    0");
  add("1981/01/03", "    2");
  add("1981/01/04", "    1");
  add("1981/02/01", "    3");
  add("1995/12/31", "  200");
  add("1995/12/30", "  118");
  add("1990/05/05", "   -4");
  add("1980/05/05", "   10");
  add("1996/05/05", "   10");
  app::FrequencyTable table;
  table[7][3] = 99;  // zeroed before counting
  app::CountPrecipFrequency(lines, table);
  EXPECT_EQ(table[1][0], 1);
  EXPECT_EQ(table[1][1], 2);
  EXPECT_EQ(table[1][2], 1);
  EXPECT_EQ(table[15][60], 1);
  EXPECT_EQ(table[15][59], 1);
  EXPECT_EQ(table[7][3], 0);
  EXPECT_EQ(app::PrecipDayCount(table, 1), 4);
  EXPECT_EQ(app::PrecipDayCount(table, 15), 2);
  int total = 0;
  for (int y = 1; y <= 15; ++y) total += app::PrecipDayCount(table, y);
  EXPECT_EQ(total, 6);
}

TEST(Screen3Data, ExplanationTexts) {
  app::ConditionFigures f;
  f.roofArea = 1234;
  f.catchArea = 100;
  f.basicVolume = 2000;
  f.dailyUse = 350;
  const std::string g2 = U(app::ExplanationText(2, f));
  EXPECT_NE(g2.find("降水によって集められた雨水を、どの程度の日数使用できるのかを表します。"), std::string::npos);
  EXPECT_NE(g2.find("その１ ： 集水面積（100㎡）の割りに貯水槽が小さい場合（2,000ﾘｯﾄﾙ）。"), std::string::npos);
  EXPECT_NE(g2.find("その２ ： 集水面積（100㎡）の割りに雨水利用量が多い場合（350ﾘｯﾄﾙ/日）。"), std::string::npos);
  EXPECT_NE(U(app::ExplanationText(4, f)).find("全屋根面積 1234 ㎡ が対象です。"), std::string::npos);
  EXPECT_NE(U(app::ExplanationText(3, f)).find("集水面積 100 ㎡ が対象です。"), std::string::npos);
  const std::string g1 = U(app::ExplanationText(1, f));
  EXPECT_NE(g1.find("満水日数は過度に大きい貯水槽の場合には０になります。"), std::string::npos);
  EXPECT_EQ(g1.substr(g1.size() - std::string("※黒い太線は１５年間の平均値です。").size()),
            "※黒い太線は１５年間の平均値です。");
  EXPECT_TRUE(app::ExplanationText(0, f).empty());
  EXPECT_EQ(U(app::BasicVolumeNote(1500)), "※貯水槽容量 1/4・1/2・1・1.5・2・3・4・5 倍を計算 （基準容量=1,500 ㍑）");
}

}  // namespace

TEST(Screen3Data, ResultTablesLongerThanFifteenYearsOfDaysAreRefusedByName) {
  testsupport::TempFolder dir;
  const std::string header = "h1\r\nh2\r\nh3\r\nh4\r\n";
  auto table = [&](const std::string& name, int rows, const std::string& row) {
    std::string bytes = header;
    for (int k = 0; k < rows; ++k) bytes += row + "\r\n";
    const std::string path = dir.Path(name);
    EXPECT_TRUE(platform::WriteFileBytesAtomic(path, bytes));
    return path;
  };
  std::vector<std::string> lines;
  std::string error;
  // 15 years of 366 days read whole; one more row, or 20,000 empty lines, are refused with
  // the file's name, and no line is kept.
  EXPECT_TRUE(app::ReadResultTable(table("full.DAY", app::kMaxResultRows, "1995/12/31"), lines, &error));
  EXPECT_EQ(lines.size(), static_cast<size_t>(4 + app::kMaxResultRows));
  EXPECT_EQ(lines.back(), "1995/12/31");
  for (const auto& [name, rows, row] : {std::tuple{"one_more.DAY", app::kMaxResultRows + 1, std::string("1995/12/31")},
                                        std::tuple{"empty_lines.DAY", 20000, std::string()}}) {
    SCOPED_TRACE(name);
    const std::string path = table(name, rows, row);
    EXPECT_FALSE(app::ReadResultTable(path, lines, &error));
    EXPECT_TRUE(lines.empty());
    EXPECT_NE(error.find(path), std::string::npos) << error;
  }
  EXPECT_FALSE(app::ReadResultTable(dir.Path("missing.DAY"), lines, &error));
}
