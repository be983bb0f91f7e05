// The chart's pens, brushes and fonts, and the 2D operations of the canvas on a QImage.
#include <gtest/gtest.h>

#include <random>

#include "canvas_fixture.h"
#include "chart/effects.h"
#include "chart/procs.h"
#include "platform/cp932.h"

using namespace chart;
using platform::BrushStyle;
using platform::PenStyle;

namespace {

class Canvas2D : public charttest::CanvasFixture {
 protected:
  // The box of the pixels that `match` (left, top, right, bottom inclusive; right < left when none).
  template <class Match>
  TRect Ink(Match match) const {
    TRect b{image_.width(), image_.height(), -1, -1};
    for (int y = 0; y < image_.height(); ++y) {
      for (int x = 0; x < image_.width(); ++x) {
        const platform::ColorRef c = At(x, y);
        if (!match(platform::RedOf(c), platform::GreenOf(c), platform::BlueOf(c))) continue;
        b.left = std::min(b.left, x);
        b.top = std::min(b.top, y);
        b.right = std::max(b.right, x);
        b.bottom = std::max(b.bottom, y);
      }
    }
    return b;
  }
  void Clear() { image_.fill(Qt::white); }
};

bool Dark(int r, int g, int b) { return r < 90 && g < 90 && b < 90; }
bool Reddish(int r, int g, int b) { return r > 160 && g < 120 && b < 120; }

}  // namespace

// ---- Pens, brushes and fonts ----

TEST_F(Canvas2D, PenSelection) {
  TChartPen pen;
  pen.SetColor(clRed);
  pen.SetWidth(5);
  pen.Hide();
  canvas_.SelectPen(pen);
  EXPECT_EQ(canvas_.Pen().Style(), PenStyle::Clear);  // whatever its colour or width

  // A one-pixel pen keeps the platform pen.
  pen.Show();
  pen.SetWidth(1);
  pen.SetStyle(PenStyle::Dash);
  canvas_.SelectPen(pen);
  EXPECT_EQ(canvas_.Pen().ToLogPen(), (platform::LogPen{platform::PS_DASH, 1, 0x0000FF, {}}));

  // Two pixels wide: a geometric pen with the end style's caps and joins.
  pen.SetWidth(2);
  pen.SetStyle(PenStyle::Solid);
  pen.SetEndStyle(esFlat);
  canvas_.SelectPen(pen);
  EXPECT_EQ(canvas_.Pen().ToLogPen().style,
            platform::PS_GEOMETRIC | platform::PS_ENDCAP_FLAT | platform::PS_JOIN_MITER);
  canvas_.DrawLine(20, 20, 60, 20);
  EXPECT_EQ(At(20, 20), clRed);
  EXPECT_EQ(At(18, 20), clWhite);  // flat: nothing beyond the end
  pen.SetEndStyle(esRound);
  canvas_.SelectPen(pen);
  canvas_.DrawLine(20, 40, 60, 40);
  EXPECT_EQ(canvas_.Pen().ToLogPen().style,
            platform::PS_GEOMETRIC | platform::PS_ENDCAP_ROUND | platform::PS_JOIN_ROUND);

  // Small dots: every other pixel, or one pixel every SmallSpace + 2.
  pen.SetWidth(1);
  pen.SetSmallDots(true);
  canvas_.SelectPen(pen);
  canvas_.DrawLine(20, 60, 40, 60);
  EXPECT_EQ(At(20, 60), clRed);
  EXPECT_EQ(At(21, 60), clWhite);
  EXPECT_EQ(At(22, 60), clRed);
  pen.SetSmallSpace(2);
  canvas_.SelectPen(pen);
  canvas_.DrawLine(20, 70, 40, 70);
  EXPECT_EQ(At(20, 70), clRed);
  EXPECT_EQ(At(21, 70), clWhite);
  EXPECT_EQ(At(23, 70), clWhite);
  EXPECT_EQ(At(24, 70), clRed);

  // Monochrome draws black.
  canvas_.SetMonochrome(true);
  pen.SetSmallDots(false);
  canvas_.SelectPen(pen);
  EXPECT_EQ(canvas_.Pen().Color(), clBlack);
}

