// Stored-description tables of the axes.
#include "chart/axis_tables.h"

#include "chart/axis.h"
#include "chart/messages.h"
#include "chart/stored_tables.h"

namespace chart {

namespace {

const char* const kLineModeNames[] = {"lmLine", "lmCylinder", "lmRectangle"};
const char* const kLabelAlignNames[] = {"alDefault", "alOpposite"};
const char* const kLabelStyleNames[] = {"talAuto", "talNone", "talValue", "talMark", "talText"};

template <class Make>
const TStoredClass& Keep(Make make) {
  static const std::unique_ptr<TStoredClass> cls = make();
  return *cls;
}

}  // namespace

const TStoredClass& StoredChartAxisPen() {
  return Keep([] {
    return TStoredClassTable<TChartAxisPen>("TChartAxisPen", StoredChartPen(), std::type_identity<TChartPen>())
        .Integer("Width", &TChartAxisPen::Width, &TChartAxisPen::SetWidth, 2, 0, 1000)
        .Enum("LineMode", &TChartAxisPen::LineMode, &TChartAxisPen::SetLineMode, lmLine, kLineModeNames)
        .Build();
  });
}

const TStoredClass& StoredAxisGridPen() {
  return Keep([] {
    using G = TAxisGridPen;
    return TStoredClassTable<G>("TAxisGridPen", StoredChartPen(), std::type_identity<TChartPen>())
        .Color("Color", &G::Color, &G::SetColor, clGray)
        .Enum("Style", &G::Style, &G::SetStyle, platform::PenStyle::Dot, kPenStyleNames)
        .Float("ZPosition", &G::ZPosition, &G::SetZPosition, 0)
        .StoredWhen([](const G& g) { return g.IsZPositionStored(); })
        .Build();
  });
}

const TStoredClass& StoredDarkGrayPen() {
  return Keep([] {
    return TStoredClassTable<TDarkGrayPen>("TDarkGrayPen", StoredChartPen(), std::type_identity<TChartPen>())
        .Color("Color", &TDarkGrayPen::Color, &TDarkGrayPen::SetColor, clGray)
        .Build();
  });
}

const TStoredClass& StoredChartAxisTitle() {
  return Keep([] {
    using T = TChartAxisTitle;
    return TStoredClassTable<T>("TChartAxisTitle", StoredPlotShape(), std::type_identity<TPlotCustomShape>())
        .Integer("Angle", &T::Angle, &T::SetAngle, 0)
        .StoredWhen([](const T& t) { return t.IsAngleStored(); })
        .String("Caption", &T::Caption, &T::SetCaption, "")
        .Boolean("Visible", &T::Visible, &T::SetVisible, true)
        .Build();
  });
}

const TStoredClass& StoredChartAxis() {
  return Keep([] {
    using A = TChartAxis;
    return TStoredClassTable<A>("TChartAxis")
        .Boolean("Automatic", &A::Automatic, &A::SetAutomatic, true)
        .Boolean("AutomaticMaximum", &A::AutomaticMaximum, &A::SetAutomaticMaximum, true)
        .Boolean("AutomaticMinimum", &A::AutomaticMinimum, &A::SetAutomaticMinimum, true)
        .Object<TChartAxisPen>("Axis", StoredChartAxisPen(), [](A& a) -> TChartAxisPen& { return a.Axis(); })
        .String("AxisValuesFormat", &A::AxisValuesFormat, &A::SetAxisValuesFormat, "")
        .StoredWhen([](const A& a) { return a.IsAxisValuesFormatStored(); })
        .String("DateTimeFormat", &A::DateTimeFormat, &A::SetDateTimeFormat, "")
        .Boolean("ExactDateTime", &A::ExactDateTime, &A::SetExactDateTime, true)
        .Object<TAxisGridPen>("Grid", StoredAxisGridPen(), [](A& a) -> TAxisGridPen& { return a.Grid(); })
        .Boolean("GridCentered", &A::GridCentered, &A::SetGridCentered, false)
        .Boolean("Horizontal", &A::Horizontal, &A::SetHorizontal, false)
        .StoredWhen([](const A& a) { return a.IsCustom() && a.Horizontal(); })
        .Float("Increment", &A::Increment, &A::SetIncrement, 0)
        .Boolean("Inverted", &A::Inverted, &A::SetInverted, false)
        .Boolean("Labels", &A::Labels, &A::SetLabels, true)
        .Enum("LabelsAlign", &A::LabelsAlign, &A::SetLabelsAlign, alDefault, kLabelAlignNames)
        .Boolean("LabelsAlternate", &A::LabelsAlternate, &A::SetLabelsAlternate, false)
        .Integer("LabelsAngle", &A::LabelsAngle, &A::SetLabelsAngle, 0)
        .Boolean("LabelsExponent", &A::LabelsExponent, &A::SetLabelsExponent, false)
        .Object<TPlotFont>("LabelsFont", StoredPlotFont(), [](A& a) -> TPlotFont& { return a.LabelsFont(); })
        .Boolean("LabelsMultiLine", &A::LabelsMultiLine, &A::SetLabelsMultiLine, false)
        .Boolean("LabelsOnAxis", &A::LabelsOnAxis, &A::SetLabelsOnAxis, true)
        .Integer("LabelsSeparation", &A::LabelsSeparation, &A::SetLabelsSeparation, 10)
        .Integer("LabelsSize", &A::LabelsSize, &A::SetLabelsSize, 0)
        .Enum("LabelStyle", &A::LabelStyle, &A::SetLabelStyle, talAuto, kLabelStyleNames)
        .Boolean("Logarithmic", &A::Logarithmic, &A::SetLogarithmic, false)
        .Float("LogarithmicBase", &A::LogarithmicBase, &A::SetLogarithmicBase, 10)
        .Float("Maximum", &A::Maximum, &A::SetMaximum, 0)
        .StoredWhen([](const A& a) { return a.IsMaximumStored(); })
        .Integer("MaximumOffset", &A::MaximumOffset, &A::SetMaximumOffset, 0)
        .Float("Minimum", &A::Minimum, &A::SetMinimum, 0)
        .StoredWhen([](const A& a) { return a.IsMinimumStored(); })
        .Integer("MinimumOffset", &A::MinimumOffset, &A::SetMinimumOffset, 0)
        .Object<TChartPen>("MinorGrid", StoredChartPen(), [](A& a) -> TChartPen& { return a.MinorGrid(); })
        .Integer("MinorTickCount", &A::MinorTickCount, &A::SetMinorTickCount, 3)
        .Integer("MinorTickLength", &A::MinorTickLength, &A::SetMinorTickLength, 2)
        .Object<TDarkGrayPen>("MinorTicks", StoredDarkGrayPen(), [](A& a) -> TDarkGrayPen& { return a.MinorTicks(); })
        .Boolean("OtherSide", &A::OtherSide, &A::SetOtherSide, false)
        .StoredWhen([](const A& a) { return a.IsCustom() && a.OtherSide(); })
        .Float("PositionPercent", &A::PositionPercent, &A::SetPositionPercent, 0)
        .Enum("PositionUnits", &A::PositionUnits, &A::SetPositionUnits, muPercent, kPlotUnitsNames)
        .Boolean("RoundFirstLabel", &A::RoundFirstLabel, &A::SetRoundFirstLabel, true)
        .Float("StartPosition", &A::StartPosition, &A::SetStartPosition, 0)
        .Float("EndPosition", &A::EndPosition, &A::SetEndPosition, 100)
        .Integer("TickInnerLength", &A::TickInnerLength, &A::SetTickInnerLength, 0)
        .Integer("TickLength", &A::TickLength, &A::SetTickLength, 4)
        .Boolean("TickOnLabelsOnly", &A::TickOnLabelsOnly, &A::SetTickOnLabelsOnly, true)
        .Object<TDarkGrayPen>("Ticks", StoredDarkGrayPen(), [](A& a) -> TDarkGrayPen& { return a.Ticks(); })
        .Object<TDarkGrayPen>("TicksInner", StoredDarkGrayPen(), [](A& a) -> TDarkGrayPen& { return a.TicksInner(); })
        .Object<TChartAxisTitle>("Title", StoredChartAxisTitle(), [](A& a) -> TChartAxisTitle& { return a.Title(); })
        .Integer("TitleSize", &A::TitleSize, &A::SetTitleSize, 0)
        .Boolean("Visible", &A::Visible, &A::SetVisible, true)
        .StoredWhen([](const A& a) { return a.Visible() == a.IsDepthAxis(); })
        .Float("ZPosition", &A::ZPosition, &A::SetZPosition, 0.01)
        .StoredWhen([](const A& a) { return a.IsZPositionStored(); })
        .Build();
  });
}

}  // namespace chart
