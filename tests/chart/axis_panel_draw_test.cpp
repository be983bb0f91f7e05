// The axis panel drawn: the axes of the weather charts on a QImage, their labels thinned when
// they would overlap, value labels that fit, the same picture through a metafile (and in an
// independent reader), and a 3D view.
#include <gtest/gtest.h>

#include <QImage>
#include <cmath>

#include "chart/axis_panel.h"
#include "chart/series.h"
#include "chart/unit.h"
#include "panel_fixture.h"
#include "platform/cp932.h"
#include "platform/dc_canvas.h"
#include "platform/emf_player.h"
#include "platform/files.h"
#include "platform/image_codecs.h"
#include "platform/qt/dc_qt.h"
#include "support/test_support.h"

using namespace chart;

namespace {

const char* const kMonths[] = {"１月", "２月", "３月", "４月", "５月", "６月",
                               "７月", "８月", "９月", "１０月", "１１月", "１２月"};

struct DrawnLabel {
  TChartAxis* axis;
  int x, y;
  std::string text;
};

// A chart laid out like the monthly weather charts: temperatures on the left axis fixed at
// -20..40 by 10, precipitation on the right one at -2000..4000 by 1000, twelve months along
// the bottom.
class WeatherChart : public ::testing::Test {
 protected:
  WeatherChart() {
    chart_.resize(728, 300);
    chart_.SetBevelOuter(bvNone);
    chart_.SetColor(clWhite);
    chart_.SetView3D(false);
    temps_.SetParentChart(&chart_);
    rain_.SetParentChart(&chart_);
    rain_.SetVertAxis(aRightAxis);
    for (int m = 0; m < 12; ++m) {
      temps_.AddY(5 + 20 * std::sin(m / 2.0), platform::J(kMonths[m]));
      rain_.AddY(100 * m);
    }
    chart_.LeftAxis()->SetMinMax(-20, 40);
    chart_.LeftAxis()->SetIncrement(10);
    chart_.RightAxis()->SetMinMax(-2000, 4000);
    chart_.RightAxis()->SetIncrement(1000);
    chart_.LeftAxis()->Title().SetCaption(platform::J("気温（℃）"));
    for (TChartAxis* axis : chart_.Axes()) {
      axis->OnDrawLabel = [this](TChartAxis* a, int& x, int& y, int&, std::string& text, bool&) {
        labels_.push_back({a, x, y, text});
      };
    }
  }
  ~WeatherChart() override {
    temps_.SetParentChart(nullptr);
    rain_.SetParentChart(nullptr);
  }
  QImage Picture() {
    labels_.clear();
    return charttest::PanelPicture(chart_);
  }
  std::vector<DrawnLabel> LabelsOf(TChartAxis* axis) const {
    std::vector<DrawnLabel> out;
    for (const DrawnLabel& l : labels_) {
      if (l.axis == axis) out.push_back(l);
    }
    return out;
  }

  ChartLibraryScope scope_;
  TCustomAxisPanel chart_;
  TChartSeries temps_, rain_;
  std::vector<DrawnLabel> labels_;
};

// The grid's grey (neither the white background nor the black axis lines).
bool IsGrey(platform::ColorRef c) {
  return platform::RedOf(c) == platform::GreenOf(c) && platform::GreenOf(c) == platform::BlueOf(c) &&
         platform::RedOf(c) > 0x40 && platform::RedOf(c) < 0xE0;
}

// Non-white pixels within the box.
int InkIn(const QImage& image, const TRect& box) {
  int ink = 0;
  for (int y = std::max(0, box.top); y < std::min(image.height(), box.bottom); ++y) {
    for (int x = std::max(0, box.left); x < std::min(image.width(), box.right); ++x) {
      ink += drawtest::At(image, x, y) != platform::RgbColor(255, 255, 255);
    }
  }
  return ink;
}

}  // namespace

