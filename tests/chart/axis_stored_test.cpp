// Axes in stored descriptions: the weather chart's fixed axes and titles read and written
// again, what is left out at its default, and custom axes as a collection.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "chart/axis_panel.h"
#include "chart/stream.h"
#include "chart/unit.h"
#include "platform/cp932.h"

using namespace chart;

namespace {

class AxisStored : public ::testing::Test {
 protected:
  ChartLibraryScope scope_;
};

std::unique_ptr<TCustomAxisPanel> Read(const std::string& text) {
  std::string error;
  std::unique_ptr<QObject> made(CreateComponent(text, nullptr, &error));
  EXPECT_TRUE(made) << error;
  auto* chart = dynamic_cast<TCustomAxisPanel*>(made.get());
  if (chart) made.release();
  return std::unique_ptr<TCustomAxisPanel>(chart);
}

}  // namespace

TEST_F(AxisStored, FixedAxesTitlesAndCustomAxesReadAndWriteAgain) {
  const std::string text = platform::J(
      "object CHAT2: TCustomAxisPanel\r\n"
      "  Left = 0\r\n"
      "  Top = 0\r\n"
      "  Width = 728\r\n"
      "  Height = 300\r\n"
      "  BottomAxis.DateTimeFormat = 'M''月'''\r\n"
      "  BottomAxis.LabelsAngle = 90\r\n"
      "  CustomAxes = <\r\n"
      "    item\r\n"
      "      Automatic = False\r\n"
      "      AutomaticMaximum = False\r\n"
      "      AutomaticMinimum = False\r\n"
      "      Horizontal = True\r\n"
      "      Increment = 5.0\r\n"
      "      Maximum = 30.0\r\n"
      "      Minimum = 0.0\r\n"
      "      StartPosition = 50.0\r\n"
      "    end>\r\n"
      "  LeftAxis.Automatic = False\r\n"
      "  LeftAxis.AutomaticMaximum = False\r\n"
      "  LeftAxis.AutomaticMinimum = False\r\n"
      "  LeftAxis.Increment = 10.0\r\n"
      "  LeftAxis.Maximum = 40.0\r\n"
      "  LeftAxis.Minimum = -20.0\r\n"
      "  LeftAxis.Title.Caption = '気温（℃）'\r\n"
      "  RightAxis.Automatic = False\r\n"
      "  RightAxis.AutomaticMaximum = False\r\n"
      "  RightAxis.AutomaticMinimum = False\r\n"
      "  RightAxis.Grid.Visible = False\r\n"
      "  RightAxis.Increment = 1000.0\r\n"
      "  RightAxis.Maximum = 4000.0\r\n"
      "  RightAxis.Minimum = -2000.0\r\n"
      "  View3DWalls = False\r\n"
      "end\r\n");
  std::unique_ptr<TCustomAxisPanel> chart = Read(text);
  ASSERT_TRUE(chart);
  // Read in this order the ends pass through values the order checks would refuse.
  EXPECT_EQ(chart->LeftAxis()->Minimum(), -20);
  EXPECT_EQ(chart->LeftAxis()->Maximum(), 40);
  EXPECT_EQ(chart->LeftAxis()->Increment(), 10);
  EXPECT_FALSE(chart->LeftAxis()->Automatic());
  EXPECT_EQ(chart->LeftAxis()->Title().Caption(), platform::J("気温（℃）"));
  EXPECT_EQ(chart->LeftAxis()->Title().Angle(), 90);
  EXPECT_EQ(chart->RightAxis()->Minimum(), -2000);
  EXPECT_FALSE(chart->RightAxis()->Grid().Visible());
  EXPECT_EQ(chart->BottomAxis()->DateTimeFormat(), platform::J("M'月'"));
  EXPECT_EQ(chart->BottomAxis()->LabelsAngle(), 90);
  EXPECT_FALSE(chart->View3DWalls());
  ASSERT_EQ(chart->CustomAxes().Count(), 1);
  const TChartAxis& custom = *chart->CustomAxes().Axis(0);
  EXPECT_TRUE(custom.Horizontal());
  EXPECT_EQ(custom.Maximum(), 30);
  EXPECT_EQ(custom.StartPosition(), 50);
  EXPECT_EQ(chart->Axes().Count(), 7);

  const std::string written = WriteComponent(*chart);
  EXPECT_EQ(written, text);
  EXPECT_EQ(WriteComponent(*Read(written)), text);
}

TEST_F(AxisStored, DefaultsAreLeftOut) {
  TCustomAxisPanel chart;
  chart.setObjectName("Chart1");
  const std::string plain = WriteComponent(chart);
  EXPECT_EQ(plain.find("Axis."), std::string::npos) << plain;
  // An automatic axis keeps its shown ends to itself; a fixed one writes them even at 0.
  chart.LeftAxis()->SetMinMax(0, 10);
  chart.RightAxis()->SetZPosition(50);
  chart.DepthAxis()->SetVisible(true);
  chart.TopAxis()->Title().SetAngle(0);
  const std::string written = WriteComponent(chart);
  EXPECT_NE(written.find("LeftAxis.Minimum = 0.0\r\n"), std::string::npos) << written;
  EXPECT_NE(written.find("RightAxis.ZPosition = 50"), std::string::npos);
  EXPECT_NE(written.find("DepthAxis.Visible = True"), std::string::npos);
  EXPECT_EQ(written.find("TopAxis"), std::string::npos);
  EXPECT_EQ(written.find("CustomAxes"), std::string::npos);
}

// An axis whose description turns an end off and then Automatic on is drawn automatic at both
// ends; it writes a description that reads back the same.
TEST_F(AxisStored, AutomaticTurnedOnAfterAnEndWasTurnedOffWritesWhatReadsBack) {
  const std::string text =
      "object CHAT2: TCustomAxisPanel\r\n"
      "  LeftAxis.Automatic = False\r\n"
      "  LeftAxis.AutomaticMaximum = False\r\n"
      "  LeftAxis.Automatic = True\r\n"
      "end\r\n";
  auto chart = Read(text);
  ASSERT_TRUE(chart);
  EXPECT_TRUE(chart->LeftAxis()->Automatic());
  EXPECT_TRUE(chart->LeftAxis()->AutomaticMaximum());
  const std::string written = WriteComponent(*chart);
  auto again = Read(written);
  ASSERT_TRUE(again);
  EXPECT_EQ(WriteComponent(*again), written);
  EXPECT_TRUE(again->LeftAxis()->Automatic());
}
