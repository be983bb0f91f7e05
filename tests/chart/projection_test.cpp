// Projection of (x, y, z) in 2D, orthogonal and rotated views, its inverse, and the view
// options that drive it.
#include <gtest/gtest.h>

#include "canvas_fixture.h"

using namespace chart;

namespace {

class Projection : public charttest::CanvasFixture {
 protected:
  // A frame of the given view over (0, 0, 200, 120) with the projection centre at depth 40.
  void Frame(bool is3D) {
    canvas_.BeginFrame(platformCanvas_.get(), &options_, clWhite, is3D, frame_);
    canvas_.SetProjectionCenter(40, frame_);
  }

  struct Parent : TView3DParent {
    int invalidated = 0;
    void Invalidate() override { ++invalidated; }
  };
  Parent parent_;
  TView3DOptions options_{&parent_};
};

}  // namespace

TEST_F(Projection, TwoDimensionalViewIgnoresDepth) {
  Frame(false);
  for (int z : {-50, 0, 7, 1000}) {
    const TPoint p = canvas_.ProjectPoint(13, 77, z);
    EXPECT_EQ(p.x, 13);
    EXPECT_EQ(p.y, 77);
  }
}

TEST_F(Projection, OrthogonalViewShiftsDepthAlongItsAngle) {
  Frame(true);
  // 45 degrees at zoom 100: depth 10 is 10 right and 10 up.
  TPoint a = canvas_.ProjectPoint(50, 60, 0), b = canvas_.ProjectPoint(50, 60, 10);
  EXPECT_EQ(b.x - a.x, 10);
  EXPECT_EQ(b.y - a.y, -10);
  EXPECT_EQ(a.x, 50);
  EXPECT_EQ(a.y, 60);
  // 135 degrees: the same to the left.
  options_.SetOrthoAngle(135);
  Frame(true);
  a = canvas_.ProjectPoint(50, 60, 0);
  b = canvas_.ProjectPoint(50, 60, 10);
  EXPECT_EQ(b.x - a.x, -10);
  EXPECT_EQ(b.y - a.y, -10);
  // 90 degrees: the vertical shift stays 1 per unit of depth (the cosine is too small for a
  // tangent); zoom scales around the centre, then the offsets move the picture.
  options_.SetOrthoAngle(90);
  options_.SetZoom(200);
  options_.SetHorizOffset(5);
  Frame(true);
  b = canvas_.ProjectPoint(110, 60, 10);
  EXPECT_EQ(b.x, (110 - 100 + 10) * 2 + 100 + 5);
  EXPECT_EQ(b.y, (60 - 60 - 10) * 2 + 60);
}

TEST_F(Projection, PerspectiveZeroKeepsARotatedViewParallel) {
  options_.SetOrthogonal(false);
  options_.SetElevation(330);
  options_.SetRotation(320);
  options_.SetPerspective(0);
  Frame(true);
  // A segment along x projects to the same vector at every depth.
  const TPoint a0 = canvas_.ProjectPoint(40, 50, 0), b0 = canvas_.ProjectPoint(140, 50, 0);
  const TPoint a1 = canvas_.ProjectPoint(40, 50, 80), b1 = canvas_.ProjectPoint(140, 50, 80);
  EXPECT_NEAR(b0.x - a0.x, b1.x - a1.x, 1);
  EXPECT_NEAR(b0.y - a0.y, b1.y - a1.y, 1);
  // With perspective the same segment looks different at another depth.
  options_.SetPerspective(60);
  Frame(true);
  const TPoint c0 = canvas_.ProjectPoint(40, 50, 0), d0 = canvas_.ProjectPoint(140, 50, 0);
  const TPoint c1 = canvas_.ProjectPoint(40, 50, 80), d1 = canvas_.ProjectPoint(140, 50, 80);
  EXPECT_GT(std::abs((d0.x - c0.x) - (d1.x - c1.x)) + std::abs((d0.y - c0.y) - (d1.y - c1.y)), 1);
}

