// Pie and donut series: the other slice, slice angles, the grid of several pies, hit tests on
// the drawn slices, the donut's hole, the pie view while a pie is active, and what is stored.
#include <gtest/gtest.h>

#include <QPainter>
#include <QPolygonF>

#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

#include "chart/chart.h"
#include "chart/legend.h"
#include "chart/pie.h"
#include "chart/unit.h"
#include "panel_fixture.h"

using namespace chart;

namespace {

class Pies : public ::testing::Test {
 protected:
  Pies() {
    chart_.resize(600, 400);
    chart_.SetBevelOuter(bvNone);
    chart_.SetColor(clWhite);
    chart_.Legend().SetVisible(false);
    chart_.Title().SetVisible(false);
  }
  ~Pies() override {
    for (auto& s : series_) s->SetParentChart(nullptr);
  }
  template <class Kind = TPieSeries>
  Kind& Add(std::initializer_list<double> values) {
    auto s = std::make_unique<Kind>();
    s->Marks().SetVisible(false);
    for (double v : values) s->AddY(v);
    s->SetParentChart(&chart_);
    series_.push_back(std::move(s));
    return static_cast<Kind&>(*series_.back());
  }
  QImage Draw(bool view3D = false) {
    chart_.SetView3D(view3D);
    QImage image = charttest::PanelPicture(chart_);
    drawtest::Keep(image, "pies");
    return image;
  }

