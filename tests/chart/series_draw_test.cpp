// The drawing side of a series: visible range, drawing order, the marks pass, mark and legend
// texts, the legend symbol, and the chart side of the series (axes, pixels, palette).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chart/axis_panel.h"
#include "chart/html.h"
#include "chart/procs.h"
#include "chart/series.h"
#include "chart/unit.h"
#include "panel_fixture.h"

using namespace chart;

namespace {

class RecordingSeries : public TChartSeries {
 public:
  void PaintPoint(int index) override { painted.push_back(index); }
  void PaintPointMark(int index, const std::string& text, TSeriesMarkPosition& position) override {
    marks.push_back(index);
    markTexts.push_back(text);
    positions.push_back(position);
  }
  std::vector<int> painted, marks;
  std::vector<std::string> markTexts;
  std::vector<TSeriesMarkPosition> positions;
};

class SeriesDraw : public ::testing::Test {
 protected:
  SeriesDraw() {
    chart_.resize(400, 250);
    chart_.SetBevelOuter(bvNone);
    chart_.SetColor(clWhite);
    chart_.SetView3D(false);
    series_.SetParentChart(&chart_);
  }
  ~SeriesDraw() override { series_.SetParentChart(nullptr); }
  // The axes laid out on a fixed plot rectangle, as a draw does it.
  void Layout() {
    chart_.SetChartRect(TRect{40, 20, 360, 220});
    chart_.CalcAxesLayout();
  }
  QImage Draw() { return charttest::PanelPicture(chart_); }

  ChartLibraryScope scope_;
  TCustomAxisPanel chart_;
  RecordingSeries series_;
};

std::pair<int, int> Range(const TChartSeries& s) { return {s.FirstValueIndex(), s.LastValueIndex()}; }

}  // namespace

TEST_F(SeriesDraw, VisibleRange) {
  series_.FindVisibleRange();
  EXPECT_EQ(Range(series_), std::make_pair(-1, -1));
  for (int i = 0; i < 100; ++i) series_.AddY(i);
  chart_.BottomAxis()->SetMinMax(10, 20);
  Layout();
  series_.FindVisibleRange();
  EXPECT_EQ(Range(series_), std::make_pair(10, 20));
  chart_.BottomAxis()->SetMinMax(10, 19.5);
  Layout();
  series_.FindVisibleRange();
  EXPECT_EQ(Range(series_), std::make_pair(10, 19));
  series_.SetKeepOneBeyond(true);
  series_.FindVisibleRange();
  EXPECT_EQ(Range(series_), std::make_pair(10, 20));
  // An inverted axis looks from its right edge.
  chart_.BottomAxis()->SetInverted(true);
  Layout();
  series_.FindVisibleRange();
  EXPECT_EQ(Range(series_), std::make_pair(10, 20));
  // Beyond every point: none visible.
  chart_.BottomAxis()->SetMinMax(200, 300);
  Layout();
  series_.FindVisibleRange();
  EXPECT_EQ(Range(series_), std::make_pair(-1, -1));
  // X values in no order: every point.
  series_.XValues().SetOrder(loNone);
  series_.FindVisibleRange();
  EXPECT_EQ(Range(series_), std::make_pair(0, 99));
  series_.XValues().SetOrder(loAscending);
  series_.SetCalcVisiblePoints(false);
  series_.FindVisibleRange();
  EXPECT_EQ(Range(series_), std::make_pair(0, 99));
}

TEST_F(SeriesDraw, ValuesAreDrawnAgainstTheAxisDirection) {
  for (int i = 0; i < 4; ++i) series_.AddY(i);
  Draw();
  EXPECT_EQ(series_.painted, (std::vector<int>{0, 1, 2, 3}));
  EXPECT_TRUE(series_.DrawValuesAscending());
  series_.painted.clear();
  chart_.BottomAxis()->SetInverted(true);
  Draw();
  EXPECT_EQ(series_.painted, (std::vector<int>{3, 2, 1, 0}));
  // The vertical axis does not matter to a vertical series.
  chart_.BottomAxis()->SetInverted(false);
  chart_.LeftAxis()->SetInverted(true);
  EXPECT_TRUE(series_.DrawValuesAscending());
}

