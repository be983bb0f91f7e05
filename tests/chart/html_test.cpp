// The HTML text renderer: runs, line breaks, font and style changes with their stacks, colours,
// entities, centring, rule and images, measuring, and its errors.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "chart/canvas3d.h"
#include "chart/html.h"
#include "chart/unit.h"
#include "draw_env.h"
#include "platform/dc_canvas.h"
#include "platform/dc_trace.h"
#include "platform/image_codecs.h"
#include "platform/qt/dc_qt.h"

using namespace chart;

namespace {

// A text run as the device context received it, with the font and colour in use.
struct TextRun {
  int x = 0, y = 0;
  std::string text;
  int height = 0, weight = 0, italic = 0;
  unsigned color = 0;
};

class Html : public ::testing::Test {
 protected:
  Html() : canvas_(dc_) {
    c_.SetBufferedDisplay(false);
    c_.BeginFrame(&canvas_, nullptr, clWhite, false, TRect{0, 0, 400, 300});
    c_.ResetDrawingState();
    h_ = c_.TextHeightW();
  }

  std::vector<TextRun> Draw(const std::string& text, int x = 10, int y = 20) {
    dc_.log.clear();
    DrawHtmlText(c_, x, y, text);
    std::vector<TextRun> runs;
    TextRun state;
    for (const std::string& line : dc_.log) {
      int v = 0;
      if (line.rfind("SelectFont", 0) == 0) {
        std::sscanf(std::strstr(line.c_str(), "height=") + 7, "%d", &state.height);
        std::sscanf(std::strstr(line.c_str(), "weight=") + 7, "%d", &state.weight);
        std::sscanf(std::strstr(line.c_str(), "italic=") + 7, "%d", &state.italic);
      } else if (line.rfind("SetTextColor ", 0) == 0) {
        std::sscanf(line.c_str() + 13, "%x", &state.color);
      } else if (line.rfind("ExtTextOut ", 0) == 0) {
        TextRun r = state;
        std::sscanf(line.c_str() + 11, "%d,%d", &r.x, &r.y);
        const size_t q = line.find('"');
        r.text = line.substr(q + 1, line.rfind('"') - q - 1);
        runs.push_back(r);
        (void)v;
      }
    }
    return runs;
  }

  ChartLibraryScope scope_;
  platform::TraceDc dc_;
  platform::Canvas canvas_;
  TPlotCanvas3D c_;
  int h_ = 0;
};

}  // namespace

TEST_F(Html, LineBreaksAndEntities) {
  std::vector<TextRun> runs = Draw("a<BR>b");
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].y, 20);
  EXPECT_EQ(runs[1].y, 20 + 2 * h_);  // two line heights below
  EXPECT_EQ(runs[1].x, 10);
  runs = Draw("a&lt;b &amp;lt; &quot;&gt;");
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0].text, "a<b &lt; \">");
  // 210,000 entities in one run are replaced in one pass per entity.
  std::string many, plain;
  for (int k = 0; k < 70000; ++k) {
    many += "&lt;&amp;lt;&quot;";
    plain += "<&lt;\"";
  }
  runs = Draw(many);
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0].text, plain);
  // A run ending in CR LF starts the next one at the left margin, one line lower.
  runs = Draw("one\r\n<B>two</B>");
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].text, "one");
  EXPECT_EQ(runs[1].x, 10);
  EXPECT_EQ(runs[1].y, 20 + h_);
  // Tags are matched in any case; closing tags of BIG and the headings are text.
  runs = Draw("<br>x</BIG>");
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[1].text, "</BIG>");
}

