// Buffered frames and the 3D shapes of the canvas.
#include <gtest/gtest.h>

#include "canvas_fixture.h"
#include "chart/effects.h"

using namespace chart;
using platform::BrushStyle;
using platform::PenStyle;

namespace {

struct Panel : TView3DParent {
  int invalidated = 0;
  void Invalidate() override { ++invalidated; }
};

class Canvas3D : public charttest::CanvasFixture {
 protected:
  Canvas3D() : CanvasFixture(240, 160) {}
  // An orthogonal 45-degree frame: depth goes right and up.
  void OrthogonalFrame() {
    canvas_.BeginFrame(platformCanvas_.get(), &options_, clWhite, true, frame_);
    canvas_.SetProjectionCenter(40, frame_);
  }
  void Clear() { image_.fill(Qt::white); }
  Panel panel_;
  TView3DOptions options_{&panel_};
};

}  // namespace

TEST_F(Canvas3D, BufferedFrameIsShownByOneCopy) {
  canvas_.SetBufferedDisplay(true);
  const TRect target{20, 10, 120, 70};
  const TRect bounds = canvas_.BeginFrame(platformCanvas_.get(), nullptr, clWhite, false, target);
  EXPECT_EQ(bounds, (TRect{0, 0, 100, 60}));
  ASSERT_TRUE(canvas_.HasBuffer());
  canvas_.Brush().SetColor(clRed);
  canvas_.FillRect(TRect{0, 0, 100, 60});
  canvas_.Brush().SetColor(clBlue);
  canvas_.FillRect(TRect{10, 10, 20, 20});
  EXPECT_EQ(At(25, 15), clWhite);  // nothing on the target yet
  canvas_.EndFrame(platformCanvas_.get(), platformCanvas_.get(), target);
  EXPECT_EQ(At(25, 15), clRed);
  EXPECT_EQ(At(35, 25), clBlue);
  EXPECT_EQ(At(19, 15), clWhite);
  EXPECT_EQ(At(120, 15), clWhite);
  EXPECT_FALSE(canvas_.Dirty());
  EXPECT_EQ(canvas_.ReferenceCanvas(), platformCanvas_.get());

  // The last frame again from the buffer, until something marks it stale.
  Clear();
  EXPECT_TRUE(canvas_.RepaintFromBuffer());
  EXPECT_EQ(At(15, 15), clBlue);
  canvas_.Invalidate();
  EXPECT_FALSE(canvas_.RepaintFromBuffer());

  // Switching buffering off frees the buffer, unless it is to be kept.
  canvas_.SetKeepBuffer(true);
  canvas_.SetBufferedDisplay(false);
  EXPECT_TRUE(canvas_.HasBuffer());
  canvas_.SetBufferedDisplay(true);
  canvas_.SetKeepBuffer(false);
  canvas_.SetCanvas(platformCanvas_.get());
  canvas_.SetBufferedDisplay(false);
  EXPECT_FALSE(canvas_.HasBuffer());
  EXPECT_TRUE(canvas_.Dirty());
}

TEST_F(Canvas3D, MonochromeMarksTheBufferStaleAndInvalidatesThePanel) {
  canvas_.BeginFrame(platformCanvas_.get(), &options_, clWhite, false, frame_);
  canvas_.SetMonochrome(true);
  canvas_.SetMonochrome(true);
  EXPECT_EQ(panel_.invalidated, 1);
  EXPECT_TRUE(canvas_.Dirty());
  TPlotCanvas3D other;
  other.CopySettings(canvas_);
  EXPECT_TRUE(other.GetMonochrome());
}

TEST_F(Canvas3D, BoxShowsTheFacesTurnedToTheViewer) {
  OrthogonalFrame();
  canvas_.Pen().SetStyle(PenStyle::Clear);
  canvas_.Brush().SetColor(platform::RgbColor(200, 200, 200));
  canvas_.DrawBox3D(40, 100, 50, 120, 0, 30, true);
  drawtest::Keep(image_, "chart-box3d");
  EXPECT_EQ(At(70, 90), platform::RgbColor(200, 200, 200));  // front
  EXPECT_EQ(At(115, 90), platform::RgbColor(72, 72, 72));    // right side, darkened by 128
  EXPECT_EQ(At(80, 35), platform::RgbColor(136, 136, 136));  // top, darkened by 64
  EXPECT_EQ(At(45, 40), clWhite);                            // behind the top-left edge
  EXPECT_EQ(canvas_.Brush().Color(), platform::RgbColor(200, 200, 200));  // colour restored
  // Without dark sides every face has the brush colour; a clear brush draws every edge.
  Clear();
  canvas_.DrawBox3D(40, 100, 50, 120, 0, 30, false);
  EXPECT_EQ(At(115, 90), platform::RgbColor(200, 200, 200));
  Clear();
  canvas_.Pen().SetStyle(PenStyle::Solid);
  canvas_.Pen().SetColor(clBlack);
  canvas_.Brush().SetStyle(BrushStyle::Clear);
  canvas_.DrawBox3D(40, 100, 50, 120, 0, 30, false);
  EXPECT_EQ(At(100, 20), clBlack);  // the back face's top edge (y 50 - 30)
  EXPECT_EQ(At(60, 80), clWhite);
}

