// Gradients, blends and frame controls: their colours on a raster image, the same pixels after a
// round trip through a recorded metafile and our player, a metafile another reader opens, which
// back end does what itself, and operations a surface cannot do answering false.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <cstdlib>

#include "draw_env.h"
#include "platform/dc_trace.h"
#include "platform/emf.h"
#include "platform/emf_player.h"
#include "platform/emf_recorder.h"
#include "platform/files.h"
#include "platform/qt/dc_qt.h"
#include "support/test_support.h"

using namespace platform;
using drawtest::At;
using drawtest::WhiteImage;

namespace {

constexpr int kW = 160, kH = 120;
const ColorRef kRed = RgbColor(255, 0, 0), kBlue = RgbColor(0, 0, 255), kGreen = RgbColor(0, 255, 0);

// A picture (a dark grey ground so that the blend shows) with each of the new operations.
void DrawEffects(DeviceContext& dc) {
  dc.FillRect(Rect{0, 0, kW, kH}, LogBrush{BS_SOLID, RgbColor(40, 40, 40), 0, nullptr});
  dc.GradientFill({TriVertex::At(10, 10, kRed), TriVertex::At(74, 30, kBlue)}, {0, 1}, GRADIENT_FILL_RECT_H);
  dc.GradientFill({TriVertex::At(80, 10, kRed), TriVertex::At(100, 60, kGreen)}, {0, 1}, GRADIENT_FILL_RECT_V);
  dc.GradientFill({TriVertex::At(110, 10, kRed), TriVertex::At(150, 20, kGreen), TriVertex::At(120, 60, kBlue)},
                  {0, 1, 2}, GRADIENT_FILL_TRIANGLE);
  Dib stripes = Dib::Filled(8, 8, RgbColor(250, 250, 0));
  for (int x = 0; x < 8; x += 2) {
    for (int y = 0; y < 8; ++y) stripes.SetPixel(x, y, RgbColor(0, 200, 255));
  }
  dc.AlphaBlend(Rect{10, 40, 42, 72}, stripes, Rect{0, 0, 8, 8}, 96);
  dc.AlphaBlend(Rect{50, 40, 58, 48}, stripes, Rect{0, 0, 8, 8}, 200);
  int x = 10;
  for (uint32_t state : {DFCS_BUTTONCHECK, DFCS_BUTTONCHECK | DFCS_CHECKED, DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_INACTIVE,
                         DFCS_BUTTONCHECK | DFCS_PUSHED, DFCS_BUTTONRADIO, DFCS_BUTTONRADIO | DFCS_CHECKED,
                         DFCS_BUTTONRADIO | DFCS_CHECKED | DFCS_INACTIVE}) {
    dc.DrawFrameControl(Rect{x, 90, x + 13, 103}, DFC_BUTTON, state);
    x += 18;
  }
}

int ChannelDiff(QRgb a, QRgb b) {
  return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
}

}  // namespace

