// Windows pixel rules on the Qt raster back end.
#include <gtest/gtest.h>

#include <functional>

#include "draw_env.h"
#include "platform/qt/dc_qt.h"

using namespace platform;
using drawtest::At;
using drawtest::WhiteImage;

namespace {

constexpr ColorRef kWhite = 0xFFFFFF, kBlack = 0, kRed = 0x0000FF, kBlue = 0xFF0000;

LogPen Pen(ColorRef c, int width = 1, uint32_t style = PS_SOLID) { return LogPen{style, width, c, {}}; }
LogBrush Solid(ColorRef c) { return LogBrush{BS_SOLID, c, 0, nullptr}; }

}  // namespace

TEST(QtDcPixels, RectangleLeavesRightAndBottomEdgeUnpainted) {
  QImage img = WhiteImage(40, 40);
  {
    QtDc dc(img);
    dc.SelectPen(Pen(kBlack));
    dc.SelectBrush(Solid(kRed));
    dc.Rectangle(10, 10, 20, 15);
    dc.SelectPen(Pen(0, 0, PS_NULL));
    dc.Rectangle(25, 25, 30, 30);  // without a pen one pixel less each way
  }
  EXPECT_EQ(At(img, 10, 10), kBlack);
  EXPECT_EQ(At(img, 19, 12), kBlack);
  EXPECT_EQ(At(img, 20, 12), kWhite);
  EXPECT_EQ(At(img, 12, 14), kBlack);
  EXPECT_EQ(At(img, 12, 15), kWhite);
  EXPECT_EQ(At(img, 12, 12), kRed);
  EXPECT_EQ(At(img, 25, 25), kRed);
  EXPECT_EQ(At(img, 28, 28), kRed);
  EXPECT_EQ(At(img, 29, 28), kWhite);
  EXPECT_EQ(At(img, 28, 29), kWhite);
}

TEST(QtDcPixels, FillRectAndPatBltAreExclusive) {
  QImage img = WhiteImage(20, 20);
  {
    QtDc dc(img);
    dc.FillRect(Rect{2, 2, 6, 5}, Solid(kRed));
  }
  EXPECT_EQ(At(img, 5, 4), kRed);
  EXPECT_EQ(At(img, 6, 4), kWhite);
  EXPECT_EQ(At(img, 5, 5), kWhite);
}

TEST(QtDcPixels, LineToLeavesOutItsEndPixelInEveryDirection) {
  struct Case {
    Point from, to, lastDrawn;
  };
  const Case cases[] = {
      {{5, 5}, {15, 5}, {14, 5}},   {{15, 8}, {5, 8}, {6, 8}},      {{3, 10}, {3, 20}, {3, 19}},
      {{8, 20}, {8, 10}, {8, 11}},  {{20, 20}, {30, 30}, {29, 29}}, {{30, 0}, {20, 10}, {21, 9}},
      {{0, 35}, {20, 30}, {19, 30}},
  };
  for (const Case& c : cases) {
    QImage img = WhiteImage(40, 40);
    {
      QtDc dc(img);
      dc.MoveTo(c.from.x, c.from.y);
      dc.LineTo(c.to.x, c.to.y);
      EXPECT_EQ(dc.State().pos.x, c.to.x);
    }
    SCOPED_TRACE(std::to_string(c.from.x) + "," + std::to_string(c.from.y) + " to " + std::to_string(c.to.x) + "," +
                 std::to_string(c.to.y));
    EXPECT_EQ(At(img, c.from.x, c.from.y), kBlack);
    EXPECT_EQ(At(img, c.lastDrawn.x, c.lastDrawn.y), kBlack);
    EXPECT_EQ(At(img, c.to.x, c.to.y), kWhite);
  }
}

