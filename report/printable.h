// The printable base: everything printed on a report page besides the bands themselves is a
// TRptPrintable, a control placed on a band (printed with its band) or directly on the report
// (printed at every page end, its Left and Top counted from the paper's top-left corner). A
// printable keeps its geometry in 0.1 mm in its Size (Height, Left, Top, Width), paints itself on
// screen at the report's zoom and prints itself on the page canvas of the run's printer when
// PrintControl is called with the position of its band.
//
// TRptFrame is the frame that printables, bands and the report draw around themselves: any of
// the four sides, in a colour, Width points thick (1/72 inch).
//
// The editor of a printable (TRptPrintableEditor) answers design-time facts about it. Editors of
// further classes are registered per printable class (RegisterPrintableEditor); a printable's
// GetEditorClass finds the one registered for its own class or the nearest base class.
//
// Notifications reaching a printable (RptNotification): operation 0, a band of the controller
// the printable registered with is about to print; operation 2, its band was resized.
//
// A band's pre-calculated height (KeepOnOnePage, PreCaluculateBandHeight) measures its labels as
// the page layout does, at zoom 100, so the zoom the report is shown at does not change it.
//
// Printing takes every length it needs in pixels from the layout at zoom 100 (LayoutPixels), never
// from the controls' pixels at the zoom shown: whether a band is high enough to print (its height
// rounds to a pixel or more), and where a vertical-line shape with Tag 1000 stands across its band
// (round(printed band width x (shape left + shape width div 2) / band width), each in pixels at
// zoom 100).
#pragma once

#include <QMetaObject>
#include <functional>
#include <memory>
#include <string>

#include "platform/dc_canvas.h"
#include "platform/qt/canvas_widget.h"
#include "report/export_filter.h"
#include "report/units.h"

class QWidget;

namespace rpt {

class TCustomBandReport;
class TRptCustomBand;
class TRptPrintable;
class TRptPrinter;

// The layout that every zoom shares: pixels of the report's screen (96 per inch) at zoom 100.
constexpr Real kScreenPerTenth = 96.0L / 254;
constexpr Real kTenthsPerLayoutPixel = 254.0L / 96;
// A length in 0.1 mm as whole pixels of that layout.
inline int LayoutPixels(Real tenths) { return Round(tenths * kScreenPerTenth); }

// Operations of RptNotification.
constexpr int kNotifyBandPrint = 0;
constexpr int kNotifyBandResized = 2;

class TRptFrame {
 public:
  // The frame of `owner`: a printable, a band or a report.
  explicit TRptFrame(QWidget& owner) : owner_(owner) {}
  TRptFrame(const TRptFrame&) = delete;
  TRptFrame& operator=(const TRptFrame&) = delete;

  uint32_t Color() const { return color_; }
  bool DrawTop() const { return top_; }
  bool DrawBottom() const { return bottom_; }
  bool DrawLeft() const { return left_; }
  bool DrawRight() const { return right_; }
  platform::PenStyle Style() const { return style_; }
  // Line width in points; -1 draws one pixel.
  int Width() const { return width_; }
  // Each setter repaints the owner.
  void SetColor(uint32_t c);
  void SetDrawTop(bool v);
  void SetDrawBottom(bool v);
  void SetDrawLeft(bool v);
  void SetDrawRight(bool v);
  void SetStyle(platform::PenStyle s);
  void SetWidth(int points);
  // At least one side is drawn.
  bool AnyFrame() const { return top_ || bottom_ || left_ || right_; }
  // The width in 0.1 mm: round(Width / 72 x 254).
  int NativeWidth() const;
  // Draws the selected sides inside `r` (device pixels) on `canvas`, horizontal lines
  // round(vFactor / 72 x 254 x Width) and vertical ones round(hFactor / 72 x 254 x Width) pixels
  // thick (at least 1); with an export filter on the owner's report the lines go to it as well.
  void PaintFrame(platform::Canvas& canvas, const platform::Rect& r, Real vFactor, Real hFactor);
  QWidget& Owner() const { return owner_; }

 private:
  void Changed();
  QWidget& owner_;
  uint32_t color_ = 0;
  bool top_ = false, bottom_ = false, left_ = false, right_ = false;
  platform::PenStyle style_ = platform::PenStyle::Solid;
  int width_ = 1;
};

// Design-time facts about one printable; further classes register their own editors.
class TRptPrintableEditor {
 public:
  explicit TRptPrintableEditor(TRptPrintable& control) : control_(control) {}
  virtual ~TRptPrintableEditor() = default;
  TRptPrintable& Control() const { return control_; }