TEST_F(Canvas3D, RoundBodiesAndPyramids) {
  OrthogonalFrame();
  canvas_.Pen().SetStyle(PenStyle::Clear);
  canvas_.Brush().SetColor(clLime);
  canvas_.DrawCylinder(true, 20, 40, 60, 120, 0, 20, false);
  canvas_.DrawCone(true, 80, 40, 120, 120, 0, 20, false, 0);
  canvas_.DrawPyramid(true, 140, 40, 180, 120, 0, 20, false);
  canvas_.DrawCylinder(false, 180, 130, 235, 150, 0, 10, false);
  drawtest::Keep(image_, "chart-round-bodies");
  EXPECT_EQ(At(40, 100), clLime);   // cylinder body
  EXPECT_EQ(At(52, 40), clLime);    // its top cap, as wide as the body
  EXPECT_EQ(At(100, 110), clLime);  // cone base
  EXPECT_EQ(At(87, 45), clWhite);   // beside the tip
  EXPECT_EQ(At(160, 110), clLime);  // pyramid base
  EXPECT_EQ(At(143, 50), clWhite);  // beside the apex
  EXPECT_EQ(At(205, 140), clLime);  // the lying cylinder
  // Dark sides shade each of the 16 sides by 8 more.
  Clear();
  canvas_.DrawCylinder(true, 20, 40, 60, 120, 0, 20, true);
  EXPECT_NE(At(25, 100), At(55, 100));
  EXPECT_EQ(canvas_.Brush().Color(), clLime);
}

// With a pen, a cylinder or a cone is outlined at its own edges only: across the round side
// no seam runs between the side quads, in an orthogonal and in a rotated view.
TEST_F(Canvas3D, RoundBodiesShowNoSeamsOnTheirSides) {
  struct Case {
    bool orthogonal;
    int conePercent;  // 100: a cylinder
  };
  for (const Case c : {Case{true, 100}, Case{true, 0}, Case{false, 100}, Case{false, 0}}) {
    SCOPED_TRACE(testing::Message() << (c.orthogonal ? "orthogonal" : "rotated") << ", percent " << c.conePercent);
    Clear();
    options_.SetOrthogonal(c.orthogonal);
    options_.SetElevation(345);
    options_.SetRotation(345);
    OrthogonalFrame();
    canvas_.Pen().SetStyle(PenStyle::Solid);
    canvas_.Pen().SetColor(clBlack);
    canvas_.Brush().SetColor(clLime);
    canvas_.DrawCone(true, 60, 20, 180, 140, 0, 40, false, c.conePercent);
    drawtest::Keep(image_, "chart-round-body-seams");
    // A row across the lower part of the body: the lime side is one run, black only at its ends.
    const int y = 115;
    int first = -1, last = -1, black = 0;
    for (int x = 0; x < image_.width(); ++x) {
      const platform::ColorRef p = At(x, y);
      if (p == clWhite) continue;
      if (first < 0) first = x;
      last = x;
      black += p == clBlack;
    }
    ASSERT_GT(last - first, 40) << "the body crosses the row";
    int inner = 0;
    for (int x = first + 3; x <= last - 3; ++x) inner += At(x, y) == clBlack;
    EXPECT_EQ(inner, 0) << "a seam inside the side";
    EXPECT_GT(black, 0) << "the outline";
  }
}

TEST_F(Canvas3D, Arrows) {
  canvas_.Pen().SetStyle(PenStyle::Clear);
  canvas_.Brush().SetColor(clBlue);
  canvas_.DrawArrow(true, TPoint{20, 50}, 50, 0, 20, 20, TPoint{120, 50});
  drawtest::Keep(image_, "chart-arrow");
  EXPECT_EQ(At(50, 50), clBlue);   // the shaft, 10 wide
  EXPECT_EQ(At(50, 46), clBlue);
  EXPECT_EQ(At(50, 42), clWhite);
  EXPECT_EQ(At(101, 42), clBlue);  // the head, 20 wide at its base x 100
  EXPECT_EQ(At(122, 50), clWhite);
  Clear();
  canvas_.Pen().SetStyle(PenStyle::Solid);
  canvas_.Pen().SetColor(clBlack);
  canvas_.DrawArrow(false, TPoint{20, 50}, 50, 0, 20, 20, TPoint{120, 50});
  EXPECT_EQ(At(50, 50), clBlack);
  EXPECT_EQ(At(50, 46), clWhite);
  EXPECT_EQ(At(110, 45), clBlack);  // a head line from the tip towards (100, 40)
  Clear();
  canvas_.DrawArrow(true, TPoint{20, 50}, 50, 0, 20, 20, TPoint{20, 50});  // no length: nothing
  EXPECT_EQ(drawtest::DiffCount(image_, drawtest::WhiteImage(240, 160)), 0);
}