TEST_F(SeriesDraw, MarksPassTakesEveryNthPointWithText) {
  for (int i = 0; i < 5; ++i) series_.AddY(10 * i);
  series_.SetPointColor(2, clNone);  // a null point
  series_.Marks().SetVisible(true);
  series_.Marks().SetDrawEvery(2);
  series_.Marks().SetStyle(smsValue);
  Draw();
  EXPECT_EQ(series_.marks, (std::vector<int>{0, 4}));
  EXPECT_EQ(series_.markTexts, (std::vector<std::string>{"0", "40"}));
  // The box stands centred one pixel above its point; the arrow is the point itself.
  const TSeriesMarkPosition& p = series_.positions[1];
  EXPECT_TRUE(p.arrowFrom.x == p.arrowTo.x && p.arrowFrom.y == p.arrowTo.y);
  EXPECT_EQ(p.arrowTo.x, series_.PointXPixel(4));
  EXPECT_EQ(p.arrowTo.y, series_.PointYPixel(4));
  EXPECT_EQ(p.leftTop.x, p.arrowTo.x - p.width / 2);
  EXPECT_EQ(p.leftTop.y + p.height + 1, p.arrowTo.y);
  TCanvas3D& c = chart_.Canvas();
  c.SelectFont(series_.Marks().Font());
  // Text, a "W" more, and the frame (1 pixel pen, twice on both sides).
  EXPECT_EQ(p.width, c.TextWidth("40") + c.TextWidth("W") + 4);
  EXPECT_EQ(p.height, c.TextHeight("W") + 4);
  // An empty text shows no mark; hidden marks are not walked.
  series_.marks.clear();
  series_.OnGetMarkText = [](TChartSeries*, int index, std::string& text) {
    if (index == 0) text.clear();
  };
  Draw();
  EXPECT_EQ(series_.marks, (std::vector<int>{4}));
  series_.marks.clear();
  series_.Marks().SetVisible(false);
  Draw();
  EXPECT_TRUE(series_.marks.empty());
}

// A mark in HTML text format takes the room of the rendered text, not of its markup.
TEST_F(SeriesDraw, HtmlMarksAreMeasuredAsRendered) {
  series_.AddY(10);
  series_.Marks().SetVisible(true);
  series_.Marks().SetTextFormat(ttfHtml);
  series_.OnGetMarkText = [](TChartSeries*, int, std::string& text) { text = "<b>A</b><br>B"; };
  Draw();
  ASSERT_EQ(series_.positions.size(), 1u);
  TCanvas3D& c = chart_.Canvas();
  c.SelectFont(series_.Marks().Font());
  const THtmlExtent extent = MeasureHtmlText(c, "<b>A</b><br>B");
  EXPECT_EQ(series_.positions[0].width, extent.width + c.TextWidth("W") + 4);
  EXPECT_EQ(series_.positions[0].height, extent.height + 4);
  EXPECT_LT(series_.positions[0].width, c.TextWidth("<b>A</b><br>B"));
}

// Another active series at the same Z index shares the position; without the apply-Z-order
// switch every series stays at Z index 0, so all of them share one row.
TEST_F(SeriesDraw, SeriesShareTheirZPositionByZIndex) {
  RecordingSeries other;
  other.SetParentChart(&chart_);
  series_.AddY(1);
  other.AddY(2);
  chart_.SetView3D(true);
  Draw();
  EXPECT_NE(series_.ZIndex(), other.ZIndex());
  EXPECT_FALSE(series_.SharesZPosition());
  chart_.SetSeriesOwnDepth(false);
  Draw();
  EXPECT_EQ(series_.ZIndex(), other.ZIndex());
  EXPECT_TRUE(series_.SharesZPosition());
  EXPECT_TRUE(other.SharesZPosition());
  other.SetActive(false);
  EXPECT_FALSE(series_.SharesZPosition());
  other.SetParentChart(nullptr);
}

