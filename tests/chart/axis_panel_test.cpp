// The axis panel: axis visibility and automatic ends, paging, the 3D percent, the layout of
// the axes around the plot rectangle, the drawing order, and the mouse over series.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "chart/axis_panel.h"
#include "chart/errors.h"
#include "chart/procs.h"
#include "chart/series.h"
#include "chart/unit.h"
#include "panel_fixture.h"

using namespace chart;

namespace {

// A series that does not use axes (a pie, say).
class NoAxesSeries : public TChartSeries {
 public:
  bool UsesAxes() const override { return false; }
};

// A series that records its drawing and answers PointAt inside a box.
class RecordingSeries : public TChartSeries {
 public:
  explicit RecordingSeries(std::vector<std::string>* log = nullptr, std::string name = {})
      : log_(log), name_(std::move(name)) {}
  void PaintPoint(int index) override {
    if (log_) log_->push_back(name_ + std::to_string(index));
  }
  int PointAt(int x, int y) override { return hit.left <= x && x < hit.right && hit.top <= y && y < hit.bottom ? 0 : -1; }
  TRect hit{};

 private:
  std::vector<std::string>* log_;
  std::string name_;
};

class RecordingTool : public TChartTool {
 public:
  explicit RecordingTool(std::vector<std::string>* log) : log_(log) {}
  void ChartEvent(TCustomAxisPanel&, TChartToolEvent stage) override { log_->push_back("tool" + std::to_string(stage)); }

 private:
  std::vector<std::string>* log_;
};

class AxisPanel : public ::testing::Test {
 protected:
  AxisPanel() {
    chart_.resize(400, 250);
    chart_.SetBevelOuter(bvNone);
    chart_.SetView3D(false);
  }
  void Draw() { charttest::PanelPicture(chart_); }

  ChartLibraryScope scope_;
  TCustomAxisPanel chart_;
};

}  // namespace

TEST_F(AxisPanel, AxisVisibilityAndEndsWithoutSeries) {
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(chart_.IsAxisVisible(chart_.Axes()[i])) << i;
  EXPECT_FALSE(chart_.IsAxisVisible(chart_.DepthAxis()));
  chart_.CalcAxesLayout();
  EXPECT_EQ(chart_.LeftAxis()->Minimum(), 0);
  EXPECT_EQ(chart_.LeftAxis()->Maximum(), 0);
  // With a series only its axes show; a first series without axes hides them all.
  TChartSeries s;
  s.SetParentChart(&chart_);
  s.AddY(1);
  EXPECT_TRUE(chart_.IsAxisVisible(chart_.LeftAxis()));
  EXPECT_TRUE(chart_.IsAxisVisible(chart_.BottomAxis()));
  EXPECT_FALSE(chart_.IsAxisVisible(chart_.RightAxis()));
  EXPECT_FALSE(chart_.IsAxisVisible(chart_.TopAxis()));
  NoAxesSeries pie;
  pie.SetParentChart(&chart_);
  chart_.SeriesList().Exchange(0, 1);
  EXPECT_FALSE(chart_.IsAxisVisible(chart_.LeftAxis()));
  chart_.SeriesList().Exchange(0, 1);
  chart_.SetAxisVisible(false);
  EXPECT_FALSE(chart_.IsAxisVisible(chart_.LeftAxis()));
  chart_.SetAxisVisible(true);
  chart_.SetView3D(true);
  chart_.DepthAxis()->SetVisible(true);
  EXPECT_TRUE(chart_.IsAxisVisible(chart_.DepthAxis()));
  pie.SetParentChart(nullptr);
  s.SetParentChart(nullptr);
}

TEST_F(AxisPanel, AutomaticEndsFromTheSeries) {
  TChartSeries a, b;
  a.SetParentChart(&chart_);
  b.SetParentChart(&chart_);
  b.SetVertAxis(aRightAxis);
  a.AddPoint(2, -5);
  a.AddPoint(4, 7);
  b.AddPoint(-1, 100);
  b.AddPoint(9, 300);
  EXPECT_EQ(chart_.AxisMinMax(chart_.BottomAxis(), true), -1);
  EXPECT_EQ(chart_.AxisMinMax(chart_.BottomAxis(), false), 9);
  EXPECT_EQ(chart_.AxisMinMax(chart_.LeftAxis(), true), -5);
  EXPECT_EQ(chart_.AxisMinMax(chart_.RightAxis(), false), 300);
  // Only active series count while any is active; with none active all do.
  b.SetActive(false);
  EXPECT_EQ(chart_.AxisMinMax(chart_.BottomAxis(), false), 4);
  EXPECT_EQ(chart_.AxisMinMax(chart_.RightAxis(), false), 300);
  EXPECT_EQ(chart_.AxisMinMax(chart_.TopAxis(), false), 0);
  // Depth: the series' slots.
  EXPECT_EQ(chart_.AxisMinMax(chart_.DepthAxis(), true), -0.5);
  EXPECT_EQ(chart_.AxisMinMax(chart_.DepthAxis(), false), 0.5);
  a.SetParentChart(nullptr);
  b.SetParentChart(nullptr);
}

