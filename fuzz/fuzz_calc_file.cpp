// A calculation file loaded into the condition store, its lines read as records of every
// kind, and the simulation's parameters taken from it and run through a year of the balance
// and its result lines.
#include <memory>

#include "model/sim/result_text.h"
#include "model/sim/simulation.h"
#include "framework/calc_state.h"
#include "framework/calc_store.h"
#include "support.h"

namespace {

// A year that has every kind of day: collection, light, snow and dry days.
void MakeWeather(app::TDailyWeatherRecord& t, app::TDailyWeatherRecord& p) {
  t.Year = p.Year = 1984;
  for (int slot = 0; slot < app::kDaySlots; ++slot) {
    t.Values[slot] = static_cast<int16_t>(slot % 7 == 0 ? -300 : 1500);
    p.Values[slot] = static_cast<int16_t>(slot % 3 == 0 ? 250 : slot % 3 == 1 ? 3 : 0);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzsupport::InstallQuietUi();
  const std::string path = fuzzsupport::WriteScratchFile("CASE.HVS", fuzzsupport::Bytes(data, size));
  fw::CalcData.clear();
  if (!fw::LoadInputData(path, fw::CalcData)) return 0;
  // Each line (a label below 1000 is a line index) read as one kind, the kinds in turn.
  const int lines = static_cast<int>(fw::CalcData.size());
  const int kinds = static_cast<int>(fw::RecordKind::Count);
  for (int label = 1; label < lines && label < 256; ++label)
    fw::ReadRecord(fw::CalcData, label, static_cast<fw::RecordKind>((label + data[0]) % kinds));

  static auto sim = std::make_unique<app::Simulation>();
  static auto totals = std::make_unique<app::RunTotals>();
  static auto days = std::make_unique<app::YearDays>();
  static app::TDailyWeatherRecord t, p;
  static const bool weather = (MakeWeather(t, p), true);
  (void)weather;
  sim->LoadConditions();
  totals->Clear();
  std::string text;
  sim->DayFileHeader(1, "day", text);
  if (app::DailyBalance(sim->Parameters, 4, t, p, *totals, *days) && totals->CloseYear(4)) {
    app::DayLineFormatter formatter;
    formatter.AppendYear(*days, text);
    for (int m = 1; m <= 12; ++m) app::AppendMonthLine(*totals, 4, m, text);
    app::AppendYearLine(*totals, sim->Parameters, 4, text);
    text += app::FullTankLine(*totals, 0);
  }
  return 0;
}
