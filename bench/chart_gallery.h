// The chart gallery: every series kind of the chart library with axes, legend and titles, one
// chart per picture, for the gallery runner (PNG and EMF files), its tests and its benchmark.
//
// Each picture has a file name (ASCII), a line saying what it shows and a maker that builds
// the chart at kWidth x kHeight with its series owned by the chart.
#pragma once

#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "chart/axis.h"
#include "chart/bar.h"
#include "chart/chart.h"
#include "chart/fast_line.h"
#include "chart/legend.h"
#include "chart/pie.h"
#include "chart/registry.h"
#include "chart_monthly_demo.h"

namespace gallery {

using namespace chart;

constexpr int kWidth = 640, kHeight = 400;

struct Picture {
  std::string name;
  std::string shows;
  std::function<std::unique_ptr<TChart>()> make;
};

inline std::unique_ptr<TChart> NewChart(const std::string& title, bool view3D) {
  auto c = std::make_unique<TChart>();
  c->resize(kWidth, kHeight);
  c->SetColor(clWhite);
  c->SetView3D(view3D);
  c->Title().SetText({title});
  return c;
}

template <class Kind>
Kind& AddSeries(TChart& c, const std::string& title) {
  auto* s = new Kind(&c);
  s->SetTitle(title);
  s->SetParentChart(&c);
  return *s;
}

// ---- Fast line ----------------------------------------------------------------------------

inline std::unique_ptr<TChart> FastLine(const std::string& title, int points, bool stairs, bool nulls) {
  auto c = NewChart(title, false);
  auto& line = AddSeries<TFastLineSeries>(*c, "wave");
  line.SetStairs(stairs);
  line.SetIgnoreNulls(!nulls);
  line.BeginUpdate();
  for (int i = 0; i < points; ++i) {
    const double y = 50 + 40 * std::sin(i * 6.283 / std::max(points / 2, 1)) + (i * 7919 % 13) - 6;
    if (nulls && i % 10 >= 7) {
      line.AddNull();
    } else {
      line.AddY(y);
    }
  }
  line.EndUpdate();
  return c;
}

// ---- Bars ---------------------------------------------------------------------------------

inline void AddBars(TChart& c, int series, int points, TMultiBar multiBar, TBarStyle style) {
  for (int k = 0; k < series; ++k) {
    auto& bar = AddSeries<TBarSeries>(c, "bars " + std::to_string(k + 1));
    bar.SetMultiBar(multiBar);
    bar.SetBarStyle(style);
    bar.Marks().SetVisible(false);
    for (int i = 0; i < points; ++i) bar.AddY(20 + (i * 37 + k * 23) % 60, "p" + std::to_string(i + 1));
  }
}

inline const char* const kMultiBarNames[] = {"none", "side", "stacked", "stacked100", "sideall", "selfstack"};
inline const char* const kBarStyleNames[] = {"rectangle", "pyramid", "invpyramid", "cylinder", "ellipse",
                                             "arrow",     "rectgradient", "cone", "invarrow", "invcone",
                                             "bevel",     "slantcube",    "diamond"};

// ---- Pies ---------------------------------------------------------------------------------

template <class Kind = TPieSeries>
Kind& AddPie(TChart& c, const std::string& title, std::vector<double> values) {
  static const char* const kLabels[] = {"Cars", "Phones", "Tables", "Monitors", "Lamps", "Keyboards", "Bikes", "Chairs"};
  auto& pie = AddSeries<Kind>(c, title);
  for (size_t i = 0; i < values.size(); ++i) pie.AddY(values[i], kLabels[i % 8]);
  return pie;
}

inline std::vector<Picture> Pictures() {
  std::vector<Picture> list;
  auto add = [&list](std::string name, std::string shows, std::function<std::unique_ptr<TChart>()> make) {
    list.push_back(Picture{std::move(name), std::move(shows), std::move(make)});
  };
  // Fast lines.
  add("fastline_plain", "fast line, 500 points", [] { return FastLine("Fast line", 500, false, false); });
  add("fastline_stairs", "fast line drawn as stairs", [] { return FastLine("Stairs", 60, true, false); });
  add("fastline_nulls", "fast line with null points (gaps)", [] { return FastLine("Null points", 200, false, true); });
  add("fastline_100000", "fast line of 100,000 points", [] { return FastLine("100,000 points", 100000, false, false); });
  // Bars in each arrangement.
  for (int m = mbNone; m <= mbSelfStack; ++m) {
    add(std::string("bar_multibar_") + kMultiBarNames[m], std::string("three bar series, MultiBar ") + kMultiBarNames[m],
        [m] {
          auto c = NewChart(std::string("MultiBar ") + kMultiBarNames[m], false);
          AddBars(*c, 3, 6, static_cast<TMultiBar>(m), bsRectangle);
          return c;
        });
  }
  // Each bar style in 2D, orthogonal 3D and rotated 3D.
  static const char* const kViews[] = {"2d", "3d", "3drotated"};
  for (int v = 0; v < 3; ++v) {
    for (int s = bsRectangle; s <= bsDiamond; ++s) {
      add(std::string("bar_style_") + kBarStyleNames[s] + "_" + kViews[v],
          std::string("bar style ") + kBarStyleNames[s] + " in " + kViews[v], [v, s] {
            auto c = NewChart(std::string("BarStyle ") + kBarStyleNames[s], v > 0);
            if (v == 2) c->View3DOptions().SetOrthogonal(false);
            AddBars(*c, 1, 5, mbNone, static_cast<TBarStyle>(s));
            c->Legend().SetVisible(false);
            return c;
          });
    }
  }
  // Axes.
  add("axes_custom", "a second series on a custom vertical axis in the upper half", [] {
    auto c = NewChart("Custom axis", false);
    AddBars(*c, 1, 8, mbNone, bsRectangle);
    TChartAxis* axis = c->CustomAxes().Add();
    axis->SetStartPosition(0);
    axis->SetEndPosition(50);
    axis->SetPositionPercent(50);
    auto& line = AddSeries<TFastLineSeries>(*c, "on custom axis");
    for (int i = 0; i < 8; ++i) line.AddY(1000 + 300 * std::sin(i));
    line.SetCustomVertAxis(axis);
    return c;
  });
  add("axes_logarithmic", "logarithmic left axis over 1 to 100,000", [] {
    auto c = NewChart("Logarithmic axis", false);
    auto& line = AddSeries<TFastLineSeries>(*c, "powers");
    for (int i = 0; i <= 50; ++i) line.AddY(std::pow(10.0, i / 10.0));
    c->LeftAxis()->SetLogarithmic(true);
    return c;
  });
  add("axes_datetime", "date-time bottom axis over one year", [] {
    auto c = NewChart("Date-time axis", false);
    auto& line = AddSeries<TFastLineSeries>(*c, "daily");
    line.XValues().SetDateTime(true);
    for (int d = 0; d < 365; ++d) line.AddPoint(31778 + d, 15 + 10 * std::sin((d - 100) * 6.283 / 365) + d % 7);
    c->BottomAxis()->SetDateTimeFormat("yyyy/mm/dd");
    return c;
  });
  // Pies and donuts.
  const std::vector<double> values = {35, 20, 15, 12, 9, 5, 3, 1};
  add("pie_2d", "pie in 2D with marks", [values] {
    auto c = NewChart("Pie", false);
    AddPie(*c, "pie", values);
    return c;
  });
  add("pie_3d", "pie in 3D with a radial gradient", [values] {
    auto c = NewChart("Pie 3D", true);
    AddPie(*c, "pie", values).Gradient().SetVisible(true);
    return c;
  });
  add("pie_exploded", "3D pie with the biggest slice exploded 30 % and a shadow", [values] {
    auto c = NewChart("Exploded", true);
    auto& pie = AddPie(*c, "pie", values);
    pie.SetExplodeBiggest(30);
    pie.Shadow().SetHorizSize(10);
    pie.Shadow().SetVertSize(10);
    return c;
  });
  add("pie_other", "pie grouping slices below 5 % into \"Other\", with the other slice's legend at the left", [values] {
    auto c = NewChart("Other slice", false);
    auto& pie = AddPie(*c, "pie", values);
    pie.OtherSlice().SetStyle(poBelowPercent);
    pie.OtherSlice().SetValue(5);
    TChartLegend& legend = pie.OtherSlice().CreateLegend();
    legend.SetAlignment(laLeft);
    return c;
  });
  add("pie_semi", "semi pie (AngleSize 180)", [values] {
    auto c = NewChart("Semi pie", false);
    AddPie(*c, "pie", values).SetAngleSize(180);
    return c;
  });
  add("pie_patterns", "pie with hatch patterns", [values] {
    auto c = NewChart("Patterns", false);
    AddPie(*c, "pie", values).SetUsePatterns(true);
    return c;
  });
  add("pie_four", "four pies sharing the chart as a 2 x 2 grid", [] {
    auto c = NewChart("Four pies", false);
    for (int k = 0; k < 4; ++k) {
      auto& pie = AddPie(*c, "pie " + std::to_string(k + 1), {10.0 + k * 5, 20.0, 30.0 - k * 5, 15.0});
      pie.Marks().SetVisible(false);
    }
    return c;
  });
  add("donut_2d", "donut in 2D", [values] {
    auto c = NewChart("Donut", false);
    AddPie<TDonutSeries>(*c, "donut", values);
    return c;
  });
  add("donut_3d", "donut in 3D, exploded", [values] {
    auto c = NewChart("Donut 3D", true);
    AddPie<TDonutSeries>(*c, "donut", values).SetExplodeBiggest(20);
    return c;
  });
  // Marks.
  add("marks_callouts", "bar marks with long callouts, solid arrow heads and a pointer at each point", [] {
    auto c = NewChart("Marks and callouts", false);
    AddBars(*c, 1, 6, mbNone, bsRectangle);
    TChartSeries* s = c->SeriesAt(0);
    s->Marks().SetVisible(true);
    s->Marks().Callout().SetLength(25);
    s->Marks().Callout().SetArrowHead(ahSolid);
    s->Marks().Callout().SetVisible(true);
    s->Marks().Arrow().SetColor(clRed);
    return c;
  });
  // Legend positions and styles.
  static const char* const kSides[] = {"left", "right", "top", "bottom"};
  for (int side = laLeft; side <= laBottom; ++side) {
    add(std::string("legend_") + kSides[side], std::string("legend on the ") + kSides[side], [side] {
      auto c = NewChart(std::string("Legend ") + kSides[side], false);
      AddBars(*c, 3, 5, mbSide, bsRectangle);
      c->Legend().SetAlignment(static_cast<TLegendAlignment>(side));
      return c;
    });
  }
  static const char* const kStyles[] = {"auto", "series", "values", "lastvalues"};
  for (int style = lsAuto; style <= lsLastValues; ++style) {
    add(std::string("legend_style_") + kStyles[style], std::string("legend style ") + kStyles[style] + ", check boxes",
        [style] {
          auto c = NewChart(std::string("Legend style ") + kStyles[style], false);
          AddBars(*c, 3, 5, mbSide, bsRectangle);
          c->Legend().SetLegendStyle(static_cast<TLegendStyle>(style));
          c->Legend().SetCheckBoxes(true);
          return c;
        });
  }
  // Titles with HTML.
  add("titles_html", "title and foot with HTML text (bold, italic, colour)", [] {
    auto c = NewChart("", false);
    c->Title().SetTextFormat(ttfHtml);
    c->Title().SetText({"<b>Bold</b> and <i>italic</i> and <font color=\"#FF0000\">red</font>"});
    c->Foot().SetTextFormat(ttfHtml);
    c->Foot().SetVisible(true);
    c->Foot().SetText({"<u>underlined</u> foot"});
    AddBars(*c, 2, 5, mbSide, bsRectangle);
    return c;
  });
  // Effects.
  add("effects_gradient", "panel gradient and gradient bars", [] {
    auto c = NewChart("Gradients", false);
    c->Gradient().SetVisible(true);
    c->Gradient().SetStartColor(0xFFF0E0);
    c->Gradient().SetEndColor(0xC08040);
    AddBars(*c, 2, 5, mbSide, bsRectGradient);
    return c;
  });
  add("effects_shadow", "legend shadow and 3D pie shadow", [] {
    auto c = NewChart("Shadows", true);
    c->Legend().Shadow().SetHorizSize(6);
    c->Legend().Shadow().SetVertSize(6);
    auto& pie = AddPie(*c, "pie", {30, 20, 25, 25});
    pie.Shadow().SetHorizSize(12);
    pie.Shadow().SetVertSize(12);
    return c;
  });
  add("effects_transparency", "overlapping 50 % transparent bars", [] {
    auto c = NewChart("Transparency", true);
    AddBars(*c, 2, 5, mbNone, bsRectangle);
    for (int i = 0; i < c->SeriesCount(); ++i) static_cast<TBarSeries*>(c->SeriesAt(i))->SetTransparency(50);
    return c;
  });
  // Palettes.
  for (int p = 1; p < kPaletteCount; ++p) {
    add("palette_" + std::to_string(p), "ten bar series in palette " + std::to_string(p), [p] {
      auto c = NewChart("Palette " + std::to_string(p), false);
      AddBars(*c, 10, 3, mbSide, bsRectangle);
      ApplyChartPalette(*c, p);
      return c;
    });
  }
  // The three weather charts.
  for (int n = 1; n <= 3; ++n) {
    add("weather_" + std::to_string(n), "monthly weather chart " + std::to_string(n), [n] {
      auto c = monthlydemo::MakeChart(n);
      monthlydemo::FillMonthlyValues(*c, n);
      return c;
    });
  }
  return list;
}

}  // namespace gallery
