// BMP files checked field by field with our own parser, JPEG files checked with an independent
// decoder (djpeg, skipped where it is not installed), and the conversion routines.
#include <gtest/gtest.h>

#include <QImage>
#include <cstdlib>
#include <filesystem>

#include "platform/files.h"
#include "support/test_support.h"
#include "views/image_codecs.h"
#include "views/picture_save.h"

using namespace views;

namespace {

// A picture with distinct colours in every corner and a gradient in between.
QImage TestPicture(int w, int h) {
  QImage img(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) img.setPixel(x, y, qRgb((x * 255) / std::max(1, w - 1), (y * 255) / std::max(1, h - 1), 90));
  }
  img.setPixel(0, 0, qRgb(255, 0, 0));
  img.setPixel(w - 1, h - 1, qRgb(0, 0, 255));
  return img;
}

uint8_t Byte(const std::string& b, size_t at) { return static_cast<uint8_t>(b[at]); }

bool HaveDjpeg() { return std::system("command -v djpeg >/dev/null 2>&1") == 0; }

}  // namespace

TEST(BmpFile, HeaderFieldsAndRowPaddingForWidths1To5) {
  const uint32_t strides[] = {0, 4, 8, 12, 12, 16};
  for (int w = 1; w <= 5; ++w) {
    SCOPED_TRACE(w);
    const int h = 3;
    const QImage img = TestPicture(w, h);
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
    const QRgb bottomRight = img.pixel(w - 1, h - 1);
    const size_t last = 54 + 3 * (w - 1);
    EXPECT_EQ(Byte(b, last), qBlue(bottomRight));
    EXPECT_EQ(Byte(b, last + 1), qGreen(bottomRight));
    EXPECT_EQ(Byte(b, last + 2), qRed(bottomRight));
    for (size_t pad = 54 + 3 * w; pad < 54 + strides[w]; ++pad) EXPECT_EQ(Byte(b, pad), 0);
    // The top-left pixel starts the last stored row.
    const size_t top = 54 + strides[w] * (h - 1);
    EXPECT_EQ(Byte(b, top + 2), 255);
    EXPECT_EQ(Byte(b, top), 0);
    // Read back exactly.
    EXPECT_EQ(DecodeBmp(b), img.convertToFormat(QImage::Format_RGB32));
  }
}

TEST(BmpFile, DamagedHeadersAreRefused) {
  const std::string good = EncodeBmp24(TestPicture(5, 4));
  auto with = [&](size_t at, uint32_t v) {
    std::string b = good;
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    return b;
  };
  const std::string cases[] = {
      good.substr(0, 40),                       // shorter than the headers
      "XX" + good.substr(2),                    // no signature
      good.substr(0, good.size() - 1),          // pixel data cut short
      with(10, static_cast<uint32_t>(good.size())),  // data offset at the end
      with(14, 1000),                           // info header beyond the file
      with(18, 0),                              // zero width
      with(22, 0),                              // zero height
      with(18, 0x7FFFFFFF),                     // absurd width
  };
  for (const std::string& b : cases) {
    EXPECT_FALSE(ParseBmpHeader(b));
    EXPECT_TRUE(DecodeBmp(b).isNull());
  }
  // A top-down bitmap (negative height) reads the right way up.
  std::string topDown = with(22, static_cast<uint32_t>(-4));
  const QImage flipped = DecodeBmp(topDown);
  ASSERT_FALSE(flipped.isNull());
  EXPECT_EQ(flipped.pixel(4, 0), TestPicture(5, 4).pixel(4, 3));
}

