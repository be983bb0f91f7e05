// Exporting a chart panel: the metafile plays back to the bitmap's picture and opens in an
// independent reader, the bitmap file is 24-bit and holds the bitmap's bytes, sizes, the
// screen buffer, white new bitmaps, and writes that fail.
#include <gtest/gtest.h>

#include "chart/html.h"
#include "chart/shapes.h"
#include "panel_fixture.h"
#include "platform/emf.h"
#include "platform/emf_player.h"
#include "platform/files.h"
#include "platform/image_codecs.h"
#include "support/test_support.h"

using namespace chart;
using charttest::TestPanel;

namespace {

constexpr int kW = 240, kH = 160;
// The text's glyphs are the font engine's business: left out of pixel comparisons.
const TRect kTextArea{60, 60, 200, 100};

class Export : public ::testing::Test {
 protected:
  Export() : shape_(&panel_) {
    panel_.resize(kW, kH);
    panel_.Gradient().SetVisible(true);
    panel_.Gradient().SetStartColor(clWhite);
    panel_.Gradient().SetEndColor(platform::RgbColor(120, 160, 255));
    panel_.Border().SetVisible(true);
    panel_.Border().SetWidth(2);
    panel_.Border().SetColor(clNavy);
    panel_.Shadow().SetSize(4);
    panel_.Shadow().SetColor(clGray);
    shape_.SetShapeBounds(TRect{30, 30, 110, 56});
    shape_.SetColor(clYellow);
    shape_.Brush().SetColor(clYellow);
    shape_.SetBevel(bvRaised);
    panel_.after = [this](TestPanel& p, const TRect&) {
      shape_.Draw();
      shape_.DrawFramedBox(TRect{140, 100, 200, 130}, 30, 0);
      p.Canvas().SetBackMode(cbmTransparent);
      DrawHtmlText(p.Canvas(), 70, 66, "<B>Chart</B> <FONT COLOR=red>text</FONT>");
    };
  }

  ChartLibraryScope scope_;
  TestPanel panel_;
  TPlotShape shape_;
};

QImage Played(const std::string& bytes, int width, int height) {
  QImage image = drawtest::WhiteImage(width, height);
  platform::QtDc dc(image);
  const platform::EmfPlayResult r = platform::PlayEnhMetafile(dc, bytes, platform::Rect{0, 0, width, height});
  EXPECT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.skipped, 0);
  return image;
}

}  // namespace

TEST_F(Export, MetafilePlaysBackToTheBitmapsPicture) {
  testsupport::TempFolder tmp;
  const std::string path = tmp.Path("chart.EMF");
  std::string error;
  ASSERT_TRUE(panel_.WriteMetafileFile(path, &error)) << error;
  std::string bytes;
  ASSERT_TRUE(platform::ReadFileBytes(path, bytes));
  // An enhanced metafile, whatever the old plain-metafile default said.
  const std::optional<platform::emf::Header> header = platform::emf::ReadHeader(bytes);
  ASSERT_TRUE(header.has_value());
  const QImage played = Played(bytes, kW, kH);
  const QImage bitmap = platform::ImageFromDib(panel_.MakeBitmap(clWhite, panel_.GetPanelRect(), pfDevice)->Bitmap());
  drawtest::Keep(played, "export-emf-played");
  drawtest::Keep(bitmap, "export-bitmap");
  EXPECT_EQ(drawtest::DiffCount(played, bitmap, {kTextArea}), 0) << drawtest::DiffBounds(played, bitmap);
  // The text is there in both.
  EXPECT_GT(drawtest::DiffCount(played, drawtest::WhiteImage(kW, kH)), 0);
  int dark = 0;
  for (int y = kTextArea.top; y < kTextArea.bottom; ++y) {
    for (int x = kTextArea.left; x < kTextArea.right; ++x) dark += platform::RedOf(drawtest::At(played, x, y)) < 80;
  }
  EXPECT_GT(dark, 20);
}

