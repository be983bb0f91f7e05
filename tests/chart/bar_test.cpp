// Bar series: slots, widths and edges of side-by-side, stacked and self-stacked bars checked
// against the rules and against the pixels drawn; extremes, shared settings, hit tests, colours
// and gradients.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "chart/axis.h"
#include "chart/axis_panel.h"
#include "chart/bar.h"
#include "chart/messages.h"
#include "chart/unit.h"
#include "panel_fixture.h"

using namespace chart;

namespace {

const TColor kColors[12] = {0x0000C0, 0x00A000, 0xC00000, 0x00A0A0, 0xA000A0, 0xA0A000,
                            0x004080, 0x408000, 0x800040, 0x206020, 0x602020, 0x202060};

class Bars : public ::testing::Test {
 protected:
  Bars() {
    chart_.resize(800, 400);
    chart_.SetBevelOuter(bvNone);
    chart_.SetColor(clWhite);
    chart_.SetView3D(false);
    chart_.SetAxisVisible(false);
    chart_.LeftAxis()->SetMinMax(0, 100);
  }
  ~Bars() override {
    for (auto& s : series_) s->SetParentChart(nullptr);
  }
  // `n` bar series of `points` points with value 30 + 4 i + k, without pen.
  void Add(int n, int points = 12) {
    for (int k = 0; k < n; ++k) {
      auto s = std::make_unique<TBarSeries>();
      s->BarPen().SetVisible(false);
      s->Marks().SetVisible(false);
      s->SetSeriesColor(kColors[series_.size() % 12]);
      for (int i = 0; i < points; ++i) s->AddY(30 + 4 * i + k);
      s->SetParentChart(&chart_);
      series_.push_back(std::move(s));
    }
  }
  TBarSeries& S(int k) { return *series_[static_cast<size_t>(k)]; }
  QImage Draw() {
    QImage image = charttest::PanelPicture(chart_);
    drawtest::Keep(image, "bars");
    return image;
  }
  int X(double value) const { return chart_.BottomAxis()->ValueToPixel(value); }
  int Y(double value) const { return chart_.LeftAxis()->ValueToPixel(value); }

  ChartLibraryScope scope_;
  TCustomAxisPanel chart_;
  std::vector<std::unique_ptr<TBarSeries>> series_;
};

// Bar width by the rule: the slot of the largest point count (one more with side margins),
// percent of it shared by the slots, made even.
int ExpectedWidth(int axisSize, int points, bool sideMargins, int percent, int slotCount) {
  const int slot = axisSize / (points + (sideMargins ? 1 : 0));
  int w = Round(percent * 0.01 * slot) / slotCount;
  return w % 2 ? w + 1 : w;
}

struct SideCase {
  const char* name;
  int series;
  bool sideMargins;
  int percent;
  bool inverted;
  bool pen;
};

class SideBySide : public Bars, public ::testing::WithParamInterface<SideCase> {};

}  // namespace

