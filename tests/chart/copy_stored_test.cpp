// The hand-written copies (CopyFrom / Assign) against the stored tables: every stored property
// of an object is set to a value other than its default, the object is copied into a fresh one,
// and both are written; the two texts must be the same. The values come from the tables
// themselves (a flag flipped, a number moved, a string lengthened, another name of an
// enumeration); string lists come from a description snippet of the row. A row names what stays
// at its default on purpose and what its copy leaves alone by its own rule.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "chart/axis.h"
#include "chart/axis_tables.h"
#include "chart/bar.h"
#include "chart/canvas.h"
#include "chart/canvas3d.h"
#include "chart/chart.h"
#include "chart/effects.h"
#include "chart/fast_line.h"
#include "chart/functions.h"
#include "chart/marks.h"
#include "chart/panel.h"
#include "chart/pie.h"
#include "chart/series_tables.h"
#include "chart/shapes.h"
#include "chart/stored_tables.h"
#include "chart/stream.h"
#include "chart/unit.h"

using namespace chart;

namespace {

// Each property of a class, the inherited ones first, with the object as one of the class
// that declares it; a property a derived table declares again under the same name stands in
// the place of the inherited one.
void ForEachProperty(const TStoredClass& cls, void* object,
                     const std::function<void(const TStoredPropertyInfo&, void*)>& f) {
  std::vector<std::pair<const TStoredPropertyInfo*, void*>> all;
  std::function<void(const TStoredClass&, void*)> collect = [&](const TStoredClass& c, void* o) {
    if (c.Parent()) collect(*c.Parent(), c.ToParent(o));
    for (const TStoredPropertyInfo& p : c.Own()) {
      auto same = std::find_if(all.begin(), all.end(), [&](const auto& e) { return e.first->name == p.name; });
      if (same != all.end()) {
        *same = {&p, o};
      } else {
        all.emplace_back(&p, o);
      }
    }
  };
  collect(cls, object);
  for (const auto& [p, o] : all) f(*p, o);
}

// Names of enumeration values and set elements; a property takes the first of them it knows.
const char* const kIdents[] = {
    "ahLine", "ahNone", "ahSolid", "alDefault", "alOpposite", "bsArrow", "bsBDiagonal", "bsBevel",
    "bsCilinder", "bsClear", "bsCone", "bsCross", "bsDiagCross", "bsDiamond", "bsEllipse", "bsFDiagonal",
    "bsHorizontal", "bsInvArrow", "bsInvCone", "bsInvPyramid", "bsPyramid", "bsRectGradient", "bsRectangle",
    "bsSlantCube", "bsSolid", "bsVertical", "bvLowered", "bvNone", "bvRaised", "bvSpace", "cbsCheck",
    "cbsRadio", "esFlat", "esRound", "esSquare", "fosRectangle", "fosRoundRectangle", "fsBold", "fsItalic",
    "fsStrikeOut", "fsUnderline", "gaNo", "gaSome", "gaYes", "gdBottomTop", "gdDiagonalDown", "gdDiagonalUp",
    "gdFromBottomLeft", "gdFromCenter", "gdFromTopLeft", "gdLeftRight", "gdRadial", "gdRightLeft",
    "gdTopBottom", "laBottom", "laLeft", "laRight", "laTop", "lcsPercent", "lcsPixels", "lmCylinder",
    "lmLine", "lmRectangle", "loAscending", "loDescending", "loNone", "lsAuto", "lsLastValues", "lsSeries",
    "lsValues", "ltsLeftPercent", "ltsLeftValue", "ltsPercent", "ltsPlain", "ltsRightPercent",
    "ltsRightValue", "ltsValue", "ltsXAndPercent", "ltsXAndValue", "ltsXValue", "mbLeft", "mbMiddle",
    "mbNone", "mbRight", "mbSelfStack", "mbSide", "mbSideAll", "mbStacked", "mbStacked100", "mpAutomatic",
    "mpDisabled", "muPercent", "muPixels", "paCenter", "paFirst", "paLast", "pbmCenter", "pbmCustom",
    "pbmStretch", "pbmTile", "pmBoth", "pmHorizontal", "pmNone", "pmVertical", "poBelowPercent",
    "poBelowValue", "poNone", "psAlternate", "psCircle", "psClear", "psCross", "psDash", "psDashDot",
    "psDashDotDot", "psDiagCross", "psDiamond", "psDot", "psDownTriangle", "psInsideFrame", "psLeftTriangle",
    "psNothing", "psNumPoints", "psRange", "psRectangle", "psRightTriangle", "psSmallDot", "psSolid",
    "psStar", "psTriangle", "psUserStyle", "smsLabel", "smsLabelPercent", "smsLabelPercentTotal",
    "smsLabelValue", "smsLegend", "smsPercent", "smsPercentTotal", "smsValue", "smsXValue", "smsXY", "spLeft",
    "spRight", "ssAlt", "ssCtrl", "ssDouble", "ssLeft", "ssMiddle", "ssRight", "ssShift", "taCenter",
    "taLeftJustify", "taRightJustify", "talAuto", "talMark", "talNone", "talText", "talValue", "ttfHtml",
    "ttfNormal", "tzdBoth", "tzdHorizontal", "tzdVertical", "pmNotCopy", "pmXor", "ANSI_CHARSET",
    "SYMBOL_CHARSET",
};

// Values other than `v` a property of its kind may take.
std::vector<TStoredValue> OtherValues(const TStoredValue& v) {
  using K = TStoredValue::Kind;
  switch (v.kind) {
    case K::Integer:
      return {TStoredValue::Int(v.integer + 1), TStoredValue::Int(v.integer - 1), TStoredValue::Int(v.integer + 7)};
    case K::Float:
      return {TStoredValue::Float(v.number + 0.5), TStoredValue::Float(v.number - 0.25),
              TStoredValue::Float(v.number + 3)};
    case K::String:
      return {TStoredValue::String(v.text + "x"), TStoredValue::String("x")};
    case K::Ident: {
      if (v.text == "True" || v.text == "False") return {TStoredValue::Bool(v.text == "False")};
      // A colour: a number no colour name stands for; an enumeration: another of its names.
      std::vector<TStoredValue> out{TStoredValue::Int(0x123456)};
      for (const char* name : kIdents) {
        if (v.text != name) out.push_back(TStoredValue::Ident(name));
      }
      return out;
    }
    case K::Set: {
      if (!v.names.empty()) return {TStoredValue::Set({})};
      std::vector<TStoredValue> out;
      for (const char* name : kIdents) out.push_back(TStoredValue::Set({name}));
      return out;
    }
    default:
      return {};
  }
}

bool Written(const TStoredPropertyInfo& p, const void* o, const TStoredValue& before) {
  return p.stored ? p.stored(o) : !(p.get(o) == before);
}

// Sets every published value property of `object` (and of its sub-objects) that still holds its
// default to another value.
void SetOthers(const TStoredClass& cls, void* object, int depth) {
  ForEachProperty(cls, object, [&](const TStoredPropertyInfo& p, void* o) {
    if (p.kind == TStoredPropertyInfo::Kind::Object) {
      if (depth < 6) SetOthers(*p.objectClass, p.object(o), depth + 1);
      return;
    }
    if (p.kind != TStoredPropertyInfo::Kind::Value || p.extra || !p.get || !p.set) return;
    if (p.stored && p.stored(o)) return;
    const TStoredValue before = p.get(o);
    for (const TStoredValue& other : OtherValues(before)) {
      try {
        p.set(o, other);
      } catch (const std::exception&) {
        continue;
      }
      if (Written(p, o, before)) return;
    }
  });
}

// The published value properties (with a stored rule) that are still not written.
void Unwritten(const TStoredClass& cls, const void* object, const std::string& prefix, int depth,
               std::vector<std::string>& out) {
  ForEachProperty(cls, const_cast<void*>(object), [&](const TStoredPropertyInfo& p, void* o) {
    if (p.kind == TStoredPropertyInfo::Kind::Object) {
      if (depth < 6) Unwritten(*p.objectClass, p.object(o), prefix + p.name + ".", depth + 1, out);
      return;
    }
    if (p.kind != TStoredPropertyInfo::Kind::Value || p.extra || !p.get || !p.set || !p.stored) return;
    if (!p.stored(o)) out.push_back(prefix + p.name);
  });
}

std::string Text(const TStoredClass& cls, const void* object) {
  TStoredObject root;
  root.name = "Written";
  root.className = cls.Name();
  root.properties = WriteProperties(cls, object);
  return FormatDescription(root);
}

// Whether the property at `path` is one of `notCopied` or lies in one of them.
bool Left(const std::string& path, const std::vector<std::string>& notCopied) {
  return std::any_of(notCopied.begin(), notCopied.end(),
                     [&](const std::string& n) { return path == n || path.starts_with(n + "."); });
}

// The lines of `copy` that are not lines of `source` ("+") and the other way round ("-").
std::vector<std::string> Differences(const std::string& source, const std::string& copy,
                                     const std::vector<std::string>& notCopied) {
  auto lines = [&](const std::string& text) {
    std::vector<std::string> out;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
      const std::string line = text.substr(start, end - start);
      const std::string path = line.substr(0, line.find(" = ")).substr(2);
      if (!Left(path, notCopied)) out.push_back(line);
    }
    return out;
  };
  const std::vector<std::string> a = lines(source);
  const std::vector<std::string> b = lines(copy);
  std::vector<std::string> out;
  for (const std::string& l : a) {
    if (std::find(b.begin(), b.end(), l) == b.end()) out.push_back("-" + l);
  }
  for (const std::string& l : b) {
    if (std::find(a.begin(), a.end(), l) == a.end()) out.push_back("+" + l);
  }
  return out;
}