TEST_F(Export, IndependentReaderOpensTheMetafile) {
  if (!testsupport::HaveLibreOffice()) GTEST_SKIP() << "soffice is not installed";
  testsupport::TempFolder tmp;
  ASSERT_TRUE(panel_.WriteMetafileFile(tmp.Path("chart.emf")));
  const testsupport::ReaderPictures pictures = testsupport::ConvertWithReader(tmp.native(), {"chart.emf"});
  if (pictures.Collecting()) return;
  ASSERT_EQ(pictures.Error(), "");
  QImage png(QString::fromStdString(pictures.Png("chart.emf")));
  ASSERT_FALSE(png.isNull());
  drawtest::Keep(png, "export-emf-libreoffice");
  // The yellow boxes, the navy border and the blue end of the gradient are there.
  int yellow = 0, navy = 0, blue = 0;
  for (int y = 0; y < png.height(); ++y) {
    for (int x = 0; x < png.width(); ++x) {
      const QRgb p = png.pixel(x, y);
      yellow += qRed(p) > 220 && qGreen(p) > 220 && qBlue(p) < 60;
      navy += qRed(p) < 40 && qGreen(p) < 40 && qBlue(p) > 100 && qBlue(p) < 160;
      blue += qRed(p) > 100 && qRed(p) < 170 && qGreen(p) > 140 && qGreen(p) < 200 && qBlue(p) > 230;
    }
  }
  EXPECT_GT(yellow, 500);
  EXPECT_GT(navy, 100);
  EXPECT_GT(blue, 100);
}

TEST_F(Export, BitmapFileIsTwentyFourBit) {
  testsupport::TempFolder tmp;
  const std::string path = tmp.Path("chart.BMP");
  ASSERT_TRUE(panel_.WriteBitmapFile(path));
  std::string bytes;
  ASSERT_TRUE(platform::ReadFileBytes(path, bytes));
  const std::optional<platform::BmpHeader> header = platform::ParseBmpHeader(bytes);
  ASSERT_TRUE(header.has_value());
  EXPECT_EQ(header->bitsPerPixel, 24);
  EXPECT_EQ(header->width, kW);
  EXPECT_EQ(header->height, kH);
  const std::optional<platform::Dib> read = platform::DecodeBmp(bytes);
  ASSERT_TRUE(read.has_value());
  EXPECT_TRUE(*read == panel_.MakeBitmap(clWhite, panel_.GetPanelRect(), pfDevice)->Bitmap());
}

TEST_F(Export, BitmapFileHoldsTheBitmapsBytesWithEveryRowPadding) {
  testsupport::TempFolder tmp;
  const std::string path = tmp.Path("chart.bmp");
  for (const int width : {kW + 1, kW + 2, kW + 3, kW}) {
    panel_.resize(width, kH - 1);
    ASSERT_TRUE(panel_.WriteBitmapFile(path));
    std::string bytes;
    ASSERT_TRUE(platform::ReadFileBytes(path, bytes));
    EXPECT_TRUE(bytes == platform::EncodeBmp24(panel_.MakeBitmap(clWhite, panel_.GetPanelRect(), pfDevice)->Bitmap()))
        << "width " << width;
  }
}

TEST_F(Export, EmptyPanelGivesOnePixelMetafile) {
  panel_.resize(0, 0);
  const std::unique_ptr<platform::TMetafile> metafile = panel_.MakeMetafile(false, panel_.GetPanelRect());
  EXPECT_EQ(metafile->Width(), 1);
  EXPECT_EQ(metafile->Height(), 1);
  EXPECT_FALSE(metafile->Empty());
  // The bitmap of an empty panel has one pixel too.
  EXPECT_EQ(panel_.MakePanelBitmap()->Width(), 1);
}