TEST(QtDcPixels, InvertingPenInvertsEachPixelOnceAndKeepsInverting) {
  QImage img = WhiteImage(40, 40);
  {
    QtDc dc(img);
    dc.FillRect(Rect{0, 0, 20, 40}, Solid(kBlack));  // left half black
    dc.SetROP2(R2_NOT);
    dc.MoveTo(5, 10);
    dc.LineTo(35, 10);  // crosses black and white
    // A closed outline: each corner is inverted once.
    dc.Polyline({{25, 20}, {35, 20}, {35, 30}, {25, 30}, {25, 20}});
    dc.SelectBrush(LogBrush{BS_NULL, 0, 0, nullptr});
    dc.Rectangle(2, 20, 12, 30);  // on black
    EXPECT_EQ(dc.State().rop2, R2_NOT);
  }
  EXPECT_EQ(At(img, 5, 10), kWhite);
  EXPECT_EQ(At(img, 19, 10), kWhite);
  EXPECT_EQ(At(img, 20, 10), kBlack);
  EXPECT_EQ(At(img, 34, 10), kBlack);
  EXPECT_EQ(At(img, 35, 10), kWhite);
  for (Point p : {Point{25, 20}, Point{35, 20}, Point{35, 30}, Point{25, 30}, Point{30, 20}}) {
    EXPECT_EQ(At(img, p.x, p.y), kBlack) << p.x << "," << p.y;
  }
  for (Point p : {Point{2, 20}, Point{11, 20}, Point{11, 29}, Point{2, 29}}) {
    EXPECT_EQ(At(img, p.x, p.y), kWhite) << p.x << "," << p.y;
  }
  EXPECT_EQ(At(img, 6, 25), kBlack);  // the inside is left alone

  // Drawing the same line again restores the picture.
  QImage twice = WhiteImage(40, 40);
  {
    QtDc dc(twice);
    dc.SetROP2(R2_NOT);
    for (int k = 0; k < 2; ++k) {
      dc.MoveTo(1, 1);
      dc.LineTo(38, 17);
    }
  }
  EXPECT_EQ(drawtest::DiffCount(twice, WhiteImage(40, 40)), 0);
}

TEST(QtDcPixels, HatchBrushesRepeatEveryEightPixels) {
  const int expectedPerTile[] = {8, 8, 8, 8, 15, 16};
  for (uint32_t hatch = HS_HORIZONTAL; hatch <= HS_DIAGCROSS; ++hatch) {
    QImage img = WhiteImage(40, 40);
    {
      QtDc dc(img);
      dc.SetBkMode(TRANSPARENT);
      dc.FillRect(Rect{3, 5, 35, 37}, LogBrush{BS_HATCHED, kBlack, hatch, nullptr});
    }
    int inTile = 0;
    for (int y = 8; y < 16; ++y) {
      for (int x = 8; x < 16; ++x) {
        ColorRef c = At(img, x, y);
        EXPECT_TRUE(c == kBlack || c == kWhite);
        if (c == kBlack) ++inTile;
        EXPECT_EQ(c, At(img, x + 8, y)) << "hatch " << hatch;
        EXPECT_EQ(c, At(img, x, y + 8)) << "hatch " << hatch;
        // Aligned to the device origin: the tile at (8, 8) equals the pattern bits.
        EXPECT_EQ(c == kBlack, HatchBit(hatch, x, y)) << "hatch " << hatch;
      }
    }
    EXPECT_EQ(inTile, expectedPerTile[hatch]) << "hatch " << hatch;
  }
}

TEST(QtDcPixels, OpaqueHatchFillsTheGapsWithTheBackgroundColour) {
  QImage img = WhiteImage(16, 16);
  {
    QtDc dc(img);
    dc.SetBkMode(OPAQUE);
    dc.SetBkColor(kRed);
    dc.FillRect(Rect{0, 0, 16, 16}, LogBrush{BS_HATCHED, kBlack, HS_CROSS, nullptr});
  }
  EXPECT_EQ(At(img, 7, 3), kBlack);
  EXPECT_EQ(At(img, 3, 3), kRed);
}

namespace {

// Bounding box of the non-white pixels.
Rect Ink(const QImage& img) {
  Rect r{img.width(), img.height(), -1, -1};
  for (int y = 0; y < img.height(); ++y) {
    for (int x = 0; x < img.width(); ++x) {
      if (At(img, x, y) != kWhite) {
        r.left = std::min(r.left, x);
        r.top = std::min(r.top, y);
        r.right = std::max(r.right, x);
        r.bottom = std::max(r.bottom, y);
      }
    }
  }
  return r;
}

LogFont Gothic(int height, int escapement = 0) {
  LogFont f;
  f.height = height;
  f.escapement = escapement;
  f.orientation = escapement;
  f.charSet = SHIFTJIS_CHARSET;
  f.faceName = "Arial";
  return f;
}

}  // namespace

TEST(QtDcPixels, TextIsPlacedByTheTopLeftOfItsCell) {
  QImage img = WhiteImage(120, 60);
  Size extent;
  {
    QtDc dc(img);
    dc.SetBkMode(TRANSPARENT);
    dc.SelectFont(Gothic(-20));
    dc.TextOut(10, 10, u"HELLO");
    extent = dc.GetTextExtent(u"HELLO");
  }
  Rect ink = Ink(img);
  EXPECT_GE(ink.left, 10);
  EXPECT_GE(ink.top, 10);
  EXPECT_LE(ink.right, 10 + extent.cx);
  EXPECT_LE(ink.bottom, 10 + extent.cy);
  EXPECT_GT(ink.right - ink.left, extent.cx / 2);
}

