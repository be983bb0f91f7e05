// Replays the seeds of the stored-point-data fuzz target and every input that once made it
// fail (kept in fuzz_regressions/series_data/).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "chart/unit.h"
#include "fuzz/series_data_fuzz.h"
#include "support/test_support.h"

TEST(SeriesDataFuzzReplay, SeedsAndKeptInputs) {
  chart::ChartLibraryScope scope;
  const std::filesystem::path root = testsupport::SourceDir();
  int replayed = 0;
  for (const auto& folder : {root / "fuzz/seeds/series_data", root / "tests/chart/fuzz_regressions/series_data"}) {
    if (!std::filesystem::is_directory(folder)) continue;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      if (!entry.is_regular_file()) continue;
      std::ifstream in(entry.path(), std::ios::binary);
      const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      SCOPED_TRACE(entry.path().string());
      const char* problem = chartfuzz::SeriesData(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
      EXPECT_EQ(problem, nullptr) << problem;
      ++replayed;
    }
  }
  EXPECT_GT(replayed, 0);
}
