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