TEST_F(AxisPanel, Paging) {
  TChartSeries s;
  s.SetParentChart(&chart_);
  for (int i = 0; i < 12; ++i) s.AddY(i * i);
  int pageEvents = 0;
  chart_.OnPageChange = [&](TCustomPlotPanel&) { ++pageEvents; };
  EXPECT_THROW(chart_.SetMaxPointsPerPage(-1), ChartException);
  chart_.SetMaxPointsPerPage(5);
  EXPECT_EQ(chart_.NumPages(), 3);
  chart_.SetPage(3);
  EXPECT_EQ(pageEvents, 1);
  EXPECT_EQ(chart_.AxisMinMax(chart_.BottomAxis(), true), 10);
  EXPECT_EQ(chart_.AxisMinMax(chart_.BottomAxis(), false), 11);
  // The values axis still spans the whole series.
  EXPECT_EQ(chart_.AxisMinMax(chart_.LeftAxis(), false), 121);
  chart_.SetScaleLastPage(false);
  EXPECT_EQ(chart_.AxisMinMax(chart_.BottomAxis(), false), 10 + 5 * (11 - 10) / 2.0);
  chart_.SetPage(0);
  EXPECT_EQ(chart_.Page(), 1);
  chart_.SetPage(9);
  EXPECT_EQ(chart_.Page(), 3);
  chart_.SetPage(3);
  EXPECT_EQ(pageEvents, 3);
  // Fewer points per page than the page shown: pulled back to the last page.
  chart_.SetMaxPointsPerPage(6);
  EXPECT_EQ(chart_.Page(), 2);
  s.SetParentChart(nullptr);
}

TEST_F(AxisPanel, Chart3DPercentAndSizes) {
  try {
    chart_.SetChart3DPercent(0);
    ADD_FAILURE();
  } catch (const ChartException& e) {
    EXPECT_STREQ(e.what(), "3D effect percent must be between 1 and 100");
  }
  EXPECT_THROW(chart_.SetChart3DPercent(101), ChartException);
  EXPECT_EQ(chart_.Chart3DPercent(), 15);
  chart_.SetChart3DPercent(100);
  EXPECT_EQ(chart_.Chart3DPercent(), 100);
  chart_.SetChart3DPercent(15);
  chart_.SetView3D(true);
  TChartSeries a, b;
  a.SetParentChart(&chart_);
  b.SetParentChart(&chart_);
  a.AddY(1);
  b.AddY(2);
  Draw();
  // Orthogonal at 45 degrees: a series is plot width x 15 / 1000 deep, two of them in a row.
  const int depth = Round(chart_.PlotWidth() * 15 / 1000.0);
  EXPECT_EQ(chart_.SeriesWidth3D(), depth);
  EXPECT_EQ(chart_.MaxZOrder(), 1);
  EXPECT_EQ(chart_.TotalDepth, 2 * depth);
  // The first series lies at the back unless the depth axis is inverted.
  EXPECT_EQ(a.ZIndex(), 1);
  EXPECT_EQ(b.ZIndex(), 0);
  EXPECT_EQ(a.StartZ(), depth);
  EXPECT_EQ(a.EndZ(), 2 * depth);
  chart_.SetView3D(false);
  Draw();
  EXPECT_EQ(chart_.TotalDepth, 0);
  EXPECT_EQ(a.ZIndex(), 0);
  a.SetParentChart(nullptr);
  b.SetParentChart(nullptr);
}

