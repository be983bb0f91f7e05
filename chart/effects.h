// Effects that chart elements own and hand to the canvas: a drop shadow under a rectangle,
// an ellipse or a text (`TPlotShadow`), colour gradients (`TCustomPlotGradient`,
// `TPlotGradient`, `TPlotFontGradient`) and the blend that makes what is drawn between
// `BeginBlend` and `EndBlend` partly transparent (`TPlotBlend`).
//
// A blend reads the pixels under its rectangle before and after the drawing with GetBits and
// writes the mix back with StretchDIBits; each channel becomes new + T x (old - new) div 100
// for a transparency of T percent. A surface that cannot be read (a metafile) is drawn
// without the blend, and nothing is blended while the canvas draws into a metafile.
#pragma once

#include <array>
#include <functional>

#include "chart/canvas3d.h"

namespace chart {

// Colour step `index` of `count` from `a` to `b` (R, G, B each): with balance 50 the channel
// is a + delta x index div count; with any other balance the share of delta follows
// ((index + 1) / (count + 1)) ^ (0.5 + 0.015 x balance), rounded.
TColor InterpolateColor(TColor a, TColor b, int index, int count, int balance);

// ---- Shadow -------------------------------------------------------------------------------

class TPlotShadow {
 public:
  explicit TPlotShadow(TNotify onChange = {}, int defaultSize = 0);
  TPlotShadow(const TPlotShadow&) = delete;
  TPlotShadow& operator=(const TPlotShadow&) = delete;

  TColor Color() const { return color_; }
  int HorizSize() const { return horizSize_; }
  int VertSize() const { return vertSize_; }
  bool Smooth() const { return smooth_; }
  int Transparency() const { return transparency_; }
  int Size() const { return std::max(horizSize_, vertSize_); }
  void SetColor(TColor c);
  void SetHorizSize(int v);
  void SetVertSize(int v);
  void SetSize(int v);
  void SetSmooth(bool v);
  void SetTransparency(int percent);  // 0..100
  // Colour, both sizes, Smooth and Transparency.
  void Assign(const TPlotShadow& source);
  void SetOnChange(TNotify onChange) { onChange_ = std::move(onChange); }

  // Makes `color` and `size` the stored defaults (the values stay as they are).
  void SetStoredDefaults(TColor color, int size) {
    defaultColor_ = color;
    defaultSize_ = size;
  }
  TColor DefaultColor() const { return defaultColor_; }
  int DefaultSize() const { return defaultSize_; }
  bool IsColorStored() const { return color_ != defaultColor_; }
  bool IsHorizSizeStored() const { return horizSize_ != defaultSize_; }
  bool IsVertSizeStored() const { return vertSize_ != defaultSize_; }

  // The shadow of `rect` at `depth`: shaded lines when Smooth and larger than 1, else two
  // filled strips. Nothing with the colour none or both sizes 0.
  void PaintRectShadow(TCanvas3D& canvas, const TRect& rect, int depth);
  // The shadow of the ellipse in `rect`: radial shading when Smooth, else a plain ellipse.
  void PaintEllipseShadow(TCanvas3D& canvas, const TRect& rect, int depth);

 private:
  void Changed();
  bool PaintsNothing() const { return color_ == clNone || (horizSize_ == 0 && vertSize_ == 0); }
  TColor color_ = clSilver;
  int horizSize_, vertSize_;
  bool smooth_ = true;
  int transparency_ = 0;
  TColor defaultColor_ = clSilver;
  int defaultSize_;
  TNotify onChange_;
};

// ---- Gradients ----------------------------------------------------------------------------

class TCustomPlotGradient {
 public:
  explicit TCustomPlotGradient(TNotify onChange = {});
  virtual ~TCustomPlotGradient() = default;
  TCustomPlotGradient(const TCustomPlotGradient&) = delete;
  TCustomPlotGradient& operator=(const TCustomPlotGradient&) = delete;

  int Balance() const { return balance_; }
  TGradientDirection Direction() const { return direction_; }
  TColor EndColor() const { return endColor_; }
  // None while no middle colour is set.
  TColor MidColor() const { return hasMiddle_ ? midColor_ : clNone; }
  bool HasMiddle() const { return hasMiddle_; }
  int RadialX() const { return radialX_; }
  int RadialY() const { return radialY_; }
  TColor StartColor() const { return startColor_; }
  bool Visible() const { return visible_; }
  void SetBalance(int v);
  void SetDirection(TGradientDirection v);
  void SetEndColor(TColor v);
  // clNone removes the middle colour; any other colour sets it.
  void SetMidColor(TColor v);
  void SetRadialX(int v);
  void SetRadialY(int v);
  void SetStartColor(TColor v);
  void SetVisible(bool v);
  // Every property and the middle-colour flag.
  virtual void Assign(const TCustomPlotGradient& source);
  void SetOnChange(TNotify onChange) { onChange_ = std::move(onChange); }

  // Fills `rect`, clipped to a rounded rectangle of `corner` when corner > 0.
  void PaintRect(TPlotCanvas& canvas, TRect rect, int corner = 0);
  // Clips to the polygon, fills its bounds, unclips.
  void PaintPolygon(TPlotCanvas& canvas, const std::array<TPoint, 4>& points);

 protected:
  void Changed();

 private:
  void PaintRadial(TPlotCanvas& canvas, TRect rect, TColor start, TColor end);
  int balance_ = 50;
  TGradientDirection direction_ = gdTopBottom;
  TColor endColor_ = clYellow;
  TColor midColor_ = clNone;
  int radialX_ = 0, radialY_ = 0;
  TColor startColor_ = clWhite;
  bool visible_ = false;
  bool hasMiddle_ = false;
  TNotify onChange_;
};

class TPlotGradient : public TCustomPlotGradient {
 public:
  using TCustomPlotGradient::TCustomPlotGradient;
  // The four points projected at `depth` first.
  void PaintProjected(TCanvas3D& canvas, const std::array<TPoint, 4>& points, int depth);
};

class TPlotFontGradient : public TPlotGradient {
 public:
  using TPlotGradient::TPlotGradient;
  // The gradient fills the widened outline of the text instead of its body.
  bool Outline() const { return outline_; }
  void SetOutline(bool v);
  void Assign(const TCustomPlotGradient& source) override;

 private:
  bool outline_ = false;
};

// ---- Blend --------------------------------------------------------------------------------

class TPlotBlend {
 public:
  explicit TPlotBlend(TPlotCanvas& canvas) : canvas_(canvas) {}
  // Captures the background of `rect`: normalised, negative coordinates made 0, an empty
  // rectangle given one pixel, right and bottom limited to the canvas bounds.
  void SetRectangle(TRect rect);
  // Mixes the new drawing of the rectangle with the captured background.
  void DoBlend(int transparency);
  const TRect& Rectangle() const { return rect_; }
  bool Valid() const { return valid_; }
  // The transparency and the canvas's text alignment when the blend began. Each blend keeps
  // its own transparency, so a blend inside another ends with the outer one's percent.
  void SetTransparency(int percent, uint32_t textAlign) {
    transparency_ = percent;
    textAlign_ = textAlign;
  }
  int Transparency() const { return transparency_; }
  uint32_t TextAlign() const { return textAlign_; }

 private:
  TPlotCanvas& canvas_;
  int transparency_ = 0;
  uint32_t textAlign_ = 0;
  platform::Dib background_;
  TRect rect_;
  bool valid_ = false;
};

}  // namespace chart
