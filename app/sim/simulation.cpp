#include "app/sim/simulation.h"

#include <cstdio>
#include <cstring>

#include "app/sim/run_state.h"
#include "framework/appinit.h"
#include "framework/calc_state.h"
#include "framework/calc_store.h"
#include "framework/convert.h"
#include "framework/file_names.h"
#include "framework/folders.h"
#include "framework/messages.h"
#include "platform/cp932.h"
#include "platform/ui.h"

namespace app {

const int kCommonMonthDays[13] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

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

// Accumulation into the single-precision state: the sum is formed in double and rounded once.
inline void Accumulate(float& sum, double value) { sum = static_cast<float>(static_cast<double>(sum) + value); }

std::string IntText(int64_t value) { return std::to_string(value); }

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

// The parameters and the station as the condition store holds them.
float StoreValue(int label, int n) { return fw::GetVV8Value(fw::CalcData, label, n); }

}  // namespace

Simulation::Simulation() { text_.reserve(72 * 1024); }

void Simulation::LoadConditions() {
  RoofArea = StoreValue(2100, 1);
  CatchArea = StoreValue(2100, 2);
  RunoffCoef = StoreValue(2100, 3);
  for (int i = 1; i <= kTankCount; ++i) TankCapacity[i] = StoreValue(3100, i);
  SnowTemp = StoreValue(5100, 1);
  IneffectivePrecip = StoreValue(5100, 2);
  for (int m = 1; m <= 12; ++m) MonthCoef[m] = RunoffCoef;

  // A facility with toilet detail rows (block 4200) uses their large and small totals.
  if (!fw::LabelExists(fw::CalcData, J("№4200")))
    BaseUse = StoreValue(4100, 8);
  else
    BaseUse = static_cast<float>(static_cast<double>(StoreValue(4200, 4)) + StoreValue(4200, 8));

  // Sprinkling and the two further uses, month by month (an absent block reads as zeros).
  int64_t monthExtra[3][13] = {};
  for (int b = 0; b < 3; ++b) {
    fw::ReadRecHH12(fw::CalcData, 9101 + b);
    for (int m = 1; m <= 12; ++m) monthExtra[b][m] = fw::RecHH12.N[m];
  }
  for (int m = 1; m <= 12; ++m) {
    MonthlyUse[m] = static_cast<float>(static_cast<double>(BaseUse) + static_cast<double>(monthExtra[0][m]) +
                                       static_cast<double>(monthExtra[1][m]) + static_cast<double>(monthExtra[2][m]));
  }
}