TEST_F(SeriesDraw, MarkTexts) {
  series_.AddY(1, "one");
  series_.AddY(3);
  series_.AddY(1234.5);
  struct Case {
    TSeriesMarksStyle style;
    bool multiLine;
    int index;
    std::string text;
  } cases[] = {
      {smsValue, false, 2, "1,234.5"},
      {smsLabel, false, 0, "one"},
      {smsLabel, false, 2, "1,234.5"},  // no label: the value
      {smsPercent, false, 1, "0.24 %"},
      {smsLabelPercent, false, 0, "one 0.08 %"},
      {smsLabelValue, true, 0, "one\r1"},
      {smsPercentTotal, false, 1, "0.24 % of 1,238.5"},
      {smsPercentTotal, true, 1, "0.24 %\rof 1,238.5"},
      {smsLabelPercentTotal, false, 0, "one 0.08 % of 1,238.5"},
      {smsXValue, false, 2, "2"},
      {smsXY, false, 1, "1 3"},
      {smsLegend, false, 0, "one"},
  };
  for (const Case& c : cases) {
    series_.Marks().SetStyle(c.style);
    series_.Marks().SetMultiLine(c.multiLine);
    EXPECT_EQ(series_.MarkTextOf(c.index), c.text) << c.style << " " << c.index;
  }
  // Percent of values 1 and 3 is 25 % and 75 %; with all values 0 it is 0.
  TChartSeries two;
  two.AddY(1);
  two.AddY(3);
  two.Marks().SetStyle(smsPercent);
  EXPECT_EQ(two.MarkTextOf(0), "25 %");
  EXPECT_EQ(two.MarkTextOf(1), "75 %");
  two.SetYValue(0, 0);
  two.SetYValue(1, 0);
  EXPECT_EQ(two.MarkTextOf(1), "0 %");
}

TEST_F(SeriesDraw, LegendTexts) {
  series_.AddY(1, "one");
  series_.AddY(3);
  const std::string sep(1, kColumnSeparator);
  struct Case {
    TLegendTextStyle style;
    int item;
    std::string text;
  } cases[] = {
      {ltsPlain, 0, "one"},
      {ltsLeftValue, 0, "1" + sep + "one"},
      {ltsRightValue, 0, "one" + sep + "1"},
      {ltsRightValue, 1, "3"},  // no label: the value alone
      {ltsLeftPercent, 0, "25 %" + sep + "one"},
      {ltsRightPercent, 1, "75 %"},
      {ltsXValue, 1, "1"},
      {ltsValue, 1, "3"},
      {ltsPercent, 0, "25 %"},
      {ltsXAndValue, 1, "1" + sep + "3"},
      {ltsXAndPercent, 0, "0" + sep + "25 %"},
  };
  for (const Case& c : cases) EXPECT_EQ(series_.LegendItemText(c.item, c.style), c.text) << c.style;
  // Date-time values show as dates.
  series_.YValues().SetDateTime(true);
  series_.SetYValue(1, EncodeDate(1995, 3, 17));
  EXPECT_EQ(series_.LegendItemText(1, ltsValue), "1995/03/17");
}

