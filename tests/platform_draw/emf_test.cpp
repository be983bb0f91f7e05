// Enhanced metafiles: the recorder's header and objects, the round trip through a file and
// the player, and damaged files.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <random>
#include <set>

#include "draw_env.h"
#include "platform/cp932.h"
#include "platform/emf.h"
#include "platform/emf_player.h"
#include "platform/emf_recorder.h"
#include "platform/dc_trace.h"
#include "platform/files.h"
#include "platform/qt/dc_qt.h"
#include "support/test_support.h"

using namespace platform;
using drawtest::WhiteImage;

namespace {

constexpr int kW = 320, kH = 240;
// Where the scene writes text (glyph pixels may differ after scaling by a hair).
const std::vector<Rect> kTextAreas = {Rect{150, 195, 320, 240}};

LogPen Pen(ColorRef c, int width = 1, uint32_t style = PS_SOLID) { return LogPen{style, width, c, {}}; }
LogBrush Solid(ColorRef c) { return LogBrush{BS_SOLID, c, 0, nullptr}; }

// A picture using every kind of record the recorder writes.
void DrawScene(DeviceContext& dc) {
  dc.FillRect(Rect{0, 0, kW, kH}, Solid(RgbColor(240, 240, 240)));
  dc.SelectPen(Pen(0));
  dc.SelectBrush(Solid(RgbColor(255, 255, 0)));
  dc.Rectangle(10, 10, 60, 40);
  dc.SelectPen(Pen(RgbColor(0, 0, 255), 1, PS_DASH));
  dc.SetBkMode(TRANSPARENT);
  dc.MoveTo(10, 50);
  dc.LineTo(150, 60);
  dc.SelectPen(LogPen{PS_GEOMETRIC | PS_ENDCAP_FLAT | PS_JOIN_MITER, 4, RgbColor(200, 0, 0), {}});
  dc.Polyline({{70, 10}, {100, 40}, {130, 10}, {160, 40}});
  dc.SelectPen(Pen(RgbColor(0, 128, 0)));
  dc.SetBkMode(OPAQUE);
  dc.SetBkColor(RgbColor(255, 255, 255));
  dc.SelectBrush(LogBrush{BS_HATCHED, RgbColor(0, 0, 128), HS_DIAGCROSS, nullptr});
  dc.Ellipse(170, 10, 230, 60);
  dc.SelectBrush(LogBrush{BS_HATCHED, RgbColor(128, 0, 0), HS_HORIZONTAL, nullptr});
  dc.SetBkMode(TRANSPARENT);
  dc.RoundRect(240, 10, 310, 60, 20, 20);
  dc.SelectBrush(Solid(RgbColor(0, 200, 200)));
  dc.Pie(10, 70, 70, 130, 70, 100, 40, 70);
  dc.Chord(80, 70, 140, 130, 140, 100, 80, 100);
  dc.SelectBrush(LogBrush{BS_NULL, 0, 0, nullptr});
  dc.Arc(150, 70, 210, 130, 210, 100, 150, 100);
  dc.SelectBrush(Solid(RgbColor(255, 128, 0)));
  dc.SetPolyFillMode(WINDING);
  dc.Polygon({{230, 70}, {300, 130}, {220, 100}, {310, 90}, {240, 130}});
  // Clipping, saved and restored.
  int level = dc.SaveDC();
  Region clip = Region::Combine(Region(Rect{10, 140, 60, 190}), Region::Ellipse(Rect{50, 140, 110, 190}), RGN_OR);
  dc.SelectClipRegion(&clip);
  dc.ExcludeClipRect(Rect{20, 150, 30, 160});
  dc.SelectBrush(LogBrush{BS_HATCHED, 0, HS_CROSS, nullptr});
  dc.PatBlt(Rect{0, 135, 120, 195}, PATCOPY);
  dc.RestoreDC(level);
  dc.IntersectClipRect(Rect{120, 140, 200, 190});
  dc.SelectBrush(Solid(RgbColor(0, 0, 255)));
  dc.Rectangle(110, 130, 210, 200);  // clipped to the rectangle above
  dc.SelectClipRegion(nullptr);
  // Inverting pen, pixels, bitmaps, a pattern brush.
  dc.SetROP2(R2_NOT);
  dc.MoveTo(5, 135);
  dc.LineTo(315, 135);
  dc.SetROP2(R2_COPYPEN);
  for (int k = 0; k < 10; ++k) dc.SetPixel(220 + 2 * k, 150, RgbColor(255, 0, 0));
  Dib dib;
  dib.width = 8;
  dib.height = 6;
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 8; ++x) dib.pixels.push_back(static_cast<uint32_t>((x * 32) << 16 | (y * 40) << 8 | 0x80));
  }
  dc.StretchDIBits(Rect{220, 160, 252, 184}, Rect{0, 0, 8, 6}, dib);
  dc.StretchDIBits(Rect{260, 160, 268, 166}, Rect{2, 1, 6, 4}, dib);
  auto pattern = std::make_shared<Dib>(dib);
  dc.SelectPen(Pen(0, 0, PS_NULL));
  dc.SelectBrush(LogBrush{BS_DIBPATTERNPT, 0, 0, pattern});
  dc.Rectangle(275, 160, 315, 190);
  // Paths: a ring sector, and a clip by the outline of a text.
  dc.SelectPen(Pen(RgbColor(128, 0, 128)));
  dc.SelectBrush(Solid(RgbColor(255, 200, 255)));
  dc.BeginPath();
  dc.MoveTo(70, 215);
  dc.ArcTo(10, 195, 70, 240, 70, 215, 40, 195);
  dc.LineTo(40, 205);
  dc.ArcTo(30, 205, 50, 225, 40, 205, 50, 215);
  dc.CloseFigure();
  dc.EndPath();
  dc.StrokeAndFillPath();
  LogFont big;
  big.height = -40;
  big.weight = FW_BOLD;
  big.faceName = "Arial";
  dc.SelectFont(big);
  dc.SetTextAlign(TA_LEFT | TA_TOP);
  dc.BeginPath();
  dc.TextOut(80, 195, u"W");
  dc.EndPath();
  level = dc.SaveDC();
  dc.SelectClipPath(RGN_COPY);
  dc.SelectBrush(LogBrush{BS_HATCHED, RgbColor(0, 0, 200), HS_CROSS, nullptr});
  dc.PatBlt(Rect{75, 195, 150, 240}, PATCOPY);
  dc.RestoreDC(level);
  // Text in the text area.
  LogFont font;
  font.height = -14;
  font.faceName = J("ＭＳ ゴシック");
  font.charSet = SHIFTJIS_CHARSET;
  dc.SelectFont(font);
  dc.SetTextColor(RgbColor(0, 0, 0));
  dc.SetBkMode(OPAQUE);
  dc.SetBkColor(RgbColor(255, 255, 200));
  dc.TextOutA(155, 200, J("貯水残量 （ﾘｯﾄﾙ）"));
  dc.SetTextAlign(TA_RIGHT | TA_BASELINE);
  dc.SetBkMode(TRANSPARENT);
  dc.TextOut(315, 235, u"365 days");
}