void Simulation::DayFileHeader(int kind, const std::string& name, std::string& out) const {
  const HeaderTexts& h = Headers();
  fw::ReadRecSS1(fw::CalcData, 1000);
  const std::string title = fw::RecSS1.S[1];
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

void Simulation::DailyBalance(int yearIndex, const TDailyWeatherRecord& temperature,
                              const TDailyWeatherRecord& precipitation, std::string& out) {
  if (PauseEachYear) fw::WaitSeconds(0.1);

  Collected = 0;
  Received = 0;
  Use = 0;
  for (int i = 1; i <= kTankCount; ++i) TankLevel[i] = 0;  // the tanks are empty on 1 January
  const int year = temperature.Year;
  fw::SetLeapYearFlag(year);
  const bool leap = fw::LeapFlag;

  char date[40];
  for (int d = 1; d <= kDaySlots; ++d) {
    // 29 February is left out of every calculation; slot 366 of a common year is not a day.
    if (leap ? d == 60 : d == 366) continue;
    int year2 = 0, month = 0, day = 0;
    fw::DayNumberToMonthDay(year, d, year2, month, day);
    const float T = static_cast<float>(temperature.Values[d - 1] * 0.01);
    const float P = static_cast<float>(precipitation.Values[d - 1] * 0.1);
    for (int i = 1; i <= kTankCount; ++i) Runoff[i] = 0;
    Use = MonthlyUse[month];

    if (T > SnowTemp && P > 0 && P > IneffectivePrecip) {
      // Collection day: the tanks take the collected water less the day's use (which may be
      // negative); only the recorded Received is floored afterwards.
      CollectionDay = 1;
      Collected = static_cast<float>((static_cast<double>(P) - IneffectivePrecip) * CatchArea);
      Received = static_cast<float>((static_cast<double>(Collected) - Use) * MonthCoef[month]);
      for (int i = 1; i <= kTankCount; ++i) {
        float& level = TankLevel[i];
        level = static_cast<float>(static_cast<double>(level) + Received);
        if (level < 0) level = 0;
        if (level > TankCapacity[i]) {
          Runoff[i] = static_cast<float>(static_cast<double>(level) - TankCapacity[i]);
          level = TankCapacity[i];
          ++FullDays[yearIndex][i];
        }
      }
      if (Received < 0) Received = 0;
    } else if (T > SnowTemp && P > 0) {
      // Light precipitation (not above the ineffective amount): it runs off the catchment,
      // nothing is collected and nothing is drawn from the tanks.
      CollectionDay = 0;
      Collected = 0;
      Received = 0;
      const float lightRunoff = static_cast<float>(static_cast<double>(CatchArea) * IneffectivePrecip);
      for (int i = 1; i <= kTankCount; ++i) Runoff[i] = lightRunoff;
    } else {
      // Snow (T at or below SnowTemp) or a dry day: the day's use is drawn from every tank.
      CollectionDay = 0;
      Collected = 0;
      Received = 0;
      for (int i = 1; i <= kTankCount; ++i) {
        const double left = static_cast<double>(TankLevel[i]) - Use;
        TankLevel[i] = left > 0 ? static_cast<float>(left) : 0.0f;
      }
    }

    std::snprintf(date, sizeof date, "%.4d/%.2d/%.2d 24:00:00", year, month, day);
    out += date;
    AppendDayField(out, 0, T, 1);
    AppendDayField(out, 1, P, 0);
    AppendDayField(out, 2, Collected, 0);
    AppendDayField(out, 3, Received, 0);
    AppendDayField(out, 4, Use, 0);
    for (int i = 1; i <= kTankCount; ++i) AppendDayField(out, 4 + i, TankLevel[i], 0);
    for (int i = 1; i <= kTankCount; ++i) AppendDayField(out, 12 + i, Runoff[i], 0);
    out += kLineEnd;

    float* sums = MonthSums[yearIndex][month];
    Accumulate(sums[kSumTemperature], T);
    Accumulate(sums[kSumPrecipitation], P);
    Accumulate(sums[kSumCollected], Collected);
    Accumulate(sums[kSumReceived], Received);
    Accumulate(sums[kSumUse], Use);
    for (int i = 1; i <= kTankCount; ++i)
      if (TankLevel[i] > 0) Accumulate(sums[kSumWaterDays + i - 1], 1.0);
    Accumulate(sums[kSumCollectionDays], CollectionDay);
    for (int i = 1; i <= kTankCount; ++i)
      if (Runoff[i] > 0) Accumulate(sums[kSumRunoff + i - 1], Runoff[i]);
    if (sums[kSumPrecipitation] != 0) {
      const double rain = static_cast<double>(sums[kSumPrecipitation]) * CatchArea;  // litres on the catchment
      sums[kSumRunoffRatio] = rain != 0 ? static_cast<float>(static_cast<double>(sums[kSumRunoff + 2]) / rain) : 0.0f;
    }
  }
}

void Simulation::AppendDayField(std::string& out, int field, double value, int decimals) {
  DayFieldCache& c = dayFields_;
  if (!c.valid[field] || c.value[field] != value) {
    c.text[field] = FieldText(value, decimals);
    c.value[field] = value;
    c.valid[field] = true;
  }
  out += c.text[field];
}

void Simulation::AppendMonthLine(int yearIndex, int month, std::string& out) const {
  const float* s = MonthSums[yearIndex][month];
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

void Simulation::AppendYearLine(int yearIndex, std::string& out) const {
  const float* s = MonthSums[yearIndex][0];
  char date[40];
  std::snprintf(date, sizeof date, "19%2d/12/31 00:00:00", yearIndex + 80);
  out += date;
  const double P = s[kSumPrecipitation];
  const double A = CatchArea;
  const double R = RoofArea;
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

std::string Simulation::FullTankLine(int yearIndex) const {
  char cell[16];
  std::string line;
  if (yearIndex > 0) {
    std::snprintf(cell, sizeof cell, "%4d", kFirstYear + yearIndex - 1);
    line = cell + J("年 : ");
    for (int i = 1; i <= kTankCount; ++i) {
      std::snprintf(cell, sizeof cell, "%5d", FullDays[yearIndex][i]);
      line += cell;
    }
  } else {
    line = J("15年平均 ");
    for (int i = 1; i <= kTankCount; ++i) {
      std::snprintf(cell, sizeof cell, "%5d", static_cast<int>(fw::Round(FullDays[0][i] / 15.0)));
      line += cell;
    }
  }
  return line;
}

bool Simulation::Fail() {
  temperatureFile_.Close();
  precipitationFile_.Close();
  if (waitCursor_) platform::CurrentUi().SetCursorShape(platform::CursorShape::Default);
  waitCursor_ = false;
  Calculating = false;
  return false;
}

bool Simulation::ReadYear(int station, int year) {
  const int64_t offset = WeatherRecordOffset(station, year);
  struct Source {
    platform::RandomAccessFile* file;
    const std::string* path;
    TDailyWeatherRecord* record;
  };
  const Source sources[2] = {{&temperatureFile_, &temperaturePath_, &temperature_},
                             {&precipitationFile_, &precipitationPath_, &precipitation_}};
  for (const Source& src : sources) {
    if (!src.file->ReadAt(offset, recordBytes_, sizeof recordBytes_)) return ReportReadError(*src.path);
    DecodeWeatherRecord(recordBytes_, *src.record);
    if (src.record->Year != year) {
      // A record of another year: the file does not have the layout the run relies on.
      fw::MsgDialog("<" + *src.path + J(">の観測地点番号") + IntText(station) + J("・") + IntText(year) +
                        J("年のデータが正しくありません。（計算中止）"),
                    3, 1);
      return Fail();
    }
  }
  return true;
}

bool Simulation::ReportReadError(const std::string& path) {
  fw::MsgDialog("<" + path + J(">を読込めませんでした。（計算中止）"), 4, 1);
  return Fail();
}

bool Simulation::WriteResultFile(const std::string& path, const std::string& text) {
  return platform::WriteFileBytesAtomic(path, text, nullptr, platform::Durability::Unsynced) ||
         ReportWriteError(path);
}

bool Simulation::ReportWriteError(const std::string& path) {
  fw::MsgDialog("<" + path + J(">に書込めませんでした。（計算中止）"), 4, 1);
  return Fail();
}

bool Simulation::RunSimulation() {
  Calculating = true;
  std::memset(MonthSums, 0, sizeof MonthSums);

  // The folder of the result files (split first, so that the current-file parts are left
  // holding the calculation file's, as the run's own split sets them).
  fw::SplitFileName(ResultPrefix);
  const std::string resultFolder = fw::FileDir;
  fw::SplitFileName(CalcFilePath);
  fw::ReadRecNN8(fw::CalcData, 1100);
  const int station = static_cast<int>(fw::RecNN8.N[3]);

  temperaturePath_ = fw::CalDir + TemperatureFileName();
  precipitationPath_ = fw::CalDir + PrecipitationFileName();
  for (const std::string* path : {&temperaturePath_, &precipitationPath_}) {
    if (!platform::FileExists(*path)) {
      fw::MsgDialog("<" + *path + J(">ファイルが見つかりません。"), 3, 1);
      return Fail();
    }
  }

  std::memset(FullDays, 0, sizeof FullDays);
  platform::CurrentUi().SetCursorShape(platform::CursorShape::Wait);
  waitCursor_ = true;
  // Both files open, and the station has all its fifteen records in each of them.
  for (auto [file, path] : {std::pair{&temperatureFile_, &temperaturePath_},
                            std::pair{&precipitationFile_, &precipitationPath_}}) {
    if (!file->Open(*path)) return ReportReadError(*path);
    const int64_t stations = StationsInWeatherFile(file->Size());
    if (station < 1 || station > stations) {
      fw::MsgDialog(J("観測地点番号") + IntText(station) + J("の気象データが<") + *path + J(">にありません。（地点数：") +
                        IntText(stations) + J("、計算中止）"),
                    3, 1);
      return Fail();
    }
  }

  // The result folder is created when it is missing.
  if (!resultFolder.empty() && !platform::FolderExists(resultFolder) && !platform::MakeFolders(resultFolder)) {
    fw::MsgDialog(J("結果の保存フォルダー<") + resultFolder + J(">が作成できませんでした。（計算中止）"), 4, 1);
    return Fail();
  }

  const std::string dailyName = J("日次データ");
  for (int year = kFirstYear; year <= kLastYear; ++year) {
    const int k = year - kFirstYear + 1;
    if (!ReadYear(station, year)) return false;
    text_.clear();
    DayFileHeader(1, dailyName, text_);
    DailyBalance(k, temperature_, precipitation_, text_);
    if (!WriteResultFile(ResultPrefix + "(" + IntText(year) + ").DAY", text_)) return false;

    for (int m = 1; m <= 12; ++m)
      for (int c = 0; c < kSumColumns; ++c) Accumulate(MonthSums[k][0][c], MonthSums[k][m][c]);

    if (k == 1) fw::ResultLines.clear();
    fw::ResultLines.push_back(FullTankLine(k));
    for (int i = 1; i <= kTankCount; ++i) FullDays[0][i] += FullDays[k][i];
  }
  fw::ResultLines.push_back(FullTankLine(0));
  const std::string fullPath = ResultPrefix + "(FULL).DAT";
  if (!platform::WriteTextLinesAtomic(fullPath, fw::ResultLines)) return ReportWriteError(fullPath);
  temperatureFile_.Close();
  precipitationFile_.Close();

  text_.clear();
  DayFileHeader(2, J("月次データ"), text_);
  for (int k = 1; k <= kYearCount; ++k)
    for (int m = 1; m <= 12; ++m) AppendMonthLine(k, m, text_);
  if (!WriteResultFile(ResultPrefix + "(1981-1995).MON", text_)) return false;

  text_.clear();
  DayFileHeader(3, J("年次データ"), text_);
  for (int k = 1; k <= kYearCount; ++k) AppendYearLine(k, text_);
  if (!WriteResultFile(ResultPrefix + "(1981-1995).YER", text_)) return false;

  fw::RegisterResultName(CalcFilePath);
  platform::CurrentUi().SetCursorShape(platform::CursorShape::Default);
  waitCursor_ = false;
  Calculating = false;
  fw::ShowStatus(J("〔計算完了〕"));
  return true;
}

}  // namespace app
