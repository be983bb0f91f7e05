#include "model/sim/result_text.h"

#include <cstdio>

#include "framework/convert.h"
#include "platform/cp932.h"

namespace app {

namespace {

using platform::J;

constexpr int kFieldWidth = 7;
constexpr const char* kLineEnd = "\r\n";

// One value field of a result line. A value that needs more than the 7 bytes keeps all its
// digits and gets one blank in front, so it stays apart from the field before it.
std::string FieldText(double value, int decimals) {
  std::string text = fw::FloatToTextDigits(value, kFieldWidth, decimals);
  if (text.size() > static_cast<size_t>(kFieldWidth)) text.insert(text.begin(), ' ');
  return text;
}

inline void AppendField(std::string& out, double value, int decimals) { out += FieldText(value, decimals); }

// The column names and units of the header lines, each a 7-byte field.
struct HeaderTexts {
  std::string dayNames, dayUnits;
  std::string sumNames, monthUnits, yearUnits;
  std::string suppressionNames, suppressionUnits;
  std::string yearlyMark;  // "年次": a name holding it gets the suppression columns
  std::string titleJoin;   // " （"
  std::string nameClose;   // "）"
};

const HeaderTexts& Headers() {
  static const HeaderTexts texts = [] {
    HeaderTexts t;
    const std::string runoffNames = J("流出1/4流出1/2流出1  流出1.5流出2  流出3  流出4  流出5  ");
    t.dayNames = J("気温   降水量 集水量 受水量 使用量 残量1/4残量1/2残量1  残量1.5残量2  残量3  残量4  残量5  ") +
                 runoffNames;
    t.dayUnits = J("℃     mm     ﾘｯﾄﾙ   ﾘｯﾄﾙ   ﾘｯﾄﾙ   ﾘｯﾄﾙ   ﾘｯﾄﾙ   ﾘｯﾄﾙ   ﾘｯﾄﾙ   ﾘｯﾄﾙ   ﾘｯﾄﾙ   ﾘｯﾄﾙ   ﾘｯﾄﾙ   ") +
                 J("ﾘｯﾄﾙ   ﾘｯﾄﾙ   ﾘｯﾄﾙ   ﾘｯﾄﾙ   ﾘｯﾄﾙ   ﾘｯﾄﾙ   ﾘｯﾄﾙ   ﾘｯﾄﾙ   ");
    t.sumNames = J("気温   降水量 集水量 受水量 使用量 日数1/4日数1/2日数1  日数1.5日数2  日数3  日数4  日数5  集水日 ") +
                 runoffNames + J("流出率 ");
    const std::string sumUnits =
        J("℃     mm     m3     m3     m3     days   days   days   days   days   days   days   days   days   ");
    const std::string nineRates = J("％     ％     ％     ％     ％     ％     ％     ％     ％     ");
    t.monthUnits = sumUnits + J("m3     m3     m3     m3     m3     m3     m3     m3     ％     ");
    t.yearUnits = sumUnits + nineRates;
    t.suppressionNames = J("抑制1/4抑制1/2抑制1  抑制1.5抑制2  抑制3  抑制4  抑制5  抑制率 ");
    t.suppressionUnits = nineRates;
    t.yearlyMark = J("年次");
    t.titleJoin = J(" （");
    t.nameClose = J("）");
    return t;
  }();
  return texts;
}

const std::string& DateBlank() {
  static const std::string blank(19, ' ');
  return blank;
}

}  // namespace

void DayFileHeader(int kind, const std::string& name, const std::string& title, std::string& out) {
  const HeaderTexts& h = Headers();
  out += fw::LeftStrJ(title + h.titleJoin, 63);
  out += name;
  out += h.nameClose;
  out += kLineEnd;

  const int columns = kind == 1 ? 21 : (kind == 2 ? 23 : 32);
  out += DateBlank();
  out += fw::ChannelHeaderText(1, columns);
  out += kLineEnd;

  const bool yearly = fw::ContainsStr(h.yearlyMark, name);
  out += DateBlank();
  out += kind == 1 ? h.dayNames : h.sumNames;
  if (yearly) out += h.suppressionNames;
  out += kLineEnd;

  out += "year mm dd hr mn sc";
  out += kind == 1 ? h.dayUnits : (kind == 2 ? h.monthUnits : h.yearUnits);
  if (yearly) out += h.suppressionUnits;
  out += kLineEnd;
}

void DayLineFormatter::AppendField(std::string& out, int field, double value, int decimals) {
  if (!valid_[field] || value_[field] != value) {
    text_[field] = FieldText(value, decimals);
    value_[field] = value;
    valid_[field] = true;
  }
  out += text_[field];
}

void DayLineFormatter::AppendDay(const DayState& s, std::string& out) {
  char date[40];
  std::snprintf(date, sizeof date, "%.4d/%.2d/%.2d 24:00:00", s.year, s.month, s.day);
  out += date;
  AppendField(out, 0, s.T, 1);
  AppendField(out, 1, s.P, 0);
  AppendField(out, 2, s.Collected, 0);
  AppendField(out, 3, s.Received, 0);
  AppendField(out, 4, s.Use, 0);
  for (int i = 1; i <= kTankCount; ++i) AppendField(out, 4 + i, s.TankLevel[i], 0);
  for (int i = 1; i <= kTankCount; ++i) AppendField(out, 12 + i, s.Runoff[i], 0);
  out += kLineEnd;
}

void DayLineFormatter::AppendYear(const YearDays& year, std::string& out) {
  for (const DayState& s : year.days) AppendDay(s, out);
}

void AppendMonthLine(const RunTotals& totals, int yearIndex, int month, std::string& out) {
  const float* s = totals.MonthSums[yearIndex][month];
  const int days = kCommonMonthDays[month];
  char date[40];
  std::snprintf(date, sizeof date, "19%.2d/%.2d/%.2d 00:00:00", yearIndex + 80, month, days);
  out += date;
  AppendField(out, static_cast<double>(s[kSumTemperature]) / days, 1);
  AppendField(out, s[kSumPrecipitation], 0);
  for (int c = kSumCollected; c <= kSumUse; ++c) AppendField(out, s[c] * 0.001, 2);
  for (int c = kSumWaterDays; c <= kSumCollectionDays; ++c) AppendField(out, s[c], 0);
  for (int c = kSumRunoff; c < kSumRunoff + kTankCount; ++c) AppendField(out, s[c] * 0.001, 2);
  AppendField(out, s[kSumRunoffRatio] * 100.0, 1);
  out += kLineEnd;
}

void AppendYearLine(const RunTotals& totals, const BalanceParameters& p, int yearIndex, std::string& out) {
  const float* s = totals.MonthSums[yearIndex][0];
  char date[40];
  std::snprintf(date, sizeof date, "19%2d/12/31 00:00:00", yearIndex + 80);
  out += date;
  const double P = s[kSumPrecipitation];
  const double A = p.CatchArea;
  const double R = p.RoofArea;
  AppendField(out, s[kSumTemperature] / 365.0, 1);  // 365 also in leap years (29 February is left out)
  AppendField(out, P, 0);
  for (int c = kSumCollected; c <= kSumUse; ++c) AppendField(out, s[c] * 0.001, 1);
  for (int c = kSumWaterDays; c <= kSumCollectionDays; ++c) AppendField(out, s[c], 0);

  // Rates without a defined value (no precipitation, a zero area) are written as zero.
  const double catchmentRain = P * A;
  const double roofRain = P * R;
  auto runoffRate = [&](double runoff) { return catchmentRain != 0 ? runoff * 100 / catchmentRain : 0.0; };
  // The roof area outside the catchment counts as running off in full.
  auto suppressionRate = [&](double runoff) {
    return roofRain != 0 ? 100 - ((R - A) * P + runoff) * 100 / roofRain : 0.0;
  };
  const double basicRunoff = s[kSumRunoff + 2];
  for (int i = 0; i < kTankCount; ++i) AppendField(out, runoffRate(s[kSumRunoff + i]), 1);
  AppendField(out, runoffRate(basicRunoff), 1);
  for (int i = 0; i < kTankCount; ++i) AppendField(out, suppressionRate(s[kSumRunoff + i]), 1);
  AppendField(out, suppressionRate(basicRunoff), 1);
  out += kLineEnd;
}

std::string FullTankLine(const RunTotals& totals, int yearIndex) {
  char cell[16];
  std::string line;
  if (yearIndex > 0) {
    std::snprintf(cell, sizeof cell, "%4d", kFirstYear + yearIndex - 1);
    line = cell + J("年 : ");
    for (int i = 1; i <= kTankCount; ++i) {
      std::snprintf(cell, sizeof cell, "%5d", totals.FullDays[yearIndex][i]);
      line += cell;
    }
  } else {
    line = J("15年平均 ");
    for (int i = 1; i <= kTankCount; ++i) {
      std::snprintf(cell, sizeof cell, "%5d", static_cast<int>(fw::Round(totals.FullDays[0][i] / 15.0)));
      line += cell;
    }
  }
  return line;
}

}  // namespace app
