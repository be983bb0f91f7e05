// The gallery's charts drawn in the test and checked for the geometric fact that makes each
// kind right: pie and donut marks outside their slices with the arrow starting at the rim,
// bar columns apart from each other and inside the plot, fixed axes labelled at both ends,
// legend items that say something.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "bench/chart_gallery.h"
#include "chart/procs.h"
#include "chart/unit.h"
#include "panel_fixture.h"

using namespace chart;

namespace {

class GalleryGeometry : public ::testing::Test {
 protected:
  // The gallery's chart of that name, drawn once.
  std::unique_ptr<TChart> Drawn(const std::string& name) {
    for (const gallery::Picture& p : gallery::Pictures()) {
      if (p.name != name) continue;
      auto c = p.make();
      charttest::PanelPicture(*c);
      return c;
    }
    ADD_FAILURE() << "no gallery picture " << name;
    return nullptr;
  }

  ChartLibraryScope scope_;
};

// Bars that touch share their edge pixels (a bar reaches one pixel beyond its width so that
// full-width bars meet); more than that is an overlap.
bool Overlap(const TRect& a, const TRect& b) {
  return a.left + 1 < b.right && b.left + 1 < a.right && a.top + 1 < b.bottom && b.top + 1 < a.bottom;
}

// The drawn rectangle of every point of every bar series.
std::vector<TRect> BarRects(TChart& c) {
  std::vector<TRect> out;
  for (int k = 0; k < c.SeriesCount(); ++k) {
    auto* bar = dynamic_cast<TCustomBarSeries*>(c.SeriesAt(k));
    if (!bar) continue;
    for (int i = 0; i < bar->PointCount(); ++i) {
      const TBarGeometry g = bar->BarGeometry(i);
      if (!g.drawn) continue;
      out.push_back(TRect{g.left, std::min(g.valueY, g.originY), g.right, std::max(g.valueY, g.originY)});
    }
  }
  return out;
}

void ExpectColumnsApartInsideThePlot(TChart& c, bool apart) {
  const std::vector<TRect> bars = BarRects(c);
  ASSERT_FALSE(bars.empty());
  const TRect& plot = c.ChartRect();
  for (size_t i = 0; i < bars.size(); ++i) {
    const TRect& r = bars[i];
    EXPECT_TRUE(r.left >= plot.left && r.right <= plot.right && r.top >= plot.top && r.bottom <= plot.bottom)
        << "bar " << i << " (" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ") outside ("
        << plot.left << ", " << plot.top << ", " << plot.right << ", " << plot.bottom << ")";
    if (!apart) continue;
    for (size_t j = i + 1; j < bars.size(); ++j) EXPECT_FALSE(Overlap(r, bars[j])) << "bars " << i << " and " << j;
  }
}

}  // namespace

// In 2D and 3D (where the marks project their stored positions once, at the marks' depth) each
// mark box keeps off its slice's face and its arrow starts on the face's rim.
TEST_F(GalleryGeometry, PieAndDonutMarksLieOutsideTheirSlicesAndPointAtTheRim) {
  for (const char* name : {"pie_2d", "pie_3d", "pie_exploded", "pie_other", "pie_semi", "donut_2d", "donut_3d",
                           "effects_shadow"}) {
    SCOPED_TRACE(name);
    auto c = Drawn(name);
    ASSERT_TRUE(c);
    auto* pie = dynamic_cast<TPieSeries*>(c->SeriesAt(0));
    ASSERT_NE(pie, nullptr);
    ASSERT_TRUE(pie->Marks().Visible());
    TCanvas3D& canvas = c->Canvas();
    const bool is3D = c->View3D();
    auto screen = [&](TPoint p, int z) { return is3D ? canvas.ProjectPoint(p.x, p.y, z) : p; };
    int checked = 0;
    for (int i = 0; i < pie->AngleCount(); ++i) {
      if (pie->IsGrouped(i)) continue;
      const TSeriesMarkPosition* p = pie->Marks().Positions().Position(i);
      ASSERT_NE(p, nullptr) << i;
      // The slice's face: the ellipse around the centre moved by the slice's explosion.
      const double middle = pie->Angle(i).middle + pie->RotationRadians();
      const int percent = pie->ExplodedSlice().Value(i);
      const int xc = pie->CircleXCenter() + Round(std::cos(middle) * pie->XRadius() * percent / 100.0);
      const int yc = pie->CircleYCenter() - Round(std::sin(middle) * pie->YRadius() * percent / 100.0);
      std::vector<TPoint> face;
      for (int k = 0; k < 72; ++k) {
        const double t = k * 2 * 3.14159265358979 / 72;
        face.push_back(screen(TPoint{xc + Round(std::cos(t) * pie->XRadius()), yc - Round(std::sin(t) * pie->YRadius())},
                              pie->StartZ()));
      }
      const TPoint to = screen(p->arrowTo, pie->MiddleZ());
      const TRect box{p->leftTop.x + to.x - p->arrowTo.x, p->leftTop.y + to.y - p->arrowTo.y,
                      p->leftTop.x + to.x - p->arrowTo.x + p->width, p->leftTop.y + to.y - p->arrowTo.y + p->height};
      for (int x = box.left; x <= box.right; x += 2) {
        for (int y : {box.top, box.bottom}) EXPECT_FALSE(IsPointInPolygon(TPoint{x, y}, face)) << i << ": " << x << ", " << y;
      }
      for (int y = box.top; y <= box.bottom; y += 2) {
        for (int x : {box.left, box.right}) EXPECT_FALSE(IsPointInPolygon(TPoint{x, y}, face)) << i << ": " << x << ", " << y;
      }
      const TPoint rim = screen(TPoint{xc + Round(std::cos(middle) * pie->XRadius()), yc - Round(std::sin(middle) * pie->YRadius())},
                                pie->StartZ());
      const TPoint from = screen(p->arrowFrom, pie->MiddleZ());
      EXPECT_LE(std::abs(from.x - rim.x), 2) << i;
      EXPECT_LE(std::abs(from.y - rim.y), 2) << i;
      ++checked;
    }
    EXPECT_GE(checked, 4);
  }
}