TEST(JpegFile, DecodableByDjpegAndRoundTripGivesTheSizeBack) {
  testsupport::TempFolder tmp;
  // Left half red, right half blue (large areas survive JPEG compression).
  QImage img(37, 21, QImage::Format_RGB32);
  img.fill(qRgb(0, 0, 255));
  for (int y = 0; y < 21; ++y) {
    for (int x = 0; x < 18; ++x) img.setPixel(x, y, qRgb(255, 0, 0));
  }
  ASSERT_TRUE(platform::WriteFileBytesAtomic(tmp.Path("a.BMP"), EncodeBmp24(img)));
  std::string error;
  ASSERT_TRUE(ConvertBmpToJpeg(tmp.Path("a.BMP"), tmp.Path("a.JPG"), &error)) << error;
  std::string jpg;
  ASSERT_TRUE(platform::ReadFileBytes(tmp.Path("a.JPG"), jpg));
  ASSERT_GE(jpg.size(), 4u);
  EXPECT_EQ(Byte(jpg, 0), 0xFF);
  EXPECT_EQ(Byte(jpg, 1), 0xD8);

  ASSERT_TRUE(ConvertJpegToBmp(tmp.Path("a.JPG"), tmp.Path("b.BMP"), 24, &error)) << error;
  std::string back;
  ASSERT_TRUE(platform::ReadFileBytes(tmp.Path("b.BMP"), back));
  auto hdr = ParseBmpHeader(back);
  ASSERT_TRUE(hdr);
  EXPECT_EQ(hdr->width, 37);
  EXPECT_EQ(hdr->height, 21);
  EXPECT_EQ(hdr->bitsPerPixel, 24);
  // Lossy, but close: the red corner stays red.
  const QImage decoded = DecodeBmp(back);
  EXPECT_GT(qRed(decoded.pixel(2, 2)), 200);
  EXPECT_LT(qBlue(decoded.pixel(2, 2)), 60);
  EXPECT_GT(qBlue(decoded.pixel(34, 18)), 200);

  // Missing sources convert nothing.
  EXPECT_FALSE(ConvertBmpToJpeg(tmp.Path("none.BMP"), tmp.Path("x.JPG")));
  EXPECT_FALSE(ConvertJpegToBmp(tmp.Path("none.JPG"), tmp.Path("x.BMP")));
  EXPECT_FALSE(platform::FileExists(tmp.Path("x.JPG")));

  if (!HaveDjpeg()) GTEST_SKIP() << "djpeg is not installed";
  const std::string cmd = "djpeg -bmp '" + tmp.native() + "a.JPG' > '" + tmp.native() + "djpeg.bmp'";
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  std::string theirs;
  ASSERT_TRUE(platform::ReadFileBytes(tmp.Path("djpeg.bmp"), theirs));
  auto theirHeader = ParseBmpHeader(theirs);
  ASSERT_TRUE(theirHeader);
  EXPECT_EQ(theirHeader->width, 37);
  EXPECT_EQ(theirHeader->height, 21);
  const QImage djpeg = DecodeBmp(theirs);
  ASSERT_FALSE(djpeg.isNull());
  EXPECT_GT(qRed(djpeg.pixel(2, 2)), 200);
  EXPECT_GT(qBlue(djpeg.pixel(34, 18)), 200);
}

TEST(JpegFile, DamagedDataGivesNoPicture) {
  const std::string good = EncodeJpeg(TestPicture(16, 16), kJpegQuality);
  ASSERT_FALSE(good.empty());
  EXPECT_FALSE(DecodeJpeg(good).isNull());
  for (const std::string& bad : {std::string(), std::string("\xFF\xD8\xFF"), std::string(100, 'x'),
                                 good.substr(0, 20), std::string("\xFF\xD8") + std::string(200, '\x01')}) {
    EXPECT_TRUE(DecodeJpeg(bad).isNull());
  }
}

TEST(SaveImageAsBmpJpg, WritesOnlyTheAskedFilesAndNeverTouchesOthers) {
  struct Case {
    bool bmp, jpg;
  };
  for (const Case c : {Case{true, false}, Case{false, true}, Case{true, true}, Case{false, false}}) {
    SCOPED_TRACE(std::to_string(c.bmp) + std::to_string(c.jpg));
    testsupport::TempFolder tmp;
    // A file of the sibling name that is not asked for stays as it was.
    const std::string keep = "user's own file";
    if (!c.bmp) {
      ASSERT_TRUE(platform::WriteFileBytesAtomic(tmp.Path("pic.BMP"), keep));
    }
    if (!c.jpg) {
      ASSERT_TRUE(platform::WriteFileBytesAtomic(tmp.Path("pic.JPG"), keep));
    }
    ASSERT_TRUE(SaveImageAsBmpJpg(TestPicture(9, 7), tmp.Path("pic.BMP"), c.bmp, c.jpg));
    std::string bmp, jpg;
    ASSERT_TRUE(platform::ReadFileBytes(tmp.Path("pic.BMP"), bmp));
    ASSERT_TRUE(platform::ReadFileBytes(tmp.Path("pic.JPG"), jpg));
    if (c.bmp) {
      // The bitmap holds the picture itself, not a JPEG-degraded copy.
      EXPECT_EQ(DecodeBmp(bmp), TestPicture(9, 7));
    } else {
      EXPECT_EQ(bmp, keep);
    }
    if (c.jpg) {
      EXPECT_EQ(DecodeJpeg(jpg).size(), QSize(9, 7));
    } else {
      EXPECT_EQ(jpg, keep);
    }
    // No temporary file is left behind.
    int files = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(tmp.native())) ++files;
    EXPECT_EQ(files, 2);
  }
}

TEST(SaveImageAsBmpJpg, UnwritableFolderIsReported) {
  testsupport::TempFolder tmp;
  std::string error;
  EXPECT_FALSE(SaveImageAsBmpJpg(TestPicture(3, 3), tmp.Path("missing/pic.BMP"), true, false, &error));
  EXPECT_NE(error.find("pic.BMP"), std::string::npos);
}
