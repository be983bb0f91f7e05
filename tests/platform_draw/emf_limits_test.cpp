// Metafiles that ask the player for far more than they hold: bitmaps declared huge, bitmaps
// stretched onto a few pixels, turned text at the integer limits, text in fonts widened beyond
// reason. Each is played as the program plays pictures and pages.
#include <gtest/gtest.h>

#include <climits>
#include <fstream>
#include <functional>
#include <string>

#include "draw_env.h"
#include "platform/emf_player.h"
#include "platform/emf_recorder.h"
#include "platform/dc_trace.h"
#include "platform/files.h"
#include "platform/qt/dc_qt.h"
#include "support/test_support.h"

using namespace platform;
using drawtest::At;
using drawtest::WhiteImage;

namespace {

// An input kept among the failing inputs of fuzz target `target`.
std::string Regression(const std::string& target, const std::string& name) {
  std::string bytes;
  EXPECT_TRUE(ReadFileBytes(testsupport::SourceDir() + "/tests/fuzz_regressions/" + target + "/" + name, bytes))
      << name;
  return bytes;
}

// A bitmap whose left half is red and right half blue.
Dib Halves(int w, int h) {
  Dib d = Dib::Filled(w, h, RgbColor(255, 0, 0));
  for (int y = 0; y < h; ++y)
    for (int x = w / 2; x < w; ++x) d.SetPixel(x, y, RgbColor(0, 0, 255));
  return d;
}

}  // namespace

TEST(EmfPlayerLimits, BitmapsOfOneMetafileShareOneDecodingBudget) {
  // 16 pattern brushes, each a run-length bitmap declaring 8192 x 8192 pixels with two bytes of
  // data: the first takes the whole budget, the other 15 are skipped and the play says why.
  TraceDc dc;
  const EmfPlayResult r =
      PlayEnhMetafile(dc, Regression("emf_trace", "pattern_brushes_16_rle_8192_square.emf"), Rect{0, 0, 400, 300});
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.skipped, 15);
  EXPECT_EQ(r.decodedPixels, kMetafileDecodeBudget);
  EXPECT_NE(r.error.find("exceed"), std::string::npos) << r.error;
}

TEST(EmfPlayerLimits, BitBlocksDecodeOnlyWhatReachesTheDestination) {
  // 100 records each stretching an 8192-square bitmap onto 190 x 140 pixels: every one is drawn,
  // from a few source pixels per destination pixel.
  TraceDc dc;
  const EmfPlayResult r =
      PlayEnhMetafile(dc, Regression("emf_trace", "stretch_dibits_100_rle_8192_square.emf"), Rect{0, 0, 400, 300});
  EXPECT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.skipped, 0);
  EXPECT_LE(r.decodedPixels, int64_t{100} * 5 * 190 * 140);

  // Shrunk 10 times across, and clipped to a quarter of the destination: the picture is the
  // one the whole bitmap gives, from a part of its pixels.
  const Dib wide = Halves(4000, 40);
  EmfRecorder rec(400, 40);
  rec.StretchDIBits(Rect{0, 0, 400, 40}, Rect{0, 0, 4000, 40}, wide);
  const std::string bytes = rec.Finish();
  QImage whole = WhiteImage(400, 40), played = WhiteImage(400, 40);
  {
    QtDc direct(whole);
    direct.StretchDIBits(Rect{0, 0, 400, 40}, Rect{0, 0, 4000, 40}, wide);
    QtDc qt(played);
    const EmfPlayResult all = PlayEnhMetafile(qt, bytes, Rect{0, 0, 400, 40});
    EXPECT_TRUE(all.ok);
    EXPECT_LE(all.decodedPixels, 4000 * 40 / 4);
  }
  EXPECT_LE(drawtest::DiffCount(whole, played), 2 * 40) << drawtest::DiffBounds(whole, played);
  for (int x : {0, 150, 198, 202, 250, 399}) EXPECT_EQ(At(played, x, 20), At(whole, x, 20)) << x;

  QImage clipped = WhiteImage(400, 40);
  {
    QtDc qt(clipped);
    const Region quarter(Rect{180, 0, 280, 40});
    qt.SelectClipRegion(&quarter);
    const EmfPlayResult part = PlayEnhMetafile(qt, bytes, Rect{0, 0, 400, 40});
    EXPECT_TRUE(part.ok);
    EXPECT_LE(part.decodedPixels, 4000 * 40 / 8);
  }
  for (int x : {182, 198, 202, 278}) EXPECT_EQ(At(clipped, x, 20), At(whole, x, 20)) << x;
  EXPECT_EQ(At(clipped, 100, 20), RgbColor(255, 255, 255));
}

