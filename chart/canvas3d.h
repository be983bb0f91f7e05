// The 3D canvas: every chart element is drawn at a depth z, and the canvas maps (x, y, z) to
// device pixels by one of three projections: none (2D charts: z is ignored), orthogonal (z
// shifted along a fixed angle) or rotated (elevation, rotation and tilt, with optional
// perspective). `TPlotCanvas3D` implements the whole canvas on a platform canvas and owns the
// off-screen buffer in which a panel paints a frame before one block copy shows it:
// `BeginFrame` binds the canvas to the buffer (a QImage with its own Qt device context and
// platform canvas), `EndFrame` copies the buffer to the target with a single BitBlt.
#pragma once

#include <QImage>
#include <array>
#include <functional>
#include <memory>

#include "chart/canvas.h"

namespace platform {
class QtDc;
}

namespace chart {

class TCustomPlotGradient;

struct TPoint3D {
  int x = 0, y = 0, z = 0;
};

// Which radial faces of a 3D pie slice may show: those at its start angle, its end angle, both
// or none. A face named here is drawn only when it turns its outer side to the viewer.
enum TPieSides { psNoSides = 0, psStartSide = 1, psEndSide = 2, psBothSides = 3 };

// What view options invalidate when they change (the chart panel).
class TView3DParent {
 public:
  virtual void Invalidate() = 0;

 protected:
  ~TView3DParent() = default;
};

// The user's 3D view settings. Setters store a changed value and invalidate the parent;
// the offsets then report the scroll (true: horizontal), the zoom reports its new value
// before it is stored.
class TView3DOptions {
 public:
  explicit TView3DOptions(TView3DParent* parent = nullptr) : parent_(parent) {}
  TView3DOptions(const TView3DOptions&) = delete;
  TView3DOptions& operator=(const TView3DOptions&) = delete;

  TView3DParent* Parent() const { return parent_; }
  // Published as whole degrees, read rounded.
  int Elevation() const { return Round(elevation_); }
  double ElevationValue() const { return elevation_; }
  int Rotation() const { return Round(rotation_); }
  double RotationValue() const { return rotation_; }
  int FontZoom() const { return fontZoom_; }
  int HorizOffset() const { return horizOffset_; }
  int VertOffset() const { return vertOffset_; }
  bool Orthogonal() const { return orthogonal_; }
  int OrthoAngle() const { return orthoAngle_; }
  int Perspective() const { return perspective_; }
  int Tilt() const { return tilt_; }
  int Zoom() const { return zoom_; }
  bool ZoomText() const { return zoomText_; }

  void SetElevation(double degrees);
  void SetRotation(double degrees);
  void SetFontZoom(int percent);
  void SetHorizOffset(int v);
  void SetVertOffset(int v);
  void SetOrthogonal(bool v);
  void SetOrthoAngle(int degrees);
  void SetPerspective(int v);
  void SetTilt(int degrees);
  void SetZoom(int percent);
  void SetZoomText(bool v);

  std::function<void(bool horizontal)> onScrolled;
  std::function<void(int zoom)> onZoomChanged;

  // Every published value, without invalidating.
  void Assign(const TView3DOptions& source);
  // 1 when not orthogonal, else tan of the ortho angle (180 - angle above 90 degrees).
  double OrthoTangent() const;

