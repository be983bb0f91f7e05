// Framed chart shapes: storage rules, the box turned around its centre, shadows, gradient,
// bevel, transparency and copying.
#include <gtest/gtest.h>

#include "chart/shapes.h"
#include "panel_fixture.h"

using namespace chart;
using charttest::TestPanel;

namespace {

class Shapes : public ::testing::Test {
 protected:
  Shapes() {
    charttest::MakePlain(panel_, 160, 120);
    panel_.after = [this](TestPanel&, const TRect&) {
      if (draw_) draw_();
    };
  }
  // The panel's picture with `draw` run after its (white) background.
  QImage Draw(std::function<void()> draw) {
    draw_ = std::move(draw);
    return panel_.Picture();
  }
  platform::ColorRef Px(const QImage& image, int x, int y) { return drawtest::At(image, x, y); }

  ChartLibraryScope scope_;
  TestPanel panel_;
  std::function<void()> draw_;
};

}  // namespace

TEST_F(Shapes, SettersRepaintOnlyOnChange) {
  TPlotShape shape(&panel_);
  struct Case {
    const char* what;
    std::function<void()> same, other;
  } cases[] = {
      {"Visible", [&] { shape.SetVisible(true); }, [&] { shape.Hide(); }},
      {"Color", [&] { shape.SetColor(clWhite); }, [&] { shape.SetColor(clRed); }},
      {"Transparent", [&] { shape.SetTransparent(false); }, [&] { shape.SetTransparent(true); }},
      {"Bevel", [&] { shape.SetBevel(bvNone); }, [&] { shape.SetBevel(bvRaised); }},
      {"Pen.Width", [&] { shape.Pen().SetWidth(1); }, [&] { shape.Pen().SetWidth(2); }},
      {"Shadow.Color", [&] { shape.Shadow().SetColor(clBlack); }, [&] { shape.Shadow().SetColor(clGray); }},
      {"Font.Color", [&] { shape.Font().SetColor(clBlack); }, [&] { shape.Font().SetColor(clBlue); }},
      {"Transparency", [&] { shape.SetTransparency(0); }, [&] { shape.SetTransparency(30); }},
  };
  for (const Case& c : cases) {
    const int before = panel_.invalidations;
    c.same();
    EXPECT_EQ(panel_.invalidations, before) << c.what;
    c.other();
    EXPECT_EQ(panel_.invalidations, before + 1) << c.what;
  }
  // Without a parent the value is simply stored.
  TPlotShape alone(nullptr);
  alone.Hide();
  EXPECT_FALSE(alone.Visible());
}

TEST_F(Shapes, DefaultsAndBounds) {
  TPlotShape shape(&panel_);
  EXPECT_EQ(shape.Color(), clWhite);
  EXPECT_EQ(shape.BevelWidth(), 2);
  EXPECT_EQ(shape.Shadow().Color(), clBlack);
  EXPECT_EQ(shape.Shadow().HorizSize(), 3);
  EXPECT_FALSE(shape.Shadow().IsHorizSizeStored());
  EXPECT_EQ(shape.GradientIfAny(), nullptr);
  shape.SetShapeBounds(TRect{10, 20, 49, 29});
  EXPECT_EQ(shape.Width(), 40);
  EXPECT_EQ(shape.Height(), 10);
  shape.SetHeight(5);
  EXPECT_EQ(shape.ShapeBounds().bottom, 24);
  // A freed shadow stays freed when the shape is drawn, and nothing is drawn for it; copying a
  // shape without one frees the copy's. Asked for again, it comes back with the defaults.
  shape.SetColor(clRed);
  shape.Brush().SetColor(clRed);
  const TRect box{20, 20, 60, 50};
  const QImage shadowed = Draw([&] { shape.DrawFramedBox(box, 0, 0); });
  EXPECT_NE(Px(shadowed, 61, 40), clWhite);
  shape.SetShadow(nullptr);
  EXPECT_EQ(shape.ShadowIfAny(), nullptr);
  const QImage plain = Draw([&] { shape.DrawFramedBox(box, 0, 0); });
  EXPECT_EQ(shape.ShadowIfAny(), nullptr);
  EXPECT_EQ(Px(plain, 61, 40), clWhite);
  EXPECT_EQ(Px(plain, 40, 35), clRed);
  TPlotShape copy(&panel_);
  ASSERT_NE(copy.ShadowIfAny(), nullptr);
  copy.CopyFrom(shape);
  EXPECT_EQ(copy.ShadowIfAny(), nullptr);
  Draw([&] { copy.DrawFramedBox(box, 30, 0); });
  EXPECT_EQ(copy.ShadowIfAny(), nullptr);
  EXPECT_EQ(shape.Shadow().VertSize(), 3);
}

