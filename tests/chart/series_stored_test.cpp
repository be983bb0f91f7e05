// Series in stored descriptions: the program's "Data" block inside a chart, the extra
// properties, sources and custom axes found by name after reading, the obsolete Multiplier,
// and a damaged block refusing the description.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "chart/axis_panel.h"
#include "chart/functions.h"
#include "chart/panel.h"
#include "chart/series.h"
#include "chart/stream.h"
#include "chart/unit.h"
#include "platform/cp932.h"

using namespace chart;

namespace {

class SeriesStoredTest : public ::testing::Test {
 protected:
  ChartLibraryScope scope_;
};

// The bar series of a weather chart: 12 months with a colour and a label each (flags 6).
const char* const kMonthChart =
    "object CHAT1: TCustomAxisPanel\r\n"
    "  Left = 0\r\n"
    "  Top = 0\r\n"
    "  Width = 728\r\n"
    "  Height = 300\r\n"
    "  object Series1: TChartSeries\r\n"
    "    SeriesColor = clRed\r\n"
    "    XValues.Name = 'X'\r\n"
    "    XValues.Order = loAscending\r\n"
    "    XValues.Multiplier = 1.000000000000000000\r\n"
    "    YValues.Name = 'Bar'\r\n"
    "    YValues.Order = loNone\r\n"
    "    Data = {\r\n"
    "      060C00000000000000000000000000FF000482508C8E000000000000F83F0000\r\n"
    "      FF000482518C8E00000000000008400000FF000482528C8E0000000000001240\r\n"
    "      0000FF000482538C8E00000000000018400000FF000482548C8E000000000000\r\n"
    "      1E400000FF000482558C8E00000000000022400000FF000482568C8E00000000\r\n"
    "      000025400000FF000482578C8E00000000000028400000FF000482588C8E0000\r\n"
    "      000000002B400000FF00068250824F8C8E0000000000002E400000FF00068250\r\n"
    "      82508C8E00000000008030400000FF0006825082518C8E}\r\n"
    "    Identifier = 'rain'\r\n"
    "    Style = 69\r\n"
    "  end\r\n"
    "end\r\n";

std::string Error(const std::string& text, QObject& root) {
  std::string error;
  EXPECT_FALSE(ReadComponent(text, root, &error));
  return error;
}

std::string gHookMessage;
void RememberMessage(const std::string& message) { gHookMessage = message; }

}  // namespace

TEST_F(SeriesStoredTest, TheProgramsChartReadsAndWritesItsSeries) {
  std::string error;
  std::unique_ptr<QObject> made(CreateComponent(kMonthChart, nullptr, &error));
  ASSERT_TRUE(made) << error;
  auto* chart = dynamic_cast<TCustomAxisPanel*>(made.get());
  ASSERT_TRUE(chart);
  ASSERT_EQ(chart->SeriesCount(), 1);
  TChartSeries* s = chart->SeriesAt(0);
  EXPECT_EQ(s->Name(), "Series1");
  ASSERT_EQ(s->PointCount(), 12);
  EXPECT_EQ(s->DataBytes().size(), 215u);
  for (int i = 0; i < 12; ++i) EXPECT_EQ(s->XValue(i), i);
  EXPECT_EQ(s->XLabel(0), platform::J("１月"));
  EXPECT_EQ(s->XLabel(11), platform::J("１２月"));
  EXPECT_EQ(s->ColorOfPoint(3), clBlue);
  EXPECT_EQ(s->SeriesColor(), clRed);
  // The colour the description names is the series' own, though it is also the palette's first.
  EXPECT_TRUE(s->IsSeriesColorStored());
  EXPECT_EQ(s->YValues().Name(), "Bar");
  EXPECT_EQ(s->Identifier(), "rain");
  EXPECT_EQ(s->Style(), 5);  // six bits
  EXPECT_TRUE(s->ManualData());

  const std::string written = WriteComponent(*chart);
  EXPECT_NE(written.find("Data = {"), std::string::npos);
  EXPECT_NE(written.find("SeriesColor = clRed"), std::string::npos);
  EXPECT_NE(written.find("Identifier = 'rain'"), std::string::npos);
  EXPECT_NE(written.find("Style = 5"), std::string::npos);
  EXPECT_EQ(written.find("Multiplier"), std::string::npos);
  EXPECT_EQ(written.find("DataSources"), std::string::npos);
  std::unique_ptr<QObject> again(CreateComponent(written, nullptr, &error));
  ASSERT_TRUE(again) << error;
  EXPECT_EQ(WriteComponent(*again), written);
  EXPECT_EQ(dynamic_cast<TCustomAxisPanel*>(again.get())->SeriesAt(0)->DataBytes(), s->DataBytes());
}

