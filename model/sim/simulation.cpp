#include "model/sim/simulation.h"

#include "model/sim/run_state.h"
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

namespace {

using platform::J;

constexpr int kTextCount = kYearCount + 2;  // the daily files, the monthly and the yearly file

std::string IntText(int64_t value) { return std::to_string(value); }

// The parameters and the station as the condition store holds them.
float StoreValue(int label, int n) { return fw::GetVV8Value(fw::CalcData, label, n); }

}  // namespace

void Simulation::LoadConditions() {
  BalanceParameters& p = Parameters;
  p.RoofArea = StoreValue(2100, 1);
  p.CatchArea = StoreValue(2100, 2);
  p.RunoffCoef = StoreValue(2100, 3);
  for (int i = 1; i <= kTankCount; ++i) p.TankCapacity[i] = StoreValue(3100, i);
  p.SnowTemp = StoreValue(5100, 1);
  p.IneffectivePrecip = StoreValue(5100, 2);
  for (int m = 1; m <= 12; ++m) p.MonthCoef[m] = p.RunoffCoef;

  // A facility with toilet detail rows (block 4200) uses their large and small totals.
  if (!fw::LabelExists(fw::CalcData, J("№4200")))
    p.BaseUse = StoreValue(4100, 8);
  else
    p.BaseUse = static_cast<float>(static_cast<double>(StoreValue(4200, 4)) + StoreValue(4200, 8));

  // Sprinkling and the two further uses, month by month (an absent block reads as zeros).
  int64_t monthExtra[3][13] = {};
  for (int b = 0; b < 3; ++b) {
    fw::ReadRecHH12(fw::CalcData, 9101 + b);
    for (int m = 1; m <= 12; ++m) monthExtra[b][m] = fw::RecHH12.N[m];
  }
  for (int m = 1; m <= 12; ++m) {
    p.MonthlyUse[m] = static_cast<float>(static_cast<double>(p.BaseUse) + static_cast<double>(monthExtra[0][m]) +
                                         static_cast<double>(monthExtra[1][m]) + static_cast<double>(monthExtra[2][m]));
  }
}

void Simulation::DayFileHeader(int kind, const std::string& name, std::string& out) const {
  fw::ReadRecSS1(fw::CalcData, 1000);
  app::DayFileHeader(kind, name, fw::RecSS1.S[1], out);
}

bool Simulation::Fail() {
  temperatureFile_.Close();
  precipitationFile_.Close();
  if (waitCursor_) platform::CurrentUi().SetCursorShape(platform::CursorShape::Default);
  waitCursor_ = false;
  Calculating = false;
  return false;
}

bool Simulation::ReadRecords(int station) {
  // A station's fifteen records follow each other: one read per file.
  std::string& bytes = recordBytes_;
  bytes.resize(static_cast<size_t>(kWeatherRecordSize) * kYearCount);
  const int64_t offset = WeatherRecordOffset(station, kFirstYear);
  struct Source {
    platform::RandomAccessFile* file;
    const std::string* path;
    TDailyWeatherRecord* records;
  };
  const Source sources[2] = {{&temperatureFile_, &temperaturePath_, temperature_},
                             {&precipitationFile_, &precipitationPath_, precipitation_}};
  for (const Source& src : sources) {
    if (!src.file->ReadAt(offset, bytes.data(), bytes.size())) return ReportReadError(*src.path);
    for (int k = 0; k < kYearCount; ++k) {
      const int year = kFirstYear + k;
      TDailyWeatherRecord& record = src.records[k];
      DecodeWeatherRecord(reinterpret_cast<const unsigned char*>(bytes.data()) + k * kWeatherRecordSize, record);
      if (record.Year != year) {
        // A record of another year: the file does not have the layout the run relies on.
        fw::MsgDialog("<" + *src.path + J(">の観測地点番号") + IntText(station) + J("・") + IntText(year) +
                          J("年のデータが正しくありません。（計算中止）"),
                      3, 1);
        return Fail();
      }
    }
  }
  temperatureFile_.Close();
  precipitationFile_.Close();
  return true;
}

