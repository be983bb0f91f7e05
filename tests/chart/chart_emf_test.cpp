// The canvas drawing into an enhanced metafile: played back by our player it equals the
// direct drawing (texts and blends aside), and an independent reader opens it.
#include <gtest/gtest.h>

#include <QImage>

#include "canvas_fixture.h"
#include "chart/effects.h"
#include "chart/procs.h"
#include "platform/emf_player.h"
#include "platform/emf_recorder.h"
#include "platform/files.h"
#include "support/test_support.h"

using namespace chart;
using platform::BrushStyle;
using platform::PenStyle;

namespace {

constexpr int kW = 480, kH = 320;
// Texts (their glyph pixels are the font engine's business) and the blend, which is skipped
// while drawing into a metafile.
const std::vector<TRect> kSkipped = {TRect{0, 250, 480, 320}, TRect{380, 140, 480, 250}};

void DrawScene(TPlotCanvas3D& c, platform::Canvas& target) {
  TView3DOptions view;
  const TRect frame{0, 0, kW, kH};
  c.SetBufferedDisplay(false);
  c.BeginFrame(&target, &view, clWhite, false, frame);
  c.ResetDrawingState();
  c.Brush().SetColor(platform::RgbColor(250, 250, 240));
  c.FillRect(frame);
  const TGradientDirection directions[] = {gdTopBottom, gdBottomTop, gdLeftRight, gdRightLeft, gdFromCenter,
                                           gdFromTopLeft, gdFromBottomLeft, gdRadial, gdDiagonalUp, gdDiagonalDown};
  for (int k = 0; k < 10; ++k) {
    c.GradientFill(TRect{10 + k * 46, 10, 50 + k * 46, 50}, clRed, k == 3 ? 80 : 50, directions[k], clBlue);
  }
  TPlotGradient middle;
  middle.SetMidColor(clLime);
  middle.PaintRect(c, TRect{10, 60, 70, 100}, 12);
  TPlotShadow shadow;
  shadow.SetSize(5);
  c.BeginFlatDrawing();
  shadow.PaintRectShadow(c, TRect{90, 60, 150, 100}, 0);
  shadow.SetSmooth(false);
  shadow.PaintRectShadow(c, TRect{170, 60, 230, 100}, 0);
  c.EndFlatDrawing();
  shadow.SetSmooth(true);
  shadow.PaintEllipseShadow(c, TRect{250, 60, 310, 100}, 0);
  c.DrawBevelFrame(TRect{330, 60, 380, 100}, clWhite, 2, clGray);
  c.Pen().SetColor(clBlack);
  c.Pen().SetStyle(PenStyle::Solid);
  c.Brush().SetStyle(BrushStyle::Solid);
  c.Brush().SetColor(clYellow);
  c.DrawRingSector(430, 100, 40, 30, 0.2, 2.8, 40);
  // Nested clips.
  c.ClipRectangle(TRect{10, 110, 120, 200});
  c.ClipEllipse(TRect{0, 110, 100, 210}, false);
  c.Brush().SetColor(clAqua);
  c.FillRect(frame);
  c.Unclip();
  const TPoint triangle[3] = {{60, 200}, {110, 110}, {160, 200}};
  c.ClipPolygon(triangle);
  c.Brush().SetColor(clFuchsia);
  c.FillRect(frame);
  c.Unclip();
  c.Unclip();
  // Pens: a wide flat one, small dots.
  TChartPen wide;
  wide.SetWidth(4);
  wide.SetEndStyle(esFlat);
  wide.SetColor(clNavy);
  c.SelectPen(wide);
  c.DrawLine(130, 210, 200, 240);
  TChartPen dots;
  dots.SetSmallDots(true);
  dots.SetSmallSpace(2);
  c.SelectPen(dots);
  c.DrawHorizLine(130, 230, 245);
  PaintCheckBox(210, 215, target, true, true);
  PaintCheckBox(230, 215, target, true, false);
  // 3D in an orthogonal view.
  c.BeginFrame(&target, &view, clWhite, true, frame);
  c.SetProjectionCenter(30, frame);
  c.Pen().SetColor(clBlack);
  c.Pen().SetWidth(1);
  c.Brush().SetColor(clSilver);
  c.DrawBox3D(180, 220, 130, 200, 0, 20, true);
  c.Brush().SetColor(clLime);
  c.DrawCylinder(true, 240, 130, 270, 200, 0, 20, true);
  c.DrawPyramid(true, 290, 130, 320, 200, 0, 20, true);
  c.DrawArrow(true, TPoint{330, 200}, 50, 0, 12, 14, TPoint{370, 140});
  c.Brush().SetColor(clTeal);
  c.DrawPieSlice3D(300, 230, 30, psBothSides, true, 2.5, 0.3, 0, 10, 15, 30);
  // The blend: nothing while metafiling.
  c.BeginFrame(&target, nullptr, clWhite, false, frame);
  c.Brush().SetColor(clRed);
  auto blend = c.BeginBlend(TRect{390, 150, 470, 240}, 50);
  c.FillRect(TRect{390, 150, 470, 240});
  c.EndBlend(std::move(blend));
  // Texts.
  TPlotFont font;
  font.SetSize(14);
  font.Shadow().SetSize(2);
  font.OutLine().Show();
  font.Gradient().SetVisible(true);
  c.SetBackMode(cbmTransparent);
  c.SelectFont(font);
  c.DrawText2D(10, 260, "Shadow, outline and gradient");
  c.DrawRotatedText(300, 310, "Rotated", 30);
}

QImage Direct() {
  QImage image = drawtest::WhiteImage(kW, kH);
  platform::QtDc dc(image);
  platform::Canvas target(dc);
  TPlotCanvas3D canvas;
  DrawScene(canvas, target);
  return image;
}

std::string Metafile() {
  platform::EmfRecorder rec(kW, kH);
  platform::Canvas target(rec);
  TPlotCanvas3D canvas;
  canvas.SetMetafiling(true);
  DrawScene(canvas, target);
  return rec.Finish();
}

class ChartMetafile : public ::testing::Test {
 protected:
  ChartLibraryScope scope_;
};

}  // namespace

