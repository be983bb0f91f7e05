// The three charts of the monthly weather window ("気象概要", "温度", "日射量"), made as the
// window makes them: each chart read from its stored description (2D, zoom and panning off, a
// top legend with check boxes, series-coloured texts and no symbols, axis titles, the series
// with twelve month-labelled points in "Data"), then filled with twelve monthly values per
// series (sample values of a temperate station), the month labels kept.
#pragma once

#include <array>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "chart/bar.h"
#include "chart/chart.h"
#include "chart/fast_line.h"
#include "chart/stream.h"
#include "platform/cp932.h"

namespace monthlydemo {

using chart::TColor;

constexpr int kWidth = 700, kHeight = 300;

struct SeriesSpec {
  bool bar;
  const char* title;  // UTF-8
  TColor color;
  bool rightAxis;
  std::array<double, 12> values;
};

// Sample monthly values: temperatures in °C, humidity in %, precipitation in mm per day,
// solar radiation in 100 kcal/m² per day.
inline const std::vector<SeriesSpec>& ChartSeries(int number) {
  static const std::vector<SeriesSpec> overview = {
      {true, "全日射量", 0x0080FF, true, {22, 27, 33, 39, 42, 37, 40, 41, 31, 25, 21, 19}},
      {true, "降水量", 0xFF8000, true, {1.5, 2.1, 3.7, 4.3, 4.1, 5.5, 5.2, 5.0, 7.0, 5.3, 3.1, 1.3}},
      {true, "垂直壁南", 0x00A000, true, {30, 30, 26, 20, 15, 13, 14, 17, 21, 26, 29, 30}},
      {false, "平均気温", 0x0000FF, false, {5.2, 5.7, 8.7, 13.9, 18.2, 21.4, 25.0, 26.4, 22.8, 17.5, 12.1, 7.6}},
      {false, "最高気温", 0x000080, false, {9.8, 10.3, 13.2, 18.5, 22.8, 25.4, 29.1, 30.8, 26.8, 21.6, 16.7, 12.0}},
      {false, "最低気温", 0xFF0000, false, {0.9, 1.4, 4.3, 9.6, 14.1, 18.1, 21.8, 23.0, 19.7, 13.8, 7.8, 3.3}},
      {false, "極暑気温", 0x0080C0, false, {18, 21, 24, 28, 31, 33, 36, 37, 35, 30, 25, 21}},
      {false, "極寒気温", 0x800000, false, {-5, -5, -3, 1, 6, 11, 16, 18, 12, 4, -1, -4}},
      {false, "相対湿度", 0x808000, false, {50, 52, 58, 64, 69, 76, 77, 74, 75, 70, 63, 55}},
      {false, "土中温度", 0x800080, false, {8, 8, 10, 14, 18, 22, 25, 27, 25, 20, 15, 10}},
  };
  static const std::vector<SeriesSpec> temperatures = {
      {false, "最高気温", 0x000080, false, {9.8, 10.3, 13.2, 18.5, 22.8, 25.4, 29.1, 30.8, 26.8, 21.6, 16.7, 12.0}},
      {false, "最低気温", 0xFF0000, false, {0.9, 1.4, 4.3, 9.6, 14.1, 18.1, 21.8, 23.0, 19.7, 13.8, 7.8, 3.3}},
      {false, "極暑気温", 0x0080C0, false, {18, 21, 24, 28, 31, 33, 36, 37, 35, 30, 25, 21}},
      {false, "極寒気温", 0x800000, false, {-5, -5, -3, 1, 6, 11, 16, 18, 12, 4, -1, -4}},
      {false, "土中温度", 0x800080, false, {8, 8, 10, 14, 18, 22, 25, 27, 25, 20, 15, 10}},
      {false, "平均気温", 0x0000FF, false, {5.2, 5.7, 8.7, 13.9, 18.2, 21.4, 25.0, 26.4, 22.8, 17.5, 12.1, 7.6}},
  };
  static const std::vector<SeriesSpec> solar = {
      {true, "全日射量", 0x0080FF, false, {22, 27, 33, 39, 42, 37, 40, 41, 31, 25, 21, 19}},
      {true, "４寸傾東", 0xFF8000, false, {17, 22, 28, 35, 39, 35, 37, 37, 28, 21, 17, 15}},
      {true, "４寸傾西", 0x00A000, false, {16, 21, 27, 34, 38, 34, 36, 37, 27, 20, 16, 14}},
      {true, "４寸傾南", 0x0000FF, false, {31, 34, 37, 40, 40, 35, 38, 41, 34, 31, 30, 28}},
      {true, "４寸傾北", 0x000080, false, {11, 16, 24, 33, 39, 36, 38, 36, 24, 16, 11, 9}},
      {true, "垂直壁東", 0xFF0000, false, {12, 14, 16, 18, 19, 17, 18, 19, 15, 13, 12, 11}},
      {true, "垂直壁西", 0x808000, false, {11, 13, 15, 17, 18, 16, 17, 18, 14, 12, 11, 10}},
      {true, "垂直壁南", 0x800080, false, {30, 30, 26, 20, 15, 13, 14, 17, 21, 26, 29, 30}},
      {true, "垂直壁北", 0x808080, false, {4, 5, 7, 9, 11, 12, 12, 10, 8, 6, 5, 4}},
  };
  return number == 1 ? overview : number == 2 ? temperatures : solar;
}

inline std::string Cp932(const std::string& utf8) {
  const auto text = platform::Utf8ToCp932(utf8);
  if (!text) throw std::runtime_error("not CP932: " + utf8);
  return *text;
}

// A CP932 text as a quoted string of a description.
inline std::string Quoted(const std::string& utf8) {
  std::string out = "'";
  for (const char c : Cp932(utf8)) out += c == '\'' ? std::string("''") : std::string(1, c);
  return out + "'";
}

// The "Data" block of twelve points labelled "１月" ... "１２月" (values 0).
inline std::string MonthData(bool bar) {
  static const char* const kMonths[12] = {"１月", "２月", "３月", "４月", "５月",  "６月",
                                          "７月", "８月", "９月", "１０月", "１１月", "１２月"};
  std::unique_ptr<chart::TChartSeries> s;
  if (bar) {
    s = std::make_unique<chart::TBarSeries>();
  } else {
    s = std::make_unique<chart::TFastLineSeries>();
  }
  for (const char* month : kMonths) s->AddY(0, Cp932(month));
  const std::string bytes = s->DataBytes();
  std::string hex = "{";
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (i % 32 == 0) hex += "\r\n      ";
    char two[3];
    std::snprintf(two, sizeof two, "%02X", static_cast<unsigned char>(bytes[i]));
    hex += two;
  }
  return hex + "}";
}

