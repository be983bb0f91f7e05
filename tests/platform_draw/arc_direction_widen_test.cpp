// Clockwise arcs and widened paths on the Qt back end, through a metafile, and in a trace.
#include <gtest/gtest.h>

#include <random>

#include "draw_env.h"
#include "platform/dc_trace.h"
#include "platform/emf_player.h"
#include "platform/emf_recorder.h"
#include "platform/qt/dc_qt.h"

using namespace platform;
using drawtest::At;
using drawtest::WhiteImage;

namespace {

constexpr int kW = 120, kH = 80;
constexpr ColorRef kRed = 0x0000FF, kBlue = 0xFF0000, kWhite = 0xFFFFFF;

// A ring sector whose inner arc runs back clockwise, a clockwise arc, and a line widened to a
// band that becomes the clip of a fill.
void DrawScene(DeviceContext& dc) {
  dc.SelectPen(LogPen{PS_NULL, 0, 0, {}});
  dc.SelectBrush(LogBrush{BS_SOLID, kRed, 0, nullptr});
  dc.BeginPath();
  dc.MoveTo(50, 30);  // outer radius 40 around (10, 30), from 0 to 90 degrees
  dc.ArcTo(-30, -10, 50, 70, 50, 30, 10, -10);
  dc.LineTo(10, 10);  // inner radius 20
  dc.SetArcDirection(AD_CLOCKWISE);
  dc.ArcTo(-10, 10, 30, 50, 10, 10, 30, 30);
  dc.SetArcDirection(AD_COUNTERCLOCKWISE);
  dc.LineTo(50, 30);
  dc.EndPath();
  dc.FillPath();
  // A clockwise arc from 3 o'clock to 12 o'clock takes the long way round.
  dc.SelectPen(LogPen{PS_SOLID, 1, kBlue, {}});
  dc.SetArcDirection(AD_CLOCKWISE);
  dc.Arc(60, 10, 100, 50, 100, 30, 80, 10);
  dc.SetArcDirection(AD_COUNTERCLOCKWISE);
  // A horizontal line widened by a flat 6-pixel pen: the band y 62..67.
  dc.SelectPen(LogPen{PS_GEOMETRIC | PS_ENDCAP_FLAT | PS_JOIN_MITER, 6, 0, {}});
  dc.BeginPath();
  dc.MoveTo(10, 65);
  dc.LineTo(110, 65);
  dc.EndPath();
  dc.WidenPath();
  dc.SelectClipPath(RGN_COPY);
  dc.FillRect(Rect{0, 55, kW, kH}, LogBrush{BS_SOLID, kBlue, 0, nullptr});
  dc.SelectClipRegion(nullptr);
}

}  // namespace

TEST(ArcDirectionAndWidenPath, DrawOnTheScreenAsWindowsDoes) {
  QImage img = WhiteImage(kW, kH);
  {
    QtDc dc(img);
    DrawScene(dc);
  }
  drawtest::Keep(img, "arc-direction-widen");
  EXPECT_EQ(At(img, 35, 15), kRed);    // inside the ring, between the radii
  EXPECT_EQ(At(img, 15, 20), kWhite);  // the hole
  EXPECT_EQ(At(img, 5, 40), kWhite);   // outside the quarter
  EXPECT_EQ(At(img, 60, 30), kBlue);   // the arc's west point: the long way round
  EXPECT_EQ(At(img, 94, 16), kWhite);  // the short way (north-east) is left out
  EXPECT_EQ(At(img, 50, 62), kBlue);   // the widened band
  EXPECT_EQ(At(img, 50, 67), kBlue);
  EXPECT_EQ(At(img, 50, 59), kWhite);
  EXPECT_EQ(At(img, 50, 70), kWhite);
  EXPECT_EQ(At(img, 5, 65), kWhite);  // flat ends
}

TEST(ArcDirectionAndWidenPath, MetafileReplaysThemAndTheTraceLogsThem) {
  QImage direct = WhiteImage(kW, kH);
  {
    QtDc dc(direct);
    DrawScene(dc);
  }
  EmfRecorder rec(kW, kH);
  DrawScene(rec);
  const std::string bytes = rec.Finish();
  QImage played = WhiteImage(kW, kH);
  {
    QtDc dc(played);
    const EmfPlayResult r = PlayEnhMetafile(dc, bytes, Rect{0, 0, kW, kH});
    EXPECT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.skipped, 0);
    EXPECT_EQ(dc.State().arcDirection, AD_COUNTERCLOCKWISE);
  }
  EXPECT_EQ(drawtest::DiffCount(direct, played), 0) << drawtest::DiffBounds(direct, played);

  TraceDc trace;
  DrawScene(trace);
  EXPECT_EQ(trace.Lines("SetArcDirection").size(), 4u);
  EXPECT_TRUE(trace.Has("WidenPath"));
  trace.SetArcDirection(7);  // not a direction: ignored
  EXPECT_EQ(trace.State().arcDirection, AD_COUNTERCLOCKWISE);
}

// A damaged coordinate may send a widened path far beyond the picture; the clip it becomes
// costs no more than the surface.
TEST(ArcDirectionAndWidenPath, DamagedRecordsPlayWithoutHarm) {
  EmfRecorder rec(kW, kH);
  DrawScene(rec);
  const std::string good = rec.Finish();
  std::mt19937 rng(5);
  for (int round = 0; round < 200; ++round) {
    std::string bad = good;
    for (int k = 0; k < 1 + static_cast<int>(rng() % 6); ++k) bad[8 + rng() % (bad.size() - 8)] = static_cast<char>(rng());
    QImage img = WhiteImage(kW, kH);
    QtDc dc(img);
    PlayEnhMetafile(dc, bad, Rect{0, 0, kW, kH});
    EXPECT_TRUE(dc.State().arcDirection == AD_COUNTERCLOCKWISE);
  }
}
