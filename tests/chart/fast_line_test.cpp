// Fast-line series on a QImage: skipped and vertical points on one x pixel, null points, the
// line entering the visible range, stairs, points added without repainting, hit tests,
// margins of thick pens and the shared colour of series and pen; the runs in one pixel column
// drawn as one line give the pixels of every segment.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPainter>
#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "chart/axis.h"
#include "chart/axis_panel.h"
#include "chart/fast_line.h"
#include "chart/canvas3d.h"
#include "chart/unit.h"
#include "panel_fixture.h"

using namespace chart;

namespace {

class FastLine : public ::testing::Test {
 protected:
  FastLine() {
    chart_.resize(400, 300);
    chart_.SetBevelOuter(bvNone);
    chart_.SetColor(clWhite);
    chart_.SetView3D(false);
    chart_.SetAxisVisible(false);
    chart_.BottomAxis()->SetMinMax(0, 100);
    chart_.LeftAxis()->SetMinMax(0, 100);
    line_.SetSeriesColor(clRed);
    line_.SetParentChart(&chart_);
  }
  ~FastLine() override { line_.SetParentChart(nullptr); }
  QImage Draw() {
    QImage image = charttest::PanelPicture(chart_);
    drawtest::Keep(image, "fast-line");
    return image;
  }
  TPoint P(double x, double y) const {
    return TPoint{chart_.BottomAxis()->ValueToPixel(x), chart_.LeftAxis()->ValueToPixel(y)};
  }
  // Red pixels in column x.
  static int RedInColumn(const QImage& image, int x) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y) n += drawtest::At(image, x, y) == clRed;
    return n;
  }

  ChartLibraryScope scope_;
  TCustomAxisPanel chart_;
  TFastLineSeries line_;
};

}  // namespace

TEST_F(FastLine, PointsOnOneXPixel) {
  // Ten points on the pixel of x = 50, then one to the right.
  for (int i = 0; i < 10; ++i) line_.AddPoint(50 + i * 0.001, 10 + 8 * i);
  line_.AddPoint(80, 50);
  line_.SetDrawAllPoints(false);
  QImage image = Draw();
  const TPoint first = P(50, 10), top = P(50, 82);
  ASSERT_EQ(first.x, top.x);
  // Only the segment from the first point to the last one.
  EXPECT_LE(RedInColumn(image, first.x), 2);
  EXPECT_EQ(drawtest::At(image, P(65, 30).x, P(65, 30).y), clRed);
  line_.SetDrawAllPoints(true);
  image = Draw();
  // Vertical segments up to the highest point, then down to the last one's line.
  EXPECT_GE(RedInColumn(image, first.x), first.y - top.y);
  EXPECT_EQ(drawtest::At(image, first.x, (first.y + top.y) / 2), clRed);
}

