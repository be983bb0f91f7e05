// The report set of screen 3's page metafiles: its files in the order they are made, and the
// making itself with its two announcements, stopping at the first file that cannot be written.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/results/page_metafiles.h"
#include "support/test_support.h"

namespace {

using app::ReportMetafileStep;
using testsupport::U;

TEST(ReportMetafiles, StepsFollowTheNamesAndNeedEveryRepresentativeYear) {
  const std::array<int, 4> years{0, 5, 4, 1};
  const std::vector<ReportMetafileStep> steps = app::ReportMetafileSteps(years);
  const std::vector<ReportMetafileStep> expected{{1, 5, 0}, {1, 4, 0}, {1, 1, 0}, {2, 0, 0}, {3, 0, 0},
                                                 {4, 0, 1}, {4, 0, 2}, {4, 0, 3}, {4, 0, 4}, {5, 0, 0}};
  EXPECT_EQ(steps, expected);
  app::Screen3Data data;
  data.representative = years;
  std::vector<std::string> names;
  for (const ReportMetafileStep& s : steps) names.push_back("P" + app::PageMetafileSuffix(s.page, s.yearNumber, s.graph));
  EXPECT_EQ(names, app::ReportMetafileNames("P", data));
  EXPECT_TRUE(app::ReportMetafileSteps({0, 5, 0, 1}).empty());
}

// Records what the making asks of the screen; the write of step `failAt` (from 1) fails.
struct Recorder : app::ReportMetafileMaker {
  std::vector<std::string> calls;
  int failAt = 0;
  void Prepare() override { calls.push_back("prepare"); }
  void Show(const ReportMetafileStep& s) override {
    calls.push_back("show " + app::PageMetafileSuffix(s.page, s.yearNumber, s.graph));
  }
  bool Write() override {
    calls.push_back("write");
    return static_cast<int>(calls.size() - 1) / 2 != failAt;  // after "prepare", show and write per step
  }
};

TEST(ReportMetafiles, MakingAnnouncesItselfAndStopsAtTheFirstFailedWrite) {
  const auto steps = app::ReportMetafileSteps({0, 5, 4, 1});
  {
    testsupport::FakeUi ui;
    Recorder screen;
    EXPECT_TRUE(app::MakeReportMetafiles(steps, screen));
    ASSERT_EQ(screen.calls.size(), 21u);
    EXPECT_EQ(screen.calls[0], "prepare");
    EXPECT_EQ(screen.calls[1], "show (1-1985).EMF");
    EXPECT_EQ(screen.calls[20], "write");
    ASSERT_EQ(ui.shown.size(), 2u);
    EXPECT_EQ(U(ui.shown[0].text), "事前に報告書用のメタファイルを作成します。");
    EXPECT_EQ(U(ui.shown[1].text), "報告書用のメタファイルを作成しました。");
  }
  testsupport::FakeUi ui;
  Recorder screen;
  screen.failAt = 4;  // "(2).EMF"
  EXPECT_FALSE(app::MakeReportMetafiles(steps, screen));
  EXPECT_EQ(screen.calls.back(), "write");
  EXPECT_EQ(screen.calls[screen.calls.size() - 2], "show (2).EMF");
  ASSERT_EQ(ui.shown.size(), 1u);  // no completion message
}

}  // namespace