// One row: the class, the two objects (made by the row), the copy from the first into the
// second, the description lines that set what the tables cannot, and the properties that stay
// at their defaults on purpose.
struct CopyRow {
  const char* name;
  const TStoredClass& (*table)();
  // Makes the source and the target, returning them and the copy; `keep` holds their owners.
  std::function<void(std::vector<std::shared_ptr<void>>& keep, void*& source, void*& target,
                     std::function<void()>& copy)>
      make;
  std::string snippet;
  std::vector<std::string> atDefault;
  // The properties (and sub-objects, by path prefix) the copy leaves alone by its own rule.
  std::vector<std::string> notCopied;
};

template <class T>
std::function<void(std::vector<std::shared_ptr<void>>&, void*&, void*&, std::function<void()>&)> Plain(
    std::function<std::shared_ptr<T>()> make, std::function<void(T&, const T&)> copy) {
  return [make, copy](std::vector<std::shared_ptr<void>>& keep, void*& source, void*& target,
                      std::function<void()>& run) {
    auto a = make();
    auto b = make();
    keep = {a, b};
    source = a.get();
    target = b.get();
    run = [copy, a, b] { copy(*b, *a); };
  };
}

// A part of an object of class O (owned by the test), made twice.
template <class O, class T>
std::function<void(std::vector<std::shared_ptr<void>>&, void*&, void*&, std::function<void()>&)> PartOf(
    std::function<std::shared_ptr<O>()> make, std::function<T&(O&)> part, std::function<void(T&, const T&)> copy) {
  return [make, part, copy](std::vector<std::shared_ptr<void>>& keep, void*& source, void*& target,
                            std::function<void()>& run) {
    auto a = make();
    auto b = make();
    keep = {a, b};
    T* pa = &part(*a);
    T* pb = &part(*b);
    source = pa;
    target = pb;
    run = [copy, pa, pb] { copy(*pb, *pa); };
  };
}

