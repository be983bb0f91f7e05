// The text tables: counted start-up, the composed texts, and texts whose blanks matter.
#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

#include "chart/messages.h"

using namespace chart;

namespace {

int NonEmpty(const std::vector<std::string*>& vars) {
  int n = 0;
  for (const std::string* v : vars) n += v->empty() ? 0 : 1;
  return n;
}

// Every text of both tables, in the order of the variables (the first table's owner line left
// out; nullptr: a text this library does not fix).
const char* const kChartTexts[] = {
    "Test...", "First Legend Value must be > 0", "Legend Color Width must be > 0%",
    "No ParentChart to validate DataSource", "No valid DataSource: %s",
    "FillSampleValues NumValues must be > 0", "DateTime Axis cannot be Logarithmic",
    "Logarithmic Axis Min and Max values should be >= 0", "Labels Separation % must be greater than 0",
    "Axis increment must be >= 0", "Axis Minimum Value must be <= Maximum",
    "Axis Maximum Value must be >= Minimum", "Axis Logarithmic Base should be <> 1 and > 0",
    "MaxPointsPerPage must be >= 0", "3D effect percent must be between %d and %d",
    "Circular Series dependences are not allowed", "16k Color or greater required to get better look",
    "%s of %s", "%s\rof %s", "##0.## %", "#,##0.###", "#.0 \"x10\" E+0", "Axis Title", "Axis Labels",
    "Refresh Interval must be between 0 and 60", "Series.ParentChart is not myself!", "Line", "Point", "Area",
    "Bar", "Horizontal\rBar", "Stack", "Pie", "Circled", "Fast Line", "Horizontal\rLine", "Cars", "Phones",
    "Tables", "Monitors", "Lamps", "Keyboards", "Bikes", "Chairs", "Courier New", "Editing %s", "Standard",
    "Extended", "Functions", "E&dit Chart...", "&Print Preview...", "E&xport Chart...", "Custom Axes...",
    "%s: Invalid Editor Class: %s", "%s: has no Editor Dialog", "Arrow", "&Finish", "&Next >", "Gantt",
    "Design", "Prototyping", "Development", "Sales", "Marketing", "Testing", "Manufac.", "Debugging",
    "New Version", "Banking", "Change Series Title", "New Series Title:", "DateTime", "Top Axis", "Bottom Axis",
    "Left Axis", "Right Axis", "Delete %s ?", "DateTime For&mat:", "Default", "Values For&mat:", "Maximum",
    "Minimum", "Desired %s Increment", "Incorrect value. Reason: %s", "Enter [Number of Days] [hh:nn:ss]",
    "Apply Changes ?", "(Selected Series)", "&Refresh Data", "8", "414", "347", "Add", "Subtract", "Multiply",
    "Divide", "High", "Low", "Average", "Shape", "Bubble", "Copy", "(none)", "{ Private declarations }",
    "{ Public declarations }", "Arial", "Pointer size must be greater than zero", "Abo&ut Dravonix...",
    "Additional", "Data Controls", nullptr, "Dataset", "&Dataset:", "Single Record", "&DataSource:", "Summary",
    "Function Period should be >= 0", "Business", "Dravonix Wizard", "Clea&r", "B&rowse...",
    "Are you sure that you want to close the Dravonix Wizard ?", "Field %s does not exist", "Depth Right",
    "Other", "abc", "123", "X", "Y", "Pie", "Bar", "Angle", "Start", "End", "NextTask", "Radius", "EndX",
    "EndY", "Legend", "Title", "Footer", "Period", "Period range", "Calculate %s every:", "Small Dots",
    "Invalid Chart in *.drx file", "Wrong *.drx file format", "Empty *.drx file", "Chart Axes",
    "Chart Axes properties and events", "Chart Walls", "Chart Walls properties and events", "Chart Titles",
    "Chart Titles properties and events", "Chart 3D", "Chart 3D properties and events", "Custom ", "Series",
    "Series...", "Page %d of %d", "%d bytes", "First", "Prior", "Next", "Last", "Insert", "Delete", "Edit",
    "Post", "Cancel", "(all)", "Index", "Text", "as &Bitmap", "Bitmaps (*.bmp)|*.bmp", "as &Metafile",
    "Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf", "Panel property is not set in Export format",
    "Normal", "No Border", "Dotted", "Colors", "Filled", "Marks", "Stairs", "Points", "Height", "Hollow",
    "Point 2D", "Triangle", "Star", "Circle", "Down Tri.", "Cross", "Diamond", "No Lines", "Stack 100%",
    "Pyramid", "Ellipse", "Inv. Pyramid", "Sides", "Side All", "Patterns", "Exploded", "Shadow", "Semi Pie",
    "Rectangle", "Vert.Line", "Horiz.Line", "Line", "Cube", "Diag.Cross", "Can not find Temp folder",
    "Can not create Temp file", "Can not email Dravonix. Mapi Error: %d",
    "Series Delete: ValueIndex %d out of bounds (0 to %d).", "No Series selected",
    "Error code: %d downloading Chart from URL: %s", "Error code: %d downloading Series data from URL: %s",
    "as &JPEG", "JPEG files (*.jpg)|*.jpg", "as &GIF", "GIF files (*.gif)|*.gif", "as &PNG",
    "PNG files (*.png)|*.png", "as PC&X", "PCX files (*.pcx)|*.pcx", "as &VML (HTM)", "VML files (*.htm)|*.htm",
    "&Language...", "Gradient", "Do you want to save %s?", "Dravonix files (*.drx)|*.drx", "Property", "Value",
    "Yes", "No", "(image)", "y = f(x)", "as &PDF", "PDF files (*.pdf)|*.pdf", "as PostScript",
    "PostScript files (*.eps)|*.eps", "Horizontal\rArea", "Self Stacked", "Dark Border",
    "Select database folder", "&Alias:", "&Connection:", "&Apply", "Add new group", "Change group name",
    "Group name:", "Median", "Mode", "&Options...", "Depth Top", "2D", "Outline",
    "Space delimited text files (*.txt)|*.txt", "Tab delimited text files (*.txt)|*.txt",
    "Comma delimited text files (*.csv)|*.csv", "Colon delimited text files (*.txt)|*.txt",
    "Custom delimited text files (*.txt)|*.txt", "XML files (*.xml)|*.xml", "HTML files (*.htm)|*.htm",
    "Microsoft Excel files (*.xls)|*.xls", "Ortho Right", "Ortho Left", "3D Front", "3D Right", "3D Left",
    "as &SVG", "SVG files (*.svg)|*.svg", "SubTitle", "SubFoot",
};
const char* const kFurtherChartTexts[] = {
    "Polar", "Candle", "Volume", "Surface", "Contour", "Bezier", "Point 3D", "Radar", "Donut", "Cursor",
    "Bar 3D", "Big Candle", "Line Point", "Histogram", "Water Fall", "Wind Rose", "Clock", "Color Grid",
    "BoxPlot", "Horizontal\rBoxPlot", "Bar Join", "Smith", "Pyramid", "Map", "VolumePipe",
    "Polynomial degree must be between 1 and 20", "Answer Vector index must be between 1 and %d",
    "Cannot process fitting", "Period must be >= 0", "ExpAverage Weight must be between 0 and 1", "Error Bar",
    "Error", "High-Low", "Momentum", "Momentum\rDivision", "Exponential\rAverage", "Moving\rAverage",
    "Exp.Moving\rAverage", "R.S.I.", "Curve Fitting", "Trend", "Exponential\rTrend", "Logarithmic\rTrend",
    "Cumulative", "Standard\rDeviation", "Bollinger\rbands", "Root Mean\rSquare", "MACD", "Stochastic", "ADX",
    "Count", "Open Dravonix...", "Save Dravonix...", "Dravonix Pro files", "Other", "Stats",
    "Cannot find Series editor Form: %s", "Date", "Open", "High", "Low", "Close", "Offset", "StdError",
    "Grid 3D", "Number of Bezier points should be > 1", "Normal", "Edit", "Print", "Copy", "Save", "3D",
    "Rotation: %d\xB0 Elevation: %d\xB0", "Rotate", "Horiz.Offset: %d Vert.Offset: %d", "Move", "Zoom: %d %%",
    "Zoom", "3D: %d %%", "Depth", "Chart", "Panel", "Drag %s to Rotate", "Drag %s to Move", "Drag %s to Zoom",
    "Drag %s to resize 3D", "Drag Left button to Zoom, Right button to Scroll",
    "Drag a Pie Slice to Explode it", "Slice: %d Exploded: %d %%", "Number of points must be >= 4",
    "All colinear data points", "Similar XYZ points. Cannot calculate triangles.", "Triangle Surf.",
    "All Series", "Edit", "Financial", "Cursor", "Drag Marks", "Axis Arrows", "Draw Line", "Nearest Point",
    "Color Band", "Color Line", "Rotate", "Image", "Mark Tips", "Annotation", "Can not delete ancestor",
    "Load...", "Chart", "Chart Series", "&3D", "Switch 2D / 3D", "&Active", "Show / Hide Series", "Edit Chart",
    "&Edit...", "Copy to Clipboard", "&Copy", "Print preview Chart", "&Print...", "Show / Hide Axes", "&Axes",
    "Show / Hide Grids", "&Grids", "Show / Hide Legend", "&Legend", "Edit Series", "Show / Hide Series Marks",
    "&Marks", "Save Chart", "&Save...", "Bar", "No Open", "No Close", "No High", "No Low", "Color Range",
    "Wireframe", "Dot Frame", "Positions", "No Grid", "No Point", "No Line", "Labels", "No Circle", "Lines",
    "Border", "Resistance", "Reactance", "Column", "Separator", "Segment ", "Funnel", "0.00 %", "Exceeds quota",
    " within quota", " or more below quota", "Calendar", "DeltaPoint", "ImagePoint", "ImageBar",
    "SeriesText: Field index should be greater than zero.", "Origin", "Transparency", "Box", "ExtrOut",
    "MildOut", "Page Number", "Text File", "Drag Point", "OpportunityValues", "QuoteValues", "Smoothing",
    "Cross Points", "3D Grid Transpose", "Compression", "Extra Legend", "Close Location\rValue",
    "On Balance\rVolume", "Commodity\rChannel Index", "Volume\rOscillator", "Series Animation",
    "Point & Figure", "Up", "Down", "Gantt Drag", "XML file", "Grid Band", "Performance", "Gauge", "Gauges",
    "EndZ", "Vector 3D", "3D", "Tower", "Single Color", "Cover", "Cone", "Pie Slices", "Stop", "Execute !",
    "Themes", "2D Lighting", "Current", "Correlation", "Variance", "Bubble 3D", "Horizontal\rHistogram",
    "Perimeter", "Surface Nearest", "Axis Scroll", "Rectangle", "Polar Bar", "Wap Bitmap",
    "Wap Bitmaps (*.wbmp)|*.wbmp", "Clip Series", "Series Band", "Facts", "Downsampling", "Selector",
    "Legend Scrollbar", "Data Table",
};

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

// Each table holds its texts in order: a text missing, added or moved shows at its index.
TEST(ChartMessages, BothTablesHoldEveryTextInOrder) {
  ChartMessagesStartup();
  FurtherChartMessagesStartup();
  const std::vector<std::string*> first = ChartMessageVariables(), further = FurtherChartMessageVariables();
  ASSERT_EQ(first.size(), std::size(kChartTexts) + 1);
  for (size_t k = 0; k < std::size(kChartTexts); ++k) {
    if (kChartTexts[k]) {
      EXPECT_EQ(*first[k + 1], kChartTexts[k]) << "text " << k + 1;
    }
  }
  ASSERT_EQ(further.size(), std::size(kFurtherChartTexts));
  for (size_t k = 0; k < std::size(kFurtherChartTexts); ++k) EXPECT_EQ(*further[k], kFurtherChartTexts[k]) << "text " << k;
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