TEST_F(Html, StylesAndTheGenericClose) {
  const int normalHeight = c_.Font().GetLogFont().height;
  // A bold tag closed by </>: the tag stack gives "<B>".
  std::vector<TextRun> runs = Draw("<B>x</>y");
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].weight, platform::FW_BOLD);
  EXPECT_EQ(runs[1].weight, platform::FW_NORMAL);
  // BIG and </>: the font stack restores the size.
  runs = Draw("<BIG>x</>y");
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_LT(runs[0].height, normalHeight);  // larger em (negative heights)
  EXPECT_EQ(runs[1].height, normalHeight);
  // Bold italic, BIG, </>: back to bold italic at the old size.
  runs = Draw("<B><I>x<BIG>y</>z");
  ASSERT_EQ(runs.size(), 3u);
  EXPECT_LT(runs[1].height, normalHeight);
  EXPECT_EQ(runs[2].height, normalHeight);
  EXPECT_EQ(runs[2].weight, platform::FW_BOLD);
  EXPECT_EQ(runs[2].italic, 1);
  // </> with nothing open is ignored.
  runs = Draw("</>x</>");
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0].text, "x");
  // The canvas font is the same after a text that left a tag open.
  Draw("<B><BIG>open");
  EXPECT_EQ(c_.Font().GetLogFont().height, normalHeight);
  EXPECT_EQ(c_.Font().Style(), 0);
  // Each text starts with empty stacks: "</>" cannot close the previous text's tags.
  Draw("<I>left open");
  runs = Draw("<U>u</>v");
  EXPECT_EQ(runs[1].italic, 0);
}

TEST_F(Html, FontAttributesAndColours) {
  std::vector<TextRun> runs = Draw("<FONT COLOR=#FF0000>x</FONT>y");
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].color, 0x0000FFu);  // COLORREF of red
  EXPECT_EQ(runs[1].color, 0x000000u);
  const struct {
    const char* value;
    unsigned color;
  } colours[] = {{"red", 0x0000FF}, {"Lime", 0x00FF00}, {"clBlue", 0xFF0000}, {"#00ff80", 0x80FF00}, {"255", 0x0000FF}};
  for (const auto& c : colours) {
    runs = Draw(std::string("<FONT COLOR=") + c.value + ">x");
    ASSERT_EQ(runs.size(), 1u) << c.value;
    EXPECT_EQ(runs[0].color, c.color) << c.value;
  }
  // Quoted names with spaces, relative sizes, weights.
  const int before = c_.Font().Size();
  Draw("<FONT NAME=\"Courier New\" SIZE=+4 WEIGHT=\"BOLD, ITALIC\">x");
  runs = Draw("<FONT NAME=\"Courier New\" SIZE=+4 WEIGHT=\"BOLD, ITALIC\">x");
  EXPECT_EQ(runs[0].weight, platform::FW_BOLD);
  EXPECT_EQ(runs[0].italic, 1);
  bool courier = false;
  for (const std::string& line : dc_.Lines("SelectFont")) courier = courier || line.find("\"Courier New\"") != std::string::npos;
  EXPECT_TRUE(courier);
  EXPECT_EQ(c_.Font().Size(), before);
  runs = Draw("<B><FONT WEIGHT=NORMAL>x</FONT>y");
  EXPECT_EQ(runs[0].weight, platform::FW_NORMAL);
  EXPECT_EQ(runs[1].weight, platform::FW_BOLD);
}

TEST_F(Html, Errors) {
  const struct {
    const char* text;
    bool parser;  // HtmlParserException (else another exception)
    const char* message;
  } cases[] = {
      {"a<B", true, "Missing > at B"},
      {"<FONT COLOR=#FF>x", true, "#FF"},
      {"<FONT COLOR=#GG0000>x", true, "#GG0000"},
      {"<FONT COLOR=mauve>x", true, "mauve"},
      {"<FONT SIZE=big>x", true, "big"},
      {"<IMG SRC=a.bmp WIDTH=wide>", true, "wide"},
      {"<FONT FACE=Arial>x", false, "Unknown field in FONT: FACE"},
      {"<FONT WEIGHT=HEAVY>x", false, "Unknown field in FONT WEIGHT=HEAVY"},
  };
  for (const auto& c : cases) {
    try {
      Draw(c.text);
      ADD_FAILURE() << c.text << " raised nothing";
    } catch (const HtmlParserException& e) {
      EXPECT_TRUE(c.parser) << c.text;
      EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << c.text << ": " << e.what();
    } catch (const std::exception& e) {
      EXPECT_FALSE(c.parser) << c.text;
      EXPECT_EQ(std::string(e.what()), c.message) << c.text;
    }
  }
  // A tag of 200,000 "=" signs without a space is read in one pass up to its first unknown field.
  std::string chain = "<FONT SIZE=12 A";
  for (int k = 0; k < 200000; ++k) chain += "=B";
  chain += ">x";
  try {
    Draw(chain);
    ADD_FAILURE() << "a chain of fields raised nothing";
  } catch (const std::exception& e) {
    EXPECT_EQ(std::string(e.what()), "Unknown field in FONT: A");
  }
}

