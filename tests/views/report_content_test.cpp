// The texts of the printed report on the sample case and the golden results of its calculation
// (tests/app/fixtures/golden): the conditions block, the yearly tables with their average lines,
// the representative years, the findings, the picture files, and the weather page's year lines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/results/page_metafiles.h"
#include "framework/appinit.h"
#include "framework/calc_state.h"
#include "framework/calc_store.h"
#include "platform/files.h"
#include "platform/path.h"
#include "support/test_support.h"
#include "views/report_content.h"
#include "views/report_layouts.h"

namespace {

using testsupport::S;
using testsupport::U;

std::string Inside(const std::string& native) { return platform::ToInsidePath(native).value_or(""); }

std::string GoldenPrefix() { return Inside(testsupport::SourceDir() + "/tests/app/fixtures/golden/") + "HarvSim"; }

std::vector<std::string> YearLines() {
  std::vector<std::string> lines;
  EXPECT_TRUE(platform::ReadTextLines(GoldenPrefix() + "(1981-1995).YER", lines));
  return lines;
}

// The sample case in the condition store for the length of a test.
class SampleCase : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = fw::CalcData;
    ASSERT_TRUE(fw::LoadInputData(Inside(testsupport::SourceDir() + "/data/tree/CAL/HVS/TEST_HVS.HVS"), fw::CalcData));
  }
  void TearDown() override { fw::CalcData = saved_; }

 private:
  fw::StringList saved_;
};

TEST_F(SampleCase, ConditionLinesOfTheSample) {
  const auto line = views::ConditionLines();
  const char* const expected[] = {
      "",
      "計算名　　 ： サンプル：戸建住宅の雨水利用（静岡県浜松市）             建物種別 ： 戸建住宅",
      "所在データ ： 設置場所  静岡県浜松市          気象観測地点 浜松       （地点№507）",
      "集水データ ： 全屋根面積   120 ㎡  集水面積   100 ㎡（水平投影面積） 流出係数 0.90 (0.85～0.95)",
      "降水データ ： 降雪判定  3.0 ℃以下 (気温2～3℃で雪)    無効降水量 0.5 mm以下 （初期降水カット）",
      "貯水データ ： 貯水槽容量   1,000 リットル/基本単位　   防災上の最低必要量(住宅)     600 リットル",
      "利用データ ： 利用者   4.0 人  トイレ大  1.0 回/日･人 12.0 ㍑/回  トイレ小  3.8 回/日･人  5.0 ㍑/回",
      "              散水   60 ㍑/日 洗車         20 ㍑/日 池補給       10 ㍑/日  全利用量   214 ﾘｯﾄﾙ/日",
      "１月:    50 ２月:    50 ３月:    70 ４月:    90 ５月:    90 ６月:   110 ﾘｯﾄﾙ/日",
      "７月:   150 ８月:   150 ９月:   110 10月:    90 11月:    70 12月:    50 ﾘｯﾄﾙ/日",
      ""};
  for (int i = 1; i <= views::kConditionLines; ++i) EXPECT_EQ(U(line[static_cast<size_t>(i)]), expected[i]) << i;
}

TEST_F(SampleCase, AFacilityWithDetailRowsNamesItsUse) {
  fw::ReadRecNS4(fw::CalcData, 4100);
  fw::RecNS4.N[1] = 3;
  fw::RecNS4.S[1] = S("施設");
  ASSERT_TRUE(fw::WriteRecNS4(fw::CalcData, 4100));
  EXPECT_TRUE(U(views::ConditionLines()[1]).ends_with(" 建物種別 ： 施設"));
  fw::ReadRecNSV6(fw::CalcData, 4200);
  fw::RecNSV6.N[1] = 2;
  fw::RecNSV6.S[1] = S("事務所");
  ASSERT_TRUE(fw::WriteRecNSV6(fw::CalcData, 4200, "--------"));
  EXPECT_TRUE(U(views::ConditionLines()[1]).ends_with(" 建物種別 ： 施設(事務所)"));
}

TEST(ReportTables, AverageLineOfEachMode) {
  const std::vector<std::string> lines = YearLines();
  struct Case {
    int mode;
    const char* line;
  } cases[] = {
      {1, "平均値    13.0   2535  211.5  169.1   78.2    157    208    274    305    320    334    339    342    114"},
      {2, "平均値    13.0   2535  211.5  169.1   78.2   60.5   56.3   51.7   49.6   48.3   47.0   46.2   45.7   51.7"},
      {3, "平均値    13.0   2535  211.5  169.1   78.2   32.9   36.4   40.3   42.0   43.1   44.2   44.8   45.3   40.3"},
  };
  for (const Case& c : cases) {
    views::ReportAverageFigures a;
    EXPECT_EQ(U(views::ReportAverages(lines, c.mode, &a)), c.line) << c.mode;
    EXPECT_NEAR(a.yearlyUse, 78.2, 1e-9);
    EXPECT_NEAR(a.basicTankDays, 273.8, 1e-9);
    EXPECT_NEAR(a.runoffRate, 51.7066667, 1e-6);
    EXPECT_NEAR(a.suppressionRate, 40.2533333, 1e-6);
  }
}

