// The check every report page passes, on its layout table and on the built report: each
// control has a size, lies inside the margins and overlaps no other.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "views/report_layouts.h"

namespace reporttest {

inline bool Overlap(const views::ReportControlLayout& a, const views::ReportControlLayout& b) {
  constexpr double kEpsilon = 1e-6;
  const double across = std::min(a.left + a.width, b.left + b.width) - std::max(a.left, b.left);
  const double down = std::min(a.top + a.height, b.top + b.height) - std::max(a.top, b.top);
  return across > kEpsilon && down > kEpsilon;
}

inline void ExpectInsideAndApart(const std::vector<views::ReportControlLayout>& controls) {
  constexpr double kEpsilon = 1e-6;
  ASSERT_FALSE(controls.empty());
  for (size_t i = 0; i < controls.size(); ++i) {
    const views::ReportControlLayout& c = controls[i];
    SCOPED_TRACE(c.name);
    EXPECT_GT(c.width, 0);
    EXPECT_GT(c.height, 0);
    EXPECT_GE(c.left, views::kReportMargin - kEpsilon);
    EXPECT_GE(c.top, views::kReportMargin - kEpsilon);
    EXPECT_LE(c.left + c.width, views::kReportPaperWidth - views::kReportMargin + kEpsilon);
    EXPECT_LE(c.top + c.height, views::kReportPaperLength - views::kReportMargin + kEpsilon);
    for (size_t j = i + 1; j < controls.size(); ++j) EXPECT_FALSE(Overlap(c, controls[j])) << controls[j].name;
  }
}

}  // namespace reporttest
