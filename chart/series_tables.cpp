// Stored-description tables of the series and what belongs to them.
#include "chart/series_tables.h"

#include <stdexcept>
#include <typeindex>

#include "chart/axis_panel.h"
#include "chart/functions.h"
#include "chart/messages.h"
#include "chart/panel.h"
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

template <class Make>
const TStoredClass& Keep(Make make) {
  static const std::unique_ptr<TStoredClass> cls = make();
  return *cls;
}

// The message of a stored obsolete value goes to the error hook that is installed.
void ReportToErrorHook(const std::string& message) {
  const TChartErrorHook hook = SetChartErrorHook(nullptr);
  SetChartErrorHook(hook);
  hook(message);
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
                  if (!message.empty()) ReportToErrorHook(message);
                })
        .Build();
  });
}

const TStoredClass& StoredSeriesMarks() {
  return Keep([] {
    return TStoredClassTable<TSeriesMarks>("TSeriesMarks")
        .Boolean("Visible", &TSeriesMarks::Visible, &TSeriesMarks::SetVisible, false)
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
        .Integer("MaxPointsPerPage", &P::MaxPointsPerPage, &P::SetMaxPointsPerPage, 0, 0)
        .Integer("Page", &P::Page, &P::SetPage, 1)
        .Boolean("ScaleLastPage", &P::ScaleLastPage, &P::SetScaleLastPage, true)
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
}

void Shutdown() {}

UnitCounter gUnit(Startup, Shutdown);

}  // namespace

void PlotEngineStartup() { gUnit.Start(); }
void PlotEngineShutdown() { gUnit.Stop(); }

}  // namespace chart
