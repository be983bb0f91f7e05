// Units and page geometry of the report library. Every length is kept as an 80-bit float in
// the native unit of 0.1 mm and shown or edited in one of five units:
//   MM:         x / 10              Inches: x / 254               Native: x
//   Pixels:     x / (254 / r) x z / 100   (r: screen pixels per inch, z: zoom in percent)
//   Characters: across x / W / 10, down x / H / 10, with W = 80 / s / 2.54 and
//               H = 145.3 / s / 2.54 for the report font's size s in points;
// setting a value converts back by the exact inverse.
//
// The unit objects (band size, printable size, page) stream their stored values as one
// property "Values" in a fixed order per class and apply them to their control whenever a
// value changes and after loading. A new unit object takes Inches when the system locale
// measures in inches and MM otherwise.
//
// The paper table gives width and length in mm of each TRptPaperSize in portrait; the
// Windows paper code of a paper size is its ordinal, 256 for Custom.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/round.h"

class QWidget;

namespace rpt {

class TCustomBandReport;
class TRptCustomBand;

using Real = long double;

// Rounds to the nearest integer, halves to the even neighbour; clamped to the int range.
inline int Round(Real x) { return platform::RoundHalfEven(x); }

// The screen the report is designed on: 96 pixels per inch.
int ScreenPixelsPerInch();

enum class TRptUnit : uint8_t { MM, Inches, Pixels, Characters, Native };

enum class TRptOrientation : uint8_t { Portrait, Landscape };

enum class TRptPaperSize : uint8_t {
  Default, Letter, LetterSmall, Tabloid, Ledger, Legal, Statement, Executive, A3, A4, A4Small, A5, B4, B5, Folio,
  Quarto, rp10X14, rp11X17, Note, Env9, Env10, Env11, Env12, Env14, CSheet, DSheet, ESheet, EnvDL, EnvC5, EnvC3,
  EnvC4, EnvC6, EnvC65, EnvB4, EnvB5, EnvB6, EnvItaly, EnvMonarch, EnvPersonal, FanfoldUSStd, FanfoldGerStd,
  FanfoldGerLegal, B4ISO, PostcardJap, rp9X11, rp10X11, rp15X11, EnvInvite, Reserved1, Reserved2, LetterExtra,
  LegalExtra, TabloidExtra, A4Extra, LetterTrans, A4Trans, LetterExtraTrans, SuperASuperAA4, SuperBSuperBA3,
  LetterPlus, A4Plus, A5Trans, B5Trans, A3Extra, A5Extra, B5Extra, A2, A3Trans, A3ExtraTrans, Custom
};
constexpr int kPaperSizeCount = 70;

enum class TRptBin : uint8_t {
  First, Upper, Lower, Middle, Manual, Envelope, EnvManual, Auto, Tractor, SmallFormat, LargeFormat, LargeCapacity,
  Cassette, Last
};
constexpr int kBinCount = 14;

struct PaperDimensions {
  const char* name;
  Real width, length;  // mm, portrait
};
const PaperDimensions& PaperOf(TRptPaperSize size);
// The Windows paper code: the ordinal, 256 for Custom.
int PaperCode(TRptPaperSize size);
// The Windows bin code of a bin.
int BinCode(TRptBin bin);

// Names of enumeration values as stored; lookups are exact.
const char* UnitName(TRptUnit unit);
std::optional<TRptUnit> UnitByName(std::string_view name);
const char* PaperSizeName(TRptPaperSize size);
std::optional<TRptPaperSize> PaperSizeByName(std::string_view name);
const char* BinName(TRptBin bin);
std::optional<TRptBin> BinByName(std::string_view name);
const char* OrientationName(TRptOrientation o);
std::optional<TRptOrientation> OrientationByName(std::string_view name);

class TRptUnitBase {
 public:
  TRptUnitBase(const TRptUnitBase&) = delete;
  TRptUnitBase& operator=(const TRptUnitBase&) = delete;
  virtual ~TRptUnitBase() = default;

  TRptUnit Units() const { return units_; }
  void SetUnits(TRptUnit units) { units_ = units; }
  // Switches to Pixels until RestoreUnit.
  void SetPixels();
  void RestoreUnit();
  int Zoom() const { return zoom_; }
  // Stores the zoom and applies the values to the control again.
  void SetZoom(int zoom);
  int Resolution() const { return resolution_; }
  TCustomBandReport* ParentReport() const { return report_; }
  virtual void SetParentReport(TCustomBandReport* report) { report_ = report; }

  // The value of index `i` in the current units, and setting it (which applies it).
  Real Value(int i) const;
  void SetValue(int i, Real v);
  // The stored value (0.1 mm).
  Real Native(int i) const { return values_[static_cast<size_t>(i)]; }
  void SetNative(int i, Real v);
  // Stores a value without applying it to the control.
  void Store(int i, Real v) { values_[static_cast<size_t>(i)] = v; }
  // Conversions between stored values and pixels at this object's zoom.
  Real NativeToPixels(Real x, bool across) const;
  Real PixelsToNative(Real px, bool across) const;
  // The "Values" list: every stored value in the class's order.
  const std::vector<Real>& Values() const { return values_; }
  // Takes a stored list (while loading; a list of another length is refused) and applies it.
  bool SetValues(const std::vector<Real>& values);
  // Converts the stored value `x` to the current units (h: across, else down) and back.
  Real ToUnits(Real x, bool across) const;
  Real FromUnits(Real v, bool across) const;
  // Applies the stored values to the control.
  void Apply() {
    if (!updating_) ApplyToControl();
  }
  // While loading, values are kept and applied once afterwards.
  void SetLoading(bool loading);

