// A chart like the monthly weather window's first one (three bar series side by side, 70 %
// wide, without pen, and seven lines over twelve months on fixed axes) drawn to an image and
// into a metafile: the metafile played back, and converted by LibreOffice where it is
// installed, shows every bar where the image does (our player within one pixel; LibreOffice,
// which places the picture scaled on a page, within one pixel of that scale and one more).
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <memory>
#include <vector>

#include "chart/axis.h"
#include "chart/axis_panel.h"
#include "chart/bar.h"
#include "chart/fast_line.h"
#include "chart/unit.h"
#include "panel_fixture.h"
#include "platform/emf_player.h"
#include "platform/files.h"
#include "platform/picture.h"
#include "support/test_support.h"

using namespace chart;

namespace {

constexpr int kW = 700, kH = 330;
const TColor kBarColors[3] = {0x0080FF, 0xFF8000, 0x00A000};
const TColor kLineColors[7] = {clRed, clMaroon, clBlue, clNavy, clPurple, clTeal, clOlive};

class MonthlyWeatherChart : public ::testing::Test {
 protected:
  MonthlyWeatherChart() {
    chart_.resize(kW, kH);
    chart_.SetBevelOuter(bvNone);
    chart_.SetColor(clWhite);
    chart_.SetView3D(false);
    chart_.LeftAxis()->SetMinMax(-10, 40);
    chart_.BottomAxis()->SetMinMax(-1, 12);
    for (int k = 0; k < 3; ++k) {
      auto s = std::make_unique<TBarSeries>();
      s->BarPen().SetVisible(false);
      s->Marks().SetVisible(false);
      s->SetSeriesColor(kBarColors[k]);
      for (int m = 0; m < 12; ++m) s->AddY(5 + ((m * 7 + k * 5) % 30));
      s->SetParentChart(&chart_);
      bars_.push_back(std::move(s));
    }
    for (int k = 0; k < 7; ++k) {
      auto s = std::make_unique<TFastLineSeries>();
      s->SetSeriesColor(kLineColors[k]);
      for (int m = 0; m < 12; ++m) s->AddY(-4.5 + k * 4 + (m < 6 ? m : 11 - m) * 2);
      s->SetParentChart(&chart_);
      lines_.push_back(std::move(s));
    }
  }
  ~MonthlyWeatherChart() override {
    for (auto& s : bars_) s->SetParentChart(nullptr);
    for (auto& s : lines_) s->SetParentChart(nullptr);
  }
  std::string Metafile() {
    const auto metafile = chart_.MakeMetafile(true, chart_.GetPanelRect());
    return metafile ? metafile->Bytes() : std::string();
  }

  // The columns and rows of a bar's colour around its geometry in `image`, whose pixel (x, y)
  // shows the chart's (x0 + x * scale, y0 + y * scale): left, right, top, bottom (inclusive,
  // in the image); -1 when absent. Rows are looked at in three columns, so a line crossing
  // the bar's edge in one of them does not hide it.
  struct Mapping {
    double x0 = 0, y0 = 0, scale = 1;
    int X(double x) const { return static_cast<int>(std::lround(x0 + x * scale)); }
    int Y(double y) const { return static_cast<int>(std::lround(y0 + y * scale)); }
  };
  static bool Near(const QImage& image, int x, int y, TColor color) {
    if (x < 0 || y < 0 || x >= image.width() || y >= image.height()) return false;
    const QRgb p = image.pixel(x, y);
    return std::abs(qRed(p) - static_cast<int>(color & 0xFF)) < 40 &&
           std::abs(qGreen(p) - static_cast<int>((color >> 8) & 0xFF)) < 40 &&
           std::abs(qBlue(p) - static_cast<int>((color >> 16) & 0xFF)) < 40;
  }
  static std::array<int, 4> Extent(const QImage& image, const TBarGeometry& g, TColor color, const Mapping& m) {
    std::array<int, 4> e{-1, -1, -1, -1};
    const int top = std::min(g.valueY, g.originY), height = std::abs(g.originY - g.valueY);
    for (const double row : {top + height * 0.25, top + height * 0.5, top + height * 0.75}) {
      for (int x = m.X(g.left - 4); x <= m.X(g.right + 4); ++x) {
        if (!Near(image, x, m.Y(row), color)) continue;
        e[0] = e[0] < 0 ? x : std::min(e[0], x);
        e[1] = std::max(e[1], x);
      }
    }
    for (const double column : {g.left + 1.5, (g.left + g.right) / 2.0, g.right - 2.5}) {
      for (int y = m.Y(std::min(g.valueY, g.originY) - 4); y <= m.Y(std::max(g.valueY, g.originY) + 4); ++y) {
        if (!Near(image, m.X(column), y, color)) continue;
        e[2] = e[2] < 0 ? y : std::min(e[2], y);
        e[3] = std::max(e[3], y);
      }
    }
    return e;
  }
  // Where the bars' colours lie in an image: the mapping from the chart's pixels.
  Mapping BarMapping(const QImage& image) {
    int left = image.width(), top = image.height(), right = -1, bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        bool bar = false;
        for (TColor c : kBarColors) bar = bar || Near(image, x, y, c);
        if (!bar) continue;
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
    }
    int cl = kW, cr = -1, ct = kH, cb = -1;
    for (auto& s : bars_) {
      for (int i = 0; i < s->PointCount(); ++i) {
        const TBarGeometry g = s->BarGeometry(i);
        cl = std::min(cl, g.left);
        cr = std::max(cr, g.right);
        ct = std::min(ct, g.valueY);
        cb = std::max(cb, g.originY - 1);
      }
    }
    Mapping m;
    m.scale = static_cast<double>(right - left) / (cr - cl);
    m.x0 = left - cl * m.scale;
    m.y0 = top - ct * m.scale;
    (void)bottom;
    (void)cb;
    return m;
  }