  virtual bool HasColor() const { return false; }
  virtual bool HasFont() const { return false; }
  virtual std::string GlyphResourceName() const { return std::string(); }
  virtual const QMetaObject& PrintableClass() const;
  // The control's value as the editor shows it (CP932).
  virtual std::string Value() const { return std::string(); }
  virtual void SetValue(const std::string& /*value*/) {}
  virtual std::string ControlName() const { return std::string(); }
  // Edits the control interactively; true when something was changed.
  virtual bool Edit() { return false; }

 private:
  TRptPrintable& control_;
};

using TRptPrintableEditorClass = std::function<std::unique_ptr<TRptPrintableEditor>(TRptPrintable&)>;
// Registers the editor of printables of class `printableClass` and its descendants (an empty
// one takes the registration back).
void RegisterPrintableEditor(const QMetaObject& printableClass, TRptPrintableEditorClass editorClass);

class TRptPrintable : public platform::CanvasWidget {
  Q_OBJECT
 public:
  explicit TRptPrintable(QWidget* parent);
  ~TRptPrintable() override;

  TRptFrame& Frame() { return frame_; }
  const TRptFrame& Frame() const { return frame_; }
  TRptPrintableSize& Size() { return size_; }
  const TRptPrintableSize& Size() const { return size_; }
  TCustomBandReport* ParentReport() const { return report_; }
  // The band the printable lies on (none for one placed on the report).
  TRptCustomBand* ParentBand() const;
  // The printer of the run while prepared.
  TRptPrinter* Printer() const { return printer_; }
  bool IsPrinting() const { return printing_; }
  // False while a stretching control still has content for another pass.
  bool PrintFinished() const { return printFinished_; }

  TRptAlignment Alignment() const { return alignment_; }
  virtual void SetAlignment(TRptAlignment alignment);
  bool AlignToBand() const { return alignToBand_; }
  void SetAlignToBand(bool v);
  // The zoom the control is shown at (its panel's).
  int Zoom() const;
  // The background colour (program colour value) and the opaque style.
  uint32_t Color() const { return color_; }
  void SetColor(uint32_t c);
  bool Transparent() const { return !opaque_; }
  void SetTransparent(bool v);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  int Tag = 0;

  // Sets the pixel bounds at the current zoom: written into Size through the Pixels unit.
  void SetBounds(int left, int top, int width, int height);
  // The control's width and height in pixels at its zoom, from Size.
  int PixelWidth() const;
  int PixelHeight() const;

  // Whether the control prints: enabled, or not visible.
  virtual bool IsShown() const;
  virtual TRptPrintableEditorClass GetEditorClass() const;
  // Aligns the control on its band when AlignToBand is set.
  virtual void AlignIt();
  // Before a run: printing on the report's printer; Unprepare afterwards.
  virtual void Prepare();
  virtual void Unprepare();
  // Prints the control with its band's position (0.1 mm); the base prints the frame.
  virtual void PrintControl(Real offsetX, Real offsetY);
  virtual void RptNotification(QObject* sender, int operation);
  // The height (pixels at the zoom) the control's content needs; 0 when it does not say.
  virtual int ExpectedHeight() { return 0; }

  // Takes the report it belongs to (from its parent): the report's units for its size.
  void SetParentReport(TCustomBandReport* report);

 protected:
  void Paint(platform::Canvas& canvas) override;
  // Nothing is painted on screen while the control prints.
  void paintEvent(QPaintEvent* e) override;
  void Resized() override;
  bool event(QEvent* e) override;
  void SetPrintFinished(bool v) { printFinished_ = v; }
  // The device rectangle (XPos, YPos of Left and Top, XPos, YPos of Left + Width, Top + Height)
  // of the control offset by (offsetX, offsetY).
  platform::Rect DeviceRect(Real offsetX, Real offsetY) const;
  // The page canvas of the run (never null while a page is open).
  platform::Canvas& PageCanvas() const;
  // Whether an export filter is attached to the report.
  TRptExportFilter* Filter() const;
  void SetOpaque(bool v) { opaque_ = v; }

 private:
  TRptFrame frame_;
  TCustomBandReport* report_ = nullptr;
  bool printFinished_ = true;
  bool printing_ = false;
  TRptPrinter* printer_ = nullptr;
  TRptPrintableSize size_;
  TRptAlignment alignment_ = TRptAlignment::Left;
  bool alignToBand_ = false;
  bool aligning_ = false;
  uint32_t color_ = 0xFFFFFF;
  bool opaque_ = true;
  bool enabled_ = true;
  bool visible_ = true;
};

// The font a control draws with, taken onto `canvas` (its pixels per inch) at the same point size.
void TakeFont(platform::Canvas& canvas, const platform::CanvasFont& font);

}  // namespace rpt
