// The series-type registry a series gallery lists, the built-in colour palettes a chart can
// apply to its series, the engine's pixel limit, and the counted start-up of the chart
// unit (registry, tool list and palette names).
//
// A class is named by its stored-description table (stream.h): the table carries the class
// name, its identity and how to make one, and registering a type registers its tables for
// reading stored descriptions too.
//
// Palettes: index 0 and any index outside 1..9 mean the default series colours. Applying a
// palette sets the chart's custom colour list, stores the index as the chart's
// ColorPaletteIndex and gives every series the colour of its position in the list.
#pragma once

#include <memory>
#include <span>
#include <string>
#include <vector>

#include "chart/stream.h"
#include "chart/types.h"

namespace chart {

class TCustomChart;

// One entry of the registry: a series class, the function class (nullptr for a plain series),
// the description, the gallery page and the number of series the gallery shows.
struct TPlotSeriesType {
  const TStoredClass* seriesClass = nullptr;
  const TStoredClass* functionClass = nullptr;
  std::string description;
  std::string galleryPage;
  int numGallerySeries = 1;
};

class TPlotSeriesTypes {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  const TPlotSeriesType& Item(int index) const { return *items_[static_cast<size_t>(index)]; }
  // The entry of that series and function class, or nullptr.
  const TPlotSeriesType* Find(const TStoredClass* seriesClass, const TStoredClass* functionClass) const;
  void Add(std::unique_ptr<TPlotSeriesType> item) { items_.push_back(std::move(item)); }
  // Removes every entry whose series class (or function class) is `cls`; the number removed.
  int RemoveClass(const TStoredClass* cls);
  void Clear() { items_.clear(); }

 private:
  std::vector<std::unique_ptr<TPlotSeriesType>> items_;
};

// The program-wide registry (empty before the chart unit starts).
TPlotSeriesTypes& PlotSeriesTypes();

// Registers both classes for stored descriptions (when not nullptr) and appends an entry,
// unless an entry of the same series and function class exists.
void RegisterSeriesType(const TStoredClass* seriesClass, const TStoredClass* functionClass,
                        const std::string& description, const std::string& galleryPage, int numGallerySeries);
void RegisterSeries(const TStoredClass* seriesClass, const std::string& description,
                    const std::string& galleryPage, int numGallerySeries);
// Removes every entry of that series class or function class.
void UnregisterSeriesType(const TStoredClass* cls);
void UnregisterSeriesList(std::span<const TStoredClass* const> classes);

// ---- Palettes -----------------------------------------------------------------------------

constexpr int kPaletteCount = 10;
// The palette names in index order (empty before the chart unit starts).
const std::vector<std::string>& ColorPalettes();
// The colours of palette `index` (empty for 0 and any index outside 1..9).
std::span<const TColor> PaletteColors(int index);
// Sets the chart's colour list to palette `index` (clears it for any other index), stores
// the index and recolours the series.
void ApplyChartPalette(TCustomChart& chart, int index);
// Sets the chart's colour list to the first `count` of `colors` (count -1: clears it) and
// recolours the series.
void SetCustomChartPalette(TCustomChart& chart, std::span<const TColor> colors, int count);

// The largest pixel coordinate the engine clips to.
int MaxPixelCoordinate();

// Counted start-up and shut-down of the chart unit: the registry, the (empty) tool-type list
// and the palette names; the donut registers itself as "Donut" on "Extended".
void PlotRegistryStartup();
void PlotRegistryShutdown();

}  // namespace chart
