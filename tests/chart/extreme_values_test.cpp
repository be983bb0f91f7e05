// Stored values at the ends of their ranges: a chart whose axis positions, wall sizes, mark
// arrows, legend spacing, rows and position, or HTML font sizes and image sizes hold numbers
// near the integer limits (or 1e300) reads and draws without an overflow. Under the sanitizers
// any overflow is a finding that fails the test run.
#include <gtest/gtest.h>

#include <QImage>
#include <memory>
#include <string>
#include <vector>

#include "chart/html.h"
#include "chart/panel.h"
#include "chart/stream.h"
#include "chart/unit.h"
#include "draw_env.h"
#include "platform/dc_canvas.h"
#include "platform/picture.h"
#include "platform/image_codecs.h"
#include "platform/qt/dc_qt.h"

using namespace chart;

namespace {

// A 3D chart with walls, a bar series with marks, a legend beside (or above) the chart and an
// HTML title; `lines` are added to the chart's own properties.
std::string ChartText(const std::string& lines, const std::string& title) {
  return "object CHAT1: TChart\r\n"
         "  Left = 0\r\n  Top = 0\r\n  Width = 320\r\n  Height = 200\r\n"
         "  View3D = True\r\n"
         "  Title.Text.Strings = (\r\n    '" + title + "')\r\n"
         "  Title.TextFormat = ttfHtml\r\n" + lines +
         "  object Series1: TBarSeries\r\n"
         "    Marks.Visible = True\r\n"
         "    Title = 'Rain'\r\n"
         "    Data = {\r\n"
         "      0004000000000000000000084000000000000000C00000000000001440000000\r\n"
         "      0000000000}\r\n"
         "  end\r\n"
         "end\r\n";
}

}  // namespace

TEST(ExtremeValues, ChartsWithValuesAtTheLimitsDraw) {
  ChartLibraryScope scope;
  // A picture for every image of an HTML text, so that sizes reach the drawing of pictures.
  SetHtmlImageHooks([](const std::string&) { return std::make_unique<platform::TBitmapGraphic>(); },
                    [](const std::string&, std::string& bytes) {
                      bytes = platform::EncodeBmp24(platform::Dib::Filled(6, 4, clRed));
                      return 0;
                    });
  const std::vector<std::string> ints = {"-2147483648", "2147483647", "-2147483647", "1073741824"};
  const std::vector<std::string> floats = {"1e300", "-1e300", "2147483648.0", "-2147483648.0"};
  struct Case {
    std::string property;
    const std::vector<std::string>* values;
    std::string also;  // further lines that make the property count
  };
  const std::vector<Case> cases = {
      {"LeftAxis.StartPosition", &floats, ""},
      {"LeftAxis.EndPosition", &floats, ""},
      {"BottomAxis.StartPosition", &floats, ""},
      {"BottomAxis.EndPosition", &floats, ""},
      {"DepthAxis.StartPosition", &floats, "  DepthAxis.Visible = True\r\n"},
      {"LeftAxis.PositionPercent", &floats, ""},
      {"LeftAxis.ZPosition", &floats, ""},
      {"BottomAxis.PositionPercent", &floats, "  BottomAxis.PositionUnits = muPixels\r\n"},
      {"LeftWall.Size", &ints, ""},
      {"BottomWall.Size", &ints, ""},
      {"BackWall.Size", &ints, ""},
      {"RightWall.Size", &ints, "  RightWall.Visible = True\r\n"},
      {"Legend.VertSpacing", &ints, ""},
      {"Legend.MaxNumRows", &ints, "  Legend.Alignment = laTop\r\n"},
      {"Legend.TopPos", &ints, ""},
      {"Legend.TopPos", &ints, "  Legend.Alignment = laBottom\r\n"},
  };
  QImage image(160, 120, QImage::Format_RGB32);
  const auto draw = [&image](const std::string& text) {
    std::string error;
    std::unique_ptr<QObject> made(CreateComponent(text, nullptr, &error));
    auto* panel = dynamic_cast<TCustomPlotPanel*>(made.get());
    ASSERT_NE(panel, nullptr) << error;
    image.fill(Qt::white);
    platform::QtDc dc(image);
    platform::Canvas canvas(dc);
    panel->DrawToCanvas(canvas, TRect{0, 0, 160, 120});
    // What was read is written and read back the same.
    const std::string written = WriteComponent(*panel);
    std::unique_ptr<QObject> again(CreateComponent(written, nullptr, &error));
    ASSERT_NE(again, nullptr) << error;
    EXPECT_EQ(WriteComponent(*again), written);
  };
  for (const Case& c : cases) {
    for (const std::string& value : *c.values) {
      SCOPED_TRACE(c.property + " = " + value);
      draw(ChartText(c.also + "  " + c.property + " = " + value + "\r\n", "x"));
    }
  }
  for (const std::string& value : ints) {
    SCOPED_TRACE("Marks.ArrowLength = " + value);
    std::string text = ChartText("", "x");
    text.insert(text.find("    Title = 'Rain'"), "    Marks.ArrowLength = " + value + "\r\n");
    draw(text);
  }
  // HTML texts: relative and absolute font sizes, image sizes (also for pictures that do not load).
  for (const std::string& value : ints) {
    for (const std::string& html :
         {"<FONT SIZE=+" + value + ">big</FONT> x", "<FONT SIZE=" + value + ">x</FONT><BIG>y</BIG><SMALL>z</SMALL>",
          "<IMG WIDTH=" + value + " HEIGHT=" + value + " SRC=a.bmp>x<IMG WIDTH=" + value + " SRC=b.bmp>y",
          "<IMG WIDTH=" + value + " HEIGHT=" + value + " SRC=a.none>x<IMG HEIGHT=" + value + " SRC=b.none>y"}) {
      SCOPED_TRACE(html);
      draw(ChartText("", html));
    }
  }
  SetHtmlImageHooks(nullptr, nullptr);
}