 protected:
  TRptUnitBase(int count, TRptUnit units);
  virtual bool Across(int index) const = 0;
  virtual void ApplyToControl() = 0;
  Real ToUnitsIn(Real x, bool across, TRptUnit units) const;
  Real FromUnitsIn(Real v, bool across, TRptUnit units) const;
  // A factor on Pixels values (a printable on a zoomed panel); 1 for the others.
  virtual Real PixelFactor() const { return 1; }
  // The font size for the Characters unit.
  int CharacterFontSize() const;

  std::vector<Real> values_;
  bool updating_ = false;

 private:
  TRptUnit units_;
  TRptUnit saved_ = TRptUnit::MM;
  int resolution_;
  int zoom_ = 100;
  TCustomBandReport* report_ = nullptr;
};

// The unit a new unit object takes: Inches in an inch locale, MM otherwise.
TRptUnit LocaleUnit();

// A band's size: Height (down), Width (across); 2 mm x 4 mm at creation. Applying sets the
// band's pixel height (the width follows the layout).
class TRptBandSize final : public TRptUnitBase {
 public:
  enum { kHeight, kWidth };
  explicit TRptBandSize(TRptCustomBand& band);
  Real Height() const { return Value(kHeight); }
  Real Width() const { return Value(kWidth); }
  void SetHeight(Real v) { SetValue(kHeight, v); }
  void SetWidth(Real v) { SetValue(kWidth, v); }

 private:
  bool Across(int index) const override { return index == kWidth; }
  void ApplyToControl() override;
  TRptCustomBand& band_;
};

// A printable control's bounds: Height, Left, Top, Width (0.1 mm), all 2 mm at creation.
// Applying sets the control's pixel bounds. In Pixels, a control on a report panel is
// further scaled by the panel's zoom (both ways, so that bounds written back in pixels keep
// the stored values).
class TRptPrintableSize final : public TRptUnitBase {
 public:
  enum { kHeight, kLeft, kTop, kWidth };
  explicit TRptPrintableSize(QWidget& control);
  ~TRptPrintableSize() override;
  // Registers the size with the report (whose unit changes then reach it).
  void SetParentReport(TCustomBandReport* report) override;
  Real Height() const { return Value(kHeight); }
  Real Left() const { return Value(kLeft); }
  Real Top() const { return Value(kTop); }
  Real Width() const { return Value(kWidth); }
  void SetHeight(Real v) { SetValue(kHeight, v); }
  void SetLeft(Real v) { SetValue(kLeft, v); }
  void SetTop(Real v) { SetValue(kTop, v); }
  void SetWidth(Real v) { SetValue(kWidth, v); }
  // Writes pixel bounds into the values (Height, Width, Top, Left in this order).
  void SetPixelBounds(int left, int top, int width, int height);
  QWidget& Control() const { return control_; }

 private:
  bool Across(int index) const override { return index == kLeft || index == kWidth; }
  void ApplyToControl() override;
  Real PixelFactor() const override;
  QWidget& control_;
};

// The page: the seven values (also the page's index numbers 0 to 6 of the report run), the
// number of columns, orientation, paper size and ruler. Width and Length can be set only on
// a Custom paper; on any other paper they follow the paper table.
class TRptPage final : public TRptUnitBase {
 public:
  enum { kBottomMargin, kLength, kTopMargin, kWidth, kLeftMargin, kRightMargin, kColumnSpace };
  explicit TRptPage(TCustomBandReport& report);

  Real BottomMargin() const { return Value(kBottomMargin); }
  Real Length() const { return Value(kLength); }
  Real TopMargin() const { return Value(kTopMargin); }
  Real Width() const { return Value(kWidth); }
  Real LeftMargin() const { return Value(kLeftMargin); }
  Real RightMargin() const { return Value(kRightMargin); }
  Real ColumnSpace() const { return Value(kColumnSpace); }
  void SetBottomMargin(Real v) { SetValue(kBottomMargin, v); }
  void SetTopMargin(Real v) { SetValue(kTopMargin, v); }
  void SetLeftMargin(Real v) { SetValue(kLeftMargin, v); }
  void SetRightMargin(Real v) { SetValue(kRightMargin, v); }
  void SetColumnSpace(Real v) { SetValue(kColumnSpace, v); }
  // Ignored unless the paper size is Custom.
  void SetWidth(Real v);
  void SetLength(Real v);

  int Columns() const { return columns_; }
  void SetColumns(int columns);  // below 1 is ignored
  TRptOrientation Orientation() const { return orientation_; }
  void SetOrientation(TRptOrientation o);
  TRptPaperSize PaperSize() const { return paper_; }
  void SetPaperSize(TRptPaperSize size);
  bool Ruler() const { return ruler_; }
  void SetRuler(bool ruler);

 private:
  bool Across(int index) const override {
    return index == kWidth || index == kLeftMargin || index == kRightMargin || index == kColumnSpace;
  }
  void ApplyToControl() override;
  TCustomBandReport& report_;
  int columns_ = 1;
  TRptOrientation orientation_ = TRptOrientation::Portrait;
  TRptPaperSize paper_ = TRptPaperSize::A4;
  bool ruler_ = true;
};

}  // namespace rpt
