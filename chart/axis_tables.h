// The stored-description tables of the axes (stream.h): the axis with its pens, title and label
// font, and the axis pens. The chart's axes are written as its sub-objects "BottomAxis" ...
// "DepthTopAxis", its custom axes as the collection "CustomAxes" (only when there are any).
//
// Stored rules: Minimum and Maximum only while that end is not automatic (even at 0),
// AxisValuesFormat and LogarithmicBase when they differ from "#,##0.###" and 10, Horizontal and
// OtherSide only for custom axes (when set), ZPosition when it differs from its side's default (100 on the
// far side, 0.01 otherwise; never for depth axes), Visible when it differs from the axis'
// creation (depth axes hidden), the title's Angle when it differs from its side's angle. The
// axis pens store their colours and styles against their own creation values (the line 2
// pixels wide, the grid grey dots, ticks grey).
#pragma once

#include "chart/stream.h"

namespace chart {

const TStoredClass& StoredChartAxisPen();
const TStoredClass& StoredAxisGridPen();
const TStoredClass& StoredDarkGrayPen();
const TStoredClass& StoredChartAxisTitle();
const TStoredClass& StoredChartAxis();

}  // namespace chart
