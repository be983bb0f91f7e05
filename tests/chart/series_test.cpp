// The series base: adding and deleting points, colours and labels, linked series and data
// sources, copying, sample values, groups, series-source components and titles.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "chart/axis_panel.h"
#include "chart/errors.h"
#include "chart/messages.h"
#include "chart/procs.h"
#include "chart/series.h"
#include "chart/unit.h"

using namespace chart;

namespace {

class SeriesTest : public ::testing::Test {
 protected:
  ChartLibraryScope scope_;
};

std::vector<double> Xs(const TChartSeries& s) { return {s.XValues().Values().begin(), s.XValues().Values().end()}; }
std::vector<double> Ys(const TChartSeries& s) { return {s.YValues().Values().begin(), s.YValues().Values().end()}; }

// The message a call raises, or "" when it raises nothing.
template <class F>
std::string Raised(F&& f) {
  try {
    f();
  } catch (const ChartException& e) {
    return e.what();
  }
  return {};
}

// A series fed with a few points.
std::unique_ptr<TChartSeries> SeriesOf(std::initializer_list<double> ys) {
  auto s = std::make_unique<TChartSeries>();
  for (double y : ys) s->AddY(y);
  return s;
}

}  // namespace

TEST_F(SeriesTest, AddYNumbersFromZeroAgainAfterClearing) {
  TChartSeries s;
  EXPECT_EQ(s.AddY(5), 0);
  EXPECT_EQ(s.AddY(6), 1);
  EXPECT_EQ(s.AddY(7), 2);
  EXPECT_EQ(Xs(s), (std::vector<double>{0, 1, 2}));
  EXPECT_TRUE(s.ManualData());
  s.RemoveAllPoints();
  EXPECT_EQ(s.PointCount(), 0);
  EXPECT_EQ(s.AddY(8), 0);
  EXPECT_EQ(s.XValue(0), 0);
}

TEST_F(SeriesTest, AddPointKeepsXOrderAndMovesEverythingAlong) {
  TChartSeries s;
  EXPECT_EQ(s.AddPoint(3, 30, "c", clRed), 0);
  EXPECT_EQ(s.AddPoint(1, 10, "a"), 0);
  EXPECT_EQ(s.AddPoint(2, 20, "", clBlue), 1);
  EXPECT_EQ(Xs(s), (std::vector<double>{1, 2, 3}));
  EXPECT_EQ(Ys(s), (std::vector<double>{10, 20, 30}));
  EXPECT_EQ(s.XLabel(0), "a");
  EXPECT_EQ(s.XLabel(1), "");
  EXPECT_EQ(s.XLabel(2), "c");
  EXPECT_EQ(s.PointColors(), (std::vector<TColor>{clDefault, clBlue, clRed}));
  // A horizontal kind's values: AddValue counts along Y.
  s.OnBeforeAdd = [](TChartSeries*) { return false; };
  EXPECT_EQ(s.AddY(1), -1);
  EXPECT_EQ(s.PointCount(), 3);
}

TEST_F(SeriesTest, ColoursAndLabelsAreKeptOnlyOnceThereIsOne) {
  TChartSeries s;
  s.SetSeriesColor(clGreen);
  s.AddY(1);
  s.AddY(2, "", clDefault);
  EXPECT_FALSE(s.HasPointColors());
  EXPECT_TRUE(s.Labels().Empty());
  s.AddY(3, "three", clRed);
  EXPECT_EQ(s.PointColors(), (std::vector<TColor>{clDefault, clDefault, clRed}));
  EXPECT_EQ(s.Labels().Texts(), (std::vector<std::string>{"", "", "three"}));
  s.AddY(4);  // once labels exist, every point has an entry
  EXPECT_EQ(s.Labels().Count(), 4);
  EXPECT_EQ(s.PointColors().size(), 4u);

  EXPECT_EQ(s.ColorOfPoint(0), clGreen);
  EXPECT_EQ(s.ColorOfPoint(2), clRed);
  s.SetColorEachPoint(true);
  EXPECT_EQ(s.ColorOfPoint(1), DefaultPaletteColor(1));
  EXPECT_EQ(s.ColorOfPoint(2), clRed);
  EXPECT_EQ(s.AddNull("gap"), 4);
  EXPECT_EQ(s.ColorOfPoint(4), clNone);
  EXPECT_TRUE(s.IsNull(4));
  EXPECT_EQ(s.AddNullXY(10, 5), 5);
  EXPECT_TRUE(s.IsNull(5));
}