TEST_F(Shapes, BoxTurnedByThirtyDegrees) {
  const TRect box{50, 40, 110, 80};
  const std::array<TPoint, 4> corners = TPlotCustomShape::RotatedCorners(box, 30);
  const TPoint expected[4] = {{44, 58}, {96, 28}, {116, 62}, {64, 92}};
  for (size_t k = 0; k < 4; ++k) {
    EXPECT_EQ(corners[k].x, expected[k].x) << k;
    EXPECT_EQ(corners[k].y, expected[k].y) << k;
  }
  TPlotShape shape(&panel_);
  shape.Brush().SetColor(clRed);
  shape.SetColor(clRed);
  shape.SetShadow(nullptr);
  shape.Shadow().SetSize(0);
  const QImage turned = Draw([&] { shape.DrawFramedBox(box, 30, 0); });
  drawtest::Keep(turned, "shape-turned-30");
  EXPECT_EQ(Px(turned, 80, 60), clRed);
  EXPECT_EQ(Px(turned, 64, 85), clRed);    // below the upright box, inside the turned one
  EXPECT_EQ(Px(turned, 52, 42), clWhite);  // in the upright box's corner, outside the turned one
  EXPECT_EQ(Px(turned, 96, 28), clBlack);  // a corner of the outline
  const QImage upright = Draw([&] { shape.DrawFramedBox(box, 0, 0); });
  EXPECT_EQ(Px(upright, 52, 42), clRed);
  EXPECT_EQ(Px(upright, 64, 85), clWhite);
}

TEST_F(Shapes, ShadowsOfSquareRoundAndTurnedBoxes) {
  TPlotShape shape(&panel_);
  shape.SetColor(clYellow);
  shape.Brush().SetColor(clYellow);
  shape.Shadow().SetSmooth(false);
  const TRect box{40, 30, 100, 70};
  // Square: the rectangle shadow, 3 pixels right and below.
  QImage image = Draw([&] { shape.DrawFramedBox(box, 0, 0); });
  EXPECT_EQ(Px(image, 101, 50), clBlack);
  EXPECT_EQ(Px(image, 70, 71), clBlack);
  EXPECT_EQ(Px(image, 104, 50), clWhite);
  // Rounded: the outline moved by the shadow size plus the pen width.
  shape.SetShapeStyle(fosRoundRectangle);
  image = Draw([&] { shape.DrawFramedBox(box, 0, 0); });
  drawtest::Keep(image, "shape-round-shadow");
  EXPECT_EQ(Px(image, 102, 50), clBlack);
  EXPECT_EQ(Px(image, 70, 72), clBlack);
  EXPECT_EQ(Px(image, 70, 50), clYellow);
  // Turned: the turned outline moved likewise.
  shape.SetShapeStyle(fosRectangle);
  image = Draw([&] { shape.DrawFramedBox(box, 30, 0); });
  drawtest::Keep(image, "shape-turned-shadow");
  const std::array<TPoint, 4> corners = TPlotCustomShape::RotatedCorners(box, 30);
  const TPoint underEdge{(corners[2].x + corners[3].x) / 2, (corners[2].y + corners[3].y) / 2 + 3};
  EXPECT_EQ(Px(image, underEdge.x, underEdge.y), clBlack);
  // A clear brush casts no shadow; a transparent shape draws nothing at all.
  shape.Brush().SetStyle(platform::BrushStyle::Clear);
  image = Draw([&] { shape.DrawFramedBox(box, 0, 0); });
  EXPECT_EQ(Px(image, 101, 50), clWhite);
  shape.Brush().SetStyle(platform::BrushStyle::Solid);
  shape.SetTransparent(true);
  image = Draw([&] { shape.DrawFramedBox(box, 0, 0); });
  EXPECT_EQ(drawtest::DiffCount(image, Draw(nullptr)), 0);
}