TEST_F(SeriesDraw, LegendSymbolIsFilledInTheItemsColour) {
  series_.AddY(1, "", clRed);
  series_.AddY(2, "", clNone);
  series_.SetSeriesColor(clBlue);
  QImage image = drawtest::WhiteImage(40, 20);
  platform::QtDc dc(image);
  platform::Canvas canvas(dc);
  chart_.Canvas().SetCanvas(&canvas);
  chart_.Canvas().ResetDrawingState();
  series_.PaintLegendSymbol(-1, TRect{0, 0, 10, 10});
  series_.PaintLegendSymbol(0, TRect{12, 0, 22, 10});
  series_.PaintLegendSymbol(1, TRect{24, 0, 34, 10});
  EXPECT_EQ(drawtest::At(image, 5, 5), platform::ColorToRgb(clBlue));
  EXPECT_EQ(drawtest::At(image, 17, 5), platform::ColorToRgb(clRed));
  EXPECT_EQ(drawtest::At(image, 29, 5), platform::ColorToRgb(clWhite));  // a null point: nothing
  // A series whose points have their own colours shows none for itself.
  series_.SetColorEachPoint(true);
  series_.PaintLegendSymbol(-1, TRect{0, 12, 10, 20});
  EXPECT_EQ(drawtest::At(image, 5, 15), platform::ColorToRgb(clWhite));
  chart_.Canvas().SetCanvas(nullptr);
}

TEST_F(SeriesDraw, DepthOrderAndBand) {
  RecordingSeries other;
  other.SetParentChart(&chart_);
  series_.AddY(1);
  other.AddY(1);
  chart_.SetView3D(true);
  chart_.SetMaxZOrder(-1);
  series_.ComputeZOrder();
  other.ComputeZOrder();
  EXPECT_EQ(series_.ZIndex(), 0);
  EXPECT_EQ(other.ZIndex(), 1);
  EXPECT_EQ(chart_.MaxZOrder(), 1);
  // A fixed order raises the chart's highest index.
  other.SetZOrder(4);
  other.ComputeZOrder();
  EXPECT_EQ(other.ZIndex(), 4);
  EXPECT_EQ(chart_.MaxZOrder(), 4);
  Draw();
  const int depth = chart_.SeriesWidth3D();
  ASSERT_GT(depth, 0);
  other.ComputeZRange();
  EXPECT_EQ(other.StartZ(), depth * other.ZIndex());
  EXPECT_EQ(other.EndZ(), other.StartZ() + depth);
  EXPECT_EQ(other.MiddleZ(), (other.StartZ() + other.EndZ()) / 2);
  other.SetDepth(3);
  other.ComputeZRange();
  EXPECT_EQ(other.EndZ(), other.StartZ() + 3);
  // 2D: everything at 0.
  chart_.SetView3D(false);
  series_.ComputeZOrder();
  EXPECT_EQ(series_.ZIndex(), 0);
  other.SetParentChart(nullptr);
}

TEST_F(SeriesDraw, PixelsThroughTheResolvedAxes) {
  series_.AddPoint(5, 50);
  chart_.BottomAxis()->SetMinMax(0, 10);
  chart_.LeftAxis()->SetMinMax(0, 100);
  Layout();
  const TRect r = chart_.ChartRect();
  EXPECT_EQ(series_.XValueToPixel(5), (r.left + r.right) / 2);
  EXPECT_EQ(series_.YValueToPixel(100), r.top);
  EXPECT_NEAR(series_.PixelToXValue(r.left), 0, 1e-12);
  EXPECT_NEAR(series_.PixelToXValue(r.right), 10, 1e-12);
  // On the top and right axes once chosen.
  series_.SetHorizAxis(aTopAxis);
  series_.SetVertAxis(aRightAxis);
  EXPECT_EQ(series_.GetHorizAxis(), chart_.TopAxis());
  EXPECT_EQ(series_.GetVertAxis(), chart_.RightAxis());
  // The colour the chart gave it is the palette's first free one.
  EXPECT_EQ(series_.SeriesColor(), DefaultPaletteColor(0));
  TChartSeries second;
  second.SetParentChart(&chart_);
  EXPECT_EQ(second.SeriesColor(), DefaultPaletteColor(1));
  second.SetParentChart(nullptr);
}
