// The four analysis graphs of page 4, laid out for a 350 x 360 area, from the analysis grid
// (rows 2..16 the years 1981..1995, row 17 the 15-year mean; columns 6..13 the eight tank sizes
// of the graph's group, column 14 the collection days) and the full-tank grid (rows 2..17,
// columns 1..8). Each checked year is drawn in the colour of its grid row, the mean (always
// drawn) in the colour of the mean row with a wider pen.
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "app/ui/screen3_graphs.h"
#include "app/ui/screen3_graphs_draw.h"
#include "framework/convert.h"
#include "platform/cp932.h"

namespace app {

using namespace graphs;
using platform::J;

namespace {

constexpr int kLeft = 42, kTop = 34;
constexpr int kTextSize = 9, kAxisTitleSize = 12, kYearSize = 7;
constexpr std::array<double, 9> kSizeFactor = {0, 0.25, 0.5, 1, 1.5, 2, 3, 4, 5};
constexpr int kFactorUnits = 56;  // pixels per multiple of the basic volume

// The lines drawn: the checked years (grid rows 2..16) and the mean (row 17).
struct DrawnRow {
  int row;         // analysis grid row
  int yearNumber;  // 1..15, 16 for the mean
  int colour;
  int penWidth;
};

std::vector<DrawnRow> DrawnRows(const Screen3Data& data) {
  std::vector<DrawnRow> rows;
  for (int y = 1; y <= kYearCount + 1; ++y) {
    if (!data.yearChecked[y] && y <= kYearCount) continue;
    const int row = y + 1;
    rows.push_back({row, y, YearRowColorNumber(row), y > kYearCount ? 2 : 1});
  }
  return rows;
}

void Heading(Canvas& c, int graph, int plotW) {
  static const char* const kNames[] = {"", "貯水槽容量と利用日数との関係", "集水日数と雨水利用日数との関係",
                                       "貯水槽容量と雨水流出率との関係", "貯水槽容量と流出抑制率との関係"};
  TextCentre(c, kLeft + plotW / 2, kTop - 15, GraphCaption(graph) + J(kNames[graph]), kTextSize, kInkColor);
}

// The tank-size axis of graphs 1, 3 and 4: the box's bottom edge labelled 0 to 5, a grid line
// at each of the eight size factors, and the title with the basic volume.
void SizeAxis(Canvas& c, const Screen3Data& data, int plotH) {
  const int bottom = kTop + plotH;
  for (int t = 1; t <= 8; ++t) {
    const int x = kLeft + static_cast<int>(kSizeFactor[t] * kFactorUnits);
    fw::DrawColorLine(c, x, kTop, kGridColor, x, bottom);
  }
  for (int m = 0; m <= 5; ++m) {
    TextTopCentre(c, kLeft + m * kFactorUnits, bottom + 3, std::to_string(m), kTextSize, kInkColor);
  }
  const std::string title =
      J("貯水槽容量 （倍） 1.0 = ") + fw::FormatNumberN(0, data.basicVolume) + J(" ﾘｯﾄﾙ");
  TextCentre(c, kLeft + 5 * kFactorUnits / 2, bottom + 24, title, kAxisTitleSize, kInkColor);
}

// A horizontal grid line and a label at every `step` of a vertical scale 0..maximum.
void ValueAxis(Canvas& c, double maximum, double step, int plotW, int plotH) {
  const int bottom = kTop + plotH;
  const int textH = TextSize(c, "0", kTextSize).cy;
  for (double v = 0; v <= maximum + 1e-9; v += step) {
    const int y = YOf(v, maximum, bottom, plotH);
    if (v > 0 && y > kTop) fw::DrawColorLine(c, kLeft, y, kGridColor, kLeft + plotW, y);
    TextRight(c, kLeft - 3, y - textH / 2, fw::FormatFixed(v, 0), kTextSize, kInkColor);
  }
}

// The eight points of one row (size factor, value of grid columns first..first+7) joined in the
// row's colour, with its year number at the first point for a year.
void SizeLine(Canvas& c, const DrawnRow& r, const std::array<double, 9>& values, double maximum, int plotH) {
  const int bottom = kTop + plotH;
  std::vector<platform::Point> points;
  for (int t = 1; t <= 8; ++t) {
    points.push_back({kLeft + static_cast<int>(kSizeFactor[t] * kFactorUnits), YOf(values[t], maximum, bottom, plotH)});
  }
  SetPen(c, r.colour, r.penWidth);
  c.Polyline(points);
  SetPen(c, kInkColor, 1);
  if (r.yearNumber <= kYearCount) {
    const int textH = TextSize(c, "0", kYearSize).cy;
    TextRight(c, points[0].x - 2, points[0].y - textH / 2, std::to_string(r.yearNumber), kYearSize, r.colour);
  }
}

std::array<double, 9> RowValues(const CellTable& table, int firstCol, int row) {
  std::array<double, 9> v{};
  for (int t = 1; t <= 8; ++t) v[t] = table.Value(firstCol + t - 1, row);
  return v;
}

}  // namespace

void DrawGraph1(platform::Canvas& c, const Screen3Data& data, int width, int height) {
  constexpr int plotW = 280, plotH = 292;
  constexpr double maxDays = 365;
  BeginChart(c, width, height);
  Heading(c, 1, plotW);
  ValueAxis(c, maxDays, 30, plotW, plotH);
  SizeAxis(c, data, plotH);
  TextUpwards(c, 2, kTop + plotH / 2, J("利用日数 （日/年）"), kAxisTitleSize, kInkColor);

  const std::vector<DrawnRow> rows = DrawnRows(data);
  double fullTop = 0;
  for (const DrawnRow& r : rows) {
    SizeLine(c, r, RowValues(data.analysis, 6, r.row), maxDays, plotH);
    const std::array<double, 9> full = RowValues(data.fullTank, 1, r.row);
    SizeLine(c, DrawnRow{r.row, kYearCount + 1, r.colour, r.penWidth}, full, maxDays, plotH);
    fullTop = std::max(fullTop, full[1]);
  }
  // The title of the full-tank lines stands above their highest start, in steps of 30 days.
  const double titleDays = std::min(maxDays, std::ceil(fullTop / 30) * 30);
  const int titleH = TextSize(c, "0", kTextSize).cy;
  TextLeft(c, 216, YOf(titleDays, maxDays, kTop + plotH, plotH) - titleH - 1, J("満水日数（日/年）"), kTextSize,
           kInkColor);
  fw::DrawBox(c, kLeft, kTop, kInkColor, kLeft + plotW, kTop + plotH);
}

void DrawGraph2(platform::Canvas& c, const Screen3Data& data, int width, int height) {
  constexpr int plot = 292;
  constexpr double maxDays = 365;
  const int bottom = kTop + plot, right = kLeft + plot;
  BeginChart(c, width, height);
  Heading(c, 2, plot);
  ValueAxis(c, maxDays, 30, plot, plot);
  for (int d = 30; d <= 360; d += 30) {
    const int x = XOf(d, maxDays, kLeft, plot);
    fw::DrawColorLine(c, x, kTop, kGridColor, x, bottom);
  }
  for (int d = 0; d <= 360; d += 60) {
    TextTopCentre(c, XOf(d, maxDays, kLeft, plot), bottom + 3, std::to_string(d), kTextSize, kInkColor);
  }
  TextCentre(c, kLeft + plot / 2, bottom + 24, J("集水日数 （日/年）"), kAxisTitleSize, kInkColor);
  TextUpwards(c, 2, kTop + plot / 2, J("利用日数 （日/年）"), kAxisTitleSize, kInkColor);

  // Ratios of use days to collection days, each labelled where it meets the top edge: inside
  // the box beside the line (the heading stands above the box), the last one above the corner.
  const int textH = TextSize(c, "0", kTextSize).cy;
  for (double ratio : {5.0, 3.0, 2.0, 1.5, 1.0}) {
    const int x = kLeft + static_cast<int>(std::lround(plot / ratio));
    fw::DrawColorLine(c, kLeft, bottom, kInkColor, x, kTop);
    if (ratio > 1) {
      TextLeft(c, x + 3, kTop + 2, fw::FormatFixed(ratio, 1), kTextSize, kInkColor);
    } else {
      TextTopCentre(c, x, kTop - textH - 1, fw::FormatFixed(ratio, 1), kTextSize, kInkColor);
    }
  }
  TextTurned(c, kLeft + 110, bottom - 24, J("貯水槽容量不足 or 雨水利用量過多"), kTextSize, kInkColor, 45);

  for (const DrawnRow& r : DrawnRows(data)) {
    const int x = XOf(data.analysis.Value(14, r.row), maxDays, kLeft, plot);
    for (int t = 1; t <= 8; ++t) {
      const int colour = data.tankShownColor[t];
      if (colour == kHiddenTankColor) continue;
      const int y = YOf(data.analysis.Value(5 + t, r.row), maxDays, bottom, plot);
      c.Pen().SetWidth(r.penWidth);
      fw::DrawArc(c, x, y, colour, 3);
    }
  }
  SetPen(c, kInkColor, 1);
  fw::DrawBox(c, kLeft, kTop, kInkColor, right, bottom);
}

void DrawRunoffGraph(platform::Canvas& c, const Screen3Data& data, int graph, int width, int height) {
  if (graph != 3 && graph != 4) return;
  constexpr int plotW = 280, plotH = 290;
  constexpr double maxRate = 100;
  BeginChart(c, width, height);
  Heading(c, graph, plotW);
  ValueAxis(c, maxRate, 10, plotW, plotH);
  SizeAxis(c, data, plotH);
  if (graph == 3) {
    TextUpwards(c, 2, kTop + plotH / 2, J("雨水流出率 （％）"), kAxisTitleSize, kInkColor);
    TextCentre(c, 247, 310, J("※集水屋根面積が対象"), kTextSize, kInkColor);
  } else {
    TextUpwards(c, 2, kTop + plotH / 2, J("流出抑制率 （％）"), kAxisTitleSize, kInkColor);
    TextCentre(c, 247, 50, J("※全体屋根面積が対象"), kTextSize, kInkColor);
  }
  for (const DrawnRow& r : DrawnRows(data)) SizeLine(c, r, RowValues(data.analysis, 6, r.row), maxRate, plotH);
  fw::DrawBox(c, kLeft, kTop, kInkColor, kLeft + plotW, kTop + plotH);
}

void DrawAnalysisGraph(platform::Canvas& c, const Screen3Data& data, int width, int height) {
  switch (data.graph) {
    case 1:
      DrawGraph1(c, data, width, height);
      break;
    case 2:
      DrawGraph2(c, data, width, height);
      break;
    case 3:
    case 4:
      DrawRunoffGraph(c, data, data.graph, width, height);
      break;
    default:
      break;
  }
}

}  // namespace app