TEST_F(Canvas2D, PenBrushAndFontNotifyTheirOwnerAndCopy) {
  int changes = 0;
  TChartPen pen([&] { ++changes; });
  pen.SetColor(clRed);
  pen.SetColor(clRed);
  pen.SetEndStyle(esSquare);
  pen.Hide();
  EXPECT_EQ(changes, 3);
  EXPECT_TRUE(pen.IsVisibleStored());
  EXPECT_TRUE(pen.IsEndStyleStored());
  TChartHiddenPen hidden;
  EXPECT_FALSE(hidden.Visible());
  EXPECT_FALSE(hidden.IsVisibleStored());
  hidden.Assign(pen);
  EXPECT_EQ(hidden.Color(), clRed);
  EXPECT_EQ(hidden.EndStyle(), esSquare);
  EXPECT_EQ(TDottedGrayPen().Style(), PenStyle::Dot);
  EXPECT_EQ(TDottedGrayPen().Color(), clGray);
  EXPECT_EQ(TWhitePen().Color(), clWhite);

  changes = 0;
  TChartBrush brush([&] { ++changes; });
  EXPECT_EQ(brush.Color(), clDefault);
  auto bitmap = std::make_unique<platform::TBitmapGraphic>();
  bitmap->SetBitmap(platform::Dib::Filled(4, 4, clBlue));
  brush.Image().SetGraphic(std::move(bitmap));
  EXPECT_EQ(changes, 1);
  ASSERT_TRUE(brush.ImageBitmap());
  EXPECT_EQ(brush.ImageBitmap()->Pixel(1, 1), clBlue);
  TChartBrush copy;
  copy.Assign(brush);
  ASSERT_TRUE(copy.ImageBitmap());
  EXPECT_NE(&copy.Image(), &brush.Image());  // copied, not shared
  brush.SetImage(nullptr);
  EXPECT_FALSE(brush.HasImage());
  EXPECT_EQ(changes, 2);

  changes = 0;
  TPlotFont font([&] { ++changes; });
  EXPECT_EQ(font.Name(), DefaultChartFontName());
  EXPECT_EQ(font.Size(), DefaultChartFontSize());
  EXPECT_FALSE(font.IsNameStored());
  EXPECT_FALSE(font.IsHeightStored());
  font.Shadow().SetSize(2);   // the sub-objects share the font's notification
  font.OutLine().Show();
  font.Gradient().SetVisible(true);
  font.SetInterCharSize(1);
  EXPECT_EQ(changes, 4);
  TPlotFont other;
  other.Assign(font);
  ASSERT_NE(other.ShadowIfAny(), nullptr);
  EXPECT_EQ(other.ShadowIfAny()->HorizSize(), 2);
  EXPECT_EQ(other.InterCharSize(), 1);
  font.SetShadow(nullptr);
  EXPECT_EQ(font.ShadowIfAny(), nullptr);
  EXPECT_EQ(changes, 5);
}

TEST_F(Canvas2D, DefaultFontIsThePlatformsOnThisJapaneseSystem) {
  EXPECT_EQ(DefaultChartFontName(), platform::J("ＭＳ Ｐゴシック"));
  EXPECT_EQ(DefaultChartFontSize(), 9);
  canvas_.Font().SetSize(20);
  canvas_.ResetDrawingState();
  EXPECT_EQ(canvas_.Font().Size(), 9);
  EXPECT_EQ(canvas_.GetBackMode(), cbmTransparent);
  EXPECT_EQ(canvas_.GetBackColor(), clWhite);
}

TEST_F(Canvas2D, BrushAndFontSelection) {
  TChartBrush brush;
  brush.SetStyle(BrushStyle::Cross);
  canvas_.SelectBrushColor(brush, clRed, clNone);
  EXPECT_EQ(canvas_.Brush().Color(), clRed);
  EXPECT_EQ(canvas_.Brush().Style(), BrushStyle::Cross);
  EXPECT_EQ(canvas_.GetBackMode(), cbmTransparent);
  canvas_.SelectBrushColor(brush, clRed, clYellow);
  EXPECT_EQ(canvas_.GetBackMode(), cbmOpaque);
  EXPECT_EQ(canvas_.GetBackColor(), clYellow);
  auto bitmap = std::make_unique<platform::TBitmapGraphic>();
  bitmap->SetBitmap(platform::Dib::Filled(2, 2, clLime));
  brush.Image().SetGraphic(std::move(bitmap));
  canvas_.SelectBrushColor(brush, clRed, clYellow);
  ASSERT_TRUE(canvas_.Brush().Bitmap());
  canvas_.FillRect(TRect{0, 0, 10, 10});
  EXPECT_EQ(At(5, 5), clLime);
  canvas_.SetMonochrome(true);
  brush.SetImage(nullptr);
  canvas_.SelectBrush(brush, clRed);
  EXPECT_EQ(canvas_.Brush().Color(), clWhite);
  EXPECT_FALSE(canvas_.Brush().Bitmap());

  TPlotFont font;
  font.SetSize(10);
  font.SetColor(clRed);
  font.SetInterCharSize(3);
  canvas_.SetFontZoom(200);
  canvas_.SelectFont(font);
  EXPECT_EQ(canvas_.Font().Size(), 20);
  EXPECT_EQ(canvas_.Font().Color(), clBlack);  // monochrome
  EXPECT_EQ(dc_->State().charExtra, 3);
  EXPECT_EQ(canvas_.SelectedFont(), &font);
}