std::shared_ptr<TChart> MakeChart() { return std::make_shared<TChart>(); }
std::shared_ptr<TChart> ChartWithBar() {
  auto chart = std::make_shared<TChart>();
  auto* bar = new TBarSeries(chart.get());
  chart->AddSeries(bar);
  return chart;
}

const TStoredClass& ChartTable() { return *FindStoredClass(std::type_index(typeid(TChart))); }
const TStoredClass& BarTable() { return *FindStoredClass(std::type_index(typeid(TBarSeries))); }
const TStoredClass& FastLineTable() { return *FindStoredClass(std::type_index(typeid(TFastLineSeries))); }
const TStoredClass& PieTable() { return *FindStoredClass(std::type_index(typeid(TPieSeries))); }
const TStoredClass& DonutTable() { return *FindStoredClass(std::type_index(typeid(TDonutSeries))); }
const TStoredClass& PanelTable() { return *FindStoredClass(std::type_index(typeid(TCustomPlotPanelExtended))); }

// Two objects of class T made alone, copied by Assign or by CopyFrom.
template <class T>
auto ByAssign() {
  return Plain<T>([] { return std::make_shared<T>(); }, [](T& to, const T& from) { to.Assign(from); });
}
template <class T>
auto ByCopyFrom() {
  return Plain<T>([] { return std::make_shared<T>(); }, [](T& to, const T& from) { to.CopyFrom(from); });
}