TEST_F(SeriesTest, DeleteRaisesOutsideThePointsAndDeleteRangeStopsAtTheLast) {
  auto s = SeriesOf({0, 1, 2, 3, 4});
  EXPECT_EQ(Raised([&] { s->Delete(5); }), "Series Delete: ValueIndex 5 out of bounds (0 to 4).");
  EXPECT_EQ(Raised([&] { s->Delete(-1); }), "Series Delete: ValueIndex -1 out of bounds (0 to 4).");
  s->SetPointColor(4, clRed);
  s->SetXLabel(3, "three");
  s->Delete(1);
  EXPECT_EQ(Ys(*s), (std::vector<double>{0, 2, 3, 4}));
  EXPECT_EQ(s->XLabel(2), "three");
  EXPECT_EQ(s->ColorOfPoint(3), clRed);

  const struct {
    int start, number;
    bool renumber;
    std::vector<double> ys, xs;
  } kCases[] = {
      {3, 10, false, {0, 1, 2}, {0, 1, 2}},
      {1, 2, false, {0, 3, 4}, {0, 3, 4}},
      {1, 2, true, {0, 3, 4}, {0, 1, 2}},
      {-1, 2, false, {0, 1, 2, 3, 4}, {0, 1, 2, 3, 4}},
      {1, -1, false, {0, 1, 2, 3, 4}, {0, 1, 2, 3, 4}},
      {5, 1, false, {0, 1, 2, 3, 4}, {0, 1, 2, 3, 4}},
  };
  for (const auto& c : kCases) {
    auto t = SeriesOf({0, 1, 2, 3, 4});
    t->SetPointColor(1, clRed);
    t->SetXLabel(4, "four");
    t->DeleteRange(c.start, c.number, c.renumber);
    EXPECT_EQ(Ys(*t), c.ys) << c.start << " " << c.number;
    EXPECT_EQ(Xs(*t), c.xs) << c.start << " " << c.number;
    EXPECT_LE(t->PointColors().size(), static_cast<size_t>(t->PointCount()));
    EXPECT_LE(t->Labels().Count(), t->PointCount());
  }
}

TEST_F(SeriesTest, LinkedSeriesFollowAddDeleteClearAndModify) {
  auto a = SeriesOf({10, 20});
  a->SetXLabel(1, "b");
  TChartSeries b;
  b.SetDataSource(a.get());
  EXPECT_EQ(Ys(b), (std::vector<double>{10, 20}));
  EXPECT_EQ(b.XLabel(1), "b");
  EXPECT_FALSE(b.ManualData());

  a->AddY(30, "c", clRed);
  EXPECT_EQ(Ys(b), (std::vector<double>{10, 20, 30}));
  EXPECT_EQ(b.ColorOfPoint(2), clRed);
  a->Delete(0);
  EXPECT_EQ(Ys(b), (std::vector<double>{20, 30}));
  a->SetYValue(1, 99);
  EXPECT_EQ(Ys(b), (std::vector<double>{20, 99}));
  a->AddY(1);
  a->AddY(2);
  a->DeleteRange(1, 2);  // a run: followed by copying again
  EXPECT_EQ(Ys(b), Ys(*a));
  // An update tells the linked series once, at its end.
  a->BeginUpdate();
  a->AddY(7);
  a->AddY(8);
  EXPECT_EQ(b.PointCount(), 2);
  a->EndUpdate();
  EXPECT_EQ(Ys(b), Ys(*a));
  a->RemoveAllPoints();
  EXPECT_EQ(b.PointCount(), 0);

  // Without the insert option additions do not reach the linked series.
  a->AddY(1);
  b.SetRecalcOptions(kAllRecalcOptions & ~rOnInsert);
  a->AddY(2);
  EXPECT_EQ(b.PointCount(), 1);

  // A source going away leaves the series without source.
  a.reset();
  EXPECT_EQ(b.DataSource(), nullptr);
  EXPECT_EQ(b.PointCount(), 0);
}

TEST_F(SeriesTest, CircularAndInvalidSourcesAreRefusedAndNothingChanges) {
  auto a = SeriesOf({1, 2});
  auto b = std::make_unique<TChartSeries>();
  auto c = std::make_unique<TChartSeries>();
  b->SetDataSource(a.get());
  c->SetDataSource(b.get());
  EXPECT_EQ(Raised([&] { a->SetDataSource(c.get()); }), "Circular Series dependences are not allowed");
  EXPECT_EQ(Raised([&] { a->SetDataSource(b.get()); }), "Circular Series dependences are not allowed");
  EXPECT_EQ(a->DataSource(), nullptr);
  EXPECT_EQ(b->DataSource(), a.get());
  EXPECT_EQ(Ys(*a), (std::vector<double>{1, 2}));
  EXPECT_EQ(Ys(*c), (std::vector<double>{1, 2}));
  // Without a chart the series decides; with one the chart does, naming the source.
  EXPECT_EQ(Raised([&] { a->SetDataSource(a.get()); }), "No ParentChart to validate DataSource");
  QObject other;
  EXPECT_EQ(Raised([&] { a->SetDataSource(&other); }), "No ParentChart to validate DataSource");
  TCustomAxisPanel chart;
  a->SetParentChart(&chart);
  a->SetName("Series1");
  EXPECT_EQ(Raised([&] { a->SetDataSource(a.get()); }), "No valid DataSource: Series1");
  EXPECT_EQ(Raised([&] { a->SetDataSource(&other); }), "No valid DataSource: QObject");
  a->SetParentChart(nullptr);
}

