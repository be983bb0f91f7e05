// Colour steps, gradient bands of every direction, radial painting, shadows and blends.
#include <gtest/gtest.h>

#include <functional>

#include "canvas_fixture.h"
#include "chart/effects.h"
#include "platform/emf_recorder.h"

using namespace chart;
using platform::BrushStyle;
using platform::PenStyle;

namespace {

class Effects : public charttest::CanvasFixture {
 protected:
  void Clear() { image_.fill(Qt::white); }
  // Every pixel of `r` against the expected colour index of the gradient from `a` to `b`.
  void ExpectBands(const TRect& r, TColor a, TColor b, int count, int balance,
                   const std::function<int(int x, int y)>& index, const char* what) {
    int wrong = 0;
    for (int y = r.top; y < r.bottom; ++y) {
      for (int x = r.left; x < r.right; ++x) {
        if (At(x, y) != ColorToRGB(InterpolateColor(a, b, index(x, y), count, balance))) ++wrong;
      }
    }
    EXPECT_EQ(wrong, 0) << what;
    // Nothing outside the rectangle.
    for (int x = r.left - 1; x <= r.right; ++x) {
      EXPECT_EQ(At(x, r.top - 1), clWhite) << what;
      EXPECT_EQ(At(x, r.bottom), clWhite) << what;
    }
  }
};

}  // namespace

TEST(ColorSteps, Interpolation) {
  const struct {
    TColor a, b;
    int index, count, balance;
    TColor expected;
  } kCases[] = {
      {clBlack, clWhite, 0, 10, 50, clBlack},
      {clBlack, clWhite, 10, 10, 50, clWhite},
      {clBlack, clWhite, 3, 10, 50, platform::RgbColor(76, 76, 76)},      // 255 * 3 div 10
      {clWhite, clBlack, 3, 10, 50, platform::RgbColor(179, 179, 179)},   // 255 - 765 div 10, towards zero
      {clRed, clBlue, 1, 2, 50, platform::RgbColor(128, 0, 127)},
      // Other balances: ((i + 1) / (count + 1)) ^ (0.5 + 0.015 * balance), rounded.
      {clBlack, clWhite, 4, 9, 0, platform::RgbColor(180, 180, 180)},    // 0.5^0.5
      {clBlack, clWhite, 4, 9, 100, platform::RgbColor(64, 64, 64)},     // 0.5^2
      {clBlack, clWhite, 9, 9, 70, clWhite},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(InterpolateColor(c.a, c.b, c.index, c.count, c.balance), c.expected)
        << c.index << "/" << c.count << " balance " << c.balance;
  }
}

TEST_F(Effects, LinearBandsFollowTheBandRule) {
  const TRect r{10, 10, 17, 22};  // 7 x 12
  const TColor a = platform::RgbColor(250, 10, 0), b = platform::RgbColor(0, 200, 240);
  const struct {
    TGradientDirection direction;
    bool vertical, swapped;
  } kCases[] = {{gdTopBottom, true, false}, {gdBottomTop, true, true}, {gdLeftRight, false, false}, {gdRightLeft, false, true}};
  for (const auto& c : kCases) {
    Clear();
    canvas_.GradientFill(r, a, 50, c.direction, b);
    const int size = c.vertical ? r.Height() : r.Width(), n = std::min(size, 256);
    // The band of a pixel, counted from the bottom (or right) edge.
    auto index = [&](int x, int y) {
      const int from = c.vertical ? r.bottom - 1 - y : r.right - 1 - x;
      for (int i = 0; i < n; ++i) {
        if (from >= size * i / n && from < size * (i + 1) / n) return i;
      }
      return -1;
    };
    ExpectBands(r, c.swapped ? b : a, c.swapped ? a : b, n - 1, 50, index, "linear");
  }
  // More rows than colours: 300 rows in 256 bands.
  Clear();
  const TRect tall{0, 0, 3, 300};
  QImage big = drawtest::WhiteImage(4, 301);
  platform::QtDc bigDc(big);
  platform::Canvas bigCanvas(bigDc);
  canvas_.SetCanvas(&bigCanvas);
  canvas_.GradientFill(tall, clBlack, 50, gdTopBottom, clWhite);
  EXPECT_EQ(drawtest::At(big, 1, 299), clBlack);
  EXPECT_EQ(drawtest::At(big, 1, 0), clWhite);
  EXPECT_EQ(drawtest::At(big, 1, 298), platform::RgbColor(1, 1, 1));  // band 1: 300 * 1 div 256 = 1 to 2
  EXPECT_EQ(drawtest::At(big, 1, 294), platform::RgbColor(5, 5, 5));  // band 5 holds two rows: 5 to 7
  EXPECT_EQ(drawtest::At(big, 1, 293), platform::RgbColor(5, 5, 5));
}

