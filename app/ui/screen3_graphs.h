// Screen 3's charts and page metafiles: the result chart of pages 1 to 3, the four analysis
// graphs of page 4, the weather chart of page 5 with its weather-line file, the
// precipitation-frequency chart, and the rendering of the page metafiles that the printed report
// places on its pages.
//
// Everything is drawn with the colour-number primitives (framework/drawing.h) on a canvas
// (platform/dc_canvas.h): the canvas of a page image on screen (a QImage through the Qt device
// context, DrawOnImage) or the canvas of an enhanced metafile (SaveGraphMetafile). The
// routines read the screen's data (screen3_data.h) and never change it; the form decides
// whether a page needs drawing (PageRendered) and calls them.
//
// The page metafiles' names and sizes and the report set are the result model's
// (model/results/page_metafiles.h).
//
// Decisions kept on purpose:
// - The weather chart draws a day 366 (leap years) at the right edge of the plot, and a
//   precipitation above the top of a scale (a strip, a chart's axis) stops at that top.
// - The frequency chart fills its whole area with the chart background first, so on the page 5
//   metafile drawn while the frequency panel is shown it covers the weather chart beneath.
// - A metafile that cannot be written is reported (false and a message naming the file); the
//   previous file is kept (written through a temporary file and a rename).
#pragma once

#include <QImage>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "model/results/page_metafiles.h"
#include "model/results/screen3_data.h"
#include "platform/dc_canvas.h"

namespace app {

// ---- Page metafiles

// Renders the data's current page into a new enhanced metafile of the page's size (page 4: the
// current graph; page 5: the weather chart and, while the frequency panel is shown, the
// frequency chart over it; pages 1 to 3: the result chart), fixes the font width, rescales it to
// the screen resolution and writes it to `path` with the extension ".EMF". Nothing (true) for a
// page without a metafile. False with `error` (CP932) when the file cannot be written.
bool SaveGraphMetafile(const std::string& path, const std::string& resultPrefix, const Screen3Data& data,
                       std::string* error = nullptr);
// The same rendering as bytes (the metafile before it is written); empty for a page without one.
std::string RenderPageMetafile(const std::string& resultPrefix, const Screen3Data& data);

// ---- Drawing on screen

// Draws on `image` (kept at its size, in RGB32) through a Qt device context and a canvas; the
// callback gets the canvas and the image's width and height.
void DrawOnImage(QImage& image, const std::function<void(platform::Canvas&, int, int)>& draw);

// ---- Charts (each fills its area with the chart background first)

// Pages 1 to 3 from data.resultLines (page = data.page): nothing when the table has no rows.
// The tank lines use data.tankShownColor (a hidden tank is not drawn, its legend entry keeps its
// place in the hidden colour); the legend "%.0fﾘｯﾄﾙ" of data.tankVolume is drawn only at a
// width of 701 or more.
void DrawResultChart(platform::Canvas& c, const Screen3Data& data, int width, int height);
// Graph 1 (use days and full-tank days against tank size), graph 2 (use days against
// collection days), graphs 3 and 4 (runoff and runoff-suppression rates against tank size),
// from data.analysis and data.fullTank for the checked years and the average.
void DrawGraph1(platform::Canvas& c, const Screen3Data& data, int width, int height);
void DrawGraph2(platform::Canvas& c, const Screen3Data& data, int width, int height);
void DrawRunoffGraph(platform::Canvas& c, const Screen3Data& data, int graph, int width, int height);
// The graph of data.graph (1 to 4); nothing for another.
void DrawAnalysisGraph(platform::Canvas& c, const Screen3Data& data, int width, int height);

// The weather chart of page 5 from the daily result files ResultPrefix + "(yyyy).DAY" (a
// missing year is skipped). Returns the weather lines collected while drawing (see
// WeatherLine) and writes them to WeatherLineFileName; `written` tells whether that succeeded.
struct WeatherChartResult {
  std::vector<std::string> lines;
  bool written = false;
  std::string error;  // CP932, when not written
};
WeatherChartResult DrawWeatherChart(platform::Canvas& c, const std::string& resultPrefix, const std::string& title,
                                    int width, int height);
// The chart title: the location names of the calculation (label 1100 SS4: site, city,
// station), joined by full-width blanks.
std::string WeatherChartTitle();

// The frequency chart of data.frequencyYear from data.frequency.
void DrawPrecipFrequency(platform::Canvas& c, const Screen3Data& data, int width, int height);

// The caption of a tank of `volume` litres: "%.0fﾘｯﾄﾙ" (the legend and the tank buttons).
std::string TankVolumeCaption(double volume);

}  // namespace app
