// Axis settings: their checks and texts, the ends, scrolling, label texts and styles, depth and
// custom axes, copying and the hit test.
#include <gtest/gtest.h>

#include <functional>

#include "chart/axis.h"
#include "chart/axis_panel.h"
#include "chart/errors.h"
#include "chart/procs.h"
#include "chart/series.h"
#include "chart/unit.h"
#include "platform/cp932.h"

using namespace chart;

namespace {

// A series whose values run along X (horizontal bars, say).
class HorizontalSeries : public TChartSeries {
 public:
  HorizontalSeries() { SetHorizontal(); }
};

class Axis : public ::testing::Test {
 protected:
  Axis() {
    chart_.resize(400, 250);
    chart_.SetView3D(false);
  }
  // A series on the chart with points (x, y).
  TChartSeries& AddSeries(std::vector<std::pair<double, double>> points) {
    auto s = std::make_unique<TChartSeries>();
    s->SetParentChart(&chart_);
    for (auto [x, y] : points) s->AddPoint(x, y);
    series_.push_back(std::move(s));
    return *series_.back();
  }

  ChartLibraryScope scope_;
  TCustomAxisPanel chart_;
  std::vector<std::unique_ptr<TChartSeries>> series_;
};

}  // namespace

TEST_F(Axis, BadSettingsRaiseTheirTextsAndKeepTheValue) {
  TChartAxis& a = *chart_.LeftAxis();
  a.SetMinMax(0, 10);
  struct Case {
    const char* what;
    std::function<void()> action;
    std::string message;
    std::function<bool()> unchanged;
  } cases[] = {
      {"negative increment", [&] { a.SetIncrement(-1); }, "Axis increment must be >= 0",
       [&] { return a.Increment() == 0; }},
      {"increment not a number", [&] { a.SetIncrement(std::nan("")); }, "Axis increment must be >= 0",
       [&] { return a.Increment() == 0; }},
      {"minimum above maximum", [&] { a.SetMinimum(11); }, "Axis Minimum Value must be <= Maximum",
       [&] { return a.Minimum() == 0; }},
      {"maximum below minimum", [&] { a.SetMaximum(-1); }, "Axis Maximum Value must be >= Minimum",
       [&] { return a.Maximum() == 10; }},
      {"logarithmic base 1", [&] { a.SetLogarithmicBase(1); }, "Axis Logarithmic Base should be <> 1 and > 0",
       [&] { return a.LogarithmicBase() == 10; }},
      {"logarithmic base 0", [&] { a.SetLogarithmicBase(0); }, "Axis Logarithmic Base should be <> 1 and > 0",
       [&] { return a.LogarithmicBase() == 10; }},
      {"negative labels separation", [&] { a.SetLabelsSeparation(-1); }, "Labels Separation % must be greater than 0",
       [&] { return a.LabelsSeparation() == 10; }},
  };
  for (const Case& c : cases) {
    try {
      c.action();
      ADD_FAILURE() << c.what << ": no exception";
    } catch (const AxisException& e) {
      EXPECT_EQ(e.what(), c.message) << c.what;
    }
    EXPECT_TRUE(c.unchanged()) << c.what;
  }
  // Logarithmic: a negative end, and a date-time axis.
  a.SetMinMax(-5, 10);
  EXPECT_THROW(a.SetLogarithmic(true), AxisException);
  EXPECT_FALSE(a.Logarithmic());
  a.SetMinMax(1, 10);
  a.SetLogarithmic(true);
  EXPECT_TRUE(a.Logarithmic());
  TChartSeries& dated = AddSeries({{36526, 1}, {36527, 2}});
  dated.XValues().SetDateTime(true);
  try {
    chart_.BottomAxis()->SetLogarithmic(true);
    ADD_FAILURE() << "a date-time axis became logarithmic";
  } catch (const AxisException& e) {
    EXPECT_STREQ(e.what(), "DateTime Axis cannot be Logarithmic");
  }
  // The order checks are off while the chart is being read.
  chart_.SetLoading(true);
  a.SetMinimum(50);
  EXPECT_EQ(a.Minimum(), 50);
  chart_.SetLoading(false);
}