TEST_F(Shapes, GradientBevelAndTransparency) {
  TPlotShape shape(&panel_);
  shape.SetShadow(nullptr);
  shape.Shadow().SetSize(0);
  shape.Gradient().SetVisible(true);
  shape.Gradient().SetStartColor(clWhite);
  shape.Gradient().SetEndColor(clBlue);
  shape.SetBevel(bvRaised);
  shape.SetBevelWidth(2);
  const TRect box{20, 20, 120, 100};
  QImage image = Draw([&] { shape.DrawFramedBox(box, 0, 0); });
  drawtest::Keep(image, "shape-gradient-bevel");
  // Top-bottom gradient: the end colour at the top, the start at the bottom.
  EXPECT_GT(platform::BlueOf(Px(image, 70, 24)), 200);
  EXPECT_LT(platform::RedOf(Px(image, 70, 24)), 40);
  EXPECT_GT(platform::RedOf(Px(image, 70, 95)), 200);
  // The raised bevel inside the outline: light at top-left, dark at bottom-right.
  EXPECT_EQ(Px(image, 21, 60), platform::SystemColorRgb(platform::COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(Px(image, 118, 60), platform::SystemColorRgb(platform::COLOR_BTNSHADOW));
  // Half transparent over a red background: a mix of both.
  shape.SetGradient(nullptr);
  shape.SetBevel(bvNone);
  shape.SetColor(clBlue);
  shape.Brush().SetColor(clBlue);
  shape.SetTransparency(50);
  image = Draw([&] {
    panel_.Canvas().Brush().SetStyle(platform::BrushStyle::Solid);
    panel_.Canvas().Brush().SetColor(clRed);
    panel_.Canvas().FillRect(box);
    shape.DrawFramedBox(box, 0, 0);
  });
  const platform::ColorRef mixed = Px(image, 70, 60);
  EXPECT_NEAR(platform::RedOf(mixed), 127, 2);
  EXPECT_NEAR(platform::BlueOf(mixed), 127, 2);
}

TEST_F(Shapes, CopyFromTakesEveryField) {
  TPlotShape a(&panel_), b(&panel_);
  a.SetBevel(bvLowered);
  a.SetBevelWidth(4);
  a.SetColor(clTeal);
  a.Font().SetColor(clRed);
  a.Gradient().SetVisible(true);
  a.SetShapeStyle(fosRoundRectangle);
  a.Shadow().SetSize(7);
  a.SetTextFormat(ttfHtml);
  a.SetTransparent(true);
  a.SetTransparency(40);
  a.Pen().SetColor(clBlue);
  a.Brush().SetStyle(platform::BrushStyle::Cross);
  a.Hide();
  b.CopyFrom(a);
  EXPECT_EQ(b.Bevel(), bvLowered);
  EXPECT_EQ(b.BevelWidth(), 4);
  EXPECT_EQ(b.Color(), clTeal);
  EXPECT_EQ(b.Font().Color(), clRed);
  ASSERT_NE(b.GradientIfAny(), nullptr);
  EXPECT_TRUE(b.GradientIfAny()->Visible());
  EXPECT_EQ(b.ShapeStyle(), fosRoundRectangle);
  EXPECT_EQ(b.Shadow().VertSize(), 7);
  EXPECT_EQ(b.TextFormat(), ttfHtml);
  EXPECT_TRUE(b.Transparent());
  EXPECT_EQ(b.Transparency(), 40);
  EXPECT_EQ(b.Pen().Color(), clBlue);
  EXPECT_EQ(b.Brush().Style(), platform::BrushStyle::Cross);
  EXPECT_FALSE(b.Visible());
}