TEST_F(Export, TheScreenBufferSurvivesAnExport) {
  auto& canvas = static_cast<TPlotCanvas3D&>(panel_.Canvas());
  panel_.grab();
  ASSERT_TRUE(canvas.HasBuffer());
  const QImage* buffer = canvas.BufferImage();
  const QImage before = *buffer;
  EXPECT_EQ(panel_.draws, 1);
  panel_.MakeMetafile(true, panel_.GetPanelRect());
  panel_.MakeBitmap(clWhite, panel_.GetPanelRect(), pfDevice);
  EXPECT_TRUE(canvas.HasBuffer());
  EXPECT_EQ(canvas.BufferImage(), buffer);
  EXPECT_TRUE(panel_.Buffered());
  EXPECT_FALSE(canvas.Metafiling());
  EXPECT_EQ(drawtest::DiffCount(*buffer, before), 0);
  // The panel is repainted after the export, with the same picture.
  EXPECT_TRUE(canvas.Dirty());
  const QImage after = panel_.grab().toImage();
  EXPECT_EQ(panel_.draws, 4);
  EXPECT_EQ(drawtest::DiffCount(after, before), 0);
}

TEST_F(Export, ANewBitmapStartsWhite) {
  panel_.SetGradient(nullptr);
  panel_.SetColor(clNone);  // the panel paints no background
  panel_.Shadow().SetSize(0);
  panel_.after = nullptr;
  QImage image = platform::ImageFromDib(panel_.MakeBitmap(clWhite, panel_.GetPanelRect(), pfDevice)->Bitmap());
  EXPECT_EQ(drawtest::At(image, 100, 80), clWhite);
  image = platform::ImageFromDib(panel_.MakeBitmap(clYellow, panel_.GetPanelRect(), pfDevice)->Bitmap());
  EXPECT_EQ(drawtest::At(image, 100, 80), clYellow);
  // AssignTo gives the panel's own colour.
  panel_.SetColor(clAqua);
  platform::TPicture picture;
  ASSERT_TRUE(panel_.AssignTo(picture));
  ASSERT_NE(picture.Graphic(), nullptr);
  EXPECT_EQ(picture.Width(), kW);
  EXPECT_EQ(static_cast<platform::TBitmapGraphic*>(picture.Graphic())->Bitmap().Pixel(100, 80), clAqua);
  platform::TMetafile notABitmap;
  EXPECT_FALSE(panel_.AssignTo(notABitmap));
}

TEST_F(Export, AFailedDrawingWritesNothingAndRestoresTheCanvas) {
  testsupport::TempFolder tmp;
  const std::string path = tmp.Path("chart.emf");
  ASSERT_TRUE(platform::WriteFileBytesAtomic(path, "old"));
  panel_.after = [](TestPanel&, const TRect&) { throw HtmlParserException("Missing > at x"); };
  std::string error;
  EXPECT_FALSE(panel_.WriteMetafileFile(path, &error));
  EXPECT_NE(error.find(path), std::string::npos) << error;
  EXPECT_NE(error.find("Missing > at x"), std::string::npos) << error;
  EXPECT_FALSE(panel_.WriteBitmapFile(path, &error));
  std::string bytes;
  ASSERT_TRUE(platform::ReadFileBytes(path, bytes));
  EXPECT_EQ(bytes, "old");
  EXPECT_FALSE(panel_.Canvas().Metafiling());
  EXPECT_TRUE(panel_.Buffered());
}

TEST_F(Export, AWriteIntoAReadOnlyFolderKeepsTheOldFile) {
  testsupport::TempFolder tmp;
  const std::string folder = tmp.Path("locked");
  ASSERT_TRUE(platform::MakeFolder(folder));
  const std::string path = folder + "\\chart.bmp";
  ASSERT_TRUE(platform::WriteFileBytesAtomic(path, "old"));
  ASSERT_TRUE(platform::SetReadOnly(folder, true));
  panel_.after = nullptr;  // no text: the check may run in a child process of its own
  // 0 refused with the file named, 1 written, 2 refused without the name.
  auto save = [&]() -> int {
    std::string error;
    if (panel_.WriteBitmapFile(path, &error)) return 1;
    return error.find(path) != std::string::npos ? 0 : 2;
  };
  EXPECT_EQ(testsupport::RunAsOrdinaryUser(save), 0);
  platform::SetReadOnly(folder, false);
  std::string bytes;
  ASSERT_TRUE(platform::ReadFileBytes(path, bytes));
  EXPECT_EQ(bytes, "old");
}