TEST_F(AxisPanel, AxesTakeTheirRoomFromThePlotRectangle) {
  TChartSeries s;
  s.SetParentChart(&chart_);
  s.AddPoint(0, 0);
  s.AddPoint(10, 100);
  chart_.LeftAxis()->SetMinMax(0, 100);
  const TRect before{12, 10, 388, 240};
  chart_.SetChartRect(before);
  chart_.CalcAxesLayout();
  const TRect after = chart_.ChartRect();
  TChartAxis& left = *chart_.LeftAxis();
  TChartAxis& bottom = *chart_.BottomAxis();
  // Ticks: line width 2 + 1, tick length 4; labels: the widest label and a blank.
  TCanvas3D& c = chart_.Canvas();
  c.SelectFont(left.LabelsFont());
  const int labels = c.TextWidth("100 ");
  EXPECT_EQ(after.left - before.left, 2 + 1 + 4 + labels);
  EXPECT_EQ(before.bottom - after.bottom, 2 + 1 + 4 + c.TextHeight("W"));
  EXPECT_EQ(after.right, before.right);
  EXPECT_EQ(after.top, before.top);
  EXPECT_EQ(left.PosAxis(), after.left);
  EXPECT_EQ(left.PosLabels(), after.left - 7);
  EXPECT_EQ(bottom.PosAxis(), after.bottom);
  EXPECT_EQ(left.IStartPos(), after.top);
  EXPECT_EQ(left.IEndPos(), after.bottom);
  // A title takes its own room; a fixed label size replaces the measured one.
  left.Title().SetCaption("Title");
  left.SetLabelsSize(30);
  chart_.SetChartRect(before);
  chart_.CalcAxesLayout();
  c.SelectFont(left.Title().Font());
  EXPECT_EQ(chart_.ChartRect().left - before.left, 7 + 30 + c.TextHeight("W"));
  // A hidden axis leaves its side to the plot, unless the room event asks for some.
  left.SetVisible(false);
  chart_.Axes().OnCalcRoom = [&](TChartAxis* axis, int& room) {
    if (axis == &left) room = 12;
  };
  chart_.SetChartRect(before);
  chart_.CalcAxesLayout();
  EXPECT_EQ(chart_.ChartRect().left - before.left, 12);
  s.SetParentChart(nullptr);
}

TEST_F(AxisPanel, DrawingOrderStagesAndEvents) {
  std::vector<std::string> log;
  RecordingTool tool(&log);
  chart_.Tools().Add(&tool);
  RecordingSeries a(&log, "a"), b(&log, "b");
  a.SetParentChart(&chart_);
  b.SetParentChart(&chart_);
  a.AddY(1);
  b.AddY(2);
  b.AddY(3);
  chart_.OnBeforeDrawChart = [&](TCustomPlotPanel&) { log.push_back("chart"); };
  chart_.OnBeforeDrawAxes = [&](TCustomPlotPanel&) { log.push_back("axes"); };
  chart_.OnBeforeDrawSeries = [&](TCustomPlotPanel&) { log.push_back("series"); };
  chart_.OnAfterDraw = [&](TCustomPlotPanel&) { log.push_back("after"); };
  a.BeforeDrawValues = [&](TChartSeries*) { log.push_back("before a"); };
  Draw();
  EXPECT_EQ(log, (std::vector<std::string>{"tool2", "chart", "tool3", "axes", "tool1", "series", "before a", "a0",
                                           "b0", "b1", "tool4", "tool0", "after"}));
  // Axes over the series; an inactive series is not drawn.
  log.clear();
  chart_.SetAxisBehind(false);
  b.SetActive(false);
  Draw();
  EXPECT_EQ(log, (std::vector<std::string>{"tool2", "chart", "tool1", "series", "before a", "a0", "tool4", "tool3",
                                           "axes", "tool0", "after"}));
  // A series of the tools' kind that is switched off hears nothing.
  log.clear();
  tool.SetActive(false);
  Draw();
  EXPECT_EQ(log.front(), "chart");
  chart_.Tools().Remove(&tool);
  a.SetParentChart(nullptr);
  b.SetParentChart(nullptr);
}

TEST_F(AxisPanel, SeriesSharingADepthRowInterleaveTheirPoints) {
  std::vector<std::string> log;
  RecordingSeries a(&log, "a"), b(&log, "b");
  a.SetParentChart(&chart_);
  b.SetParentChart(&chart_);
  a.SetZOrder(0);
  b.SetZOrder(0);
  for (int i = 0; i < 3; ++i) {
    a.AddY(i);
    b.AddY(i);
  }
  chart_.SetView3D(true);
  Draw();
  EXPECT_EQ(log, (std::vector<std::string>{"a0", "b0", "a1", "b1", "a2", "b2"}));
  a.SetParentChart(nullptr);
  b.SetParentChart(nullptr);
}