// ---- Texts ----

TEST_F(Canvas2D, TextShadowAndMeasures) {
  TPlotFont font;
  font.SetSize(20);
  canvas_.SetBackMode(cbmTransparent);
  canvas_.SelectFont(font);
  const int plainWidth = canvas_.TextWidth("WW"), plainHeight = canvas_.TextHeight("WW");
  canvas_.DrawText2D(22, 20, "WW");
  const TRect plain = Ink(Dark);
  Clear();

  font.Shadow().SetHorizSize(-2);
  font.Shadow().SetVertSize(3);
  font.Shadow().SetColor(clRed);
  canvas_.SelectFont(font);
  canvas_.DrawText2D(20, 20, "WW");
  const TRect text = Ink(Dark), shadow = Ink(Reddish);
  drawtest::Keep(image_, "chart-text-shadow");
  // The text 2 pixels right of x, the shadow at x and 3 pixels below.
  EXPECT_EQ(text, plain);
  EXPECT_EQ(shadow.left, plain.left - 2);
  EXPECT_EQ(shadow.bottom, plain.bottom + 3);

  font.Shadow().SetHorizSize(3);
  font.Shadow().SetVertSize(1);
  EXPECT_EQ(canvas_.TextWidth("WW"), plainWidth + 3);
  EXPECT_EQ(canvas_.TextHeight("WW"), plainHeight + 1);
  EXPECT_EQ(canvas_.WideTextWidth(u"WW"), plainWidth + 3);
  EXPECT_EQ(canvas_.TextHeightW(), canvas_.TextHeight("W"));
}

TEST_F(Canvas2D, TextWithOutlineAndGradient) {
  TPlotFont font;
  font.SetSize(40);
  font.SetStyle(platform::fsBold);
  font.SetColor(clYellow);
  font.OutLine().Show();
  font.OutLine().SetColor(clBlue);
  canvas_.SelectFont(font);
  canvas_.DrawText2D(10, 10, "H");
  drawtest::Keep(image_, "chart-text-outline");
  const TRect blue = Ink([](int r, int g, int b) { return b > 200 && r < 60 && g < 60; });
  const TRect yellow = Ink([](int r, int g, int b) { return r > 200 && g > 200 && b < 60; });
  ASSERT_GE(blue.right, blue.left);
  ASSERT_GE(yellow.right, yellow.left);
  EXPECT_LT(blue.left, yellow.left);  // the outline around the filled body
  EXPECT_GT(blue.right, yellow.right);

  // A gradient fills the glyphs (through the path as a clip), the outline drawn over it.
  Clear();
  font.Gradient().SetVisible(true);
  font.Gradient().SetStartColor(clRed);
  font.Gradient().SetEndColor(clLime);
  canvas_.SelectFont(font);
  canvas_.DrawText2D(10, 10, "H");
  drawtest::Keep(image_, "chart-text-gradient");
  const TRect red = Ink([](int r, int g, int b) { return r > 200 && g < 60 && b < 60; });
  const TRect lime = Ink([](int r, int g, int b) { return g > 200 && r < 60 && b < 60; });
  ASSERT_GE(red.right, red.left);
  ASSERT_GE(lime.right, lime.left);
  EXPECT_GT(red.bottom, lime.bottom);  // start colour at the bottom of the text
  EXPECT_EQ(canvas_.ClipDepth(), 0u);
  EXPECT_EQ(At(5, 5), clWhite);  // nothing outside the glyphs

  // The gradient in the widened outline only: the body stays unpainted.
  Clear();
  font.Gradient().SetOutline(true);
  canvas_.SelectFont(font);
  canvas_.DrawText2D(10, 10, "H");
  const TRect any = Ink([](int r, int g, int b) { return !(r > 240 && g > 240 && b > 240); });
  const int midX = (any.left + any.right) / 2;
  int painted = 0;
  for (int x = any.left; x <= any.right; ++x) painted += At(x, (any.top + any.bottom) / 2) != clWhite;
  EXPECT_GT(painted, 0);
  EXPECT_EQ(At(any.left + (midX - any.left) / 2 + 1, any.top + 2), clWhite);  // inside a stem: hollow
}