TEST_F(Axis, EndsAutomaticFlagsAndSetMinMax) {
  TChartAxis& a = *chart_.BottomAxis();
  a.SetMinMax(5, 5);
  EXPECT_EQ(a.Minimum(), 5);
  EXPECT_EQ(a.Maximum(), 5 + 1e-10);
  EXPECT_FALSE(a.Automatic() || a.AutomaticMinimum() || a.AutomaticMaximum());
  a.SetMinMax(9, 3);
  EXPECT_EQ(a.Minimum(), 3);
  EXPECT_EQ(a.Maximum(), 9);
  a.SetAutomatic(true);
  EXPECT_TRUE(a.AutomaticMinimum() && a.AutomaticMaximum());
  a.SetAutomaticMaximum(false);
  EXPECT_FALSE(a.Automatic());
  EXPECT_TRUE(a.AutomaticMinimum());
  // While the chart is read, Automatic leaves the two ends' flags as they are.
  chart_.SetLoading(true);
  a.SetAutomatic(true);
  EXPECT_FALSE(a.AutomaticMaximum());
  chart_.SetLoading(false);
  // Automatic ends come from the series and are kept in Minimum and Maximum.
  TChartAxis& left = *chart_.LeftAxis();
  AddSeries({{0, -3}, {1, 8}, {2, 2}});
  left.AdjustMaxMin();
  EXPECT_EQ(left.Minimum(), -3);
  EXPECT_EQ(left.Maximum(), 8);
  EXPECT_FALSE(left.IsMinimumStored());
  left.SetAutomaticMinimum(false);
  left.SetMinimum(-10);
  left.AdjustMaxMin();
  EXPECT_EQ(left.Minimum(), -10);
  EXPECT_EQ(left.Maximum(), 8);
  EXPECT_TRUE(left.IsMinimumStored());
}

TEST_F(Axis, AnglesAndDepthPositionsAreKeptInRange) {
  TChartAxis& a = *chart_.BottomAxis();
  for (auto [given, kept] : {std::pair{450, 90}, {-90, 270}, {360, 0}, {-450, 270}, {359, 359}}) {
    a.SetLabelsAngle(given);
    EXPECT_EQ(a.LabelsAngle(), kept) << given;
  }
  EXPECT_FALSE(a.IsZPositionStored());
  a.SetZPosition(0);
  EXPECT_EQ(a.ZPosition(), 0.01);
  EXPECT_FALSE(a.IsZPositionStored());
  a.SetZPosition(40);
  EXPECT_TRUE(a.IsZPositionStored());
  EXPECT_EQ(chart_.RightAxis()->ZPosition(), 100);
  EXPECT_FALSE(chart_.RightAxis()->IsZPositionStored());
  chart_.DepthAxis()->SetZPosition(30);
  EXPECT_FALSE(chart_.DepthAxis()->IsZPositionStored());
}

TEST_F(Axis, ShiftRangeWithAndWithoutLimits) {
  struct Case {
    const char* what;
    double seriesTop;
    double delta;
    bool check;
    double min, max;
  } cases[] = {
      {"series end at the maximum: no scroll right", 11, 10, true, 0, 11},
      {"series beyond the maximum: scrolls", 20, 10, true, 10, 21},
      {"series start at the minimum: no scroll left", 20, -4, true, 0, 11},
      {"zero delta with limits", 20, 0, true, 0, 11},
      {"without limits anything moves", 11, -4, false, -4, 7},
  };
  for (const Case& c : cases) {
    TCustomAxisPanel chart;
    chart.SetView3D(false);
    TChartSeries s;
    s.SetParentChart(&chart);
    s.AddPoint(0, 1);
    s.AddPoint(c.seriesTop, 2);
    TChartAxis& a = *chart.BottomAxis();
    a.SetMinMax(0, 11);
    a.SetAutomatic(true);
    a.SetAutomatic(false);  // fixed again, flags all off
    a.ShiftRange(c.delta, c.check);
    EXPECT_EQ(a.Minimum(), c.min) << c.what;
    EXPECT_EQ(a.Maximum(), c.max) << c.what;
    s.SetParentChart(nullptr);
  }
  // Scrolling an automatic axis starts from the ends shown and fixes them.
  TChartSeries& s = AddSeries({{0, 0}, {11, 1}});
  (void)s;
  TChartAxis& a = *chart_.BottomAxis();
  a.AdjustMaxMin();
  a.ShiftRange(-2, false);
  EXPECT_FALSE(a.Automatic());
  EXPECT_EQ(a.Minimum(), -2);
  EXPECT_EQ(a.Maximum(), 9);
}