TEST_F(ChartMetafile, PlayedBackEqualsTheDirectDrawing) {
  const QImage direct = Direct();
  const std::string bytes = Metafile();
  QImage played = drawtest::WhiteImage(kW, kH);
  {
    platform::QtDc dc(played);
    const platform::EmfPlayResult r = platform::PlayEnhMetafile(dc, bytes, TRect{0, 0, kW, kH});
    EXPECT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.skipped, 0);
  }
  drawtest::Keep(direct, "chart-emf-direct");
  drawtest::Keep(played, "chart-emf-played");
  EXPECT_EQ(drawtest::DiffCount(direct, played, kSkipped), 0) << drawtest::DiffBounds(direct, played);
  // The texts are there, the blend is not.
  EXPECT_GT(drawtest::DiffCount(played, drawtest::WhiteImage(kW, kH)), 0);
  EXPECT_EQ(drawtest::At(played, 430, 200), clRed);
  EXPECT_NE(drawtest::At(direct, 430, 200), clRed);
}

TEST_F(ChartMetafile, IndependentReaderOpensIt) {
  if (!testsupport::HaveLibreOffice()) GTEST_SKIP() << "soffice is not installed";
  testsupport::TempFolder tmp;
  ASSERT_TRUE(platform::WriteFileBytesAtomic(tmp.Path("chart.emf"), Metafile()));
  const testsupport::ReaderPictures pictures = testsupport::ConvertWithReader(tmp.native(), {"chart.emf"});
  if (pictures.Collecting()) return;
  ASSERT_EQ(pictures.Error(), "");
  QImage png(QString::fromStdString(pictures.Png("chart.emf")));
  ASSERT_FALSE(png.isNull());
  drawtest::Keep(png, "chart-emf-libreoffice");
  // The picture keeps its proportions and shows the gradients' red and blue and the aqua clip.
  int red = 0, blue = 0, aqua = 0;
  for (int y = 0; y < png.height(); ++y) {
    for (int x = 0; x < png.width(); ++x) {
      const QRgb p = png.pixel(x, y);
      red += qRed(p) > 200 && qGreen(p) < 60 && qBlue(p) < 60;
      blue += qBlue(p) > 200 && qRed(p) < 60 && qGreen(p) < 60;
      aqua += qBlue(p) > 200 && qGreen(p) > 200 && qRed(p) < 60;
    }
  }
  EXPECT_GT(red, 100);
  EXPECT_GT(blue, 100);
  EXPECT_GT(aqua, 100);
}