TEST(QtDcPixels, EscapementNineHundredRunsUpwards) {
  QImage img = WhiteImage(100, 200);
  Size extent;
  {
    QtDc dc(img);
    dc.SetBkMode(TRANSPARENT);
    dc.SelectFont(Gothic(-20, 900));
    dc.TextOut(40, 170, u"HELLO WORLD");
    extent = dc.GetTextExtent(u"HELLO WORLD");
  }
  drawtest::Keep(img, "escapement");
  Rect ink = Ink(img);
  ASSERT_GE(ink.right, 0);
  // The baseline runs from (40, 170) upwards; the cell's top is on the left of it.
  EXPECT_GT(ink.bottom - ink.top, 3 * (ink.right - ink.left));
  EXPECT_LE(ink.bottom, 171);
  EXPECT_LT(ink.top, 170 - extent.cx * 3 / 4);
  EXPECT_GE(ink.left, 39);
  EXPECT_LE(ink.right, 40 + extent.cy + 1);
}

TEST(QtDcPixels, ClipRegionAndSaveRestore) {
  QImage img = WhiteImage(40, 40);
  {
    QtDc dc(img);
    int level = dc.SaveDC();
    Region r = Region::Combine(Region(Rect{0, 0, 20, 40}), Region(Rect{30, 0, 40, 40}), RGN_OR);
    dc.SelectClipRegion(&r);
    dc.ExcludeClipRect(Rect{0, 0, 10, 10});
    dc.FillRect(Rect{0, 0, 40, 40}, Solid(kRed));
    ASSERT_TRUE(dc.RestoreDC(level));
    Region after;
    EXPECT_FALSE(dc.GetClipRegion(after));
    dc.FillRect(Rect{0, 39, 40, 40}, Solid(kBlack));
  }
  EXPECT_EQ(At(img, 5, 5), kWhite);
  EXPECT_EQ(At(img, 15, 5), kRed);
  EXPECT_EQ(At(img, 25, 5), kWhite);
  EXPECT_EQ(At(img, 35, 5), kRed);
  EXPECT_EQ(At(img, 25, 39), kBlack);
}

TEST(QtDcPixels, DashedOnePixelPenAndWidePenEnds) {
  QImage img = WhiteImage(60, 30);
  {
    QtDc dc(img);
    dc.SetBkMode(TRANSPARENT);
    dc.SelectPen(Pen(kBlack, 1, PS_DOT));
    dc.MoveTo(0, 2);
    dc.LineTo(60, 2);
    dc.SelectPen(LogPen{PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT, 6, kBlack, {}});
    dc.MoveTo(10, 15);
    dc.LineTo(50, 15);
  }
  // Dots of three on, three off.
  EXPECT_EQ(At(img, 0, 2), kBlack);
  EXPECT_EQ(At(img, 2, 2), kBlack);
  EXPECT_EQ(At(img, 3, 2), kWhite);
  EXPECT_EQ(At(img, 6, 2), kBlack);
  // A flat end stops at the end points; the line is 6 pixels thick.
  EXPECT_EQ(At(img, 8, 15), kWhite);
  EXPECT_EQ(At(img, 30, 15), kBlack);
  int thick = 0;
  for (int y = 5; y < 25; ++y) thick += At(img, 30, y) == kBlack ? 1 : 0;
  EXPECT_EQ(thick, 6);
}

TEST(QtDcPixels, PathClipAndBitBlt) {
  QImage source = WhiteImage(40, 40);
  QtDc src(source);
  src.FillRect(Rect{10, 10, 20, 20}, Solid(kRed));
  QImage img = WhiteImage(40, 40);
  {
    QtDc dc(img);
    dc.BitBlt(Rect{0, 0, 20, 20}, src, 10, 10);
    // A clip switched on and off before: the path clip must still hold for pattern fills.
    Region small(Rect{0, 0, 2, 2});
    dc.SelectClipRegion(&small);
    dc.FillRect(Rect{0, 0, 1, 1}, Solid(kRed));
    dc.SelectClipRegion(nullptr);
    dc.FillRect(Rect{0, 0, 1, 1}, Solid(kRed));
    dc.BeginPath();
    dc.Polygon({{20, 20}, {40, 20}, {40, 40}});
    dc.EndPath();
    dc.SelectClipPath(RGN_COPY);
    dc.SetBkMode(TRANSPARENT);
    dc.FillRect(Rect{0, 0, 40, 40}, LogBrush{BS_HATCHED, kBlack, HS_CROSS, nullptr});
  }
  EXPECT_EQ(At(img, 0, 0), kRed);
  EXPECT_EQ(At(img, 9, 9), kRed);
  EXPECT_EQ(At(img, 10, 10), kWhite);
  EXPECT_EQ(At(img, 39, 25), kBlack);
  EXPECT_EQ(At(img, 23, 31), kWhite);
  EXPECT_EQ(At(img, 7, 9), kRed);
}