TEST_F(Axis, LabelTexts) {
  TChartAxis& a = *chart_.LeftAxis();
  EXPECT_EQ(a.TextOfValue(1234.5), "1,234.5");
  a.SetAxisValuesFormat("0.00");
  EXPECT_EQ(a.TextOfValue(2), "2.00");
  EXPECT_TRUE(a.IsAxisValuesFormatStored());
  EXPECT_EQ(a.TextOfValue(std::nan("")), "NAN");
  a.SetLabelsMultiLine(true);
  a.SetAxisValuesFormat("0 'mm a day'");
  EXPECT_EQ(a.TextOfValue(3), "3\rmm\ra\rday");
  // The chart's label event has the last word; value labels have no series and index -1.
  chart_.OnGetAxisLabel = [](TChartAxis*, TChartSeries* series, int index, std::string& text) {
    if (!series && index == -1) text = "<" + text + ">";
  };
  a.SetLabelsMultiLine(false);
  a.SetAxisValuesFormat("0");
  EXPECT_EQ(a.TextOfValue(7), "<7>");
  chart_.OnGetAxisLabel = nullptr;

  // Date-time axes: negative values have no text; a format, or the short date or time.
  TChartSeries& s = AddSeries({{EncodeDate(1995, 1, 1), 1}, {EncodeDate(1995, 12, 31), 2}});
  s.XValues().SetDateTime(true);
  TChartAxis& b = *chart_.BottomAxis();
  b.AdjustMaxMin();
  ASSERT_TRUE(b.IsDateTime());
  EXPECT_EQ(b.TextOfValue(-1), "");
  EXPECT_EQ(b.TextOfValue(EncodeDate(1995, 3, 17)), "1995/03/17");
  b.SetDateTimeFormat(platform::J("M'月'"));
  EXPECT_EQ(b.TextOfValue(EncodeDate(1995, 3, 17)), platform::J("3月"));
  b.SetDateTimeFormat("");
  b.SetMinMax(EncodeDate(1995, 3, 17), EncodeDate(1995, 3, 17) + 0.5);
  b.AdjustMaxMin();
  EXPECT_EQ(b.TextOfValue(EncodeDate(1995, 3, 17) + 0.25), "6:00");
}

TEST_F(Axis, AutomaticLabelStyles) {
  EXPECT_EQ(chart_.BottomAxis()->AutomaticLabelStyle(), talNone);
  TChartSeries& s = AddSeries({{0, 1}, {1, 2}});
  EXPECT_EQ(chart_.BottomAxis()->AutomaticLabelStyle(), talValue);
  s.SetXLabel(1, "b");
  EXPECT_EQ(chart_.BottomAxis()->AutomaticLabelStyle(), talText);
  EXPECT_EQ(chart_.LeftAxis()->AutomaticLabelStyle(), talValue);  // labels name X places
  EXPECT_EQ(chart_.BottomAxis()->EffectiveLabelStyle(), talText);
  chart_.BottomAxis()->SetLabelStyle(talValue);
  EXPECT_EQ(chart_.BottomAxis()->EffectiveLabelStyle(), talValue);
  // A horizontal series labels the vertical axis.
  HorizontalSeries h;
  h.SetParentChart(&chart_);
  h.AddValue(5, "five");
  s.SetActive(false);
  EXPECT_EQ(chart_.LeftAxis()->AutomaticLabelStyle(), talText);
  EXPECT_EQ(chart_.BottomAxis()->AutomaticLabelStyle(), talValue);
  h.SetParentChart(nullptr);
  // Depth axes: series titles, unless a series spans several depths.
  EXPECT_EQ(chart_.DepthAxis()->AutomaticLabelStyle(), talText);
}