std::string Record(int w = kW, int h = kH) {
  EmfRecorder rec(w, h);
  DrawScene(rec);
  return rec.Finish();
}

std::vector<emf::Record> Records(const std::string& bytes) {
  std::vector<emf::Record> out;
  auto h = emf::ReadHeader(bytes);
  if (!h) return out;
  emf::RecordWalker w(bytes, *h);
  emf::Record r;
  while (w.Next(r)) out.push_back(r);
  return out;
}

}  // namespace

TEST(EmfRecorder, HeaderCountsAndBoundsAreExact) {
  EmfRecorder rec(700, 210);
  rec.SelectPen(Pen(0));
  rec.SelectBrush(Solid(0xFF));
  rec.Rectangle(10, 20, 50, 60);
  rec.MoveTo(5, 100);
  rec.LineTo(300, 150);
  std::string bytes = rec.Finish();

  std::string error;
  auto h = emf::ReadHeader(bytes, &error);
  ASSERT_TRUE(h) << error;
  EXPECT_EQ(h->recordSize, 108u);
  EXPECT_EQ(h->bounds, (Rect{5, 20, 300, 150}));
  EXPECT_EQ(h->frame, (Rect{0, 0, 18521, 5557}));  // 700 x 210 pixels at 96 dpi in 0.01 mm, rounded up
  EXPECT_EQ(h->device, (Size{1920, 1440}));
  EXPECT_EQ(h->millimeters, (Size{508, 381}));
  EXPECT_EQ(h->micrometers, (Size{508000, 381000}));
  EXPECT_EQ(h->bytes, bytes.size());
  EXPECT_EQ(h->records, Records(bytes).size());
  EXPECT_EQ(Records(bytes).back().type, emf::EMR_EOF);
  EXPECT_EQ(emf::FrameSizePixels(*h), (Size{700, 210}));
}

