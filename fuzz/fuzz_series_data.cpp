// Fuzz target: the stored point data of a chart series (the form property "Data"), read into
// series of three kinds and written back (series_data_fuzz.h).
#include <cstdio>
#include <cstdlib>

#include "chart/unit.h"
#include "fuzz/series_data_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static chart::ChartLibraryScope scope;
  if (const char* problem = chartfuzz::SeriesData(data, size)) {
    std::fprintf(stderr, "%s\n", problem);
    std::abort();
  }
  return 0;
}
