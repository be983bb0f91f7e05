// Stored-description tables of the series and what belongs to them.
#include "chart/series_tables.h"

#include <stdexcept>
#include <typeindex>

#include "chart/axis_panel.h"
#include "chart/axis_tables.h"
#include "chart/bar.h"
#include "chart/fast_line.h"
#include "chart/functions.h"
#include "chart/messages.h"
#include "chart/panel.h"
#include "chart/pie.h"
#include "chart/series.h"
#include "chart/stored_tables.h"
#include "chart/unit.h"

namespace chart {

namespace {

const char* const kListOrderNames[] = {"loNone", "loAscending", "loDescending"};
const char* const kHorizAxisNames[] = {"aTopAxis", "aBottomAxis", "aBothHorizAxis", "aCustomHorizAxis"};
const char* const kVertAxisNames[] = {"aLeftAxis", "aRightAxis", "aBothVertAxis", "aCustomVertAxis"};
const char* const kPeriodAlignNames[] = {"paFirst", "paCenter", "paLast"};
const char* const kPeriodStyleNames[] = {"psNumPoints", "psRange"};
const char* const kGroupActiveNames[] = {"gaYes", "gaNo", "gaSome"};
const char* const kMarksStyleNames[] = {"smsValue",         "smsPercent", "smsLabel",        "smsLabelPercent",
                                        "smsLabelValue",    "smsLegend",  "smsPercentTotal", "smsLabelPercentTotal",
                                        "smsXValue",        "smsXY"};

template <class Make>
const TStoredClass& Keep(Make make) {
  static const std::unique_ptr<TStoredClass> cls = make();
  return *cls;
}

TStoredValue NameList(const std::vector<std::string>& names) {
  std::vector<TStoredValue> items;
  for (const std::string& n : names) items.push_back(TStoredValue::String(n));
  return TStoredValue::List(std::move(items));
}

std::string ComponentName(const QObject* o) { return o ? o->objectName().toStdString() : std::string(); }

std::string ClassNameOf(const QObject* o) {
  const TStoredClass* cls = FindStoredClass(std::type_index(typeid(*o)));
  return cls ? cls->Name() : std::string("component");
}

}  // namespace

const TStoredClass& StoredChartValueList() {
  return Keep([] {
    using L = TChartValueList;
    return TStoredClassTable<L>("TChartValueList")
        .Boolean("DateTime", &L::DateTime, &L::SetDateTime, false)
        .StoredWhen([](const L& l) { return l.IsDateTimeStored(); })
        .Value(
            "Name", [](const L& l) { return TStoredValue::String(l.Name()); },
            [](L& l, const TStoredValue& v) { l.SetName(StoredString(v)); })
        .Value(
            "Order", [](const L& l) { return TStoredValue::Ident(kListOrderNames[l.Order()]); },
            [](L& l, const TStoredValue& v) { l.SetOrder(static_cast<TChartListOrder>(StoredEnum(v, kListOrderNames))); })
        .String("ValueSource", &L::ValueSource, &L::SetValueSource, "")
        .Legacy("Multiplier",
                [](L&, const TStoredValue& v) {
                  const std::string message = L::ObsoleteMultiplierMessage(StoredFloat(v));
                  if (!message.empty()) ReportChartError(message);  // read on
                })
        .Build();
  });
}

namespace {

const char* const kPointerStyleNames[] = {"psRectangle", "psCircle",   "psTriangle", "psDownTriangle",
                                          "psCross",     "psDiagCross", "psStar",     "psDiamond",
                                          "psSmallDot",  "psNothing",   "psLeftTriangle", "psRightTriangle"};
const char* const kArrowHeadNames[] = {"ahNone", "ahLine", "ahSolid"};

const TStoredClass& StoredMarksCallout() {
  return Keep([] {
    using C = TMarksCallout;
    return TStoredClassTable<C>("TMarksCallout")
        .Enum("ArrowHead", &C::ArrowHead, &C::SetArrowHead, ahNone, kArrowHeadNames)
        .Integer("ArrowHeadSize", &C::ArrowHeadSize, &C::SetArrowHeadSize, 8)
        .Integer("Distance", &C::Distance, &C::SetDistance, 0)
        .Integer("HorizSize", &C::HorizSize, &C::SetHorizSize, 4, 1)
        .Enum("Style", &C::Style, &C::SetStyle, psRectangle, kPointerStyleNames)
        .Integer("VertSize", &C::VertSize, &C::SetVertSize, 4, 1)
        .Boolean("Visible", &C::Visible, &C::SetVisible, false)
        .Build();
  });
}

const TStoredClass& StoredMarksSymbol() {
  return Keep([] {
    using S = TSeriesMarksSymbol;
    return TStoredClassTable<S>("TSeriesMarksSymbol").Boolean("Visible", &S::Visible, &S::SetVisible, false).Build();
  });
}

}  // namespace

const TStoredClass& StoredSeriesMarks() {
  return Keep([] {
    using M = TSeriesMarks;
    return TStoredClassTable<M>("TSeriesMarks")
        .Integer("Angle", &M::Angle, &M::SetAngle, 0)
        .Object<TChartPen>("Arrow", StoredChartPen(), [](M& m) -> TChartPen& { return m.Arrow(); },
                           [](const M& m) -> const TChartPen* {
                             return m.CalloutIfAny() ? &m.CalloutIfAny()->Arrow() : nullptr;
                           })
        .Integer("ArrowLength", &M::ArrowLength, &M::SetArrowLength, 0)
        .StoredWhen([](const M& m) { return m.CalloutIfAny() && m.CalloutIfAny()->IsLengthStored(); })
        .Color("BackColor", &M::BackColor, &M::SetBackColor, platform::SystemColor(24))
        .Object<TMarksCallout>("Callout", StoredMarksCallout(), [](M& m) -> TMarksCallout& { return m.Callout(); },
                               [](const M& m) { return m.CalloutIfAny(); })
        .Boolean("Clip", &M::Clip, &M::SetClip, false)
        .Integer("DrawEvery", &M::DrawEvery, &M::SetDrawEvery, 1, 1)
        .Boolean("MultiLine", &M::MultiLine, &M::SetMultiLine, false)
        .Enum("Style", &M::Style, &M::SetStyle, smsLabel, kMarksStyleNames)
        .Object<TSeriesMarksSymbol>("Symbol", StoredMarksSymbol(),
                                    [](M& m) -> TSeriesMarksSymbol& { return m.Symbol(); },
                                    [](const M& m) { return m.SymbolIfAny(); })
        .Boolean("Transparent", &M::Transparent, &M::SetTransparent, false)
        .Boolean("Visible", &M::Visible, &M::SetVisible, false)
        .Binary(
            "Items", [](const M& m) { return m.ItemsBytes(); },
            [](M& m, std::string_view bytes) { m.ReadItemsBytes(bytes); })
        .Build();
  });
}

const TStoredClass& StoredChartSeries() {
  return Keep([] {
    using S = TChartSeries;
    return TStoredClassTable<S>("TChartSeries")
        .Boolean("Active", &S::Active, &S::SetActive, true)
        .Boolean("ColorEachPoint", &S::ColorEachPoint, &S::SetColorEachPoint, false)
        .String("ColorSource", &S::ColorSource, &S::SetColorSource, "")
        .Integer("Cursor", &S::Cursor, &S::SetCursor, 0, -32768, 32767)
        .Value(
            "DataSource", [](const S& s) { return TStoredValue::Ident(ComponentName(s.DataSource())); },
            [](S& s, const TStoredValue& v) { s.SetPendingDataSourceNames({StoredIdent(v)}); },
            [](const S& s) { return s.DataSources().Count() == 1 && !ComponentName(s.DataSource()).empty(); })
        .Integer("Depth", &S::Depth, &S::SetDepth, -1, -1, 100000)
        .Enum("HorizAxis", &S::HorizAxis, &S::SetHorizAxis, aBottomAxis, kHorizAxisNames)
        .Object<TSeriesMarks>("Marks", StoredSeriesMarks(), [](S& s) -> TSeriesMarks& { return s.Marks(); })
        .String("PercentFormat", &S::PercentFormat, &S::SetPercentFormat, "")
        .StoredWhen([](const S& s) { return s.IsPercentFormatStored(); })
        .Color("SeriesColor", &S::ColorValue, &S::SetSeriesColor, clDefault)
        .StoredWhen([](const S& s) { return s.IsSeriesColorStored(); })
        .Boolean("ShowInEditor", &S::ShowInEditor, &S::SetShowInEditor, true)
        .Boolean("ShowInLegend", &S::ShowInLegend, &S::SetShowInLegend, true)
        .Integer("Tag", &S::Tag, &S::SetTag, 0)
        .String("Title", &S::Title, &S::SetTitle, "")
        .String("ValueFormat", &S::ValueFormat, &S::SetValueFormat, "")
        .StoredWhen([](const S& s) { return s.IsValueFormatStored(); })
        .Enum("VertAxis", &S::VertAxis, &S::SetVertAxis, aLeftAxis, kVertAxisNames)
        .String("XLabelsSource", &S::XLabelsSource, &S::SetXLabelsSource, "")
        .Object<TChartValueList>("XValues", StoredChartValueList(),
                                 [](S& s) -> TChartValueList& { return s.XValues(); })
        .Object<TChartValueList>("YValues", StoredChartValueList(),
                                 [](S& s) -> TChartValueList& { return s.YValues(); })
        .Binary(
            "Data",
            [](const S& s) -> std::optional<std::string> {
              if (!s.IsDataStored()) return std::nullopt;
              return s.DataBytes();
            },
            [](S& s, std::string_view bytes) { s.ReadDataBytes(std::string(bytes)); })
        .Extra(
            "Identifier", [](const S& s) { return TStoredValue::String(s.Identifier()); },
            [](S& s, const TStoredValue& v) { s.SetIdentifier(StoredString(v)); },
            [](const S& s) { return !s.Identifier().empty(); })
        .Extra(
            "Style", [](const S& s) { return TStoredValue::Int(s.Style() & 0x3F); },
            [](S& s, const TStoredValue& v) {
              const int64_t bits = StoredInteger(v);
              for (int bit = 0; bit < 6; ++bit) s.SetStyleBit(bit, (bits >> bit) & 1);
            },
            [](const S& s) { return s.Style() != 0; })
        .Extra(
            "DataSources", [](const S& s) { return NameList(s.DataSourceNames()); },
            [](S& s, const TStoredValue& v) { s.SetPendingDataSourceNames(StoredStrings(v)); },
            [](const S& s) { return s.IsDataSourcesStored(); })
        .Extra(
            "CustomHorizAxis", [](const S& s) { return TStoredValue::Int(s.CustomHorizAxisIndex()); },
            [](S& s, const TStoredValue& v) { s.SetCustomHorizAxisIndex(static_cast<int>(StoredInteger(v, 0))); },
            [](const S& s) { return s.CustomHorizAxisIndex() >= 0; })
        .Extra(
            "CustomVertAxis", [](const S& s) { return TStoredValue::Int(s.CustomVertAxisIndex()); },
            [](S& s, const TStoredValue& v) { s.SetCustomVertAxisIndex(static_cast<int>(StoredInteger(v, 0))); },
            [](const S& s) { return s.CustomVertAxisIndex() >= 0; })
        .Component([](QObject* owner) { return new S(owner); })
        .Children(
            [](const S& s) {
              std::vector<QObject*> children;
              if (s.FunctionType()) children.push_back(s.FunctionType());
              return children;
            },
            [](S& s, QObject* child) {
              auto* f = dynamic_cast<TPlotFunction*>(child);
              if (!f) throw std::runtime_error("a series holds no " + ClassNameOf(child));
              s.SetFunction(f);
            })
        .Build();
  });
}

const TStoredClass& StoredPlotFunction() {
  return Keep([] {
    using F = TPlotFunction;
    return TStoredClassTable<F>("TPlotFunction")
        .Float("Period", &F::Period, &F::SetPeriod, 0)
        .Enum("PeriodAlign", &F::PeriodAlign, &F::SetPeriodAlign, paCenter, kPeriodAlignNames)
        .Enum("PeriodStyle", &F::PeriodStyle, &F::SetPeriodStyle, psNumPoints, kPeriodStyleNames)
        .Component([](QObject* owner) { return new F(owner); })
        .Build();
  });
}

const TStoredClass& StoredPlotSeriesSource() {
  return Keep([] {
    using P = TPlotSeriesSource;
    return TStoredClassTable<P>("TPlotSeriesSource")
        .Boolean("Active", &P::Active, &P::SetActive, false)
        .Value(
            "Series", [](const P& p) { return TStoredValue::Ident(ComponentName(p.Series())); },
            [](P& p, const TStoredValue& v) { p.SetPendingSeriesName(StoredIdent(v)); },
            [](const P& p) { return !ComponentName(p.Series()).empty(); })
        .Component([](QObject* owner) { return new P(owner); })
        .Build();
  });
}

const TStoredClass& StoredSeriesGroup() {
  return Keep([] {
    using G = TSeriesGroup;
    return TStoredClassTable<G>("TSeriesGroup")
        .Value(
            "Active", [](const G& g) { return TStoredValue::Ident(kGroupActiveNames[g.Active()]); },
            [](G& g, const TStoredValue& v) {
              g.SetPendingActive(static_cast<TSeriesGroupActive>(StoredEnum(v, kGroupActiveNames)));
            },
            [](const G& g) { return g.Active() != gaYes; })
        .String("Name", &G::Name, &G::SetName, "")
        .Value(
            "Series",
            [](const G& g) {
              std::vector<std::string> names;
              for (const TChartSeries* s : g.Series()) names.push_back(s->Name());
              return NameList(names);
            },
            [](G& g, const TStoredValue& v) { g.SetPendingMembers(StoredStrings(v)); },
            [](const G& g) { return g.IsSeriesStored(); })
        .Build();
  });
}

const TStoredClass& StoredCustomAxisPanel() {
  return Keep([] {
    using P = TCustomAxisPanel;
    return TStoredClassTable<P>("TCustomAxisPanel", StoredCustomPlotPanelExtended(),
                                std::type_identity<TCustomPlotPanelExtended>())
        .Boolean("AxisBehind", &P::AxisBehind, &P::SetAxisBehind, true)
        .Boolean("AxisVisible", &P::AxisVisible, &P::SetAxisVisible, true)
        .Object<TChartAxis>("BottomAxis", StoredChartAxis(), [](P& p) -> TChartAxis& { return *p.BottomAxis(); })
        .Integer("Chart3DPercent", &P::Chart3DPercent, &P::SetChart3DPercent, 15, 1, 100)
        .Boolean("ClipPoints", &P::ClipPoints, &P::SetClipPoints, true)
        .Collection<TChartAxis>(
            "CustomAxes", StoredChartAxis(), [](const P& p) { return p.CustomAxes().Count(); },
            [](const P& p, int i) -> const TChartAxis& { return *p.CustomAxes().Axis(i); },
            [](P& p) { p.CustomAxes().Clear(); }, [](P& p) -> TChartAxis& { return *p.CustomAxes().Add(); })
        .Object<TChartAxis>("DepthAxis", StoredChartAxis(), [](P& p) -> TChartAxis& { return *p.DepthAxis(); })
        .Object<TChartAxis>("DepthTopAxis", StoredChartAxis(), [](P& p) -> TChartAxis& { return *p.DepthTopAxis(); })
        .Object<TChartAxis>("LeftAxis", StoredChartAxis(), [](P& p) -> TChartAxis& { return *p.LeftAxis(); })
        .Integer("MaxPointsPerPage", &P::MaxPointsPerPage, &P::SetMaxPointsPerPage, 0, 0)
        .Integer("Page", &P::Page, &P::SetPage, 1)
        .Object<TChartAxis>("RightAxis", StoredChartAxis(), [](P& p) -> TChartAxis& { return *p.RightAxis(); })
        .Boolean("ScaleLastPage", &P::ScaleLastPage, &P::SetScaleLastPage, true)
        .Object<TChartAxis>("TopAxis", StoredChartAxis(), [](P& p) -> TChartAxis& { return *p.TopAxis(); })
        .Boolean("View3DWalls", &P::View3DWalls, &P::SetView3DWalls, true)
        .Collection<TSeriesGroup>(
            "SeriesGroups", StoredSeriesGroup(), [](const P& p) { return p.SeriesList().Groups().Count(); },
            [](const P& p, int i) -> const TSeriesGroup& { return p.SeriesList().Groups().Group(i); },
            [](P& p) { p.SeriesList().Groups().Clear(); },
            [](P& p) -> TSeriesGroup& { return p.SeriesList().Groups().Add(); })
        .Component([](QObject* owner) { return new P(qobject_cast<QWidget*>(owner)); })
        .Children(
            [](const P& p) {
              std::vector<QObject*> children;
              for (TChartSeries* s : p.SeriesList()) children.push_back(s);
              for (QObject* o : p.children())
                if (dynamic_cast<TPlotSeriesSource*>(o)) children.push_back(o);
              return children;
            },
            [](P& p, QObject* child) {
              if (auto* s = dynamic_cast<TChartSeries*>(child)) {
                s->SetParentChart(&p);
              } else if (!dynamic_cast<TPlotSeriesSource*>(child)) {
                throw std::runtime_error("a chart holds no " + ClassNameOf(child));
              }
            })
        .Build();
  });
}

// ---- Unit ---------------------------------------------------------------------------------

namespace {

void Startup() {
  RegisterStoredClass(StoredChartSeries());
  RegisterStoredClass(StoredPlotFunction());
  RegisterStoredClass(StoredPlotSeriesSource());
  RegisterStoredClass(StoredCustomAxisPanel());
  RegisterStoredClass(StoredFastLineSeries());
  RegisterStoredClass(StoredBarSeries());
  RegisterStoredClass(StoredPieSeries());
  RegisterStoredClass(StoredDonutSeries());
}

void Shutdown() {}

UnitCounter gUnit(Startup, Shutdown);

}  // namespace

void PlotEngineStartup() { gUnit.Start(); }
void PlotEngineShutdown() { gUnit.Stop(); }

}  // namespace chart
