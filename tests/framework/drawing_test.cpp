// Colour numbers, the drawing primitives (on a tracing device context) and the metafile fixes.
#include <gtest/gtest.h>

#include "framework/appinit.h"
#include "framework/drawing.h"
#include "platform/dc_trace.h"
#include "platform/emf.h"
#include "platform/emf_recorder.h"
#include "platform/files.h"
#include "support/test_support.h"

using namespace fw;
using platform::Point;
using testsupport::S;

namespace {

// A colour file whose entry i is `value(i)`, with `lines` lines.
std::string WriteColorFile(const testsupport::TempFolder& tmp, const std::string& name, int lines,
                           uint32_t (*value)(int)) {
  std::vector<std::string> text;
  for (int i = 0; i < lines; ++i) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%5d $%06X", i, value(i));
    text.push_back(buf + S(" 色"));
  }
  std::string path = tmp.Path(name);
  EXPECT_TRUE(platform::WriteTextLinesAtomic(path, text));
  return path;
}

uint32_t Ramp(int i) { return static_cast<uint32_t>(i * 0x010101); }
uint32_t Blue(int i) { return static_cast<uint32_t>(0x010000 * i); }

class ColorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Palette.fill(0);
    LoadedColorFile.clear();
    savedName_ = ColorFileName;
  }
  void TearDown() override {
    ColorFileName = savedName_;
    Palette.fill(0);
    LoadedColorFile.clear();
  }
  testsupport::TempFolder tmp_;
  std::string savedName_;
};

}  // namespace

TEST_F(ColorTest, ColourNumbersFollowTheTable) {
  ColorFileName = WriteColorFile(tmp_, "ramp.COL", 256, Ramp);
  struct Case {
    int n;
    uint32_t colour;
  };
  const Case cases[] = {
      {0, 0},
      {3, 0x030303},
      {255, 0xFFFFFF},
      {-3, 0x030303},
      {-15, 0x0F0F0F},
      {-16, platform::SystemColor(platform::COLOR_BTNFACE)},
      {-17, platform::SystemColor(platform::COLOR_BACKGROUND)},
      {-21, platform::SystemColor(platform::COLOR_WINDOW)},
      {-99, platform::SystemColor(platform::COLOR_BTNFACE)},
      {-254, platform::SystemColor(platform::COLOR_BTNFACE)},
      {256, 256},
      {0x123456, 0x123456},
      {-255, static_cast<uint32_t>(-255)},
  };
  for (const Case& c : cases) EXPECT_EQ(ColorOf(c.n), c.colour) << c.n;
  EXPECT_EQ(ColorIf(true, 3, 4), 0x030303u);
  EXPECT_EQ(ColorIf(false, 3, 4), 0x040404u);
  EXPECT_EQ(RedUnless(false), 0x0000FFu);
  EXPECT_EQ(BlueUnless(false), 0xFF0000u);
  EXPECT_EQ(RedUnless(true), 0u);
}

TEST_F(ColorTest, PaletteIsReadAgainOnlyWhenTheFileNameChanges) {
  ColorFileName = WriteColorFile(tmp_, "ramp.COL", 256, Ramp);
  EXPECT_EQ(ColorOf(2), 0x020202u);
  WriteColorFile(tmp_, "ramp.COL", 256, Blue);  // same name: not read again
  EXPECT_EQ(ColorOf(2), 0x020202u);
  ColorFileName = WriteColorFile(tmp_, "blue.COL", 256, Blue);
  EXPECT_EQ(ColorOf(2), 0x020000u);
  ColorFileName = tmp_.Path("missing.COL");  // a missing file keeps the palette
  EXPECT_EQ(ColorOf(2), 0x020000u);
}