TEST(EmfPlayerLimits, TextTurnedByTheSmallestIntegerIsTurnedByItsRemainder) {
  // An escapement of INT_MIN tenths is -848 tenths after whole turns; the player turns the
  // angles over for a y axis pointing up (a destination given bottom to top).
  auto picture = [](int escapement) {
    EmfRecorder rec(200, 200);
    LogFont font;
    font.height = -24;
    font.escapement = escapement;
    font.orientation = escapement;
    rec.SelectFont(font);
    rec.SetBkMode(TRANSPARENT);
    rec.TextOut(100, 100, u"ABC");
    const std::string bytes = rec.Finish();
    QImage image = WhiteImage(200, 200);
    QtDc qt(image);
    PlayEnhMetafile(qt, bytes, Rect{0, 200, 200, 0});
    return image;
  };
  const QImage turned = picture(INT_MIN);
  EXPECT_EQ(drawtest::DiffCount(turned, picture(INT_MIN % 3600)), 0);
  EXPECT_GT(drawtest::DiffCount(turned, WhiteImage(200, 200)), 0);
}

TEST(EmfPlayerLimits, TextInAWidenedFontIsDrawnAsOutlines) {
  // Kanji in a font 60 pixels high and as wide as a font may be made: Qt would keep an image
  // of every glyph at its full width (and fails to make one that wide); their outlines are
  // drawn instead.
  LogFont lf;
  lf.height = -60;
  lf.width = 30000;
  lf.faceName = "IPAGothic";
  EXPECT_TRUE(GlyphsDrawnAsOutlines(QtFontEngine::Instance().MakeFont(lf)));
  lf.width = 0;
  EXPECT_FALSE(GlyphsDrawnAsOutlines(QtFontEngine::Instance().MakeFont(lf)));
  lf.height = -500;  // Qt draws such a font's glyphs as outlines itself
  EXPECT_FALSE(GlyphsDrawnAsOutlines(QtFontEngine::Instance().MakeFont(lf)));

  QImage image = WhiteImage(160, 120);
  QtDc qt(image);
  const EmfPlayResult r =
      PlayEnhMetafile(qt, Regression("emf_qt", "kanji_in_a_font_of_largest_width.emf"), Rect{0, 0, 160, 120});
  EXPECT_TRUE(r.ok) << r.error;
}

// The resident memory of this process in kilobytes.
static long ResidentKb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  }
  return 0;
}

TEST(EmfPlayerLimits, CharactersNoFontHasInAHugeFontAreDrawnAsOutlines) {
  // Characters of scripts no installed font has, in a font of the largest height: Qt would keep a
  // box image of the font's size for each (some hundred megabytes a character); their outlines
  // are drawn instead. In fonts Qt keeps images for, and for characters a font has, nothing
  // changes.
  LogFont lf;
  lf.faceName = "IPAGothic";
  struct Case {
    int height;
    char16_t c;
    bool outline;
  } cases[] = {{-10000, 0x0A03, true}, {-10000, 0x1780, true}, {-10000, u'A', false},
               {-10000, 0x6C34, false}, {-60, 0x0A03, false}, {-12, 0x0A03, false}};
  for (const Case& c : cases) {
    lf.height = c.height;
    const QFont font = QtFontEngine::Instance().MakeFont(lf);
    EXPECT_EQ(MissingGlyphOfALargeFont(font, QFontMetricsF(font), c.c), c.outline) << c.height << " " << int(c.c);
  }

  // A metafile of such text, turned by 47 degrees: the characters are drawn, and the process
  // grows by far less than one box image. (The same text came in a 1,248-byte metafile the
  // fuzzer made; it is kept with its inputs.)
  EmfRecorder rec(160, 120);
  LogFont huge;
  huge.faceName = "IPAGothic";
  huge.height = -10000;
  huge.escapement = huge.orientation = 468;
  rec.SelectFont(huge);
  rec.SetBkMode(TRANSPARENT);
  rec.TextOut(20, 60, u"\u0A03\u1780\u0B83");
  const std::string bytes = rec.Finish();
  const long before = ResidentKb();
  QImage image = WhiteImage(160, 120);
  QtDc qt(image);
  const EmfPlayResult r = PlayEnhMetafile(qt, bytes, Rect{0, 0, 160, 120});
  EXPECT_TRUE(r.ok) << r.error;
  EXPECT_GT(drawtest::DiffCount(image, WhiteImage(160, 120)), 0);
  EXPECT_LT(ResidentKb() - before, 100 * 1024);
}

