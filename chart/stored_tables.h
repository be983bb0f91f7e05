// The stored-description tables of the chart's canvas objects, the panels and the framed
// shapes (stream.h). Later classes name these as the classes of their sub-objects.
//
// Defaults: a pen's colour black, width 1, style solid, mode copy, its visibility and end style
// against the pen's own defaults; a brush's colour the library's default colour, style solid
// (the zoom pen and brush: white, the zoom brush clear); a font's colour black, no style, the
// default name and size; a shadow's against its own defaults; gradients and view options
// against their creation values. A panel writes Left, Top, Width and Height always.
#pragma once

#include "chart/stream.h"

namespace chart {

const TStoredClass& StoredChartPen();
const TStoredClass& StoredChartBrush();
const TStoredClass& StoredPicture();
const TStoredClass& StoredPlotFont();
const TStoredClass& StoredPlotShadow();
const TStoredClass& StoredPlotGradient();
const TStoredClass& StoredPlotFontGradient();
const TStoredClass& StoredView3DOptions();
const TStoredClass& StoredPlotZoomPen();
const TStoredClass& StoredPlotZoomBrush();
const TStoredClass& StoredPlotZoom();
const TStoredClass& StoredBackImage();
const TStoredClass& StoredPlotShape();
const TStoredClass& StoredPanelNoCaption();
const TStoredClass& StoredCustomPlotPanel();
const TStoredClass& StoredCustomPlotPanelExtended();

// Names of enumerations shared by later tables.
extern const char* const kBevelCutNames[4];
extern const char* const kShiftStateNames[7];
extern const char* const kMouseButtonNames[3];

}  // namespace chart