TEST_F(ColorTest, ShortColourFileFillsTheRestWithBlackAndIsRemembered) {
  ColorFileName = WriteColorFile(tmp_, "short.COL", 10, Ramp);
  EXPECT_EQ(ColorOf(9), 0x090909u);
  EXPECT_EQ(ColorOf(10), 0u);
  EXPECT_EQ(ColorOf(200), 0u);
  EXPECT_EQ(LoadedColorFile, ColorFileName);
}

namespace {

class PrimitiveTest : public ::testing::Test {
 protected:
  platform::TraceDc dc;
  platform::Canvas canvas{dc};
};

}  // namespace

TEST_F(PrimitiveTest, InvertingColourKeepsThePenInvertingForLaterLines) {
  DrawBox(canvas, 10, 20, -99, 50, 60);
  DrawLine(canvas, 0, 0, 5, 5);
  DrawColorLine(canvas, 1, 1, 0x100, 9, 9);  // a colour does not end the inverting mode
  EXPECT_TRUE(dc.Has("Polyline 10,20 10,60 50,60 50,20 10,20"));
  EXPECT_TRUE(dc.Has("SetROP2 6"));
  EXPECT_FALSE(dc.Has("SetROP2 13"));
  EXPECT_EQ(dc.State().rop2, platform::R2_NOT);
  EXPECT_TRUE(dc.Has("LineTo 5,5"));
  EXPECT_TRUE(dc.Has("LineTo 9,9"));
}

TEST_F(PrimitiveTest, NegativePositionsDrawNothing) {
  TextOutClear(canvas, -1, 5, "A", 9, 0);
  TextOutSolid(canvas, 5, -1, "A", 9, 0);
  TextOutCentered(canvas, -1, 5, "A", 9, 0);
  TextOutRotated(canvas, 5, -1, "A", 12, 0, 90);
  DrawArc(canvas, -1, 5, 0, 10);
  EXPECT_FALSE(dc.Has("ExtTextOut"));
  EXPECT_FALSE(dc.Has("Arc"));
}

TEST_F(PrimitiveTest, TextPrimitivesSetBackgroundFontAndColour) {
  TextOutClear(canvas, 10, 10, "AB", 12, 0x00FF00);
  EXPECT_EQ(dc.State().bkMode, platform::TRANSPARENT);
  EXPECT_EQ(dc.State().textColor, 0x00FF00u);
  EXPECT_EQ(dc.State().font.height, -16);  // 12 points at 96 dpi
  EXPECT_TRUE(dc.Has("ExtTextOut 10,10 \"AB\""));
  TextOutSolid(canvas, 10, 30, "AB", 12, 0);
  EXPECT_EQ(dc.State().bkMode, platform::OPAQUE);
  dc.log.clear();
  TextOutCentered(canvas, 100, 100, "ABCD", 12, 0);  // 4 x 8 wide, 16 high with the estimate
  EXPECT_TRUE(dc.Has("ExtTextOut 84,92 \"ABCD\"")) << testing::PrintToString(dc.log);
  TextOutRotated(canvas, 40, 50, S("降水量"), 14, 0, 90);
  EXPECT_EQ(dc.State().font.escapement, 900);
  EXPECT_EQ(dc.State().font.height, 14);
  EXPECT_EQ(dc.State().font.faceName, S("ＭＳ ゴシック"));
  EXPECT_EQ(dc.State().font.charSet, platform::SHIFTJIS_CHARSET);
}

TEST_F(PrimitiveTest, ArcGeometryAndFullCircle) {
  DrawArc(canvas, 100, 80, 0x100, 20);
  EXPECT_TRUE(dc.Has("Arc 80,60,120,100 120,80,120,80"));
  EXPECT_EQ(dc.State().brush.style, platform::BS_NULL);
  EXPECT_EQ(ArcGeometry.box.right, 120);
  EXPECT_EQ(ArcGeometry.start.x, 120);
  struct Case {
    int angle;
    Point p;
  };
  const Case cases[] = {{0, {120, 80}},  {30, {120, 68}}, {45, {120, 60}}, {90, {100, 60}}, {120, {88, 60}},
                        {180, {80, 80}}, {200, {80, 87}}, {270, {100, 100}}, {300, {112, 100}}, {360, {120, 80}}};
  for (const Case& c : cases) {
    Point p = ArcPoint(100, 80, 20, c.angle);
    EXPECT_EQ(p.x, c.p.x) << c.angle;
    EXPECT_EQ(p.y, c.p.y) << c.angle;
  }
}

