// The report's own classes in the description text and their registration
// (RegisterReportClasses). Each class lists its properties once, in a table that both writes an
// object's properties and reads them back: an entry names the property, says when it is written
// (a value differing from its default, or a rule of its own) and how a read value is set.
// Sub-objects (Font., Frame., Page., PrinterSettings., Brush., Pen.) are entries that hand the
// rest of the name to the sub-object's own table.
#include <QPointer>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <optional>
#include <span>
#include <type_traits>

#include "platform/image_codecs.h"
#include "platform/picture.h"
#include "report/band_report.h"
#include "report/controller.h"
#include "report/printer_settings.h"
#include "report/report_text.h"
#include "report/rpt_ctrls.h"
#include "report/rpt_expr.h"

namespace rpt {

namespace {

constexpr Real kMaxGeometry = kMaxStoredGeometry;
// The most columns a stored page takes.
constexpr int64_t kMaxColumns = 1000;

using Props = std::vector<TextProperty>;

// Reading a value into a T: taken, or Bad with a message.
template <class T>
using ReadValue = std::function<PropertyResult(T&, const TextProperty&, ReadContext&, std::string&)>;

// One property of objects of class T. A value entry gives the value to write (nothing: not
// written; no function: never written, only read) and its reading; a sub-object entry, whose
// name is the prefix with its point ("Font."), writes and reads through the sub-object's table.
template <class T>
struct PropertyEntry {
  std::string name;
  std::function<std::optional<TextValue>(const T&)> write;
  ReadValue<T> read;
  std::function<void(const T&, const std::string& prefix, Props& out)> writeObject;
  std::function<PropertyResult(T&, std::string_view rest, const TextProperty&, ReadContext&, std::string&)> readObject;
};

// Assigns through a setter or straight into a member.
template <class T, class S, class V>
void SetWith(S set, T& t, V v) {
  if constexpr (std::is_member_object_pointer_v<S>) {
    t.*set = std::move(v);
  } else {
    std::invoke(set, t, std::move(v));
  }
}

// A value read with `convert` (false with a message) and handed to `set`.
template <class V, class Convert, class Set>
PropertyResult Take(const TextProperty& p, std::string& message, Convert convert, Set set) {
  V v{};
  if (!convert(p.value, v, message)) return PropertyResult::Bad;
  set(std::move(v));
  return PropertyResult::Taken;
}

// Integers within [min, max].
auto IntIn(int64_t min, int64_t max) {
  return [min, max](const TextValue& v, int& out, std::string& m) { return ValueToInt(v, out, m, min, max); };
}

// Colours are 32-bit patterns, written unsigned and read signed or unsigned.
bool ValueToColor(const TextValue& v, uint32_t& out, std::string& message) {
  int value = 0;
  if (!ValueToInt(v, value, message, INT32_MIN, UINT32_MAX)) return false;
  out = static_cast<uint32_t>(value);
  return true;
}

// An enumeration value by its name.
template <class E>
bool ValueToEnum(const TextValue& v, E& out, std::string& message,
                 const std::function<std::optional<E>(std::string_view)>& byName) {
  std::string name;
  if (!ValueToIdent(v, name, message)) return false;
  std::optional<E> e = byName(name);
  if (!e) {
    message = "unknown value " + name;
    return false;
  }
  out = *e;
  return true;
}

template <class T>
class PropertyTable {
 public:
  // Appends the properties of `o` that are written, each named `prefix` + its name.
  void Write(const T& o, Props& out, const std::string& prefix = std::string()) const {
    for (const PropertyEntry<T>& e : entries_) {
      if (e.writeObject) {
        e.writeObject(o, prefix + e.name, out);
      } else if (e.write) {
        if (std::optional<TextValue> v = e.write(o)) out.push_back(TextProperty{prefix + e.name, std::move(*v), 0});
      }
    }
  }

  // Reads the property named `name` (its name below the tables above this one).
  PropertyResult Read(T& o, std::string_view name, const TextProperty& p, ReadContext& context, std::string& m) const {
    for (const PropertyEntry<T>& e : entries_) {
      if (e.readObject) {
        if (name.substr(0, e.name.size()) == e.name) return e.readObject(o, name.substr(e.name.size()), p, context, m);
      } else if (name == e.name) {
        return e.read(o, p, context, m);
      }
    }
    return PropertyResult::Unknown;
  }

  // A property of a form of its own.
  PropertyTable& Value(std::string name, std::function<std::optional<TextValue>(const T&)> write, ReadValue<T> read) {
    entries_.push_back(PropertyEntry<T>{std::move(name), std::move(write), std::move(read), nullptr, nullptr});
    return *this;
  }

