// The daily weather files read by the simulation: "気温(日次).DAT" (temperature, 0.01 °C) and
// "降水量(日次).DAT" (precipitation, 0.1 mm) in the calculation-data folder. Both are files of
// fixed 738-byte records without a file header, all integers little-endian:
//
//   bytes 0-1   int16  header word 1 (not used)
//   bytes 2-3   int16  header word 2 (not used)
//   bytes 4-5   int16  calendar year of the record (1981 to 1995)
//   bytes 6-737 366 x int16, the value of day-of-year 1 to 366; in a common year slot 366 is
//               present and not read
//
// Each station has 15 consecutive records, 1981 first: station s (from 1), year y is record
// (s - 1) x 15 + (y - 1981), counted from 0, in both files.
#pragma once

#include <cstdint>
#include <string>

namespace app {

constexpr int kFirstYear = 1981;
constexpr int kLastYear = 1995;
constexpr int kYearCount = kLastYear - kFirstYear + 1;  // 15
constexpr int kDaySlots = 366;
constexpr int64_t kWeatherRecordSize = 6 + 2 * kDaySlots;  // 738

struct TDailyWeatherRecord {
  int16_t HeaderWord1 = 0;
  int16_t HeaderWord2 = 0;
  int16_t Year = 0;
  int16_t Values[kDaySlots] = {};  // Values[n - 1] is day-of-year n
};

// The file names inside the calculation-data folder (CP932).
std::string TemperatureFileName();    // "気温(日次).DAT"
std::string PrecipitationFileName();  // "降水量(日次).DAT"

// Byte offset of the record of station `station` (from 1) and calendar year `year`.
int64_t WeatherRecordOffset(int station, int year);
// Number of stations whose fifteen records a file of `fileSize` bytes holds in full.
int64_t StationsInWeatherFile(int64_t fileSize);

// Reads one record from kWeatherRecordSize little-endian bytes.
void DecodeWeatherRecord(const unsigned char* bytes, TDailyWeatherRecord& record);

}  // namespace app
