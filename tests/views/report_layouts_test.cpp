// The layouts of the three report pages: every control of every page and mode lies inside the
// margins, no two overlap, and each text control is high enough for its lines.
#include <gtest/gtest.h>

#include <set>

#include "support/test_support.h"
#include "views/report_layout_checks.h"
#include "views/report_layouts.h"

namespace {

using views::ReportControlKind;
using views::ReportControlLayout;

TEST(ReportLayouts, ControlsLieInsideTheMarginsAndApart) {
  for (int page = 1; page <= 3; ++page) {
    for (int mode = 1; mode <= (page == 1 ? 2 : page == 2 ? 3 : 1); ++mode) {
      SCOPED_TRACE("page " + std::to_string(page) + " mode " + std::to_string(mode));
      reporttest::ExpectInsideAndApart(views::PlacedControls(page, mode));
    }
  }
}

TEST(ReportLayouts, EveryPageHasTheControlsItsRoutinesFill) {
  auto names = [](int page, int mode) {
    std::set<std::string> set;
    for (const auto& c : views::PlacedControls(page, mode)) set.insert(c.name);
    return set;
  };
  const auto page1 = names(1, 1);
  for (const char* n : {"RPTLBL1_F", "RPTLBL1_D", "RPTLBL1_1", "RPTLBL1_10", "RPTLBL1_11", "RPTLBL1_13", "RPTMEMO1_1",
                        "RPTIMAG1_1", "RPTIMAG1_2", "RPTIMAG1_3"})
    EXPECT_TRUE(page1.contains(n)) << n;
  const auto page1mode2 = names(1, 2);
  for (const char* n : {"RPTIMAG1_1", "RPTLBL1_11", "RPTLBL1_12", "RPTLBL1_13"}) EXPECT_FALSE(page1mode2.contains(n)) << n;
  EXPECT_TRUE(page1mode2.contains("RPTLBL1_10"));
  const auto page2 = names(2, 1);
  for (const char* n : {"RPTLBL2_F", "RPTLBL2_10", "RPTMEMO2_1", "RPTIMAG2_1", "RPTIMAG2_2", "RPTLBL2_11", "RPTLBL2_12"})
    EXPECT_TRUE(page2.contains(n)) << n;
  const auto page3 = names(3, 1);
  for (const char* n : {"RPTLBL3_D", "RPTLBL3_1", "RPTLBL3_4", "RPTLBL3_01", "RPTLBL3_15", "RPTLBL3_16", "RPTIMAG3_1"})
    EXPECT_TRUE(page3.contains(n)) << n;
}

TEST(ReportLayouts, ImagesTakeTheirMetafileSizeAndPlaces) {
  auto find = [](int page, int mode, const std::string& name) {
    for (const auto& c : views::PlacedControls(page, mode))
      if (c.name == name) return c;
    return ReportControlLayout{};
  };
  const double px = 254.0 / 96.0;
  struct Case {
    int page, mode;
    const char* name;
    double widthPx, heightPx, topPx;  // topPx 0: not fixed
  } cases[] = {
      {1, 1, "RPTIMAG1_1", 700, 210, 382}, {1, 1, "RPTIMAG1_2", 700, 210, 616}, {1, 1, "RPTIMAG1_3", 700, 210, 850},
      {1, 2, "RPTIMAG1_2", 700, 210, 640}, {1, 2, "RPTIMAG1_3", 700, 210, 850}, {2, 1, "RPTIMAG2_1", 350, 360, 0},
      {2, 1, "RPTIMAG2_2", 350, 360, 0},   {3, 1, "RPTIMAG3_1", 700, 400, 0},
  };
  for (const Case& c : cases) {
    const ReportControlLayout l = find(c.page, c.mode, c.name);
    EXPECT_EQ(l.kind, ReportControlKind::Image) << c.name;
    EXPECT_NEAR(l.width, c.widthPx * px, 1e-9) << c.name;
    EXPECT_NEAR(l.height, c.heightPx * px, 1e-9) << c.name;
    if (c.topPx > 0) {
      EXPECT_NEAR(l.top, c.topPx * px, 1e-9) << c.name << " mode " << c.mode;
    }
  }
  // Page 2's graphs stand side by side.
  EXPECT_NEAR(find(2, 1, "RPTIMAG2_2").left, find(2, 1, "RPTIMAG2_1").left + find(2, 1, "RPTIMAG2_1").width, 1e-9);
  EXPECT_NEAR(find(2, 1, "RPTIMAG2_2").top, find(2, 1, "RPTIMAG2_1").top, 1e-9);
}

TEST(ReportLayouts, TextControlsHoldTheirLines) {
  // Line heights in 0.1 mm the printer gives the face (the largest of 96, 300 and 600 pixels
  // per inch), and the least height a label takes on the report (one 8-point line and a pixel).
  const double line7 = 27.1, line8 = 31.8, least = 34.4;
  for (int page = 1; page <= 3; ++page) {
    for (const auto& c : views::ReportLayout(page)) {
      if (c.kind == ReportControlKind::Image) continue;
      SCOPED_TRACE(c.name);
      EXPECT_TRUE(c.fontSize == 7 || c.fontSize == 8);
      EXPECT_GE(c.height, least);
      const int lines = c.kind == ReportControlKind::Memo ? 18 : c.name == "RPTLBL2_11" || c.name == "RPTLBL2_12" ? 2 : 1;
      EXPECT_LE(lines * (c.fontSize == 7 ? line7 : line8), c.height + 1);
    }
  }
}

}  // namespace
