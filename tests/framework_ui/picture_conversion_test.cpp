// The conversion routines of the picture save dialog: JPEG files checked with an independent
// decoder (djpeg, skipped where it is not installed), and only the asked files written.
#include <gtest/gtest.h>

#include <QImage>
#include <cstdlib>
#include <filesystem>

#include "platform/files.h"
#include "platform/image_codecs.h"
#include "platform/qt/dc_qt.h"
#include "support/test_support.h"
#include "framework/ui/picture_save.h"

using namespace fw;

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

// A BMP or JPEG file as an image; a null image when it cannot be read.
QImage DecodeBmp(const std::string& bytes) {
  std::optional<platform::Dib> dib = platform::DecodeBmp(bytes);
  return dib ? platform::ImageFromDib(*dib) : QImage();
}
QImage DecodeJpeg(const std::string& bytes) {
  std::optional<platform::Dib> dib = platform::DecodeJpeg(bytes);
  return dib ? platform::ImageFromDib(*dib) : QImage();
}

bool HaveDjpeg() { return std::system("command -v djpeg >/dev/null 2>&1") == 0; }

}  // namespace

TEST(JpegFile, DecodableByDjpegAndRoundTripGivesTheSizeBack) {
  testsupport::TempFolder tmp;
  // Left half red, right half blue (large areas survive JPEG compression).
  QImage img(37, 21, QImage::Format_RGB32);
  img.fill(qRgb(0, 0, 255));
  for (int y = 0; y < 21; ++y) {
    for (int x = 0; x < 18; ++x) img.setPixel(x, y, qRgb(255, 0, 0));
  }
  ASSERT_TRUE(platform::WriteFileBytesAtomic(tmp.Path("a.BMP"), platform::EncodeBmp24(platform::DibFromImage(img))));
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
  auto hdr = platform::ParseBmpHeader(back);
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
  auto theirHeader = platform::ParseBmpHeader(theirs);
  ASSERT_TRUE(theirHeader);
  EXPECT_EQ(theirHeader->width, 37);
  EXPECT_EQ(theirHeader->height, 21);
  const QImage djpeg = DecodeBmp(theirs);
  ASSERT_FALSE(djpeg.isNull());
  EXPECT_GT(qRed(djpeg.pixel(2, 2)), 200);
  EXPECT_GT(qBlue(djpeg.pixel(34, 18)), 200);
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