TEST_F(Projection, UnprojectInvertsProjectWithinAPixel) {
  struct View {
    bool is3D, orthogonal;
    int orthoAngle, zoom, elevation, rotation, tilt, perspective, horizOffset, vertOffset;
  };
  const View kViews[] = {
      {false, true, 45, 100, 345, 345, 0, 15, 0, 0},  {true, true, 45, 100, 345, 345, 0, 15, 0, 0},
      {true, true, 135, 150, 345, 345, 0, 15, 7, -3}, {true, true, 30, 80, 345, 345, 0, 15, 0, 0},
      {true, false, 45, 100, 345, 345, 0, 0, 0, 0},   {true, false, 45, 100, 330, 300, 0, 15, 0, 0},
      {true, false, 45, 140, 300, 20, 25, 40, 10, 5}, {true, false, 45, 100, 0, 0, 0, 0, 0, 0},
      {true, false, 45, 60, 350, 350, 10, 100, -8, 12},
  };
  int views = 0;
  for (const View& v : kViews) {
    options_.SetOrthogonal(v.orthogonal);
    options_.SetOrthoAngle(v.orthoAngle);
    options_.SetZoom(v.zoom);
    options_.SetElevation(v.elevation);
    options_.SetRotation(v.rotation);
    options_.SetTilt(v.tilt);
    options_.SetPerspective(v.perspective);
    options_.SetHorizOffset(v.horizOffset);
    options_.SetVertOffset(v.vertOffset);
    Frame(v.is3D);
    for (int x : {0, 37, 100, 190}) {
      for (int y : {3, 60, 111}) {
        for (int z : {0, 25, 80}) {
          const TPoint p = canvas_.ProjectPoint(x, y, z);
          int ux = p.x, uy = p.y;
          canvas_.UnprojectPoint(ux, uy, z);
          EXPECT_NEAR(ux, x, 1.0 + 1.0 / (v.zoom * 0.01)) << "view " << views << " at " << x << "," << y << "," << z;
          EXPECT_NEAR(uy, y, 1.0 + 1.0 / (v.zoom * 0.01)) << "view " << views << " at " << x << "," << y << "," << z;
        }
      }
    }
    ++views;
  }
}

TEST_F(Projection, ViewOptionsNotifyOnlyOnChange) {
  std::vector<std::string> events;
  options_.onScrolled = [&](bool horizontal) { events.push_back(horizontal ? "h" : "v"); };
  options_.onZoomChanged = [&](int zoom) { events.push_back("zoom " + std::to_string(zoom) + " from " + std::to_string(options_.Zoom())); };
  options_.SetElevation(345);  // unchanged
  options_.SetTilt(0);
  EXPECT_EQ(parent_.invalidated, 0);
  options_.SetHorizOffset(4);
  options_.SetVertOffset(-2);
  options_.SetZoom(120);
  options_.SetZoom(120);
  EXPECT_EQ(parent_.invalidated, 3);
  EXPECT_EQ(events, (std::vector<std::string>{"h", "v", "zoom 120 from 100"}));
  options_.SetRotation(10.6);
  EXPECT_EQ(options_.Rotation(), 11);
  EXPECT_DOUBLE_EQ(options_.RotationValue(), 10.6);

  TView3DOptions copy;
  copy.Assign(options_);
  EXPECT_EQ(copy.Zoom(), 120);
  EXPECT_EQ(copy.HorizOffset(), 4);
  EXPECT_EQ(parent_.invalidated, 4);  // copying into another set invalidates nothing here

  EXPECT_NEAR(options_.OrthoTangent(), 1.0, 1e-12);
  options_.SetOrthoAngle(120);
  EXPECT_NEAR(options_.OrthoTangent(), std::tan(60 * M_PI / 180), 1e-12);
  options_.SetOrthogonal(false);
  EXPECT_EQ(options_.OrthoTangent(), 1.0);
}

TEST_F(Projection, FlatDrawingNestsAndSuspendsTheProjection) {
  Frame(true);
  canvas_.BeginFlatDrawing();
  canvas_.BeginFlatDrawing();
  EXPECT_EQ(canvas_.ProjectPoint(50, 60, 10).x, 50);
  canvas_.EndFlatDrawing();
  EXPECT_TRUE(canvas_.InFlatDrawing());
  EXPECT_EQ(canvas_.ProjectPoint(50, 60, 10).x, 50);
  canvas_.EndFlatDrawing();
  EXPECT_FALSE(canvas_.InFlatDrawing());
  EXPECT_EQ(canvas_.ProjectPoint(50, 60, 10).x, 60);
  canvas_.EndFlatDrawing();  // one too many: ignored
  EXPECT_EQ(canvas_.ProjectPoint(50, 60, 10).x, 60);
}