TEST_F(Html, CentringSubscriptsAndRule) {
  std::vector<TextRun> runs = Draw("<CENTER>mid</CENTER>");
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0].x, 200 - c_.TextWidth("mid") / 2);
  const int normalHeight = c_.Font().GetLogFont().height;
  runs = Draw("a<SUB>2</SUB>b");
  ASSERT_EQ(runs.size(), 3u);
  EXPECT_GT(runs[1].y, runs[0].y);
  EXPECT_GT(runs[1].height, normalHeight);  // half the size (negative heights)
  EXPECT_EQ(runs[2].height, normalHeight);
  runs = Draw("a<SUPER>2</SUPER>b");
  ASSERT_EQ(runs.size(), 3u);
  EXPECT_GT(runs[1].height, normalHeight);
  EXPECT_EQ(runs[2].height, normalHeight);
  runs = Draw("<HR>x");
  EXPECT_TRUE(dc_.Has("MoveTo 10,20"));
  EXPECT_TRUE(dc_.Has("LineTo 110,20"));
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_GT(runs[0].y, 20);
}

TEST_F(Html, Images) {
  // Without the application's hooks: a crossed placeholder of 40 x 40; the pen stays.
  std::vector<TextRun> runs = Draw("<IMG SRC=\"pic.bmp\">x");
  EXPECT_TRUE(dc_.Has("Rectangle 10,20,50,60"));
  EXPECT_TRUE(dc_.Has("LineTo 50,60"));
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0].x, 10);
  Draw("<IMG WIDTH=10>");
  EXPECT_FALSE(dc_.Has("Rectangle"));  // no source, nothing
  // With hooks: the picture is loaded and drawn, the pen moves past it.
  std::string asked;
  SetHtmlImageHooks(
      [&](const std::string& ext) -> std::unique_ptr<platform::TGraphic> {
        asked = ext;
        if (ext != ".BMP") return nullptr;
        return std::make_unique<platform::TBitmapGraphic>();
      },
      [](const std::string& source, std::string& bytes) {
        if (source != "pic.bmp") return 1;
        bytes = platform::EncodeBmp24(platform::Dib::Filled(6, 4, clRed));
        return 0;
      });
  runs = Draw("<IMG SRC=\"pic.bmp\">x");
  EXPECT_EQ(asked, ".BMP");
  EXPECT_TRUE(dc_.Has("StretchDIBits 10,20,16,24"));
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0].x, 16);
  Draw("<IMG SRC=pic.bmp WIDTH=12 HEIGHT=8>");
  EXPECT_TRUE(dc_.Has("StretchDIBits 10,20,22,28"));
  Draw("<IMG SRC=missing.bmp>");
  EXPECT_TRUE(dc_.Has("Rectangle 10,20,50,60"));
  SetHtmlImageHooks(nullptr, nullptr);
}

TEST_F(Html, MeasuringReachesTheLowestLine) {
  const THtmlExtent one = MeasureHtmlText(c_, "abc");
  EXPECT_EQ(one.width, c_.TextWidth("abc"));
  EXPECT_EQ(one.height, h_);
  // Two lines: two line heights.
  const THtmlExtent two = MeasureHtmlText(c_, "one\r\n<B>two</B>");
  EXPECT_EQ(two.height, 2 * h_);
  EXPECT_GE(two.width, c_.TextWidth("one"));
  // A break tag leaves a line between: the text reaches three line heights down.
  EXPECT_EQ(MeasureHtmlText(c_, "a<BR>b").height, 3 * h_);
  // Measuring draws nothing.
  dc_.log.clear();
  MeasureHtmlText(c_, "<HR><IMG SRC=x.bmp>abc");
  EXPECT_FALSE(dc_.Has("ExtTextOut"));
  EXPECT_FALSE(dc_.Has("Rectangle"));
}