 private:
  void Changed();
  TView3DParent* parent_;
  double elevation_ = 345;
  int fontZoom_ = 100;
  int horizOffset_ = 0;
  bool orthogonal_ = true;
  int orthoAngle_ = 45;
  int perspective_ = 15;
  double rotation_ = 345;
  int tilt_ = 0;
  int vertOffset_ = 0;
  int zoom_ = 100;
  bool zoomText_ = true;
};

// The 3D half of the canvas: slots 48 to 90.
class TCanvas3D : public TPlotCanvas {
 public:
  virtual platform::ColorRef GetPixel3D(int x, int y, int z) = 0;                         // 48
  virtual bool Supports3DText() = 0;                                                      // 49
  virtual void SetPixel3D(int x, int y, int z, TColor color) = 0;                         // 50
  virtual void UnprojectPoint(int& x, int& y, int z) = 0;                                 // 51
  virtual TPoint ProjectPoint(int x, int y, int z) = 0;                                   // 52
  virtual TRect BeginFrame(platform::Canvas* canvas, TView3DOptions* options, TColor color, bool is3D,
                           const TRect& rect) = 0;                                        // 53
  virtual void CopySettings(TCanvas3D& source) = 0;                                       // 54
  virtual void SetProjectionCenter(int depth, const TRect& rect) = 0;                     // 55
  virtual void EndFrame(platform::Canvas* target, platform::Canvas* own, const TRect& rect) = 0;  // 56
  virtual bool RepaintFromBuffer() = 0;                                                   // 57
  virtual void DrawArrow(bool filled, TPoint from, int bodyPercent, int z, int headLength, int headWidth,
                         TPoint to) = 0;                                                  // 58
  virtual void ClipCube(const TRect& rect, int z0, int z1) = 0;                           // 59
  virtual void DrawCone(bool vertical, int left, int top, int right, int bottom, int z0, int z1, bool darkSides,
                        int conePercent) = 0;                                             // 60
  virtual void DrawBox3D(int left, int right, int top, int bottom, int z0, int z1, bool darkSides) = 0;  // 61
  virtual void DrawCylinder(bool vertical, int left, int top, int right, int bottom, int z0, int z1,
                            bool darkSides) = 0;                                          // 62
  virtual void SuspendProjection() = 0;                                                   // 63
  virtual void DrawEllipse3D(int x1, int y1, int x2, int y2, int z) = 0;                  // 64
  virtual void ResumeProjection() = 0;                                                    // 65
  virtual void DrawHorizLine3D(int x0, int x1, int y, int z) = 0;                         // 66
  virtual void DrawVertLine3D(int x, int y0, int y1, int z) = 0;                          // 67
  virtual void DrawDepthLine(int x, int y, int z0, int z1) = 0;                           // 68
  virtual void BeginFlatDrawing() = 0;                                                    // 69
  virtual void EndFlatDrawing() = 0;                                                      // 70
  virtual void DrawLineAtZ(int x0, int y0, int x1, int y1, int z) = 0;                    // 71
  virtual void MoveTo3D(int x, int y, int z) = 0;                                         // 72
  virtual void LineTo3D(int x, int y, int z) = 0;                                         // 73
  // Angles in radians, anticlockwise from the positive x axis. A visible gradient given by
  // the caller fills the top face instead of the brush.
  virtual void DrawPieSlice3D(int xc, int yc, int holePercent, TPieSides sides, bool darkSides, double endAngle,
                              double startAngle, int z0, int z1, int yRadius, int xRadius,
                              TCustomPlotGradient* gradient = nullptr) = 0;               // 74
  virtual void DrawPlane3D(TPoint p1, TPoint p2, int z0, int z1) = 0;                     // 75
  virtual void DrawQuadAtZ(TPoint p1, TPoint p2, TPoint p3, TPoint p4, int z) = 0;        // 76
  virtual void DrawQuadBetween(const std::array<TPoint, 4>& points, int z0, int z1) = 0;  // 77
  virtual void DrawPolygonAtZ(std::span<const TPoint> points, int z) = 0;                 // 78
  virtual void DrawPolylineAtZ(std::span<const TPoint> points, int z) = 0;                // 79
  virtual void DrawPyramid(bool vertical, int left, int top, int right, int bottom, int z0, int z1,
                           bool darkSides) = 0;                                           // 80
  // A vertical frustum from the base rectangle at the bottom to a rectangle of half-sizes
  // (cutX, cutZ) around the middle of the top.
  virtual void DrawPyramidCut(const TRect& rect, int z0, int z1, int cutX, int cutZ, bool darkSides) = 0;  // 81
  virtual void DrawRectAtZ(const TRect& rect, int z) = 0;                                 // 82
  virtual void DrawHorizPlaneRect(int x0, int y, int z0, int x1, int z1) = 0;             // 83
  virtual void DrawSidePlaneRect(int x, int y0, int z0, int y1, int z1) = 0;              // 84
  virtual void DrawRotatedText3D(int x, int y, int z, const std::string& text, double angle) = 0;  // 85
  virtual void DrawSphere(int x, int y, int z, double radius) = 0;                        // 86
  virtual void DrawSphereShaded() = 0;                                                    // 87
  virtual void DrawText3D(int x, int y, int z, const std::string& text) = 0;              // 88
  virtual void DrawTriangle3D(TPoint3D p0, TPoint3D p1, TPoint3D p2, TColor color) = 0;   // 89
  virtual void DrawTriangleAtZ(TPoint p1, TPoint p2, TPoint p3, int z) = 0;              // 90