  // Typed properties through a getter and a setter (or a member), written when the value
  // differs from `def` (always when there is none).
  template <class G, class S>
  PropertyTable& Bool(std::string name, G get, S set, std::optional<bool> def) {
    return Typed<bool>(std::move(name), get, set, def, TextValue::Bool, ValueToBool);
  }
  template <class G, class S>
  PropertyTable& Int(std::string name, G get, S set, std::optional<int64_t> def, int64_t min = INT32_MIN,
                     int64_t max = INT32_MAX) {
    return Typed<int>(
        std::move(name), get, set, def, [](int64_t v) { return TextValue::Int(v); }, IntIn(min, max));
  }
  template <class G, class S>
  PropertyTable& Color(std::string name, G get, S set, uint32_t def) {
    return Typed<uint32_t>(
        std::move(name), get, set, std::optional<int64_t>(def), [](int64_t v) { return TextValue::Int(v); },
        ValueToColor);
  }
  template <class G, class S>
  PropertyTable& Str(std::string name, G get, S set, std::optional<std::string> def) {
    return Typed<std::string>(std::move(name), get, set, def, TextValue::Str, ValueToString);
  }
  // An enumeration written by nameOf and read by byName.
  template <class E, class G, class S>
  PropertyTable& Enum(std::string name, G get, S set, std::optional<E> def, const char* (*nameOf)(E),
                      std::optional<E> (*byName)(std::string_view)) {
    std::function<std::optional<E>(std::string_view)> lookup = byName;
    return Typed<E>(
        std::move(name), get, set, def, [nameOf](E v) { return TextValue::Ident(nameOf(v)); },
        [lookup](const TextValue& v, E& out, std::string& m) { return ValueToEnum(v, out, m, lookup); });
  }
  // An enumeration whose value k is named names[k].
  template <class E, class G, class S>
  PropertyTable& Enum(std::string name, G get, S set, std::optional<E> def, std::span<const char* const> names) {
    std::function<std::optional<E>(std::string_view)> lookup = [names](std::string_view n) -> std::optional<E> {
      auto it = std::find(names.begin(), names.end(), n);
      if (it == names.end()) return std::nullopt;
      return static_cast<E>(it - names.begin());
    };
    return Typed<E>(
        std::move(name), get, set, def,
        [names](E v) { return TextValue::Ident(names[static_cast<size_t>(v)]); },
        [lookup](const TextValue& v, E& out, std::string& m) { return ValueToEnum(v, out, m, lookup); });
  }

  // A reference to another object: written by its name when there is one, it has a name and it
  // is not `def`'s (no function: none); read once every object exists, when `take` answers
  // false with a message for a target that does not fit (`self` is null when the object is gone).
  PropertyTable& Ref(std::string name, std::function<const QObject*(const T&)> get,
                     std::function<const QObject*(const T&)> def,
                     std::function<bool(T* self, QObject* target, std::string& message)> take) {
    return Value(
        std::move(name),
        [get, def](const T& t) -> std::optional<TextValue> {
          const QObject* o = get(t);
          if (!o || (def && o == def(t)) || o->objectName().isEmpty()) return std::nullopt;
          return TextValue::Ident(o->objectName().toStdString());
        },
        [take](T& t, const TextProperty& p, ReadContext& context, std::string&) {
          QPointer<T> self = &t;
          context.Reference(p, [self, take](QObject* target, std::string& msg) { return take(self.data(), target, msg); });
          return PropertyResult::Taken;
        });
  }

  // A sub-object with a table of its own, written when `stored` says so (no function: always);
  // `get` gives it for writing, `access` for reading.
  template <class U>
  PropertyTable& Object(std::string prefix, const PropertyTable<U>& table, std::function<const U&(const T&)> get,
                        std::function<U&(T&)> access, std::function<bool(const T&)> stored = nullptr) {
    PropertyEntry<T> e;
    e.name = std::move(prefix);
    e.writeObject = [&table, get, stored](const T& t, const std::string& prefix, Props& out) {
      if (!stored || stored(t)) table.Write(get(t), out, prefix);
    };
    e.readObject = [&table, access](T& t, std::string_view rest, const TextProperty& p, ReadContext& context,
                                    std::string& m) { return table.Read(access(t), rest, p, context, m); };
    entries_.push_back(std::move(e));
    return *this;
  }

 private:
  template <class V, class G, class S, class W, class D, class Convert>
  PropertyTable& Typed(std::string name, G get, S set, std::optional<D> def, W toValue, Convert convert) {
    return Value(
        std::move(name),
        [get, def, toValue](const T& t) -> std::optional<TextValue> {
          const D v = static_cast<D>(std::invoke(get, t));
          if (def && v == *def) return std::nullopt;
          return toValue(v);
        },
        [set, convert](T& t, const TextProperty& p, ReadContext&, std::string& m) {
          return Take<V>(p, m, convert, [&](V v) { SetWith(set, t, std::move(v)); });
        });
  }

