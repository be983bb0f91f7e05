// The daily balance of one year, the result lines and the header texts, without files.
#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "model/sim/simulation.h"
#include "app/sim_test_support.h"
#include "framework/calc_state.h"
#include "support/test_support.h"

namespace {

using testsupport::S;
using testsupport::U;

// A case of the balance: its parameters, the run's sums and a year of days.
struct Balance {
  app::BalanceParameters p;
  std::unique_ptr<app::RunTotals> totals = std::make_unique<app::RunTotals>();
  std::unique_ptr<app::YearDays> days = std::make_unique<app::YearDays>();
};

// The parameters of a detached house: catchment 100 m² of 120 m² roof, coefficient 0.9, tanks
// of 1/4 to 5 times `basicTank`, snow at 3.0 °C, 0.5 mm ineffective, 200 litres a day.
std::unique_ptr<Balance> MakeSimulation(float basicTank) {
  auto b = std::make_unique<Balance>();
  app::BalanceParameters& p = b->p;
  p.RoofArea = 120;
  p.CatchArea = 100;
  p.RunoffCoef = 0.9f;
  static constexpr float kFactors[8] = {0.25f, 0.5f, 1, 1.5f, 2, 3, 4, 5};
  for (int i = 1; i <= 8; ++i) p.TankCapacity[i] = basicTank * kFactors[i - 1];
  p.SnowTemp = 3.0f;
  p.IneffectivePrecip = 0.5f;
  p.BaseUse = 200;
  for (int m = 1; m <= 12; ++m) {
    p.MonthCoef[m] = p.RunoffCoef;
    p.MonthlyUse[m] = p.BaseUse;
  }
  return b;
}

// A record of `year` whose slots are 0 except the given (slot, value) pairs.
app::TDailyWeatherRecord Record(int year, std::initializer_list<std::pair<int, int>> values) {
  app::TDailyWeatherRecord r;
  r.Year = static_cast<int16_t>(year);
  for (auto [slot, v] : values) r.Values[slot - 1] = static_cast<int16_t>(v);
  return r;
}

// An expected daily line: the date, " 24:00:00" and each field right-aligned in 7 bytes.
std::string DayLine(const std::string& date, std::initializer_list<const char*> fields) {
  std::string line = date + " 24:00:00";
  for (const char* f : fields) line += std::string(7 - std::string(f).size(), ' ') + f;
  return line;
}

std::vector<std::string> RunYear(Balance& b, const app::TDailyWeatherRecord& t, const app::TDailyWeatherRecord& p,
                                 int yearIndex = 1) {
  EXPECT_TRUE(app::DailyBalance(b.p, yearIndex, t, p, *b.totals, *b.days));
  std::string out;
  app::DayLineFormatter lines;
  lines.AppendYear(*b.days, out);
  return simtest::SplitCrLf(out);
}

// 1 January: 20 mm at 5 °C (collection, the small tanks overflow); 2 January: 1 mm at 10 °C
// (collected 50 litres, less than the use of 200); 3 January: 0.3 mm (light); 4 January:
// 10 mm at exactly 3.0 °C (snow); 5 January: dry at 15 °C; 6 January: 5 mm at -1.5 °C (snow).
const app::TDailyWeatherRecord kTemps = Record(1981, {{1, 500}, {2, 1000}, {3, 1000}, {4, 300}, {5, 1500}, {6, -150}});
const app::TDailyWeatherRecord kPrecs = Record(1981, {{1, 200}, {2, 10}, {3, 3}, {4, 100}, {5, 0}, {6, 50}});

TEST(DailyBalance, EachKindOfDayGivesItsExactLine) {
  struct Case {
    const char* what;
    float basicTank;
    int line;  // 0 = 1 January
    std::string expected;
  };
  const Case cases[] = {
      {"collection day, tanks 1-4 overflow", 1000, 0,
       DayLine("1981/01/01", {"5.0", "20", "1950", "1575", "200", "250", "500", "1000", "1500", "1575", "1575", "1575",
                              "1575", "1325", "1075", "575", "75", "0", "0", "0", "0"})},
      {"collection day with Collected < Use: tanks lose 135, Received recorded 0", 1000, 1,
       DayLine("1981/01/02", {"10.0", "1", "50", "0", "200", "115", "365", "865", "1365", "1440", "1440", "1440",
                              "1440", "0", "0", "0", "0", "0", "0", "0", "0"})},
      {"light day: the rain on the catchment (100 m² x 0.3 mm) runs off, nothing drawn", 1000, 2,
       DayLine("1981/01/03", {"10.0", "0", "0", "0", "200", "115", "365", "865", "1365", "1440", "1440", "1440",
                              "1440", "30", "30", "30", "30", "30", "30", "30", "30"})},
      {"T equal to SnowTemp: not collected, the use is drawn", 1000, 3,
       DayLine("1981/01/04", {"3.0", "10", "0", "0", "200", "0", "165", "665", "1165", "1240", "1240", "1240", "1240",
                              "0", "0", "0", "0", "0", "0", "0", "0"})},
      {"dry day", 1000, 4,
       DayLine("1981/01/05", {"15.0", "0", "0", "0", "200", "0", "0", "465", "965", "1040", "1040", "1040", "1040",
                              "0", "0", "0", "0", "0", "0", "0", "0"})},
      {"snow below zero", 1000, 5,
       DayLine("1981/01/06", {"-1.5", "5", "0", "0", "200", "0", "0", "265", "765", "840", "840", "840", "840", "0",
                              "0", "0", "0", "0", "0", "0", "0"})},
      {"zero tank volume: all received water runs off", 0, 0,
       DayLine("1981/01/01", {"5.0", "20", "1950", "1575", "200", "0", "0", "0", "0", "0", "0", "0", "0", "1575",
                              "1575", "1575", "1575", "1575", "1575", "1575", "1575"})},
      {"zero tank volume, Collected < Use", 0, 1,
       DayLine("1981/01/02", {"10.0", "1", "50", "0", "200", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0",
                              "0", "0", "0", "0", "0"})},
  };
  for (const Case& c : cases) {
    auto sim = MakeSimulation(c.basicTank);
    const auto lines = RunYear(*sim, kTemps, kPrecs);
    ASSERT_EQ(lines.size(), 365u) << c.what;
    EXPECT_EQ(lines[c.line], c.expected) << c.what;
    EXPECT_EQ(lines[c.line].size(), 166u) << c.what;
  }
}

TEST(DailyBalance, CountsFullDaysAndSumsTheMonth) {
  auto sim = MakeSimulation(1000);
  RunYear(*sim, kTemps, kPrecs, 3);
  const int expectedFull[9] = {0, 1, 1, 1, 1, 0, 0, 0, 0};
  for (int i = 1; i <= 8; ++i) EXPECT_EQ(sim->totals->FullDays[3][i], expectedFull[i]) << "tank " << i;
  const float* jan = sim->totals->MonthSums[3][1];
  EXPECT_FLOAT_EQ(jan[app::kSumTemperature], 41.5f);
  EXPECT_FLOAT_EQ(jan[app::kSumPrecipitation], 36.3f);
  EXPECT_FLOAT_EQ(jan[app::kSumCollected], 2000);
  EXPECT_FLOAT_EQ(jan[app::kSumReceived], 1575);  // the negative Received of 2 January is recorded as 0
  EXPECT_FLOAT_EQ(jan[app::kSumUse], 31 * 200);
  EXPECT_FLOAT_EQ(jan[app::kSumCollectionDays], 2);
  // Tank 1 holds water on 1-3 January; tank 3 (1000 l) until 7 January (265 - 200 = 65 left).
  EXPECT_FLOAT_EQ(jan[app::kSumWaterDays + 0], 3);
  EXPECT_FLOAT_EQ(jan[app::kSumWaterDays + 2], 7);
  EXPECT_FLOAT_EQ(jan[app::kSumRunoff + 0], 1325 + 30);
  EXPECT_FLOAT_EQ(jan[app::kSumRunoff + 4], 30);  // tank 5 only on the light day
  // Runoff ratio of tank 3: (575 + 30) / (36.3 mm x 100 m²).
  EXPECT_FLOAT_EQ(jan[app::kSumRunoffRatio], static_cast<float>(605.0 / 3630.0));
  // Other years and the year row are untouched by DailyBalance.
  EXPECT_EQ(sim->totals->MonthSums[3][0][app::kSumPrecipitation], 0);
  EXPECT_EQ(sim->totals->MonthSums[2][1][app::kSumPrecipitation], 0);
}

TEST(DailyBalance, ZeroCatchmentAreaGivesARunoffRatioOfZero) {
  auto sim = MakeSimulation(1000);
  sim->p.CatchArea = 0;
  RunYear(*sim, kTemps, kPrecs, 1);
  const float* jan = sim->totals->MonthSums[1][1];
  EXPECT_FLOAT_EQ(jan[app::kSumPrecipitation], 36.3f);
  EXPECT_EQ(jan[app::kSumRunoffRatio], 0);
  std::string out;
  app::AppendMonthLine(*sim->totals, 1, 1, out);
  EXPECT_EQ(out.substr(out.size() - 9), "      0\r\n");
}

TEST(DailyBalance, LightDaysRunOffTheRainThatFell) {
  // A year of 0.1 mm on every day at 10 °C, below the ineffective 0.5 mm: all the rain on the
  // catchment runs off and no more, so the yearly runoff rate is 100 % and the suppression
  // rate 0 %; the ineffective amount times the area would give five times the rain.
  auto sim = MakeSimulation(1000);
  app::TDailyWeatherRecord t, p;
  t.Year = p.Year = 1989;
  for (int slot = 1; slot <= 366; ++slot) {
    t.Values[slot - 1] = 1000;
    p.Values[slot - 1] = 1;
  }
  const auto lines = RunYear(*sim, t, p, 9);
  EXPECT_EQ(lines[100].substr(110), "     10     10     10     10     10     10     10     10");
  ASSERT_TRUE(sim->totals->CloseYear(9));
  const float* year = sim->totals->MonthSums[9][0];
  EXPECT_NEAR(year[app::kSumPrecipitation], 36.5, 1e-3);
  for (int i = 0; i < 8; ++i) EXPECT_NEAR(year[app::kSumRunoff + i], 3650, 0.1) << "tank " << i + 1;
  std::string out;
  app::AppendYearLine(*sim->totals, sim->p, 9, out);
  for (int f = 15; f <= 23; ++f) EXPECT_EQ(out.substr(19 + 7 * (f - 1), 7), "  100.0") << "runoff rate, field " << f;
  for (int f = 24; f <= 32; ++f) EXPECT_EQ(out.substr(19 + 7 * (f - 1), 7), "    0.0") << "suppression, field " << f;
}

TEST(DailyBalance, TanksStartEmptyEveryYear) {
  auto sim = MakeSimulation(1000);
  // Whatever the tanks held at the end of the last year, 1 January starts from empty tanks.
  const auto first = RunYear(*sim, Record(1981, {{365, 1000}}), Record(1981, {{365, 200}}), 1);
  ASSERT_EQ(first[364].substr(68, 7), "   1000");  // the basic tank is full on 31 December
  const auto lines = RunYear(*sim, Record(1982, {{1, 1000}}), Record(1982, {{1, 0}}), 2);
  EXPECT_EQ(lines[0], DayLine("1982/01/01", {"10.0", "0", "0", "0", "200", "0", "0", "0", "0", "0", "0", "0", "0",
                                             "0", "0", "0", "0", "0", "0", "0", "0"}));
}

TEST(DailyBalance, LeapYearLeavesOutFebruary29AndCommonYearSlot366) {
  auto sim = MakeSimulation(1000);
  // Slot 59 = 28 February, 60 = 29 February (never used), 61 = 1 March in 1984.
  const auto leap = RunYear(*sim, Record(1984, {{59, 1230}, {60, 9990}, {61, 450}, {366, 770}}),
                            Record(1984, {{60, 3000}}), 4);
  ASSERT_EQ(leap.size(), 365u);
  EXPECT_EQ(leap[58].substr(0, 26), "1984/02/28 24:00:00   12.3");
  EXPECT_EQ(leap[59].substr(0, 26), "1984/03/01 24:00:00    4.5");
  EXPECT_EQ(leap[364].substr(0, 26), "1984/12/31 24:00:00    7.7");
  EXPECT_FLOAT_EQ(sim->totals->MonthSums[4][2][app::kSumPrecipitation], 0);  // the 300 mm of 29 February count nowhere
  EXPECT_EQ(sim->totals->FullDays[4][1], 0);

  // In a common year slot 366 is not a day, whatever it holds.
  const auto common = RunYear(*sim, Record(1985, {{365, 110}, {366, 2000}}), Record(1985, {{366, 3000}}), 5);
  ASSERT_EQ(common.size(), 365u);
  EXPECT_EQ(common[364].substr(0, 26), "1985/12/31 24:00:00    1.1");
  EXPECT_FLOAT_EQ(sim->totals->MonthSums[5][12][app::kSumPrecipitation], 0);
}

TEST(DailyBalance, UsesTheMonthsUseAndCoefficient) {
  auto sim = MakeSimulation(1000);
  sim->p.MonthlyUse[2] = 350;
  sim->p.MonthCoef[2] = 0.5f;
  // 1 February: 10 mm at 8 °C: collected 950, received (950 - 350) x 0.5 = 300.
  const auto lines = RunYear(*sim, Record(1986, {{32, 800}}), Record(1986, {{32, 100}}), 6);
  EXPECT_EQ(lines[31], DayLine("1986/02/01", {"8.0", "10", "950", "300", "350", "250", "300", "300", "300", "300",
                                              "300", "300", "300", "50", "0", "0", "0", "0", "0", "0", "0"}));
  EXPECT_EQ(lines[30].substr(47, 7), "    200");  // 31 January still uses the January amount
}

TEST(DailyBalance, ValueTooWideForItsFieldKeepsAllItsDigits) {
  auto sim = MakeSimulation(10000000);  // basic tank of 10,000 m³: tank 8 holds 50,000,000 l
  sim->p.CatchArea = 100000;
  // 200 mm on 100,000 m²: collected 19,950,000 litres, received 17,954,820 (in float).
  const auto lines = RunYear(*sim, Record(1987, {{1, 2000}}), Record(1987, {{1, 2000}}), 7);
  EXPECT_EQ(lines[0].substr(0, 51), "1987/01/01 24:00:00   20.0    200 19950000 17954820");
  EXPECT_EQ(lines[0].size(), 166u + 10 * 2);  // ten 8-digit values, each with a blank in front
  // 2 January (dry): tanks 1 to 3 hold 7-digit levels (filling their fields), tanks 4 to 8
  // 8-digit ones.
  EXPECT_EQ(lines[1].substr(54, 39), "249980049998009999800 14999800 17954620");
  EXPECT_EQ(lines[1].size(), 166u + 5 * 2);
}

TEST(ResultLines, MonthLineFieldsAndZeroRatio) {
  auto sim = MakeSimulation(1000);
  float* s = sim->totals->MonthSums[2][2];
  s[app::kSumTemperature] = 98;  // 28 days: 3.5 °C
  s[app::kSumPrecipitation] = 123.4f;
  s[app::kSumCollected] = 11110;
  s[app::kSumReceived] = 9870;
  s[app::kSumUse] = 5600;
  for (int i = 0; i < 8; ++i) s[app::kSumWaterDays + i] = static_cast<float>(20 + i);
  s[app::kSumCollectionDays] = 6;
  for (int i = 0; i < 8; ++i) s[app::kSumRunoff + i] = static_cast<float>(8000 - 1000 * i);
  s[app::kSumRunoffRatio] = 0.4321f;
  std::string out;
  app::AppendMonthLine(*sim->totals, 2, 2, out);
  EXPECT_EQ(out, "1982/02/28 00:00:00    3.5    123  11.11   9.87   5.60     20     21     22     23     24     25"
                 "     26     27      6   8.00   7.00   6.00   5.00   4.00   3.00   2.00   1.00   43.2\r\n");
  EXPECT_EQ(out.size(), 180u + 2);

  // A month without anything: every field is a plain zero.
  out.clear();
  app::AppendMonthLine(*sim->totals, 15, 12, out);
  std::string zeros = "1995/12/31 00:00:00";
  for (int i = 0; i < 23; ++i) zeros += "      0";
  EXPECT_EQ(out, zeros + "\r\n");
}

TEST(ResultLines, YearLineRatesAndUndefinedRatesAsZero) {
  auto sim = MakeSimulation(1000);
  float* s = sim->totals->MonthSums[4][0];
  s[app::kSumTemperature] = 5840;  // / 365 = 16.0
  s[app::kSumPrecipitation] = 1500;
  s[app::kSumCollected] = 140000;
  s[app::kSumReceived] = 90000;
  s[app::kSumUse] = 73000;
  for (int i = 0; i < 8; ++i) s[app::kSumWaterDays + i] = static_cast<float>(300 + i);
  s[app::kSumCollectionDays] = 80;
  for (int i = 0; i < 8; ++i) s[app::kSumRunoff + i] = static_cast<float>(60000 - 7500 * i);
  std::string out;
  app::AppendYearLine(*sim->totals, sim->p, 4, out);
  // Runoff rate of tank i = runoff x 100 / (1500 mm x 100 m²); suppression rate =
  // 100 - ((120 - 100) x 1500 + runoff) x 100 / (1500 x 120).
  EXPECT_EQ(out, "1984/12/31 00:00:00   16.0   1500  140.0   90.0   73.0    300    301    302    303    304    305"
                 "    306    307     80   40.0   35.0   30.0   25.0   20.0   15.0   10.0    5.0   30.0   50.0   54.2"
                 "   58.3   62.5   66.7   70.8   75.0   79.2   58.3\r\n");
  EXPECT_EQ(out.size(), 243u + 2);

  struct ZeroCase {
    const char* what;
    float precipitation, catchArea, roofArea;
    bool runoffDefined, suppressionDefined;
  };
  const ZeroCase zeroCases[] = {
      {"a year without precipitation", 0, 100, 120, false, false},
      {"a zero catchment area", 1500, 0, 120, false, true},
      {"a zero roof area", 1500, 100, 0, true, false},
  };
  for (const ZeroCase& z : zeroCases) {
    sim->p.CatchArea = z.catchArea;
    sim->p.RoofArea = z.roofArea;
    s[app::kSumPrecipitation] = z.precipitation;
    out.clear();
    app::AppendYearLine(*sim->totals, sim->p, 4, out);
    ASSERT_EQ(out.size(), 243u + 2) << z.what;
    for (int f = 15; f <= 32; ++f) {
      const std::string field = out.substr(19 + 7 * (f - 1), 7);
      const bool defined = f <= 23 ? z.runoffDefined : z.suppressionDefined;
      if (defined) {
        EXPECT_NE(field, "      0") << z.what << ", field " << f;
      } else {
        EXPECT_EQ(field, "      0") << z.what << ", field " << f;
      }
    }
  }
}

TEST(ResultLines, FullTankLines) {
  auto sim = MakeSimulation(1000);
  const int counts[9] = {0, 31, 12, 5, 2, 1, 0, 0, 100};
  for (int i = 1; i <= 8; ++i) {
    sim->totals->FullDays[1][i] = counts[i];
    sim->totals->FullDays[0][i] = counts[i] * 15 + (i == 2 ? 7 : 0) + (i == 3 ? 8 : 0);
  }
  EXPECT_EQ(U(app::FullTankLine(*sim->totals, 1)), "1981年 :    31   12    5    2    1    0    0  100");
  // 187 / 15 = 12.47 -> 12, 83 / 15 = 5.53 -> 6.
  EXPECT_EQ(U(app::FullTankLine(*sim->totals, 0)), "15年平均    31   12    6    2    1    0    0  100");
  EXPECT_EQ(app::FullTankLine(*sim->totals, 0).size(), 9u + 40);
}

TEST(DayFileHeader, FourLinesOfEachKind) {
  simtest::CaseSetup setup;
  setup.title = "山田邸の雨水利用";
  simtest::MakeCase(setup);
  app::Simulation sim;

  const std::string blanks(19, ' ');
  const std::string runoff = "流出1/4流出1/2流出1  流出1.5流出2  流出3  流出4  流出5  ";
  const std::string sumUnits = "℃     mm     m3     m3     m3     days   days   days   days   days   days   days   days   days   ";
  const std::string rates = "％     ％     ％     ％     ％     ％     ％     ％     ％     ";
  const std::string sumNames =
      "気温   降水量 集水量 受水量 使用量 日数1/4日数1/2日数1  日数1.5日数2  日数3  日数4  日数5  集水日 " + runoff +
      "流出率 ";
  auto channels = [](int n) {
    std::string t;
    for (int c = 1; c <= n; ++c) t += (c < 10 ? "   CH0" : "   CH") + std::to_string(c);
    return t;
  };
  struct Kind {
    int kind;
    const char* name;
    size_t width;
    std::string names, units;
  };
  const Kind kinds[] = {
      {1, "日次データ", 166,
       "気温   降水量 集水量 受水量 使用量 残量1/4残量1/2残量1  残量1.5残量2  残量3  残量4  残量5  " + runoff,
       "℃     mm     ﾘｯﾄﾙ   ﾘｯﾄﾙ   ﾘｯﾄﾙ   ﾘｯﾄﾙ   ﾘｯﾄﾙ   ﾘｯﾄﾙ   ﾘｯﾄﾙ   ﾘｯﾄﾙ   ﾘｯﾄﾙ   ﾘｯﾄﾙ   ﾘｯﾄﾙ   "
       "ﾘｯﾄﾙ   ﾘｯﾄﾙ   ﾘｯﾄﾙ   ﾘｯﾄﾙ   ﾘｯﾄﾙ   ﾘｯﾄﾙ   ﾘｯﾄﾙ   ﾘｯﾄﾙ   "},
      {2, "月次データ", 180, sumNames,
       sumUnits + "m3     m3     m3     m3     m3     m3     m3     m3     ％     "},
      {3, "年次データ", 243,
       sumNames + "抑制1/4抑制1/2抑制1  抑制1.5抑制2  抑制3  抑制4  抑制5  抑制率 ", sumUnits + rates + rates},
  };
  for (const Kind& k : kinds) {
    std::string out;
    sim.DayFileHeader(k.kind, S(k.name), out);
    const auto lines = simtest::SplitCrLf(out);
    ASSERT_EQ(lines.size(), 4u) << k.kind;
    EXPECT_EQ(out.substr(out.size() - 2), "\r\n");
    EXPECT_EQ(U(lines[0]), std::string("山田邸の雨水利用 （") + k.name + "）");
    EXPECT_EQ(lines[1], blanks + channels(k.width == 166 ? 21 : k.width == 180 ? 23 : 32));
    EXPECT_EQ(lines[2], blanks + S(k.names));
    EXPECT_EQ(lines[3], "year mm dd hr mn sc" + S(k.units));
    for (int i = 1; i < 4; ++i) EXPECT_EQ(lines[i].size(), k.width) << "kind " << k.kind << " line " << i + 1;
  }
}

TEST(DayFileHeader, TitleOf60BytesFillsTheFirst63Bytes) {
  simtest::CaseSetup setup;
  setup.title = std::string(58, 'A') + "雨";  // 60 bytes: with " （" exactly 63
  simtest::MakeCase(setup);
  app::Simulation sim;
  std::string out;
  sim.DayFileHeader(1, S("日次データ"), out);
  const std::string first = simtest::SplitCrLf(out)[0];
  EXPECT_EQ(U(first), std::string(58, 'A') + "雨 （日次データ）");
  EXPECT_EQ(first.size(), 63u + 12);
}

}  // namespace