TEST_F(SeriesTest, SwapPointsAndCheckOrderMoveColoursAndLabels) {
  TChartSeries s;
  s.AddY(30, "c", clRed);
  s.AddY(10, "a");
  s.AddY(20, "b", clBlue);
  s.SwapPoints(0, 2);
  EXPECT_EQ(Ys(s), (std::vector<double>{20, 10, 30}));
  EXPECT_EQ(s.XLabel(0), "b");
  EXPECT_EQ(s.ColorOfPoint(2), clRed);
  s.YValues().SetOrder(loAscending);
  s.CheckOrder();
  EXPECT_EQ(Ys(s), (std::vector<double>{10, 20, 30}));
  EXPECT_EQ(Xs(s), (std::vector<double>{0, 1, 2}));
  EXPECT_EQ(s.Labels().Texts(), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(s.ColorOfPoint(1), clBlue);
  EXPECT_EQ(s.ColorOfPoint(2), clRed);
}

TEST_F(SeriesTest, CopyFromTakesSettingsAndOwnPointsOrTheSources) {
  auto source = SeriesOf({1, 2, 3});
  source->SetTitle("Rain");
  source->SetSeriesColor(clRed);
  source->SetValueFormat("0.0");
  source->SetHorizAxis(aTopAxis);
  source->SetXLabel(0, "jan");
  source->SetStyle(0x45);
  TChartSeries copy;
  copy.CopyFrom(*source);
  EXPECT_EQ(copy.Title(), "Rain");
  EXPECT_EQ(copy.SeriesColor(), clRed);
  EXPECT_EQ(copy.ValueFormat(), "0.0");
  EXPECT_TRUE(copy.IsValueFormatStored());
  EXPECT_EQ(copy.HorizAxis(), aTopAxis);
  EXPECT_EQ(copy.Style(), 0x05);
  EXPECT_EQ(Ys(copy), (std::vector<double>{1, 2, 3}));
  EXPECT_EQ(copy.XLabel(0), "jan");

  TChartSeries fed, fedCopy;
  fed.SetDataSource(source.get());
  fedCopy.CopyFrom(fed);
  EXPECT_EQ(fedCopy.DataSource(), source.get());
  EXPECT_EQ(Ys(fedCopy), (std::vector<double>{1, 2, 3}));
}

TEST_F(SeriesTest, SampleValues) {
  TChartSeries s;
  EXPECT_EQ(Raised([&] { s.FillSampleValues(-1); }), "FillSampleValues NumValues must be > 0");
  s.FillSampleValues(0);
  EXPECT_EQ(s.PointCount(), 25);
  EXPECT_EQ(s.XValue(0), 0);
  EXPECT_EQ(s.XValue(24), 24);
  EXPECT_FALSE(s.ManualData());
  s.SetSampleCount(7);
  s.FillSampleValues();
  EXPECT_EQ(s.PointCount(), 7);
  for (int i = 0; i < 7; ++i) {
    EXPECT_GE(s.YValue(i), 0);
    EXPECT_LE(s.YValue(i), 1000);
  }
}

TEST_F(SeriesTest, ChartGivesColoursEventsAxesAndPages) {
  TCustomAxisPanel chart;
  struct Listener : IPanelListener {
    void HandlePanelEvent(TPlotEvent& e) override {
      if (auto* se = dynamic_cast<TPlotSeriesEvent*>(&e)) events.push_back(se->Event);
    }
    std::vector<int> events;
  } listener;
  chart.Listeners().Add(&listener);
  std::vector<int>& events = listener.events;
  auto a = SeriesOf({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
  auto b = std::make_unique<TChartSeries>();
  a->SetParentChart(&chart);
  b->SetParentChart(&chart);
  ASSERT_EQ(chart.SeriesCount(), 2);
  EXPECT_EQ(chart.SeriesAt(1), b.get());
  EXPECT_EQ(a->SeriesColor(), DefaultPaletteColor(0));
  EXPECT_EQ(b->SeriesColor(), DefaultPaletteColor(1));
  EXPECT_EQ(a->GetHorizAxis(), chart.BottomAxis());
  EXPECT_EQ(a->GetVertAxis(), chart.LeftAxis());
  b->SetVertAxis(aRightAxis);
  EXPECT_EQ(b->GetVertAxis(), chart.RightAxis());
  EXPECT_TRUE(b->AssociatedToAxis(chart.RightAxis()));
  EXPECT_FALSE(b->AssociatedToAxis(chart.LeftAxis()));
  EXPECT_EQ(SeriesTitleOrDefault(*b), "Series2");

  auto* custom = new TChartAxis(&chart, false);
  chart.CustomAxes().Add(custom);
  a->SetCustomVertAxis(custom);
  EXPECT_EQ(a->VertAxis(), aCustomVertAxis);
  EXPECT_EQ(a->CustomVertAxisIndex(), 0);
  chart.CustomAxes().Delete(0);  // the series go back to the standard axis
  EXPECT_EQ(a->VertAxis(), aLeftAxis);
  EXPECT_EQ(a->GetVertAxis(), chart.LeftAxis());

  // Pixel mapping through the resolved axes.
  chart.BottomAxis()->SetScale(0, 10);
  chart.BottomAxis()->SetPixelSpan(100, 500);
  EXPECT_EQ(a->XValueToPixel(2.5), 200);
  EXPECT_DOUBLE_EQ(a->PixelToXValue(200), 2.5);

  int first = 0, last = 0;
  a->PageRange(first, last);
  EXPECT_EQ(first, 0);
  EXPECT_EQ(last, 11);
  chart.SetMaxPointsPerPage(5);
  chart.SetPage(3);
  a->PageRange(first, last);
  EXPECT_EQ(first, 10);
  EXPECT_EQ(last, 11);
  chart.SetPage(9);
  EXPECT_EQ(chart.Page(), 3);
  EXPECT_EQ(Raised([&] { chart.SetMaxPointsPerPage(-1); }), "MaxPointsPerPage must be >= 0");

  events.clear();
  a->SetTitle("T");
  a->SetActive(false);
  a->SetSeriesColor(a->SeriesColor());  // the colour the chart gave: no change
  a->SetSeriesColor(clPurple);
  a->BeginUpdate();
  a->EndUpdate();
  b->SetParentChart(nullptr);
  EXPECT_EQ(events, (std::vector<int>{seChangeTitle, seChangeActive, seChangeColor, seDataChanged, seRemove}));
  EXPECT_EQ(chart.SeriesCount(), 1);
  EXPECT_EQ(b->GetHorizAxis(), nullptr);

  chart.FreeAllSeries();
  EXPECT_EQ(chart.SeriesCount(), 0);
  a.release();  // freed by the chart
  chart.Listeners().Remove(&listener);
}

TEST_F(SeriesTest, GroupsAndTitles) {
  TChartSeries a, b;
  TSeriesGroup group;
  EXPECT_EQ(group.Active(), gaYes);
  group.Series().Add(&a);
  group.Series().Add(&b);
  EXPECT_EQ(group.Active(), gaYes);
  b.SetActive(false);
  EXPECT_EQ(group.Active(), gaSome);
  group.SetActive(gaSome);
  EXPECT_EQ(group.Active(), gaSome);
  group.SetActive(gaNo);
  EXPECT_FALSE(a.Active());
  EXPECT_EQ(group.Active(), gaNo);

  a.SetTitle(std::string("Rain\x06") + "fall");
  EXPECT_EQ(SeriesTitleOrDefault(a), "Rain fall");
  b.SetName("Series7");
  EXPECT_EQ(SeriesTitleOrDefault(b), "Series7");
}

namespace {

// A source that gives three points when it loads.
class ThreePoints : public TPlotSeriesSource {
 public:
  using TPlotSeriesSource::TPlotSeriesSource;
  void Load() override {
    if (!Series()) return;
    Series()->RemoveAllPoints();
    for (int i = 0; i < 3; ++i) Series()->AddY(i * 10);
  }
};

}  // namespace

TEST_F(SeriesTest, SeriesSourceComponentsFillTheirSeries) {
  TChartSeries s;
  auto source = std::make_unique<ThreePoints>();
  source->SetSeries(&s);
  EXPECT_EQ(s.DataSource(), source.get());
  EXPECT_EQ(s.PointCount(), 0);
  source->Open();
  EXPECT_EQ(s.PointCount(), 3);
  source->Refresh();
  EXPECT_FALSE(s.ManualData());
  EXPECT_TRUE(source->HasSeries(&s));
  source->Close();
  EXPECT_EQ(s.PointCount(), 0);
  source->SetNoClear(true);
  source->Open();
  source->Close();
  EXPECT_EQ(s.PointCount(), 3);
  source.reset();
  EXPECT_EQ(s.DataSource(), nullptr);
}
