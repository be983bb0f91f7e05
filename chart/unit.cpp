// Start-up and shut-down of the whole library.
#include "chart/unit.h"

#include "chart/messages.h"
#include "chart/procs.h"

namespace chart {

ChartLibraryScope::ChartLibraryScope() {
  ChartMessagesStartup();
  FurtherChartMessagesStartup();
  PlotProcsStartup();
}

ChartLibraryScope::~ChartLibraryScope() {
  PlotProcsShutdown();
  FurtherChartMessagesShutdown();
  ChartMessagesShutdown();
}

}  // namespace chart
