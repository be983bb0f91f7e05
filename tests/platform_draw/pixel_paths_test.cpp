// The Qt back end's own pixel paths give the pixels of the bitmap way: BitBlt from another
// image context (drawn straight from its image) against the base class's GetBits and
// StretchDIBits, GetBits against the image's pixels, and StretchDIBits against the pixels it
// was given, on odd sizes, clipped, mirrored, partly beyond the source and with every raster
// operation; one context and one bitmap serve many calls of different sizes in turn. Thin
// solid lines drawn as runs of pixels set the pixels that drawing pixel by pixel sets.
#include <gtest/gtest.h>

#include <QPainter>
#include <random>

#include "draw_env.h"
#include "platform/qt/dc_qt.h"

using namespace platform;
using drawtest::At;

namespace {

// An image of random pixels (the same for the same seed).
QImage NoiseImage(int width, int height, unsigned seed) {
  std::mt19937 random(seed);
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < width; ++x) line[x] = 0xFF000000u | (random() & 0xFFFFFFu);
  }
  return image;
}

struct Blit {
  Rect dest;
  int sx, sy;
  uint32_t rop;
};

// Odd sizes, rectangles given right to left, parts beyond the source and every raster operation.
const Blit kBlits[] = {
    {{0, 0, 37, 23}, 0, 0, SRCCOPY},       {{5, 3, 18, 20}, 11, 2, SRCCOPY},  {{30, 20, 3, 1}, 1, 1, SRCCOPY},
    {{-7, -5, 9, 11}, 20, 9, SRCCOPY},     {{40, 30, 61, 47}, 0, 0, SRCAND},  {{2, 40, 33, 59}, 3, 4, SRCPAINT},
    {{25, 2, 60, 19}, 6, 5, SRCINVERT},    {{10, 10, 21, 21}, 30, 18, SRCCOPY},  // beyond the source's corner
    {{50, 5, 55, 12}, -3, -2, SRCAND},     {{1, 1, 2, 2}, 36, 22, SRCCOPY},
};

}  // namespace

TEST(QtPixelPaths, BitBltFromAnImageDrawsWhatTheBitmapWayDraws) {
  QImage sourceImage = NoiseImage(37, 23, 1);
  QtDc source(sourceImage);
  // Once unclipped, once through a clip region of two rectangles.
  for (const bool clipped : {false, true}) {
    QImage direct = NoiseImage(63, 61, 2), viaBits = direct;
    QImage painted = direct;  // a painter's context, as a widget paint has
    {
      QtDc a(direct), b(viaBits);
      QPainter painter(&painted);
      QtDc c(painter, DeviceCaps::Screen(63, 61), true);
      if (clipped) {
        const Region clip = Region::FromRects({Rect{4, 2, 30, 25}, Rect{20, 30, 62, 50}});
        for (DeviceContext* dc : {static_cast<DeviceContext*>(&a), static_cast<DeviceContext*>(&b),
                                  static_cast<DeviceContext*>(&c)}) {
          dc->SelectClipRegion(&clip);
        }
      }
      for (const Blit& blit : kBlits) {
        EXPECT_TRUE(a.BitBlt(blit.dest, source, blit.sx, blit.sy, blit.rop));
        EXPECT_TRUE(b.DeviceContext::BitBlt(blit.dest, source, blit.sx, blit.sy, blit.rop));
        EXPECT_TRUE(c.BitBlt(blit.dest, source, blit.sx, blit.sy, blit.rop));
      }
    }
    EXPECT_EQ(drawtest::DiffCount(direct, viaBits), 0) << "clipped " << clipped << ": "
                                                       << drawtest::DiffBounds(direct, viaBits);
    EXPECT_EQ(drawtest::DiffCount(painted, viaBits), 0) << "clipped " << clipped << ": "
                                                        << drawtest::DiffBounds(painted, viaBits);
  }
}

TEST(QtPixelPaths, GetBitsGivesTheImagesPixelsAndWhiteBeyond) {
  QImage image = NoiseImage(29, 17, 3);
  QtDc dc(image);
  const Rect rects[] = {{0, 0, 29, 17},  {3, 2, 10, 9},    {-4, -3, 6, 5},   {20, 10, 35, 21},
                        {-2, 4, 31, 5},  {30, 0, 33, 3},   {8, 16, 1, 11},   {-9, -9, -1, -1}};
  Dib bits;  // one bitmap for every call: its memory is reused
  for (const Rect& r : rects) {
    ASSERT_TRUE(dc.GetBits(r, bits));
    const Rect n = r.Normalized();
    ASSERT_EQ(bits.width, n.Width());
    ASSERT_EQ(bits.height, n.Height());
    ASSERT_EQ(bits.pixels.size(), static_cast<size_t>(n.Width()) * n.Height());
    int wrong = 0;
    for (int y = 0; y < bits.height; ++y) {
      for (int x = 0; x < bits.width; ++x) {
        const int ix = n.left + x, iy = n.top + y;
        const bool on = ix >= 0 && iy >= 0 && ix < image.width() && iy < image.height();
        wrong += bits.Pixel(x, y) != (on ? At(image, ix, iy) : 0xFFFFFFu);
      }
    }
    EXPECT_EQ(wrong, 0) << n.left << "," << n.top << "-" << n.right << "," << n.bottom;
  }
}

