// The HTML text renderer for chart texts: a small subset of HTML drawn run by run on the chart
// canvas, or only measured.
//
// Tags (case does not matter): <BR> and <P> (line break), <BIG>, <SMALL>, <SUB>, <SUPER>,
// <H1> ... <H6>, <PRE>, <CENTER>, <B>/<BOLD>/<STRONG>, <I>, <U>, <STRIKE> and their closing
// tags, <FONT NAME= FAMILY= SIZE= COLOR= WEIGHT=> ... </FONT>, the generic close </>, <HR> and
// <IMG SRC= WIDTH= HEIGHT=>. Entities &lt; &gt; &amp; &quot;. A CR LF pair breaks the line too.
// Closing tags of BIG, SMALL and the headings are not tags here and are drawn as text.
//
// Fonts are saved on a font stack as FONT tag texts and restored from it; the style tags are
// remembered on a tag stack for the generic close. Both stacks start empty for every text, so
// one text never closes what another opened. The canvas font is the same after a text as
// before it.
//
// Errors raise: HtmlParserException for a tag without ">" ("Missing > at " and the rest of the
// text), a COLOR "#" without six hex digits, a SIZE, WIDTH or HEIGHT that is no number and a
// colour name that is not one; std::runtime_error for an unknown FONT attribute ("Unknown
// field in FONT: " + name) or WEIGHT value ("Unknown field in FONT WEIGHT=" + value). A
// generic close with nothing open is ignored. Font sizes stay within 1 .. 1000 points.
//
// Measuring gives the largest pen x reached and the bottom of the lowest line.
#pragma once

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

#include "chart/canvas.h"
#include "platform/picture.h"

namespace chart {

class HtmlParserException : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Draws `text` with the pen starting at (x, y).
void DrawHtmlText(TPlotCanvas& canvas, int x, int y, const std::string& text);

struct THtmlExtent {
  int width = 0, height = 0;
};
THtmlExtent MeasureHtmlText(TPlotCanvas& canvas, const std::string& text);

// The application hooks of <IMG>: the graphic for an upper-case file extension with its dot
// (".BMP"), or none; and the loader of a source into bytes (0 on success). Not installed by
// this program; without them every image is drawn as a placeholder.
using THtmlGraphicFactory = std::function<std::unique_ptr<platform::TGraphic>(const std::string& extension)>;
using THtmlImageLoader = std::function<int(const std::string& source, std::string& bytes)>;
void SetHtmlImageHooks(THtmlGraphicFactory factory, THtmlImageLoader loader);

// Counted start-up (installs the renderer as the canvas's HTML drawer) and shut-down.
void PlotHtmlStartup();
void PlotHtmlShutdown();

}  // namespace chart