TEST(DrawingEffects, ColoursOnARasterImage) {
  QImage img = WhiteImage(kW, kH);
  {
    QtDc dc(img);
    DrawEffects(dc);
  }
  drawtest::Keep(img, "effects");
  // Across: red at the left edge, blue coming at the right, halfway between in the middle.
  EXPECT_EQ(At(img, 10, 20), kRed);
  EXPECT_EQ(At(img, 42, 20), RgbColor(127, 0, 127));
  EXPECT_EQ(At(img, 73, 29), RgbColor(3, 0, 251));
  EXPECT_EQ(At(img, 74, 20), RgbColor(40, 40, 40));  // right edge left out
  // Down: red at the top, green towards the bottom, one colour per row.
  EXPECT_EQ(At(img, 80, 10), kRed);
  EXPECT_EQ(At(img, 99, 10), kRed);
  EXPECT_EQ(GreenOf(At(img, 90, 59)), 249);
  // The triangle: the corners' colours near them, nothing outside.
  EXPECT_GT(RedOf(At(img, 111, 11)), 230);
  EXPECT_GT(GreenOf(At(img, 148, 20)), 200);
  EXPECT_GT(BlueOf(At(img, 120, 58)), 200);
  EXPECT_EQ(At(img, 145, 50), RgbColor(40, 40, 40));
  // The blend: 96/255 of the stripes over the ground, stretched four times.
  const auto mix = [](int over, int under, int a) { return (over * a + under * (255 - a) + 127) / 255; };
  EXPECT_EQ(At(img, 10, 40), RgbColor(mix(0, 40, 96), mix(200, 40, 96), mix(255, 40, 96)));
  EXPECT_EQ(At(img, 14, 40), RgbColor(mix(250, 40, 96), mix(250, 40, 96), mix(0, 40, 96)));
  EXPECT_EQ(At(img, 51, 41), RgbColor(mix(250, 40, 200), mix(250, 40, 200), mix(0, 40, 200)));
  // Check boxes: sunken frame, white inside, a black tick only when checked, grey when grey.
  EXPECT_EQ(At(img, 10, 90), SystemColorRgb(COLOR_BTNSHADOW));
  EXPECT_EQ(At(img, 22, 102), SystemColorRgb(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(At(img, 16, 96), SystemColorRgb(COLOR_WINDOW));
  EXPECT_EQ(At(img, 28 + 6, 96), RgbColor(0, 0, 0));  // the tick's lowest column
  EXPECT_EQ(At(img, 46 + 6, 96), SystemColorRgb(COLOR_GRAYTEXT));
  EXPECT_EQ(At(img, 46 + 2, 92), SystemColorRgb(COLOR_BTNFACE));
  EXPECT_EQ(At(img, 64 + 6, 96), SystemColorRgb(COLOR_BTNFACE));  // pushed, not checked
  // Radio buttons: the corners stay as they were, the dot only when checked.
  EXPECT_EQ(At(img, 82, 90), RgbColor(40, 40, 40));
  EXPECT_EQ(At(img, 88, 96), SystemColorRgb(COLOR_WINDOW));
  EXPECT_EQ(At(img, 106, 96), RgbColor(0, 0, 0));
  EXPECT_EQ(At(img, 124, 96), SystemColorRgb(COLOR_GRAYTEXT));
}

TEST(DrawingEffects, RecordedAndPlayedBackGiveTheSamePixels) {
  QImage direct = WhiteImage(kW, kH);
  {
    QtDc dc(direct);
    DrawEffects(dc);
  }
  EmfRecorder rec(kW, kH);
  DrawEffects(rec);
  const std::string bytes = rec.Finish();
  int blends = 0;
  {
    std::optional<emf::Header> h = emf::ReadHeader(bytes);
    ASSERT_TRUE(h);
    emf::RecordWalker walker(bytes, *h);
    emf::Record r;
    while (walker.Next(r)) blends += r.type == emf::EMR_ALPHABLEND;
  }
  EXPECT_EQ(blends, 2);
  QImage played = WhiteImage(kW, kH);
  {
    QtDc dc(played);
    EmfPlayResult r = PlayEnhMetafile(dc, bytes, Rect{0, 0, kW, kH});
    EXPECT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.skipped, 0);
  }
  drawtest::Keep(played, "effects-played");
  int worst = 0;
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) worst = std::max(worst, ChannelDiff(direct.pixel(x, y), played.pixel(x, y)));
  }
  EXPECT_LE(worst, 1);
}