TEST(EmfRecorder, EveryObjectIsDeletedAndHandlesStayInTheTable) {
  std::string bytes = Record();
  auto h = emf::ReadHeader(bytes);
  ASSERT_TRUE(h);
  std::set<uint32_t> alive;
  uint32_t selectedPen = 0, selectedBrush = 0, selectedFont = 0;
  std::map<uint32_t, uint32_t> kindOf;
  int creates = 0, texts = 0, textsWithDx = 0;
  for (const emf::Record& r : Records(bytes)) {
    emf::FieldReader f(r.data);
    switch (r.type) {
      case emf::EMR_CREATEPEN: case emf::EMR_EXTCREATEPEN: case emf::EMR_CREATEBRUSHINDIRECT:
      case emf::EMR_CREATEDIBPATTERNBRUSHPT: case emf::EMR_EXTCREATEFONTINDIRECTW: {
        uint32_t ih = f.U32(8);
        EXPECT_GT(ih, 0u);
        EXPECT_LT(ih, h->handles);
        EXPECT_TRUE(alive.insert(ih).second) << "handle " << ih << " created twice";
        kindOf[ih] = r.type;
        ++creates;
        break;
      }
      case emf::EMR_SELECTOBJECT: {
        uint32_t ih = f.U32(8);
        if (ih & emf::kStockObject) {
          uint32_t stock = ih & 0xFF;
          (stock <= emf::NULL_BRUSH || stock == emf::DC_BRUSH ? selectedBrush
           : stock <= emf::NULL_PEN || stock == emf::DC_PEN   ? selectedPen
                                                              : selectedFont) = 0;
          break;
        }
        ASSERT_TRUE(alive.count(ih)) << "selecting a deleted object";
        uint32_t t = kindOf[ih];
        (t == emf::EMR_EXTCREATEFONTINDIRECTW ? selectedFont
         : (t == emf::EMR_CREATEPEN || t == emf::EMR_EXTCREATEPEN) ? selectedPen : selectedBrush) = ih;
        break;
      }
      case emf::EMR_DELETEOBJECT: {
        uint32_t ih = f.U32(8);
        EXPECT_TRUE(alive.erase(ih)) << "deleting an unknown object";
        EXPECT_NE(ih, selectedPen);
        EXPECT_NE(ih, selectedBrush);
        EXPECT_NE(ih, selectedFont);
        break;
      }
      case emf::EMR_EXTTEXTOUTW:
        ++texts;
        if (f.U32(72) != 0) ++textsWithDx;
        break;
      default: break;
    }
  }
  EXPECT_TRUE(alive.empty());
  EXPECT_GT(creates, 10);
  EXPECT_EQ(texts, 3);
  EXPECT_EQ(textsWithDx, 3);
}

TEST(EmfRecorder, TextAdvancesAreTheOnesTheScreenUses) {
  LogFont font;
  font.height = -12;
  font.faceName = J("ＭＳ 明朝");
  const std::u16string text = u"降水量 (mm/日) 1234";
  EmfRecorder rec(200, 50);
  rec.SelectFont(font);
  rec.TextOut(0, 0, text);
  std::string bytes = rec.Finish();
  QImage img = WhiteImage(200, 50);
  QtDc screen(img);
  screen.SelectFont(font);
  std::vector<int> expected = screen.GetCharAdvances(text);
  std::vector<int> recorded;
  for (const emf::Record& r : Records(bytes)) {
    if (r.type != emf::EMR_EXTTEXTOUTW) continue;
    emf::FieldReader f(r.data);
    for (uint32_t k = 0; k < f.U32(44); ++k) recorded.push_back(f.I32(f.U32(72) + 4 * k));
  }
  EXPECT_EQ(recorded, expected);
}

TEST(EmfRoundTrip, PlayedFileEqualsDirectDrawing) {
  QImage direct = WhiteImage(kW, kH);
  {
    QtDc dc(direct);
    DrawScene(dc);
  }
  testsupport::TempFolder tmp;
  const std::string path = tmp.Path("scene.emf");
  ASSERT_TRUE(WriteFileBytesAtomic(path, Record()));
  std::string bytes;
  ASSERT_TRUE(ReadFileBytes(path, bytes));
  QImage played = WhiteImage(kW, kH);
  {
    QtDc dc(played);
    EmfPlayResult r = PlayEnhMetafile(dc, bytes, Rect{0, 0, kW, kH});
    EXPECT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.skipped, 0);
  }
  drawtest::Keep(direct, "scene-direct");
  drawtest::Keep(played, "scene-played");
  EXPECT_EQ(drawtest::DiffCount(direct, played, kTextAreas), 0) << drawtest::DiffBounds(direct, played);
  // The text itself is there.
  EXPECT_GT(drawtest::DiffCount(played, WhiteImage(kW, kH)), 0);
}