TEST_F(Html, TheCanvasDrawsHtmlThroughTheRenderer) {
  dc_.log.clear();
  c_.DrawTextMaybeHtml(5, 6, true, "<B>x</B>&amp;");
  EXPECT_TRUE(dc_.Has("ExtTextOut 5,6 \"x\""));
  dc_.log.clear();
  c_.DrawTextMaybeHtml(5, 6, false, "<B>x</B>");
  EXPECT_TRUE(dc_.Has("ExtTextOut 5,6 \"<B>x</B>\""));
}

namespace {

// `text` drawn by the renderer (or plainly) at (10, 10) on a white image.
QImage Render(const std::string& text, bool html = true) {
  QImage image = drawtest::WhiteImage(240, 120);
  platform::QtDc dc(image);
  platform::Canvas canvas(dc);
  TPlotCanvas3D c;
  c.SetBufferedDisplay(false);
  c.BeginFrame(&canvas, nullptr, clWhite, false, TRect{0, 0, 240, 120});
  c.ResetDrawingState();
  c.Font().SetSize(12);
  if (html) {
    DrawHtmlText(c, 10, 10, text);
  } else {
    c.DrawText2D(10, 10, text);
  }
  return image;
}

// The rows that hold ink (any pixel that is not white).
std::pair<int, int> InkRows(const QImage& image, int x0, int x1) {
  int first = -1, last = -1;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = x0; x < x1; ++x) {
      if (drawtest::At(image, x, y) != clWhite) {
        if (first < 0) first = y;
        last = y;
        break;
      }
    }
  }
  return {first, last};
}

}  // namespace

TEST(HtmlPixels, ThePartsCasesOnABitmap) {
  ChartLibraryScope scope;
  // The entity draws the character itself.
  EXPECT_EQ(drawtest::DiffCount(Render("a&lt;b"), Render("a<b", false)), 0);
  // The generic close ends bold and size as the closing tags do.
  EXPECT_EQ(drawtest::DiffCount(Render("<B>x</>y"), Render("<B>x</B>y")), 0);
  EXPECT_EQ(drawtest::DiffCount(Render("<BIG>x</>y"), Render("<BIG>x</FONT>y")), 0);
  EXPECT_EQ(drawtest::DiffCount(Render("<B><I>x<BIG>y</>z"), Render("<B><I>x<BIG>y</FONT>z")), 0);
  EXPECT_GT(drawtest::DiffCount(Render("<B>x</>y"), Render("<B>xy")), 0);
  // A colour "#" and six hex digits.
  const QImage red = Render("<FONT COLOR=#FF0000>WWW");
  int reds = 0, others = 0;
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 80; ++x) {
      const platform::ColorRef p = drawtest::At(red, x, y);
      if (p == clRed) ++reds;
      else if (p != clWhite && platform::RedOf(p) < 200) ++others;
    }
  }
  EXPECT_GT(reds, 20);
  EXPECT_EQ(others, 0);
  // After a break the second run lies two line heights lower.
  const QImage broken = Render("a<BR>b");
  drawtest::Keep(Render("<B>Bold</B>, <I>italic</I>, <FONT COLOR=red SIZE=+4>big red</FONT><BR>"
                        "H<SUB>2</SUB>O &amp; x<SUPER>2</SUPER>\r\n<CENTER><U>centred</U></CENTER><HR>after the rule"),
                 "html-sample");
  QImage scratch = drawtest::WhiteImage(4, 4);
  platform::QtDc dc(scratch);
  platform::Canvas canvas(dc);
  TPlotCanvas3D measure;
  measure.SetCanvas(&canvas);
  measure.Font().SetSize(12);
  const int h = measure.TextHeightW();
  // "a" and "b" have no ink in common rows: the first ink below "a" is the top of "b".
  const int aBottom = InkRows(Render("a"), 10, 30).second;
  const int bTop = InkRows(Render("b"), 10, 30).first;
  int firstBRow = -1;
  for (int y = aBottom + 1; y < broken.height() && firstBRow < 0; ++y) {
    for (int x = 10; x < 30; ++x) {
      if (drawtest::At(broken, x, y) != clWhite) {
        firstBRow = y;
        break;
      }
    }
  }
  EXPECT_EQ(firstBRow, bTop + 2 * h);
}