TEST_F(Effects, CornerAndDiagonalBands) {
  const TRect r{20, 20, 29, 26};  // 9 x 6
  const int w = r.Width(), h = r.Height();
  const TColor a = clRed, b = clBlue;
  // From a corner: the colour of an L-step grows with the distance from that corner.
  Clear();
  canvas_.GradientFill(r, a, 50, gdFromTopLeft, b);
  ExpectBands(r, b, a, w + h, 50, [&](int x, int y) {
    const int m = std::max(x - r.left, y - r.top);
    return std::min(m, w - 1) + std::min(m, h - 1);
  }, "from top left");
  Clear();
  canvas_.GradientFill(r, a, 50, gdFromBottomLeft, b);
  ExpectBands(r, b, a, w + h, 50, [&](int x, int y) {
    const int m = std::max(x - r.left, r.bottom - 1 - y);
    return std::min(m, w - 1) + std::min(m, h - 1);
  }, "from bottom left");
  // Diagonal lines k = 1 .. w + h - 1 in colour k * count div (w + h).
  const int count = w + h - 1;
  Clear();
  canvas_.GradientFill(r, a, 50, gdDiagonalUp, b);
  ExpectBands(r, a, b, count, 50, [&](int x, int y) { return ((x - r.left) + (r.bottom - y)) * count / (w + h); },
              "diagonal up");
  Clear();
  canvas_.GradientFill(r, a, 50, gdDiagonalDown, b);
  ExpectBands(r, a, b, count, 50, [&](int x, int y) { return ((x - r.left) + (y - r.top) + 1) * count / (w + h); },
              "diagonal down");
}

TEST_F(Effects, FramesFromTheCenter) {
  // 6 x 4: frames with insets (0, 0), (1, 1), (2, 2): the last is empty (4 rows end), so the
  // outer ring has colour 0, the next one colour 2. The centre colour comes from the end colour.
  const TRect r{10, 10, 16, 14};
  canvas_.GradientFill(r, clRed, 50, gdFromCenter, clBlue);
  const int count = 3 + 2;
  EXPECT_EQ(At(10, 10), ColorToRGB(InterpolateColor(clBlue, clRed, 0, count, 50)));
  EXPECT_EQ(At(15, 13), ColorToRGB(InterpolateColor(clBlue, clRed, 0, count, 50)));
  EXPECT_EQ(At(11, 11), ColorToRGB(InterpolateColor(clBlue, clRed, 2, count, 50)));
  EXPECT_EQ(At(13, 12), ColorToRGB(InterpolateColor(clBlue, clRed, 2, count, 50)));
  EXPECT_EQ(At(16, 12), clWhite);
}