// A line drawn on a raster image draws each run of vertical steps in one pixel column as one
// line; drawn through a painter's context (as an unbuffered widget paint draws) it draws every
// segment. Both give the same pixels: random series of 10 to 1,000,000 points with nulls,
// steep and flat runs, zoomed in or not, and runs in one column that end inside their span,
// beyond it, or on a null.
TEST_F(FastLine, ColumnRunsDrawTheSamePixelsAsEverySegment) {
  auto compare = [this](const std::string& what) {
    const QImage reduced = charttest::PanelPicture(chart_);
    QImage plain = drawtest::WhiteImage(chart_.Width(), chart_.Height());
    {
      QPainter painter(&plain);
      platform::QtDc dc(painter, platform::DeviceCaps::Screen(plain.width(), plain.height()), true);
      platform::Canvas canvas(dc);
      chart_.DrawToCanvas(canvas, chart_.GetPanelRect());
    }
    EXPECT_EQ(drawtest::DiffCount(reduced, plain), 0) << what << ": " << drawtest::DiffBounds(reduced, plain);
  };
  // Hand-made runs on the pixel column of x = 50 between points on either side.
  const std::vector<std::vector<double>> runs = {
      {10, 50, 30}, {10, 50, 60}, {50, 10, 5}, {30, 10, 50, 20}, {40, 40, 60, 40}, {20, -1, 70}, {90, 10}};
  for (size_t k = 0; k < runs.size(); ++k) {
    for (const bool last : {false, true}) {
      line_.Clear();
      line_.AddPoint(30, 45);
      for (size_t i = 0; i < runs[k].size(); ++i) {
        const double x = 50 + static_cast<double>(i) * 0.001;
        if (runs[k][i] < 0) {
          line_.AddNullXY(x, 0);
        } else {
          line_.AddPoint(x, runs[k][i]);
        }
      }
      if (!last) line_.AddPoint(70, 55);
      line_.SetIgnoreNulls(false);
      compare("run " + std::to_string(k) + (last ? " at the end" : ""));
    }
  }
  struct Case {
    int points;
    bool zoomed, ignoreNulls;
  };
  const Case cases[] = {{10, false, true},      {100, false, false},    {1000, true, false},  {10000, false, false},
                        {100000, false, true},  {100000, true, false},  {1000000, false, false}};
  std::mt19937 random(38);
  for (const Case& c : cases) {
    line_.Clear();
    line_.BeginUpdate();
    double x = 0, y = 50;
    for (int i = 0; i < c.points; ++i) {
      const unsigned kind = random() % 100;
      if (kind < 2) {
        y = static_cast<double>(random() % 140) - 20;  // a steep jump, at times off the plot
      } else if (kind < 10) {
        // a flat run: the same value again
      } else {
        y = std::clamp(y + (static_cast<double>(random() % 2001) - 1000) / 200.0, -20.0, 120.0);
      }
      x += (random() % 4) * 0.5;  // now and then the same x again
      if (random() % 100 == 0) {
        line_.AddNullXY(x, y);
      } else {
        line_.AddPoint(x, y);
      }
    }
    line_.EndUpdate();
    line_.SetIgnoreNulls(c.ignoreNulls);
    if (c.zoomed) {
      chart_.BottomAxis()->SetMinMax(x * 0.4, x * 0.4 + x * 0.01 + 2);
      chart_.LeftAxis()->SetMinMax(45, 55);
    } else {
      chart_.BottomAxis()->SetMinMax(0, x);
      chart_.LeftAxis()->SetMinMax(0, 100);
    }
    compare(std::to_string(c.points) + " points" + (c.zoomed ? " zoomed" : ""));
  }
}

TEST_F(FastLine, NullPointsBreakTheLineOnlyWithoutIgnoreNulls) {
  line_.AddPoint(10, 50);
  line_.AddPoint(30, 50);
  line_.AddNullXY(50, 50);
  line_.AddPoint(70, 50);
  line_.AddPoint(90, 50);
  QImage image = Draw();
  const TPoint intoNull = P(40, 50), afterNull = P(60, 50);
  EXPECT_EQ(drawtest::At(image, intoNull.x, intoNull.y), clRed) << "IgnoreNulls draws through";
  EXPECT_EQ(drawtest::At(image, afterNull.x, afterNull.y), clRed);
  line_.SetIgnoreNulls(false);
  // Every way of drawing: one segment at a time (a dotted pen), and the runs of one pixel
  // column as one line (a solid thin pen).
  for (const bool dotted : {false, true}) {
    line_.LinePen().SetStyle(dotted ? platform::PenStyle::Dot : platform::PenStyle::Solid);
    image = Draw();
    EXPECT_EQ(drawtest::At(image, intoNull.x, intoNull.y), clWhite) << dotted;
    int out = 0, on = 0;
    for (int x = P(52, 50).x; x <= P(68, 50).x; ++x) out += RedInColumn(image, x);
    for (int x = P(72, 50).x; x <= P(88, 50).x; ++x) on += RedInColumn(image, x);
    EXPECT_EQ(out, 0) << "no line leads out of the null point " << dotted;
    EXPECT_GT(on, 0) << "the line goes on from the next point " << dotted;
  }
  line_.LinePen().SetStyle(platform::PenStyle::Solid);

  // A null point before the first visible one leads no line into the plot either.
  chart_.BottomAxis()->SetMinMax(55, 100);
  image = Draw();
  EXPECT_EQ(RedInColumn(image, chart_.ChartRect().left + 2), 0);
  EXPECT_GT(RedInColumn(image, P(80, 50).x), 0);

  // A series of null points only draws nothing, whether its nulls lie on one row or not.
  chart_.BottomAxis()->SetMinMax(0, 100);
  line_.Clear();
  for (int i = 0; i < 10; ++i) line_.AddNullXY(i * 10, i % 3 == 0 ? 0 : 40);
  image = Draw();
  int red = 0;
  for (int x = 0; x < image.width(); ++x) red += RedInColumn(image, x);
  EXPECT_EQ(red, 0);
}

