// Point markers and the callouts of marks.
//
// `TSeriesPointer` draws a marker of one of twelve styles centred on a point, flat or (on a
// 3D chart with Draw3D) as a solid between the series' start and end depth. `TCallout` is a
// pointer with an arrow: the line from a mark to its point, with an open or filled head or
// with a marker at the point's end. `TMarksCallout` is the callout of series marks: hidden by
// default, with a length by which the mark is lifted off its point. `TSeriesMarksSymbol` is the
// small colour box a mark may show before its text.
#pragma once

#include <memory>

#include "chart/shapes.h"

namespace chart {

class TChartSeries;

enum TSeriesPointerStyle {
  psRectangle, psCircle, psTriangle, psDownTriangle, psCross, psDiagCross, psStar, psDiamond, psSmallDot,
  psNothing, psLeftTriangle, psRightTriangle
};
enum TArrowHeadStyle { ahNone, ahLine, ahSolid };

class TSeriesPointer : public TPlotCustomShapeBrushPen {
 public:
  // `series` gives the depths and the chart (may be null: depth 0, no chart).
  TSeriesPointer(TCustomPlotPanel* parent, TChartSeries* series);
  ~TSeriesPointer() override;

  TChartSeries* Series() const { return series_; }
  bool Dark3D() const { return dark3D_; }
  void SetDark3D(bool value);
  bool Draw3D() const { return draw3D_; }
  void SetDraw3D(bool value);
  // Created on first access.
  TPlotGradient& Gradient();
  const TPlotGradient* GradientIfAny() const { return gradient_.get(); }
  // Raise ChartException "Pointer size must be greater than zero" for 0 or less, keeping the
  // old size.
  int HorizSize() const { return horizSize_; }
  void SetHorizSize(int value);
  int VertSize() const { return vertSize_; }
  void SetVertSize(int value);
  bool InflateMargins() const { return inflateMargins_; }
  void SetInflateMargins(bool value);
  TSeriesPointerStyle Style() const { return style_; }
  void SetStyle(TSeriesPointerStyle value);
  int Transparency() const { return transparency_; }
  void SetTransparency(int percent);
  // The brush colour.
  TColor Color() const { return Brush().Color(); }

  // The series' depths (0 without a series).
  int StartZ() const;
  int MiddleZ() const;
  int EndZ() const;

  // Pen and brush of the canvas for a marker in colour c.
  void PrepareCanvas(TCanvas3D& canvas, TColor color);
  // The marker of `style` centred on (x, y) with half sizes h and v; `is3D` when the chart is
  // 3D. The canvas' pen and brush are the caller's (PrepareCanvas).
  void PaintShape(TCanvas3D& canvas, bool is3D, TSeriesPointerStyle style, TColor color, int h, int v, int x,
                  int y);
  // PrepareCanvas, then the marker of the pointer's own style and sizes.
  void Draw(TCanvas3D& canvas, bool is3D, int x, int y, TColor color);

  virtual void CopyFrom(const TSeriesPointer& source);

 protected:
  void SetDefaults(bool draw3D, bool visible);

 private:
  void Changed() { InvalidateParent(); }
  void FillGradient(TCanvas3D& canvas, TSeriesPointerStyle style, int h, int v, int x, int y);

  TChartSeries* series_;
  bool dark3D_ = true;
  bool draw3D_ = true;
  std::unique_ptr<TPlotGradient> gradient_;
  int horizSize_ = 4;
  int vertSize_ = 4;
  bool inflateMargins_ = true;
  TSeriesPointerStyle style_ = psRectangle;
  int transparency_ = 0;
};

// Program-wide: a callout arrow in the mark's (or the chart's) own colour is drawn black, or
// white on a black chart. Off by default.
extern bool ContrastingCalloutArrows;

class TCallout : public TSeriesPointer {
 public:
  TCallout(TCustomPlotPanel* parent, TChartSeries* series);
  TChartPen& Arrow() { return *arrow_; }
  const TChartPen& Arrow() const { return *arrow_; }
  void SetArrow(const TChartPen& pen) { arrow_->Assign(pen); }
  TArrowHeadStyle ArrowHead() const { return arrowHead_; }
  void SetArrowHead(TArrowHeadStyle value);
  int ArrowHeadSize() const { return arrowHeadSize_; }
  void SetArrowHeadSize(int value);
  int Distance() const { return distance_; }
  void SetDistance(int value);

  // The arrow from `from` to `to` (the head at `to`), then, without a head, the callout's
  // marker at `to`.
  void PaintArrow(TColor markColor, TPoint from, int depth, TPoint to);
  void CopyFrom(const TSeriesPointer& source) override;

 private:
  std::unique_ptr<TWhitePen> arrow_;
  TArrowHeadStyle arrowHead_ = ahNone;
  int arrowHeadSize_ = 8;
  int distance_ = 0;
};

class TMarksCallout : public TCallout {
 public:
  TMarksCallout(TCustomPlotPanel* parent, TChartSeries* series);
  // How far the mark lies off its point; stored only when it differs from DefaultLength.
  int Length() const { return length_; }
  void SetLength(int value);
  int DefaultLength() const { return defaultLength_; }
  void SetDefaultLength(int value) { defaultLength_ = value; }
  bool IsLengthStored() const { return length_ != defaultLength_; }
  void CopyFrom(const TSeriesPointer& source) override;

 private:
  int length_ = 8;
  int defaultLength_ = 8;
};

// The colour box before a mark's text: shown when visible and not transparent.
class TSeriesMarksSymbol : public TPlotCustomShape {
 public:
  explicit TSeriesMarksSymbol(TCustomPlotPanel* parent);
  bool ShouldDraw() const { return Visible() && !Transparent(); }

 protected:
  void InitShadow(TPlotShadow& shadow) override;
};

}  // namespace chart