// The stored description of chart `number` (1 to 3), CP932.
inline std::string Description(int number) {
  std::string d = "object CHAT" + std::to_string(number) + ": TChart\r\n";
  d += "  Left = 32\r\n  Top = 88\r\n  Width = " + std::to_string(kWidth) + "\r\n  Height = " +
       std::to_string(kHeight) + "\r\n";
  d += "  BevelOuter = bvNone\r\n  Color = clWhite\r\n  View3D = False\r\n  AllowPanning = pmNone\r\n";
  d += "  Zoom.Allow = False\r\n";
  d += "  Legend.Alignment = laTop\r\n  Legend.CheckBoxes = True\r\n  Legend.FontSeriesColor = True\r\n";
  d += "  Legend.Symbol.Visible = False\r\n  Legend.TopPos = 0\r\n  Legend.MaxNumRows = 3\r\n";
  d += "  BottomAxis.LabelStyle = talText\r\n";
  const char* leftTitle = number == 3 ? "日射量（x100kcal/㎡日）" : number == 2 ? "温度（℃）" : "温度（℃）・湿度（％）";
  d += "  LeftAxis.Title.Caption = " + Quoted(leftTitle) + "\r\n";
  if (number == 1) d += "  RightAxis.Title.Caption = " + Quoted("日射量（x100kcal/㎡日）・降水量（mm/日）") + "\r\n";
  int k = 0;
  for (const SeriesSpec& s : ChartSeries(number)) {
    d += "  object Series" + std::to_string(++k) + (s.bar ? ": TBarSeries\r\n" : ": TFastLineSeries\r\n");
    d += "    Title = " + Quoted(s.title) + "\r\n";
    d += "    SeriesColor = " + std::to_string(s.color) + "\r\n";
    if (s.rightAxis) d += "    VertAxis = aRightAxis\r\n";
    if (s.bar) d += "    BarPen.Visible = False\r\n    Marks.Visible = False\r\n";
    if (!s.bar) d += "    LinePen.Width = 2\r\n";
    d += "    Data = " + MonthData(s.bar) + "\r\n";
    d += "  end\r\n";
  }
  return d + "end\r\n";
}

// Chart `number` read from its description; raises with the reader's message.
inline std::unique_ptr<chart::TChart> MakeChart(int number) {
  auto c = std::make_unique<chart::TChart>();
  std::string error;
  if (!chart::ReadComponent(Description(number), *c, &error)) throw std::runtime_error(error);
  return c;
}

// Each series cleared and given its twelve monthly values, the month labels kept.
inline void FillMonthlyValues(chart::TChart& c, int number) {
  const std::vector<SeriesSpec>& specs = ChartSeries(number);
  for (int i = 0; i < c.SeriesCount() && i < static_cast<int>(specs.size()); ++i) {
    chart::TChartSeries* s = c.SeriesAt(i);
    std::vector<std::string> labels;
    for (int m = 0; m < s->Count(); ++m) labels.push_back(s->XLabel(m));
    s->Clear();
    for (int m = 0; m < 12; ++m) {
      s->AddY(specs[static_cast<size_t>(i)].values[static_cast<size_t>(m)],
              m < static_cast<int>(labels.size()) ? labels[static_cast<size_t>(m)] : std::string());
    }
  }
}

}  // namespace monthlydemo