  // The view options in use (may be nil).
  TView3DOptions* View3DOptions() const { return options_; }
  bool InFlatDrawing() const { return flatCount_ > 0; }
  bool IsOrthogonal() const { return isOrthogonal_; }
  int XCenter() const { return xCenter_; }
  int YCenter() const { return yCenter_; }
  int ZCenter() const { return zCenter_; }
  // The point every rotation turns around, relative to the projection centre.
  struct TRotationCenter {
    double x = 0, y = 0, z = 0;
  };
  TRotationCenter RotationCenter;

  TPoint ProjectXYZ(int x, int y, int z) { return ProjectPoint(x, y, z); }
  // Both corners at one depth.
  TRect ProjectRect(const TRect& rect, int z);
  std::array<TPoint, 4> ProjectRectCorners(const TRect& rect, int z);
  TRect ProjectedRectBounds(const TRect& rect, int z);
  void DrawBoxFromRect(const TRect& rect, int z0, int z1, bool darkSides) {
    DrawBox3D(rect.left, rect.right, rect.top, rect.bottom, z0, z1, darkSides);
  }
  void DrawLineAtDepth(TPoint a, TPoint b, int z) { DrawLineAtZ(a.x, a.y, b.x, b.y, z); }
  // An arrow whose shaft is half the head's width.
  void DrawArrowHalfHead(bool filled, TPoint from, int z, int headLength, int headWidth, TPoint to) {
    DrawArrow(filled, from, 50, z, headLength, headWidth, to);
  }
  void DrawRectAtZ(int left, int top, int right, int bottom, int z) { DrawRectAtZ(TRect{left, top, right, bottom}, z); }
  // Each pixel of `picture` as a quad of `rect` at depth z.
  void DrawPicture3D(const TRect& rect, const platform::TGraphic& graphic, int z);

 protected:
  TView3DOptions* options_ = nullptr;
  int flatCount_ = 0;
  bool isOrthogonal_ = false;
  int xCenter_ = 0, yCenter_ = 0, zCenter_ = 0;
  int gradientDepth_ = 0;
};

class TPlotCanvas3D : public TCanvas3D {
 public:
  TPlotCanvas3D();
  ~TPlotCanvas3D() override;

