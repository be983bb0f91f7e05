// Cross-check of the recorder with an independent reader: LibreOffice converts one of our
// metafiles to PNG, and the shapes must land where we put them. Skipped where soffice is not
// installed.
#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>

#include "draw_env.h"
#include "platform/emf_recorder.h"
#include "platform/files.h"
#include "platform/qt/dc_qt.h"
#include "support/test_support.h"

using namespace platform;

namespace {

struct Box {
  double left = 1e9, top = 1e9, right = -1, bottom = -1;
};

// The box of the pixels that `match`, in pixels.
template <class Match>
Box FindInk(const QImage& img, Match match) {
  Box b;
  for (int y = 0; y < img.height(); ++y) {
    for (int x = 0; x < img.width(); ++x) {
      QRgb p = img.pixel(x, y);
      if (qAlpha(p) > 128 && match(qRed(p), qGreen(p), qBlue(p))) {
        b.left = std::min<double>(b.left, x);
        b.top = std::min<double>(b.top, y);
        b.right = std::max<double>(b.right, x + 1);
        b.bottom = std::max<double>(b.bottom, y + 1);
      }
    }
  }
  return b;
}

// `b` as fractions of `frame` (the reader may place the picture anywhere on a page).
Box Within(const Box& b, const Box& frame) {
  double w = frame.right - frame.left, h = frame.bottom - frame.top;
  return Box{(b.left - frame.left) / w, (b.top - frame.top) / h, (b.right - frame.left) / w,
             (b.bottom - frame.top) / h};
}

}  // namespace

TEST(EmfLibreOffice, IndependentReaderDrawsOurShapesWhereWeDrawThem) {
  if (!testsupport::HaveLibreOffice()) GTEST_SKIP() << "soffice is not installed";
  constexpr int kW = 400, kH = 300;
  EmfRecorder rec(kW, kH);
  rec.SelectPen(LogPen{PS_SOLID, 1, RgbColor(200, 200, 200), {}});
  rec.SelectBrush(LogBrush{BS_SOLID, RgbColor(255, 255, 255), 0, nullptr});
  rec.Rectangle(0, 0, kW, kH);  // the frame, so that the drawn bounds are the whole picture
  rec.SelectPen(LogPen{PS_NULL, 0, 0, {}});
  rec.SelectBrush(LogBrush{BS_SOLID, 0, 0, nullptr});
  rec.Rectangle(40, 30, 161, 121);
  rec.SelectBrush(LogBrush{BS_SOLID, RgbColor(255, 0, 0), 0, nullptr});
  rec.Ellipse(220, 150, 361, 271);
  LogFont font;
  font.height = -24;
  font.faceName = "Arial";
  rec.SelectFont(font);
  rec.SetTextColor(RgbColor(0, 0, 255));
  rec.SetBkMode(TRANSPARENT);
  rec.TextOut(40, 200, u"HarvSim");
  testsupport::TempFolder tmp;
  ASSERT_TRUE(WriteFileBytesAtomic(tmp.Path("cross.emf"), rec.Finish()));

  const testsupport::ReaderPictures pictures = testsupport::ConvertWithReader(tmp.native(), {"cross.emf"});
  if (pictures.Collecting()) return;
  ASSERT_EQ(pictures.Error(), "");
  QImage png(QString::fromStdString(pictures.Png("cross.emf")));
  ASSERT_FALSE(png.isNull());
  drawtest::Keep(png, "libreoffice");
  const double tol = 0.02;
  Box frame = FindInk(png, [](int r, int g, int b) { return r > 150 && r < 230 && g > 150 && g < 230 && b > 150 && b < 230; });
  ASSERT_GT(frame.right - frame.left, 100);
  EXPECT_NEAR((frame.bottom - frame.top) / (frame.right - frame.left), 300.0 / 400.0, tol);
  Box black = Within(FindInk(png, [](int r, int g, int b) { return r < 60 && g < 60 && b < 60; }), frame);
  EXPECT_NEAR(black.left, 40.0 / kW, tol);
  EXPECT_NEAR(black.top, 30.0 / kH, tol);
  EXPECT_NEAR(black.right, 161.0 / kW, tol);
  EXPECT_NEAR(black.bottom, 121.0 / kH, tol);
  Box red = Within(FindInk(png, [](int r, int g, int b) { return r > 180 && g < 80 && b < 80; }), frame);
  EXPECT_NEAR(red.left, 220.0 / kW, tol);
  EXPECT_NEAR(red.top, 150.0 / kH, tol);
  EXPECT_NEAR(red.right, 361.0 / kW, tol);
  EXPECT_NEAR(red.bottom, 271.0 / kH, tol);
  Box blue = Within(FindInk(png, [](int r, int g, int b) { return b > 180 && r < 80 && g < 80; }), frame);
  EXPECT_NEAR(blue.left, 40.0 / kW, 0.03);
  EXPECT_GT(blue.top, 195.0 / kH);
  EXPECT_LT(blue.bottom, 235.0 / kH);
}