TEST_F(WeatherChart, TicksAndGridLieWhereTheMappingPutsTheirValues) {
  const QImage image = Picture();
  drawtest::Keep(image, "axes-weather");
  const TRect plot = chart_.ChartRect();
  const platform::ColorRef tick = platform::ColorToRgb(chart_.LeftAxis()->Ticks().Color());
  for (TChartAxis* axis : {chart_.LeftAxis(), chart_.RightAxis()}) {
    const int step = axis == chart_.LeftAxis() ? 10 : 1000;
    const int outward = axis == chart_.LeftAxis() ? -1 : 1;
    for (int k = 0; k <= 6; ++k) {
      const double v = axis->Minimum() + k * step;
      const int y = axis->ValueToPixel(v);
      // The tick reaches four pixels out from the line; the row beside it stays empty.
      EXPECT_EQ(drawtest::At(image, axis->PosAxis() + 3 * outward, y), tick) << v;
      EXPECT_EQ(drawtest::At(image, axis->PosAxis() + 3 * outward, y + 2), platform::RgbColor(255, 255, 255)) << v;
      if (y <= plot.top || y >= plot.bottom) continue;
      // A dotted grey grid line along the row, from the first pixel inside the plot.
      int grey = 0;
      for (int x = plot.left + 1; x < plot.right; ++x) grey += IsGrey(drawtest::At(image, x, y));
      EXPECT_GT(grey, (plot.right - plot.left) / 3) << v;
    }
  }
  // The left axis labels -20 .. 40, the right one -2,000 .. 4,000.
  std::vector<std::string> left, right;
  for (const DrawnLabel& l : LabelsOf(chart_.LeftAxis())) left.push_back(l.text);
  for (const DrawnLabel& l : LabelsOf(chart_.RightAxis())) right.push_back(l.text);
  EXPECT_EQ(left, (std::vector<std::string>{"40", "30", "20", "10", "0", "-10", "-20"}));
  EXPECT_EQ(right, (std::vector<std::string>{"4,000", "3,000", "2,000", "1,000", "0", "-1,000", "-2,000"}));
  // Each label's text is drawn to the left of its tick, centred on it.
  TCanvas3D& c = chart_.Canvas();
  for (const DrawnLabel& l : LabelsOf(chart_.LeftAxis())) {
    c.SelectFont(chart_.LeftAxis()->LabelsFont());
    const int w = c.TextWidth(l.text), h = c.TextHeight("W");
    EXPECT_GT(InkIn(image, TRect{l.x - w, l.y - h / 2, l.x, l.y + h / 2}), 5) << l.text;
  }
}

TEST_F(WeatherChart, BottomAxisShowsTwelveMonthsOrTheThinnedSubset) {
  Picture();
  const std::vector<DrawnLabel> wide = LabelsOf(chart_.BottomAxis());
  ASSERT_EQ(wide.size(), 12u);
  for (int m = 0; m < 12; ++m) {
    EXPECT_EQ(wide[m].text, platform::J(kMonths[m]));
    EXPECT_EQ(wide[m].x, chart_.BottomAxis()->ValueToPixel(m));
  }
  EXPECT_EQ(chart_.BottomAxis()->TickPositions().size(), 12u);

  chart_.resize(300, 300);
  const QImage image = Picture();
  drawtest::Keep(image, "axes-weather-narrow");
  const std::vector<DrawnLabel> narrow = LabelsOf(chart_.BottomAxis());
  ASSERT_LT(narrow.size(), 12u);
  ASSERT_GT(narrow.size(), 2u);
  EXPECT_EQ(narrow.front().text, platform::J(kMonths[0]));
  // No two labels drawn overlap: each keeps clear of the one before it.
  TCanvas3D& c = chart_.Canvas();
  c.SelectFont(chart_.BottomAxis()->LabelsFont());
  for (size_t i = 1; i < narrow.size(); ++i) {
    const int half = (c.TextWidth(narrow[i - 1].text) + c.TextWidth(narrow[i].text)) / 2;
    EXPECT_GE(narrow[i].x - narrow[i - 1].x, half) << i;
  }
  // The labels left out leave no ink under their places; ticks only where a label is drawn.
  EXPECT_EQ(chart_.BottomAxis()->TickPositions().size(), narrow.size());
  const int h = c.TextHeight("W");
  for (int m = 0; m < 12; ++m) {
    const int x = chart_.BottomAxis()->ValueToPixel(m);
    const bool drawn = std::any_of(narrow.begin(), narrow.end(), [&](const DrawnLabel& l) { return l.x == x; });
    if (drawn) continue;
    const int y = chart_.BottomAxis()->PosLabels();
    EXPECT_EQ(InkIn(image, TRect{x - 1, y, x + 2, y + h}), 0) << m;
  }
}

