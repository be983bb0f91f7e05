// The stored-description tables of value lists, series, series marks, functions, series-source
// components, series groups and the axis panel (stream.h), and the unit that registers the
// series, functions and sources for reading and writing.
//
// A series is written as a child of its chart, a function as a child of its series. Besides
// its published properties a series stores "Data" (its points, when it holds points of its own
// or must store them; series.h), "Identifier" and "Style" (when not empty or 0), "DataSources"
// (the names of its sources, when there is more than one; a single one is "DataSource") and
// "CustomHorizAxis" / "CustomVertAxis" (the number of its custom axis in the chart's
// collection). Sources, custom axes and group members are found by name once the whole form is
// read. A value list writes its Name and Order always, DateTime when it differs from the list's
// default, and reads the obsolete "Multiplier" (a value other than 1 goes to the library's
// error hook and is ignored).
#pragma once

#include "chart/stream.h"

namespace chart {

const TStoredClass& StoredChartValueList();
const TStoredClass& StoredSeriesMarks();
const TStoredClass& StoredChartSeries();
const TStoredClass& StoredPlotFunction();
const TStoredClass& StoredPlotSeriesSource();
const TStoredClass& StoredSeriesGroup();
const TStoredClass& StoredCustomAxisPanel();

// Counted start-up and shut-down of the engine unit: registers the series, functions, sources
// and the axis panel for stored descriptions.
void PlotEngineStartup();
void PlotEngineShutdown();

}  // namespace chart