// Another reader draws the recorded file too: the gradient's ends and the blended stripes are there.
TEST(DrawingEffects, IndependentReaderDrawsTheGradientsAndTheBlend) {
  if (!testsupport::HaveLibreOffice()) GTEST_SKIP() << "soffice is not installed";
  EmfRecorder rec(kW, kH);
  DrawEffects(rec);
  testsupport::TempFolder tmp;
  ASSERT_TRUE(WriteFileBytesAtomic(tmp.Path("effects.emf"), rec.Finish()));
  const testsupport::ReaderPictures pictures = testsupport::ConvertWithReader(tmp.native(), {"effects.emf"});
  if (pictures.Collecting()) return;
  ASSERT_EQ(pictures.Error(), "");
  QImage theirs(QString::fromStdString(pictures.Png("effects.emf")));
  ASSERT_FALSE(theirs.isNull());
  drawtest::Keep(theirs, "effects-libreoffice");
  // The reader puts the picture somewhere on a page: find its dark ground.
  int left = theirs.width(), top = theirs.height(), right = -1, bottom = -1;
  for (int y = 0; y < theirs.height(); ++y) {
    for (int x = 0; x < theirs.width(); ++x) {
      if (ChannelDiff(theirs.pixel(x, y), qRgb(40, 40, 40)) > 8) continue;
      left = std::min(left, x);
      top = std::min(top, y);
      right = std::max(right, x + 1);
      bottom = std::max(bottom, y + 1);
    }
  }
  ASSERT_GT(right, left);
  const double sx = (right - left) / static_cast<double>(kW), sy = (bottom - top) / static_cast<double>(kH);
  auto theirsAt = [&](int x, int y) {
    return theirs.pixel(left + static_cast<int>((x + 0.5) * sx), top + static_cast<int>((y + 0.5) * sy));
  };
  EXPECT_LE(ChannelDiff(theirsAt(12, 20), qRgb(255, 0, 0)), 32);
  EXPECT_LE(ChannelDiff(theirsAt(71, 20), qRgb(0, 0, 255)), 32);
  EXPECT_LE(ChannelDiff(theirsAt(90, 12), qRgb(255, 0, 0)), 32);
  EXPECT_LE(ChannelDiff(theirsAt(90, 58), qRgb(0, 255, 0)), 32);
  EXPECT_LE(ChannelDiff(theirsAt(16, 96), qRgb(255, 255, 255)), 32);  // inside a check box
  // The blend is there (this reader weighs a constant alpha the other way round, so only its
  // presence is compared).
  EXPECT_GT(ChannelDiff(theirsAt(26, 56), qRgb(40, 40, 40)), 32);
}

TEST(DrawingEffects, PlayerDrawsGradientRecordsOfOtherWriters) {
  // An EMR_GRADIENTFILL as other programs write it: two vertices, one rectangle, across.
  const std::vector<TriVertex> v = {TriVertex::At(5, 5, kRed), TriVertex::At(45, 25, kGreen)};
  EmfRecorder rec(50, 30);
  rec.SetPixel(0, 0, 0xFFFFFF);
  std::string bytes = rec.Finish();
  emf::FieldWriter w;
  w.U32(emf::EMR_GRADIENTFILL);
  w.U32(0);
  w.RectL(Rect{5, 5, 44, 24});
  w.U32(2);
  w.U32(1);
  w.U32(GRADIENT_FILL_RECT_H);
  for (const TriVertex& t : v) {
    w.I32(t.x);
    w.I32(t.y);
    w.U16(t.red);
    w.U16(t.green);
    w.U16(t.blue);
    w.U16(0);
  }
  w.U32(0);
  w.U32(1);
  w.PatchU32(4, static_cast<uint32_t>(w.Size()));
  // Before the end-of-file record (20 bytes), with the header's counts grown.
  bytes.insert(bytes.size() - 20, w.Buffer());
  emf::Header h = *emf::ReadHeader(bytes);
  h.bytes = static_cast<uint32_t>(bytes.size());
  h.records += 1;
  emf::WriteHeader(bytes, h);

  QImage played = WhiteImage(50, 30), direct = WhiteImage(50, 30);
  {
    QtDc dc(played);
    EmfPlayResult r = PlayEnhMetafile(dc, bytes, Rect{0, 0, 50, 30});
    EXPECT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.skipped, 0);
  }
  {
    QtDc dc(direct);
    dc.SetPixel(0, 0, 0xFFFFFF);
    dc.GradientFill(v, {0, 1}, GRADIENT_FILL_RECT_H);
  }
  EXPECT_EQ(drawtest::DiffCount(direct, played), 0) << drawtest::DiffBounds(direct, played);
  EXPECT_EQ(At(played, 5, 5), kRed);
}