bool Simulation::ComputeResults(const TDailyWeatherRecord* temperature, const TDailyWeatherRecord* precipitation) {
  Totals.Clear();
  texts_.resize(kTextCount);
  fullLines_.clear();
  fw::ReadRecSS1(fw::CalcData, 1000);
  const std::string title = fw::RecSS1.S[1];
  const std::string dailyName = J("日次データ");
  for (int k = 1; k <= kYearCount; ++k) {
    if (PauseEachYear) fw::WaitSeconds(0.1);
    if (!DailyBalance(Parameters, k, temperature[k - 1], precipitation[k - 1], Totals, days_) ||
        !Totals.CloseYear(k)) {
      fw::MsgDialog("<" + CalcFilePath + J(">の計算条件では計算値が数値の範囲を超えます。（計算中止）"), 3, 1);
      return Fail();
    }
    std::string& text = texts_[k - 1];
    text.clear();
    app::DayFileHeader(1, dailyName, title, text);
    dayLines_.AppendYear(days_, text);
    fullLines_.push_back(FullTankLine(Totals, k));
  }
  fullLines_.push_back(FullTankLine(Totals, 0));

  std::string& month = texts_[kYearCount];
  month.clear();
  app::DayFileHeader(2, J("月次データ"), title, month);
  for (int k = 1; k <= kYearCount; ++k)
    for (int m = 1; m <= 12; ++m) AppendMonthLine(Totals, k, m, month);

  std::string& year = texts_[kYearCount + 1];
  year.clear();
  app::DayFileHeader(3, J("年次データ"), title, year);
  for (int k = 1; k <= kYearCount; ++k) AppendYearLine(Totals, Parameters, k, year);
  return true;
}

bool Simulation::WriteResultFiles() {
  std::string full;
  for (const std::string& line : fullLines_) {
    full += line;
    full += "\r\n";
  }
  struct File {
    std::string path;
    const std::string* text;
  };
  std::vector<File> files;
  for (int k = 1; k <= kYearCount; ++k)
    files.push_back({ResultPrefix + "(" + IntText(kFirstYear + k - 1) + ").DAY", &texts_[k - 1]});
  files.push_back({ResultPrefix + "(FULL).DAT", &full});
  files.push_back({ResultPrefix + "(1981-1995).MON", &texts_[kYearCount]});
  files.push_back({ResultPrefix + "(1981-1995).YER", &texts_[kYearCount + 1]});

  platform::AtomicFileSet set;
  for (const File& f : files) {
    if (!set.Write(f.path, *f.text, nullptr, platform::Durability::Unsynced)) return ReportWriteError(f.path);
  }
  std::string failed;
  if (!set.Commit(nullptr, &failed)) return ReportWriteError(failed);
  return true;
}

bool Simulation::ReportReadError(const std::string& path) {
  fw::MsgDialog("<" + path + J(">を読込めませんでした。（計算中止）"), 4, 1);
  return Fail();
}

bool Simulation::ReportWriteError(const std::string& path) {
  fw::MsgDialog("<" + path + J(">に書込めませんでした。（計算中止）"), 4, 1);
  return Fail();
}

bool Simulation::RunSimulation() {
  Calculating = true;

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
  if (!ReadRecords(station)) return false;

  // The result folder is created when it is missing.
  if (!resultFolder.empty() && !platform::FolderExists(resultFolder) && !platform::MakeFolders(resultFolder)) {
    fw::MsgDialog(J("結果の保存フォルダー<") + resultFolder + J(">が作成できませんでした。（計算中止）"), 4, 1);
    return Fail();
  }

  if (!ComputeResults(temperature_, precipitation_) || !WriteResultFiles()) return false;
  fw::ResultLines = fullLines_;

  fw::RegisterResultName(CalcFilePath);
  platform::CurrentUi().SetCursorShape(platform::CursorShape::Default);
  waitCursor_ = false;
  Calculating = false;
  fw::ShowStatus(J("〔計算完了〕"));
  return true;
}

}  // namespace app
