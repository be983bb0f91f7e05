// Series-type registry, palettes, the error box and the chart unit.
#include "chart/registry.h"

#include <algorithm>

#include "chart/axis_scale.h"
#include "chart/chart.h"
#include "chart/messages.h"
#include "chart/pie.h"
#include "chart/series.h"
#include "chart/unit.h"

namespace chart {

namespace {

struct UnitState {
  std::unique_ptr<TPlotSeriesTypes> types;
  std::vector<std::string> palettes;
};

UnitState& State() {
  static UnitState state;
  return state;
}

// Colour values as $BBGGRR.
constexpr TColor kExcel[] = {0xFF9999, 0x663399, 0xCCFFFF, 0xFFFFCC, 0x660066, 0x8080FF, 0xCC6600, 0xFFCCCC,
                             0x800000, 0xFF00FF, 0x00FFFF, 0xFFFF00, 0x800080, 0x000080, 0x808000, 0xFF0000,
                             0xFFCC00, 0xFFFFCC, 0xCCFFCC, 0x00FFFF, 0xFFCC99, 0xCC99FF};
constexpr TColor kVictorian[] = {0xA1A55D, 0x3153C4, 0x0996E7, 0x4AE8F6, 0xA7A2B1, 0x84A7C9,
                                 0x51798C, 0xB7CDD8, 0x536508, 0x7BD8F7, 0x846401};
constexpr TColor kPastels[] = {0xFFFFCC, 0xCCFFFF, 0xFFCCCC, 0xCCCC00, 0xCCCCCC, 0x999900, 0x999999,
                               0xCCCCFF, 0x66CCFF, 0xFFCCCC, 0x9999FF, 0x99FFFF, 0xFFCC99, 0xCCFFCC};
constexpr TColor kSolid[] = {0xFF0000, 0x0000FF, 0x00FF00, 0x00CCFF, 0x404040, 0x00FFFF, 0xC000FF, 0xFFFFFF};
constexpr TColor kClassic[] = {0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF,
                               0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080};
constexpr TColor kWeb[] = {0x00A5FF, 0xCE0000, 0x00CE00, 0x40FFFF, 0xFFFF40, 0xFF40FF, 0x0040FF, 0xA58080, 0x408080};
constexpr TColor kModern[] = {0x6699FF, 0x6666FF, 0xFFCC99, 0x669966, 0x99CCCC, 0xCC6699, 0x6666CC,
                              0x99CCFF, 0xFF6699, 0xCCCCCC, 0xCCFF66, 0xFF9966, 0x996699, 0xFFCCCC};
constexpr TColor kIridon[] = {0x000099, 0x0000C3, 0x0000EE, 0x001AFF, 0x0046FF, 0x0073FF, 0x009FFF,
                              0x00CBFF, 0x00F7FF, 0x08F4E3, 0x11E7C3, 0x1BDAA3, 0x25CD83, 0x2EC063,
                              0x38B342, 0x42A622, 0x4B9A02, 0x6A870C, 0x8A751A, 0xAA6328, 0xCB5036,
                              0xEB3E44, 0xFF2A61, 0xFF1596, 0xFF00CC};
constexpr TColor kWinXP[] = {0xFE9B82, 0x24D1FC, 0x0DBC7C, 0x2F85FD, 0xFCFEFD, 0x214EE2, 0xD63829,
                             0x0094B7, 0x00865A, 0x0046D2, 0xFAE5D3, 0xD8D8D8, 0x7B715F};

const std::span<const TColor> kPalettes[kPaletteCount] = {{},      kExcel, kVictorian, kPastels, kSolid,
                                                          kClassic, kWeb,  kModern,    kIridon,  kWinXP};

// Every series takes the colour of its position in the chart's list (the default colours
// without a list).
void Recolor(TCustomChart& chart) {
  for (int i = 0; i < chart.SeriesCount(); ++i) {
    TChartSeries* s = chart.SeriesAt(i);
    s->SetInternalColor(chart.PaletteColor(i));
  }
  chart.Invalidate();
}

}  // namespace

// ---- Registry -----------------------------------------------------------------------------

const TPlotSeriesType* TPlotSeriesTypes::Find(const TStoredClass* seriesClass, const TStoredClass* functionClass) const {
  for (const auto& item : items_)
    if (item->seriesClass == seriesClass && item->functionClass == functionClass) return item.get();
  return nullptr;
}

int TPlotSeriesTypes::RemoveClass(const TStoredClass* cls) {
  if (!cls) return 0;
  const auto before = items_.size();
  std::erase_if(items_, [cls](const auto& item) { return item->seriesClass == cls || item->functionClass == cls; });
  return static_cast<int>(before - items_.size());
}

TPlotSeriesTypes& PlotSeriesTypes() {
  UnitState& s = State();
  if (!s.types) s.types = std::make_unique<TPlotSeriesTypes>();
  return *s.types;
}

void RegisterSeriesType(const TStoredClass* seriesClass, const TStoredClass* functionClass,
                        const std::string& description, const std::string& galleryPage, int numGallerySeries) {
  if (seriesClass) RegisterStoredClass(*seriesClass);
  if (functionClass) RegisterStoredClass(*functionClass);
  TPlotSeriesTypes& types = PlotSeriesTypes();
  if (types.Find(seriesClass, functionClass)) return;
  auto item = std::make_unique<TPlotSeriesType>();
  item->seriesClass = seriesClass;
  item->functionClass = functionClass;
  item->description = description;
  item->galleryPage = galleryPage;
  item->numGallerySeries = numGallerySeries;
  types.Add(std::move(item));
}

void RegisterSeries(const TStoredClass* seriesClass, const std::string& description, const std::string& galleryPage,
                    int numGallerySeries) {
  RegisterSeriesType(seriesClass, nullptr, description, galleryPage, numGallerySeries);
}

void UnregisterSeriesType(const TStoredClass* cls) { PlotSeriesTypes().RemoveClass(cls); }

void UnregisterSeriesList(std::span<const TStoredClass* const> classes) {
  for (const TStoredClass* cls : classes) UnregisterSeriesType(cls);
}

// ---- Palettes -----------------------------------------------------------------------------

const std::vector<std::string>& ColorPalettes() { return State().palettes; }

std::span<const TColor> PaletteColors(int index) {
  if (index < 1 || index >= kPaletteCount) return {};
  return kPalettes[index];
}

void ApplyChartPalette(TCustomChart& chart, int index) {
  const std::span<const TColor> colors = PaletteColors(index);
  chart.SetCustomPalette(std::vector<TColor>(colors.begin(), colors.end()));
  chart.SetColorPaletteIndex(index);
  Recolor(chart);
}

void SetCustomChartPalette(TCustomChart& chart, std::span<const TColor> colors, int count) {
  if (count < 0) {
    chart.SetCustomPalette({});
  } else {
    const size_t n = std::min(colors.size(), static_cast<size_t>(count));
    chart.SetCustomPalette(std::vector<TColor>(colors.begin(), colors.begin() + static_cast<std::ptrdiff_t>(n)));
  }
  Recolor(chart);
}

// ---- Pixel limit --------------------------------------------------------------------------

int MaxPixelCoordinate() { return static_cast<int>(kAxisPixelLimit); }

// ---- Unit ---------------------------------------------------------------------------------

namespace {

void Startup() {
  UnitState& s = State();
  s.types = std::make_unique<TPlotSeriesTypes>();
  s.palettes = {"Dravonix", "Excel", "Victorian", "Pastels", "Solid", "Classic", "Web", "Modern", "Iridon", "Win. XP"};
  RegisterSeries(&StoredDonutSeries(), MsgGalleryDonut.empty() ? "Donut" : MsgGalleryDonut,
                 MsgGalleryExtended.empty() ? "Extended" : MsgGalleryExtended, 1);
}

void Shutdown() {
  UnregisterSeriesType(&StoredDonutSeries());
  UnitState& s = State();
  s.types.reset();
  s.palettes.clear();
}

UnitCounter gUnit(Startup, Shutdown);

}  // namespace

void PlotRegistryStartup() { gUnit.Start(); }
void PlotRegistryShutdown() { gUnit.Stop(); }

}  // namespace chart