TEST_F(Axis, DepthAxesInvertTogether) {
  chart_.DepthAxis()->SetInverted(true);
  EXPECT_TRUE(chart_.DepthTopAxis()->Inverted());
  chart_.DepthTopAxis()->SetInverted(false);
  EXPECT_FALSE(chart_.DepthAxis()->Inverted());
  EXPECT_FALSE(chart_.DepthAxis()->Visible());
  EXPECT_TRUE(chart_.BottomAxis()->Visible());
  EXPECT_EQ(chart_.LeftAxis()->Title().Angle(), 90);
  EXPECT_EQ(chart_.RightAxis()->Title().Angle(), 270);
  EXPECT_EQ(chart_.BottomAxis()->Title().Angle(), 0);
}

TEST_F(Axis, CustomAxesJoinTheAxisListAndReleaseTheirSeries) {
  EXPECT_EQ(chart_.Axes().Count(), 6);
  TChartAxis* custom = chart_.CustomAxes().Add();
  EXPECT_TRUE(custom->IsCustom());
  EXPECT_EQ(chart_.Axes().Count(), 7);
  EXPECT_EQ(chart_.Axes()[6], custom);
  TChartSeries& s = AddSeries({{0, 1}});
  s.SetCustomVertAxis(custom);
  EXPECT_EQ(s.GetVertAxis(), custom);
  chart_.CustomAxes().Delete(0);
  EXPECT_EQ(s.VertAxis(), aLeftAxis);
  EXPECT_EQ(s.GetVertAxis(), chart_.LeftAxis());
  EXPECT_EQ(chart_.Axes().Count(), 6);
}

TEST_F(Axis, CopyFromTakesEverySettingButTheDepthPosition) {
  TChartAxis& a = *chart_.LeftAxis();
  a.SetMinMax(-20, 40);
  a.SetIncrement(10);
  a.SetLabelsAngle(45);
  a.SetInverted(true);
  a.SetStartPosition(10);
  a.SetZPosition(30);
  a.Title().SetCaption("T");
  a.Grid().SetCentered(true);
  a.LabelsFont().SetSize(14);
  TChartAxis* custom = chart_.CustomAxes().Add();
  custom->CopyFrom(a);
  EXPECT_EQ(custom->Minimum(), -20);
  EXPECT_EQ(custom->Maximum(), 40);
  EXPECT_EQ(custom->Increment(), 10);
  EXPECT_EQ(custom->LabelsAngle(), 45);
  EXPECT_TRUE(custom->Inverted());
  EXPECT_EQ(custom->StartPosition(), 10);
  EXPECT_EQ(custom->Title().Caption(), "T");
  EXPECT_TRUE(custom->GridCentered());
  EXPECT_EQ(custom->LabelsFont().Size(), 14);
  EXPECT_FALSE(custom->Automatic());
  EXPECT_EQ(custom->ZPosition(), 0.01);
}

TEST_F(Axis, ClickedOnTheBandOfLineAndLabels) {
  AddSeries({{0, 0}, {10, 10}});
  chart_.CalcAxesLayout();
  const TChartAxis& left = *chart_.LeftAxis();
  TChartAxis& l = *chart_.LeftAxis();
  const int mid = (left.IStartPos() + left.IEndPos()) / 2;
  ASSERT_LT(left.PosLabels(), left.PosAxis());
  EXPECT_TRUE(l.Clicked(left.PosAxis() + 2, mid));
  EXPECT_TRUE(l.Clicked(left.PosLabels() + 1, mid));
  EXPECT_FALSE(l.Clicked(left.PosAxis() + 5, mid));
  EXPECT_FALSE(l.Clicked(left.PosLabels() - 2, mid));
  EXPECT_FALSE(l.Clicked(left.PosAxis(), left.IEndPos() + 3));
  l.SetVisible(false);
  EXPECT_FALSE(l.Clicked(left.PosAxis(), mid));
}
