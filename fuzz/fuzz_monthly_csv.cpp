// libFuzzer target: a monthly observation file of any content, read by the weather-data
// builder; a file it accepts is turned into a station's monthly statistics and its record.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/wxbuild/monthly_stats.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  wxbuild::MonthlyObservations obs;
  std::string error;
  if (!wxbuild::ParseMonthlyCsv(bytes, "fuzz.csv", obs, error)) return 0;
  static const std::vector<int32_t> daily(wxbuild::SeriesDays(), 1234);
  for (double latitude : {24.0, 45.5}) {
    const wxbuild::MonthlyStatistics stats = wxbuild::ComputeMonthlyStatistics(latitude, obs, daily);
    wxbuild::Station station;
    station.blockNo = "47654";
    station.stationNo = "50456";
    station.nameJa = "浜松";
    station.lat = latitude;
    std::string record;
    if (!wxbuild::EncodeMonthlyRecord(station, stats, record, error)) __builtin_trap();
  }
  return 0;
}