TEST_F(SeriesStoredTest, SourcesFunctionsAndCustomAxesAreFoundByNameAfterReading) {
  TCustomAxisPanel chart;
  chart.setObjectName("Chart1");
  auto* a = new TChartSeries(&chart);
  a->SetName("A");
  a->AddY(1);
  a->AddY(3);
  auto* b = new TChartSeries(&chart);
  b->SetName("B");
  b->AddY(5);
  auto* mean = new TChartSeries(&chart);
  mean->SetName("Mean");
  auto* copy = new TChartSeries(&chart);
  copy->SetName("Copy");
  for (TChartSeries* s : {a, b, mean, copy}) s->SetParentChart(&chart);
  auto* f = new TPlotFunction(mean);
  f->SetPeriod(2);
  mean->SetFunction(f);
  mean->AddDataSource(a);
  mean->AddDataSource(b);
  copy->SetDataSource(b);
  auto* axis = new TChartAxis(&chart, false);
  chart.CustomAxes().Add(axis);
  copy->SetCustomVertAxis(axis);
  TSeriesGroup& group = chart.SeriesList().Groups().Add();
  group.SetName("Sources");
  group.Series().Add(a);
  group.Series().Add(b);
  b->SetActive(false);
  chart.SetMaxPointsPerPage(1);
  chart.SetPage(2);  // read before the series that make the second page

  const std::string text = WriteComponent(chart);
  EXPECT_NE(text.find("DataSources = (\r\n      'A'\r\n      'B')"), std::string::npos) << text;
  EXPECT_NE(text.find("DataSource = B"), std::string::npos);
  EXPECT_NE(text.find("CustomVertAxis = 0"), std::string::npos);
  EXPECT_NE(text.find("object TPlotFunction"), std::string::npos);
  EXPECT_EQ(text.find("Data = {", text.find("object Copy")), std::string::npos);  // fed, not stored

  TCustomAxisPanel read;
  read.CustomAxes().Add(new TChartAxis(&read, false));
  std::string error;
  ASSERT_TRUE(ReadComponent(text, read, &error)) << error;
  ASSERT_EQ(read.SeriesCount(), 4);
  TChartSeries* readMean = read.SeriesAt(2);
  TChartSeries* readCopy = read.SeriesAt(3);
  EXPECT_EQ(readMean->DataSources().Count(), 2);
  ASSERT_TRUE(readMean->FunctionType());
  EXPECT_EQ(readMean->FunctionType()->Period(), 2);
  EXPECT_EQ(readCopy->DataSource(), read.SeriesAt(1));
  EXPECT_EQ(readCopy->PointCount(), 1);
  EXPECT_EQ(readCopy->GetVertAxis(), read.CustomAxes().Axis(0));
  ASSERT_EQ(read.SeriesList().Groups().Count(), 1);
  EXPECT_EQ(read.SeriesList().Groups().Group(0).Series().Count(), 2);
  EXPECT_EQ(read.SeriesList().Groups().Group(0).Active(), gaSome);
  EXPECT_EQ(read.Page(), 2);
  EXPECT_EQ(WriteComponent(read), text);
}

TEST_F(SeriesStoredTest, ObsoleteMultiplierAndDamagedDataBlocks) {
  const TChartErrorHook previous = SetChartErrorHook(RememberMessage);
  gHookMessage.clear();
  std::string text = kMonthChart;
  text.replace(text.find("1.000000000000000000"), 20, "2.5");
  TCustomAxisPanel chart;
  std::string error;
  ASSERT_TRUE(ReadComponent(text, chart, &error)) << error;
  EXPECT_EQ(gHookMessage,
            "Error: Multiplier property is obsolete.\rModify PlotDefs.inc (enable Multiplier) and recompile.");
  EXPECT_EQ(chart.SeriesAt(0)->PointCount(), 12);
  SetChartErrorHook(previous);

  // The block cut short after its first point.
  std::string cut = kMonthChart;
  cut.replace(cut.find("\r\n      ", cut.find("Data = {") + 12), std::string::npos, "}\r\n  end\r\nend\r\n");
  TCustomAxisPanel other;
  const std::string message = Error(cut, other);
  EXPECT_NE(message.find("Wrong *.drx file format"), std::string::npos) << message;
  EXPECT_NE(message.find("13"), std::string::npos) << message;  // the line of "Data"
}

TEST_F(SeriesStoredTest, AChartHoldsSeriesAndSourcesAndASeriesItsFunction) {
  const std::string kHeader = "object C: TCustomAxisPanel\r\n";
  const struct {
    const char* children;
    const char* refusal;  // empty: read
  } kCases[] = {
      {"  object S: TChartSeries\r\n    object T: TChartSeries\r\n    end\r\n  end\r\n",
       "a series holds no TChartSeries"},
      {"  object F: TPlotFunction\r\n  end\r\n", "a chart holds no TPlotFunction"},
      {"  object S: TChartSeries\r\n  end\r\n  object P: TPlotSeriesSource\r\n    Series = S\r\n  end\r\n", ""},
  };
  for (const auto& c : kCases) {
    TCustomAxisPanel chart;
    std::string error;
    const bool read = ReadComponent(kHeader + c.children + "end\r\n", chart, &error);
    EXPECT_EQ(read, std::string(c.refusal).empty()) << c.children;
    if (!read) {
      EXPECT_NE(error.find(c.refusal), std::string::npos) << error;
    }
  }
  TCustomAxisPanel chart;
  ASSERT_TRUE(ReadComponent(kHeader + kCases[2].children + "end\r\n", chart));
  ASSERT_EQ(chart.SeriesCount(), 1);
  EXPECT_TRUE(dynamic_cast<TPlotSeriesSource*>(chart.SeriesAt(0)->DataSource()));
  const std::string text = WriteComponent(chart);
  EXPECT_NE(text.find("object P: TPlotSeriesSource\r\n    Series = S\r\n"), std::string::npos) << text;
}