// A panel's copy leaves its place and its bevels.
const std::vector<std::string> kPlaceAndBevels = {"Left",       "Top",        "Width",      "Height",
                                                  "BevelInner", "BevelOuter", "BevelWidth", "BorderWidth"};
// A series' links to other components (a source, custom axes) need those components.
const std::vector<std::string> kSeriesLinks = {"DataSource", "HorizAxis", "VertAxis"};
// A series' copy leaves the editor flag, and the value lists keep their own names.
const std::vector<std::string> kSeriesNotCopied = {"ShowInEditor", "XValues.Name", "YValues.Name"};

// What a chart's copy leaves: the place and the bevels (as a panel's copy), and everything of the
// axis panel (axes, axis switches, paging), which it does not copy.
std::vector<std::string> ChartNotCopied() {
  std::vector<std::string> out = kPlaceAndBevels;
  for (const TStoredPropertyInfo& p : StoredCustomAxisPanel().Own()) out.push_back(p.name);
  return out;
}

std::vector<CopyRow> Rows() {
  std::vector<CopyRow> rows;
  rows.push_back({"Pen", StoredChartPen, ByAssign<TChartPen>(), "", {}, {}});
  rows.push_back({"Brush", StoredChartBrush, ByAssign<TChartBrush>(), "", {}, {}});
  rows.push_back({"Font", StoredPlotFont, ByAssign<TPlotFont>(), "", {}, {}});
  rows.push_back({"Shadow", StoredPlotShadow, ByAssign<TPlotShadow>(), "", {}, {}});
  rows.push_back({"Gradient", StoredPlotGradient, ByAssign<TCustomPlotGradient>(), "", {}, {}});
  rows.push_back({"View3DOptions", StoredView3DOptions, ByAssign<TView3DOptions>(), "", {}, {}});
  rows.push_back({"Zoom", StoredPlotZoom, ByAssign<TPlotZoom>(), "", {}, {}});
  rows.push_back({"Shape", StoredPlotShape,
                  PartOf<TChart, TPlotCustomShape>(MakeChart, [](TChart& c) -> TPlotCustomShape& { return c.Title(); },
                                                   [](TPlotCustomShape& to, const TPlotCustomShape& from) {
                                                     to.TPlotCustomShape::CopyFrom(from);
                                                   }),
                  "", {}, {}});
  // A transparent back image needs a picture, which this row leaves out.
  rows.push_back({"Panel", PanelTable, ByCopyFrom<TCustomPlotPanelExtended>(), "", {"BackImageTransp"},
                  kPlaceAndBevels});
  // A fixed axis writes neither switch: its place gives them.
  rows.push_back({"Axis", StoredChartAxis,
                  PartOf<TChart, TChartAxis>(MakeChart, [](TChart& c) -> TChartAxis& { return *c.LeftAxis(); },
                                             [](TChartAxis& to, const TChartAxis& from) { to.CopyFrom(from); }),
                  "", {"Horizontal", "OtherSide"}, {}});
  rows.push_back({"CustomAxis", StoredChartAxis,
                  PartOf<TChart, TChartAxis>(MakeChart, [](TChart& c) -> TChartAxis& { return *c.CustomAxes().Add(); },
                                             [](TChartAxis& to, const TChartAxis& from) { to.CopyFrom(from); }),
                  "", {}, {}});
  rows.push_back({"AxisTitle", StoredChartAxisTitle,
                  PartOf<TChart, TChartAxisTitle>(
                      MakeChart, [](TChart& c) -> TChartAxisTitle& { return c.LeftAxis()->Title(); },
                      [](TChartAxisTitle& to, const TChartAxisTitle& from) { to.CopyFrom(from); }),
                  "", {}, {}});
  rows.push_back({"Marks", StoredSeriesMarks,
                  PartOf<TChart, TSeriesMarks>(ChartWithBar,
                                               [](TChart& c) -> TSeriesMarks& { return c.SeriesList()[0]->Marks(); },
                                               [](TSeriesMarks& to, const TSeriesMarks& from) { to.CopyFrom(from); }),
                  "", {}, {}});
  rows.push_back({"Bar", BarTable, ByCopyFrom<TBarSeries>(), "", kSeriesLinks, kSeriesNotCopied});
  rows.push_back({"FastLine", FastLineTable, ByCopyFrom<TFastLineSeries>(), "", kSeriesLinks, kSeriesNotCopied});
  rows.push_back({"Pie", PieTable, ByCopyFrom<TPieSeries>(), "", kSeriesLinks, kSeriesNotCopied});
  rows.push_back({"Donut", DonutTable, ByCopyFrom<TDonutSeries>(), "", kSeriesLinks, kSeriesNotCopied});
  rows.push_back({"Function", StoredPlotFunction, ByCopyFrom<TPlotFunction>(), "", {}, {}});
  rows.push_back({"Chart", ChartTable,
                  Plain<TChart>(MakeChart, [](TChart& to, const TChart& from) { to.Assign(from); }),
                  "  Title.Text.Strings = (\r\n    'x')\r\n  SubTitle.Text.Strings = (\r\n    'x')\r\n"
                  "  Foot.Text.Strings = (\r\n    'x')\r\n  SubFoot.Text.Strings = (\r\n    'x')\r\n"
                  "  Legend.Title.Text.Strings = (\r\n    'x')\r\n",
                  {"BackImageTransp"}, ChartNotCopied()});
  return rows;
}

class CopyStored : public ::testing::Test {
 protected:
  ChartLibraryScope scope_;
};

}  // namespace

TEST_F(CopyStored, EveryStoredPropertySurvivesTheCopy) {
  for (const CopyRow& row : Rows()) {
    SCOPED_TRACE(row.name);
    const TStoredClass& cls = row.table();
    std::vector<std::shared_ptr<void>> keep;
    void* source = nullptr;
    void* target = nullptr;
    std::function<void()> copy;
    row.make(keep, source, target, copy);
    if (!row.snippet.empty()) {
      const TStoredObject tree = ParseDescription("object S: " + cls.Name() + "\r\n" + row.snippet + "end\r\n");
      ReadProperties(cls, source, tree.properties);
    }
    SetOthers(cls, source, 0);
    std::vector<std::string> unwritten;
    Unwritten(cls, source, "", 0, unwritten);
    std::erase_if(unwritten, [&](const std::string& path) { return Left(path, row.notCopied); });
    EXPECT_EQ(unwritten, row.atDefault);
    copy();
    EXPECT_EQ(Differences(Text(cls, source), Text(cls, target), row.notCopied), std::vector<std::string>{});
  }
}