TEST(EmfPlayer, ScalesIntoTheTargetRectangleAndKeepsTheCallersState) {
  EmfRecorder rec(100, 50);
  rec.SelectPen(LogPen{PS_NULL, 0, 0, {}});
  rec.SelectBrush(Solid(0));
  rec.Rectangle(0, 0, 51, 26);  // the top-left quarter (the null pen leaves one pixel off)
  std::string bytes = rec.Finish();
  QImage img = WhiteImage(300, 200);
  QtDc dc(img);
  Region callerClip(Rect{0, 0, 300, 150});
  dc.SelectClipRegion(&callerClip);
  dc.SelectBrush(Solid(0x00FF00));
  EmfPlayResult r = PlayEnhMetafile(dc, bytes, Rect{100, 100, 300, 200});
  EXPECT_TRUE(r.ok) << r.error;
  EXPECT_EQ(drawtest::At(img, 100, 100), 0u);
  EXPECT_EQ(drawtest::At(img, 199, 149), 0u);
  EXPECT_EQ(drawtest::At(img, 201, 120), 0xFFFFFFu);
  EXPECT_EQ(drawtest::At(img, 150, 160), 0xFFFFFFu);  // outside the caller's clip
  EXPECT_EQ(dc.State().brush.color, 0x00FF00u);
  Region after;
  ASSERT_TRUE(dc.GetClipRegion(after));
  EXPECT_EQ(after, callerClip);
}

TEST(EmfPlayer, ReplaysMappingModesAndTransformsOfOtherWriters) {
  // A hand-made file in the style of other programs: anisotropic mapping (window 0..1000
  // onto viewport 0..100), a 16-bit polygon and a world transform offset.
  emf::FieldWriter w;
  auto rec = [&](uint32_t type, std::initializer_list<int32_t> v) {
    w.U32(type);
    w.U32(static_cast<uint32_t>(8 + 4 * v.size()));
    for (int32_t x : v) w.I32(x);
  };
  emf::Header h;
  h.frame = Rect{0, 0, 2646, 2646};  // 100 x 100 pixels
  std::string head;
  emf::WriteHeader(head, h);
  w.Bytes(head);
  rec(emf::EMR_SETMAPMODE, {8});
  rec(emf::EMR_SETWINDOWEXTEX, {1000, 1000});
  rec(emf::EMR_SETVIEWPORTEXTEX, {100, 100});
  rec(emf::EMR_SELECTOBJECT, {static_cast<int32_t>(emf::kStockObject | emf::BLACK_BRUSH)});
  rec(emf::EMR_SELECTOBJECT, {static_cast<int32_t>(emf::kStockObject | emf::NULL_PEN)});
  w.U32(emf::EMR_POLYGON16);
  w.U32(28 + 4 * 4);
  w.RectL(Rect{0, 0, 10, 10});
  w.U32(4);
  for (int p : {100, 100, 500, 100, 500, 500, 100, 500}) w.I16(static_cast<int16_t>(p));
  rec(emf::EMR_EOF, {0, 16, 20});
  std::string bytes = w.Buffer();
  h.bytes = static_cast<uint32_t>(bytes.size());
  h.records = 8;
  emf::WriteHeader(bytes, h);

  QImage img = WhiteImage(100, 100);
  QtDc dc(img);
  EmfPlayResult r = PlayEnhMetafile(dc, bytes, Rect{0, 0, 100, 100});
  EXPECT_TRUE(r.ok) << r.error;
  EXPECT_EQ(drawtest::At(img, 10, 10), 0u);
  EXPECT_EQ(drawtest::At(img, 48, 48), 0u);
  EXPECT_EQ(drawtest::At(img, 55, 55), 0xFFFFFFu);
  EXPECT_EQ(drawtest::At(img, 5, 5), 0xFFFFFFu);
}

