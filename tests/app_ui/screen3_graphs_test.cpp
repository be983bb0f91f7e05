// Screen 3's charts and page metafiles, drawn from the small result fixture
// (tests/app/fixtures/golden) and from made-up day tables: pixel checks of the result chart,
// the weather-line file, the page metafile names and sizes, and the report set read back by an
// independent program.
#include <gtest/gtest.h>

#include <QImage>
#include <cstdio>
#include <filesystem>
#include <set>

#include "model/results/screen3_data.h"
#include "app/ui/screen3_graphs.h"
#include "framework/appinit.h"
#include "framework/convert.h"
#include "framework/drawing.h"
#include "framework/form_utils.h"
#include "platform/cp932.h"
#include "platform/emf.h"
#include "platform/emf_player.h"
#include "platform/files.h"
#include "platform/path.h"
#include "platform/qt/dc_qt.h"
#include "support/test_support.h"

using testsupport::S;
using testsupport::U;

namespace {

namespace fs = std::filesystem;

constexpr int kLeft = 40, kTop = 30;  // the result chart's plot corner

std::string Inside(const std::string& native) { return platform::ToInsidePath(native).value_or(""); }

// The installed palette, so that colour numbers give the program's colours.
void UsePalette() {
  fw::ColorFileName = Inside(testsupport::SourceDir() + "/data/tree/DATA/COLOR/標準色.COL");
}

platform::ColorRef Rgb(int colourNumber) { return platform::ColorToRgb(fw::ColorOf(colourNumber)); }
platform::ColorRef At(const QImage& img, int x, int y) { return platform::QRgbToColorRef(img.pixel(x, y)); }

// Pixels of exactly `colour` inside [x0, x1) x [y0, y1).
int CountColour(const QImage& img, platform::ColorRef colour, int x0, int y0, int x1, int y1) {
  int n = 0;
  for (int y = std::max(0, y0); y < std::min(img.height(), y1); ++y) {
    for (int x = std::max(0, x0); x < std::min(img.width(), x1); ++x) n += At(img, x, y) == colour;
  }
  return n;
}
int CountColour(const QImage& img, platform::ColorRef colour) {
  return CountColour(img, colour, 0, 0, img.width(), img.height());
}
// The columns holding `colour` inside a band of rows.
std::set<int> ColumnsOf(const QImage& img, platform::ColorRef colour, int y0, int y1) {
  std::set<int> cols;
  for (int y = y0; y < y1; ++y) {
    for (int x = 0; x < img.width(); ++x) {
      if (At(img, x, y) == colour) cols.insert(x);
    }
  }
  return cols;
}

// Pictures are kept to be looked at only in the folder HARVSIM_KEEP_PICTURES names.
void Keep(const QImage& img, const std::string& name) {
  const QString folder = qEnvironmentVariable("HARVSIM_KEEP_PICTURES");
  if (!folder.isEmpty()) img.save(folder + QString::fromStdString("/harvsim-" + name + ".png"));
}

QImage Draw(int width, int height, const std::function<void(platform::Canvas&, int, int)>& draw) {
  QImage img(width, height, QImage::Format_RGB32);
  img.fill(Qt::gray);
  app::DrawOnImage(img, draw);
  return img;
}

// A day table of `days` rows in the daily result layout: date, time, temperature, precipitation,
// three further cells, then the eight tanks' remaining storage.
std::vector<std::string> DayTable(int days, const std::function<double(int)>& rain,
                                  const std::function<double(int, int)>& tank) {
  std::vector<std::string> lines = {S("テスト"), "", "", "year mm dd hr mn sc"};
  for (int d = 1; d <= days; ++d) {
    const int month = d <= 31 ? 1 : d <= 59 ? 2 : 3, day = d <= 31 ? d : d <= 59 ? d - 31 : d - 59;
    char buf[256];
    int n = std::snprintf(buf, sizeof buf, "1985/%02d/%02d 24:00:00%7.1f%7.0f%7d%7d%7d", month, day, 5.0, rain(d), 0, 0,
                          0);
    for (int t = 1; t <= 8; ++t) n += std::snprintf(buf + n, sizeof buf - n, "%7.0f", tank(d, t));
    lines.emplace_back(buf);
  }
  return lines;
}

app::Screen3Data DailyData(std::vector<std::string> lines) {
  app::Screen3Data data;
  data.page = 1;
  data.yearNumber = 5;
  data.basicVolume = 2000;
  static const double kFactor[9] = {0, 0.25, 0.5, 1, 1.5, 2, 3, 4, 5};
  for (int t = 1; t <= 8; ++t) data.tankVolume[t] = kFactor[t] * data.basicVolume;
  data.resultLines = std::move(lines);
  data.rowCount = static_cast<int>(data.resultLines.size()) - 4;
  return data;
}

// Each tank at its own level: tank t holds t x 1000 litres every day.
std::vector<std::string> FlatTanks(int days, const std::function<double(int)>& rain) {
  return DayTable(days, rain, [](int, int t) { return 1000.0 * t; });
}

// The golden fixture copied into a temporary result folder.
class GoldenResults : public ::testing::Test {
 protected:
  void SetUp() override {
    UsePalette();
    platform::EnsureQtFontEngine();
    for (const auto& e : fs::directory_iterator(testsupport::SourceDir() + "/tests/app/fixtures/golden")) {
      fs::copy_file(e.path(), tmp_.native() + e.path().filename().string());
    }
    prefix_ = tmp_.inside() + "HarvSim";
    ASSERT_TRUE(platform::ReadTextLines(prefix_ + "(1981-1995).YER", yearLines_));
    std::vector<std::string> full;
    ASSERT_TRUE(platform::ReadTextLines(prefix_ + "(FULL).DAT", full));
    data_.representative = app::BuildYearList(yearLines_).representative;
    data_.basicVolume = 1000;  // the sample case's basic tank
    static const double kFactor[9] = {0, 0.25, 0.5, 1, 1.5, 2, 3, 4, 5};
    for (int t = 1; t <= 8; ++t) data_.tankVolume[t] = kFactor[t] * data_.basicVolume;
    app::FillFullTankTable(full, data_.fullTank);
  }