TEST(ReportTables, TableLinesKeepTheFileColumnsOfTheMode) {
  const std::vector<std::string> lines = YearLines();
  for (int mode = 1; mode <= 3; ++mode) {
    const std::vector<std::string> table = views::YearlyTableLines(lines, mode);
    ASSERT_EQ(table.size(), 18u);
    for (const std::string& l : table) EXPECT_EQ(l.size(), 105u) << U(l);  // 7 bytes, then 14 cells
    EXPECT_EQ(table[0].substr(0, 7), std::string(7, ' '));
    EXPECT_EQ(table[17], views::ReportAverages(lines, mode));
    // Year 1981: the year, "年 ", then result columns 1..5 and the mode's nine columns.
    EXPECT_EQ(U(table[2]).substr(0, 8), "1981年 ");
    EXPECT_EQ(table[2].substr(7, 35), lines[4].substr(19, 35));
    const size_t group = mode == 1 ? 5 : mode == 2 ? 14 : 23;  // first column of the group - 1
    EXPECT_EQ(table[16].substr(42), lines[18].substr(19 + 7 * group, 63)) << mode;
  }
  // Page 1's table is the file's characters from position 20 on, 98 of them.
  const std::vector<std::string> page1 = views::YearlyTableLines(lines, 1);
  for (int k = 1; k <= 15; ++k) EXPECT_EQ(page1[static_cast<size_t>(k + 1)].substr(7), lines[static_cast<size_t>(k + 3)].substr(19, 98));
}

TEST(ReportTables, AnIncompleteYearlyFileLeavesTablesAndFindingsEmpty) {
  std::vector<std::string> lines = YearLines();
  lines.resize(18);  // fourteen years
  for (const auto& given : {lines, std::vector<std::string>{}}) {
    EXPECT_TRUE(views::YearlyTableLines(given, 1).empty());
    views::ReportAverageFigures a{1, 2, 3, 4};
    EXPECT_EQ(views::ReportAverages(given, 2, &a), "");
    EXPECT_EQ(a.yearlyUse, 0);
    EXPECT_EQ(views::Findings(given, 3), (std::array<std::string, 2>{}));
    EXPECT_EQ(views::PickRepresentativeYears(given), (std::array<int, 4>{}));
    const auto years = views::WeatherYears(given, GoldenPrefix());
    const std::string kept = views::WeatherLineCaption(1);
    EXPECT_EQ(views::WeatherYearLine(kept, years[1]), kept);
  }
}

TEST(ReportTables, RepresentativeYearsAndTheirCaptions) {
  std::vector<std::string> lines = YearLines();
  // 1985 the lowest (1529 mm), 1984 the highest (3388 mm), 1981 nearest the mean.
  EXPECT_EQ(views::PickRepresentativeYears(lines), (std::array<int, 4>{0, 5, 4, 1}));
  EXPECT_EQ(app::RepresentativeYears, (std::array<int, 4>{0, 5, 4, 1}));
  EXPECT_EQ(U(views::YearCaption(S("19??年 (最低降水年)"), 5)), "1985年 (最低降水年)");
  EXPECT_EQ(U(views::YearCaption(S("19??年 (平均降水年)"), 0)), "19??年 (平均降水年)");
  // All fifteen years equal: the first year is all three.
  for (size_t n = 4; n < 19; ++n) lines[n].replace(26, 7, "   2000");
  EXPECT_EQ(views::PickRepresentativeYears(lines), (std::array<int, 4>{0, 1, 1, 1}));
}

TEST(ReportPictures, FilesOfEachImage) {
  const std::array<int, 4> years{0, 5, 4, 1};
  struct Case {
    int page, mode, image;
    const char* suffix;  // empty: no file
  } cases[] = {
      {1, 1, 1, "(1-1985).EMF"}, {1, 1, 2, "(1-1984).EMF"}, {1, 1, 3, "(1-1981).EMF"}, {1, 2, 1, ""},
      {1, 2, 2, "(2).EMF"},      {1, 2, 3, "(3).EMF"},      {2, 1, 1, "(4-1).EMF"},    {2, 1, 2, "(4-2).EMF"},
      {2, 2, 2, "(4-3).EMF"},    {2, 3, 2, "(4-4).EMF"},    {3, 1, 1, "(5).EMF"},      {3, 1, 2, ""},
  };
  for (const Case& c : cases) {
    const std::string expected = *c.suffix ? "P" + std::string(c.suffix) : "";
    EXPECT_EQ(views::ReportImageFile("P", c.page, c.mode, c.image, years), expected) << c.page << c.mode << c.image;
  }
  EXPECT_EQ(views::ReportImageFile("P", 1, 1, 2, {0, 5, 0, 1}), "");  // no year, no file
}

