#include "report/units.h"

#include <QWidget>
#include <cfenv>
#include <climits>
#include <cmath>

#include "platform/dc.h"
#include "platform/locale_info.h"
#include "report/band_report.h"

namespace rpt {

int Round(Real x) {
  if (std::isnan(x)) return 0;
  if (x >= static_cast<Real>(INT_MAX)) return INT_MAX;
  if (x <= static_cast<Real>(INT_MIN)) return INT_MIN;
  return static_cast<int>(std::nearbyintl(x));  // the default rounding mode: halves to even
}

int ScreenPixelsPerInch() { return platform::kReferenceDpi; }

TRptUnit LocaleUnit() { return platform::LocaleMeasuresInInches() ? TRptUnit::Inches : TRptUnit::MM; }

namespace {

const PaperDimensions kPapers[kPaperSizeCount] = {
    {"Default", 0, 0},           {"Letter", 215.9, 279.4},       {"LetterSmall", 215.9, 279.4},
    {"Tabloid", 279.4, 431.8},   {"Ledger", 431.8, 279.4},       {"Legal", 215.9, 355.6},
    {"Statement", 139.7, 215.9}, {"Executive", 190.5, 254},      {"A3", 297, 420},
    {"A4", 210, 297},            {"A4Small", 210, 297},          {"A5", 148, 210},
    {"B4", 250, 354},            {"B5", 182, 257},               {"Folio", 215.9, 330.2},
    {"Quarto", 215, 275},        {"rp10X14", 254, 355.6},        {"rp11X17", 279.4, 431.8},
    {"Note", 215.9, 279.4},      {"Env9", 98.43, 225.4},         {"Env10", 104.8, 241.3},
    {"Env11", 114.3, 263.5},     {"Env12", 120.7, 279.4},        {"Env14", 127, 292.1},
    {"CSheet", 431.8, 558.8},    {"DSheet", 558.8, 863.6},       {"ESheet", 863.6, 1117.6},
    {"EnvDL", 110, 220},         {"EnvC5", 162, 229},            {"EnvC3", 324, 458},
    {"EnvC4", 229, 324},         {"EnvC6", 114, 162},            {"EnvC65", 114, 229},
    {"EnvB4", 250, 353},         {"EnvB5", 176, 250},            {"EnvB6", 176, 125},
    {"EnvItaly", 110, 230},      {"EnvMonarch", 98.43, 190.5},   {"EnvPersonal", 92.01, 165.1},
    {"FanfoldUSStd", 377.8, 279.4}, {"FanfoldGerStd", 215.9, 304.8}, {"FanfoldGerLegal", 215.9, 330.2},
    {"B4ISO", 250, 353},         {"PostcardJap", 100, 148},      {"rp9X11", 228.6, 279.4},
    {"rp10X11", 254, 279.4},     {"rp15X11", 381, 279.4},        {"EnvInvite", 220, 220},
    {"Reserved1", 100, 100},     {"Reserved2", 100, 100},        {"LetterExtra", 241.3, 304.8},
    {"LegalExtra", 241.3, 381},  {"TabloidExtra", 296.9, 457.2}, {"A4Extra", 236, 322},
    {"LetterTrans", 279.4, 215.9}, {"A4Trans", 297, 210},        {"LetterExtraTrans", 304.8, 241.3},
    {"SuperASuperAA4", 227, 356}, {"SuperBSuperBA3", 305, 487},  {"LetterPlus", 215.9, 322.3},
    {"A4Plus", 210, 330},        {"A5Trans", 210, 148},          {"B5Trans", 257, 182},
    {"A3Extra", 322, 445},       {"A5Extra", 174, 235},          {"B5Extra", 201, 276},
    {"A2", 420, 594},            {"A3Trans", 420, 297},          {"A3ExtraTrans", 445, 322},
    {"Custom", 0, 0},
};

const char* const kBinNames[kBinCount] = {"First",       "Upper",       "Lower",         "Middle",  "Manual",
                                          "Envelope",    "EnvManual",   "Auto",          "Tractor", "SmallFormat",
                                          "LargeFormat", "LargeCapacity", "Cassette",    "Last"};
const int kBinCodes[kBinCount] = {1, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 14, 14};
const char* const kUnitNames[] = {"MM", "Inches", "Pixels", "Characters", "Native"};
const char* const kOrientationNames[] = {"Portrait", "Landscape"};

template <class E, size_t N>
std::optional<E> ByName(const char* const (&names)[N], std::string_view name) {
  for (size_t i = 0; i < N; ++i) {
    if (name == names[i]) return static_cast<E>(i);
  }
  return std::nullopt;
}

}  // namespace

const PaperDimensions& PaperOf(TRptPaperSize size) { return kPapers[static_cast<int>(size)]; }
int PaperCode(TRptPaperSize size) { return size == TRptPaperSize::Custom ? 256 : static_cast<int>(size); }
int BinCode(TRptBin bin) { return kBinCodes[static_cast<int>(bin)]; }

const char* UnitName(TRptUnit unit) { return kUnitNames[static_cast<int>(unit)]; }
std::optional<TRptUnit> UnitByName(std::string_view name) { return ByName<TRptUnit>(kUnitNames, name); }
const char* PaperSizeName(TRptPaperSize size) { return PaperOf(size).name; }
std::optional<TRptPaperSize> PaperSizeByName(std::string_view name) {
  for (int i = 0; i < kPaperSizeCount; ++i) {
    if (name == kPapers[i].name) return static_cast<TRptPaperSize>(i);
  }
  return std::nullopt;
}
const char* BinName(TRptBin bin) { return kBinNames[static_cast<int>(bin)]; }
std::optional<TRptBin> BinByName(std::string_view name) { return ByName<TRptBin>(kBinNames, name); }
const char* OrientationName(TRptOrientation o) { return kOrientationNames[static_cast<int>(o)]; }
std::optional<TRptOrientation> OrientationByName(std::string_view name) {
  return ByName<TRptOrientation>(kOrientationNames, name);
}

// ---- TRptUnitBase ------------------------------------------------------------------------

TRptUnitBase::TRptUnitBase(int count, TRptUnit units)
    : values_(static_cast<size_t>(count), 0), units_(units), resolution_(ScreenPixelsPerInch()) {}

void TRptUnitBase::SetPixels() {
  saved_ = units_;
  units_ = TRptUnit::Pixels;
}

void TRptUnitBase::RestoreUnit() { units_ = saved_; }

void TRptUnitBase::SetZoom(int zoom) {
  zoom_ = zoom;
  Apply();
}

int TRptUnitBase::CharacterFontSize() const { return report_ ? std::abs(report_->CharacterFontSize()) : 12; }

Real TRptUnitBase::ToUnits(Real x, bool across) const { return Convert(x, across, units_, true); }
Real TRptUnitBase::FromUnits(Real v, bool across) const { return Convert(v, across, units_, false); }

Real TRptUnitBase::Convert(Real x, bool across, TRptUnit units, bool toUnits) const {
  if (!toUnits) return FromUnitsIn(x, across, units);
  switch (units) {
    case TRptUnit::MM: return x / 10;
    case TRptUnit::Inches: return x / 254;
    case TRptUnit::Native: return x;
    case TRptUnit::Pixels: return x / (254.0L / resolution_) * zoom_ / 100 * PixelFactor();
    case TRptUnit::Characters: {
      Real s = CharacterFontSize();
      if (s <= 0) return 0;
      Real cell = across ? 80.0L / s / 2.54L : 145.3L / s / 2.54L;
      return x / cell / 10;
    }
  }
  return x;
}

Real TRptUnitBase::FromUnitsIn(Real v, bool across, TRptUnit units) const {
  switch (units) {
    case TRptUnit::MM: return v * 10;
    case TRptUnit::Inches: return v * 254;
    case TRptUnit::Native: return v;
    case TRptUnit::Pixels: {
      Real f = PixelFactor();
      if (zoom_ == 0 || f == 0) return 0;
      return v * (254.0L / resolution_) / zoom_ * 100 / f;
    }
    case TRptUnit::Characters: {
      Real s = CharacterFontSize();
      if (s <= 0) return 0;
      Real cell = across ? 80.0L / s / 2.54L : 145.3L / s / 2.54L;
      return v * cell * 10;
    }
  }
  return v;
}

Real TRptUnitBase::NativeToPixels(Real x, bool across) const { return Convert(x, across, TRptUnit::Pixels, true); }
Real TRptUnitBase::PixelsToNative(Real px, bool across) const { return Convert(px, across, TRptUnit::Pixels, false); }

Real TRptUnitBase::Value(int i) const { return ToUnits(values_[static_cast<size_t>(i)], Across(i)); }

void TRptUnitBase::SetValue(int i, Real v) { SetNative(i, FromUnits(v, Across(i))); }

void TRptUnitBase::SetNative(int i, Real v) {
  values_[static_cast<size_t>(i)] = v;
  Apply();
}

bool TRptUnitBase::SetValues(const std::vector<Real>& values) {
  if (values.size() != values_.size()) return false;
  values_ = values;
  Apply();
  return true;
}

void TRptUnitBase::SetLoading(bool loading) {
  updating_ = loading;
  if (!loading) Apply();
}

// ---- TRptBandSize ------------------------------------------------------------------------

TRptBandSize::TRptBandSize(TRptCustomBand& band) : TRptUnitBase(2, LocaleUnit()), band_(band) {
  values_ = {20, 40};
}

void TRptBandSize::ApplyToControl() { band_.SizeChanged(); }

// ---- TRptPrintableSize -------------------------------------------------------------------

TRptPrintableSize::TRptPrintableSize(QWidget& control) : TRptUnitBase(4, LocaleUnit()), control_(control) {
  values_ = {20, 20, 20, 20};
}

TRptPrintableSize::~TRptPrintableSize() { SetParentReport(nullptr); }

void TRptPrintableSize::SetParentReport(TCustomBandReport* report) {
  if (report == ParentReport()) return;
  if (ParentReport()) ParentReport()->RemovePrintableSize(this);
  TRptUnitBase::SetParentReport(report);
  if (report) {
    report->AddPrintableSize(this);
    SetUnits(report->Units());
  }
}

Real TRptPrintableSize::PixelFactor() const {
  if (Units() != TRptUnit::Pixels) return 1;
  auto* panel = qobject_cast<TRptBasePanel*>(control_.parentWidget());
  return panel ? panel->Zoom() / 100.0L : 1;
}

void TRptPrintableSize::ApplyToControl() {
  SetPixels();
  int left = Round(Left()), top = Round(Top()), width = Round(Width()), height = Round(Height());
  RestoreUnit();
  updating_ = true;
  control_.setGeometry(left, top, std::max(0, width), std::max(0, height));
  updating_ = false;
}

void TRptPrintableSize::SetPixelBounds(int left, int top, int width, int height) {
  SetPixels();
  updating_ = true;
  SetHeight(height);
  SetWidth(width);
  SetTop(top);
  SetLeft(left);
  updating_ = false;
  RestoreUnit();
}

// ---- TRptPage ----------------------------------------------------------------------------

TRptPage::TRptPage(TCustomBandReport& report) : TRptUnitBase(7, LocaleUnit()), report_(report) {
  SetParentReport(&report);
}

void TRptPage::ApplyToControl() { report_.PageChanged(); }

void TRptPage::SetWidth(Real v) {
  if (paper_ == TRptPaperSize::Custom) SetValue(kWidth, v);
}

void TRptPage::SetLength(Real v) {
  if (paper_ == TRptPaperSize::Custom) SetValue(kLength, v);
}

void TRptPage::SetColumns(int columns) {
  if (columns < 1) return;
  columns_ = columns;
  Apply();
}

void TRptPage::SetOrientation(TRptOrientation o) {
  orientation_ = o;
  SetPaperSize(paper_);
}

void TRptPage::SetPaperSize(TRptPaperSize size) {
  if (size != TRptPaperSize::Default && size != TRptPaperSize::Custom) {
    const PaperDimensions& d = PaperOf(size);
    Real w = d.width, l = d.length;
    if (orientation_ == TRptOrientation::Landscape) std::swap(w, l);
    // Through the MM unit, with the page briefly on a custom paper.
    TRptUnit units = Units();
    SetUnits(TRptUnit::MM);
    paper_ = TRptPaperSize::Custom;
    bool wasUpdating = updating_;
    updating_ = true;
    SetWidth(w);
    SetLength(l);
    updating_ = wasUpdating;
    SetUnits(units);
    Apply();
  }
  paper_ = size;
}

void TRptPage::SetRuler(bool ruler) {
  ruler_ = ruler;
  report_.update();
}

}  // namespace rpt
