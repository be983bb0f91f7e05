// Regions of shapes limited to a box, and the box of a device context where drawing can show.
#include <gtest/gtest.h>

#include <functional>

#include "platform/dc.h"
#include "platform/dc_trace.h"
#include "platform/emf_recorder.h"

using namespace platform;

namespace {

using Shape = std::function<Region(const Rect* within)>;

struct ShapeCase {
  const char* name;
  Shape make;
};

const ShapeCase kShapes[] = {
    {"polygon", [](const Rect* w) { return Region::Polygon({{10, 5}, {90, 40}, {20, 70}, {50, 30}}, ALTERNATE, w); }},
    {"winding polygon",
     [](const Rect* w) { return Region::Polygon({{10, 5}, {90, 40}, {20, 70}, {50, 30}}, WINDING, w); }},
    {"ellipse", [](const Rect* w) { return Region::Ellipse(Rect{5, 8, 83, 61}, w); }},
    {"round rectangle", [](const Rect* w) { return Region::RoundRect(Rect{5, 8, 83, 61}, 30, 18, w); }},
};

}  // namespace

TEST(Region, ShapesMadeWithinABoxAreTheWholeShapeCutToIt) {
  const Rect boxes[] = {{0, 0, 100, 100}, {30, 20, 60, 50}, {-10, 40, 45, 200}, {200, 0, 300, 50}, {40, 40, 40, 90}};
  for (const ShapeCase& shape : kShapes) {
    const Region whole = shape.make(nullptr);
    ASSERT_FALSE(whole.IsEmpty()) << shape.name;
    for (const Rect& box : boxes) {
      SCOPED_TRACE(testing::Message() << shape.name << " within " << box.left << "," << box.top << "," << box.right
                                      << "," << box.bottom);
      EXPECT_EQ(shape.make(&box), Region::Combine(whole, Region(box), RGN_AND));
    }
  }
}

TEST(Region, ShapesOfFarOffCornersCostOnlyTheBox) {
  const Rect box{0, 0, 64, 48};
  const int far = 2000000000;
  const Region shapes[] = {
      Region::Polygon({{-far, -far}, {far, -far / 2}, {far, far}, {-far, far / 3}}, ALTERNATE, &box),
      Region::Ellipse(Rect{-far, -far, far, far}, &box),
      Region::RoundRect(Rect{-far, -far, far, far}, far, far, &box),
  };
  for (const Region& r : shapes) {
    EXPECT_EQ(r.Bounds(), box);
    EXPECT_LE(r.Rects().size(), 48u);
  }
}

TEST(DeviceContext, VisibleBoxIsTheSurfaceWithinTheClipBounds) {
  TraceDc screen(DeviceCaps::Screen(800, 600));
  EXPECT_EQ(screen.VisibleBox(), (Rect{0, 0, 800, 600}));
  const Region corner = Region::Combine(Region(Rect{700, 500, 750, 550}), Region(Rect{760, 560, 900, 700}), RGN_OR);
  screen.SelectClipRegion(&corner);
  EXPECT_EQ(screen.VisibleBox(), (Rect{700, 500, 800, 600}));
  const Region off(Rect{-50, -50, -10, -10});
  screen.SelectClipRegion(&off);
  EXPECT_TRUE(screen.VisibleBox().IsEmpty());

  // A metafile's surface is its picture, whatever its reference device.
  EmfRecorder picture(2500, 300);
  EXPECT_EQ(picture.VisibleBox(), (Rect{0, 0, 2500, 300}));

  // A surface of unknown size leaves the plane a clip region spans.
  TraceDc unknown{DeviceCaps{}};
  EXPECT_EQ(unknown.VisibleBox(), kWholePlane);
}

namespace {

// Whether (x, y) lies in one of `rects` (which may overlap).
bool InAny(const std::vector<Rect>& rects, int x, int y) {
  for (const Rect& r : rects)
    if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return true;
  return false;
}

// Rectangles in `bands` separate bands, one on every other row.
std::vector<Rect> RowsApart(int bands, int shift) {
  std::vector<Rect> rects;
  for (int k = 0; k < bands; ++k) rects.push_back(Rect{(k + shift) % 7, 2 * k + shift, (k + shift) % 7 + 5, 2 * k + shift + 1});
  return rects;
}

}  // namespace

TEST(Region, BuiltAndCombinedFromRectanglesPixelByPixel) {
  // Overlapping, touching, reversed and empty rectangles on a small grid, every combination.
  const std::vector<Rect> a = {{2, 1, 9, 6}, {5, 4, 14, 11}, {9, 1, 12, 3}, {3, 8, 1, 12}, {6, 6, 6, 9}, {0, 13, 16, 14}};
  const std::vector<Rect> b = {{4, 0, 7, 16}, {1, 5, 15, 7}, {10, 9, 13, 15}, {7, 12, 9, 13}};
  const Region ra = Region::FromRects(a), rb = Region::FromRects(b);
  for (int mode : {RGN_AND, RGN_OR, RGN_XOR, RGN_DIFF}) {
    const Region c = Region::Combine(ra, rb, mode);
    for (int y = -1; y < 17; ++y) {
      for (int x = -1; x < 17; ++x) {
        const std::vector<Rect> na = {a[3].Normalized()};
        const bool ia = InAny(a, x, y) || InAny(na, x, y), ib = InAny(b, x, y);
        const bool want = mode == RGN_AND ? ia && ib : mode == RGN_OR ? ia || ib : mode == RGN_XOR ? ia != ib : ia && !ib;
        ASSERT_EQ(ra.Contains(x, y), ia) << x << "," << y;
        ASSERT_EQ(c.Contains(x, y), want) << "mode " << mode << " at " << x << "," << y;
      }
    }
  }
}

TEST(Region, RectanglesInSeparateBandsCostWorkInProportion) {
  // 20,000 rectangles each in a band of its own: building and combining look at each rectangle
  // a few times, not once per band.
  const int n = 20000;
  const uint64_t before = RegionWorkDone().rectsWalked;
  const Region a = Region::FromRects(RowsApart(n, 0));
  const Region b = Region::FromRects(RowsApart(n, 1));
  const Region both = Region::Combine(a, b, RGN_OR);
  const uint64_t walked = RegionWorkDone().rectsWalked - before;
  EXPECT_EQ(a.Rects().size(), static_cast<size_t>(n));
  EXPECT_EQ(both.Bounds(), (Rect{0, 0, 11, 2 * n}));
  EXPECT_LE(walked, 20u * n);
}

TEST(DeviceContext, SavedStatesShareTheClipRegion) {
  TraceDc dc;
  const Region clip = Region::FromRects(RowsApart(1000, 0));
  dc.SelectClipRegion(&clip);
  const uint64_t before = RegionWorkDone().copies;
  for (int k = 0; k < 1000; ++k) dc.SaveDC();
  EXPECT_EQ(RegionWorkDone().copies - before, 0u);
  dc.IntersectClipRect(Rect{0, 0, 5, 5});
  EXPECT_EQ(dc.State().clip->Bounds(), (Rect{0, 0, 5, 5}));
  ASSERT_TRUE(dc.RestoreDC(1));
  Region back;
  ASSERT_TRUE(dc.GetClipRegion(back));
  EXPECT_EQ(back, clip);
}