  std::vector<PropertyEntry<T>> entries_;
};

// A list of numbers read into a geometry object (as many as it holds).
PropertyResult TakeValues(const TextProperty& p, std::string& m, TRptUnitBase& unit) {
  std::vector<Real> values;
  if (!ValueToReals(p.value, unit.Values().size(), values, m)) return PropertyResult::Bad;
  unit.SetValues(values);
  return PropertyResult::Taken;
}

// A list of strings, written when it holds any.
std::optional<TextValue> StringsUnlessEmpty(const std::vector<std::string>& lines) {
  if (lines.empty()) return std::nullopt;
  return TextValue::Strings(lines);
}

const char* const kStyleNames[] = {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"};
const char* const kPenStyleNames[] = {"psSolid", "psDash",        "psDot",       "psDashDot",  "psDashDotDot",
                                      "psClear", "psInsideFrame", "psUserStyle", "psAlternate"};
const char* const kBrushStyleNames[] = {"bsSolid",     "bsClear",     "bsHorizontal", "bsVertical",
                                        "bsFDiagonal", "bsBDiagonal", "bsCross",      "bsDiagCross"};
const char* const kAlignmentNames[] = {"taLeftJustify", "taRightJustify", "taCenter"};
const char* const kBiDiNames[] = {"bdLeftToRight", "bdRightToLeft", "bdRightToLeftNoAlign", "bdRightToLeftReadingOnly"};
const char* const kShapeNames[] = {"rpsRectangle",    "rpsCircle",        "rpsVertLine", "rpsHorLine",
                                   "rpsTopAndBottom", "rpsRightAndLeft", "rpsRoundRect"};

// ---- Canvas objects

// Fonts: name and height always, the rest when not the default's; Size (in points) is read only.
const PropertyTable<platform::CanvasFont>& FontTable() {
  using F = platform::CanvasFont;
  static const int defStyle = F().Style();
  static const PropertyTable<F> table =
      PropertyTable<F>()
          .Str("Name", &F::Name, &F::SetName, std::nullopt)
          .Int("Height", &F::Height, &F::SetHeight, std::nullopt)
          .Value("Size", nullptr,
                 [](F& f, const TextProperty& p, ReadContext&, std::string& m) {
                   return Take<int>(p, m, IntIn(INT32_MIN, INT32_MAX), [&](int v) { f.SetSize(v); });
                 })
          .Value(
              "Style",
              [](const F& f) -> std::optional<TextValue> {
                if (f.Style() == defStyle) return std::nullopt;
                std::vector<std::string> names;
                for (int i = 0; i < 4; ++i) {
                  if (f.Style() & (1 << i)) names.push_back(kStyleNames[i]);
                }
                return TextValue::SetOf(names);
              },
              [](F& f, const TextProperty& p, ReadContext&, std::string& m) {
                std::vector<std::string> names;
                if (!ValueToSet(p.value, names, m)) return PropertyResult::Bad;
                int style = 0;
                for (const std::string& n : names) {
                  auto it = std::find(std::begin(kStyleNames), std::end(kStyleNames), n);
                  if (it == std::end(kStyleNames)) {
                    m = "unknown value " + n;
                    return PropertyResult::Bad;
                  }
                  style |= 1 << (it - std::begin(kStyleNames));
                }
                f.SetStyle(style);
                return PropertyResult::Taken;
              })
          .Color("Color", &F::Color, &F::SetColor, F().Color())
          .Int("Charset", &F::Charset, &F::SetCharset, F().Charset(), 0, 255);
  return table;
}

const PropertyTable<platform::CanvasBrush>& BrushTable() {
  using B = platform::CanvasBrush;
  static const PropertyTable<B> table =
      PropertyTable<B>()
          .Color("Color", &B::Color, &B::SetColor, B().Color())
          .Enum("Style", &B::Style, &B::SetStyle, std::optional(B().Style()), kBrushStyleNames);
  return table;
}

const PropertyTable<platform::CanvasPen>& PenTable() {
  using P = platform::CanvasPen;
  static const PropertyTable<P> table = PropertyTable<P>()
                                            .Color("Color", &P::Color, &P::SetColor, P().Color())
                                            .Int("Width", &P::Width, &P::SetWidth, P().Width(), 0, 1000)
                                            .Enum("Style", &P::Style, &P::SetStyle, std::optional(P().Style()),
                                                  kPenStyleNames);
  return table;
}

// Frames of printables, bands and the report.
const PropertyTable<TRptFrame>& FrameTable() {
  static const PropertyTable<TRptFrame> table =
      PropertyTable<TRptFrame>()
          .Color("Color", &TRptFrame::Color, &TRptFrame::SetColor, 0)
          .Bool("DrawTop", &TRptFrame::DrawTop, &TRptFrame::SetDrawTop, false)
          .Bool("DrawBottom", &TRptFrame::DrawBottom, &TRptFrame::SetDrawBottom, false)
          .Bool("DrawLeft", &TRptFrame::DrawLeft, &TRptFrame::SetDrawLeft, false)
          .Bool("DrawRight", &TRptFrame::DrawRight, &TRptFrame::SetDrawRight, false)
          .Enum("Style", &TRptFrame::Style, &TRptFrame::SetStyle, std::optional(platform::PenStyle::Solid),
                kPenStyleNames)
          .Int("Width", &TRptFrame::Width, &TRptFrame::SetWidth, 1, -1, 1000);
  return table;
}

// ---- TCustomBandReport

// The environment's entries as names and texts, unless they are the three of a new report;
// the entries the report's controller bands make for themselves are not stored.
std::optional<std::pair<std::vector<std::string>, std::vector<std::string>>> StoredFunctions(
    const TCustomBandReport& report) {
  auto& r = const_cast<TCustomBandReport&>(report);
  std::vector<std::string> names = r.Functions().Names(), texts = r.Functions().WriteData();
  for (const TRptCustomBand* b : r.AllBands()) {
    auto* band = qobject_cast<const TRptControllerBand*>(b);
    if (!band || !band->FunctionRegistered()) continue;
    for (size_t i = 0; i < names.size(); ++i) {
      if (QString::fromStdString(names[i]).compare(QString::fromStdString(band->FunctionName()), Qt::CaseInsensitive) == 0) {
        names.erase(names.begin() + static_cast<std::ptrdiff_t>(i));
        texts.erase(texts.begin() + static_cast<std::ptrdiff_t>(i));
        break;
      }
    }
  }
  if (names == std::vector<std::string>{"PAGENUMBER", "COLUMNNUMBER", "REPORTTITLE"} &&
      texts == std::vector<std::string>{"0", "0", "''"}) {
    return std::nullopt;
  }
  return std::pair{names, texts};
}

// A list of strings handed to `set`.
template <class T>
ReadValue<T> ReadStrings(std::function<void(T&, std::vector<std::string>)> set) {
  return [set](T& t, const TextProperty& p, ReadContext&, std::string& m) {
    std::vector<std::string> lines;
    if (!ValueToStrings(p.value, lines, m)) return PropertyResult::Bad;
    set(t, std::move(lines));
    return PropertyResult::Taken;
  };
}

const PropertyTable<TRptPage>& PageTable() {
  static const PropertyTable<TRptPage> table =
      PropertyTable<TRptPage>()
          .Enum("Orientation", &TRptPage::Orientation, &TRptPage::SetOrientation,
                std::optional(TRptOrientation::Portrait), OrientationName, OrientationByName)
          .Enum("PaperSize", &TRptPage::PaperSize, &TRptPage::SetPaperSize, std::optional<TRptPaperSize>(),
                PaperSizeName, PaperSizeByName)
          .Value(
              "Values", [](const TRptPage& page) -> std::optional<TextValue> { return TextValue::Floats(page.Values()); },
              [](TRptPage& page, const TextProperty& p, ReadContext&, std::string& m) { return TakeValues(p, m, page); })
          .Value("Columns",
                 [](const TRptPage& page) -> std::optional<TextValue> {
                   if (page.Columns() == 1) return std::nullopt;
                   return TextValue::Int(page.Columns());
                 },
                 [](TRptPage& page, const TextProperty& p, ReadContext&, std::string& m) {
                   // An integer out of range (below 1, above 1000 columns) is ignored, as
                   // setting it is.
                   return Take<int64_t>(
                       p, m,
                       [](const TextValue& v, int64_t& out, std::string& msg) {
                         if (v.kind != TextValue::Kind::Integer) {
                           msg = "an integer expected";
                           return false;
                         }
                         out = v.integer;
                         return true;
                       },
                       [&](int64_t v) {
                         if (v >= 1 && v <= kMaxColumns) page.SetColumns(static_cast<int>(v));
                       });
                 })
          .Bool("Ruler", &TRptPage::Ruler, &TRptPage::SetRuler, true);
  return table;
}

const PropertyTable<TBandReportPrinterSettings>& PrinterSettingsTable() {
  using S = TBandReportPrinterSettings;
  static const PropertyTable<S> table =
      PropertyTable<S>()
          .Int("Copies", &S::Copies, &S::Copies, 1)
          .Enum("OutputBin", &S::OutputBin, &S::OutputBin, std::optional(TRptBin::Auto), BinName, BinByName)
          .Bool("Duplex", &S::Duplex, &S::Duplex, false)
          .Int("FirstPage", &S::FirstPage, &S::FirstPage, 0)
          .Int("LastPage", &S::LastPage, &S::LastPage, 0)
          .Bool("UseStandardprinter", &S::UseStandardprinter, &S::UseStandardprinter, false)
          .Bool("UseCustomBinCode", &S::UseCustomBinCode, &S::UseCustomBinCode, false)
          .Int("CustomBinCode", &S::CustomBinCode, &S::CustomBinCode, 0)
          .Int("ExtendedDuplex", &S::ExtendedDuplex, &S::ExtendedDuplex, 0)
          .Bool("UseCustomPaperCode", &S::UseCustomPaperCode, &S::UseCustomPaperCode, false)
          .Int("CustomPaperCode", &S::CustomPaperCode, &S::CustomPaperCode, 0)
          .Bool("PrintMetaFile", &S::PrintMetaFile, &S::PrintMetaFile, false)
          .Int("MemoryLimit", &S::MemoryLimit, &S::MemoryLimit, 250000)
          .Int("PrintQuality", &S::PrintQuality, &S::PrintQuality, 600)
          .Int("Collate", &S::Collate, &S::Collate, 0)
          .Int("ColorOption", &S::ColorOption, &S::ColorOption, 0);
  return table;
}

const PropertyTable<TCustomBandReport>& ReportTable() {
  using R = TCustomBandReport;
  static const PropertyTable<R> table =
      PropertyTable<R>()
          .Enum("Units", &R::Units, &R::SetUnits, std::optional<TRptUnit>(), UnitName, UnitByName)
          .Int("Zoom", &R::Zoom, &R::SetZoom, 100)
          .Object<TRptPage>(
              "Page.", PageTable(), [](const R& r) -> const TRptPage& { return r.Page(); },
              [](R& r) -> TRptPage& { return r.Page(); })
          .Value(
              "Options",
              [](const R& r) -> std::optional<TextValue> {
                if (r.Options ==
                    TBandReportOptions{}.Set(TBandReportOption::FirstPageHeader).Set(TBandReportOption::LastPageFooter)) {
                  return std::nullopt;
                }
                std::vector<std::string> names;
                for (int i = 0; i < 3; ++i) {
                  if (r.Options.Has(static_cast<TBandReportOption>(i))) {
                    names.push_back(OptionName(static_cast<TBandReportOption>(i)));
                  }
                }
                return TextValue::SetOf(names);
              },
              [](R& r, const TextProperty& p, ReadContext&, std::string& m) {
                std::vector<std::string> names;
                if (!ValueToSet(p.value, names, m)) return PropertyResult::Bad;
                TBandReportOptions options;
                for (const std::string& n : names) {
                  auto option = OptionByName(n);
                  if (!option) {
                    m = "unknown value " + n;
                    return PropertyResult::Bad;
                  }
                  options.Set(*option);
                }
                r.Options = options;
                return PropertyResult::Taken;
              })
          .Object<platform::CanvasFont>(
              "Font.", FontTable(), [](const R& r) -> const platform::CanvasFont& { return r.Font(); },
              [](R& r) -> platform::CanvasFont& { return r.Font(); })
          .Object<TRptFrame>(
              "Frame.", FrameTable(), [](const R& r) -> const TRptFrame& { return r.Frame(); },
              [](R& r) -> TRptFrame& { return r.Frame(); })
          .Value(
              "Functions.Strings",
              [](const R& r) -> std::optional<TextValue> {
                auto stored = StoredFunctions(r);
                if (!stored) return std::nullopt;
                return TextValue::Strings(stored->first);
              },
              ReadStrings<R>([](R& r, std::vector<std::string> lines) { r.Functions().SetNames(lines); }))
          .Value(
              "Functions.DATA",
              [](const R& r) -> std::optional<TextValue> {
                auto stored = StoredFunctions(r);
                if (!stored) return std::nullopt;
                return TextValue::Strings(stored->second);
              },
              ReadStrings<R>([](R& r, std::vector<std::string> lines) { r.Functions().ReadData(lines); }))
          .Bool("PrintIfEmpty", &R::PrintIfEmpty, &R::SetPrintIfEmpty, true)
          .Str("ReportTitle", &R::ReportTitle, &R::ReportTitle, "")
          .Bool("ShowProgress", &R::ShowProgress, &R::ShowProgress, true)
          .Bool("SnapToGrid", &R::SnapToGrid, &R::SnapToGrid, true)
          .Str("BackImageControl", &R::BackImageControl, &R::BackImageControl, "")
          .Value(
              "Description", [](const R& r) { return StringsUnlessEmpty(r.Description); },
              [](R& r, const TextProperty& p, ReadContext&, std::string& m) {
                return ValueToStrings(p.value, r.Description, m) ? PropertyResult::Taken : PropertyResult::Bad;
              })
          .Int("PrevFormStyle", &R::PrevFormStyle, &R::PrevFormStyle, 0)
          .Int("PreviewInitialState", &R::PreviewInitialState, &R::PreviewInitialState, 0)
          .Int("PreviewWidth", &R::PreviewWidth, &R::SetPreviewWidth, 500)
          .Int("PreviewHeight", &R::PreviewHeight, &R::SetPreviewHeight, 500)
          .Bool("PrevShowThumbs", &R::PrevShowThumbs, &R::PrevShowThumbs, true)
          .Bool("PrevShowSearch", &R::PrevShowSearch, &R::PrevShowSearch, true)
          .Enum("PrevInitialZoom", &R::PrevInitialZoom, &R::PrevInitialZoom, std::optional(TRptZoomState::rpZoomToFit),
                ZoomStateName, ZoomStateByName)
          .Object<TBandReportPrinterSettings>(
              "PrinterSettings.", PrinterSettingsTable(),
              [](const R& r) -> const TBandReportPrinterSettings& { return r.PrinterSettings(); },
              [](R& r) -> TBandReportPrinterSettings& { return r.PrinterSettings(); });
  return table;
}

// ---- Bands

// The target of a reference as a band of class U (nullptr for none): false with a message for
// another object.
template <class U>
bool AsBand(QObject* target, U*& band, std::string& message) {
  band = qobject_cast<U*>(target);
  if (target && !band) return message = "not a band", false;
  return true;
}

// A link that would make a cycle is refused.
bool Linked(bool ok, std::string& message) {
  if (!ok) message = "Circular linking not allowed";
  return ok;
}

// A master is a report or a controller band.
bool IsMaster(QObject* target, std::string& message) {
  if (target && !qobject_cast<TCustomBandReport*>(target) && !qobject_cast<TRptControllerBand*>(target)) {
    return message = "not a report or a sub-detail band", false;
  }
  return true;
}

// The font of a band or a label: its own, stored when it does not follow its parent's.
template <class T>
PropertyTable<T>& OwnFont(PropertyTable<T>& table) {
  return table.template Object<platform::CanvasFont>(
      "Font.", FontTable(), [](const T& t) -> const platform::CanvasFont& { return t.Font(); },
      [](T& t) -> platform::CanvasFont& { return t.MutableFont(); }, [](const T& t) { return !t.ParentFont(); });
}

template <class T>
PropertyTable<T>& FrameOf(PropertyTable<T>& table) {
  return table.template Object<TRptFrame>(
      "Frame.", FrameTable(), [](const T& t) -> const TRptFrame& { return t.Frame(); },
      [](T& t) -> TRptFrame& { return t.Frame(); });
}

const PropertyTable<TRptCustomBand>& BandTable() {
  using B = TRptCustomBand;
  static const PropertyTable<B> table = [] {
    PropertyTable<B> t;
    t.Bool("AlignToBottom", &B::AlignToBottom, &B::SetAlignToBottom, false)
        .Color("Color", &B::Color, &B::SetColor, 0xFFFFFF)
        .Bool("Enabled", &B::Enabled, &B::SetEnabled, true)
        .Bool("TransparentBand", &B::TransparentBand, &B::SetTransparentBand, false)
        .Bool("ParentFont", &B::ParentFont, &B::SetParentFont, true);
    OwnFont(t)
        .Bool("ForceNewColumn", &B::ForceNewColumn, &B::SetForceNewColumn, false)
        .Bool("ForceNewPage", &B::ForceNewPage, &B::SetForceNewPage, false)
        .Ref("LinkBand", &B::LinkBand, nullptr,
             [](B* self, QObject* target, std::string& m) {
               B* link = nullptr;
               return AsBand(target, link, m) && Linked(!self || self->SetLinkBand(link), m);
             })
        .Value(
            // The band's width follows the page; a page whose margins leave no room can make it
            // larger than a description holds, so it is written within that range (reading sets
            // it anew).
            "Size.Values",
            [](const B& b) -> std::optional<TextValue> {
              std::vector<Real> values = b.Size().Values();
              for (Real& v : values) v = std::clamp(v, -kMaxGeometry, kMaxGeometry);
              return TextValue::Floats(values);
            },
            [](B& b, const TextProperty& p, ReadContext&, std::string& m) { return TakeValues(p, m, b.Size()); })
        .Bool("PreCaluculateBandHeight", &B::PreCaluculateBandHeight, &B::SetPreCaluculateBandHeight, false)
        .Bool("KeepOnOnePage", &B::KeepOnOnePage, &B::SetKeepOnOnePage, false);
    return FrameOf(t);
  }();
  return table;
}

const PropertyTable<TRptBand>& RptBandTable() {
  static const PropertyTable<TRptBand> table = PropertyTable<TRptBand>().Enum(
      "BandType", &TRptBand::BandType, &TRptBand::SetBandType, std::optional<TRptBandType>(), BandTypeName,
      BandTypeByName);
  return table;
}

const PropertyTable<TRptChildBand>& ChildTable() {
  using C = TRptChildBand;
  static const PropertyTable<C> table =
      PropertyTable<C>().Ref("ParentBand", &C::ParentBand, nullptr, [](C* self, QObject* target, std::string& m) {
        TRptCustomBand* band = nullptr;
        return AsBand(target, band, m) && Linked(!self || self->SetParentBand(band), m);
      });
  return table;
}

const PropertyTable<TRptSubDetail>& SubDetailTable() {
  using S = TRptSubDetail;
  static const PropertyTable<S> table =
      PropertyTable<S>()
          .Ref("Master", &S::Master, &S::ParentReport,
               [](S* self, QObject* target, std::string& m) {
                 return IsMaster(target, m) && Linked(!self || self->SetMaster(target), m);
               })
          .Bool("PrintBefore", &S::PrintBefore, &S::SetPrintBefore, false)
          .Bool("PrintIfEmpty", &S::PrintIfEmpty, &S::SetPrintIfEmpty, true)
          .Ref("HeaderBand", &S::HeaderBand, nullptr,
               [](S* self, QObject* target, std::string& m) {
                 TRptCustomBand* band = nullptr;
                 if (!AsBand(target, band, m)) return false;
                 if (self) self->SetHeaderBand(band);
                 return true;
               })
          .Ref("FooterBand", &S::FooterBand, nullptr, [](S* self, QObject* target, std::string& m) {
            TRptCustomBand* band = nullptr;
            if (!AsBand(target, band, m)) return false;
            if (self) self->SetFooterBand(band);
            return true;
          });
  return table;
}

const PropertyTable<TRptGroup>& GroupTable() {
  using G = TRptGroup;
  static const PropertyTable<G> table =
      PropertyTable<G>()
          .Str("Expression", &G::Expression, &G::SetExpression, "")
          .Ref("FooterBand", &G::FooterBand, nullptr,
               [](G* self, QObject* target, std::string& m) {
                 TRptBand* band = nullptr;
                 if (!AsBand(target, band, m)) return false;
                 if (self) self->SetFooterBand(band);
                 return true;
               })
          .Ref("Master", &G::Master, &G::ParentReport,
               [](G* self, QObject* target, std::string& m) {
                 return IsMaster(target, m) && Linked(!self || self->SetMaster(target), m);
               })
          .Bool("ReprintOnNewPage", &G::ReprintOnNewPage, &G::SetReprintOnNewPage, false);
  return table;
}

// ---- Printables

const PropertyTable<TRptPrintable>& PrintableTable() {
  using P = TRptPrintable;
  static const PropertyTable<P> table = [] {
    PropertyTable<P> t;
    t.Enum("Alignment", &P::Alignment, &P::SetAlignment, std::optional(TRptAlignment::Left), kAlignmentNames)
        .Bool("AlignToBand", &P::AlignToBand, &P::SetAlignToBand, false)
        .Color("Color", &P::Color, &P::SetColor, 0xFFFFFF)
        .Bool("Enabled", &P::Enabled, &P::SetEnabled, true)
        .Bool("Visible", &P::Visible, &P::SetVisible, true)
        .Int("Tag", &P::Tag, &P::Tag, 0);
    return FrameOf(t).Value(
        "Size.Values", [](const P& p) -> std::optional<TextValue> { return TextValue::Floats(p.Size().Values()); },
        [](P& c, const TextProperty& p, ReadContext&, std::string& m) { return TakeValues(p, m, c.Size()); });
  }();
  return table;
}

const PropertyTable<TRptCustomLabel>& LabelTable() {
  using L = TRptCustomLabel;
  static const PropertyTable<L> table = [] {
    PropertyTable<L> t;
    t.Bool("AutoSize", &L::AutoSize, &L::SetAutoSize, true)
        .Bool("AutoStretch", &L::AutoStretch, &L::SetAutoStretch, false)
        .Bool("WordWrap", &L::WordWrap, &L::SetWordWrap, true)
        .Bool("Transparent", &L::Transparent, &L::SetTransparent, false)
        .Enum("BiDiMode", &L::BiDiMode, &L::SetBiDiMode, std::optional(TBiDiMode::bdLeftToRight), kBiDiNames)
        .Bool("ParentBiDiMode", &L::ParentBiDiMode, &L::SetParentBiDiMode, true)
        .Bool("ParentFont", &L::ParentFont, &L::SetParentFont, true);
    // The point size is stored with the label's own font and applied when read.
    return OwnFont(t).Value(
        "FontSize",
        [](const L& l) -> std::optional<TextValue> {
          if (l.ParentFont()) return std::nullopt;
          return TextValue::Int(l.StoredFontSize());
        },
        [](L& l, const TextProperty& p, ReadContext&, std::string& m) {
          return Take<int>(p, m, IntIn(INT32_MIN, INT32_MAX), [&](int v) {
            l.ReadStoredFontSize(v);
            l.ApplyStoredFontSize();
          });
        });
  }();
  return table;
}

// An empty caption is written too: a label named without one takes its name as caption, so
// leaving it out would read back as the name.
const PropertyTable<TRptLabel>& RptLabelTable() {
  static const PropertyTable<TRptLabel> table =
      PropertyTable<TRptLabel>().Str("Caption", &TRptLabel::Caption, &TRptLabel::SetCaption, std::nullopt);
  return table;
}

const PropertyTable<TRptMemo>& MemoTable() {
  static const PropertyTable<TRptMemo> table = PropertyTable<TRptMemo>().Value(
      "Lines.Strings", [](const TRptMemo& memo) { return StringsUnlessEmpty(memo.Lines()); },
      ReadStrings<TRptMemo>([](TRptMemo& memo, std::vector<std::string> lines) { memo.SetLines(std::move(lines)); }));
  return table;
}

const PropertyTable<TRptExpr>& ExprTable() {
  using E = TRptExpr;
  static const PropertyTable<E> table =
      PropertyTable<E>()
          .Str("Expression", &E::Expression, &E::SetExpression, "")
          .Str("Mask", &E::Mask, &E::SetMask, "")
          .Ref("Master", &E::Master, nullptr,
               [](E* self, QObject* target, std::string& m) {
                 if (!IsMaster(target, m)) return false;
                 if (self) self->SetMaster(target);
                 return true;
               })
          .Bool("ResetAfterPrint", &E::ResetAfterPrint, &E::ResetAfterPrint, false);
  return table;
}

// Bytes as upper-case hexadecimal digits, and back (false for a text that is not such).
std::string HexOf(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(bytes.size() * 2);
  for (const char c : bytes) {
    const auto u = static_cast<unsigned char>(c);
    out += kDigits[u >> 4];
    out += kDigits[u & 15];
  }
  return out;
}

bool BytesOfHex(std::string_view hex, std::string& out) {
  auto digit = [](char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
  };
  out.clear();
  if (hex.size() % 2 != 0) return false;
  out.reserve(hex.size() / 2);
  for (size_t i = 0; i < hex.size(); i += 2) {
    const int high = digit(hex[i]), low = digit(hex[i + 1]);
    if (high < 0 || low < 0) return false;
    out += static_cast<char>(high * 16 + low);
  }
  return true;
}

// An image's picture as its class and its bytes in hexadecimal: ('TBitmap' '424D...') for a
// bitmap (a 24-bit BMP file) or ('TMetafile' '01000000...') for an enhanced metafile (the
// file's bytes; a metafile of a class of the program's own reads back as the plain class).
// Nothing for an image without a picture. Data that is no picture of its class, and a picture
// larger than a description's geometry holds (10 m, which an auto-sized image would take on),
// is an error naming the image.
std::optional<TextValue> PictureData(const TRptImage& image) {
  const platform::TGraphic* graphic = const_cast<TRptImage&>(image).Picture().Graphic();
  if (!graphic || graphic->Empty()) return std::nullopt;
  if (const auto* metafile = dynamic_cast<const platform::TMetafile*>(graphic)) {
    return TextValue::Strings({"TMetafile", HexOf(metafile->Bytes())});
  }
  if (const auto* bitmap = dynamic_cast<const platform::TBitmapGraphic*>(graphic)) {
    return TextValue::Strings({"TBitmap", HexOf(platform::EncodeBmp24(bitmap->Bitmap()))});
  }
  return std::nullopt;
}

PropertyResult ReadPictureData(TRptImage& image, const TextProperty& p, std::string& m) {
  std::vector<std::string> items;
  if (!ValueToStrings(p.value, items, m)) return PropertyResult::Bad;
  const std::string cannot = "the picture of " + image.objectName().toStdString() + " cannot be read: ";
  if (items.size() != 2) {
    m = cannot + "a class and its data expected";
    return PropertyResult::Bad;
  }
  std::unique_ptr<platform::TGraphic> graphic;
  if (items[0] == "TBitmap") {
    graphic = std::make_unique<platform::TBitmapGraphic>();
  } else if (items[0] == "TMetafile") {
    graphic = std::make_unique<platform::TMetafile>();
  } else {
    m = cannot + "unknown picture class " + items[0];
    return PropertyResult::Bad;
  }
  std::string bytes;
  if (!BytesOfHex(items[1], bytes)) {
    m = cannot + "its data is not hexadecimal";
    return PropertyResult::Bad;
  }
  if (!graphic->LoadFromBytes(bytes) || graphic->Empty()) {
    m = cannot + "its data is no " + (items[0] == "TBitmap" ? "bitmap" : "enhanced metafile");
    return PropertyResult::Bad;
  }
  // An auto-sized image takes its picture's size (a pixel of the layout at zoom 100 whatever the
  // zoom and the units), which a description must be able to hold.
  if (std::fabs(graphic->Width() * kTenthsPerLayoutPixel) > kMaxGeometry ||
      std::fabs(graphic->Height() * kTenthsPerLayoutPixel) > kMaxGeometry) {
    m = cannot + "it is larger than a description holds";
    return PropertyResult::Bad;
  }
  image.Picture().SetGraphic(std::move(graphic));
  return PropertyResult::Taken;
}

const PropertyTable<TRptImage>& ImageTable() {
  using I = TRptImage;
  static const PropertyTable<I> table =
      PropertyTable<I>()
          .Bool("AutoSize", &I::AutoSize, &I::SetAutoSize, false)
          .Bool("Stretch", &I::Stretch, &I::SetStretch, false)
          .Bool("Center", &I::Center, &I::SetCenter, false)
          .Value("Picture.Data", PictureData, [](I& image, const TextProperty& p, ReadContext&, std::string& m) {
            return ReadPictureData(image, p, m);
          });
  return table;
}

const PropertyTable<TRptShape>& ShapeTable() {
  using S = TRptShape;
  static const PropertyTable<S> table =
      PropertyTable<S>()
          .Enum("Shape", &S::Shape, &S::SetShape, std::optional(TRptShapeType::rpsRectangle), kShapeNames)
          .Object<platform::CanvasBrush>(
              "Brush.", BrushTable(), [](const S& s) -> const platform::CanvasBrush& { return s.Brush(); },
              [](S& s) -> platform::CanvasBrush& { return s.Brush(); })
          .Object<platform::CanvasPen>(
              "Pen.", PenTable(), [](const S& s) -> const platform::CanvasPen& { return s.Pen(); },
              [](S& s) -> platform::CanvasPen& { return s.Pen(); })
          .Value(
              "RoundFactor",
              [](const S& s) -> std::optional<TextValue> {
                if (s.RoundFactor() == 0) return std::nullopt;
                return TextValue::Float(s.RoundFactor());
              },
              [](S& s, const TextProperty& p, ReadContext&, std::string& m) {
                // Held as a float: a larger value cannot be held (nor written back).
                return Take<Real>(
                    p, m,
                    [](const TextValue& v, Real& out, std::string& msg) {
                      if (!ValueToReal(v, out, msg)) return false;
                      if (std::fabs(out) <= std::numeric_limits<float>::max()) return true;
                      msg = "value out of range";
                      return false;
                    },
                    [&](Real v) { s.SetRoundFactor(static_cast<float>(v)); });
              })
          .Int("VertAdjust", &S::VertAdjust, &S::VertAdjust, 0);
  return table;
}

// The registry's entry of class T with its table.
template <class T>
ReportClass ClassWith(std::string name, std::string parent, std::function<QObject*(QWidget*)> create,
                      const PropertyTable<T>& table) {
  return ReportClass{
      std::move(name), std::move(parent), std::move(create),
      [&table](QObject* o, const TextProperty& p, ReadContext& context, std::string& m) {
        return table.Read(*static_cast<T*>(o), p.name, p, context, m);
      },
      [&table](const QObject* o, Props& out) { table.Write(*static_cast<const T*>(o), out); }};
}

template <class T>
QObject* Create(QWidget* parent) {
  return new T(parent);
}

}  // namespace

void RegisterReportClasses() {
  static const bool registered = [] {
    RegisterReportClass(ClassWith("TCustomBandReport", "", nullptr, ReportTable()));
    RegisterReportClass({"TBandReport", "TCustomBandReport", Create<TBandReport>, nullptr, nullptr});
    RegisterReportClass(ClassWith("TRptCustomBand", "", nullptr, BandTable()));
    RegisterReportClass(ClassWith("TRptBand", "TRptCustomBand", Create<TRptBand>, RptBandTable()));
    RegisterReportClass(ClassWith("TRptChildBand", "TRptCustomBand", Create<TRptChildBand>, ChildTable()));
    RegisterReportClass(ClassWith("TRptSubDetail", "TRptCustomBand", Create<TRptSubDetail>, SubDetailTable()));
    RegisterReportClass(ClassWith("TRptGroup", "TRptCustomBand", Create<TRptGroup>, GroupTable()));
    RegisterReportClass(ClassWith("TRptPrintable", "", nullptr, PrintableTable()));
    RegisterReportClass(ClassWith("TRptCustomLabel", "TRptPrintable", nullptr, LabelTable()));
    RegisterReportClass(ClassWith("TRptLabel", "TRptCustomLabel", Create<TRptLabel>, RptLabelTable()));
    RegisterReportClass(ClassWith("TRptMemo", "TRptCustomLabel", Create<TRptMemo>, MemoTable()));
    RegisterReportClass(ClassWith("TRptExpr", "TRptCustomLabel", Create<TRptExpr>, ExprTable()));
    RegisterReportClass(ClassWith("TRptImage", "TRptPrintable", Create<TRptImage>, ImageTable()));
    RegisterReportClass(ClassWith("TRptShape", "TRptPrintable", Create<TRptShape>, ShapeTable()));
    return true;
  }();
  (void)registered;
}

}  // namespace rpt
