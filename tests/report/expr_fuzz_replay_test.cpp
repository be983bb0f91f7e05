// Replays the seeds of the data-set and expression fuzz targets and every input that once made
// one of them fail (kept in fuzz_regressions/<target>/).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "fuzz/expr_fuzz.h"
#include "support/test_support.h"

namespace {

using Target = const char* (*)(const uint8_t*, size_t);

int Replay(const std::filesystem::path& folder, Target target) {
  int replayed = 0;
  if (!std::filesystem::is_directory(folder)) return 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (!entry.is_regular_file()) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    SCOPED_TRACE(entry.path().string());
    const char* problem = nullptr;
    EXPECT_NO_THROW(problem = target(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
    EXPECT_EQ(problem, nullptr) << problem;
    ++replayed;
  }
  return replayed;
}

int ReplayTarget(const char* name, Target target) {
  const std::filesystem::path root = testsupport::SourceDir();
  return Replay(root / "fuzz/seeds" / name, target) + Replay(root / "tests/report/fuzz_regressions" / name, target);
}

}  // namespace

TEST(ExprFuzzReplay, TableCsv) { EXPECT_GT(ReplayTarget("table_csv", rptfuzz::TableCsv), 0); }

TEST(ExprFuzzReplay, ReportExpression) { EXPECT_GT(ReplayTarget("report_expr", rptfuzz::ReportExpression), 0); }
