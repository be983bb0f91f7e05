// The fast-line series: one polyline in one pen and nothing else (no point markers, no colour
// per point, no area). It is built for many points: only the visible index range is drawn,
// the line enters it from the point before the first visible one, a point that falls on the x
// pixel just drawn is skipped (or only its vertical step drawn), and with AutoRepaint off a
// point added after a draw is drawn at once as one more segment instead of a new frame.
// On a raster image with a thin solid pen the vertical steps within one pixel column are drawn
// as the one vertical line they cover together (the same pixels), so the cost of a line of
// many points follows the plot's width.
//
// With IgnoreNulls on (the default) a null point is drawn as any other. With it off a null
// point is a gap: no line leads into it and none leads out of it either; the pen moves on to
// the next real point, and the line goes on from there. So a series of nulls draws nothing,
// and a value missing between two others never rises from or falls to the null's own value.
//
// The series colour and the line pen's colour are one: setting either sets the other, and the
// line is drawn in the series colour (which the chart's palette gives a series without one).
#pragma once

#include <string>

#include "chart/series.h"
#include "chart/stream.h"

namespace chart {

// A line kind: its line is the series' pen.
class TCustomLineSeries : public TChartSeries {
 public:
  explicit TCustomLineSeries(QObject* owner = nullptr);
  std::string ClassName() const override { return "TCustomLineSeries"; }
  TChartPen& LinePen() { return Pen(); }
  const TChartPen& LinePen() const { return Pen(); }
  void SetLinePen(const TChartPen& pen) { SetPen(pen); }
};

class TFastLineSeries : public TCustomLineSeries {
 public:
  explicit TFastLineSeries(QObject* owner = nullptr);
  std::string ClassName() const override { return "TFastLineSeries"; }
  std::string EditorClassName() const override { return "TFastLineSeriesEditor"; }

  bool AutoRepaint() const { return autoRepaint_; }
  void SetAutoRepaint(bool value) { SetBooleanProperty(autoRepaint_, value); }
  bool DrawAllPoints() const { return drawAllPoints_; }
  void SetDrawAllPoints(bool value) { SetBooleanProperty(drawAllPoints_, value); }
  bool IgnoreNulls() const { return ignoreNulls_; }
  void SetIgnoreNulls(bool value) { SetBooleanProperty(ignoreNulls_, value); }
  bool InvertedStairs() const { return invertedStairs_; }
  void SetInvertedStairs(bool value) { SetBooleanProperty(invertedStairs_, value); }
  bool Stairs() const { return stairs_; }
  void SetStairs(bool value) { SetBooleanProperty(stairs_, value); }

  // The five switches, then the series part.
  void CopyFrom(const TChartSeries& source) override;
  // The pen, and the series colour from its colour.
  void SetPen(const TChartPen& pen) override;
  // The series colour, and the pen's colour with it.
  void SetSeriesColor(TColor color) override;

  // A thick line is not cut at the plot's edges: w - (w - 2) div 2 on every side.
  void HorizontalMargins(int& left, int& right) override;
  void VerticalMargins(int& top, int& bottom) override;

  // The line from the point before the first visible one to the last visible one.
  void DrawVisibleValues() override;
  // One more segment to point `index` from the last drawn position (PaintSegment).
  void PaintPoint(int index) override;
  void PaintSegment(int index);
  // A horizontal line across the middle of the symbol.
  void PaintLegendSymbol(int item, const TRect& rect) override;
  // The mark's stored position is forgotten first: it is placed afresh at its point.
  void PaintPointMark(int index, const std::string& text, TSeriesMarkPosition& position) override;
  // With AutoRepaint off, the new point's segment is drawn at once.
  void NotifyValueAdded(int index) override;
  // The point whose pixel is (x, y), else the first point of the segment through (x, y); -1.
  int PointAt(int x, int y) override;

  // "Normal", "Marks", "Dotted", "Stairs".
  std::string SubStyleName(int index) const override;
  void ApplySubStyle(int index) override;

  // The pixel of a point on the current axes.
  TPoint PointPixel(int index) const { return TPoint{PointXPixel(index), PointYPixel(index)}; }

 private:
  // Line pen in the series colour, clear brush, transparent text background.
  void PrepareCanvas();
  // A line to (x, y), or a move there, at the series' start depth in 3D.
  void PenTo(bool draw, int x, int y);
  // Whether runs of points on one x pixel may be drawn as one vertical line each: every point
  // drawn, a thin solid pen that copies, flat drawing without stairs, on a raster image.
  bool DrawsColumnRuns();
  // Whether point `index` is a gap in the line: a null point while IgnoreNulls is off.
  bool BreaksAt(int index) const;
  // DrawVisibleValues with each run of vertical steps in one pixel column drawn as one line.
  void DrawColumnRuns(int first);
  // Draws the segment of a just-added point into the chart's buffer and shows that area.
  void DrawAddedPoint(int index);

  bool autoRepaint_ = true;
  bool drawAllPoints_ = true;
  bool ignoreNulls_ = true;
  bool invertedStairs_ = false;
  bool stairs_ = false;
  int oldX_ = 0, oldY_ = 0;
  bool penUp_ = false;  // the last position is a gap's: the next real point is moved to
  bool syncingColor_ = false;
  TColor penColor_ = clBlack;
};

// The stored-description table of the fast-line series.
const TStoredClass& StoredFastLineSeries();

}  // namespace chart