// Side-by-side and stacked bars never cover each other; every arrangement stays in the plot.
TEST_F(GalleryGeometry, BarColumnsStandApartInsideThePlot) {
  for (int m = mbNone; m <= mbSelfStack; ++m) {
    const std::string name = std::string("bar_multibar_") + gallery::kMultiBarNames[m];
    SCOPED_TRACE(name);
    auto c = Drawn(name);
    ASSERT_TRUE(c);
    // Without an arrangement the series stand in front of each other by design.
    ExpectColumnsApartInsideThePlot(*c, m != mbNone);
  }
  for (const char* name : {"legend_left", "palette_1", "effects_gradient"}) {
    SCOPED_TRACE(name);
    auto c = Drawn(name);
    ASSERT_TRUE(c);
    ExpectColumnsApartInsideThePlot(*c, true);
  }
}

// Each self-stacked series is one column: one to five of them stand side by side in the plot.
TEST_F(GalleryGeometry, SelfStackedColumnsOfOneToFiveSeries) {
  for (int n = 1; n <= 5; ++n) {
    SCOPED_TRACE(n);
    auto c = gallery::NewChart("Self stacked", false);
    gallery::AddBars(*c, n, 4, mbSelfStack, bsRectangle);
    charttest::PanelPicture(*c);
    ExpectColumnsApartInsideThePlot(*c, true);
    EXPECT_EQ(BarRects(*c).size(), static_cast<size_t>(4 * n));
  }
}

// A fixed axis with a decimal increment labels both of its ends (a quotient like 0.3 / 0.1,
// 2.9999999999999996 in floating point, counts as whole).
TEST_F(GalleryGeometry, FixedAxesLabelBothEnds) {
  const struct {
    double minimum, maximum, increment;
    const char* format;
    const char *low, *high;
  } cases[] = {
      {0, 0.3, 0.1, "#,##0.###", "0", "0.3"},        {0, 0.7, 0.1, "#,##0.###", "0", "0.7"},
      {0, 1, 0.1, "#,##0.###", "0", "1"},            {-0.5, 0.5, 0.25, "#,##0.###", "-0.5", "0.5"},
      {0, 40, 10, "#,##0.###", "0", "40"},           {0, 1e-3, 1e-4, "0.0000", "0.0000", "0.0010"},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(std::to_string(k.maximum) + " by " + std::to_string(k.increment));
    auto c = gallery::NewChart("", false);
    c->resize(300, 600);
    auto& line = gallery::AddSeries<TFastLineSeries>(*c, "line");
    line.AddY(k.minimum);
    line.AddY(k.maximum);
    TChartAxis* left = c->LeftAxis();
    left->SetMinMax(k.minimum, k.maximum);
    left->SetIncrement(k.increment);
    left->SetAxisValuesFormat(k.format);
    std::vector<std::string> texts;
    left->OnDrawLabel = [&](TChartAxis*, int&, int&, int&, std::string& text, bool&) { texts.push_back(text); };
    charttest::PanelPicture(*c);
    ASSERT_GE(texts.size(), 2u);
    EXPECT_EQ(texts.front(), k.high);
    EXPECT_EQ(texts.back(), k.low);
  }
}

// Every legend item has a text; series without title and name are listed by their place.
TEST_F(GalleryGeometry, LegendItemsAreNeverBlank) {
  for (const char* name : {"legend_left", "legend_top", "legend_style_series", "legend_style_values",
                           "legend_style_lastvalues", "pie_2d", "bar_multibar_side"}) {
    SCOPED_TRACE(name);
    auto c = Drawn(name);
    ASSERT_TRUE(c);
    TChartLegend& legend = c->Legend();
    ASSERT_TRUE(legend.Shown());
    int items = 0;
    for (int i = 0; i < legend.Items().Count(); ++i) {
      if (legend.Items().At(i).symbolRect.right <= legend.Items().At(i).symbolRect.left) continue;
      EXPECT_FALSE(legend.Items().At(i).text.empty()) << i;
      ++items;
    }
    EXPECT_GE(items, 3);
  }
  auto c = gallery::NewChart("", false);
  for (int k = 0; k < 2; ++k) {
    auto* s = new TFastLineSeries(c.get());
    s->AddY(k);
    s->AddY(k + 1);
    s->SetParentChart(c.get());
  }
  c->Legend().SetLegendStyle(lsSeries);
  charttest::PanelPicture(*c);
  EXPECT_EQ(c->Legend().TextOfItem(0), "Series1");
  EXPECT_EQ(c->Legend().TextOfItem(1), "Series2");
}