  ChartLibraryScope scope_;
  TCustomAxisPanel chart_;
  std::vector<std::unique_ptr<TBarSeries>> bars_;
  std::vector<std::unique_ptr<TFastLineSeries>> lines_;
};

}  // namespace

TEST_F(MonthlyWeatherChart, TheMetafileShowsEveryBarWhereTheImageDoes) {
  const QImage image = charttest::PanelPicture(chart_);
  drawtest::Keep(image, "weather-chart");
  const std::string bytes = Metafile();
  ASSERT_FALSE(bytes.empty());
  QImage played = drawtest::WhiteImage(kW, kH);
  {
    platform::QtDc dc(played);
    const platform::EmfPlayResult r = platform::PlayEnhMetafile(dc, bytes, TRect{0, 0, kW, kH});
    ASSERT_TRUE(r.ok) << r.error;
  }
  drawtest::Keep(played, "weather-chart-emf");
  for (int k = 0; k < 3; ++k) {
    for (int m = 0; m < 12; ++m) {
      const TBarGeometry g = bars_[static_cast<size_t>(k)]->BarGeometry(m);
      const auto a = Extent(image, g, kBarColors[k], Mapping{}), b = Extent(played, g, kBarColors[k], Mapping{});
      for (int e = 0; e < 4; ++e) {
        EXPECT_GE(a[e], 0) << "bar " << k << "/" << m;
        EXPECT_LE(std::abs(a[e] - b[e]), 1) << "bar " << k << "/" << m << " edge " << e;
      }
      // The image shows the bar as its geometry says.
      EXPECT_EQ(a[0], g.left);
      EXPECT_EQ(a[2], g.valueY);
      EXPECT_EQ(a[3], g.originY - 1);
    }
  }
  // Lines and axes too: the played metafile differs from the image in text pixels at most.
  EXPECT_LT(drawtest::DiffCount(image, played), kW * kH / 100) << drawtest::DiffBounds(image, played);
}

TEST_F(MonthlyWeatherChart, IndependentReaderShowsTheBarsWhereTheImageDoes) {
  if (!testsupport::HaveLibreOffice()) GTEST_SKIP() << "soffice is not installed";
  const QImage image = charttest::PanelPicture(chart_);
  testsupport::TempFolder tmp;
  ASSERT_TRUE(platform::WriteFileBytesAtomic(tmp.Path("weather.emf"), Metafile()));
  const testsupport::ReaderPictures pictures = testsupport::ConvertWithReader(tmp.native(), {"weather.emf"});
  if (pictures.Collecting()) return;
  ASSERT_EQ(pictures.Error(), "");
  QImage png(QString::fromStdString(pictures.Png("weather.emf")));
  ASSERT_FALSE(png.isNull());
  drawtest::Keep(png, "weather-chart-libreoffice");
  // The page holds the picture somewhere, scaled: found by the bars' colours.
  const Mapping m = BarMapping(png);
  ASSERT_GT(m.scale, 0.5);
  for (int k = 0; k < 3; ++k) {
    for (int i = 0; i < 12; ++i) {
      const TBarGeometry g = bars_[static_cast<size_t>(k)]->BarGeometry(i);
      const auto a = Extent(image, g, kBarColors[k], Mapping{}), b = Extent(png, g, kBarColors[k], m);
      const double expected[4] = {m.x0 + a[0] * m.scale, m.x0 + (a[1] + 1) * m.scale - 1, m.y0 + a[2] * m.scale,
                                  m.y0 + (a[3] + 1) * m.scale - 1};
      for (int e = 0; e < 4; ++e) {
        ASSERT_GE(b[e], 0) << "bar " << k << "/" << i;
        // One pixel of the chart, and one for placing and smoothing the page's picture.
        EXPECT_LE(std::abs(expected[e] - b[e]), m.scale + 2) << "bar " << k << "/" << i << " edge " << e;
      }
    }
  }
}