TEST_F(FastLine, TheLineEntersFromThePointBeforeTheFirstVisible) {
  for (int i = 0; i < 20; ++i) line_.AddPoint(i * 10, i % 2 ? 80 : 20);
  chart_.BottomAxis()->SetMinMax(55, 150);
  const QImage image = Draw();
  EXPECT_EQ(line_.FirstValueIndex(), 6);
  EXPECT_EQ(line_.LastValueIndex(), 16) << "one point beyond the far edge";
  // Between the plot's left edge and point 6 the line from point 5 is drawn.
  const TPoint p5 = P(50, 80), p6 = P(60, 20);
  const int x = chart_.ChartRect().left + 1;
  ASSERT_LT(x, p6.x);
  const int y = p5.y + (p6.y - p5.y) * (x - p5.x) / (p6.x - p5.x);
  int near = 0;
  for (int dy = -2; dy <= 2; ++dy) near += drawtest::At(image, x, y + dy) == clRed;
  EXPECT_GT(near, 0);
}

TEST_F(FastLine, StairsGoAcrossThenUpOrUpThenAcross) {
  line_.AddPoint(20, 20);
  line_.AddPoint(60, 70);
  line_.SetStairs(true);
  QImage image = Draw();
  const TPoint corner = P(60, 20), inverted = P(20, 70), middle = P(40, 20);
  EXPECT_EQ(drawtest::At(image, middle.x, middle.y), clRed);
  EXPECT_EQ(drawtest::At(image, corner.x, corner.y), clRed);
  EXPECT_EQ(drawtest::At(image, inverted.x, inverted.y), clWhite);
  line_.SetInvertedStairs(true);
  image = Draw();
  EXPECT_EQ(drawtest::At(image, inverted.x, inverted.y), clRed);
  EXPECT_EQ(drawtest::At(image, middle.x, middle.y), clWhite);
}

TEST_F(FastLine, PointsAddedWithoutRepaintExtendTheLineInTheBuffer) {
  line_.SetAutoRepaint(false);
  line_.AddPoint(10, 10);
  line_.AddPoint(20, 30);
  (void)chart_.grab();  // a painted frame in the buffer
  auto* canvas = dynamic_cast<TPlotCanvas3D*>(&chart_.Canvas());
  ASSERT_TRUE(canvas && canvas->HasBuffer());
  ASSERT_FALSE(canvas->Dirty());
  const QImage before = canvas->BufferImage()->copy();
  line_.AddPoint(60, 90);
  EXPECT_FALSE(canvas->Dirty()) << "no new frame";
  const QImage after = canvas->BufferImage()->copy();
  const TPoint mid = P(40, 60);
  EXPECT_FALSE(charttest::ColourNear(before, mid, clRed));
  EXPECT_TRUE(charttest::ColourNear(after, mid, clRed));
  // Nothing else changed: the old line is still there.
  const TPoint old = P(15, 20);
  EXPECT_TRUE(charttest::ColourNear(after, old, clRed));
  EXPECT_LE(drawtest::DiffCount(before, after), 2 * (P(60, 90).x - P(20, 30).x) + 10);
  // The widget shows it.
  const QImage shown = chart_.grab().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_TRUE(charttest::ColourNear(shown, mid, clRed));
  // With AutoRepaint the chart is drawn anew.
  line_.SetAutoRepaint(true);
  (void)chart_.grab();
  line_.AddPoint(70, 10);
  EXPECT_TRUE(canvas->Dirty());
}

