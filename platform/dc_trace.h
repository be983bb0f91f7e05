// A device context for tests: draws nothing and logs every call as one line of text, such
// as "Rectangle 10,10,50,40" or "SelectPen style=0 width=1 color=0000FF". Text is logged
// as UTF-8 in double quotes. Measuring works as on every other context (the installed font
// engine).
#pragma once

#include <string>
#include <vector>

#include "platform/dc.h"

namespace platform {

class TraceDc final : public DeviceContext {
 public:
  explicit TraceDc(const DeviceCaps& caps = DeviceCaps::Screen(800, 600)) : DeviceContext(caps) {}

  std::vector<std::string> log;
  // Lines of the log that start with `prefix`.
  std::vector<std::string> Lines(const std::string& prefix) const;
  // Whether any line starts with `prefix`.
  bool Has(const std::string& prefix) const { return !Lines(prefix).empty(); }

  void SelectPen(const LogPen& pen) override;
  void SelectBrush(const LogBrush& brush) override;
  void SelectFont(const LogFont& font) override;
  void SetTextColor(ColorRef color) override;
  void SetBkColor(ColorRef color) override;
  void SetBkMode(int mode) override;
  void SetTextAlign(uint32_t align) override;
  void SetROP2(int rop2) override;
  void MoveTo(int x, int y) override;
  void SelectClipRegion(const Region* region, int mode = RGN_COPY) override;
  void IntersectClipRect(const Rect& r) override;
  void ExcludeClipRect(const Rect& r) override;
  int SaveDC() override;
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
  // Gradients, blends and frame controls are logged as one line each ("GradientFill mode=0
  // 0,0,0000FF 10,10,FF0000 mesh=0,1", "AlphaBlend 0,0,8,8 from 0,0,4,4 alpha=128",
  // "DrawFrameControl 0,0,13,13 type=4 state=1024"), not as what the defaults draw.
  bool Native(DcFeature feature) const override;
  bool GradientFill(const std::vector<TriVertex>& vertices, const std::vector<uint32_t>& mesh, uint32_t mode) override;
  bool AlphaBlend(const Rect& dest, const Dib& bitmap, const Rect& src, uint8_t alpha) override;
  bool DrawFrameControl(const Rect& r, uint32_t type, uint32_t state) override;
  void SetPixel(int x, int y, ColorRef color) override;
  void ArcTo(int left, int top, int right, int bottom, int xs, int ys, int xe, int ye) override;
  void BeginPath() override;
  void EndPath() override;
  void AbortPath() override;
  void CloseFigure() override;
  void WidenPath() override;
  void SetArcDirection(int direction) override;
  void StrokePath() override;
  void FillPath() override;
  void StrokeAndFillPath() override;
  void SelectClipPath(int mode) override;
};

}  // namespace platform