  // ---- 2D slots ----
  platform::ColorRef GetBackColor() override;
  int GetBackMode() override;
  platform::DeviceContext& GetHandle() override { return Dc(); }
  bool GetMonochrome() override { return monochrome_; }
  platform::ColorRef GetPixel(int x, int y) override;
  bool IsFull3D() override { return false; }
  uint32_t GetTextAlign() override;
  bool GetBufferedDisplay() override { return buffered_; }
  void SetBackColor(TColor color) override;
  void SetBackMode(int mode) override;
  void SetMonochrome(bool on) override;
  void SetPixel(int x, int y, TColor color) override;
  void SetTextAlign(uint32_t flags) override;
  void SetBufferedDisplay(bool on) override;
  void DrawArc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
  void DrawRingSector(int xc, int yc, int xRadius, int yRadius, double startAngle, double endAngle,
                      int holePercent) override;
  void DrawGraphic(int x, int y, const platform::TGraphic* graphic) override;
  void DrawEllipse(int x1, int y1, int x2, int y2) override;
  void FillRect(const TRect& rect) override;
  void LineTo(int x, int y) override;
  void MoveTo(int x, int y) override;
  void DrawPie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
  void DrawRectangle(int x0, int y0, int x1, int y1) override;
  void DrawRoundRect(int x1, int y1, int x2, int y2, int cornerW, int cornerH) override;
  void StretchGraphic(const TRect& rect, const platform::TGraphic* graphic) override;
  void DrawText2D(int x, int y, const std::string& text) override;
  void ClipRectangle(const TRect& rect) override;
  void DrawHorizLine(int x0, int x1, int y) override;
  void DrawVertLine(int x, int y0, int y1) override;
  void EraseRect(const TRect& rect) override { FillRect(rect); }
  void GradientFill(const TRect& rect, TColor colorA, int balance, TGradientDirection direction,
                    TColor colorB) override;
  void Invalidate() override { dirty_ = true; }
  void DrawLine(int x0, int y0, int x1, int y1) override;
  void DrawPolyline(std::span<const TPoint> points) override;
  void DrawPolygon(std::span<const TPoint> points) override;
  void DrawRotatedText(int x, int y, const std::string& text, double angle) override;

  // ---- 3D slots ----
  platform::ColorRef GetPixel3D(int x, int y, int z) override;
  bool Supports3DText() override { return false; }
  void SetPixel3D(int x, int y, int z, TColor color) override;
  void UnprojectPoint(int& x, int& y, int z) override;
  TPoint ProjectPoint(int x, int y, int z) override;
  // The same projection of a point with fractional x and y (round shapes).
  TPoint ProjectPointF(double x, double y, int z);
  TRect BeginFrame(platform::Canvas* canvas, TView3DOptions* options, TColor color, bool is3D,
                   const TRect& rect) override;
  void CopySettings(TCanvas3D& source) override { SetMonochrome(source.GetMonochrome()); }
  void SetProjectionCenter(int depth, const TRect& rect) override;
  void EndFrame(platform::Canvas* target, platform::Canvas* own, const TRect& rect) override;
  bool RepaintFromBuffer() override;
  void DrawArrow(bool filled, TPoint from, int bodyPercent, int z, int headLength, int headWidth,
                 TPoint to) override;
  void ClipCube(const TRect& rect, int z0, int z1) override;
  void DrawCone(bool vertical, int left, int top, int right, int bottom, int z0, int z1, bool darkSides,
                int conePercent) override;
  void DrawBox3D(int left, int right, int top, int bottom, int z0, int z1, bool darkSides) override;
  void DrawCylinder(bool vertical, int left, int top, int right, int bottom, int z0, int z1,
                    bool darkSides) override;
  void SuspendProjection() override;
  void DrawEllipse3D(int x1, int y1, int x2, int y2, int z) override;
  void ResumeProjection() override;
  void DrawHorizLine3D(int x0, int x1, int y, int z) override;
  void DrawVertLine3D(int x, int y0, int y1, int z) override;
  void DrawDepthLine(int x, int y, int z0, int z1) override;
  void BeginFlatDrawing() override;
  void EndFlatDrawing() override;
  void DrawLineAtZ(int x0, int y0, int x1, int y1, int z) override;
  void MoveTo3D(int x, int y, int z) override;
  void LineTo3D(int x, int y, int z) override;
  void DrawPieSlice3D(int xc, int yc, int holePercent, TPieSides sides, bool darkSides, double endAngle,
                      double startAngle, int z0, int z1, int yRadius, int xRadius,
                      TCustomPlotGradient* gradient = nullptr) override;
  void DrawPlane3D(TPoint p1, TPoint p2, int z0, int z1) override;
  void DrawQuadAtZ(TPoint p1, TPoint p2, TPoint p3, TPoint p4, int z) override;
  void DrawQuadBetween(const std::array<TPoint, 4>& points, int z0, int z1) override;
  void DrawPolygonAtZ(std::span<const TPoint> points, int z) override;
  void DrawPolylineAtZ(std::span<const TPoint> points, int z) override;
  void DrawPyramid(bool vertical, int left, int top, int right, int bottom, int z0, int z1,
                   bool darkSides) override;
  void DrawPyramidCut(const TRect& rect, int z0, int z1, int cutX, int cutZ, bool darkSides) override;
  using TCanvas3D::DrawRectAtZ;
  void DrawRectAtZ(const TRect& rect, int z) override;
  void DrawHorizPlaneRect(int x0, int y, int z0, int x1, int z1) override;
  void DrawSidePlaneRect(int x, int y0, int z0, int y1, int z1) override;
  void DrawRotatedText3D(int x, int y, int z, const std::string& text, double angle) override;
  void DrawSphere(int x, int y, int z, double radius) override;
  void DrawSphereShaded() override {}
  void DrawText3D(int x, int y, int z, const std::string& text) override;
  void DrawTriangle3D(TPoint3D p0, TPoint3D p1, TPoint3D p2, TColor color) override;
  void DrawTriangleAtZ(TPoint p1, TPoint p2, TPoint p3, int z) override;

