// Framed chart shapes: the boxes with a frame, a fill and a text that titles, the legend and
// marks share.
//
// `TPlotCustomShapeBrushPen` holds a pen, a brush, a visibility switch and the panel it
// repaints (not owned). `TPlotCustomShape` adds colour, font, bevel, shadow, gradient, shape
// style, text format, transparency and the drawing of the box (`DrawFramedBox`), turned by an
// angle around its centre when asked. `TPlotShape` is the shape whose properties a stored
// description holds.
//
// Setters store a changed value and repaint the panel; the pen, brush, font, shadow and
// gradient notify it when they change. Objects given to setters are copied; the shadow and
// the gradient are freed by nullptr (the gradient is created on first access, the shadow again
// when asked for after that).
//
// Decision: rounded and turned shapes get the shadow of their outline whenever they have a
// shadow (square shapes get the rectangle shadow), not only when the shape is partly
// transparent.
#pragma once

#include <array>
#include <memory>

#include "chart/effects.h"
#include "chart/panel.h"

namespace chart {

enum TChartObjectShapeStyle { fosRectangle, fosRoundRectangle };
enum TTextFormat { ttfNormal, ttfHtml };

class TPlotCustomShapeBrushPen {
 public:
  explicit TPlotCustomShapeBrushPen(TCustomPlotPanel* parent);
  virtual ~TPlotCustomShapeBrushPen();
  TPlotCustomShapeBrushPen(const TPlotCustomShapeBrushPen&) = delete;
  TPlotCustomShapeBrushPen& operator=(const TPlotCustomShapeBrushPen&) = delete;

  TChartBrush& Brush() { return *brush_; }
  const TChartBrush& Brush() const { return *brush_; }
  void SetBrush(const TChartBrush& brush) { brush_->Assign(brush); }
  TChartPen& Pen() { return *pen_; }
  const TChartPen& Pen() const { return *pen_; }
  void SetPen(const TChartPen& pen) { pen_->Assign(pen); }
  TCustomPlotPanel* Parent() const { return parent_; }
  virtual void SetParent(TCustomPlotPanel* parent) { parent_ = parent; }
  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  void Hide() { SetVisible(false); }
  void Show() { SetVisible(true); }

  // Repaints the parent panel (when there is one).
  void InvalidateParent();

 protected:
  // A subclass with a brush of its own kind gives it here.
  TPlotCustomShapeBrushPen(TCustomPlotPanel* parent, std::unique_ptr<TChartBrush> brush);
  void CopyBrushPen(const TPlotCustomShapeBrushPen& source);

 private:
  std::unique_ptr<TChartBrush> brush_;
  TCustomPlotPanel* parent_;
  std::unique_ptr<TChartPen> pen_;
  bool visible_ = true;
};

class TPlotCustomShape : public TPlotCustomShapeBrushPen {
 public:
  explicit TPlotCustomShape(TCustomPlotPanel* parent);
  ~TPlotCustomShape() override;

  TBevelCut Bevel() const { return bevel_; }
  void SetBevel(TBevelCut v);
  int BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(int v);
  TColor Color() const { return color_; }
  void SetColor(TColor v);
  TPlotFont& Font() { return *font_; }
  const TPlotFont& Font() const { return *font_; }
  void SetFont(const TPlotFont& font) { font_->Assign(font); }
  // Created again (with the shape's defaults) when asked for after being freed.
  TPlotShadow& Shadow();
  const TPlotShadow* ShadowIfAny() const { return shadow_.get(); }
  // The shadow's sizes, 0 once it was freed: layouts read these, so that they count no room
  // for a shadow that is not drawn and make no new one.
  int ShadowHorizSize() const { return shadow_ ? shadow_->HorizSize() : 0; }
  int ShadowVertSize() const { return shadow_ ? shadow_->VertSize() : 0; }
  void SetShadow(const TPlotShadow* shadow);
  TChartObjectShapeStyle ShapeStyle() const { return shapeStyle_; }
  void SetShapeStyle(TChartObjectShapeStyle v);
  TTextFormat TextFormat() const { return textFormat_; }
  void SetTextFormat(TTextFormat v);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v);
  bool DefaultTransparent() const { return defaultTransparent_; }
  bool IsTransparentStored() const { return transparent_ != defaultTransparent_; }
  // Created on first access.
  TPlotGradient& Gradient();
  const TPlotGradient* GradientIfAny() const { return gradient_.get(); }
  void SetGradient(const TCustomPlotGradient* gradient);
  // Percent, 0..100.
  int Transparency() const { return transparency_; }
  void SetTransparency(int percent);
  const TRect& ShapeBounds() const { return shapeBounds_; }
  void SetShapeBounds(const TRect& r) { shapeBounds_ = r; }
  int Width() const { return shapeBounds_.right - shapeBounds_.left + 1; }
  int Height() const { return shapeBounds_.bottom - shapeBounds_.top + 1; }
  void SetHeight(int h) { shapeBounds_.bottom = shapeBounds_.top + h - 1; }

  // Every shape field, then pen, brush and visibility.
  virtual void CopyFrom(const TPlotCustomShape& source);

  // DrawFramedBox(ShapeBounds, 0, 0).
  void Draw();
  // The box in `rect`, turned by `angle` degrees (anticlockwise) around its centre, at depth z.
  void DrawFramedBox(const TRect& rect, double angle, int z);

  // The corners of `rect` turned by `angle` degrees around its centre: top-left, top-right,
  // bottom-right, bottom-left.
  static std::array<TPoint, 4> RotatedCorners(const TRect& rect, double angle);

 protected:
  // The shadow's colour and sizes and its stored defaults: black, 3.
  virtual void InitShadow(TPlotShadow& shadow);
  void SetDefaultTransparent(bool v) { defaultTransparent_ = transparent_ = v; }

 private:
  // The outline of the box: the rectangle at depth on a full-3D canvas, a rounded or plain
  // rectangle, or the turned polygon.
  void DrawOutline(TCanvas3D& canvas, const TRect& rect, double angle, int z);

  TBevelCut bevel_ = bvNone;
  int bevelWidth_ = 2;
  TColor color_ = clWhite;
  std::unique_ptr<TPlotFont> font_;
  std::unique_ptr<TPlotShadow> shadow_;
  TChartObjectShapeStyle shapeStyle_ = fosRectangle;
  TTextFormat textFormat_ = ttfNormal;
  bool transparent_ = false;
  bool defaultTransparent_ = false;
  std::unique_ptr<TPlotGradient> gradient_;
  int transparency_ = 0;
  TRect shapeBounds_;
};

class TPlotShape : public TPlotCustomShape {
 public:
  using TPlotCustomShape::TPlotCustomShape;
};

}  // namespace chart
