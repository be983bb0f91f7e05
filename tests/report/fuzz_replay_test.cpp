// Replays the seeds of the report library's fuzz targets (page store, data sets, expressions,
// stored descriptions) and every input that once made one of them fail (kept in
// fuzz_regressions/<target>/).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "fuzz/expr_fuzz.h"
#include "fuzz/page_store_fuzz.h"
#include "fuzz/report_text_fuzz.h"
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
    const char* problem = target(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    EXPECT_EQ(problem, nullptr) << problem;
    ++replayed;
  }
  return replayed;
}

}  // namespace

TEST(PageStoreFuzzReplay, PageFiles) {
  const std::filesystem::path root = testsupport::SourceDir();
  int n = Replay(root / "fuzz/seeds/page_file", rptfuzz::PageFile);
  n += Replay(root / "tests/report/fuzz_regressions/page_file", rptfuzz::PageFile);
  EXPECT_GT(n, 0);
}

TEST(PageStoreFuzzReplay, PageExpander) {
  const std::filesystem::path root = testsupport::SourceDir();
  int n = Replay(root / "fuzz/seeds/page_expand", rptfuzz::PageExpand);
  n += Replay(root / "tests/report/fuzz_regressions/page_expand", rptfuzz::PageExpand);
  EXPECT_GT(n, 0);
}

TEST(ExprFuzzReplay, TableCsv) {
  const std::filesystem::path root = testsupport::SourceDir();
  int n = Replay(root / "fuzz/seeds/table_csv", rptfuzz::TableCsv);
  n += Replay(root / "tests/report/fuzz_regressions/table_csv", rptfuzz::TableCsv);
  EXPECT_GT(n, 0);
}

TEST(ExprFuzzReplay, ReportExpression) {
  const std::filesystem::path root = testsupport::SourceDir();
  int n = Replay(root / "fuzz/seeds/report_expr", rptfuzz::ReportExpression);
  n += Replay(root / "tests/report/fuzz_regressions/report_expr", rptfuzz::ReportExpression);
  EXPECT_GT(n, 0);
}

TEST(ReportTextFuzzReplay, StoredDescriptions) {
  const std::filesystem::path root = testsupport::SourceDir();
  int n = Replay(root / "fuzz/seeds/report_text", rptfuzz::ReportText);
  n += Replay(root / "tests/report/fuzz_regressions/report_text", rptfuzz::ReportText);
  EXPECT_GT(n, 0);
}
