// The printable controls that put text and pictures on a report page: TRptLabel (a caption),
// TRptMemo (a list of lines), TRptImage (a picture) and TRptShape (a rectangle, ellipse or
// lines), with TRptCustomLabel as the text engine of labels, memos and expression labels.
//
// Text formatting (FormatLines): line feeds are dropped and each carriage return starts a new
// paragraph; a paragraph is cut into words (each up to and including a blank, "-" or the end)
// and the words are set into lines no wider than the control (measured with the control's font
// on the screen at zoom 100, plus one pixel, scaled to the zoom). A word too wide for a line of
// its own keeps what fits of it and loses the rest (a paragraph ending so has no empty line
// after it). Cuts fall between whole CP932 characters, never inside a double-byte one. With AutoSize the paragraph is one line and the control takes
// the width of its widest line; with WordWrap off a paragraph ends at its first word that does
// not fit (the words before it make its line, the rest of the paragraph is dropped).
//
// Printing a label draws the lines that fit its height, line by line; with AutoStretch the band
// grows for further lines while the page has room, and what does not fit continues on the next
// column or page. A continuation that could not place even one line on a fresh column prints
// its next line anyway, so every pass of a stretching band moves on. The band's growth is
// filled on from where the label's fill reached, with no strip left white between them.
//
// One layout on every device and at every zoom: text is measured for the layout in one way,
// widths on the report's screen context at zoom 100 (its pixels, plus one) and the line height
// of "W" at 600 pixels per inch, both taken to 0.1 mm; only the drawing is done at the device's
// resolution. So the preview's pages, a print, a print of a page range and an export break at
// the same lines, and the zoom changes only how a label is shown on screen. Formatting stores
// only what the text changes, computed in 0.1 mm: the width of an auto-size label and its left
// edge as its alignment keeps the left edge, the right edge or the centre where they were
// (exactly, with no rounding to pixels), and a height raised to one line (with the frame's drawn
// top and bottom added, as its drawn sides are to an auto-size width); the other values are
// never rewritten through the zoom's pixels.
//
// A printed label's fill, frame and text all take its place as formatting left it, so an
// auto-size label whose printed text differs from its design text paints nothing beside itself;
// the text stands inside the frame's drawn sides (right-aligned text ends inside a drawn right
// side, centred text is centred between them).
//
// Images draw their picture scaled (Stretch), centred (Center) or at their own size, which keeps
// its size in millimetres on paper; a bitmap goes to the page as a device-independent bitmap
// with colour-on-colour stretching, a metafile is played into its rectangle. GetCanvas gives a
// canvas on the image's bitmap (made at the control's size on first use) for drawing by code.
// An auto-size image takes its picture's size, a picture's pixel being a pixel of the layout at
// zoom 100 whatever zoom the report is shown at; its place stays as stored.
//
// Rounded rectangles printed take their corner size from the printed width:
// round(XSize(Width) x RoundFactor).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/picture.h"
#include "report/printable.h"

namespace platform {
class BitmapGraphicCanvas;
}

namespace rpt {

enum class TBiDiMode : uint8_t { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };

// Handler of a label's print: (sender, var value) may replace the text printed this time.
using TRptLabelOnPrintEvent = std::function<void(QObject* sender, std::string& value)>;

class TRptCustomLabel : public TRptPrintable {
  Q_OBJECT
 public:
  explicit TRptCustomLabel(QWidget* parent);
  ~TRptCustomLabel() override;

  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool v);
  bool AutoStretch() const { return autoStretch_; }
  void SetAutoStretch(bool v);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool v);
  // The caption (CP932); setting it formats the text again.
  virtual std::string Caption() const { return caption_; }
  void SetCaption(const std::string& text);
  // The text being printed (the caption unless a print handler or an expression replaced it).
  const std::string& PrintCaption() const { return printCaption_; }
  const std::vector<std::string>& Lines() const { return lines_; }
  const std::vector<std::string>& FormattedLines() const { return formatted_; }
  // The font: the parent's while ParentFont is set.
  const platform::CanvasFont& Font() const;
  platform::CanvasFont& MutableFont();  // clears ParentFont
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool v);
  TBiDiMode BiDiMode() const { return biDiMode_; }
  void SetBiDiMode(TBiDiMode mode);
  bool ParentBiDiMode() const { return parentBiDiMode_; }
  void SetParentBiDiMode(bool v) { parentBiDiMode_ = v; }
  void SetAlignment(TRptAlignment alignment) override;
  TRptLabelOnPrintEvent OnPrint;

  // Labels and expression labels format their caption; memos their lines.
  virtual bool CaptionBased() const { return true; }
  virtual void FormatLines();
  // The stored font size ("FontSize"): the font's point size; reading a value above 0 applies
  // it after loading.
  int StoredFontSize() const;
  void ReadStoredFontSize(int points);
  void ApplyStoredFontSize();

  void Prepare() override;
  void PrintControl(Real offsetX, Real offsetY) override;
  // The formatted lines times the line height of "W" at the zoom.
  int ExpectedHeight() override;
  // The same at zoom 100, as the page layout measures it (pixels of the report's screen context).
  int LayoutHeight();

  // The index of the next line to print (a stretched label continues there).
  int CurrentLine() const { return currentLine_; }

 protected:
  void Paint(platform::Canvas& canvas) override;
  bool event(QEvent* e) override;
  void SetLinesValue(std::vector<std::string> lines);
  void SetPrintCaption(const std::string& text) { printCaption_ = text; }
  // The name of the control changed from `oldName`.
  virtual void NameChanged(const QString& oldName);

 private:
  void FormatText(const std::string& text);
  void AppendWord(std::string& buffer, std::string word, int width);
  int LineWidth(const std::string& text);
  // The line height of "W" on the report's screen context at zoom 100 (pixels).
  int LineHeightW();
  // The line height the layout uses in printing (0.1 mm), the same on every device.
  Real PrintLineHeight() const;
  // The alignment with a right-to-left reading order applied.
  TRptAlignment BiDiAlignment() const;
  void FontChanged();

  bool autoSize_ = true;
  bool autoStretch_ = false;
  bool wordWrap_ = true;
  std::string caption_, printCaption_;
  std::vector<std::string> lines_, formatted_;
  bool doneFormat_ = false;
  bool updatingBounds_ = false;
  int storedFontSize_ = 0;
  int currentLine_ = 0;
  bool stop_ = false;
  platform::CanvasFont font_;
  bool parentFont_ = true;
  TBiDiMode biDiMode_ = TBiDiMode::bdLeftToRight;
  bool parentBiDiMode_ = true;
  QString oldName_;
};