TEST_F(AxisPanel, MouseOverSeries) {
  RecordingSeries s;
  s.SetParentChart(&chart_);
  s.AddY(1);
  s.hit = TRect{10, 10, 20, 20};
  std::vector<std::string> log;
  // Without a cursor or handlers the series is not asked.
  EXPECT_FALSE(chart_.CheckMouseOverSeries(15, 15));
  s.OnMouseEnter = [&](TChartSeries*) { log.push_back("enter"); };
  s.OnMouseLeave = [&](TChartSeries*) { log.push_back("leave"); };
  EXPECT_TRUE(chart_.CheckMouseOverSeries(15, 15));
  EXPECT_TRUE(chart_.CheckMouseOverSeries(16, 15));
  EXPECT_FALSE(chart_.CheckMouseOverSeries(50, 50));
  EXPECT_FALSE(chart_.CheckMouseOverSeries(60, 50));
  EXPECT_EQ(log, (std::vector<std::string>{"enter", "leave"}));
  s.SetParentChart(nullptr);
}

TEST_F(AxisPanel, ExtremeValuesDrawAndEnd) {
  const double kNaN = std::nan(""), kInf = std::numeric_limits<double>::infinity();
  struct Case {
    const char* what;
    std::vector<double> values;
    bool logarithmic, dateTime;
  } cases[] = {
      {"huge range", {1e300, -1e300}, false, false},
      {"tiny range", {1e-300, 2e-300}, false, false},
      {"zero range", {5, 5}, false, false},
      {"not a number", {kNaN, 1}, false, false},
      {"infinite", {kInf, -kInf}, false, false},
      {"logarithmic across the doubles", {1e-300, 1e300}, true, false},
      {"dates beyond the calendar", {-1e9, 1e9}, false, true},
      {"date-time months", {EncodeDate(1995, 1, 1), EncodeDate(1995, 12, 31)}, false, true},
  };
  for (const Case& c : cases) {
    TChartSeries s;
    s.SetParentChart(&chart_);
    for (double v : c.values) s.AddY(v);
    s.YValues().SetDateTime(c.dateTime);
    chart_.LeftAxis()->SetLogarithmic(c.logarithmic);
    chart_.LeftAxis()->SetExactDateTime(true);
    chart_.LeftAxis()->SetIncrement(c.dateTime ? 30 : 0);
    Draw();
    EXPECT_LE(chart_.LeftAxis()->TickPositions().size(), static_cast<size_t>(kMaxAxisLabels)) << c.what;
    chart_.LeftAxis()->SetLogarithmic(false);
    s.SetParentChart(nullptr);
  }
  // A fixed axis whose ends are far apart or not numbers.
  TChartSeries s;
  s.SetParentChart(&chart_);
  s.AddY(1);
  for (auto [low, high] : {std::pair{-1e308, 1e308}, {0.0, 1e-300}, {kNaN, kNaN}}) {
    chart_.LeftAxis()->SetMinMax(low, high);
    Draw();
  }
  s.SetParentChart(nullptr);
}

// A chart of 100,000 series (the input that took over a minute when each added series was
// looked for along the list and each drawn series looked along it for others of its depth):
// adding, drawing in 3D with a depth row per series and with all in one row, and removing
// look at each series a few times.
TEST_F(AxisPanel, ManySeriesAreAddedDrawnAndRemovedLookingAtEachAFewTimes) {
  const int n = 100000;
  std::vector<std::unique_ptr<TChartSeries>> all;
  all.reserve(n);
  for (int i = 0; i < n; ++i) {
    auto s = std::make_unique<TChartSeries>();
    s->SetSeriesColor(clRed);
    s->AddY(i % 10);
    all.push_back(std::move(s));
  }
  const long long listedBefore = chart_.SeriesList().EntriesLookedAt();
  for (auto& s : all) s->SetParentChart(&chart_);
  ASSERT_EQ(chart_.SeriesCount(), n);
  EXPECT_EQ(chart_.SeriesList().IndexOf(all[n - 1].get()), n - 1);
  chart_.SetView3D(true);
  for (const bool ownDepth : {true, false}) {
    SCOPED_TRACE(ownDepth ? "a depth row each" : "one depth row");
    chart_.SetSeriesOwnDepth(ownDepth);
    const long long visits = chart_.DepthRowVisits();
    Draw();
    EXPECT_LE(chart_.DepthRowVisits() - visits, n);
  }
  for (int i = n - 1; i >= 0; --i) all[static_cast<size_t>(i)]->SetParentChart(nullptr);
  EXPECT_EQ(chart_.SeriesCount(), 0);
  EXPECT_LE(chart_.SeriesList().EntriesLookedAt() - listedBefore, 16LL * n);
}