namespace {

// The offset of the first record of `type`.
size_t Find(const std::string& bytes, uint32_t type) {
  for (const emf::Record& r : Records(bytes)) {
    if (r.type == type) return r.offset;
  }
  return std::string::npos;
}

void PutU32(std::string& b, size_t at, uint32_t v) {
  for (int k = 0; k < 4; ++k) b[at + k] = static_cast<char>((v >> (8 * k)) & 0xFF);
}

}  // namespace

TEST(EmfPlayer, DamagedFilesAreRejectedOrPlayedInPart) {
  const std::string good = Record();
  struct Case {
    const char* name;
    std::function<void(std::string&)> damage;
    bool headerOk;  // false: refused before drawing
  };
  const Case cases[] = {
      {"short file", [](std::string& b) { b.resize(60); }, false},
      {"cut in the middle", [](std::string& b) { b.resize(b.size() / 2); }, false},
      {"cut and byte count fixed", [](std::string& b) { b.resize(b.size() / 2 & ~size_t{3}); PutU32(b, 48, static_cast<uint32_t>(b.size())); }, true},
      {"no signature", [](std::string& b) { PutU32(b, 40, 0); }, false},
      {"zero handles", [](std::string& b) { b[56] = 0; b[57] = 0; }, false},
      {"record size 0", [](std::string& b) { PutU32(b, Find(b, emf::EMR_ELLIPSE) + 4, 0); }, true},
      {"record size huge", [](std::string& b) { PutU32(b, Find(b, emf::EMR_ELLIPSE) + 4, 0x7FFFFFF0); }, true},
      {"record size odd", [](std::string& b) { PutU32(b, Find(b, emf::EMR_ELLIPSE) + 4, 13); }, true},
      {"huge point count", [](std::string& b) { PutU32(b, Find(b, emf::EMR_POLYGON16) + 24, 0x40000000); }, true},
      {"bad handle", [](std::string& b) { PutU32(b, Find(b, emf::EMR_SELECTOBJECT) + 8, 999); }, true},
      {"create at handle 0", [](std::string& b) { PutU32(b, Find(b, emf::EMR_CREATEPEN) + 8, 0); }, true},
      {"string offset outside", [](std::string& b) { PutU32(b, Find(b, emf::EMR_EXTTEXTOUTW) + 48, 0xFFFFFF00); }, true},
      {"character count huge", [](std::string& b) { PutU32(b, Find(b, emf::EMR_EXTTEXTOUTW) + 44, 0x7FFFFFFF); }, true},
      {"bitmap header huge", [](std::string& b) { PutU32(b, Find(b, emf::EMR_STRETCHDIBITS) + 80 + 4, 0x7FFFFFFF); }, true},
      {"bitmap offset outside", [](std::string& b) { PutU32(b, Find(b, emf::EMR_STRETCHDIBITS) + 56, 0x7FFFFFF0); }, true},
      {"region count huge", [](std::string& b) { PutU32(b, Find(b, emf::EMR_EXTSELECTCLIPRGN) + 24, 0x10000000); }, true},
      {"restore beyond saves", [](std::string& b) { PutU32(b, Find(b, emf::EMR_SETROP2) + 0, emf::EMR_RESTOREDC); PutU32(b, Find(b, emf::EMR_RESTOREDC) + 8, static_cast<uint32_t>(-50)); }, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string bad = good;
    c.damage(bad);
    QImage img = WhiteImage(kW, kH);
    QtDc dc(img);
    EmfPlayResult r = PlayEnhMetafile(dc, bad, Rect{0, 0, kW, kH});
    if (!c.headerOk) {
      EXPECT_FALSE(r.ok);
      EXPECT_EQ(r.played, 0);
      EXPECT_FALSE(r.error.empty());
    } else {
      EXPECT_GT(r.played, 0);
      EXPECT_TRUE(!r.ok || r.skipped > 0) << "the damage went unnoticed";
    }
    EXPECT_EQ(dc.SaveDC(), 1);  // the player left no saved state behind
  }
}

TEST(EmfPlayer, RandomlyDamagedFilesNeverCrash) {
  const std::string good = Record();
  std::mt19937 rng(11);
  for (int round = 0; round < 300; ++round) {
    std::string bad = good;
    int flips = 1 + static_cast<int>(rng() % 8);
    for (int k = 0; k < flips; ++k) {
      size_t at = 8 + rng() % (bad.size() - 8);
      bad[at] = static_cast<char>(rng());
    }
    TraceDc dc;
    PlayEnhMetafile(dc, bad, Rect{0, 0, kW, kH});
  }
  SUCCEED();
}
