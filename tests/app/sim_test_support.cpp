#include "app/sim_test_support.h"

#include "model/sim/weather_record.h"
#include "framework/calc_state.h"
#include "framework/calc_store.h"
#include "platform/cp932.h"
#include "platform/files.h"

namespace simtest {

namespace {

void PutInt16(std::string& bytes, int value) {
  const auto u = static_cast<uint16_t>(static_cast<int16_t>(value));
  bytes.push_back(static_cast<char>(u & 0xFF));
  bytes.push_back(static_cast<char>(u >> 8));
}

std::string WeatherFile(int stations, const DayValue& value, const YearField& yearField) {
  std::string bytes;
  for (int s = 1; s <= stations; ++s) {
    for (int y = app::kFirstYear; y <= app::kLastYear; ++y) {
      PutInt16(bytes, s);
      PutInt16(bytes, 0);
      PutInt16(bytes, yearField ? yearField(s, y) : y);
      for (int slot = 1; slot <= app::kDaySlots; ++slot) PutInt16(bytes, value(s, y, slot));
    }
  }
  return bytes;
}

}  // namespace

void WriteWeatherFiles(const std::string& folder, int stations, const DayValue& temperature,
                       const DayValue& precipitation, const YearField& yearField) {
  platform::MakeFolders(folder);
  platform::WriteFileBytesAtomic(folder + app::TemperatureFileName(), WeatherFile(stations, temperature, yearField));
  platform::WriteFileBytesAtomic(folder + app::PrecipitationFileName(),
                                 WeatherFile(stations, precipitation, yearField));
}

void MakeCase(const CaseSetup& setup) {
  using fw::CalcData;
  CalcData.assign(1, std::string(fw::kRecordWidth, ' '));

  fw::ResetRecordKind("SS1");
  fw::RecSS1.S[1] = platform::J(setup.title);
  fw::WriteRecSS1(CalcData, 1000);

  fw::ResetRecordKind("NN8");
  fw::RecNN8.N[1] = 22;
  fw::RecNN8.N[2] = 1;
  fw::RecNN8.N[3] = setup.station;
  fw::WriteRecNN8(CalcData, 1100);

  fw::ResetRecordKind("VV8");
  fw::RecVV8.V[1] = setup.roofArea;
  fw::RecVV8.V[2] = setup.catchArea;
  fw::RecVV8.V[3] = setup.runoffCoef;
  fw::WriteRecVV8(CalcData, 2100, "112-----");

  static constexpr float kFactors[8] = {0.25f, 0.5f, 1, 1.5f, 2, 3, 4, 5};
  fw::ResetRecordKind("VV8");
  for (int i = 1; i <= 8; ++i) fw::RecVV8.V[i] = setup.basicTank * kFactors[i - 1];
  fw::WriteRecVV8(CalcData, 3100, "11111111");

  fw::ResetRecordKind("VV8");
  fw::RecVV8.V[8] = setup.dailyUse;
  fw::WriteRecVV8(CalcData, 4100, "-------1");

  fw::ResetRecordKind("VV8");
  fw::RecVV8.V[1] = setup.snowTemp;
  fw::RecVV8.V[2] = setup.ineffectivePrecip;
  fw::WriteRecVV8(CalcData, 5100, "11------");

  bool sprinkling = false;
  for (int m = 1; m <= 12; ++m) sprinkling = sprinkling || setup.sprinkling[m] != 0;
  if (sprinkling) {
    fw::ResetRecordKind("HH12");
    for (int m = 1; m <= 12; ++m) fw::RecHH12.N[m] = setup.sprinkling[m];
    fw::WriteRecHH12(CalcData, 9101);
  }
}

std::vector<std::string> ReadLines(const std::string& insidePath) {
  std::vector<std::string> lines;
  platform::ReadTextLines(insidePath, lines);
  return lines;
}

std::string ReadBytes(const std::string& insidePath) {
  std::string bytes;
  platform::ReadFileBytes(insidePath, bytes);
  return bytes;
}

std::vector<std::string> SplitCrLf(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

}  // namespace simtest