// Shapes reaching far beyond the target are cut to it before they are rasterised; what shows
// is what the same shapes give where they lie wholly inside a larger target: drawn on a small
// image, and moved by `offset` onto a large one, the small image equals that window of the
// large one.
TEST(QtDcPixels, ShapesBeyondTheTargetDrawAsTheyDoInsideIt) {
  struct Case {
    const char* what;
    LogPen pen;
    LogBrush brush;
    int bkMode;
    std::function<void(DeviceContext&, Point)> draw;  // with every point moved by the offset
  };
  auto at = [](Point o, int x, int y) { return Point{x + o.x, y + o.y}; };
  LogPen wideDash = Pen(kRed, 5, PS_GEOMETRIC | PS_DASH | PS_ENDCAP_FLAT);
  LogBrush hatch{BS_HATCHED, 0x008000, HS_DIAGCROSS, nullptr};
  const Case cases[] = {
      {"thin solid line", Pen(kBlack), Solid(kWhite), TRANSPARENT,
       [&](DeviceContext& dc, Point o) {
         dc.MoveTo(at(o, -900, -265).x, at(o, -900, -265).y);
         dc.LineTo(at(o, 1100, 336).x, at(o, 1100, 336).y);
       }},
      {"thin dashed polyline, opaque gaps", Pen(kBlack, 1, PS_DASHDOT), Solid(kWhite), OPAQUE,
       [&](DeviceContext& dc, Point o) {
         dc.Polyline({at(o, -700, 40), at(o, 30, 45), at(o, 50, -600), at(o, 70, 900), at(o, 900, 20)});
       }},
      {"polygon with a hatch fill and a thin dotted outline", Pen(kBlue, 1, PS_DOT), hatch, OPAQUE,
       [&](DeviceContext& dc, Point o) { dc.Polygon({at(o, -800, -500), at(o, 700, 20), at(o, 10, 990), at(o, 40, 30)}); }},
      {"rectangle with a thin pen and a fill", Pen(kBlack), Solid(kRed), OPAQUE,
       [&](DeviceContext& dc, Point o) {
         const Point a = at(o, -600, 10), b = at(o, 55, 700);
         dc.Rectangle(a.x, a.y, b.x, b.y);
       }},
      {"wide dashed polyline", wideDash, Solid(kWhite), TRANSPARENT,
       [&](DeviceContext& dc, Point o) { dc.Polyline({at(o, -650, 20), at(o, 30, 25), at(o, 40, 800)}); }},
      {"wide dashed rectangle", wideDash, LogBrush{BS_NULL, 0, 0, nullptr}, TRANSPARENT,
       [&](DeviceContext& dc, Point o) {
         const Point a = at(o, -500, 12), b = at(o, 60, 600);
         dc.Rectangle(a.x, a.y, b.x, b.y);
       }},
  };
  const Point offset{1000, 1000};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    QImage small = WhiteImage(80, 60);
    QImage large = WhiteImage(2200, 2200);
    for (auto [image, o] : {std::pair{&small, Point{}}, std::pair{&large, offset}}) {
      QtDc dc(*image);
      dc.SelectPen(c.pen);
      dc.SelectBrush(c.brush);
      dc.SetBkMode(c.bkMode);
      dc.SetBkColor(0x00FFFF);
      c.draw(dc, o);
    }
    int differing = 0, drawn = 0;
    for (int y = 0; y < small.height(); ++y) {
      for (int x = 0; x < small.width(); ++x) {
        if (At(small, x, y) != kWhite) ++drawn;
        if (At(small, x, y) != At(large, x + offset.x, y + offset.y)) ++differing;
      }
    }
    EXPECT_GT(drawn, 20);
    EXPECT_EQ(differing, 0);
  }
}
