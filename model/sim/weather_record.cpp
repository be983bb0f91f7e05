#include "model/sim/weather_record.h"

#include "platform/cp932.h"

namespace app {

namespace {

int16_t GetInt16(const unsigned char* p) {
  return static_cast<int16_t>(static_cast<uint16_t>(p[0] | (p[1] << 8)));
}

}  // namespace

std::string TemperatureFileName() { return platform::J("気温(日次).DAT"); }
std::string PrecipitationFileName() { return platform::J("降水量(日次).DAT"); }

int64_t WeatherRecordOffset(int station, int year) {
  const int64_t index = static_cast<int64_t>(station - 1) * kYearCount + (year - kFirstYear);
  return index * kWeatherRecordSize;
}

int64_t StationsInWeatherFile(int64_t fileSize) {
  return fileSize < 0 ? 0 : fileSize / (kWeatherRecordSize * kYearCount);
}

void DecodeWeatherRecord(const unsigned char* bytes, TDailyWeatherRecord& record) {
  record.HeaderWord1 = GetInt16(bytes);
  record.HeaderWord2 = GetInt16(bytes + 2);
  record.Year = GetInt16(bytes + 4);
  for (int n = 0; n < kDaySlots; ++n) record.Values[n] = GetInt16(bytes + 6 + 2 * n);
}

}  // namespace app