TEST_F(Effects, GradientEdgeCases) {
  // A vertical gradient over a rectangle one pixel high paints nothing.
  canvas_.GradientFill(TRect{10, 10, 50, 11}, clRed, 50, gdTopBottom, clBlue);
  EXPECT_EQ(At(20, 10), clWhite);
  canvas_.GradientFill(TRect{10, 20, 11, 60}, clRed, 50, gdLeftRight, clBlue);
  EXPECT_EQ(At(10, 30), clWhite);

  // Start white and end yellow from top to bottom: yellow at the top edge, white at the bottom.
  TPlotGradient g;
  g.SetVisible(true);
  g.PaintRect(canvas_, TRect{60, 10, 80, 40});
  EXPECT_EQ(At(70, 10), clYellow);
  EXPECT_EQ(At(70, 39), clWhite);

  // A middle colour: end at the top, middle in the centre, start at the bottom; removing it
  // with the colour none gives the two-colour gradient back.
  int changes = 0;
  g.SetOnChange([&] { ++changes; });
  g.SetStartColor(clRed);
  g.SetEndColor(clBlue);
  g.SetMidColor(clLime);
  EXPECT_EQ(g.MidColor(), clLime);
  g.PaintRect(canvas_, TRect{90, 10, 100, 50});
  EXPECT_EQ(At(95, 10), clBlue);
  EXPECT_EQ(At(95, 29), clLime);
  EXPECT_EQ(At(95, 49), clRed);
  g.SetMidColor(clNone);
  EXPECT_FALSE(g.HasMiddle());
  EXPECT_EQ(g.MidColor(), clNone);
  g.SetMidColor(clNone);
  EXPECT_EQ(changes, 4);
  g.PaintRect(canvas_, TRect{90, 10, 100, 50});
  EXPECT_NE(At(95, 29), clLime);

  // Left to right with a middle: end at the left, middle in the centre, start at the right.
  g.SetMidColor(clLime);
  g.SetDirection(gdLeftRight);
  g.PaintRect(canvas_, TRect{110, 10, 150, 20});
  EXPECT_EQ(At(110, 15), clBlue);
  EXPECT_EQ(At(129, 15), clLime);
  EXPECT_EQ(At(149, 15), clRed);

  // A copy takes every property and the middle colour; monochrome paints grey.
  TPlotFontGradient copy;
  copy.Assign(g);
  EXPECT_EQ(copy.MidColor(), clLime);
  EXPECT_EQ(copy.Direction(), gdLeftRight);
  canvas_.SetMonochrome(true);
  g.PaintRect(canvas_, TRect{110, 30, 150, 40});
  const platform::ColorRef grey = At(149, 35);
  EXPECT_TRUE(platform::RedOf(grey) == platform::GreenOf(grey) && platform::GreenOf(grey) == platform::BlueOf(grey));
}

TEST_F(Effects, RadialPaintingOfTinyAndLargeRectangles) {
  TPlotGradient g;
  g.SetDirection(gdRadial);
  g.SetStartColor(clRed);
  g.SetEndColor(clBlue);
  // Rectangles of 0 x 0 to 3 x 3: no ring to divide into for one pixel or none.
  for (int size = 0; size <= 3; ++size) {
    Clear();
    const TRect r{10, 10, 10 + size, 10 + size};
    g.PaintRect(canvas_, r);
    for (int y = 8; y < 16; ++y) {
      for (int x = 8; x < 16; ++x) {
        const bool inside = x >= r.left && x < r.right && y >= r.top && y < r.bottom;
        if (!inside) {
          EXPECT_EQ(At(x, y), clWhite) << size << " at " << x << "," << y;
        }
      }
    }
    if (size == 1) {
      EXPECT_EQ(At(10, 10), clBlue);
    }
    EXPECT_EQ(canvas_.ClipDepth(), 0u);
  }
  // A large one: nearly the start colour in the centre (moved by one; the rings smaller than
  // two pixels draw nothing), the end colour in the corners.
  Clear();
  canvas_.Pen().SetColor(clLime);
  g.PaintRect(canvas_, TRect{20, 20, 80, 80});
  auto nearlyRed = [](platform::ColorRef c) { return platform::RedOf(c) > 220 && platform::BlueOf(c) < 40; };
  EXPECT_TRUE(nearlyRed(At(51, 51)));
  EXPECT_EQ(At(20, 20), clBlue);
  EXPECT_EQ(At(79, 79), clBlue);
  EXPECT_EQ(At(81, 50), clWhite);
  EXPECT_EQ(canvas_.Pen().Style(), PenStyle::Solid);  // restored
  EXPECT_EQ(canvas_.Pen().Color(), clLime);
  // Offsets move the centre; the canvas's own radial direction takes start and end colours.
  Clear();
  g.SetRadialX(15);
  g.PaintRect(canvas_, TRect{20, 20, 80, 80});
  EXPECT_TRUE(nearlyRed(At(66, 51)));
  EXPECT_FALSE(nearlyRed(At(51, 51)));
  Clear();
  canvas_.GradientFill(TRect{20, 20, 80, 80}, clRed, 50, gdRadial, clBlue);
  EXPECT_TRUE(nearlyRed(At(51, 51)));
}

