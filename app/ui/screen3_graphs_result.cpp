// The result chart of pages 1 to 3: precipitation bars against the right axis and one line per
// shown tank size against the left axis (page 1: the remaining storage of each day; pages 2
// and 3: the days of use of each month or year), over a time axis of the page's rows.
#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/ui/screen3_graphs.h"
#include "app/ui/screen3_graphs_draw.h"
#include "framework/convert.h"
#include "framework/form_utils.h"
#include "platform/cp932.h"
#include "platform/ui.h"

namespace app {

using namespace graphs;
using platform::J;

namespace {

constexpr int kLeft = 40, kTop = 30;
constexpr int kLegendMinWidth = 701;
constexpr int kLabelSize = 8;
constexpr int kTitleSize = 9;
constexpr int kRainLabelMm = 100;

struct Scale {
  double left = 0;   // maximum of the left axis
  double right = 0;  // maximum of the right axis (precipitation)
  std::string leftTitle, rightTitle;
};

Scale PageScale(int page, double basicVolume) {
  Scale s;
  switch (page) {
    case 1:
      s.left = 5 * basicVolume;
      s.right = 100;
      s.leftTitle = J("貯水残量 （ﾘｯﾄﾙ）");
      s.rightTitle = J("降水量 （mm/日）");
      break;
    case 2:
      s.left = 35;
      s.right = 1400;
      s.leftTitle = J("利用日数 （日/月）");
      s.rightTitle = J("降水量 （mm/月）");
      break;
    default:
      s.left = 360;
      s.right = 6000;
      s.leftTitle = J("利用日数 （日/年）");
      s.rightTitle = J("降水量 （mm/年）");
      break;
  }
  return s;
}

}  // namespace

void DrawResultChart(platform::Canvas& c, const Screen3Data& data, int width, int height) {
  const int page = data.page;
  if (page < 1 || page > 3) return;
  const std::vector<std::string>& lines = data.resultLines;
  // A table longer than any result table draws nothing (each row would take a day record).
  if (LongerThanAResultTable(lines.size())) return;
  const int rows = static_cast<int>(lines.size()) - fw::kDayHeaderLines;
  if (rows <= 0) return;
  platform::CurrentUi().SetCursorShape(platform::CursorShape::Wait);

  BeginChart(c, width, height);
  const int plotW = width - 2 * kLeft, plotH = height - 2 * kTop;
  const int right = kLeft + plotW, bottom = kTop + plotH;
  const Scale scale = PageScale(page, data.basicVolume);

  // The rows of the table.
  std::vector<fw::TDayRecord> records;
  records.reserve(rows);
  int count = 0;
  for (int i = 1; i <= rows; ++i) {
    fw::TDayRecord r;
    if (!fw::ReadDayRow(lines, i, count, r)) {
      fw::InitDayRecord(r);
      r.Row = i;
    }
    records.push_back(r);
  }
  // Row i (from 1) starts at RowX(i); pages 2 and 3 centre their values on the row.
  auto rowX = [&](int i) { return kLeft + static_cast<int>(static_cast<long long>(i - 1) * plotW / rows); };
  auto valueX = [&](int i) {
    if (page == 1) return rowX(i);
    return kLeft + static_cast<int>((static_cast<double>(i) - 0.5) * plotW / rows);
  };

  // Horizontal grid of the five divisions and the labels of both axes.
  for (int k = 0; k <= 5; ++k) {
    const int y = bottom - k * plotH / 5;
    if (k > 0 && k < 5) fw::DrawColorLine(c, kLeft, y, kGridColor, right, y);
    const platform::Size ext = TextSize(c, "0", kLabelSize);
    TextRight(c, kLeft - 3, y - ext.cy / 2, fw::FloatToTextDigits(scale.left * k / 5, 6, 0), kLabelSize, kInkColor);
    TextLeft(c, right + 3, y - ext.cy / 2, fw::FloatToTextDigits(scale.right * k / 5, 5, 0), kLabelSize, kInkColor);
  }

  // Time marks: page 1 the first day of every month, page 2 every January, page 3 every year.
  for (int i = 1; i <= rows; ++i) {
    const fw::TDayRecord& r = records[i - 1];
    const bool mark = page == 1 ? r.Day == 1 : page == 2 ? r.Month == 1 : r.Month == 12;
    if (!mark) continue;
    const int x = rowX(i);
    fw::DrawColorLine(c, x, kTop, kGridColor, x, bottom);
    if (page == 1) {
      TextLeft(c, x + 2, bottom + 2, std::to_string(r.Month) + J("月"), kLabelSize, kInkColor);
    } else {
      char label[16];
      std::snprintf(label, sizeof label, "   19%2d", r.Year % 100);
      TextLeft(c, x, bottom + 2, label, kLabelSize, kInkColor);
      const std::string markText = RepresentativeMark(data.representative, r.Year - 1980);
      if (!markText.empty()) TextLeft(c, x, bottom + 14, "   " + markText, kLabelSize, kInkColor);
    }
  }

  // Precipitation bars against the right axis.
  const int rowWidth = std::max(1, plotW / rows);
  const int barWidth = page == 1 ? rowWidth : std::max(1, rowWidth * 2 / 3);
  std::vector<std::pair<int, double>> heavyDays;
  for (int i = 1; i <= rows; ++i) {
    const double p = records[i - 1].Values[2];
    if (!(p > 0)) continue;
    const int x = page == 1 ? rowX(i) : valueX(i) - barWidth / 2;
    const int y = YOf(p, scale.right, bottom, plotH);
    if (y < bottom) fw::FillBox(c, x, y, kRainBarColor, 0, x + barWidth, bottom);
    if (page == 1 && p >= kRainLabelMm) heavyDays.emplace_back(x, p);
  }

  // One line per shown tank size.
  for (int t = 1; t <= 8; ++t) {
    const int colour = data.tankShownColor[t];
    if (colour == kHiddenTankColor) continue;
    std::vector<platform::Point> points;
    points.reserve(rows);
    for (int i = 1; i <= rows; ++i) {
      points.push_back({valueX(i), YOf(records[i - 1].Values[5 + t], scale.left, bottom, plotH)});
    }
    SetPen(c, colour, 1);
    c.Polyline(points);
  }
  SetPen(c, kInkColor, 1);

  // Days of 100 mm or more carry their amount.
  for (const auto& [x, p] : heavyDays) {
    TextLeft(c, x + 2, kTop + 2, fw::FormatFixed(p, 0) + "mm", kLabelSize, kInkColor);
  }

  fw::DrawBox(c, kLeft, kTop, kInkColor, right, bottom);
  TextLeft(c, 4, 3, scale.leftTitle, kTitleSize, kInkColor);
  TextRight(c, width - 4, 3, scale.rightTitle, kTitleSize, kInkColor);

  // The legend: every tank size keeps its place; a hidden one shows in the hidden colour.
  if (width >= kLegendMinWidth) {
    const int step = plotW / 8;
    for (int t = 1; t <= 8; ++t) {
      const int colour = data.tankShownColor[t];
      const int x = kLeft + (t - 1) * step;
      const int y = 17;
      SetPen(c, colour, 2);
      fw::DrawLine(c, x, y + 6, x + 14, y + 6);
      TextLeft(c, x + 18, y, TankVolumeCaption(data.tankVolume[t]), kLabelSize, colour);
    }
    SetPen(c, kInkColor, 1);
  }
  platform::CurrentUi().SetCursorShape(platform::CursorShape::Default);
}

}  // namespace app
