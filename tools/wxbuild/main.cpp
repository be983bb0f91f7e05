// wxbuild WEATHER_DIR ROOT_DIR
// Builds the installed weather files (WCD\JPN_STAT.DAT, WCD\JPN_WPNT.DAT, WCD\JPN_CITY.DAT,
// WCD\JPN_MONT.DAT, CAL\気温(日次).DAT, CAL\降水量(日次).DAT) under ROOT_DIR, the folder the
// program finds its data in, from the observations in WEATHER_DIR (stations.csv, cities.csv,
// daily/*.csv, monthly/*.csv).
#include <chrono>
#include <cstdio>
#include <iostream>

#include "tools/wxbuild/wx_builder.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s WEATHER_DIR ROOT_DIR\n", argv[0]);
    return 2;
  }
  auto start = std::chrono::steady_clock::now();
  wxbuild::BuildSummary summary;
  std::string error;
  if (!wxbuild::BuildWeatherData(argv[1], argv[2], std::cout, summary, error)) {
    std::fprintf(stderr, "wxbuild: %s\n", error.c_str());
    return 1;
  }
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("wxbuild: weather files written under %s in %.2f s\n", argv[2], seconds);
  return 0;
}