  // ---- Slots 91 to 93 ----
  virtual void DrawQuadPoints();                                  // 91
  virtual void FreeBuffer();                                      // 92
  virtual void BlitBuffer(int x, int y, platform::Canvas& target);  // 93

  // The four work points DrawQuadPoints draws.
  std::array<TPoint, 4> QuadPoints;

  // The buffer (created by the first buffered frame).
  bool HasBuffer() const { return buffer_ != nullptr; }
  const QImage* BufferImage() const;
  // The canvas over the buffer; nullptr while there is none.
  platform::Canvas* BufferCanvas() const;
  // The canvas of a surface of the canvas's own: the buffer, or without one a surface of one
  // pixel, on which measuring and drawing go on between frames (freeing the buffer binds
  // the canvas there).
  platform::Canvas& OwnCanvas();
  // The buffer no longer holds the current picture.
  bool Dirty() const { return dirty_; }
  // Keeps the buffer when buffered display is switched off (while exporting).
  void SetKeepBuffer(bool keep) { keepBuffer_ = keep; }
  bool Is3D() const { return is3D_; }
  double ZoomFactor() const { return zoomFactor_; }
  bool TextZoom() const { return textZoom_; }

 private:
  struct Buffer;
  // Draws the polygon of the points, each projected at its depth.
  void PolygonAt(std::span<const TPoint3D> points);
  void FaceAt(std::span<const TPoint3D> points, bool darken, TColor base, int amount);
  // The face colour back: the brush colour of a solid brush, else the background colour.
  void RestoreFaceColor(TColor base);
  void RoundBody(bool vertical, int left, int top, int right, int bottom, int z0, int z1, bool darkSides,
                 int percent);
  void ComputeRotation();
  // The canvas of the surface of one pixel (created on first need).
  platform::Canvas& IdleCanvas();
  // A font of the current one scaled by the zoom factor, when text zoom applies.
  bool ZoomedFont(platform::LogFont& font);

  bool monochrome_ = false;
  bool dirty_ = true;
  bool buffered_ = true;
  bool keepBuffer_ = false;
  bool is3D_ = false;
  bool savedIs3D_ = false;
  bool textZoom_ = true;
  bool hasPerspective_ = false, hasTilt_ = false;
  int xCenterOffset_ = 0, yCenterOffset_ = 0;
  long double sinE_ = 0, cosE_ = 1, sinR_ = 0, cosR_ = 1, sinT_ = 0, cosT_ = 1;
  double c2s3_ = 0, c2c3_ = 1, tempXX_ = 1, tempYX_ = 0, tempXZ_ = 0, tempYZ_ = 0;
  double orthoX_ = 1, orthoY_ = 1, perspectiveFactor_ = 0, zoomFactor_ = 1;
  std::unique_ptr<Buffer> buffer_;
  std::unique_ptr<Buffer> idle_;
};

}  // namespace chart
