// Page 5: the weather chart of the fifteen years (one strip per year with the daily
// temperature line and precipitation bars) with its weather-line file, and the
// precipitation-frequency chart of one year.
#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

#include "app/ui/screen3_graphs.h"
#include "app/ui/screen3_graphs_draw.h"
#include "framework/convert.h"
#include "framework/form_utils.h"
#include "platform/cp932.h"
#include "platform/files.h"

namespace app {

using namespace graphs;
using platform::J;

namespace {

constexpr int kLeft = 38, kTop = 28, kStrip = 24;
constexpr int kTempColor = 9, kRainColor = 12, kFrequencyColor = -12;
constexpr int kDaysOnAxis = 365;
constexpr int kMonthStart[12] = {1, 32, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335};

// Bytes [from, from + count) of a line (1-based from), blank-padded when the line is short.
std::string Bytes(const std::string& line, size_t from, size_t count) {
  std::string s = line.size() >= from ? line.substr(from - 1, count) : std::string();
  s.resize(count, ' ');
  return s;
}

}  // namespace

namespace graphs {

std::vector<std::string> DrawWeather(Canvas& c, const std::string& resultPrefix, const std::string& title, int width,
                                     int height) {
  std::vector<std::string> weatherLines;
  BeginChart(c, width, height);
  const int plotW = width - 46, plotH = kYearCount * kStrip;
  const int right = kLeft + plotW, bottom = kTop + plotH;
  auto dayX = [&](int day) { return kLeft + plotW * std::min(day, kDaysOnAxis) / kDaysOnAxis; };

  TextCentre(c, kLeft + plotW / 2, kTop - 13, title, 9, kInkColor);
  // The legend, in the colours of the two quantities.
  const std::string rain = J("0～100mm"), temp = J(" -10～40℃");
  const int tempW = TextSize(c, temp, 8).cx;
  TextRight(c, right, kTop - 13 - 5, temp, 8, kTempColor);
  TextRight(c, right - tempW, kTop - 13 - 5, rain, 8, kRainColor);

  // Month marks across all strips, named below the plot.
  for (int m = 0; m < 12; ++m) {
    const int x = dayX(kMonthStart[m] - 1);
    if (m > 0) fw::DrawColorLine(c, x, kTop, kGridColor, x, bottom);
    TextLeft(c, x + 2, bottom + 1, std::to_string(m + 1) + J("月"), 7, kInkColor);
  }

  const int yearTextH = TextSize(c, "0", 7).cy;
  for (int j = 1; j <= kYearCount; ++j) {
    const int year = kFirstYear + j - 1;
    const int base = kTop + kStrip * j;
    if (j < kYearCount) fw::DrawColorLine(c, kLeft, base, kGridColor, right, base);
    TextRight(c, kLeft - 3, base - kStrip / 2 - yearTextH / 2, std::to_string(year), 7, kInkColor);

    std::vector<std::string> lines;
    if (!platform::ReadTextLines(resultPrefix + "(" + std::to_string(year) + ").DAY", lines)) continue;
    std::vector<platform::Point> temperature;
    int day = 0;
    for (size_t n = fw::kDayHeaderLines; n < lines.size(); ++n) {
      const std::string& line = lines[n];
      if (line.size() < 19) continue;
      ++day;
      const int x = dayX(day);
      const double t = fw::TextToFloat(Bytes(line, 20, 7));
      temperature.push_back({x, base - ScaleOffset(t + 10, 50, kStrip)});
      const double p = fw::TextToFloat(Bytes(line, 27, 7));
      if (p > 0) {
        const int h = ScaleOffset(p, 100, kStrip);
        if (h > 0) fw::DrawColorLine(c, x, base, kRainColor, x, base - h);
        weatherLines.push_back(WeatherLine(line));
      }
    }
    SetPen(c, kTempColor, 1);
    c.Polyline(temperature);
    SetPen(c, kInkColor, 1);
  }
  fw::DrawBox(c, kLeft, kTop, kInkColor, right, bottom);
  return weatherLines;
}

}  // namespace graphs

WeatherChartResult DrawWeatherChart(platform::Canvas& c, const std::string& resultPrefix, const std::string& title,
                                    int width, int height) {
  WeatherChartResult result;
  result.lines = graphs::DrawWeather(c, resultPrefix, title, width, height);
  std::string why;
  const std::string path = WeatherLineFileName(resultPrefix);
  result.written = platform::WriteTextLinesAtomic(path, result.lines, &why, platform::Durability::Unsynced);
  if (!result.written) result.error = J("気象データファイルを保存できません。") + " " + path + " (" + why + ")";
  return result;
}

void DrawPrecipFrequency(platform::Canvas& c, const Screen3Data& data, int width, int height) {
  constexpr int left = 40, top = 34;
  const int right = width - 14, bottom = height - 42;
  const int plotW = right - left, plotH = bottom - top;
  BeginChart(c, width, height);
  if (plotW <= 0 || plotH <= 0) return;
  const int yearNumber = data.frequencyYear - 1980;
  std::array<int, kFrequencyClasses> counts{};
  int days = 0;
  if (yearNumber >= 1 && yearNumber <= kYearCount) {
    counts = data.frequency[yearNumber];
    days = PrecipDayCount(data.frequency, yearNumber);
  }

  // The count axis: a round maximum above the highest class, five divisions.
  const int highest = *std::max_element(counts.begin(), counts.end());
  const int step = std::max(2, (highest + 9) / 10 * 10 / 5);
  const int maximum = step * 5;
  const int textH = TextSize(c, "0", 8).cy;
  for (int k = 0; k <= 5; ++k) {
    const int y = YOf(k * step, maximum, bottom, plotH);
    if (k > 0 && k < 5) fw::DrawColorLine(c, left, y, kGridColor, right, y);
    TextRight(c, left - 3, y - textH / 2, std::to_string(k * step), 8, kInkColor);
  }

  // One bar per 2-mm class, labelled every 10 classes with its millimetres.
  auto classX = [&](int k) { return left + plotW * k / kFrequencyClasses; };
  for (int k = 0; k < kFrequencyClasses; ++k) {
    const int x0 = classX(k), x1 = std::max(x0 + 1, classX(k + 1) - 1);
    if (counts[k] > 0) fw::FillBox(c, x0, YOf(counts[k], maximum, bottom, plotH), kFrequencyColor, 0, x1, bottom);
    if (k % 10 == 0) {
      fw::DrawColorLine(c, x0, bottom, kInkColor, x0, bottom + 3);
      TextTopCentre(c, x0, bottom + 4, std::to_string(2 * k), 8, kInkColor);
    }
  }
  fw::DrawBox(c, left, top, kInkColor, right, bottom);

  TextCentre(c, width / 2, 12, J("降水量頻度分布"), 9, kInkColor);
  TextLeft(c, 4, top - textH - 3, J("頻度(回)"), 8, kInkColor);
  TextCentre(c, left + plotW / 2, bottom + 4 + textH + 10, J("降水量(mm)"), 9, kInkColor);
  char text[64];
  std::snprintf(text, sizeof text, "%3d", days);
  TextRight(c, right - 4, top + 4, J("年間降水日数 ") + text + J(" 日"), 8, kInkColor);
}

}  // namespace app
