// The fast-line series.
#include "chart/fast_line.h"

#include <QRect>
#include <algorithm>
#include <limits>

#include "chart/axis.h"
#include "chart/axis_panel.h"
#include "chart/canvas3d.h"
#include "chart/messages.h"
#include "chart/procs.h"
#include "chart/series_tables.h"
#include "chart/stored_tables.h"
#include "platform/qt/dc_qt.h"

namespace chart {

TCustomLineSeries::TCustomLineSeries(QObject* owner) : TChartSeries(owner) {}

TFastLineSeries::TFastLineSeries(QObject* owner) : TCustomLineSeries(owner) {
  // The line reaches the first point beyond the far edge, and a function over the whole
  // source gives two points spanning its X range.
  SetKeepOneBeyond(true);
  SetSinglePointFunction(false);
  // A colour given to the pen becomes the series colour (other changes of the pen leave it).
  penColor_ = LinePen().Color();
  LinePen().OnChange = OwnerNotify([this] {
    const TColor color = LinePen().Color();
    if (color != penColor_) {
      penColor_ = color;
      if (!syncingColor_) {
        syncingColor_ = true;
        TChartSeries::SetSeriesColor(color);
        syncingColor_ = false;
      }
    }
    Repaint();
  });
}

void TFastLineSeries::CopyFrom(const TChartSeries& source) {
  if (const auto* s = dynamic_cast<const TFastLineSeries*>(&source)) {
    autoRepaint_ = s->autoRepaint_;
    drawAllPoints_ = s->drawAllPoints_;
    ignoreNulls_ = s->ignoreNulls_;
    invertedStairs_ = s->invertedStairs_;
    stairs_ = s->stairs_;
  }
  TCustomLineSeries::CopyFrom(source);
}

void TFastLineSeries::SetPen(const TChartPen& pen) {
  TCustomLineSeries::SetPen(pen);
  SetSeriesColor(pen.Color());
}

void TFastLineSeries::SetSeriesColor(TColor color) {
  TCustomLineSeries::SetSeriesColor(color);
  if (syncingColor_) return;
  syncingColor_ = true;
  LinePen().SetColor(color);
  syncingColor_ = false;
}

void TFastLineSeries::HorizontalMargins(int& left, int& right) {
  const int w = LinePen().Width();
  left = right = w - (w - 2) / 2;
}

void TFastLineSeries::VerticalMargins(int& top, int& bottom) {
  const int w = LinePen().Width();
  top = bottom = w - (w - 2) / 2;
}

// ---- Drawing ------------------------------------------------------------------------------

void TFastLineSeries::PrepareCanvas() {
  TCanvas3D& c = ParentChart()->Canvas();
  c.SelectPenColor(LinePen(), SeriesColor());
  c.Brush().SetStyle(platform::BrushStyle::Clear);
  c.SetBackMode(cbmTransparent);
}

void TFastLineSeries::PenTo(bool draw, int x, int y) {
  TCanvas3D& c = ParentChart()->Canvas();
  const bool is3D = ParentChart()->View3D();
  if (draw) {
    is3D ? c.LineTo3D(x, y, StartZ()) : c.LineTo(x, y);
  } else {
    is3D ? c.MoveTo3D(x, y, StartZ()) : c.MoveTo(x, y);
  }
}

void TFastLineSeries::DrawVisibleValues() {
  if (!ParentChart() || firstVisible_ < 0) return;
  PrepareCanvas();
  const int first = firstVisible_;
  // The line enters the visible area from the point before it.
  const int start = first > 0 ? first - 1 : first;
  const TPoint from = PointPixel(start);
  oldX_ = from.x;
  oldY_ = from.y;
  penUp_ = BreaksAt(start);
  PenTo(false, oldX_, oldY_);
  if (DrawsColumnRuns()) {
    DrawColumnRuns(first);
    return;
  }
  if (first > 0) PaintSegment(first);
  for (int i = first + 1; i <= lastVisible_; ++i) PaintSegment(i);
}

bool TFastLineSeries::DrawsColumnRuns() {
  TCanvas3D& c = ParentChart()->Canvas();
  if (!drawAllPoints_ || stairs_ || ParentChart()->View3D() || c.Metafiling()) return false;
  // Only a raster image: a metafile or a trace keeps each segment, a printer draws vectors.
  const auto* dc = dynamic_cast<const platform::QtDc*>(&c.GetHandle());
  if (!dc || !dc->PixelRules() || !dc->Native(platform::DcFeature::ReadPixels)) return false;
  // Pixels drawn twice must look as drawn once: one colour, copied.
  const platform::CanvasPen& pen = c.Pen();
  const platform::LogPen lp = pen.ToLogPen();
  return pen.Mode() == platform::R2_COPYPEN && lp.Kind() == platform::PS_SOLID && lp.IsThin();
}

void TFastLineSeries::DrawColumnRuns(int first) {
  TCanvas3D& c = ParentChart()->Canvas();
  // The vertical steps since the pen came to column oldX_ (none while `run` is false): they
  // cover every pixel from the lowest to the highest point of the run but the last point,
  // unless an earlier point of the run lies beyond it or on it. [lo, hi] spans the points
  // before the last.
  bool run = false;
  int lo = 0, hi = 0;
  auto flush = [&] {
    if (!run) return;
    run = false;
    const int x = oldX_, last = oldY_;
    if (last < lo) {
      c.MoveTo(x, hi);
      c.LineTo(x, last);
    } else if (last > hi) {
      c.MoveTo(x, lo);
      c.LineTo(x, last);
    } else {
      // The whole span, its far end included (a pixel at the end of the int range lies off
      // every surface).
      c.MoveTo(x, lo);
      c.LineTo(x, hi < std::numeric_limits<int>::max() ? hi + 1 : hi);
    }
    c.MoveTo(x, last);
  };
  for (int i = first > 0 ? first : first + 1; i <= lastVisible_; ++i) {
    const TPoint p = PointPixel(i);
    const bool breaks = BreaksAt(i);
    if (p.x == oldX_ && p.y == oldY_) {
      penUp_ = penUp_ && breaks;  // a real point where the pen already is: the line goes on from it
      continue;
    }
    if (breaks || penUp_) {
      flush();
      c.MoveTo(p.x, p.y);
      penUp_ = breaks;
    } else if (p.x == oldX_) {
      if (!run) {
        run = true;
        lo = hi = oldY_;
      } else {
        lo = std::min(lo, oldY_);
        hi = std::max(hi, oldY_);
      }
    } else {
      flush();
      c.LineTo(p.x, p.y);
    }
    oldX_ = p.x;
    oldY_ = p.y;
  }
  flush();
}

void TFastLineSeries::PaintPoint(int index) { PaintSegment(index); }

bool TFastLineSeries::BreaksAt(int index) const { return !ignoreNulls_ && IsNull(index); }

void TFastLineSeries::PaintSegment(int index) {
  const TPoint p = PointPixel(index);
  const bool breaks = BreaksAt(index);
  // A point on the pixel just drawn is skipped, unless it is the real point that ends a gap.
  if (p.x == oldX_ && (!drawAllPoints_ || p.y == oldY_) && !(penUp_ && !breaks)) return;
  if (!breaks && !penUp_) {
    if (stairs_) {
      if (invertedStairs_) {
        PenTo(true, oldX_, p.y);
      } else {
        PenTo(true, p.x, oldY_);
      }
    }
    PenTo(true, p.x, p.y);
  } else {
    PenTo(false, p.x, p.y);
  }
  penUp_ = breaks;
  oldX_ = p.x;
  oldY_ = p.y;
}

void TFastLineSeries::PaintLegendSymbol(int item, const TRect& rect) {
  (void)item;
  if (!ParentChart()) return;
  PrepareCanvas();
  const int y = (rect.top + rect.bottom) / 2;
  ParentChart()->Canvas().DrawHorizLine(rect.left, rect.right, y);
}

void TFastLineSeries::PaintPointMark(int index, const std::string& text, TSeriesMarkPosition& position) {
  // The line's marks always follow their points: nothing kept from an earlier draw.
  if (TSeriesMarkPosition* stored = Marks().Positions().Position(index)) {
    stored->custom = false;
    stored->arrowFix = false;
  }
  TCustomLineSeries::PaintPointMark(index, text, position);
}

void TFastLineSeries::NotifyValueAdded(int index) {
  if (autoRepaint_) {
    TCustomLineSeries::NotifyValueAdded(index);
    return;
  }
  if (OnAfterAdd) OnAfterAdd(this, index);
  NotifyLinkedSeries(veAdd, index);
  if (Active()) DrawAddedPoint(index);
}

void TFastLineSeries::DrawAddedPoint(int index) {
  TCustomAxisPanel* chart = ParentChart();
  if (!chart || !GetHorizAxis() || !GetVertAxis()) return;
  auto* canvas = dynamic_cast<TPlotCanvas3D*>(&chart->Canvas());
  // Without a finished picture in the buffer the chart is drawn anew (the new point with it).
  if (!canvas || !canvas->GetBufferedDisplay() || !canvas->HasBuffer() || canvas->Dirty() ||
      canvas->ReferenceCanvas() != canvas->BufferCanvas()) {
    Repaint();
    return;
  }
  const TPoint from = PointPixel(index > 0 ? index - 1 : 0);
  const TPoint to = PointPixel(index);
  const bool clip = chart->ClipPoints();
  const TRect plot = chart->ChartRect();
  if (clip) canvas->ClipRectangle(TRect{plot.left, plot.top, plot.right, plot.bottom + 1});
  PrepareCanvas();
  oldX_ = from.x;
  oldY_ = from.y;
  penUp_ = BreaksAt(index > 0 ? index - 1 : 0);
  PenTo(false, oldX_, oldY_);
  PaintSegment(index);
  if (clip) canvas->Unclip();
  // Only the area of the new segment is shown again, from the buffer.
  TPoint a = from, b = to;
  if (chart->View3D()) {
    a = canvas->ProjectPoint(from.x, from.y, StartZ());
    b = canvas->ProjectPoint(to.x, to.y, StartZ());
  }
  const int pad = std::max(1, LinePen().Width()) + 1;
  const QRect area(QPoint(std::min(a.x, b.x) - pad, std::min(a.y, b.y) - pad),
                   QPoint(std::max(a.x, b.x) + pad, std::max(a.y, b.y) + pad));
  chart->update(area);
}

int TFastLineSeries::PointAt(int x, int y) {
  if (firstVisible_ < 0 || !ParentChart()) return -1;
  if (ParentChart()->View3D()) ParentChart()->Canvas().UnprojectPoint(x, y, StartZ());
  const TPoint p{x, y};
  TPoint previous{};
  for (int i = firstVisible_; i <= lastVisible_ && i < PointCount(); ++i) {
    const TPoint q = PointPixel(i);
    if (q.x == x && q.y == y) return i;
    if (i > firstVisible_ && IsPointNearSegmentExact(p, previous, q)) return i - 1;
    previous = q;
  }
  return -1;
}

// ---- Gallery ------------------------------------------------------------------------------

std::string TFastLineSeries::SubStyleName(int index) const {
  switch (index) {
    case 1: return MsgMarks;
    case 2: return MsgDotted;
    case 3: return MsgStairs;
    default: return TCustomLineSeries::SubStyleName(index);
  }
}

void TFastLineSeries::ApplySubStyle(int index) {
  switch (index) {
    case 1: Marks().SetVisible(true); break;
    case 2: LinePen().SetSmallDots(true); break;
    case 3: SetStairs(true); break;
    default: TCustomLineSeries::ApplySubStyle(index); break;
  }
}

}  // namespace chart

// ---- Stored descriptions ------------------------------------------------------------------

namespace chart {

const TStoredClass& StoredFastLineSeries() {
  static const std::unique_ptr<TStoredClass> cls = [] {
    using F = TFastLineSeries;
    return TStoredClassTable<F>("TFastLineSeries", StoredChartSeries(), std::type_identity<TChartSeries>())
        .Boolean("AutoRepaint", &F::AutoRepaint, &F::SetAutoRepaint, true)
        .Boolean("DrawAllPoints", &F::DrawAllPoints, &F::SetDrawAllPoints, true)
        .Boolean("IgnoreNulls", &F::IgnoreNulls, &F::SetIgnoreNulls, true)
        .Boolean("InvertedStairs", &F::InvertedStairs, &F::SetInvertedStairs, false)
        .Object<TChartPen>("LinePen", StoredChartPen(), [](F& f) -> TChartPen& { return f.LinePen(); })
        .Boolean("Stairs", &F::Stairs, &F::SetStairs, false)
        .Component([](QObject* owner) { return new F(owner); })
        .Build();
  }();
  return *cls;
}

}  // namespace chart