TEST_F(PrimitiveTest, BrushStylesByIndex) {
  const uint32_t styles[] = {platform::BS_SOLID, platform::BS_NULL, platform::BS_HATCHED, platform::BS_HATCHED,
                             platform::BS_HATCHED, platform::BS_HATCHED, platform::BS_HATCHED, platform::BS_HATCHED,
                             platform::BS_SOLID};
  for (int i = 0; i <= 8; ++i) {
    FillBox(canvas, 0, 0, 0x100, i, 10, 10);
    EXPECT_EQ(dc.State().brush.style, styles[i]) << i;
    if (i >= 2 && i <= 7) {
      EXPECT_EQ(dc.State().brush.hatch, static_cast<uint32_t>(i - 2));
    }
  }
  EXPECT_TRUE(dc.Has("PatBlt 0,0,10,10"));
  SetCanvasFont(canvas, S("ＭＳ 明朝"), 10, platform::fsBold);
  canvas.RealizeFont();
  EXPECT_EQ(dc.State().font.weight, platform::FW_BOLD);
  EXPECT_EQ(dc.State().font.height, -13);
}

TEST_F(PrimitiveTest, FixMetafileFontWidthGivesTheFontAWidthOnce) {
  canvas.Font().SetHeight(-12);
  FixMetafileFontWidth(canvas);
  canvas.RealizeFont();
  // The built-in measure: average width 6, height 12.
  EXPECT_EQ(dc.State().font.width, 6);
  auto lf = canvas.Font().GetLogFont();
  lf.width = 4;
  canvas.Font().SetLogFont(lf);
  FixMetafileFontWidth(canvas);
  EXPECT_EQ(canvas.Font().GetLogFont().width, 4);
}

TEST(RescaleMetafile, NinetySixToSixHundredDpi) {
  platform::EmfRecorder rec(700, 210);
  rec.Rectangle(10, 10, 100, 100);
  std::string emf = rec.Finish();
  const std::string before = emf;
  ASSERT_TRUE(RescaleMetafile(emf, 600, 600));
  auto h = platform::emf::ReadHeader(emf);
  ASSERT_TRUE(h);
  EXPECT_EQ(h->device, (platform::Size{1920, 1440}));
  EXPECT_EQ(h->frame, (platform::Rect{0, 0, 2963, 889}));  // 700 x 210 pixels at 600 dpi
  EXPECT_EQ(h->millimeters, (platform::Size{81, 61}));
  EXPECT_EQ(h->micrometers, (platform::Size{81280, 60960}));
  EXPECT_EQ(emf.size(), before.size());
  EXPECT_EQ(emf.substr(h->recordSize), before.substr(h->recordSize));  // the records are copied unchanged
  // 0 is the screen's resolution: the reference sizes, the frame rounded to the nearest.
  std::string screen = before;
  ASSERT_TRUE(RescaleMetafile(screen, 0, 0));
  auto s = platform::emf::ReadHeader(screen);
  EXPECT_EQ(s->frame, (platform::Rect{0, 0, 18521, 5556}));
  EXPECT_EQ(s->millimeters, (platform::Size{508, 381}));
  EXPECT_EQ(platform::emf::FrameSizePixels(*s), (platform::Size{700, 210}));

  std::string garbage = "not a metafile";
  EXPECT_FALSE(RescaleMetafile(garbage, 600, 600));
  EXPECT_EQ(garbage, "not a metafile");
}
