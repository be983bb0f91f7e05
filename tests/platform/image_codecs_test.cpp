// BMP files checked field by field with our own parser, both readers against damaged files, and
// the bitmap kinds the BMP reader takes besides its own 24-bit files.
#include <gtest/gtest.h>

#include "platform/files.h"
#include "platform/image_codecs.h"
#include "support/test_support.h"

using namespace platform;

namespace {

// A picture with distinct colours in every corner and a gradient in between.
Dib TestPicture(int w, int h) {
  Dib d = Dib::Filled(w, h, 0);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) d.SetPixel(x, y, RgbColor((x * 255) / std::max(1, w - 1), (y * 255) / std::max(1, h - 1), 90));
  }
  d.SetPixel(0, 0, RgbColor(255, 0, 0));
  d.SetPixel(w - 1, h - 1, RgbColor(0, 0, 255));
  return d;
}

uint8_t Byte(const std::string& b, size_t at) { return static_cast<uint8_t>(b[at]); }

// A JPEG file kept among the fuzz target's failing inputs.
std::string Regression(const std::string& name) {
  std::string bytes;
  EXPECT_TRUE(ReadFileBytes(testsupport::SourceDir() + "/tests/fuzz_regressions/jpeg/" + name, bytes)) << name;
  return bytes;
}

std::string With32(std::string b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
  return b;
}

std::string With16BigEndian(std::string b, size_t at, uint16_t v) {
  b[at] = static_cast<char>(v >> 8);
  b[at + 1] = static_cast<char>(v & 0xFF);
  return b;
}

// A BMP file with an 8-bit colour table of two entries (blue and green) and the given
// compression and pixel bytes.
std::string PaletteBmp(int w, int h, uint32_t compression, const std::string& bits) {
  std::string b = "BM";
  auto put32 = [&](uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
  };
  auto put16 = [&](uint16_t v) {
    b.push_back(static_cast<char>(v & 0xFF));
    b.push_back(static_cast<char>(v >> 8));
  };
  put32(static_cast<uint32_t>(14 + 40 + 8 + bits.size()));
  put32(0);
  put32(14 + 40 + 8);
  put32(40);
  put32(static_cast<uint32_t>(w));
  put32(static_cast<uint32_t>(h));
  put16(1);
  put16(8);
  put32(compression);
  put32(static_cast<uint32_t>(bits.size()));
  put32(3780);
  put32(3780);
  put32(2);
  put32(0);
  put32(0x0000FF);  // index 0: blue (stored blue, green, red, 0)
  put32(0x00FF00);  // index 1: green
  b += bits;
  return b;
}

}  // namespace

TEST(BmpFile, HeaderFieldsAndRowPaddingForWidths1To5) {
  const uint32_t strides[] = {0, 4, 8, 12, 12, 16};
  for (int w = 1; w <= 5; ++w) {
    SCOPED_TRACE(w);
    const int h = 3;
    const Dib img = TestPicture(w, h);
    const std::string b = EncodeBmp24(img);
    std::string error;
    auto hdr = ParseBmpHeader(b, &error);
    ASSERT_TRUE(hdr) << error;
    EXPECT_EQ(hdr->RowStride(), strides[w]);
    EXPECT_EQ(hdr->fileSize, b.size());
    EXPECT_EQ(b.size(), 54u + strides[w] * h);
    EXPECT_EQ(hdr->dataOffset, 54u);
    EXPECT_EQ(hdr->infoSize, 40u);
    EXPECT_EQ(hdr->width, w);
    EXPECT_EQ(hdr->height, h);  // positive: bottom-up
    EXPECT_EQ(hdr->planes, 1);
    EXPECT_EQ(hdr->bitsPerPixel, 24);
    EXPECT_EQ(hdr->compression, 0u);
    EXPECT_EQ(hdr->imageSize, strides[w] * h);
    EXPECT_EQ(hdr->xPelsPerMeter, 3780);
    EXPECT_EQ(hdr->colorsUsed, 0u);
    // The first stored row is the picture's bottom row, blue-green-red; padding bytes are 0.
    const ColorRef bottomRight = img.Pixel(w - 1, h - 1);
    const size_t last = 54 + 3 * (w - 1);
    EXPECT_EQ(Byte(b, last), BlueOf(bottomRight));
    EXPECT_EQ(Byte(b, last + 1), GreenOf(bottomRight));
    EXPECT_EQ(Byte(b, last + 2), RedOf(bottomRight));
    for (size_t pad = 54 + 3 * w; pad < 54 + strides[w]; ++pad) EXPECT_EQ(Byte(b, pad), 0);
    // The top-left pixel starts the last stored row.
    const size_t top = 54 + strides[w] * (h - 1);
    EXPECT_EQ(Byte(b, top + 2), 255);
    EXPECT_EQ(Byte(b, top), 0);
    // Read back exactly.
    EXPECT_EQ(DecodeBmp(b), img);
  }
}