TEST_F(Effects, RectangleShadows) {
  TPlotShadow shadow;
  shadow.SetColor(clBlack);
  // Flat: the strip below and the strip to the right, moved by the sizes.
  shadow.SetSmooth(false);
  shadow.SetSize(4);
  canvas_.BeginFlatDrawing();
  shadow.PaintRectShadow(canvas_, TRect{10, 10, 40, 30}, 0);
  EXPECT_EQ(At(14, 30), clBlack);
  EXPECT_EQ(At(43, 33), clBlack);
  EXPECT_EQ(At(40, 14), clBlack);
  EXPECT_EQ(At(13, 31), clWhite);
  EXPECT_EQ(At(44, 20), clWhite);
  EXPECT_EQ(At(40, 13), clWhite);
  EXPECT_EQ(At(20, 34), clWhite);
  // Smooth and larger than 1: lines that get lighter outwards.
  Clear();
  shadow.SetSmooth(true);
  shadow.PaintRectShadow(canvas_, TRect{10, 10, 40, 30}, 0);
  drawtest::Keep(image_, "chart-shadow-smooth");
  const platform::ColorRef inner = At(20, 30), outer = At(20, 33);
  EXPECT_EQ(inner, clBlack);
  EXPECT_GT(platform::RedOf(outer), platform::RedOf(inner));
  EXPECT_EQ(platform::RedOf(At(20, 31)) - platform::RedOf(inner), Round(255.0 / 4));
  EXPECT_NE(At(40, 20), clWhite);
  EXPECT_EQ(At(20, 34), clWhite);
  // Size 1 with Smooth draws the flat rectangles, not the shaded lines.
  Clear();
  shadow.SetSize(1);
  shadow.PaintRectShadow(canvas_, TRect{10, 10, 40, 30}, 0);
  EXPECT_EQ(At(20, 30), clBlack);
  EXPECT_EQ(At(40, 20), clBlack);
  EXPECT_EQ(At(20, 31), clWhite);
  // Colour none or both sizes 0 paint nothing.
  Clear();
  shadow.SetColor(clNone);
  shadow.PaintRectShadow(canvas_, TRect{10, 10, 40, 30}, 0);
  shadow.SetColor(clBlack);
  shadow.SetSize(0);
  shadow.PaintRectShadow(canvas_, TRect{10, 10, 40, 30}, 0);
  EXPECT_EQ(drawtest::DiffCount(image_, drawtest::WhiteImage(image_.width(), image_.height())), 0);
  // A negative size puts the strips above and to the left.
  shadow.SetSmooth(false);
  shadow.SetHorizSize(-3);
  shadow.SetVertSize(-3);
  shadow.PaintRectShadow(canvas_, TRect{50, 50, 80, 70}, 0);
  EXPECT_EQ(At(60, 48), clBlack);
  EXPECT_EQ(At(48, 60), clBlack);
  canvas_.EndFlatDrawing();
}

TEST_F(Effects, EllipseShadow) {
  TPlotShadow shadow;
  shadow.SetColor(clGray);
  shadow.SetSize(6);
  shadow.PaintEllipseShadow(canvas_, TRect{20, 20, 80, 60}, 0);
  EXPECT_NE(At(56, 46), clWhite);   // inside the moved ellipse
  EXPECT_EQ(At(27, 27), clWhite);   // outside it
  EXPECT_EQ(canvas_.ClipDepth(), 0u);
  Clear();
  shadow.SetSmooth(false);
  shadow.PaintEllipseShadow(canvas_, TRect{20, 20, 80, 60}, 0);
  EXPECT_EQ(At(56, 46), clGray);
}