  ChartLibraryScope scope_;
  TChart chart_;
  std::vector<std::unique_ptr<TPieSeries>> series_;
};

TEST_F(Pies, OtherSliceGroupsSmallValuesThatAreNeverDrawnMarkedHitOrListed) {
  TPieSeries& pie = Add({50, 40, 5, 5});
  pie.OtherSlice().SetStyle(poBelowPercent);
  pie.OtherSlice().SetValue(10);
  pie.Marks().SetVisible(true);
  Draw();
  ASSERT_EQ(pie.Count(), 5);
  const int other = pie.OtherSliceIndex();
  ASSERT_EQ(other, 4);
  EXPECT_DOUBLE_EQ(pie.YValue(other), 10);
  EXPECT_TRUE(pie.IsGrouped(2));
  EXPECT_TRUE(pie.IsGrouped(3));
  EXPECT_FALSE(pie.IsGrouped(0));
  // The grouped slices span nothing; the three others fill the circle.
  EXPECT_DOUBLE_EQ(pie.Angle(3).end - pie.Angle(2).start, 0);
  EXPECT_DOUBLE_EQ(pie.Angle(other).end, 2 * std::numbers::pi);
  EXPECT_NEAR(pie.Angle(0).end, 2 * std::numbers::pi * 50 / 100, 1e-9);
  EXPECT_TRUE(pie.MarkTextOf(2).empty());
  EXPECT_FALSE(pie.MarkTextOf(other).empty());
  EXPECT_EQ(pie.CountLegendItems(), 3);
  EXPECT_EQ(pie.LegendToValueIndex(2), other);
  // No point of the circle answers a grouped index.
  for (int y = pie.CircleRect().top; y < pie.CircleRect().bottom; y += 3)
    for (int x = pie.CircleRect().left; x < pie.CircleRect().right; x += 3) {
      const int hit = pie.PointAt(x, y);
      EXPECT_TRUE(hit != 2 && hit != 3) << x << "," << y;
    }
  // A second drawing makes the other point again instead of adding one more; the stored
  // points leave it out.
  Draw();
  EXPECT_EQ(pie.Count(), 5);
  TPieSeries copy;
  copy.ReadDataBytes(pie.DataBytes());
  EXPECT_EQ(copy.Count(), 4);
}

TEST_F(Pies, SliceAnglesAddUpToTheAngleSize) {
  for (int size : {360, 180, 90}) {
    SCOPED_TRACE(size);
    series_.clear();
    TPieSeries& pie = Add({3, 1, 4, 1, 5, 9, 2, 6});
    pie.SetAngleSize(size);
    Draw();
    const double full = size * std::numbers::pi / 180;
    double sum = 0;
    for (int i = 0; i < pie.Count(); ++i) {
      EXPECT_DOUBLE_EQ(pie.Angle(i).start, i == 0 ? 0 : pie.Angle(i - 1).end);
      sum += pie.Angle(i).end - pie.Angle(i).start;
    }
    EXPECT_NEAR(sum, full, 1e-12);
    EXPECT_DOUBLE_EQ(pie.Angle(pie.Count() - 1).end, full);
  }
  // A total of 0 gives every slice the full angle.
  series_.clear();
  TPieSeries& zero = Add({0, 0});
  Draw();
  EXPECT_DOUBLE_EQ(zero.Angle(1).end - zero.Angle(1).start, 2 * std::numbers::pi);
}

TEST_F(Pies, AHalfPieLeavesTheLowerHalfUnpainted) {
  TPieSeries& pie = Add({1, 2, 3});
  pie.SetColorEachPoint(false);
  pie.SetSeriesColor(clRed);
  pie.SetAngleSize(180);
  const QImage image = Draw();
  const int cx = pie.CircleXCenter(), cy = pie.CircleYCenter(), r = pie.YRadius();
  EXPECT_EQ(image.pixel(cx, cy - r / 2), qRgb(255, 0, 0));
  EXPECT_EQ(image.pixel(cx, cy + r / 2), qRgb(255, 255, 255));
}

TEST_F(Pies, SeveralPiesShareTheChartRectangleAsAGrid) {
  const TRect rect{0, 0, 400, 300};
  // 2 pies: round(sqrt 2) = 1 column, round(sqrt 2 + 0.5) = 2 rows; 4: 2 x 2 (halves to even).
  EXPECT_EQ(TPieSeries::MultiPieCell(rect, 2, 1), (TRect{0, 150, 400, 300}));
  EXPECT_EQ(TPieSeries::MultiPieCell(rect, 4, 3), (TRect{200, 150, 400, 300}));
  EXPECT_EQ(TPieSeries::MultiPieCell(rect, 1, 0), rect);
  TPieSeries& a = Add({1, 2});
  TPieSeries& b = Add({3, 4});
  Draw();
  EXPECT_LE(a.CircleRect().bottom, b.CircleRect().top);
  EXPECT_EQ(a.CircleXCenter(), b.CircleXCenter());
  // The chart rectangle is given back after each pie.
  const TRect after = chart_.ChartRect();
  EXPECT_GE(after.Height(), a.CircleRect().Height() * 2);
  // Without the grid both take the whole rectangle.
  a.SetMultiPie(mpDisabled);
  b.SetMultiPie(mpDisabled);
  Draw();
  EXPECT_EQ(a.CircleRect(), b.CircleRect());
}

TEST_F(Pies, PointAtFindsEachOfEightSlicesUnderAPointInsideIt) {
  for (bool view3D : {false, true}) {
    SCOPED_TRACE(view3D);
    series_.clear();
    TPieSeries& pie = Add({10, 20, 30, 40, 50, 60, 70, 80});
    pie.SetRotationAngle(30);
    pie.ExplodedSlice().SetValue(3, 20);
    Draw(view3D);
    for (int i = 0; i < 8; ++i) {
      const std::vector<TPoint> polygon = pie.SlicePolygon(i);
      // A point between the centre and the middle of the arc.
      const TPoint c = polygon[0], m = polygon[16];
      EXPECT_EQ(pie.PointAt((c.x + m.x) / 2, (c.y + m.y) / 2), i);
    }
  }
}

TEST_F(Pies, ADonutsHoleStaysUnpainted) {
  auto& donut = Add<TDonutSeries>({1, 2, 3, 4});
  donut.SetColorEachPoint(false);
  donut.SetSeriesColor(clBlue);
  const QImage image = Draw();
  const int cx = donut.CircleXCenter(), cy = donut.CircleYCenter(), r = donut.XRadius();
  EXPECT_EQ(image.pixel(cx, cy), qRgb(255, 255, 255));
  EXPECT_EQ(image.pixel(cx + r / 5, cy + 1), qRgb(255, 255, 255));
  EXPECT_EQ(image.pixel(cx + r * 3 / 4, cy + 3), qRgb(0, 0, 255));
  // On the wide ellipse the ring sectors meet: no gap between slices anywhere along the ring.
  ASSERT_NE(donut.XRadius(), donut.YRadius());
  for (int degree = 0; degree < 360; ++degree) {
    const double a = degree * std::numbers::pi / 180;
    const int x = cx + static_cast<int>(std::lround(std::cos(a) * donut.XRadius() * 0.8));
    const int y = cy - static_cast<int>(std::lround(std::sin(a) * donut.YRadius() * 0.8));
    EXPECT_NE(image.pixel(x, y), qRgb(255, 255, 255)) << degree;
  }
  // A percent of 0 taken over becomes 50.
  TDonutSeries other;
  other.SetDonutPercent(0);
  TDonutSeries copy;
  copy.SetDonutPercent(30);
  copy.CopyFrom(other);
  EXPECT_EQ(copy.DonutPercent(), 50);
}

// A whole 3D pie or donut, none of its slices exploded, draws nothing outside its outline: the
// top face and the outer wall where the wall is drawn (where the arc runs to the right on the
// screen). A radial face turned away from the viewer would stand out beyond it; one shared with
// a neighbour lies inside the pie.
TEST_F(Pies, A3DPieDrawsNoSideOutsideItsOutline) {
  for (const bool donut : {false, true}) {
    for (auto& s : series_) s->SetParentChart(nullptr);
    series_.clear();
    TPieSeries& pie = donut ? Add<TDonutSeries>({35, 20, 15, 12, 9, 5}) : Add({35, 20, 15, 12, 9, 5});
    pie.Gradient().SetVisible(false);
    pie.PiePen().SetVisible(false);
    for (const int elevation : {290, 305, 315, 340}) {
      for (int rotation = 0; rotation < 360; rotation += 30) {
        SCOPED_TRACE(testing::Message() << (donut ? "donut" : "pie") << ", elevation " << elevation << ", rotation "
                                        << rotation);
        pie.SetRotationAngle(rotation);
        chart_.SetView3D(true);
        chart_.View3DOptions().SetElevation(elevation);
        const QImage image = Draw(true);
        // The outline from the projection the drawing used.
        auto& c = dynamic_cast<TPlotCanvas3D&>(chart_.Canvas());
        const double cx = pie.CircleXCenter(), cy = pie.CircleYCenter();
        QPolygonF top, front, back;
        for (int k = 0; k < 720; ++k) {
          const double a = k * std::numbers::pi / 360;
          const double x = cx + pie.XRadius() * std::cos(a), y = cy - pie.YRadius() * std::sin(a);
          const TPoint p0 = c.ProjectPointF(x, y, pie.StartZ()), p1 = c.ProjectPointF(x, y, pie.EndZ());
          top << QPointF(p0.x, p0.y);
          front << QPointF(p0.x, p0.y);
          back << QPointF(p1.x, p1.y);
        }
        // Painted into a mask, widened by two pixels for the rounding of the drawing.
        QImage mask(image.size(), QImage::Format_RGB32);
        mask.fill(Qt::white);
        {
          QPainter painter(&mask);
          painter.setPen(QPen(Qt::black, 4));
          painter.setBrush(Qt::black);
          painter.drawPolygon(top);
          for (int k = 0; k < 720; ++k) {
            const int n = (k + 1) % 720;
            if (front[n].x() > front[k].x()) painter.drawPolygon(QPolygonF({front[k], front[n], back[n], back[k]}));
          }
        }
        int outside = 0;
        for (int y = 0; y < image.height(); ++y) {
          for (int x = 0; x < image.width(); ++x) {
            outside += image.pixel(x, y) != qRgb(255, 255, 255) && mask.pixel(x, y) == qRgb(255, 255, 255);
          }
        }
        EXPECT_EQ(outside, 0);
      }
    }
  }
}

TEST_F(Pies, APieShowsThePieViewWhileActiveAndGivesTheOptionsBack) {
  chart_.View3DOptions().SetRotation(345);
  chart_.View3DOptions().SetElevation(340);
  chart_.View3DOptions().SetOrthogonal(true);
  TPieSeries& pie = Add({1, 2});
  EXPECT_EQ(chart_.View3DOptions().Rotation(), 360);
  EXPECT_EQ(chart_.View3DOptions().Elevation(), 315);
  EXPECT_FALSE(chart_.View3DOptions().Orthogonal());
  pie.SetActive(false);
  EXPECT_EQ(chart_.View3DOptions().Rotation(), 345);
  EXPECT_TRUE(chart_.View3DOptions().Orthogonal());
  pie.SetActive(true);
  EXPECT_EQ(chart_.View3DOptions().Elevation(), 315);
  pie.SetParentChart(nullptr);
  EXPECT_EQ(chart_.View3DOptions().Elevation(), 340);
}

TEST_F(Pies, PatternsAndMonochromeHatchTheSlices) {
  TPieSeries& pie = Add({1, 1, 1, 1, 1, 1});
  pie.SetUsePatterns(true);
  const QImage image = Draw();
  // A hatched slice shows both the slice colour and the background inside it.
  const std::vector<TPoint> polygon = pie.SlicePolygon(0);
  const TPoint c = polygon[0], m = polygon[16];
  int background = 0, colored = 0;
  for (int dy = -5; dy <= 5; ++dy)
    for (int dx = -5; dx <= 5; ++dx) {
      const QRgb p = image.pixel((c.x + m.x) / 2 + dx, (c.y + m.y) / 2 + dy);
      (p == qRgb(255, 255, 255) ? background : colored)++;
    }
  EXPECT_GT(background, 0);
  EXPECT_GT(colored, 0);
  // Without colour the hatch is black on white.
  pie.SetUsePatterns(false);
  chart_.SetMonochrome(true);
  const QImage mono = Draw();
  int black = 0, other = 0;
  for (int dy = -5; dy <= 5; ++dy)
    for (int dx = -5; dx <= 5; ++dx) {
      const QRgb p = mono.pixel((c.x + m.x) / 2 + dx, (c.y + m.y) / 2 + dy);
      if (p == qRgb(0, 0, 0)) {
        ++black;
      } else if (p != qRgb(255, 255, 255)) {
        ++other;
      }
    }
  EXPECT_GT(black, 0);
  EXPECT_EQ(other, 0);
}

}  // namespace