TEST(BmpFile, DamagedHeadersAreRefusedBeforeAnythingIsAllocated) {
  const std::string good = EncodeBmp24(TestPicture(5, 4));
  struct Case {
    const char* what;
    std::string bytes;
    const char* reason;
  };
  const Case cases[] = {
      {"shorter than the headers", good.substr(0, 40), "not a bitmap file"},
      {"empty", std::string(), "not a bitmap file"},
      {"no signature", "XX" + good.substr(2), "not a bitmap file"},
      {"pixel data cut short", good.substr(0, good.size() - 1), "pixel data outside the file"},
      {"data offset at the end", With32(good, 10, static_cast<uint32_t>(good.size())), "pixel data outside the file"},
      {"data offset inside the headers", With32(good, 10, 20), "pixel data outside the file"},
      {"info header beyond the file", With32(good, 14, 1000), "bad info header size"},
      {"info header too small", With32(good, 14, 12), "bad info header size"},
      {"zero width", With32(good, 18, 0), "bad picture size"},
      {"zero height", With32(good, 22, 0), "bad picture size"},
      {"negative width", With32(good, 18, static_cast<uint32_t>(-5)), "bad picture size"},
      {"absurd width", With32(good, 18, 0x7FFFFFFF), "bad picture size"},
      {"absurd height", With32(good, 22, 0x80000000u), "bad picture size"},
      // Each side allowed, the two together above the pixel cap: refused from the header.
      {"huge area", With32(With32(good, 18, 60000), 22, 60000), "picture too large"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string error;
    EXPECT_FALSE(ParseBmpHeader(c.bytes, &error));
    EXPECT_EQ(error, c.reason);
    error.clear();
    EXPECT_FALSE(DecodeBmp(c.bytes, &error));
    EXPECT_EQ(error, c.reason);
  }
  // A top-down bitmap (negative height) reads the right way up.
  std::optional<Dib> flipped = DecodeBmp(With32(good, 22, static_cast<uint32_t>(-4)));
  ASSERT_TRUE(flipped);
  EXPECT_EQ(flipped->Pixel(4, 0), TestPicture(5, 4).Pixel(4, 3));
}

TEST(BmpFile, PaletteAndRunLengthBitmapsRead) {
  // 3 x 2, 8 bits per pixel, rows of 4 bytes from the bottom: bottom row 1 0 1, top row 0 0 1.
  const std::string plain = PaletteBmp(3, 2, 0, std::string("\x01\x00\x01\x00\x00\x00\x01\x00", 8));
  std::optional<Dib> d = DecodeBmp(plain);
  ASSERT_TRUE(d);
  const ColorRef blue = RgbColor(0, 0, 255), green = RgbColor(0, 255, 0);
  EXPECT_EQ(d->Pixel(0, 1), green);
  EXPECT_EQ(d->Pixel(1, 1), blue);
  EXPECT_EQ(d->Pixel(2, 0), green);
  EXPECT_EQ(d->Pixel(0, 0), blue);

  // The same picture run-length encoded: a run, a literal stretch, end of line, end of bitmap.
  const std::string rle = PaletteBmp(3, 2, 1,
                                     std::string("\x00\x03\x01\x00\x01\x00"  // literal 1 0 1 (padded)
                                                 "\x00\x00"                  // end of line
                                                 "\x02\x00\x01\x01"          // two 0s, one 1
                                                 "\x00\x01",                 // end of bitmap
                                                 14));
  std::optional<Dib> r = DecodeBmp(rle);
  ASSERT_TRUE(r);
  EXPECT_EQ(*r, *d);
  // Runs beyond the edges and data that stops early leave the rest at entry 0; nothing is read
  // past the data.
  std::optional<Dib> cut = DecodeBmp(PaletteBmp(3, 2, 1, std::string("\xFF\x01\x00", 3)));
  ASSERT_TRUE(cut);
  EXPECT_EQ(cut->Pixel(2, 1), green);
  EXPECT_EQ(cut->Pixel(0, 0), blue);
  // A run-length bitmap stored top-down does not exist.
  EXPECT_FALSE(DecodeBmp(With32(rle, 22, static_cast<uint32_t>(-2))));
}

TEST(JpegFile, RoundTripAndDamagedDataGiveNoPicture) {
  const std::string good = EncodeJpeg(TestPicture(16, 16), 90);
  ASSERT_GE(good.size(), 4u);
  EXPECT_EQ(Byte(good, 0), 0xFF);
  EXPECT_EQ(Byte(good, 1), 0xD8);
  std::optional<Dib> back = DecodeJpeg(good);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->width, 16);
  EXPECT_EQ(back->height, 16);
  EXPECT_GT(RedOf(back->Pixel(15, 0)), 200);  // lossy, but the red end stays red

  // The frame header's height and width (big-endian) follow its marker, length and precision.
  const size_t sof = good.find("\xFF\xC0");
  ASSERT_NE(sof, std::string::npos);
  const size_t heightAt = sof + 5, widthAt = sof + 7;
  struct Case {
    const char* what;
    std::string bytes;
    const char* reason;  // empty: libjpeg's own message
  };
  const Case cases[] = {
      {"empty", std::string(), "not a JPEG file"},
      {"a marker only", std::string("\xFF\xD8\xFF"), "not a JPEG file"},
      {"not a JPEG", std::string(100, 'x'), ""},
      {"cut inside the headers", good.substr(0, 20), ""},
      {"garbage after the start", std::string("\xFF\xD8") + std::string(200, '\x01'), ""},
      {"zero width", With16BigEndian(good, widthAt, 0), ""},
      {"huge area", With16BigEndian(With16BigEndian(good, widthAt, 60000), heightAt, 60000), "picture too large"},
      {"just above the cap", With16BigEndian(With16BigEndian(good, widthAt, 8192), heightAt, 8193), "picture too large"},
      // Image data that ends before the picture: cut off, or its end marker early (in a
      // picture declared at the cap, which libjpeg would otherwise make up row by row).
      {"image data cut off", good.substr(0, good.size() - 40), "Premature end of JPEG file"},
      {"end marker early", With16BigEndian(With16BigEndian(good, widthAt, 8192), heightAt, 8192),
       "Corrupt JPEG data: premature end of data segment"},
      // Scans that each cost a pass over the whole picture: one out of the progression's order
      // (an 8192-square picture whose one scan comes 1,100 times), or more than a picture needs
      // (an 8 x 8 one whose 2,688 scans bring in every bit of every coefficient).
      {"a scan out of order", Regression("one_scan_repeated_8192_square.jpg"),
       "Inconsistent progression sequence for component 0 coefficient 0"},
      {"too many scans", Regression("valid_progression_of_2688_scans.jpg"), "more than 1000 scans"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string error;
    EXPECT_FALSE(DecodeJpeg(c.bytes, &error));
    EXPECT_FALSE(error.empty());
    if (*c.reason) {
      EXPECT_EQ(error, c.reason);
    }
  }
}