TEST_F(WeatherChart, ValueLabelsThatDoNotFitSkipToTheNextRoundStep) {
  chart_.LeftAxis()->SetMinMax(0, 600);
  chart_.LeftAxis()->SetIncrement(100);
  Picture();
  EXPECT_EQ(LabelsOf(chart_.LeftAxis()).size(), 7u);
  chart_.resize(728, 90);
  Picture();
  std::vector<std::string> texts;
  for (const DrawnLabel& l : LabelsOf(chart_.LeftAxis())) texts.push_back(l.text);
  EXPECT_EQ(texts, (std::vector<std::string>{"600", "400", "200", "0"}));
}

TEST_F(WeatherChart, MetafilePlaysBackToTheSamePicture) {
  const QImage direct = platform::ImageFromDib(chart_.MakeBitmap(clWhite, chart_.GetPanelRect(), pfDevice)->Bitmap());
  testsupport::TempFolder tmp;
  const std::string path = tmp.Path("axes.emf");
  std::string error;
  ASSERT_TRUE(chart_.WriteMetafileFile(path, &error)) << error;
  std::string bytes;
  ASSERT_TRUE(platform::ReadFileBytes(path, bytes));
  QImage played = drawtest::WhiteImage(chart_.Width(), chart_.Height());
  {
    platform::QtDc dc(played);
    const platform::EmfPlayResult r = platform::PlayEnhMetafile(dc, bytes, platform::Rect{0, 0, 728, 300});
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.skipped, 0);
  }
  drawtest::Keep(played, "axes-weather-emf");
  EXPECT_EQ(drawtest::DiffCount(played, direct), 0) << drawtest::DiffBounds(played, direct);
}

TEST_F(WeatherChart, IndependentReaderDrawsTheGridAndTheAxes) {
  if (!testsupport::HaveLibreOffice()) GTEST_SKIP() << "soffice is not installed";
  testsupport::TempFolder tmp;
  std::string error;
  ASSERT_TRUE(chart_.WriteMetafileFile(tmp.Path("axes.emf"), &error)) << error;
  const testsupport::ReaderPictures pictures = testsupport::ConvertWithReader(tmp.native(), {"axes.emf"});
  if (pictures.Collecting()) return;
  ASSERT_EQ(pictures.Error(), "");
  QImage png(QString::fromStdString(pictures.Png("axes.emf")));
  ASSERT_FALSE(png.isNull());
  drawtest::Keep(png, "axes-weather-libreoffice");
  // The grid's grey dots and the axes' dark lines are there.
  int grey = 0, dark = 0;
  for (int y = 0; y < png.height(); ++y) {
    for (int x = 0; x < png.width(); ++x) {
      const QRgb p = png.pixel(x, y);
      grey += qRed(p) > 100 && qRed(p) < 160 && qRed(p) == qGreen(p) && qGreen(p) == qBlue(p);
      dark += qRed(p) < 60 && qGreen(p) < 60 && qBlue(p) < 60;
    }
  }
  EXPECT_GT(grey, 1000);
  EXPECT_GT(dark, 1000);
}

TEST_F(WeatherChart, ThreeDimensionalViewDrawsAxesAtDepth) {
  chart_.SetView3D(true);
  chart_.DepthAxis()->SetVisible(true);
  const QImage image = Picture();
  drawtest::Keep(image, "axes-weather-3d");
  EXPECT_GT(chart_.TotalDepth, 0);
  EXPECT_EQ(LabelsOf(chart_.LeftAxis()).size(), 7u);
  // The depth axis names the two series by their titles.
  EXPECT_EQ(LabelsOf(chart_.DepthAxis()).size(), 2u);
}