TEST_F(Canvas2D, RotatedTextRunsUpAndTheFontComesBack) {
  TPlotFont font;
  font.SetSize(16);
  canvas_.SelectFont(font);
  const platform::LogFont before = canvas_.Font().GetLogFont();
  canvas_.DrawRotatedText(100, 100, "Rain", 450);  // 450 degrees is 90
  drawtest::Keep(image_, "chart-text-rotated");
  const TRect ink = Ink(Dark);
  EXPECT_GT(ink.bottom - ink.top, ink.right - ink.left);  // upright
  EXPECT_LE(ink.bottom, 100);
  EXPECT_GE(ink.left, 99);  // the top of the text faces left, its cell lies right of x
  EXPECT_EQ(canvas_.Font().GetLogFont(), before);
  EXPECT_EQ(canvas_.Brush().Style(), BrushStyle::Clear);
}

// ---- Frames, sectors and clips ----

TEST_F(Canvas2D, BevelFrame) {
  canvas_.DrawBevelFrame(TRect{10, 10, 30, 30}, clRed, 2, clBlue);
  EXPECT_EQ(At(10, 10), clRed);
  EXPECT_EQ(At(28, 10), clRed);
  EXPECT_EQ(At(10, 28), clRed);
  EXPECT_EQ(At(29, 10), clBlue);
  EXPECT_EQ(At(29, 29), clBlue);
  EXPECT_EQ(At(10, 29), clBlue);
  EXPECT_EQ(At(11, 11), clRed);  // second ring
  EXPECT_EQ(At(28, 28), clBlue);
  EXPECT_EQ(At(12, 12), clWhite);
  EXPECT_EQ(At(30, 30), clWhite);
}

TEST_F(Canvas2D, RingSector) {
  canvas_.Pen().SetColor(clBlack);
  canvas_.Brush().SetColor(clRed);
  // A quarter from 0 to 90 degrees with a 50 % hole around (100, 100), radii 60 and 40.
  canvas_.DrawRingSector(100, 100, 60, 40, 0, M_PI / 2, 50);
  drawtest::Keep(image_, "chart-ring-sector");
  EXPECT_EQ(At(140, 85), clRed);    // in the ring
  EXPECT_EQ(At(110, 95), clWhite);  // in the hole
  EXPECT_EQ(At(70, 85), clWhite);   // beyond the end angle
  EXPECT_EQ(At(140, 110), clWhite); // below the start angle
  // Without a hole it is a pie slice.
  Clear();
  canvas_.DrawRingSector(100, 100, 60, 40, 0, M_PI / 2, 0);
  EXPECT_EQ(At(110, 95), clRed);
}

TEST_F(Canvas2D, NestedClipsUnwindInOrder) {
  platform::Region outer(TRect{5, 5, 195, 115});
  dc_->SelectClipRegion(&outer);  // the clip the device context had before
  canvas_.ClipRectangle(TRect{10, 10, 150, 100});
  canvas_.ClipEllipse(TRect{20, 10, 140, 100}, false);
  canvas_.ClipRoundRect(TRect{0, 0, 60, 60}, 10);
  EXPECT_EQ(canvas_.ClipDepth(), 3u);
  auto fill = [&](TColor c) {
    canvas_.Brush().SetColor(c);
    canvas_.FillRect(TRect{0, 0, 200, 120});
  };
  fill(clRed);
  EXPECT_EQ(At(50, 50), clRed);
  EXPECT_EQ(At(70, 50), clWhite);
  canvas_.Unclip();
  fill(clBlue);
  EXPECT_EQ(At(70, 50), clBlue);
  EXPECT_EQ(At(21, 12), clWhite);  // outside the ellipse
  canvas_.Unclip();
  fill(clLime);
  EXPECT_EQ(At(21, 12), clLime);
  EXPECT_EQ(At(160, 50), clWhite);
  canvas_.Unclip();
  fill(clYellow);
  EXPECT_EQ(At(160, 50), clYellow);
  EXPECT_EQ(At(2, 2), clWhite);  // the clip from before is back
  canvas_.Unclip();              // nothing left: no change
  fill(clAqua);
  EXPECT_EQ(At(2, 2), clWhite);
  platform::Region now;
  ASSERT_TRUE(dc_->GetClipRegion(now));
  EXPECT_EQ(now, outer);
}