TEST(QtPixelPaths, StretchDIBitsDrawsTheBitmapsPixelsMirroredAndClipped) {
  QImage sourceImage = NoiseImage(31, 19, 4);
  const Dib dib = DibFromImage(sourceImage);
  struct Case {
    Rect dest, src;
    bool clipped;
  };
  // Unstretched parts (so every pixel is one of the bitmap's), mirrored either way or both.
  const Case cases[] = {
      {{0, 0, 31, 19}, {0, 0, 31, 19}, false},  {{40, 30, 9, 11}, {0, 0, 31, 19}, false},
      {{5, 50, 18, 43}, {4, 3, 17, 10}, true},  {{60, 40, 47, 55}, {18, 4, 31, 19}, true},
      {{2, 2, 9, 5}, {30, 18, 37, 21}, false},  // the source part cut to the bitmap: one pixel
  };
  QImage image = drawtest::WhiteImage(70, 70);
  QImage expected = image;
  QtDc dc(image);
  for (const Case& c : cases) {
    const Region clip(Rect{8, 6, 50, 48});
    dc.SelectClipRegion(c.clipped ? &clip : nullptr);
    ASSERT_TRUE(dc.StretchDIBits(c.dest, c.src, dib));
    const Rect s = dib.Part(c.src), d = c.dest.Normalized();
    const bool mirrorX = c.dest.Width() < 0, mirrorY = c.dest.Height() < 0;
    for (int y = 0; y < d.Height(); ++y) {
      for (int x = 0; x < d.Width(); ++x) {
        const int px = d.left + x, py = d.top + y;
        if (px >= 70 || py >= 70 || (c.clipped && !clip.Contains(px, py))) continue;
        // Same sizes map pixel to pixel; a one-pixel part fills the whole rectangle.
        const int ux = mirrorX ? d.Width() - 1 - x : x, uy = mirrorY ? d.Height() - 1 - y : y;
        const int bx = s.left + ux * s.Width() / d.Width(), by = s.top + uy * s.Height() / d.Height();
        expected.setPixel(px, py, 0xFF000000u | dib.At(bx, by));
      }
    }
  }
  dc.SelectClipRegion(nullptr);
  EXPECT_EQ(drawtest::DiffCount(image, expected), 0) << drawtest::DiffBounds(image, expected);
}

// A solid one-pixel pen that copies draws its rows and columns of pixels as thin rectangles;
// merging the pen into black goes pixel by pixel. Both give the same pixels: random lines in
// every direction (some far beyond the image), closed figures and rectangle frames, with and
// without a clip region.
TEST(QtPixelPaths, CopyingThinLinesSetTheSamePixelsAsPixelByPixelDrawing) {
  std::mt19937 random(38);
  for (const bool clipped : {false, true}) {
    QImage copied(71, 53, QImage::Format_RGB32), merged(71, 53, QImage::Format_RGB32);
    copied.fill(Qt::black);
    merged.fill(Qt::black);
    const unsigned seed = random();  // the same figures on both
    for (auto [image, rop] : {std::pair{&copied, R2_COPYPEN}, std::pair{&merged, R2_MERGEPEN}}) {
      QtDc dc(*image);
      const Region clip = Region::FromRects({Rect{3, 4, 40, 30}, Rect{25, 20, 66, 50}});
      if (clipped) dc.SelectClipRegion(&clip);
      dc.SetROP2(rop);
      dc.SelectBrush(LogBrush{BS_NULL, 0, 0, nullptr});
      std::mt19937 shapes(seed);
      for (int k = 0; k < 60; ++k) {
        // One colour: where lines cross, merging it again changes nothing.
        dc.SelectPen(LogPen{PS_SOLID, static_cast<int>(shapes() % 2), RgbColor(40, 150, 220), {}});
        std::vector<Point> points(2 + shapes() % 5);
        auto coordinate = [&shapes](int size) {
          return shapes() % 8 == 0 ? static_cast<int>(shapes() % 4001) - 2000 : static_cast<int>(shapes() % (size + 20)) - 10;
        };
        for (Point& p : points) p = Point{coordinate(71), coordinate(53)};
        switch (k % 4) {
          case 0: dc.Polyline(points); break;
          case 1: dc.Polygon(points); break;
          case 2: dc.Rectangle(points[0].x, points[0].y, points[1].x, points[1].y); break;
          default:
            dc.MoveTo(points[0].x, points[0].y);
            for (const Point& p : points) dc.LineTo(p.x, p.y);
            break;
        }
      }
    }
    EXPECT_EQ(drawtest::DiffCount(copied, merged), 0) << "clipped " << clipped << ": "
                                                      << drawtest::DiffBounds(copied, merged);
  }
}