TEST(EmfPlayerLimits, DashedCurvesLargerThanAnyDeviceAreStrokedSolid) {
  // Qt cuts the whole of a dashed curve into segments before dashing it, seen or not; a curve
  // millions of pixels across cost seconds and hundreds of megabytes. Beyond 65,536 pixels it is
  // stroked solid.
  EXPECT_TRUE(DashesKeptOnCurve(QRectF(-10, -10, 65536, 100)));
  EXPECT_FALSE(DashesKeptOnCurve(QRectF(-10, -10, 65537, 100)));
  EXPECT_FALSE(DashesKeptOnCurve(QRectF(0, -3e6, 40, 6e6)));

  const LogPen dashed{PS_GEOMETRIC | PS_DASH | PS_ENDCAP_FLAT, 5, RgbColor(255, 0, 0), {}};
  const LogBrush hollow{BS_NULL, 0, 0, nullptr};
  auto draw = [&](const std::function<void(QtDc&)>& shape) {
    QImage image = WhiteImage(160, 120);
    QtDc dc(image);
    dc.SelectPen(dashed);
    dc.SelectBrush(hollow);
    shape(dc);
    return image;
  };
  auto redIn = [](const QImage& image, int y0, int y1) {
    int n = 0;
    for (int y = y0; y < y1; ++y) {
      for (int x = 0; x < image.width(); ++x) n += At(image, x, y) == RgbColor(255, 0, 0);
    }
    return n;
  };
  // An ellipse of about the device's size keeps its dashes: its outline has gaps along the top.
  const QImage small = draw([](QtDc& dc) { dc.Ellipse(-200, 10, 360, 400); });
  EXPECT_GT(redIn(small, 8, 16), 0);
  EXPECT_LT(redIn(small, 8, 16), 160 * 8 * 3 / 4);

  // The upper half of an ellipse millions of pixels high through the top of the picture, in the
  // widest pen with the finest dashes (as a metafile the fuzzer made draws it): the process does
  // not grow by the flattened curve, and the arc shows.
  const long before = ResidentKb();
  QImage top = WhiteImage(160, 120);
  {
    QtDc dc(top);
    dc.SelectPen(LogPen{PS_GEOMETRIC | PS_ALTERNATE, 32767, RgbColor(255, 0, 0), {}});
    dc.SelectBrush(hollow);
    dc.Arc(-10, 0, 170, 7861844, 1000, 3930922, -1000, 3930922);
  }
  EXPECT_GT(redIn(top, 0, 120), 0);
  EXPECT_LT(ResidentKb() - before, 100 * 1024);
  // An ellipse and a full arc millions of pixels across whose tops cross the picture at y = 60
  // show there as solid lines.
  const QImage ellipse = draw([](QtDc& dc) { dc.Ellipse(-3000000, 60, 3000000, 6000000); });
  const QImage arc = draw([](QtDc& dc) { dc.Arc(-3000000, 60, 3000000, 6000000, 0, 0, 0, 0); });
  for (const QImage* image : {&ellipse, &arc}) EXPECT_EQ(redIn(*image, 60, 61), 160);
}
