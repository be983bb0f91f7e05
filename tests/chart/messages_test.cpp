// The text tables: counted start-up, the composed texts, and texts whose blanks matter.
#include <gtest/gtest.h>

#include "chart/messages.h"

using namespace chart;

namespace {

int NonEmpty(const std::vector<std::string*>& vars) {
  int n = 0;
  for (const std::string* v : vars) n += v->empty() ? 0 : 1;
  return n;
}

}  // namespace

TEST(ChartMessages, CountedStartupFillsOnceAndTheLastShutdownEmpties) {
  ASSERT_EQ(ChartMessageVariables().size(), 276u);
  ASSERT_EQ(FurtherChartMessageVariables().size(), 223u);
  EXPECT_EQ(NonEmpty(ChartMessageVariables()), 0);

  ChartMessagesStartup();
  EXPECT_EQ(NonEmpty(ChartMessageVariables()), 276);
  MsgAxisTitle = "Achsentitel";  // a translation put in after the start-up
  ChartMessagesStartup();        // an inner start-up does not refill
  EXPECT_EQ(MsgAxisTitle, "Achsentitel");
  ChartMessagesShutdown();  // nor does an inner shut-down empty
  EXPECT_EQ(MsgDefaultFontName, "Arial");
  ChartMessagesShutdown();
  EXPECT_EQ(NonEmpty(ChartMessageVariables()), 0);
  EXPECT_EQ(ChartFileExtension, "");
  ChartMessagesShutdown();  // one too many: ignored
  ChartMessagesStartup();
  EXPECT_EQ(MsgAxisTitle, "Axis Title");
  EXPECT_EQ(ChartFileExtension, "drx");
  ChartMessagesShutdown();

  FurtherChartMessagesStartup();
  EXPECT_EQ(NonEmpty(FurtherChartMessageVariables()), 223);
  FurtherChartMessagesShutdown();
  EXPECT_EQ(NonEmpty(FurtherChartMessageVariables()), 0);
}

TEST(ChartMessages, TextsAsTheLibraryReadsThem) {
  ChartMessagesStartup();
  FurtherChartMessagesStartup();
  EXPECT_EQ(MsgDefaultFontSize, "8");
  EXPECT_EQ(MsgDefaultFontName, "Arial");
  EXPECT_EQ(MsgNativeFilter, "Dravonix files (*.drx)|*.drx");
  EXPECT_EQ(DefaultFileFilter(), "(*.drx)|*.drx");
  EXPECT_EQ(MsgInvalidChartFile, "Invalid Chart in *.drx file");
  EXPECT_EQ(MsgWrongChartFileFormat, "Wrong *.drx file format");
  EXPECT_EQ(MsgEmptyChartFile, "Empty *.drx file");
  EXPECT_EQ(MsgDefaultLogValueFormat, "#.0 \"x10\" E+0");
  EXPECT_EQ(MsgGalleryHorizBar, "Horizontal\rBar");
  EXPECT_EQ(MsgGalleryDonut, "Donut");
  EXPECT_EQ(MsgFunnelSegment, "Segment ");
  EXPECT_EQ(MsgFunnelWithin, " within quota");
  EXPECT_EQ(MsgFunnelBelow, " or more below quota");
  EXPECT_EQ(MsgRotateLabel, "Rotation: %d\xB0 Elevation: %d\xB0");
  // The first and last of each table, so a shifted table shows.
  EXPECT_EQ(MsgTest, "Test...");
  EXPECT_EQ(MsgSubFoot, "SubFoot");
  EXPECT_EQ(*ChartMessageVariables()[1], "Test...");
  EXPECT_EQ(*ChartMessageVariables().back(), "SubFoot");
  EXPECT_EQ(*FurtherChartMessageVariables().front(), "Polar");
  EXPECT_EQ(*FurtherChartMessageVariables().back(), "Data Table");
  FurtherChartMessagesShutdown();
  ChartMessagesShutdown();
}

TEST(ChartMessages, ComposedTextsFollowTheExtensionAtStartup) {
  ChartFileExtension = "abc";
  ChartMessagesStartup();
  EXPECT_EQ(MsgNativeFilter, "Dravonix files (*.abc)|*.abc");
  EXPECT_EQ(MsgEmptyChartFile, "Empty *.abc file");
  ChartMessagesShutdown();
}
