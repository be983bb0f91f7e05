// The report's own classes in the description text: each class's properties, written from an
// object and read back into one, and their registration (RegisterReportClasses).
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <limits>

#include "report/band_report.h"
#include "report/controller.h"
#include "report/printer_settings.h"
#include "report/report_text.h"
#include "report/rpt_ctrls.h"
#include "report/rpt_expr.h"

namespace rpt {

// ---- The report's classes ----------------------------------------------------------------

namespace {

constexpr Real kMaxGeometry = kMaxStoredGeometry;

using Props = std::vector<TextProperty>;

void Put(Props& out, std::string name, TextValue v) { out.push_back(TextProperty{std::move(name), std::move(v), 0}); }
void PutBool(Props& out, std::string name, bool v, bool def) {
  if (v != def) Put(out, std::move(name), TextValue::Bool(v));
}
void PutInt(Props& out, std::string name, int64_t v, int64_t def) {
  if (v != def) Put(out, std::move(name), TextValue::Int(v));
}
void PutStr(Props& out, std::string name, const std::string& v) {
  if (!v.empty()) Put(out, std::move(name), TextValue::Str(v));
}
void PutRef(Props& out, std::string name, const QObject* o, const QObject* def = nullptr) {
  if (o && o != def && !o->objectName().isEmpty()) Put(out, std::move(name), TextValue::Ident(o->objectName().toStdString()));
}

// Reads a property through a typed setter: Bad when the value does not convert.
template <class T, class Conv, class Set>
PropertyResult Take(const TextProperty& p, std::string& message, Conv conv, Set set) {
  T v{};
  if (!conv(p.value, v, message)) return PropertyResult::Bad;
  set(v);
  return PropertyResult::Taken;
}

PropertyResult TakeBool(const TextProperty& p, std::string& m, const std::function<void(bool)>& set) {
  return Take<bool>(p, m, ValueToBool, set);
}
PropertyResult TakeInt(const TextProperty& p, std::string& m, const std::function<void(int)>& set) {
  return Take<int>(p, m, [](const TextValue& v, int& o, std::string& msg) { return ValueToInt(v, o, msg); }, set);
}
PropertyResult TakeString(const TextProperty& p, std::string& m, const std::function<void(const std::string&)>& set) {
  return Take<std::string>(p, m, ValueToString, set);
}
template <class E>
PropertyResult TakeEnum(const TextProperty& p, std::string& m, std::optional<E> (*lookup)(std::string_view),
                        const std::function<void(E)>& set) {
  std::string name;
  if (!ValueToIdent(p.value, name, m)) return PropertyResult::Bad;
  std::optional<E> e = lookup(name);
  if (!e) {
    m = "unknown value " + name;
    return PropertyResult::Bad;
  }
  set(*e);
  return PropertyResult::Taken;
}

const char* const kStyleNames[] = {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"};

// Font properties under "Font.": name and height always, the rest when not the default's.
void WriteFont(Props& out, const platform::CanvasFont& f) {
  const platform::CanvasFont def;
  Put(out, "Font.Name", TextValue::Str(f.Name()));
  Put(out, "Font.Height", TextValue::Int(f.Height()));
  if (f.Style() != def.Style()) {
    std::vector<std::string> names;
    for (int i = 0; i < 4; ++i) {
      if (f.Style() & (1 << i)) names.push_back(kStyleNames[i]);
    }
    Put(out, "Font.Style", TextValue::SetOf(names));
  }
  PutInt(out, "Font.Color", f.Color(), def.Color());
  PutInt(out, "Font.Charset", f.Charset(), def.Charset());
}

PropertyResult ReadFont(std::string_view sub, const TextProperty& p, std::string& m,
                        const std::function<platform::CanvasFont&()>& font) {
  if (sub == "Name") return TakeString(p, m, [&](const std::string& v) { font().SetName(v); });
  if (sub == "Height") return TakeInt(p, m, [&](int v) { font().SetHeight(v); });
  if (sub == "Size") return TakeInt(p, m, [&](int v) { font().SetSize(v); });
  if (sub == "Charset") {
    return Take<int>(p, m, [](const TextValue& v, int& o, std::string& msg) { return ValueToInt(v, o, msg, 0, 255); },
                     [&](int v) { font().SetCharset(v); });
  }
  if (sub == "Color") {
    return Take<int>(
        p, m, [](const TextValue& v, int& o, std::string& msg) { return ValueToInt(v, o, msg, INT32_MIN, UINT32_MAX); },
        [&](int v) { font().SetColor(static_cast<uint32_t>(v)); });
  }
  if (sub == "Style") {
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
    font().SetStyle(style);
    return PropertyResult::Taken;
  }
  return PropertyResult::Unknown;
}

PropertyResult TakeValues(const TextProperty& p, std::string& m, TRptUnitBase& unit) {
  std::vector<Real> values;
  if (!ValueToReals(p.value, unit.Values().size(), values, m)) return PropertyResult::Bad;
  unit.SetValues(values);
  return PropertyResult::Taken;
}

// ---- Frames (printables, bands, the report)

const char* const kPenStyleNames[] = {"psSolid", "psDash",        "psDot",       "psDashDot",  "psDashDotDot",
                                      "psClear", "psInsideFrame", "psUserStyle", "psAlternate"};
const char* const kBrushStyleNames[] = {"bsSolid",     "bsClear",     "bsHorizontal", "bsVertical",
                                        "bsFDiagonal", "bsBDiagonal", "bsCross",      "bsDiagCross"};

template <size_t N>
PropertyResult TakeNamed(const TextProperty& p, std::string& m, const char* const (&names)[N],
                         const std::function<void(int)>& set) {
  std::string name;
  if (!ValueToIdent(p.value, name, m)) return PropertyResult::Bad;
  for (size_t i = 0; i < N; ++i) {
    if (name == names[i]) {
      set(static_cast<int>(i));
      return PropertyResult::Taken;
    }
  }
  m = "unknown value " + name;
  return PropertyResult::Bad;
}

PropertyResult TakeColor(const TextProperty& p, std::string& m, const std::function<void(uint32_t)>& set) {
  return Take<int64_t>(
      p, m,
      [](const TextValue& v, int64_t& out, std::string& msg) {
        int value = 0;
        // Colour values are 32-bit patterns: written as signed or unsigned.
        if (v.kind == TextValue::Kind::Integer && v.integer >= 0 && v.integer <= UINT32_MAX) {
          out = v.integer;
          return true;
        }
        if (!ValueToInt(v, value, msg)) return false;
        out = static_cast<uint32_t>(value);
        return true;
      },
      [&](int64_t v) { set(static_cast<uint32_t>(v)); });
}

void WriteFrame(Props& out, const TRptFrame& f) {
  PutInt(out, "Frame.Color", f.Color(), 0);
  PutBool(out, "Frame.DrawTop", f.DrawTop(), false);
  PutBool(out, "Frame.DrawBottom", f.DrawBottom(), false);
  PutBool(out, "Frame.DrawLeft", f.DrawLeft(), false);
  PutBool(out, "Frame.DrawRight", f.DrawRight(), false);
  if (f.Style() != platform::PenStyle::Solid) {
    Put(out, "Frame.Style", TextValue::Ident(kPenStyleNames[static_cast<int>(f.Style())]));
  }
  PutInt(out, "Frame.Width", f.Width(), 1);
}

PropertyResult ReadFrame(std::string_view sub, const TextProperty& p, std::string& m, TRptFrame& f) {
  if (sub == "Color") return TakeColor(p, m, [&](uint32_t v) { f.SetColor(v); });
  if (sub == "DrawTop") return TakeBool(p, m, [&](bool v) { f.SetDrawTop(v); });
  if (sub == "DrawBottom") return TakeBool(p, m, [&](bool v) { f.SetDrawBottom(v); });
  if (sub == "DrawLeft") return TakeBool(p, m, [&](bool v) { f.SetDrawLeft(v); });
  if (sub == "DrawRight") return TakeBool(p, m, [&](bool v) { f.SetDrawRight(v); });
  if (sub == "Style") {
    return TakeNamed(p, m, kPenStyleNames, [&](int v) { f.SetStyle(static_cast<platform::PenStyle>(v)); });
  }
  if (sub == "Width") {
    return Take<int>(p, m, [](const TextValue& v, int& o, std::string& msg) { return ValueToInt(v, o, msg, -1, 1000); },
                     [&](int v) { f.SetWidth(v); });
  }
  return PropertyResult::Unknown;
}

// ---- TCustomBandReport

// The environment's entries as names and texts, unless they are the three of a new report;
// the entries the report's controller bands make for themselves are not stored.
void WriteFunctions(const TCustomBandReport& r, Props& out) {
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
    return;
  }
  Put(out, "Functions.Strings", TextValue::Strings(names));
  Put(out, "Functions.DATA", TextValue::Strings(texts));
}

void WriteReportProps(const QObject* o, Props& out) {
  auto& r = const_cast<TCustomBandReport&>(*static_cast<const TCustomBandReport*>(o));
  const TRptPage& page = r.Page();
  Put(out, "Units", TextValue::Ident(UnitName(r.Units())));
  PutInt(out, "Zoom", r.Zoom(), 100);
  if (page.Orientation() != TRptOrientation::Portrait) {
    Put(out, "Page.Orientation", TextValue::Ident(OrientationName(page.Orientation())));
  }
  Put(out, "Page.PaperSize", TextValue::Ident(PaperSizeName(page.PaperSize())));
  Put(out, "Page.Values", TextValue::Floats(page.Values()));
  PutInt(out, "Page.Columns", page.Columns(), 1);
  PutBool(out, "Page.Ruler", page.Ruler(), true);
  if (!(r.Options == TBandReportOptions{}.Set(TBandReportOption::FirstPageHeader).Set(TBandReportOption::LastPageFooter))) {
    std::vector<std::string> names;
    for (int i = 0; i < 3; ++i) {
      if (r.Options.Has(static_cast<TBandReportOption>(i))) names.push_back(OptionName(static_cast<TBandReportOption>(i)));
    }
    Put(out, "Options", TextValue::SetOf(names));
  }
  WriteFont(out, r.Font());
  WriteFrame(out, r.Frame());
  WriteFunctions(r, out);
  PutBool(out, "PrintIfEmpty", r.PrintIfEmpty(), true);
  PutStr(out, "ReportTitle", r.ReportTitle);
  PutBool(out, "ShowProgress", r.ShowProgress, true);
  PutBool(out, "SnapToGrid", r.SnapToGrid, true);
  PutStr(out, "BackImageControl", r.BackImageControl);
  if (!r.Description.empty()) Put(out, "Description", TextValue::Strings(r.Description));
  PutInt(out, "PrevFormStyle", r.PrevFormStyle, 0);
  PutInt(out, "PreviewInitialState", r.PreviewInitialState, 0);
  PutInt(out, "PreviewWidth", r.PreviewWidth(), 500);
  PutInt(out, "PreviewHeight", r.PreviewHeight(), 500);
  PutBool(out, "PrevShowThumbs", r.PrevShowThumbs, true);
  PutBool(out, "PrevShowSearch", r.PrevShowSearch, true);
  if (r.PrevInitialZoom != TRptZoomState::rpZoomToFit) {
    Put(out, "PrevInitialZoom", TextValue::Ident(ZoomStateName(r.PrevInitialZoom)));
  }
  const TBandReportPrinterSettings& s = r.PrinterSettings();
  PutInt(out, "PrinterSettings.Copies", s.Copies, 1);
  if (s.OutputBin != TRptBin::Auto) Put(out, "PrinterSettings.OutputBin", TextValue::Ident(BinName(s.OutputBin)));
  PutBool(out, "PrinterSettings.Duplex", s.Duplex, false);
  PutInt(out, "PrinterSettings.FirstPage", s.FirstPage, 0);
  PutInt(out, "PrinterSettings.LastPage", s.LastPage, 0);
  PutBool(out, "PrinterSettings.UseStandardprinter", s.UseStandardprinter, false);
  PutBool(out, "PrinterSettings.UseCustomBinCode", s.UseCustomBinCode, false);
  PutInt(out, "PrinterSettings.CustomBinCode", s.CustomBinCode, 0);
  PutInt(out, "PrinterSettings.ExtendedDuplex", s.ExtendedDuplex, 0);
  PutBool(out, "PrinterSettings.UseCustomPaperCode", s.UseCustomPaperCode, false);
  PutInt(out, "PrinterSettings.CustomPaperCode", s.CustomPaperCode, 0);
  PutBool(out, "PrinterSettings.PrintMetaFile", s.PrintMetaFile, false);
  PutInt(out, "PrinterSettings.MemoryLimit", s.MemoryLimit, 250000);
  PutInt(out, "PrinterSettings.PrintQuality", s.PrintQuality, 600);
  PutInt(out, "PrinterSettings.Collate", s.Collate, 0);
  PutInt(out, "PrinterSettings.ColorOption", s.ColorOption, 0);
}

PropertyResult ReadPrinterSettings(std::string_view sub, const TextProperty& p, std::string& m,
                                   TBandReportPrinterSettings& s) {
  struct IntField {
    const char* name;
    int TBandReportPrinterSettings::*field;
  };
  static const IntField ints[] = {
      {"Copies", &TBandReportPrinterSettings::Copies},
      {"FirstPage", &TBandReportPrinterSettings::FirstPage},
      {"LastPage", &TBandReportPrinterSettings::LastPage},
      {"CustomBinCode", &TBandReportPrinterSettings::CustomBinCode},
      {"ExtendedDuplex", &TBandReportPrinterSettings::ExtendedDuplex},
      {"CustomPaperCode", &TBandReportPrinterSettings::CustomPaperCode},
      {"MemoryLimit", &TBandReportPrinterSettings::MemoryLimit},
      {"PrintQuality", &TBandReportPrinterSettings::PrintQuality},
      {"Collate", &TBandReportPrinterSettings::Collate},
      {"ColorOption", &TBandReportPrinterSettings::ColorOption},
  };
  struct BoolField {
    const char* name;
    bool TBandReportPrinterSettings::*field;
  };
  static const BoolField bools[] = {
      {"Duplex", &TBandReportPrinterSettings::Duplex},
      {"UseStandardprinter", &TBandReportPrinterSettings::UseStandardprinter},
      {"UseCustomBinCode", &TBandReportPrinterSettings::UseCustomBinCode},
      {"UseCustomPaperCode", &TBandReportPrinterSettings::UseCustomPaperCode},
      {"PrintMetaFile", &TBandReportPrinterSettings::PrintMetaFile},
  };
  for (const IntField& f : ints) {
    if (sub == f.name) return TakeInt(p, m, [&](int v) { s.*f.field = v; });
  }
  for (const BoolField& f : bools) {
    if (sub == f.name) return TakeBool(p, m, [&](bool v) { s.*f.field = v; });
  }
  if (sub == "OutputBin") return TakeEnum<TRptBin>(p, m, BinByName, [&](TRptBin b) { s.OutputBin = b; });
  return PropertyResult::Unknown;
}

PropertyResult ReadReportProp(QObject* o, const TextProperty& p, ReadContext&, std::string& m) {
  auto& r = *static_cast<TCustomBandReport*>(o);
  std::string_view name = p.name;
  TRptPage& page = r.Page();
  if (name == "Units") return TakeEnum<TRptUnit>(p, m, UnitByName, [&](TRptUnit u) { r.SetUnits(u); });
  if (name == "Zoom") return TakeInt(p, m, [&](int v) { r.SetZoom(v); });
  if (name == "Page.Values") return TakeValues(p, m, page);
  if (name == "Page.PaperSize") {
    return TakeEnum<TRptPaperSize>(p, m, PaperSizeByName, [&](TRptPaperSize s) { page.SetPaperSize(s); });
  }
  if (name == "Page.Orientation") {
    return TakeEnum<TRptOrientation>(p, m, OrientationByName, [&](TRptOrientation v) { page.SetOrientation(v); });
  }
  if (name == "Page.Columns") {
    return Take<int>(p, m, [](const TextValue& v, int& out, std::string& msg) { return ValueToInt(v, out, msg, 1, 1000); },
                     [&](int v) { page.SetColumns(v); });
  }
  if (name == "Page.Ruler") return TakeBool(p, m, [&](bool v) { page.SetRuler(v); });
  if (name == "Options") {
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
  }
  if (name.substr(0, 5) == "Font.") {
    return ReadFont(name.substr(5), p, m, [&]() -> platform::CanvasFont& { return r.Font(); });
  }
  if (name.substr(0, 6) == "Frame.") return ReadFrame(name.substr(6), p, m, r.Frame());
  if (name == "Functions.Strings" || name == "Functions.DATA") {
    std::vector<std::string> lines;
    if (!ValueToStrings(p.value, lines, m)) return PropertyResult::Bad;
    if (name == "Functions.Strings") {
      r.Functions().SetNames(lines);
    } else {
      r.Functions().ReadData(lines);
    }
    return PropertyResult::Taken;
  }
  if (name == "PrintIfEmpty") return TakeBool(p, m, [&](bool v) { r.SetPrintIfEmpty(v); });
  if (name == "ReportTitle") return TakeString(p, m, [&](const std::string& v) { r.ReportTitle = v; });
  if (name == "ShowProgress") return TakeBool(p, m, [&](bool v) { r.ShowProgress = v; });
  if (name == "SnapToGrid") return TakeBool(p, m, [&](bool v) { r.SnapToGrid = v; });
  if (name == "BackImageControl") return TakeString(p, m, [&](const std::string& v) { r.BackImageControl = v; });
  if (name == "Description") {
    return ValueToStrings(p.value, r.Description, m) ? PropertyResult::Taken : PropertyResult::Bad;
  }
  if (name == "PrevFormStyle") return TakeInt(p, m, [&](int v) { r.PrevFormStyle = v; });
  if (name == "PreviewInitialState") return TakeInt(p, m, [&](int v) { r.PreviewInitialState = v; });
  if (name == "PreviewWidth") return TakeInt(p, m, [&](int v) { r.SetPreviewWidth(v); });
  if (name == "PreviewHeight") return TakeInt(p, m, [&](int v) { r.SetPreviewHeight(v); });
  if (name == "PrevShowThumbs") return TakeBool(p, m, [&](bool v) { r.PrevShowThumbs = v; });
  if (name == "PrevShowSearch") return TakeBool(p, m, [&](bool v) { r.PrevShowSearch = v; });
  if (name == "PrevInitialZoom") {
    return TakeEnum<TRptZoomState>(p, m, ZoomStateByName, [&](TRptZoomState z) { r.PrevInitialZoom = z; });
  }
  if (name.substr(0, 16) == "PrinterSettings.") return ReadPrinterSettings(name.substr(16), p, m, r.PrinterSettings());
  return PropertyResult::Unknown;
}

// ---- Bands

void WriteBandProps(const QObject* o, Props& out) {
  const auto& b = *static_cast<const TRptCustomBand*>(o);
  PutBool(out, "AlignToBottom", b.AlignToBottom(), false);
  PutInt(out, "Color", b.Color(), 0xFFFFFF);
  PutBool(out, "Enabled", b.Enabled(), true);
  PutBool(out, "TransparentBand", b.TransparentBand(), false);
  PutBool(out, "ParentFont", b.ParentFont(), true);
  if (!b.ParentFont()) WriteFont(out, b.Font());
  PutBool(out, "ForceNewColumn", b.ForceNewColumn(), false);
  PutBool(out, "ForceNewPage", b.ForceNewPage(), false);
  PutRef(out, "LinkBand", b.LinkBand());
  // The band's width follows the page; a page whose margins leave no room can make it larger
  // than a description holds, so it is written within that range (reading sets it anew).
  std::vector<Real> values = b.Size().Values();
  for (Real& v : values) v = std::clamp(v, -kMaxGeometry, kMaxGeometry);
  Put(out, "Size.Values", TextValue::Floats(values));
  PutBool(out, "PreCaluculateBandHeight", b.PreCaluculateBandHeight(), false);
  PutBool(out, "KeepOnOnePage", b.KeepOnOnePage(), false);
  WriteFrame(out, b.Frame());
}

PropertyResult ReadBandProp(QObject* o, const TextProperty& p, ReadContext& context, std::string& m) {
  auto& b = *static_cast<TRptCustomBand*>(o);
  std::string_view name = p.name;
  if (name == "AlignToBottom") return TakeBool(p, m, [&](bool v) { b.SetAlignToBottom(v); });
  if (name == "Color") {
    return Take<int>(
        p, m, [](const TextValue& v, int& out, std::string& msg) { return ValueToInt(v, out, msg, INT32_MIN, UINT32_MAX); },
        [&](int v) { b.SetColor(static_cast<uint32_t>(v)); });
  }
  if (name == "Enabled") return TakeBool(p, m, [&](bool v) { b.SetEnabled(v); });
  if (name == "TransparentBand") return TakeBool(p, m, [&](bool v) { b.SetTransparentBand(v); });
  if (name == "ParentFont") return TakeBool(p, m, [&](bool v) { b.SetParentFont(v); });
  if (name.substr(0, 5) == "Font.") {
    return ReadFont(name.substr(5), p, m, [&]() -> platform::CanvasFont& { return b.MutableFont(); });
  }
  if (name == "ForceNewColumn") return TakeBool(p, m, [&](bool v) { b.SetForceNewColumn(v); });
  if (name == "ForceNewPage") return TakeBool(p, m, [&](bool v) { b.SetForceNewPage(v); });
  if (name == "PreCaluculateBandHeight") return TakeBool(p, m, [&](bool v) { b.SetPreCaluculateBandHeight(v); });
  if (name == "KeepOnOnePage") return TakeBool(p, m, [&](bool v) { b.SetKeepOnOnePage(v); });
  if (name == "Size.Values") return TakeValues(p, m, b.Size());
  if (name.substr(0, 6) == "Frame.") return ReadFrame(name.substr(6), p, m, b.Frame());
  if (name == "LinkBand") {
    QPointer<TRptCustomBand> band = &b;
    context.Reference(p, [band](QObject* target, std::string& msg) {
      auto* link = qobject_cast<TRptCustomBand*>(target);
      if (target && !link) return msg = "not a band", false;
      if (band && !band->SetLinkBand(link)) return msg = "Circular linking not allowed", false;
      return true;
    });
    return PropertyResult::Taken;
  }
  return PropertyResult::Unknown;
}

void WriteRptBandProps(const QObject* o, Props& out) {
  Put(out, "BandType", TextValue::Ident(BandTypeName(static_cast<const TRptBand*>(o)->BandType())));
}

PropertyResult ReadRptBandProp(QObject* o, const TextProperty& p, ReadContext&, std::string& m) {
  auto& b = *static_cast<TRptBand*>(o);
  if (p.name == "BandType") return TakeEnum<TRptBandType>(p, m, BandTypeByName, [&](TRptBandType t) { b.SetBandType(t); });
  return PropertyResult::Unknown;
}

void WriteChildProps(const QObject* o, Props& out) {
  PutRef(out, "ParentBand", static_cast<const TRptChildBand*>(o)->ParentBand());
}

PropertyResult ReadChildProp(QObject* o, const TextProperty& p, ReadContext& context, std::string&) {
  if (p.name != "ParentBand") return PropertyResult::Unknown;
  QPointer<TRptChildBand> child = static_cast<TRptChildBand*>(o);
  context.Reference(p, [child](QObject* target, std::string& msg) {
    auto* band = qobject_cast<TRptCustomBand*>(target);
    if (target && !band) return msg = "not a band", false;
    if (child && !child->SetParentBand(band)) return msg = "Circular linking not allowed", false;
    return true;
  });
  return PropertyResult::Taken;
}

// A master: a report or a controller band; `set` answers false on a cycle.
void ReadMaster(const TextProperty& p, ReadContext& context, std::function<bool(QObject*)> set) {
  context.Reference(p, [set](QObject* target, std::string& msg) {
    if (target && !qobject_cast<TCustomBandReport*>(target) && !qobject_cast<TRptControllerBand*>(target)) {
      return msg = "not a report or a sub-detail band", false;
    }
    if (!set(target)) return msg = "Circular linking not allowed", false;
    return true;
  });
}

void WriteSubDetailProps(const QObject* o, Props& out) {
  const auto& s = *static_cast<const TRptSubDetail*>(o);
  PutRef(out, "Master", s.Master(), s.ParentReport());
  PutBool(out, "PrintBefore", s.PrintBefore(), false);
  PutBool(out, "PrintIfEmpty", s.PrintIfEmpty(), true);
  PutRef(out, "HeaderBand", s.HeaderBand());
  PutRef(out, "FooterBand", s.FooterBand());
}

PropertyResult ReadSubDetailProp(QObject* o, const TextProperty& p, ReadContext& context, std::string& m) {
  auto& s = *static_cast<TRptSubDetail*>(o);
  QPointer<TRptSubDetail> self = &s;
  if (p.name == "PrintBefore") return TakeBool(p, m, [&](bool v) { s.SetPrintBefore(v); });
  if (p.name == "PrintIfEmpty") return TakeBool(p, m, [&](bool v) { s.SetPrintIfEmpty(v); });
  if (p.name == "Master") {
    ReadMaster(p, context, [self](QObject* master) { return !self || self->SetMaster(master); });
    return PropertyResult::Taken;
  }
  if (p.name == "HeaderBand" || p.name == "FooterBand") {
    bool header = p.name == "HeaderBand";
    context.Reference(p, [self, header](QObject* target, std::string& msg) {
      auto* band = qobject_cast<TRptCustomBand*>(target);
      if (target && !band) return msg = "not a band", false;
      if (self) header ? self->SetHeaderBand(band) : self->SetFooterBand(band);
      return true;
    });
    return PropertyResult::Taken;
  }
  return PropertyResult::Unknown;
}

void WriteGroupProps(const QObject* o, Props& out) {
  const auto& g = *static_cast<const TRptGroup*>(o);
  PutStr(out, "Expression", g.Expression());
  PutRef(out, "FooterBand", g.FooterBand());
  PutRef(out, "Master", g.Master(), g.ParentReport());
  PutBool(out, "ReprintOnNewPage", g.ReprintOnNewPage(), false);
}

PropertyResult ReadGroupProp(QObject* o, const TextProperty& p, ReadContext& context, std::string& m) {
  auto& g = *static_cast<TRptGroup*>(o);
  QPointer<TRptGroup> self = &g;
  if (p.name == "Expression") return TakeString(p, m, [&](const std::string& v) { g.SetExpression(v); });
  if (p.name == "ReprintOnNewPage") return TakeBool(p, m, [&](bool v) { g.SetReprintOnNewPage(v); });
  if (p.name == "Master") {
    ReadMaster(p, context, [self](QObject* master) { return !self || self->SetMaster(master); });
    return PropertyResult::Taken;
  }
  if (p.name == "FooterBand") {
    context.Reference(p, [self](QObject* target, std::string& msg) {
      auto* band = qobject_cast<TRptBand*>(target);
      if (target && !band) return msg = "not a band", false;
      if (self) self->SetFooterBand(band);
      return true;
    });
    return PropertyResult::Taken;
  }
  return PropertyResult::Unknown;
}

// ---- Printables

const char* const kAlignmentNames[] = {"taLeftJustify", "taRightJustify", "taCenter"};
const char* const kBiDiNames[] = {"bdLeftToRight", "bdRightToLeft", "bdRightToLeftNoAlign", "bdRightToLeftReadingOnly"};
const char* const kShapeNames[] = {"rpsRectangle",    "rpsCircle",        "rpsVertLine", "rpsHorLine",
                                   "rpsTopAndBottom", "rpsRightAndLeft", "rpsRoundRect"};

void WritePrintableProps(const QObject* o, Props& out) {
  const auto& p = *static_cast<const TRptPrintable*>(o);
  if (p.Alignment() != TRptAlignment::Left) {
    Put(out, "Alignment", TextValue::Ident(kAlignmentNames[static_cast<int>(p.Alignment())]));
  }
  PutBool(out, "AlignToBand", p.AlignToBand(), false);
  PutInt(out, "Color", p.Color(), 0xFFFFFF);
  PutBool(out, "Enabled", p.Enabled(), true);
  PutBool(out, "Visible", p.Visible(), true);
  PutInt(out, "Tag", p.Tag, 0);
  WriteFrame(out, p.Frame());
  Put(out, "Size.Values", TextValue::Floats(p.Size().Values()));
}

PropertyResult ReadPrintableProp(QObject* o, const TextProperty& p, ReadContext&, std::string& m) {
  auto& c = *static_cast<TRptPrintable*>(o);
  std::string_view name = p.name;
  if (name == "Alignment") {
    return TakeNamed(p, m, kAlignmentNames, [&](int v) { c.SetAlignment(static_cast<TRptAlignment>(v)); });
  }
  if (name == "AlignToBand") return TakeBool(p, m, [&](bool v) { c.SetAlignToBand(v); });
  if (name == "Color") return TakeColor(p, m, [&](uint32_t v) { c.SetColor(v); });
  if (name == "Enabled") return TakeBool(p, m, [&](bool v) { c.SetEnabled(v); });
  if (name == "Visible") return TakeBool(p, m, [&](bool v) { c.SetVisible(v); });
  if (name == "Tag") return TakeInt(p, m, [&](int v) { c.Tag = v; });
  if (name.substr(0, 6) == "Frame.") return ReadFrame(name.substr(6), p, m, c.Frame());
  if (name == "Size.Values") return TakeValues(p, m, c.Size());
  return PropertyResult::Unknown;
}

void WriteLabelProps(const QObject* o, Props& out) {
  const auto& l = *static_cast<const TRptCustomLabel*>(o);
  PutBool(out, "AutoSize", l.AutoSize(), true);
  PutBool(out, "AutoStretch", l.AutoStretch(), false);
  PutBool(out, "WordWrap", l.WordWrap(), true);
  PutBool(out, "Transparent", l.Transparent(), false);
  if (l.BiDiMode() != TBiDiMode::bdLeftToRight) {
    Put(out, "BiDiMode", TextValue::Ident(kBiDiNames[static_cast<int>(l.BiDiMode())]));
  }
  PutBool(out, "ParentBiDiMode", l.ParentBiDiMode(), true);
  PutBool(out, "ParentFont", l.ParentFont(), true);
  if (!l.ParentFont()) {
    WriteFont(out, l.Font());
    Put(out, "FontSize", TextValue::Int(l.StoredFontSize()));
  }
}

PropertyResult ReadLabelProp(QObject* o, const TextProperty& p, ReadContext&, std::string& m) {
  auto& l = *static_cast<TRptCustomLabel*>(o);
  std::string_view name = p.name;
  if (name == "AutoSize") return TakeBool(p, m, [&](bool v) { l.SetAutoSize(v); });
  if (name == "AutoStretch") return TakeBool(p, m, [&](bool v) { l.SetAutoStretch(v); });
  if (name == "WordWrap") return TakeBool(p, m, [&](bool v) { l.SetWordWrap(v); });
  if (name == "Transparent") return TakeBool(p, m, [&](bool v) { l.SetTransparent(v); });
  if (name == "BiDiMode") return TakeNamed(p, m, kBiDiNames, [&](int v) { l.SetBiDiMode(static_cast<TBiDiMode>(v)); });
  if (name == "ParentBiDiMode") return TakeBool(p, m, [&](bool v) { l.SetParentBiDiMode(v); });
  if (name == "ParentFont") return TakeBool(p, m, [&](bool v) { l.SetParentFont(v); });
  if (name.substr(0, 5) == "Font.") {
    return ReadFont(name.substr(5), p, m, [&]() -> platform::CanvasFont& { return l.MutableFont(); });
  }
  if (name == "FontSize") {
    return TakeInt(p, m, [&](int v) {
      l.ReadStoredFontSize(v);
      l.ApplyStoredFontSize();
    });
  }
  return PropertyResult::Unknown;
}

// An empty caption is written too: a label named without one takes its name as caption, so
// leaving it out would read back as the name.
void WriteRptLabelProps(const QObject* o, Props& out) {
  Put(out, "Caption", TextValue::Str(static_cast<const TRptLabel*>(o)->Caption()));
}

PropertyResult ReadRptLabelProp(QObject* o, const TextProperty& p, ReadContext&, std::string& m) {
  auto& l = *static_cast<TRptLabel*>(o);
  if (p.name == "Caption") return TakeString(p, m, [&](const std::string& v) { l.SetCaption(v); });
  return PropertyResult::Unknown;
}

void WriteMemoProps(const QObject* o, Props& out) {
  const auto& memo = *static_cast<const TRptMemo*>(o);
  if (!memo.Lines().empty()) Put(out, "Lines.Strings", TextValue::Strings(memo.Lines()));
}

PropertyResult ReadMemoProp(QObject* o, const TextProperty& p, ReadContext&, std::string& m) {
  auto& memo = *static_cast<TRptMemo*>(o);
  if (p.name != "Lines.Strings") return PropertyResult::Unknown;
  std::vector<std::string> lines;
  if (!ValueToStrings(p.value, lines, m)) return PropertyResult::Bad;
  memo.SetLines(std::move(lines));
  return PropertyResult::Taken;
}

void WriteExprProps(const QObject* o, Props& out) {
  const auto& e = *static_cast<const TRptExpr*>(o);
  PutStr(out, "Expression", e.Expression());
  PutStr(out, "Mask", e.Mask());
  PutRef(out, "Master", e.Master());
  PutBool(out, "ResetAfterPrint", e.ResetAfterPrint, false);
}

PropertyResult ReadExprProp(QObject* o, const TextProperty& p, ReadContext& context, std::string& m) {
  auto& e = *static_cast<TRptExpr*>(o);
  if (p.name == "Expression") return TakeString(p, m, [&](const std::string& v) { e.SetExpression(v); });
  if (p.name == "Mask") return TakeString(p, m, [&](const std::string& v) { e.SetMask(v); });
  if (p.name == "ResetAfterPrint") return TakeBool(p, m, [&](bool v) { e.ResetAfterPrint = v; });
  if (p.name == "Master") {
    QPointer<TRptExpr> self = &e;
    ReadMaster(p, context, [self](QObject* master) {
      if (self) self->SetMaster(master);
      return true;
    });
    return PropertyResult::Taken;
  }
  return PropertyResult::Unknown;
}

void WriteImageProps(const QObject* o, Props& out) {
  const auto& image = *static_cast<const TRptImage*>(o);
  PutBool(out, "AutoSize", image.AutoSize(), false);
  PutBool(out, "Stretch", image.Stretch(), false);
  PutBool(out, "Center", image.Center(), false);
}

PropertyResult ReadImageProp(QObject* o, const TextProperty& p, ReadContext&, std::string& m) {
  auto& image = *static_cast<TRptImage*>(o);
  if (p.name == "AutoSize") return TakeBool(p, m, [&](bool v) { image.SetAutoSize(v); });
  if (p.name == "Stretch") return TakeBool(p, m, [&](bool v) { image.SetStretch(v); });
  if (p.name == "Center") return TakeBool(p, m, [&](bool v) { image.SetCenter(v); });
  return PropertyResult::Unknown;
}

void WriteShapeProps(const QObject* o, Props& out) {
  const auto& shape = *static_cast<const TRptShape*>(o);
  if (shape.Shape() != TRptShapeType::rpsRectangle) {
    Put(out, "Shape", TextValue::Ident(kShapeNames[static_cast<int>(shape.Shape())]));
  }
  const platform::CanvasBrush brush;
  const platform::CanvasPen pen;
  PutInt(out, "Brush.Color", shape.Brush().Color(), brush.Color());
  if (shape.Brush().Style() != brush.Style()) {
    Put(out, "Brush.Style", TextValue::Ident(kBrushStyleNames[static_cast<int>(shape.Brush().Style())]));
  }
  PutInt(out, "Pen.Color", shape.Pen().Color(), pen.Color());
  PutInt(out, "Pen.Width", shape.Pen().Width(), pen.Width());
  if (shape.Pen().Style() != pen.Style()) {
    Put(out, "Pen.Style", TextValue::Ident(kPenStyleNames[static_cast<int>(shape.Pen().Style())]));
  }
  if (shape.RoundFactor() != 0) Put(out, "RoundFactor", TextValue::Float(shape.RoundFactor()));
  PutInt(out, "VertAdjust", shape.VertAdjust, 0);
}

PropertyResult ReadShapeProp(QObject* o, const TextProperty& p, ReadContext&, std::string& m) {
  auto& shape = *static_cast<TRptShape*>(o);
  std::string_view name = p.name;
  if (name == "Shape") return TakeNamed(p, m, kShapeNames, [&](int v) { shape.SetShape(static_cast<TRptShapeType>(v)); });
  if (name == "Brush.Color") return TakeColor(p, m, [&](uint32_t v) { shape.Brush().SetColor(v); });
  if (name == "Brush.Style") {
    return TakeNamed(p, m, kBrushStyleNames, [&](int v) { shape.Brush().SetStyle(static_cast<platform::BrushStyle>(v)); });
  }
  if (name == "Pen.Color") return TakeColor(p, m, [&](uint32_t v) { shape.Pen().SetColor(v); });
  if (name == "Pen.Width") {
    return Take<int>(p, m, [](const TextValue& v, int& o, std::string& msg) { return ValueToInt(v, o, msg, 0, 1000); },
                     [&](int v) { shape.Pen().SetWidth(v); });
  }
  if (name == "Pen.Style") {
    return TakeNamed(p, m, kPenStyleNames, [&](int v) { shape.Pen().SetStyle(static_cast<platform::PenStyle>(v)); });
  }
  if (name == "RoundFactor") {
    // Held as a float: a larger value cannot be held (nor written back).
    return Take<Real>(
        p, m,
        [](const TextValue& v, Real& out, std::string& msg) {
          if (!ValueToReal(v, out, msg)) return false;
          if (std::fabs(out) <= std::numeric_limits<float>::max()) return true;
          msg = "value out of range";
          return false;
        },
        [&](Real v) { shape.SetRoundFactor(static_cast<float>(v)); });
  }
  if (name == "VertAdjust") return TakeInt(p, m, [&](int v) { shape.VertAdjust = v; });
  return PropertyResult::Unknown;
}

}  // namespace

void RegisterReportClasses() {
  static const bool registered = [] {
    RegisterReportClass({"TCustomBandReport", "", nullptr, ReadReportProp, WriteReportProps});
    RegisterReportClass({"TBandReport", "TCustomBandReport", [](QWidget* p) -> QObject* { return new TBandReport(p); },
                         nullptr, nullptr});
    RegisterReportClass({"TRptCustomBand", "", nullptr, ReadBandProp, WriteBandProps});
    RegisterReportClass({"TRptBand", "TRptCustomBand", [](QWidget* p) -> QObject* { return new TRptBand(p); },
                         ReadRptBandProp, WriteRptBandProps});
    RegisterReportClass({"TRptChildBand", "TRptCustomBand",
                         [](QWidget* p) -> QObject* { return new TRptChildBand(p); }, ReadChildProp, WriteChildProps});
    RegisterReportClass({"TRptSubDetail", "TRptCustomBand",
                         [](QWidget* p) -> QObject* { return new TRptSubDetail(p); }, ReadSubDetailProp,
                         WriteSubDetailProps});
    RegisterReportClass({"TRptGroup", "TRptCustomBand", [](QWidget* p) -> QObject* { return new TRptGroup(p); },
                         ReadGroupProp, WriteGroupProps});
    RegisterReportClass({"TRptPrintable", "", nullptr, ReadPrintableProp, WritePrintableProps});
    RegisterReportClass({"TRptCustomLabel", "TRptPrintable", nullptr, ReadLabelProp, WriteLabelProps});
    RegisterReportClass({"TRptLabel", "TRptCustomLabel", [](QWidget* p) -> QObject* { return new TRptLabel(p); },
                         ReadRptLabelProp, WriteRptLabelProps});
    RegisterReportClass({"TRptMemo", "TRptCustomLabel", [](QWidget* p) -> QObject* { return new TRptMemo(p); },
                         ReadMemoProp, WriteMemoProps});
    RegisterReportClass({"TRptExpr", "TRptCustomLabel", [](QWidget* p) -> QObject* { return new TRptExpr(p); },
                         ReadExprProp, WriteExprProps});
    RegisterReportClass({"TRptImage", "TRptPrintable", [](QWidget* p) -> QObject* { return new TRptImage(p); },
                         ReadImageProp, WriteImageProps});
    RegisterReportClass({"TRptShape", "TRptPrintable", [](QWidget* p) -> QObject* { return new TRptShape(p); },
                         ReadShapeProp, WriteShapeProps});
    return true;
  }();
  (void)registered;
}

}  // namespace rpt