TEST_P(SideBySide, SlotsWidthsAndEdgesMatchTheRulesAndThePixels) {
  const SideCase& c = GetParam();
  Add(c.series);
  for (auto& s : series_) {
    s->SetBarWidthPercent(c.percent);
    if (c.pen) {
      s->BarPen().SetVisible(true);
      s->BarPen().SetColor(clBlack);
    }
  }
  S(0).SetSideMargins(c.sideMargins);
  chart_.BottomAxis()->SetInverted(c.inverted);
  const QImage image = Draw();
  const int bw = ExpectedWidth(chart_.BottomAxis()->IAxisSize(), 12, c.sideMargins, c.percent, c.series);
  ASSERT_GT(bw, 0);
  for (int k = 0; k < c.series; ++k) {
    TBarSeries& s = S(k);
    EXPECT_EQ(s.BarSlotCount(), c.series);
    EXPECT_EQ(s.BarSlotIndex(), k + 1);
    EXPECT_EQ(s.PrecedingPointCount(), 12 * k);
    EXPECT_EQ(s.MaxBarPointCount(), c.sideMargins ? 13 : 12);
    EXPECT_EQ(s.BarWidthPixels(), bw);
    EXPECT_EQ(s.SideMargins(), c.sideMargins) << "shared by every bar series";
    const auto left = [&](int i) { return X(i) + Round((k + 1 - c.series * 0.5 - 1) * bw); };
    for (int i = 0; i < 12; ++i) {
      const TBarGeometry g = s.BarGeometry(i);
      SCOPED_TRACE(testing::Message() << c.name << " series " << k << " point " << i);
      EXPECT_EQ(g.left, left(i));
      // The next bar to the right: the next slot, or the first slot of the next category.
      const int p = c.pen ? 1 : 0;
      const int next = c.inverted ? i - 1 : i + 1;
      int right;
      if (c.percent != 100) {
        right = left(i) + bw + 1;
      } else if (k + 1 < c.series) {
        right = left(i) + bw + (c.inverted ? 0 : 1 - p / 2);
      } else if (next >= 0 && next < 12) {
        right = left(next) - k * bw + (c.inverted ? 0 : 1 - p / 2);
      } else {
        right = left(i) + bw + (c.inverted ? p : 1 - p / 2);
      }
      EXPECT_EQ(g.right, right);
      EXPECT_EQ(g.valueY, Y(30 + 4 * i + k));
      EXPECT_EQ(g.originY, Y(0));
      // The pixels: columns left..left+bw (to the next bar at full width), rows value..origin-1.
      const int lastColumn = c.pen ? right - 1 : right;
      const int row = g.originY - 2, cx = g.left + bw / 2;
      (void)lastColumn;
      if (c.percent != 100) {
        // Side-by-side bars share one column: the later series draws it.
        const bool lastSeries = k + 1 == c.series;
        const TColor after = lastSeries ? clWhite : kColors[k + 1];
        if (!c.pen) {
          EXPECT_EQ(drawtest::At(image, g.left, row), kColors[k]);
          // (the last column of the last bar may lie past the plot, where it is clipped)
          if (g.left + bw < chart_.ChartRect().right) {
            EXPECT_EQ(drawtest::At(image, g.left + bw, row), lastSeries ? kColors[k] : after);
          }
        } else {
          EXPECT_EQ(drawtest::At(image, g.left, row), clBlack);
          EXPECT_EQ(drawtest::At(image, g.left + bw, row), clBlack);
          EXPECT_EQ(drawtest::At(image, g.left + 1, row), kColors[k]);
        }
        EXPECT_EQ(drawtest::At(image, g.left - 1, row), k == 0 ? clWhite : kColors[k - 1]);
        EXPECT_EQ(drawtest::At(image, g.left + bw + 1, row), after);
      }
      EXPECT_NE(drawtest::At(image, cx, g.valueY), clWhite);
      EXPECT_EQ(drawtest::At(image, cx, g.valueY - 1), clWhite);
      EXPECT_NE(drawtest::At(image, cx, g.originY - 1), clWhite);
      EXPECT_EQ(drawtest::At(image, cx, g.originY), clWhite);
    }
  }
  if (c.percent == 100 && c.series > 1) {
    // A taller first series stays in its own slot.
    for (int i = 0; i < 12; ++i) S(0).SetYValue(i, 95);
    const QImage tall = Draw();
    const TBarGeometry g = S(1).BarGeometry(6);
    EXPECT_EQ(drawtest::At(tall, g.left + bw / 2, Y(95) + 1), clWhite);
  }
  if (c.percent == 100) {
    // Full-width bars touch: no white column between the first bar and the last one.
    const TBarGeometry first = S(0).BarGeometry(c.inverted ? 11 : 0);
    const TBarGeometry last = S(c.series - 1).BarGeometry(c.inverted ? 0 : 11);
    const int row = Y(0) - 2;
    int white = 0;
    for (int x = std::min(first.left, last.left); x <= std::max(first.left, last.left); ++x) {
      white += drawtest::At(image, x, row) == clWhite;
    }
    EXPECT_EQ(white, 0);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Bars, SideBySide,
    ::testing::Values(SideCase{"one", 1, true, 70, false, false}, SideCase{"three", 3, true, 70, false, false},
                      SideCase{"three without side margins", 3, false, 70, false, false},
                      SideCase{"nine", 9, true, 70, false, false}, SideCase{"twelve", 12, true, 70, false, false},
                      SideCase{"twelve without side margins", 12, false, 70, false, false},
                      SideCase{"three with pen", 3, true, 70, false, true},
                      SideCase{"three full width", 3, true, 100, false, false},
                      SideCase{"three full width with pen", 3, false, 100, false, true},
                      SideCase{"three full width inverted", 3, true, 100, true, false}),
    [](const auto& info) {
      std::string name = info.param.name;
      for (char& ch : name) {
        if (ch == ' ') ch = '_';
      }
      return name;
    });

TEST_F(Bars, ThreeSeriesWithSideMarginsUseAThirteenthOfTheAxis) {
  Add(3);
  Draw();
  const int size = chart_.BottomAxis()->IAxisSize();
  int expected = Round(0.7 * (size / 13)) / 3;
  if (expected % 2) ++expected;
  EXPECT_EQ(S(1).BarWidthPixels(), expected);
}

TEST_F(Bars, OffsetShiftsByAShareOfTheBarWidth) {
  Add(3);
  Draw();
  const TBarGeometry before = S(1).BarGeometry(4);
  S(1).SetOffsetPercent(50);
  Draw();
  const TBarGeometry after = S(1).BarGeometry(4);
  EXPECT_EQ(after.left - before.left, Round(0.5 * S(1).BarWidthPixels()));
  EXPECT_EQ(after.right - after.left, before.right - before.left);
}

TEST_F(Bars, SideAllPutsEverySeriesPointsAfterTheOnesBefore) {
  Add(2);
  S(0).SetMultiBar(mbSideAll);
  EXPECT_EQ(S(1).MultiBar(), mbSideAll);
  const QImage image = Draw();
  EXPECT_EQ(S(1).PrecedingPointCount(), 12);
  EXPECT_GE(chart_.BottomAxis()->IMaximum(), 23);
  const int bw = S(1).BarWidthPixels();
  for (int i = 0; i < 12; ++i) {
    EXPECT_EQ(S(0).BarGeometry(i).left, X(i) - bw / 2);
    const TBarGeometry g = S(1).BarGeometry(i);
    EXPECT_EQ(g.left, X(i + 12) - bw / 2);
    EXPECT_EQ(drawtest::At(image, g.left + bw / 2, g.originY - 1), kColors[1]);
  }
}

TEST_F(Bars, StackedMixedSignsStackEachSignFromTheOrigin) {
  chart_.LeftAxis()->SetMinMax(-100, 100);
  Add(3);
  for (auto& s : series_) s->SetMultiBar(mbStacked);
  for (int i = 0; i < 12; ++i) {
    S(0).SetYValue(i, 20);
    S(1).SetYValue(i, -30);
    S(2).SetYValue(i, 10);
  }
  const QImage image = Draw();
  EXPECT_EQ(S(2).BarSlotCount(), 1);
  EXPECT_EQ(S(2).BarSlotIndex(), 1);
  const TBarGeometry up = S(0).BarGeometry(3), down = S(1).BarGeometry(3), onTop = S(2).BarGeometry(3);
  EXPECT_EQ(up.originY, Y(0));
  EXPECT_EQ(up.valueY, Y(20));
  EXPECT_EQ(down.originY, Y(0)) << "a negative value does not stack on positive ones";
  EXPECT_EQ(down.valueY, Y(-30));
  EXPECT_EQ(onTop.originY, Y(20));
  EXPECT_EQ(onTop.valueY, Y(30));
  const int cx = (up.left + up.right) / 2;
  EXPECT_EQ(drawtest::At(image, cx, Y(10)), kColors[0]);
  EXPECT_EQ(drawtest::At(image, cx, Y(-15)), kColors[1]);
  EXPECT_EQ(drawtest::At(image, cx, Y(25)), kColors[2]);
  EXPECT_DOUBLE_EQ(S(2).HighestY(), 30);
  EXPECT_DOUBLE_EQ(S(1).LowestY(), -30);
}

TEST_F(Bars, StackGroupsTakeOneSlotEach) {
  Add(3);
  for (auto& s : series_) s->SetMultiBar(mbStacked);
  S(1).SetStackGroup(1);
  Draw();
  EXPECT_EQ(S(0).BarSlotCount(), 2);
  EXPECT_EQ(S(0).BarSlotIndex(), 1);
  EXPECT_EQ(S(1).BarSlotIndex(), 2);
  EXPECT_EQ(S(2).BarSlotIndex(), 1);
  const TBarGeometry g = S(2).BarGeometry(5);
  EXPECT_EQ(g.left, S(0).BarGeometry(5).left);
  EXPECT_EQ(g.originY, Y(S(0).YValue(5))) << "stacked on the first series of its group only";
  EXPECT_EQ(g.valueY, Y(S(0).YValue(5) + S(2).YValue(5)));
  EXPECT_EQ(S(1).BarGeometry(5).originY, Y(0));
}

TEST_F(Bars, StackedToAHundredPercentAndAZeroTotalDrawsNothing) {
  Add(2, 2);
  for (auto& s : series_) s->SetMultiBar(mbStacked100);
  S(0).SetYValue(0, 1);
  S(1).SetYValue(0, 3);
  S(0).SetYValue(1, 0);
  S(1).SetYValue(1, 0);
  chart_.SetClipPoints(false);
  const QImage image = Draw();
  EXPECT_DOUBLE_EQ(S(0).HighestY(), 100);
  EXPECT_DOUBLE_EQ(S(0).LowestY(), 0);
  EXPECT_EQ(S(0).BarGeometry(0).valueY, Y(25));
  EXPECT_EQ(S(1).BarGeometry(0).originY, Y(25));
  EXPECT_EQ(S(1).BarGeometry(0).valueY, Y(100));
  const TBarGeometry zero = S(1).BarGeometry(1);
  EXPECT_FALSE(zero.drawn);
  // Nothing up to the panel's top edge at the empty category.
  for (int y = 0; y < image.height(); ++y) EXPECT_EQ(drawtest::At(image, X(1), y), clWhite) << y;
}

TEST_F(Bars, SelfStackStacksAPointOnTheOnesBeforeIt) {
  Add(2, 3);
  S(0).SetMultiBar(mbSelfStack);
  Draw();
  EXPECT_DOUBLE_EQ(S(1).LowestX(), 1);
  EXPECT_DOUBLE_EQ(S(1).HighestX(), 1);
  EXPECT_DOUBLE_EQ(S(0).HighestY(), S(0).YValues().Sum());
  EXPECT_EQ(S(1).FirstValueIndex(), 0);
  EXPECT_EQ(S(1).LastValueIndex(), 2);
  const TBarGeometry g = S(1).BarGeometry(2);
  EXPECT_EQ(g.originY, Y(S(1).YValue(0) + S(1).YValue(1)));
  EXPECT_EQ(g.valueY, Y(S(1).YValue(0) + S(1).YValue(1) + S(1).YValue(2)));
  EXPECT_EQ(g.left, X(1) - S(1).BarWidthPixels() / 2);
}

TEST_F(Bars, SharedSettingsAndAJoiningSeries) {
  Add(2);
  S(1).SetMultiBar(mbStacked);
  S(1).SetSideMargins(false);
  EXPECT_EQ(S(0).MultiBar(), mbStacked);
  EXPECT_FALSE(S(0).SideMargins());
  TBarSeries joining;
  joining.SetParentChart(&chart_);
  EXPECT_EQ(joining.MultiBar(), mbStacked);
  EXPECT_FALSE(joining.SideMargins());
  joining.SetParentChart(nullptr);
}

TEST_F(Bars, PointsWithoutColourLeaveAGapAndHitTestsFollowTheShape) {
  Add(1);
  S(0).SetPointColor(3, clNone);
  const QImage image = Draw();
  const TBarGeometry gap = S(0).BarGeometry(3), bar = S(0).BarGeometry(4);
  EXPECT_EQ(drawtest::At(image, (gap.left + gap.right) / 2, gap.originY - 2), clWhite);
  const int cx = (bar.left + bar.right) / 2;
  EXPECT_EQ(S(0).PointAt(cx, (bar.valueY + bar.originY) / 2), 4);
  EXPECT_EQ(S(0).PointAt(cx, bar.valueY - 3), -1);
  // A pyramid is hit inside its triangle only.
  S(0).SetBarStyle(bsPyramid);
  Draw();
  EXPECT_EQ(S(0).PointAt(cx, bar.originY - 2), 4);
  EXPECT_EQ(S(0).PointAt(bar.left + 1, bar.valueY + 2), -1);
}

TEST_F(Bars, GradientBarsRunFromTheStartColourToTheBarColour) {
  Add(1);
  S(0).SetBarStyle(bsRectGradient);
  S(0).SetSeriesColor(clBlue);
  const QImage image = Draw();
  const TBarGeometry g = S(0).BarGeometry(11);
  const int cx = (g.left + g.right) / 2;
  const platform::ColorRef top = drawtest::At(image, cx, g.valueY + 1);
  const platform::ColorRef bottom = drawtest::At(image, cx, g.originY - 2);
  // From the start colour at the bottom to the bar's colour at the top.
  EXPECT_GT((top >> 16) & 0xFF, 200u);
  EXPECT_LT(top & 0xFF, 40u) << "near blue at the value end";
  EXPECT_GT(bottom & 0xFF, 200u) << "near white at the origin";
}

TEST_F(Bars, GradientBarsOfHugeValuesShowTheirBandsNearTheOrigin) {
  chart_.LeftAxis()->SetMinMax(-100, 100);
  Add(1, 3);
  S(0).SetBarStyle(bsRectGradient);
  S(0).Gradient().SetStartColor(clYellow);
  S(0).SetYValue(0, 1e300);
  S(0).SetYValue(1, -1e300);
  for (bool view3D : {false, true}) {
    for (bool clip : {true, false}) {
      SCOPED_TRACE(testing::Message() << (view3D ? "3D" : "2D") << (clip ? " clipped" : " unclipped"));
      chart_.SetView3D(view3D);
      chart_.SetClipPoints(clip);
      const QImage image = Draw();
      const TRect plot = chart_.ChartRect();
      const TBarGeometry up = S(0).BarGeometry(0), down = S(0).BarGeometry(1);
      // The bars run far beyond the plot; what shows of them lies in the first band of the
      // gradient (the start colour from below, the bar's colour from above), up to the plot's edge.
      const int upX = (up.left + up.right) / 2, downX = (down.left + down.right) / 2;
      EXPECT_EQ(drawtest::At(image, upX, plot.top + 3), clYellow);
      EXPECT_EQ(drawtest::At(image, upX, up.originY - 3), clYellow);
      EXPECT_EQ(drawtest::At(image, downX, plot.bottom - 3), kColors[0]);
      EXPECT_EQ(drawtest::At(image, downX, down.originY + 3), kColors[0]);
    }
  }
}

TEST_F(Bars, EveryStyleDrawsInsideItsSlotIn2DAnd3D) {
  Add(1, 4);
  for (bool view3D : {false, true}) {
    chart_.SetView3D(view3D);
    for (int style = bsRectangle; style <= bsDiamond; ++style) {
      S(0).SetBarStyle(static_cast<TBarStyle>(style));
      const QImage image = Draw();
      const TBarGeometry g = S(0).BarGeometry(2);
      int inside = 0;
      for (int y = std::min(g.valueY, g.originY); y < std::max(g.valueY, g.originY); ++y) {
        for (int x = g.left; x <= g.right; ++x) inside += drawtest::At(image, x, y) != clWhite;
      }
      EXPECT_GT(inside, 0) << "style " << style << (view3D ? " in 3D" : " in 2D");
    }
  }
}

// A partly transparent bar in 3D blends all it draws: the front, and the top and side faces
// that reach back to the series' end depth, all show the white behind them.
TEST_F(Bars, TransparencyIn3DBlendsTheWholeBar) {
  Add(1, 4);
  chart_.SetView3D(true);
  const QImage opaque = Draw();
  S(0).SetTransparency(50);
  const QImage blended = Draw();
  const TBarGeometry g = S(0).BarGeometry(1);
  const int top = std::min(g.valueY, g.originY), bottom = std::max(g.valueY, g.originY);
  TCanvas3D& c = chart_.Canvas();
  const int z0 = S(0).StartZ(), z1 = S(0).EndZ();
  // The middle of a face given by four corners.
  auto middle = [&](TPoint3D a, TPoint3D b, TPoint3D d, TPoint3D e) {
    int x = 0, y = 0;
    for (const TPoint3D& p : {a, b, d, e}) {
      const TPoint q = c.ProjectPoint(p.x, p.y, p.z);
      x += q.x;
      y += q.y;
    }
    return TPoint{x / 4, y / 4};
  };
  const struct {
    const char* face;
    TPoint at;
  } faces[] = {
      {"front", middle({g.left, top, z0}, {g.right, top, z0}, {g.right, bottom, z0}, {g.left, bottom, z0})},
      {"top", middle({g.left, top, z0}, {g.right, top, z0}, {g.right, top, z1}, {g.left, top, z1})},
      {"side", middle({g.right, top, z0}, {g.right, bottom, z0}, {g.right, bottom, z1}, {g.right, top, z1})},
  };
  for (const auto& f : faces) {
    const platform::ColorRef before = drawtest::At(opaque, f.at.x, f.at.y), after = drawtest::At(blended, f.at.x, f.at.y);
    EXPECT_NE(before, clWhite) << f.face;
    EXPECT_NE(after, clWhite) << f.face;
    EXPECT_NE(after, before) << f.face;
    // Half way to white in every channel.
    EXPECT_NEAR(platform::RedOf(after), (platform::RedOf(before) + 255) / 2, 2) << f.face;
  }
}

TEST_F(Bars, GalleryStylesAndSampleValues) {
  Add(1, 4);
  for (int i = 0; i < 4; ++i) S(0).XValues().SetValue(i, 10 * (i + 1));
  // Sample points follow the X values of the other bar series.
  TBarSeries sample;
  sample.SetParentChart(&chart_);
  sample.FillSampleValues(6);
  ASSERT_EQ(sample.PointCount(), 6);
  for (int i = 0; i < 4; ++i) EXPECT_DOUBLE_EQ(sample.XValue(i), 10 * (i + 1));
  sample.SetParentChart(nullptr);
  // The sub-styles: a single series shown stacked gets a twin like itself.
  EXPECT_EQ(S(0).SubStyleName(0), MsgNormal.empty() ? "Normal" : MsgNormal);
  EXPECT_EQ(S(0).SubStyleName(6), MsgStack);
  S(0).SetBarWidthPercent(55);
  S(0).ApplySubStyle(6);
  ASSERT_EQ(chart_.SeriesCount(), 2);
  auto* twin = dynamic_cast<TBarSeries*>(chart_.SeriesAt(1));
  ASSERT_TRUE(twin);
  EXPECT_EQ(twin->BarWidthPercent(), 55);
  EXPECT_FALSE(twin->Marks().Visible());
  EXPECT_EQ(twin->MultiBar(), mbStacked);
  EXPECT_EQ(twin->PointCount(), 4);
  S(0).SetupPreview();
  EXPECT_EQ(S(0).BarWidthPercent(), 85);
  EXPECT_EQ(S(0).BarStyle(), bsRectGradient);
  EXPECT_EQ(S(0).MultiBar(), mbNone);
}