TEST(DrawingEffects, BackEndsSayWhatTheyDoAndRefuseWhatTheyCannot) {
  QImage img = WhiteImage(20, 20);
  QtDc raster(img);
  EmfRecorder rec(20, 20);
  TraceDc trace;
  testsupport::TempFolder tmp;
  QPdfWriter pdf(QString::fromStdString(tmp.native() + "page.pdf"));
  QPainter painter(&pdf);
  QtDc page(painter, DeviceCaps::Screen(800, 1100), false);
  struct Row {
    const char* name;
    DeviceContext& dc;
    bool gradient, blend, frame, read, rops;
  };
  const Row rows[] = {
      {"raster", raster, false, true, false, true, true},
      {"pdf", page, false, true, false, false, false},
      {"metafile", rec, false, true, false, false, true},
      {"trace", trace, true, true, true, false, false},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    EXPECT_EQ(r.dc.Native(DcFeature::GradientFill), r.gradient);
    EXPECT_EQ(r.dc.Native(DcFeature::AlphaBlend), r.blend);
    EXPECT_EQ(r.dc.Native(DcFeature::FrameControl), r.frame);
    EXPECT_EQ(r.dc.Native(DcFeature::ReadPixels), r.read);
    EXPECT_EQ(r.dc.Native(DcFeature::RasterOps), r.rops);
    Dib bits;
    EXPECT_EQ(r.dc.GetBits(Rect{0, 0, 4, 4}, bits), r.read);
    EXPECT_EQ(r.dc.GetPixel(1, 1) != CLR_INVALID, r.read);
  }
  // A page cannot combine with what is printed: nothing is drawn, and the caller is told.
  const Dib dot = Dib::Filled(2, 2, 0);
  EXPECT_FALSE(page.PatBlt(Rect{0, 0, 10, 10}, DSTINVERT));
  EXPECT_FALSE(page.StretchDIBits(Rect{0, 0, 4, 4}, Rect{0, 0, 2, 2}, dot, SRCAND));
  EXPECT_TRUE(page.StretchDIBits(Rect{0, 0, 4, 4}, Rect{0, 0, 2, 2}, dot, SRCCOPY));
  EXPECT_TRUE(page.AlphaBlend(Rect{0, 0, 4, 4}, dot, Rect{0, 0, 2, 2}, 128));
  // Nothing can be copied out of a metafile.
  EXPECT_FALSE(raster.BitBlt(Rect{0, 0, 5, 5}, rec, 0, 0));
  EXPECT_TRUE(raster.BitBlt(Rect{0, 0, 5, 5}, raster, 10, 10));
  // Bad arguments draw nothing.
  EXPECT_FALSE(raster.GradientFill({TriVertex::At(0, 0, 0)}, {0, 1}, GRADIENT_FILL_RECT_H));
  EXPECT_FALSE(raster.GradientFill({TriVertex::At(0, 0, 0), TriVertex::At(5, 5, 0)}, {0, 1}, 7));
  EXPECT_FALSE(raster.AlphaBlend(Rect{10, 10, 0, 0}, dot, Rect{0, 0, 2, 2}, 128));
  EXPECT_FALSE(raster.DrawFrameControl(Rect{0, 0, 13, 13}, DFC_BUTTON, 0x10));
  EXPECT_FALSE(raster.DrawFrameControl(Rect{0, 0, 13, 13}, 1, DFCS_BUTTONCHECK));
  // Gradients far beyond the surface cost only what can be seen.
  EXPECT_TRUE(raster.GradientFill({TriVertex::At(-2000000000, -5, kRed), TriVertex::At(2000000000, 2000000000, kBlue)},
                                  {0, 1}, GRADIENT_FILL_RECT_V));
  EXPECT_TRUE(raster.GradientFill({TriVertex::At(-2000000000, -2000000000, kRed), TriVertex::At(2000000000, 0, kGreen),
                                   TriVertex::At(0, 2000000000, kBlue)},
                                  {0, 1, 2}, GRADIENT_FILL_TRIANGLE));
  painter.end();
}