TEST_F(SampleCase, FindingsOfEachMode) {
  const std::vector<std::string> lines = YearLines();
  const std::string first = "所見１：年間78.2m3の水使用量に対し、雨水利用で58.7m3(75.0％、274日分)の水を削減できます。";
  struct Case {
    int mode;
    const char* second;
  } cases[] = {
      {1, ""},
      {2, "所見２：集水屋根面積100㎡に対する1000ﾘｯﾄﾙ貯水槽の流出抑制効果は48.3％です。"},
      {3, "所見２：全体屋根面積120㎡に対する1000ﾘｯﾄﾙ貯水槽の流出抑制効果は40.3％です。"},
  };
  for (const Case& c : cases) {
    const auto findings = views::Findings(lines, c.mode);
    EXPECT_EQ(U(findings[0]), first) << c.mode;
    EXPECT_EQ(U(findings[1]), c.second) << c.mode;
  }
}

TEST(ReportWeatherPage, YearLinesWithTheirFourFigures) {
  const auto years = views::WeatherYears(YearLines(), GoldenPrefix());
  struct Case {
    int number;
    const char* line;  // trailing blanks left out
  } cases[] = {
      {1, "1981年                   13.2 ℃                 2,536 mm                    114  133"},
      {15, "1995年                   12.8 ℃                 2,216 mm                     88  116"},
      // The fifteen-year averages: 13.03 ℃, 2535.1 mm, 113.8 collection days, 134.6 days.
      {16, "15年平均                 13.0 ℃                 2,535 mm                    114  135"},
  };
  for (const Case& c : cases) {
    const std::string line = views::WeatherYearLine(views::WeatherLineCaption(c.number), years[static_cast<size_t>(c.number)]);
    EXPECT_EQ(U(line.substr(0, line.find_last_not_of(' ') + 1)), c.line) << c.number;
  }
}

TEST(ReportWeatherPage, AYearWithoutItsDailyFileKeepsItsDaysBlank) {
  testsupport::TempFolder folder;
  // Only 1981's daily file is there.
  std::vector<std::string> day;
  ASSERT_TRUE(platform::ReadTextLines(GoldenPrefix() + "(1981).DAY", day));
  ASSERT_TRUE(platform::WriteTextLinesAtomic(folder.inside() + "HarvSim(1981).DAY", day));
  const auto years = views::WeatherYears(YearLines(), folder.inside() + "HarvSim");
  EXPECT_EQ(years[1].precipDays, 133);
  EXPECT_LT(years[2].precipDays, 0);
  EXPECT_EQ(years[16].precipDays, 133);  // the average of the years that have their file
  const std::string line = views::WeatherYearLine(views::WeatherLineCaption(2), years[2]);
  EXPECT_EQ(line.substr(82, 3), "   ");
  EXPECT_EQ(line.substr(77, 3), "101");
}

TEST(ReportWeatherPage, FieldsLieOnHalfWidthBlanks) {
  for (int k = 1; k <= 16; ++k) EXPECT_TRUE(views::WeatherLineTemplateValid(views::WeatherLineCaption(k))) << k;
  // A template whose field would take half of a double-byte character is refused.
  std::string bad = views::WeatherLineCaption(1);
  bad.replace(24, 2, S("℃"));  // bytes 25 and 26: the field starts on its second byte
  EXPECT_FALSE(views::WeatherLineTemplateValid(bad));
  std::string text = views::WeatherLineCaption(1);
  text[50] = 'x';  // inside the precipitation field
  EXPECT_FALSE(views::WeatherLineTemplateValid(text));
  text = views::WeatherLineCaption(1);
  text[85] = 'x';  // the byte after the precipitation days, which a wider value takes
  EXPECT_FALSE(views::WeatherLineTemplateValid(text));
}

TEST(ReportHeader, DateLabelCountsThePages) {
  EXPECT_EQ(views::ReportDateText("2024/04/01", 2, 3), fw::ProgramNameVersion + " 2024/04/01 2/3");
  EXPECT_EQ(views::ReportDateText("2024/04/01", 1, 1), fw::ProgramNameVersion + " 2024/04/01");
  EXPECT_EQ(views::TodayText().size(), 10u);
}

}  // namespace