TEST_F(Effects, BlendsMixNewDrawingWithTheBackground) {
  auto paint = [&](int transparency) {
    canvas_.Brush().SetColor(platform::RgbColor(200, 0, 100));
    canvas_.FillRect(TRect{0, 0, 50, 50});
    std::unique_ptr<TPlotBlend> blend = canvas_.BeginBlend(TRect{10, 10, 40, 40}, transparency);
    EXPECT_TRUE(blend->Valid());
    canvas_.Brush().SetColor(platform::RgbColor(0, 100, 255));
    canvas_.FillRect(TRect{0, 0, 50, 50});
    canvas_.EndBlend(std::move(blend));
    return At(20, 20);
  };
  EXPECT_EQ(paint(0), platform::RgbColor(0, 100, 255));   // the new drawing unchanged
  EXPECT_EQ(paint(50), platform::RgbColor(100, 50, 178));  // new + 50 (old - new) div 100, towards 0
  EXPECT_EQ(paint(100), platform::RgbColor(200, 0, 100));  // the background back
  EXPECT_EQ(At(5, 5), platform::RgbColor(0, 100, 255));    // outside the blend

  // Each blend mixes with its own transparency, also inside another one.
  canvas_.Brush().SetColor(clBlack);
  canvas_.FillRect(TRect{60, 0, 120, 50});
  auto outer = canvas_.BeginBlend(TRect{60, 0, 120, 50}, 100);
  auto inner = canvas_.BeginBlend(TRect{60, 0, 120, 50}, 0);
  canvas_.Brush().SetColor(clWhite);
  canvas_.FillRect(TRect{60, 0, 120, 50});
  canvas_.EndBlend(std::move(inner));
  canvas_.EndBlend(std::move(outer));
  EXPECT_EQ(At(90, 25), clBlack);

  // Clipped to the frame's bounds; a changed text alignment is put back.
  canvas_.SetBounds(TRect{0, 0, 30, 30});
  canvas_.SetTextAlign(platform::TA_RIGHT);
  auto clipped = canvas_.BeginBlend(TRect{-10, -10, 100, 100}, 50);
  EXPECT_EQ(clipped->Rectangle(), (TRect{0, 0, 30, 30}));
  canvas_.SetTextAlign(platform::TA_CENTER);
  canvas_.EndBlend(std::move(clipped));
  EXPECT_EQ(canvas_.GetTextAlign(), platform::TA_RIGHT);
  // An empty rectangle gets one pixel.
  auto dot = canvas_.BeginBlend(TRect{5, 5, 5, 5}, 50);
  EXPECT_EQ(dot->Rectangle(), (TRect{5, 5, 6, 6}));
}

TEST_F(Effects, NoBlendWhileMetafilingOrOnASurfaceThatCannotBeRead) {
  canvas_.Brush().SetColor(clRed);
  canvas_.FillRect(TRect{0, 0, 50, 50});
  canvas_.SetMetafiling(true);
  auto blend = canvas_.BeginBlend(TRect{0, 0, 50, 50}, 50);
  canvas_.Brush().SetColor(clBlue);
  canvas_.FillRect(TRect{0, 0, 50, 50});
  canvas_.EndBlend(std::move(blend));
  EXPECT_EQ(At(20, 20), clBlue);
  canvas_.SetMetafiling(false);

  platform::EmfRecorder rec(100, 100);
  platform::Canvas recCanvas(rec);
  canvas_.SetCanvas(&recCanvas);
  auto unread = canvas_.BeginBlend(TRect{0, 0, 50, 50}, 50);
  EXPECT_FALSE(unread->Valid());
  canvas_.EndBlend(std::move(unread));  // draws nothing, fails nothing
}

TEST_F(Effects, ShadowWithTransparencyBlendsOverTheBackground) {
  canvas_.Brush().SetColor(clBlue);
  canvas_.FillRect(frame_);
  TPlotShadow shadow;
  shadow.SetColor(clRed);
  shadow.SetSmooth(false);
  shadow.SetSize(5);
  shadow.SetTransparency(50);
  canvas_.BeginFlatDrawing();
  shadow.PaintRectShadow(canvas_, TRect{10, 10, 40, 30}, 0);
  canvas_.EndFlatDrawing();
  EXPECT_EQ(At(20, 32), platform::RgbColor(128, 0, 127));
}