TEST_F(Canvas2D, ExcludingEllipseAndPolygonClips) {
  canvas_.ClipEllipse(TRect{50, 20, 150, 100}, true);  // cuts a hole, saves nothing
  EXPECT_EQ(canvas_.ClipDepth(), 0u);
  canvas_.Brush().SetColor(clRed);
  canvas_.FillRect(TRect{0, 0, 200, 120});
  EXPECT_EQ(At(100, 60), clWhite);
  EXPECT_EQ(At(10, 10), clRed);
  dc_->SelectClipRegion(nullptr);
  Clear();
  const TPoint triangle[3] = {{10, 100}, {60, 10}, {110, 100}};
  canvas_.ClipPolygon(triangle);
  canvas_.FillRect(TRect{0, 0, 200, 120});
  canvas_.Unclip();
  EXPECT_EQ(At(60, 80), clRed);
  EXPECT_EQ(At(15, 20), clWhite);
}

TEST_F(Canvas2D, ClipShapesReachingFarBeyondTheSurfaceAreMadeOnlyOnIt) {
  const int far = 3000000;
  const TPoint quad[4] = {{-far, -far}, {far, -far / 2}, {far, far}, {-far, far / 3}};
  const TRect huge{-far, -far, far, far};
  const platform::Rect surface{0, 0, image_.width(), image_.height()};
  const platform::Region plot(TRect{10, 10, 150, 100});
  for (int shape = 0; shape < 3; ++shape) {
    for (bool clipped : {false, true}) {
      SCOPED_TRACE(testing::Message() << "shape " << shape << (clipped ? " in a clip" : ""));
      dc_->SelectClipRegion(clipped ? &plot : nullptr);
      if (shape == 0) canvas_.ClipPolygon(quad);
      if (shape == 1) canvas_.ClipEllipse(huge, false);
      if (shape == 2) canvas_.ClipRoundRect(huge, far);
      platform::Region now;
      ASSERT_TRUE(dc_->GetClipRegion(now));
      EXPECT_EQ(now, clipped ? plot : platform::Region(surface));
      canvas_.Unclip();
    }
  }
  dc_->SelectClipRegion(nullptr);
}

TEST_F(Canvas2D, CheckBoxIsDrawnByTheFrameControl) {
  PaintCheckBox(10, 10, *platformCanvas_, true, true);
  PaintCheckBox(40, 10, *platformCanvas_, false, false);
  drawtest::Keep(image_, "chart-check-box");
  int dark = 0;
  for (int y = 10; y < 23; ++y) {
    for (int x = 10; x < 23; ++x) dark += platform::RedOf(At(x, y)) < 60;
  }
  EXPECT_GT(dark, 8);                // the check mark
  EXPECT_EQ(At(23, 10), clWhite);    // 13 x 13
  EXPECT_NE(At(40, 16), clWhite);    // the radio button's rim
}

TEST_F(Canvas2D, DarkAndBright) {
  EXPECT_EQ(TPlotCanvas::Darken(platform::RgbColor(200, 100, 30), 64), platform::RgbColor(136, 36, 0));
  EXPECT_EQ(TPlotCanvas::Brighten(platform::RgbColor(200, 100, 30), 64), platform::RgbColor(255, 164, 94));
  canvas_.Brush().SetStyle(BrushStyle::Solid);
  canvas_.ApplyDark(clWhite, 128);
  EXPECT_EQ(canvas_.Brush().Color(), platform::RgbColor(127, 127, 127));
  canvas_.Brush().SetStyle(BrushStyle::Cross);
  canvas_.ApplyDark(clWhite, 64);
  EXPECT_EQ(canvas_.GetBackColor(), platform::RgbColor(191, 191, 191));
}

// ---- Geometry ----

