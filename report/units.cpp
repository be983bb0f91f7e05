#include "report/units.h"

#include <QWidget>
#include <cmath>

#include "platform/dc.h"
#include "platform/locale_info.h"
#include "report/band_report.h"

namespace rpt {

int ScreenPixelsPerInch() { return platform::kReferenceDpi; }

TRptUnit LocaleUnit() { return platform::LocaleMeasuresInInches() ? TRptUnit::Inches : TRptUnit::MM; }

namespace {

const PaperDimensions kPapers[kPaperSizeCount] = {
    {"Default", 0L, 0L},           {"Letter", 215.9L, 279.4L},       {"LetterSmall", 215.9L, 279.4L},
    {"Tabloid", 279.4L, 431.8L},   {"Ledger", 431.8L, 279.4L},       {"Legal", 215.9L, 355.6L},
    {"Statement", 139.7L, 215.9L}, {"Executive", 190.5L, 254L},      {"A3", 297L, 420L},
    {"A4", 210L, 297L},            {"A4Small", 210L, 297L},          {"A5", 148L, 210L},
    {"B4", 250L, 354L},            {"B5", 182L, 257L},               {"Folio", 215.9L, 330.2L},
    {"Quarto", 215L, 275L},        {"rp10X14", 254L, 355.6L},        {"rp11X17", 279.4L, 431.8L},
    {"Note", 215.9L, 279.4L},      {"Env9", 98.43L, 225.4L},         {"Env10", 104.8L, 241.3L},
    {"Env11", 114.3L, 263.5L},     {"Env12", 120.7L, 279.4L},        {"Env14", 127L, 292.1L},
    {"CSheet", 431.8L, 558.8L},    {"DSheet", 558.8L, 863.6L},       {"ESheet", 863.6L, 1117.6L},
    {"EnvDL", 110L, 220L},         {"EnvC5", 162L, 229L},            {"EnvC3", 324L, 458L},
    {"EnvC4", 229L, 324L},         {"EnvC6", 114L, 162L},            {"EnvC65", 114L, 229L},
    {"EnvB4", 250L, 353L},         {"EnvB5", 176L, 250L},            {"EnvB6", 176L, 125L},
    {"EnvItaly", 110L, 230L},      {"EnvMonarch", 98.43L, 190.5L},   {"EnvPersonal", 92.01L, 165.1L},
    {"FanfoldUSStd", 377.8L, 279.4L}, {"FanfoldGerStd", 215.9L, 304.8L}, {"FanfoldGerLegal", 215.9L, 330.2L},
    {"B4ISO", 250L, 353L},         {"PostcardJap", 100L, 148L},      {"rp9X11", 228.6L, 279.4L},
    {"rp10X11", 254L, 279.4L},     {"rp15X11", 381L, 279.4L},        {"EnvInvite", 220L, 220L},
    {"Reserved1", 100L, 100L},     {"Reserved2", 100L, 100L},        {"LetterExtra", 241.3L, 304.8L},
    {"LegalExtra", 241.3L, 381L},  {"TabloidExtra", 296.9L, 457.2L}, {"A4Extra", 236L, 322L},
    {"LetterTrans", 279.4L, 215.9L}, {"A4Trans", 297L, 210L},        {"LetterExtraTrans", 304.8L, 241.3L},
    {"SuperASuperAA4", 227L, 356L}, {"SuperBSuperBA3", 305L, 487L},  {"LetterPlus", 215.9L, 322.3L},
    {"A4Plus", 210L, 330L},        {"A5Trans", 210L, 148L},          {"B5Trans", 257L, 182L},
    {"A3Extra", 322L, 445L},       {"A5Extra", 174L, 235L},          {"B5Extra", 201L, 276L},
    {"A2", 420L, 594L},            {"A3Trans", 420L, 297L},          {"A3ExtraTrans", 445L, 322L},
    {"Custom", 0L, 0L},
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

Real TRptUnitBase::ToUnits(Real x, bool across) const { return ToUnitsIn(x, across, units_); }
Real TRptUnitBase::FromUnits(Real v, bool across) const { return FromUnitsIn(v, across, units_); }

Real TRptUnitBase::ToUnitsIn(Real x, bool across, TRptUnit units) const {
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

Real TRptUnitBase::NativeToPixels(Real x, bool across) const { return ToUnitsIn(x, across, TRptUnit::Pixels); }
Real TRptUnitBase::PixelsToNative(Real px, bool across) const { return FromUnitsIn(px, across, TRptUnit::Pixels); }

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