TEST_F(Canvas3D, FlatShapesAtDepthIn2D) {
  canvas_.Pen().SetStyle(PenStyle::Clear);
  canvas_.Brush().SetColor(clRed);
  canvas_.DrawEllipse3D(20, 20, 60, 40, 50);  // 2D: one more pixel right and down
  EXPECT_EQ(At(40, 30), clRed);
  EXPECT_EQ(At(40, 40), clWhite);
  // A pie slice in 2D: the top face is the slice.
  canvas_.DrawPieSlice3D(150, 80, 0, psBothSides, true, M_PI / 2, 0, 0, 10, 40, 60);
  drawtest::Keep(image_, "chart-pie-2d");
  EXPECT_EQ(At(170, 70), clRed);
  EXPECT_EQ(At(130, 70), clWhite);
  EXPECT_EQ(At(170, 90), clWhite);
  // A picture: each pixel a quad.
  platform::TBitmapGraphic picture;
  platform::Dib dib = platform::Dib::Filled(2, 2, clBlue);
  dib.SetPixel(1, 1, clLime);
  picture.SetBitmap(dib);
  canvas_.DrawPicture3D(TRect{20, 100, 60, 140}, picture, 0);
  EXPECT_EQ(At(30, 110), clBlue);
  EXPECT_EQ(At(50, 130), clLime);
  // Clip cube in 2D: inside by one at left, top and bottom.
  canvas_.ClipCube(TRect{100, 100, 140, 140}, 0, 10);
  canvas_.Brush().SetColor(clYellow);
  canvas_.FillRect(frame_);
  canvas_.Unclip();
  EXPECT_EQ(At(100, 120), clWhite);
  EXPECT_EQ(At(101, 101), clYellow);
  EXPECT_EQ(At(139, 138), clYellow);
  EXPECT_EQ(At(120, 139), clWhite);
}

TEST_F(Canvas3D, PointsLinesAndTextAtDepth) {
  OrthogonalFrame();
  canvas_.SetPixel3D(50, 50, 10, clRed);
  EXPECT_EQ(At(60, 40), clRed);
  EXPECT_EQ(canvas_.GetPixel3D(50, 50, 10), clRed);
  canvas_.Pen().SetColor(clBlue);
  canvas_.DrawHorizLine3D(20, 40, 100, 20);
  EXPECT_EQ(At(45, 80), clBlue);
  canvas_.DrawDepthLine(150, 100, 0, 20);
  EXPECT_EQ(At(160, 90), clBlue);
  // Clip cube in 3D: the hull of the projected box.
  canvas_.ClipCube(TRect{150, 50, 190, 90}, 0, 20);
  canvas_.Brush().SetColor(clYellow);
  canvas_.FillRect(frame_);
  canvas_.Unclip();
  EXPECT_EQ(At(200, 45), clYellow);  // on the projected back face
  EXPECT_EQ(At(150, 35), clWhite);   // beyond the hull
  // Text zoom: a zoomed frame draws its texts larger.
  TPlotFont font;
  font.SetSize(12);
  canvas_.SelectFont(font);
  const int plain = canvas_.TextWidth("Depth");
  options_.SetZoom(200);
  OrthogonalFrame();
  platform::LogFont zoomed = canvas_.Font().GetLogFont();
  Clear();
  canvas_.DrawText3D(100, 100, 0, "Depth");  // projected to (80, 120)
  EXPECT_EQ(canvas_.Font().GetLogFont(), zoomed);  // the temporary font is gone again
  const TRect ink = [&] {
    TRect b{1000, 1000, -1, -1};
    for (int y = 0; y < 160; ++y) {
      for (int x = 0; x < 240; ++x) {
        if (platform::RedOf(At(x, y)) < 90 && platform::BlueOf(At(x, y)) < 90) {
          b.left = std::min(b.left, x);
          b.right = std::max(b.right, x);
        }
      }
    }
    return b;
  }();
  EXPECT_GT(ink.right - ink.left, plain + plain / 2);
}