TEST(ChartGeometry, ConvexHull) {
  std::vector<TPoint> square = {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {5, 5}};
  ASSERT_TRUE(ConvexHull(square));
  EXPECT_EQ(square.size(), 4u);
  for (const TPoint& p : square) EXPECT_FALSE(p.x == 5 && p.y == 5);

  std::vector<TPoint> two = {{0, 0}, {1, 1}};
  EXPECT_FALSE(ConvexHull(two));
  std::vector<TPoint> three = {{5, 0}, {0, 9}, {3, 3}};
  const std::vector<TPoint> threeBefore = three;
  EXPECT_TRUE(ConvexHull(three));
  EXPECT_EQ(three.size(), 3u);
  EXPECT_EQ(three[2].x, threeBefore[2].x);

  // Random clouds: every point lies inside (or on) the hull, and the hull turns one way.
  std::mt19937 rng(11);
  for (int round = 0; round < 50; ++round) {
    std::vector<TPoint> cloud(4 + rng() % 20);
    for (TPoint& p : cloud) p = TPoint{static_cast<int>(rng() % 100), static_cast<int>(rng() % 100)};
    std::vector<TPoint> hull = cloud;
    ASSERT_TRUE(ConvexHull(hull));
    ASSERT_GE(hull.size(), 2u);
    for (const TPoint& p : cloud) {
      for (size_t k = 0; k < hull.size(); ++k) {
        const TPoint& a = hull[k];
        const TPoint& b = hull[(k + 1) % hull.size()];
        const long cross = static_cast<long>(b.x - a.x) * (p.y - a.y) - static_cast<long>(b.y - a.y) * (p.x - a.x);
        EXPECT_GE(cross, 0) << "round " << round;
      }
    }
  }
}

TEST(ChartGeometry, Helpers) {
  EXPECT_TRUE(IsBackFacing({0, 0}, {10, 0}, {10, 10}));
  EXPECT_FALSE(IsBackFacing({10, 0}, {0, 0}, {0, 10}));
  const TPoint tri[3] = {{0, 0}, {10, 0}, {10, 10}};
  EXPECT_TRUE(IsBackFacingPoints(tri));
  EXPECT_TRUE(PointInRect(TRect{0, 0, 10, 10}, 10, 10));
  EXPECT_FALSE(PointInRect(TRect{0, 0, 10, 10}, 11, 10));
  EXPECT_EQ(NormalizeRect(TRect{10, 20, 0, 5}), (TRect{0, 5, 10, 20}));
  EXPECT_EQ(CenterOfRect(TRect{-5, -5, 0, 0}).x, -2);  // towards zero
  EXPECT_EQ(PolygonBounds(tri), (TRect{0, 0, 11, 11}));
  EXPECT_DOUBLE_EQ(Hypotenuse(3, 4), 5);
  uint8_t r, g, b;
  RGBBytes(platform::RgbColor(1, 2, 3), r, g, b);
  EXPECT_EQ(r + g * 10 + b * 100, 321);
  EXPECT_EQ(Round(2.5), 2);
  EXPECT_EQ(Round(3.5), 4);
  EXPECT_EQ(Round(-2.5), -2);
  EXPECT_EQ(Round(1e300), std::numeric_limits<int>::max());
  EXPECT_EQ(Round(std::nan("")), 0);
}

TEST_F(Canvas2D, BindingTakesOverTheCanvasObjectsAndHtmlTextsGoToTheirRenderer) {
  int heard = 0;
  platform::Canvas other(*dc_);
  other.Pen().OnChange = [&](platform::CanvasObject&) { ++heard; };
  canvas_.SetCanvas(&other);
  canvas_.Pen().SetColor(clRed);
  EXPECT_EQ(heard, 0);

  static int htmlCalls;
  htmlCalls = 0;
  canvas_.DrawTextMaybeHtml(10, 10, true, "<b>x</b>");  // no renderer installed: plain text
  EXPECT_NE(Ink(Dark).right, -1);
  SetHtmlTextDrawer([](TPlotCanvas&, int, int, const std::string&) { ++htmlCalls; });
  canvas_.DrawTextMaybeHtml(10, 10, true, "<b>x</b>");
  canvas_.DrawTextMaybeHtml(10, 10, false, "x");
  SetHtmlTextDrawer(nullptr);
  EXPECT_EQ(htmlCalls, 1);
}
