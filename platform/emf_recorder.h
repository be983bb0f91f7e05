// A device context that records an Enhanced Metafile. The picture is measured in pixels of
// the 96-dpi reference device (dc.h); the header carries the exact bounds of what was drawn,
// the frame in 0.01 mm (rounded up, so that integer arithmetic on the header gives the
// picture's size in pixels back), the reference device in pixels, millimetres and
// micrometres, and the handle, record and byte counts. Paths are recorded as their records
// (the header's bounds take a path in when it is stroked or filled). Objects are created when a different one is selected and
// deleted as soon as nothing uses them, so that every object is deleted by the end. Text is
// written as EMR_EXTTEXTOUTW with the character advances measured by the installed font
// engine, so the file draws the same everywhere. Save/restore is recorded as the changes it
// makes, so a reader never has to track saved states. A blend is recorded as EMR_ALPHABLEND
// with a constant alpha; gradients and frame controls as the bitmaps the device context's
// defaults draw them with. Pixels cannot be read back (GetPixel and GetBits answer nothing).
#pragma once

#include <string>
#include <vector>

#include "platform/dc.h"
#include "platform/emf.h"

namespace platform {

class EmfRecorder final : public DeviceContext {
 public:
  // A picture of width x height reference pixels.
  EmfRecorder(int width, int height);
  ~EmfRecorder() override;

  // Ends the metafile and returns its bytes. Drawing afterwards is ignored.
  std::string Finish();
  bool Finished() const { return finished_; }
  // The picture: what a player shows of it.
  Rect SurfaceBox() const override { return Rect{0, 0, width_, height_}; }

  void SelectPen(const LogPen& pen) override;
  void SelectBrush(const LogBrush& brush) override;
  void SelectFont(const LogFont& font) override;
  void SetTextColor(ColorRef color) override;
  void SetBkColor(ColorRef color) override;
  void SetBkMode(int mode) override;
  void SetTextAlign(uint32_t align) override;
  void SetROP2(int rop2) override;
  void SetPolyFillMode(int mode) override;
  void SetStretchBltMode(int mode) override;
  void SetTextCharacterExtra(int extra) override;
  void SetBrushOrg(int x, int y) override;
  void SetArcDirection(int direction) override;
  void MoveTo(int x, int y) override;
  void SelectClipRegion(const Region* region, int mode = RGN_COPY) override;
  void IntersectClipRect(const Rect& r) override;
  void ExcludeClipRect(const Rect& r) override;
  bool RestoreDC(int level) override;

  void LineTo(int x, int y) override;
  void Polyline(const std::vector<Point>& points) override;
  void Polygon(const std::vector<Point>& points) override;
  void Rectangle(int left, int top, int right, int bottom) override;
  void RoundRect(int left, int top, int right, int bottom, int cornerW, int cornerH) override;
  void Ellipse(int left, int top, int right, int bottom) override;
  void Arc(int left, int top, int right, int bottom, int xs, int ys, int xe, int ye) override;
  void Pie(int left, int top, int right, int bottom, int xs, int ys, int xe, int ye) override;
  void Chord(int left, int top, int right, int bottom, int xs, int ys, int xe, int ye) override;
  void ExtTextOut(int x, int y, uint32_t options, const Rect* rect, std::u16string_view text,
                  const std::vector<int>* dx = nullptr) override;
  bool PatBlt(const Rect& r, uint32_t rop) override;
  bool StretchDIBits(const Rect& dest, const Rect& src, const Dib& dib, uint32_t rop = SRCCOPY) override;
  bool Native(DcFeature feature) const override;
  bool AlphaBlend(const Rect& dest, const Dib& bitmap, const Rect& src, uint8_t alpha) override;
  void SetPixel(int x, int y, ColorRef color) override;
  void ArcTo(int left, int top, int right, int bottom, int xs, int ys, int xe, int ye) override;
  void BeginPath() override;
  void EndPath() override;
  void AbortPath() override;
  void CloseFigure() override;
  void WidenPath() override;
  void StrokePath() override;
  void FillPath() override;
  void StrokeAndFillPath() override;
  void SelectClipPath(int mode) override;

 private:
  void UsePath(uint32_t type);
  enum Kind { kPen = 0, kBrush = 1, kFont = 2 };
  emf::FieldWriter& Begin(uint32_t type);
  void End();
  void Simple(uint32_t type, std::initializer_list<uint32_t> values);
  uint32_t AllocHandle();
  void ReplaceObject(Kind kind, uint32_t newHandle);
  void AddBounds(Rect inclusive);
  Rect ShapeBounds(int left, int top, int right, int bottom) const;
  Rect PointsBounds(const std::vector<Point>& points) const;
  void BoxRecord(uint32_t type, int left, int top, int right, int bottom);
  void ArcRecord(uint32_t type, int left, int top, int right, int bottom, int xs, int ys, int xe, int ye);
  void PolyRecord(uint32_t type16, uint32_t type32, const std::vector<Point>& points);
  void WriteRegion(const Region* region, int mode);
  // The fields of bit-block records between the raster operation (or blend) and the source
  // bitmap's offsets: the source at (0, 0), untransformed, colours by RGB value.
  void SourcePlacement();

  int width_, height_;
  emf::FieldWriter rec_;        // the record being written
  std::string body_;            // records after the header
  uint32_t records_ = 0;
  size_t recordStart_ = 0;
  std::vector<bool> handleUsed_{true};  // index 0 is the metafile itself
  uint32_t selected_[3] = {0, 0, 0};    // created object per kind; 0: a stock object
  bool boundsEmpty_ = true;
  Rect bounds_;
  bool pathEmpty_ = true;  // what the path covers, added to the bounds when it is drawn
  Rect pathBounds_;
  bool finished_ = false;
};

}  // namespace platform