// The depth axis names the series by their titles and takes room for them: each title, drawn
// alone in red, lies whole inside the picture, as wide as the text, in 3D views of either
// kind and with a title as long as the chart's side room.
TEST_F(WeatherChart, DepthAxisTitlesAreDrawnWholeInsideThePicture) {
  temps_.SetTitle("Mean temperature");
  rain_.SetTitle("Precipitation");
  chart_.SetView3D(true);
  chart_.DepthAxis()->SetVisible(true);
  chart_.DepthAxis()->LabelsFont().SetColor(clRed);
  chart_.RightAxis()->SetVisible(false);
  for (const bool orthogonal : {true, false}) {
    chart_.View3DOptions().SetOrthogonal(orthogonal);
    for (const std::string& title : {temps_.Title(), rain_.Title()}) {
      SCOPED_TRACE(testing::Message() << title << (orthogonal ? ", orthogonal" : ", rotated"));
      chart_.DepthAxis()->OnDrawLabel = [&](TChartAxis*, int&, int&, int&, std::string& text, bool& draw) {
        draw = text == title;
      };
      const QImage image = Picture();
      drawtest::Keep(image, "axes-depth-titles");
      TRect ink{image.width(), image.height(), -1, -1};
      for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
          const QRgb p = image.pixel(x, y);
          if (!(qRed(p) > 150 && qGreen(p) < 110 && qBlue(p) < 110)) continue;
          ink = TRect{std::min(ink.left, x), std::min(ink.top, y), std::max(ink.right, x), std::max(ink.bottom, y)};
        }
      }
      ASSERT_GE(ink.right, 0) << "the title is drawn";
      chart_.Canvas().SelectFont(chart_.DepthAxis()->LabelsFont());
      EXPECT_GE(ink.right - ink.left + 3, chart_.Canvas().TextWidth(title));
      EXPECT_GT(ink.left, 0);
      EXPECT_LT(ink.right, image.width() - 1);
    }
  }
  chart_.DepthAxis()->OnDrawLabel = {};
}

// The ink's bounds within a box (empty when there is none).
TRect InkBounds(const QImage& image, const TRect& box) {
  TRect r{box.right, box.bottom, box.left, box.top};
  for (int y = std::max(0, box.top); y < std::min(image.height(), box.bottom); ++y) {
    for (int x = std::max(0, box.left); x < std::min(image.width(), box.right); ++x) {
      if (drawtest::At(image, x, y) == platform::RgbColor(255, 255, 255)) continue;
      r.left = std::min(r.left, x);
      r.top = std::min(r.top, y);
      r.right = std::max(r.right, x + 1);
      r.bottom = std::max(r.bottom, y + 1);
    }
  }
  return r;
}

TEST_F(WeatherChart, TurnedAlternateMultiLineAndExponentLabels) {
  chart_.BottomAxis()->SetLabelsAngle(90);
  chart_.LeftAxis()->SetAxisValuesFormat("#.0 \"x10\" E+0");
  chart_.LeftAxis()->SetLabelsExponent(true);
  chart_.RightAxis()->SetLabelsMultiLine(true);
  chart_.RightAxis()->SetAxisValuesFormat("0 'mm'");
  TChartSeries years;
  years.SetParentChart(&chart_);
  years.SetHorizAxis(aTopAxis);
  for (int y = 1981; y <= 1995; ++y) years.AddPoint(y, 1);
  chart_.TopAxis()->SetLabelsAlternate(true);
  chart_.TopAxis()->SetIncrement(2);
  const QImage image = Picture();
  drawtest::Keep(image, "axes-label-placements");
  TCanvas3D& c = chart_.Canvas();
  c.SelectFont(chart_.BottomAxis()->LabelsFont());
  const int h = c.TextHeight("W");
  // Turned labels run down from the labels line, taller than wide, centred on their tick.
  const int below = chart_.BottomAxis()->PosLabels();
  for (int m : {0, 5, 11}) {
    const int x = chart_.BottomAxis()->ValueToPixel(m);
    const TRect ink = InkBounds(image, TRect{x - h, below, x + h, chart_.Height()});
    EXPECT_GT(ink.bottom - ink.top, ink.right - ink.left) << m;
    EXPECT_LE(std::abs((ink.left + ink.right) / 2 - x), h / 3) << m;  // the cell is centred, glyphs sit in it
    EXPECT_GE(ink.top, below) << m;
  }
  // Alternate rows: every second label one row further out (upwards on the top axis), the
  // step halved.
  const std::vector<DrawnLabel> top = LabelsOf(chart_.TopAxis());
  ASSERT_GE(top.size(), 4u);
  EXPECT_EQ(top[0].text, "1,995");
  EXPECT_EQ(top[1].text, "1,994");
  EXPECT_EQ(top[0].y, chart_.TopAxis()->PosLabels());
  EXPECT_LT(top[1].y, top[0].y);
  EXPECT_EQ(top[2].y, top[0].y);
  // Two-line labels: "4000" over "mm", centred on the tick.
  const int right = chart_.RightAxis()->PosLabels();
  const int y4000 = chart_.RightAxis()->ValueToPixel(4000);
  const TRect two = InkBounds(image, TRect{right, y4000 - h, right + 60, y4000 + h});
  EXPECT_GT(two.bottom - two.top, h);
  // Exponents stand raised: ink above the top of the mantissa's line.
  const int y40 = chart_.LeftAxis()->ValueToPixel(40);
  const TRect mantissaLine{0, y40 - h / 2, chart_.LeftAxis()->PosLabels(), y40 + h / 2};
  const TRect raised = InkBounds(image, TRect{0, y40 - h, mantissaLine.right, mantissaLine.top});
  EXPECT_LT(raised.top, mantissaLine.top);
  years.SetParentChart(nullptr);
}