TEST_F(FastLine, PointAtFindsPointsAndSegments) {
  line_.AddPoint(10, 10);
  line_.AddPoint(50, 50);
  line_.AddPoint(90, 10);
  Draw();
  const TPoint a = P(10, 10), b = P(50, 50);
  EXPECT_EQ(line_.PointAt(a.x, a.y), 0);
  EXPECT_EQ(line_.PointAt(b.x, b.y), 1);
  EXPECT_EQ(line_.PointAt((a.x + b.x) / 2, (a.y + b.y) / 2), 0);
  const TPoint c = P(70, 30);
  EXPECT_EQ(line_.PointAt(c.x, c.y), 1);
  EXPECT_EQ(line_.PointAt(a.x, b.y), -1);
  TFastLineSeries empty;
  EXPECT_EQ(empty.PointAt(0, 0), -1);
}

TEST_F(FastLine, ThickPensWidenTheMargins) {
  const std::pair<int, int> cases[] = {{1, 1}, {2, 2}, {3, 3}, {4, 3}, {5, 4}, {10, 6}};
  for (const auto& [width, margin] : cases) {
    line_.LinePen().SetWidth(width);
    int l = -1, r = -1, t = -1, b = -1;
    line_.HorizontalMargins(l, r);
    line_.VerticalMargins(t, b);
    EXPECT_EQ(l, margin) << width;
    EXPECT_EQ(r, margin);
    EXPECT_EQ(t, margin);
    EXPECT_EQ(b, margin);
  }
}

TEST_F(FastLine, SeriesColourAndPenColourAreOne) {
  line_.SetSeriesColor(clBlue);
  EXPECT_EQ(line_.LinePen().Color(), clBlue);
  line_.LinePen().SetColor(clGreen);
  EXPECT_EQ(line_.SeriesColor(), clGreen);
  // Other changes of the pen leave the colour.
  line_.LinePen().SetWidth(2);
  EXPECT_EQ(line_.SeriesColor(), clGreen);
  TFastLineSeries fresh;
  fresh.SetInternalColor(clPurple);
  fresh.LinePen().SetWidth(2);
  EXPECT_EQ(fresh.SeriesColor(), clPurple) << "the chart's colour stays";
  TChartPen pen;
  pen.SetColor(clNavy);
  pen.SetWidth(3);
  line_.SetPen(pen);
  EXPECT_EQ(line_.SeriesColor(), clNavy);
  EXPECT_EQ(line_.LinePen().Width(), 3);
  // A copy takes the switches and the pen.
  line_.SetStairs(true);
  line_.SetDrawAllPoints(false);
  TFastLineSeries copy;
  copy.CopyFrom(line_);
  EXPECT_TRUE(copy.Stairs());
  EXPECT_FALSE(copy.DrawAllPoints());
  EXPECT_EQ(copy.LinePen().Width(), 3);
}

TEST_F(FastLine, LegendSymbolIsAHorizontalLine) {
  line_.AddPoint(0, 0);
  QImage image = drawtest::WhiteImage(400, 300);
  {
    platform::QtDc dc(image);
    platform::Canvas canvas(dc);
    chart_.Canvas().SetCanvas(&canvas);
    line_.PaintLegendSymbol(-1, TRect{10, 10, 40, 20});
    chart_.Canvas().SetCanvas(nullptr);
  }
  EXPECT_EQ(drawtest::At(image, 20, 15), clRed);
  EXPECT_EQ(drawtest::At(image, 20, 12), clWhite);
}
