// The series-type registry and the palettes: registering twice, unregistering by series or
// function class, each palette applied and cleared, and the palette index in stored charts.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "chart/bar.h"
#include "chart/chart.h"
#include "chart/functions.h"
#include "chart/panel.h"
#include "chart/pie.h"
#include "chart/registry.h"
#include "chart/series_tables.h"
#include "chart/unit.h"
#include "platform/ui.h"
#include "support/test_support.h"

using namespace chart;

namespace {

TEST(SeriesTypes, RegisteringTwiceKeepsOneEntryAndUnregisteringRemovesByEitherClass) {
  ChartLibraryScope scope;
  TPlotSeriesTypes& types = PlotSeriesTypes();
  // The donut registers itself at start-up.
  const TPlotSeriesType* donut = types.Find(&StoredDonutSeries(), nullptr);
  ASSERT_NE(donut, nullptr);
  EXPECT_EQ(donut->description, "Donut");
  EXPECT_EQ(donut->galleryPage, "Extended");
  const int base = types.Count();
  RegisterSeries(&StoredBarSeries(), "Bar", "Standard", 2);
  RegisterSeries(&StoredBarSeries(), "Bar again", "Standard", 2);
  EXPECT_EQ(types.Count(), base + 1);
  // The same series with a function is another entry; unregistering the function class
  // removes only that one.
  RegisterSeriesType(&StoredBarSeries(), &StoredPlotFunction(), "Function", "Functions", 1);
  EXPECT_EQ(types.Count(), base + 2);
  UnregisterSeriesType(&StoredPlotFunction());
  EXPECT_EQ(types.Count(), base + 1);
  EXPECT_NE(types.Find(&StoredBarSeries(), nullptr), nullptr);
  const TStoredClass* list[] = {&StoredBarSeries(), &StoredDonutSeries()};
  UnregisterSeriesList(list);
  EXPECT_EQ(types.Count(), base - 1);
  // Registering makes the class readable from stored descriptions.
  EXPECT_EQ(FindStoredClass("TBarSeries"), &StoredBarSeries());
}

TEST(Palettes, EachPaletteIsAppliedAndClearedAndIndexZeroIsNotStored) {
  ChartLibraryScope scope;
  ASSERT_EQ(ColorPalettes().size(), 10u);
  EXPECT_EQ(ColorPalettes()[9], "Win. XP");
  TChart chart;
  TBarSeries a, b;
  a.SetParentChart(&chart);
  b.SetParentChart(&chart);
  const TColor firstDefault = a.SeriesColor();
  const size_t sizes[10] = {0, 22, 11, 14, 8, 12, 9, 14, 25, 13};
  for (int index = 1; index <= 9; ++index) {
    SCOPED_TRACE(index);
    ApplyChartPalette(chart, index);
    EXPECT_EQ(chart.ColorPaletteIndex(), index);
    ASSERT_EQ(chart.CustomPalette().size(), sizes[index]);
    EXPECT_EQ(a.SeriesColor(), PaletteColors(index)[0]);
    EXPECT_EQ(b.SeriesColor(), PaletteColors(index)[1]);
    EXPECT_NE(WriteComponent(chart).find("ColorPaletteIndex = " + std::to_string(index)), std::string::npos);
  }
  EXPECT_EQ(PaletteColors(1)[0], 0xFF9999u);
  EXPECT_EQ(PaletteColors(8)[24], 0xFF00CCu);
  for (int index : {0, 10, -1}) {
    ApplyChartPalette(chart, index);
    EXPECT_TRUE(chart.CustomPalette().empty());
    EXPECT_EQ(a.SeriesColor(), firstDefault);
  }
  ApplyChartPalette(chart, 0);
  EXPECT_EQ(WriteComponent(chart).find("ColorPaletteIndex"), std::string::npos);
  // A custom list, cut to its count, and cleared with -1.
  const TColor mine[] = {clRed, clGreen, clBlue};
  SetCustomChartPalette(chart, mine, 2);
  EXPECT_EQ(chart.CustomPalette().size(), 2u);
  EXPECT_EQ(b.SeriesColor(), clGreen);
  SetCustomChartPalette(chart, mine, -1);
  EXPECT_TRUE(chart.CustomPalette().empty());
  a.SetParentChart(nullptr);
  b.SetParentChart(nullptr);
}

TEST(Palettes, AStoredPaletteIndexColoursTheSeriesReadAfterIt) {
  ChartLibraryScope scope;
  const std::string text =
      "object Chart1: TChart\r\n  ColorPaletteIndex = 4\r\n  object Series1: TBarSeries\r\n  end\r\nend\r\n";
  std::string error;
  std::unique_ptr<QObject> made(CreateComponent(text, nullptr, &error));
  ASSERT_TRUE(made) << error;
  auto* chart = dynamic_cast<TChart*>(made.get());
  ASSERT_NE(chart, nullptr);
  EXPECT_EQ(chart->ColorPaletteIndex(), 4);
  ASSERT_EQ(chart->SeriesCount(), 1);
  EXPECT_EQ(chart->SeriesAt(0)->SeriesColor(), PaletteColors(4)[0]);
}

// The library shows nothing itself: an error it cannot raise goes to its user's handler, and
// without one only to the standard error stream.
TEST(ChartError, GoesToTheUsersHandlerAndIsNeverShownByTheLibrary) {
  testsupport::FakeUi ui;
  static std::vector<std::string> heard;
  heard.clear();
  const TChartErrorHook previous = SetChartErrorHook(nullptr);
  ReportChartError("Wrong *.drx file format");
  EXPECT_TRUE(ui.shown.empty());
  SetChartErrorHook([](const std::string& message) { heard.push_back(message); });
  ReportChartError("Wrong *.drx file format");
  EXPECT_EQ(heard, (std::vector<std::string>{"Wrong *.drx file format"}));
  EXPECT_TRUE(ui.shown.empty());
  SetChartErrorHook(previous);
  EXPECT_EQ(MaxPixelCoordinate(), 67108863);
}

}  // namespace