TEST_F(WeatherChart, CustomItemsReplaceTheLabels) {
  TChartAxis& left = *chart_.LeftAxis();
  left.Items().Add(15, "mid");
  left.Items().Add(-5);        // no text: the value's label
  left.Items().Add(55, "out");  // beyond the maximum
  TAxisItem* hidden = left.Items().Add(25, "hidden");
  hidden->SetVisible(false);
  Picture();
  std::vector<std::string> texts;
  for (const DrawnLabel& l : LabelsOf(&left)) texts.push_back(l.text);
  EXPECT_EQ(texts, (std::vector<std::string>{"mid", "-5"}));
  EXPECT_EQ(left.TickPositions(), (std::vector<int>{left.ValueToPixel(15), left.ValueToPixel(-5)}));
  // Ticks at every item within the ends once they are not tied to drawn labels.
  left.SetTickOnLabelsOnly(false);
  Picture();
  EXPECT_EQ(left.TickPositions().size(), 3u);
  left.Items().Clear();
  Picture();
  EXPECT_EQ(LabelsOf(&left).size(), 7u);
}

TEST_F(WeatherChart, HiddenLabelsLeaveTheirTicksAndGrid) {
  TChartAxis& left = *chart_.LeftAxis();
  left.SetLabels(false);
  const QImage image = Picture();
  EXPECT_TRUE(LabelsOf(&left).empty());
  EXPECT_EQ(left.TickPositions().size(), 7u);
  // No label room: the labels line is the tick's end, and nothing is written beside a
  // tick (the title stands lower, at the axis' centre).
  EXPECT_EQ(left.PosLabels(), left.PosAxis() - (left.Axis().Width() + 1 + left.TickLength()));
  TCanvas3D& c = chart_.Canvas();
  c.SelectFont(left.LabelsFont());
  const int y = left.ValueToPixel(30), h = c.TextHeight("W");
  EXPECT_EQ(InkIn(image, TRect{0, y - h / 2, left.PosLabels(), y + h / 2}), 0);
}

TEST_F(WeatherChart, NextLabelEventChoosesTheValues) {
  chart_.OnGetNextAxisLabel = [](TChartAxis* axis, int index, double& value, bool& stop) {
    if (axis->Horizontal()) {
      stop = index == 0;  // the bottom axis keeps its standard labels
      return;
    }
    value = -20 + 25 * index;
  };
  Picture();
  std::vector<std::string> texts;
  for (const DrawnLabel& l : LabelsOf(chart_.LeftAxis())) texts.push_back(l.text);
  EXPECT_EQ(texts, (std::vector<std::string>{"-20", "5", "30"}));
  EXPECT_EQ(LabelsOf(chart_.BottomAxis()).size(), 12u);
  chart_.OnGetNextAxisLabel = nullptr;
}

TEST_F(WeatherChart, CentredGridLiesBetweenTheLabels) {
  TChartAxis& left = *chart_.LeftAxis();
  chart_.BottomAxis()->Grid().SetVisible(false);
  chart_.RightAxis()->Grid().SetVisible(false);
  left.SetGridCentered(true);
  const QImage image = Picture();
  const TRect plot = chart_.ChartRect();
  auto greyRow = [&](int y) {
    int grey = 0;
    for (int x = plot.left + 1; x < plot.right; ++x) grey += IsGrey(drawtest::At(image, x, y));
    return grey;
  };
  // Halfway between neighbouring ticks (the pixels' mean, truncated).
  const int half = (left.ValueToPixel(10) + left.ValueToPixel(20)) / 2;
  EXPECT_GT(greyRow(half), (plot.right - plot.left) / 3);
  EXPECT_LE(greyRow(left.ValueToPixel(10)), 1);
}
