// Start-up and shut-down of the whole library.
#include "chart/unit.h"

#include "chart/canvas.h"
#include "chart/messages.h"
#include "chart/procs.h"

namespace chart {

ChartLibraryScope::ChartLibraryScope() {
  ChartMessagesStartup();
  FurtherChartMessagesStartup();
  PlotCanvasStartup();
  PlotProcsStartup();
}

ChartLibraryScope::~ChartLibraryScope() {
  PlotProcsShutdown();
  PlotCanvasShutdown();
  FurtherChartMessagesShutdown();
  ChartMessagesShutdown();
}

}  // namespace chart
