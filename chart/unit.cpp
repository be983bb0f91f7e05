// Start-up and shut-down of the whole library.
#include "chart/unit.h"

#include "chart/canvas.h"
#include "chart/chart.h"
#include "chart/html.h"
#include "chart/messages.h"
#include "chart/procs.h"
#include "chart/registry.h"
#include "chart/series_tables.h"
#include "chart/stream.h"

namespace chart {

ChartLibraryScope::ChartLibraryScope() {
  ChartMessagesStartup();
  FurtherChartMessagesStartup();
  PlotCanvasStartup();
  PlotProcsStartup();
  PlotHtmlStartup();
  PlotStreamStartup();
  PlotEngineStartup();
  PlotChartStartup();
  PlotRegistryStartup();
}

ChartLibraryScope::~ChartLibraryScope() {
  PlotRegistryShutdown();
  PlotChartShutdown();
  PlotEngineShutdown();
  PlotStreamShutdown();
  PlotHtmlShutdown();
  PlotProcsShutdown();
  PlotCanvasShutdown();
  FurtherChartMessagesShutdown();
  ChartMessagesShutdown();
}

}  // namespace chart