  // The data as the form holds it on `page` (page 1: `yearNumber`; page 4: `graph`).
  app::Screen3Data& OnPage(int page, int yearNumber = 0, int graph = 0) {
    data_.page = page;
    data_.yearNumber = yearNumber;
    data_.graph = graph;
    data_.resultLines.clear();
    if (page == 1) platform::ReadTextLines(prefix_ + "(" + std::to_string(1980 + yearNumber) + ").DAY", data_.resultLines);
    if (page == 2) platform::ReadTextLines(prefix_ + "(1981-1995).MON", data_.resultLines);
    if (page == 3) data_.resultLines = yearLines_;
    data_.rowCount = std::max(0, static_cast<int>(data_.resultLines.size()) - 4);
    if (page == 4) app::FillAnalysisTable(yearLines_, graph, data_.analysis);
    return data_;
  }

  testsupport::TempFolder tmp_;
  std::string prefix_;
  std::vector<std::string> yearLines_;
  app::Screen3Data data_;
};

}  // namespace

TEST(Screen3Metafiles, NamesAndSizesFollowThePageTable) {
  struct Case {
    int page, yearNumber, graph;
    const char* suffix;
    app::PictureSize metafile, image;
  };
  const Case cases[] = {
      {1, 5, 0, "(1-1985).EMF", {700, 210}, {778, 196}},
      {1, 0, 0, "", {700, 210}, {778, 196}},
      {2, 5, 3, "(2).EMF", {700, 210}, {778, 196}},
      {3, 0, 0, "(3).EMF", {700, 210}, {778, 196}},
      {4, 0, 2, "(4-2).EMF", {350, 360}, {350, 360}},
      {4, 0, 5, "", {350, 360}, {350, 360}},
      {5, 3, 0, "(5).EMF", {700, 400}, {782, 405}},
      {6, 1, 1, "", {0, 0}, {0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.page);
    EXPECT_EQ(app::PageMetafileSuffix(c.page, c.yearNumber, c.graph), c.suffix);
    EXPECT_EQ(app::PageMetafileSize(c.page, false), c.metafile);
    EXPECT_EQ(app::PageImageSize(c.page, false), c.image);
  }
  EXPECT_EQ(app::PageMetafileSize(5, true), (app::PictureSize{340, 300}));
  EXPECT_EQ(app::PageImageSize(5, true), (app::PictureSize{337, 315}));
  EXPECT_EQ(app::FrequencyMetafileSuffix(1990), "(5-1990).EMF");
  EXPECT_EQ(app::TankVolumeCaption(1500), S("1500ﾘｯﾄﾙ"));
}

TEST(Screen3ResultChart, HiddenTankIsAbsentAndKeepsItsLegendPlace) {
  UsePalette();
  app::Screen3Data data = DailyData(FlatTanks(90, [](int d) { return d % 7 == 0 ? 30.0 : 0.0; }));
  auto draw = [&](platform::Canvas& c, int w, int h) { app::DrawResultChart(c, data, w, h); };
  const QImage shown = Draw(778, 196, draw);
  data.tankShownColor[5] = app::kHiddenTankColor;
  const QImage hidden = Draw(778, 196, draw);
  Keep(hidden, "graph-result-hidden");

  const platform::ColorRef tank5 = Rgb(app::TankColorNumber(5));
  EXPECT_GT(CountColour(shown, tank5), 100);
  EXPECT_EQ(CountColour(hidden, tank5), 0) << "the hidden tank is still drawn";
  // The legend row: every other tank keeps exactly its columns, the hidden one shows in grey
  // where its entry was.
  for (int t = 1; t <= 8; ++t) {
    if (t == 5) continue;
    const platform::ColorRef colour = Rgb(app::TankColorNumber(t));
    EXPECT_EQ(ColumnsOf(shown, colour, 15, kTop), ColumnsOf(hidden, colour, 15, kTop)) << "tank " << t;
  }
  const std::set<int> place = ColumnsOf(shown, tank5, 15, kTop);
  const std::set<int> grey = ColumnsOf(hidden, Rgb(app::kHiddenTankColor), 15, kTop);
  ASSERT_FALSE(place.empty());
  EXPECT_EQ(*place.begin(), *grey.begin());
  // Tank 5 stood at 5000 litres of 10000: half way up the plot.
  const int plotH = 196 - 60;
  EXPECT_EQ(At(shown, kLeft + 100, kTop + plotH - plotH / 2), tank5);
}

TEST(Screen3ResultChart, HeavyDayReachesTheTopAndIsLabelled) {
  UsePalette();
  // Day 40 has 120 mm (above the 100 mm scale), day 70 99 mm, day 20 50 mm; no tank water.
  app::Screen3Data data = DailyData(DayTable(
      90, [](int d) { return d == 40 ? 120.0 : d == 70 ? 99.0 : d == 20 ? 50.0 : 0.0; }, [](int, int) { return 0.0; }));
  const QImage img = Draw(778, 196, [&](platform::Canvas& c, int w, int h) { app::DrawResultChart(c, data, w, h); });
  Keep(img, "graph-result-120mm");
  const int plotW = 778 - 80, bottom = 196 - kTop;
  const int x20 = kLeft + 19 * plotW / 90, x40 = kLeft + 39 * plotW / 90, x70 = kLeft + 69 * plotW / 90;
  const platform::ColorRef bar = Rgb(201);
  for (int y = kTop + 1; y < bottom; ++y) ASSERT_EQ(At(img, x40, y), bar) << "y " << y;
  // 50 mm: half the plot's height.
  const int half = bottom - (bottom - kTop) / 2;
  EXPECT_EQ(At(img, x20, half + 1), bar);
  EXPECT_NE(At(img, x20, half - 2), bar);
  // The label "120mm" stands beside the heavy day's bar, below the top edge; the 99 mm day has none.
  auto inkBeside = [&](int x) {
    int dark = 0;
    for (int y = kTop + 2; y < kTop + 16; ++y) {
      for (int xx = x + 2; xx < x + 40; ++xx) dark += qGray(img.pixel(xx, y)) < 128;
    }
    return dark;
  };
  EXPECT_GT(inkBeside(x40), 20);
  EXPECT_EQ(inkBeside(x70), 0);
}

TEST(Screen3ResultChart, LegendOnlyFromWidth701) {
  UsePalette();
  app::Screen3Data data = DailyData(FlatTanks(30, [](int) { return 0.0; }));
  for (int width : {700, 701, 778}) {
    const QImage img = Draw(width, 210, [&](platform::Canvas& c, int w, int h) { app::DrawResultChart(c, data, w, h); });
    int legendInk = 0;
    for (int t = 1; t <= 8; ++t) legendInk += CountColour(img, Rgb(app::TankColorNumber(t)), 0, 15, width, kTop);
    if (width < 701) {
      EXPECT_EQ(legendInk, 0) << width;
    } else {
      EXPECT_GT(legendInk, 8 * 20) << width;
    }
  }
}

TEST(Screen3ResultChart, EmptyTableDrawsNothing) {
  app::Screen3Data data = DailyData({"a", "b", "c", "d"});
  const QImage img = Draw(100, 80, [&](platform::Canvas& c, int w, int h) { app::DrawResultChart(c, data, w, h); });
  EXPECT_EQ(CountColour(img, platform::QRgbToColorRef(QColor(Qt::gray).rgb())), 100 * 80);
}

TEST(Screen3WeatherLines, LineLayout) {
  struct Case {
    const char* day;  // a daily result line
    const char* line; // its weather line (UTF-8), empty for none
  };
  const Case cases[] = {
      {"1981/01/04 24:00:00    1.9    106      0", "1981/01/04   1.9℃   106mm ※"},
      {"1981/01/05 24:00:00   -2.5      3      0", "1981/01/05  -2.5℃     3mm"},
      {"1981/07/05 24:00:00   25.0     99      0", "1981/07/05  25.0℃    99mm"},
      {"1981/07/06 24:00:00   25.0    100      0", "1981/07/06  25.0℃   100mm ※"},
      {"1981/01/06 24:00:00    4.1      0      0", ""},
      {"1981/01/07 24:00:00    4.1", ""},
  };
  for (const Case& c : cases) {
    const std::string line = app::WeatherLine(c.day);
    EXPECT_EQ(U(line), c.line);
    if (line.empty()) continue;
    // The screen reads the year from bytes 1..4 and the precipitation from bytes 19..24.
    EXPECT_EQ(app::WeatherLineYear(line), 1981);
    EXPECT_EQ(app::WeatherLinePrecip(line), static_cast<int>(fw::TextToFloat(std::string(c.day).substr(26, 7))));
  }
}

TEST_F(GoldenResults, WeatherChartWritesTheWeatherLineFile) {
  fs::remove(tmp_.native() + "HarvSim(1990).DAY");  // a missing year is skipped
  QImage img(782, 405, QImage::Format_RGB32);
  app::WeatherChartResult result;
  app::DrawOnImage(img, [&](platform::Canvas& c, int w, int h) {
    result = app::DrawWeatherChart(c, prefix_, S("静岡県　浜松市"), w, h);
  });
  Keep(img, "graph-weather");
  ASSERT_TRUE(result.written) << U(result.error);
  std::vector<std::string> file;
  ASSERT_TRUE(platform::ReadTextLines(app::WeatherLineFileName(prefix_), file));
  EXPECT_EQ(file, result.lines);
  std::string bytes;
  platform::ReadFileBytes(app::WeatherLineFileName(prefix_), bytes);
  EXPECT_NE(bytes.find("\r\n"), std::string::npos);

  // One line per rainy day of the fourteen files, in year and day order.
  std::vector<std::string> expected;
  for (int year = 1981; year <= 1995; ++year) {
    std::vector<std::string> day;
    if (!platform::ReadTextLines(prefix_ + "(" + std::to_string(year) + ").DAY", day)) continue;
    for (size_t n = 4; n < day.size(); ++n) {
      if (fw::TextToFloat(day[n].substr(26, 7)) > 0) expected.push_back(app::WeatherLine(day[n]));
    }
  }
  EXPECT_EQ(result.lines, expected);
  ASSERT_GT(expected.size(), 100u);
  std::set<int> years;
  for (const std::string& l : result.lines) years.insert(app::WeatherLineYear(l));
  EXPECT_EQ(years.count(1990), 0u);
  EXPECT_EQ(years.size(), 14u);
  // Temperature in red (colour 9) and rain in blue (colour 12) are on the chart.
  EXPECT_GT(CountColour(img, Rgb(9)), 500);
  EXPECT_GT(CountColour(img, Rgb(12)), 200);
}

TEST_F(GoldenResults, SavingWritesThePageMetafileOfTheTableSize) {
  struct Case {
    int page, yearNumber, graph;
    bool frequency;
    const char* suffix;
    int w, h;
  };
  const Case cases[] = {
      {4, 0, 2, false, "(4-2).EMF", 350, 360},
      {5, 0, 0, true, "(5).EMF", 340, 300},
      {1, 5, 0, false, "(1-1985).EMF", 700, 210},
  };
  for (const Case& c : cases) {
    app::Screen3Data& data = OnPage(c.page, c.yearNumber, c.graph);
    data.frequencyPanelShown = c.frequency;
    const std::string name = app::MetafileName(prefix_, data);
    EXPECT_EQ(name, prefix_ + c.suffix);
    std::string error;
    ASSERT_TRUE(app::SaveGraphMetafile(name, prefix_, data, &error)) << U(error);
    std::string bytes;
    ASSERT_TRUE(platform::ReadFileBytes(name, bytes));
    auto header = platform::emf::ReadHeader(bytes);
    ASSERT_TRUE(header);
    EXPECT_EQ(platform::emf::FrameSizePixels(*header), (platform::Size{c.w, c.h})) << c.suffix;
    // Played back, the picture holds ink (axes, texts) on the white background.
    QImage img(c.w, c.h, QImage::Format_RGB32);
    img.fill(Qt::gray);
    platform::QtDc dc(img);
    EXPECT_TRUE(platform::PlayEnhMetafile(dc, bytes, platform::Rect{0, 0, c.w, c.h}).ok);
    EXPECT_GT(CountColour(img, Rgb(0)), 200) << c.suffix;
    EXPECT_EQ(At(img, c.w - 2, 2), Rgb(15)) << c.suffix;
  }
  data_.frequencyPanelShown = false;
  // A name with another extension is saved as ".EMF".
  app::Screen3Data& data = OnPage(3);
  ASSERT_TRUE(app::SaveGraphMetafile(tmp_.inside() + "copy.WMF", prefix_, data));
  EXPECT_TRUE(platform::FileExists(tmp_.inside() + "copy.EMF"));
  EXPECT_FALSE(platform::FileExists(tmp_.inside() + "copy.WMF"));
  // A folder that does not exist: an error naming the file, nothing written.
  std::string error;
  EXPECT_FALSE(app::SaveGraphMetafile(tmp_.inside() + "none\\x.EMF", prefix_, data, &error));
  EXPECT_NE(error.find("x.EMF"), std::string::npos);
}

TEST_F(GoldenResults, AnalysisGraphsDrawCheckedYearsAndTheMean) {
  for (int graph = 1; graph <= 4; ++graph) {
    app::Screen3Data& data = OnPage(4, 0, graph);
    data.yearChecked.fill(true);
    auto draw = [&](platform::Canvas& c, int w, int h) { app::DrawAnalysisGraph(c, data, w, h); };
    const QImage all = Draw(350, 360, draw);
    Keep(all, "graph-analysis-" + std::to_string(graph));
    const platform::ColorRef year3 = Rgb(app::YearRowColorNumber(4)), mean = Rgb(app::YearRowColorNumber(17));
    if (graph != 2) {
      EXPECT_GT(CountColour(all, year3), 50) << graph;
      EXPECT_GT(CountColour(all, mean), 100) << graph;
    }
    // Unticking every year leaves only the mean.
    for (int y = 1; y <= 15; ++y) data.yearChecked[y] = false;
    const QImage none = Draw(350, 360, draw);
    if (graph != 2) {
      EXPECT_EQ(CountColour(none, year3), 0) << graph;
      EXPECT_GT(CountColour(none, mean), 100) << graph;
    }
    data.yearChecked.fill(true);
  }
}

TEST_F(GoldenResults, PageImagesForLooking) {
  // Not a check: the pages as the screen shows them, kept in /tmp for a look.
  for (int page : {1, 2, 3}) {
    app::Screen3Data& data = OnPage(page, page == 1 ? 5 : 0);
    Keep(Draw(778, 196, [&](platform::Canvas& c, int w, int h) { app::DrawResultChart(c, data, w, h); }),
         "graph-page" + std::to_string(page));
  }
  app::Screen3Data& data = OnPage(5);
  std::vector<std::string> lines;
  QImage dummy(10, 10, QImage::Format_RGB32);
  app::DrawOnImage(dummy, [&](platform::Canvas& c, int w, int h) {
    lines = app::DrawWeatherChart(c, prefix_, "", w, h).lines;
  });
  app::CountPrecipFrequency(lines, data.frequency);
  data.frequencyYear = 1985;
  const QImage freq = Draw(337, 315, [&](platform::Canvas& c, int w, int h) { app::DrawPrecipFrequency(c, data, w, h); });
  Keep(freq, "graph-frequency");
  EXPECT_GT(CountColour(freq, Rgb(12)), 100);
}

// The ten files of the report set open in LibreOffice (an independent reader of the format).
TEST_F(GoldenResults, IndependentReaderOpensTheReportMetafiles) {
  if (!testsupport::HaveLibreOffice()) GTEST_SKIP() << "soffice is not installed";
  std::vector<std::string> lines;
  QImage dummy(10, 10, QImage::Format_RGB32);
  app::DrawOnImage(dummy, [&](platform::Canvas& c, int w, int h) { lines = app::DrawWeatherChart(c, prefix_, "", w, h).lines; });
  const std::vector<std::string> names = app::ReportMetafileNames(prefix_, data_);
  ASSERT_EQ(names.size(), 10u);
  for (const std::string& name : names) {
    const std::string suffix = name.substr(prefix_.size());
    int page = suffix[1] - '0', yearNumber = 0, graph = 0;
    if (page == 1) yearNumber = std::stoi(suffix.substr(3, 4)) - 1980;
    if (page == 4) graph = suffix[3] - '0';
    app::Screen3Data& data = OnPage(page, yearNumber, graph);
    EXPECT_EQ(app::MetafileName(prefix_, data), name);
    ASSERT_TRUE(app::SaveGraphMetafile(name, prefix_, data));
  }
  std::vector<std::string> metafiles;
  for (const std::string& name : names) metafiles.push_back(fs::path(platform::ToNativePath(name).value()).filename());
  const testsupport::ReaderPictures pictures = testsupport::ConvertWithReader(tmp_.native(), metafiles);
  if (pictures.Collecting()) return;
  ASSERT_EQ(pictures.Error(), "");
  for (size_t k = 0; k < metafiles.size(); ++k) {
    const std::string png = pictures.Png(metafiles[k]);
    QImage img(QString::fromStdString(png));
    ASSERT_FALSE(img.isNull()) << png;
    Keep(img, "lo-" + std::to_string(k));
    int dark = 0;
    for (int y = 0; y < img.height(); ++y) {
      for (int x = 0; x < img.width(); ++x) dark += qGray(img.pixel(x, y)) < 100;
    }
    EXPECT_GT(dark, 100) << png;
  }
}