class TRptLabel : public TRptCustomLabel {
  Q_OBJECT
 public:
  explicit TRptLabel(QWidget* parent);
};

class TRptMemo : public TRptCustomLabel {
  Q_OBJECT
 public:
  explicit TRptMemo(QWidget* parent);
  bool CaptionBased() const override { return false; }
  void SetLines(std::vector<std::string> lines);
  void PrintControl(Real offsetX, Real offsetY) override;

 protected:
  void Paint(platform::Canvas& canvas) override;
};

class TRptImage : public TRptPrintable {
  Q_OBJECT
 public:
  explicit TRptImage(QWidget* parent);
  ~TRptImage() override;

  platform::TPicture& Picture() { return picture_; }
  // Takes a copy of `picture`'s graphic (null clears the picture).
  void SetPicture(const platform::TPicture* picture);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool v);
  bool Stretch() const { return stretch_; }
  void SetStretch(bool v);
  bool Center() const { return center_; }
  void SetCenter(bool v);
  // A canvas on the picture's bitmap: an empty picture first gets a white bitmap of the
  // control's size at zoom 100. Null when the picture holds another kind of graphic.
  platform::Canvas* GetCanvas();
  // Whether the control covers its area: a bitmap at least as large as the control.
  bool Opaque() const { return !Transparent(); }

  void PrintControl(Real offsetX, Real offsetY) override;

 protected:
  void Paint(platform::Canvas& canvas) override;

 private:
  void PictureChanged();
  // Writes what was drawn on GetCanvas into the bitmap.
  void StoreCanvas();
  platform::TPicture picture_;
  std::unique_ptr<platform::BitmapGraphicCanvas> canvas_;
  bool autoSize_ = false, stretch_ = false, center_ = false;
};

enum class TRptShapeType : uint8_t {
  rpsRectangle, rpsCircle, rpsVertLine, rpsHorLine, rpsTopAndBottom, rpsRightAndLeft, rpsRoundRect
};

class TRptShape : public TRptPrintable {
  Q_OBJECT
 public:
  explicit TRptShape(QWidget* parent);
  TRptShapeType Shape() const { return shape_; }
  void SetShape(TRptShapeType shape);
  platform::CanvasBrush& Brush() { return brush_; }
  platform::CanvasPen& Pen() { return pen_; }
  const platform::CanvasBrush& Brush() const { return brush_; }
  const platform::CanvasPen& Pen() const { return pen_; }
  void SetBrush(const platform::CanvasBrush& brush) { brush_.Assign(brush); }
  void SetPen(const platform::CanvasPen& pen) { pen_.Assign(pen); }
  float RoundFactor() const { return roundFactor_; }
  void SetRoundFactor(float f);
  int VertAdjust = 0;

  void PrintControl(Real offsetX, Real offsetY) override;
  // Draws the figure in `r` (device pixels) with the shape's pen and brush; `corner` is the
  // rounded rectangle's corner size, `midX` and `midY` where the middle lines lie.
  void DrawFigure(platform::Canvas& canvas, const platform::Rect& r, int corner, int midX, int midY);

 protected:
  void Paint(platform::Canvas& canvas) override;

 private:
  TRptShapeType shape_ = TRptShapeType::rpsRectangle;
  platform::CanvasBrush brush_;
  platform::CanvasPen pen_;
  float roundFactor_ = 0;
};

}  // namespace rpt
