// The drawing side of a series: visible range, drawing order, the marks pass, mark and legend
// texts, the legend symbol and the depth band.
#include <algorithm>
#include <cmath>

#include "chart/axis.h"
#include "chart/axis_panel.h"
#include "chart/canvas3d.h"
#include "chart/errors.h"
#include "chart/html.h"
#include "chart/messages.h"
#include "chart/procs.h"
#include "chart/series.h"
#include "platform/text_format.h"

namespace chart {

namespace {

// The first index of the ascending list at or after `from` whose value is at least `value`;
// `count` when none is.
int FirstAtLeast(const TChartValueList& list, int from, int count, double value) {
  int lo = from, hi = count;
  while (lo < hi) {
    const int mid = lo + (hi - lo) / 2;
    if (list.ValueAt(mid) >= value) {
      hi = mid;
    } else {
      lo = mid + 1;
    }
  }
  return lo;
}

std::string FormatMask(const std::string& mask, double value) {
  return platform::FormatFloatMask(mask, value).value_or(platform::FloatToText(value));
}

}  // namespace

// ---- Visible range and drawing order ------------------------------------------------------

void TChartSeries::FindVisibleRange() {
  const int n = PointCount();
  if (n == 0) {
    firstVisible_ = lastVisible_ = -1;
    return;
  }
  const TChartValueList& other = NotMandatoryValueList();
  TChartAxis* axis = yMandatory_ ? hAxis_ : vAxis_;
  if (!orderedVisible_ || other.Order() != loAscending || !axis || !parentChart_) {
    firstVisible_ = 0;
    lastVisible_ = n - 1;
    return;
  }
  const TRect r = parentChart_->ChartRect();
  const bool inverted = axis->Inverted();
  int nearPixel, farPixel;
  if (yMandatory_) {
    nearPixel = inverted ? r.right : r.left;
    farPixel = inverted ? r.left : r.right;
  } else {
    nearPixel = inverted ? r.top : r.bottom;
    farPixel = inverted ? r.bottom : r.top;
  }
  const double a = axis->PixelToValue(nearPixel);
  const int first = FirstAtLeast(other, 0, n, a);
  if (first >= n) {
    firstVisible_ = lastVisible_ = -1;
    return;
  }
  firstVisible_ = first;
  const double b = axis->PixelToValue(farPixel);
  if (other.ValueAt(n - 1) > b) {
    int last = FirstAtLeast(other, first, n, b);
    if (last >= n) last = n - 1;
    if (!keepOneBeyond_ && other.ValueAt(last) > b) --last;
    lastVisible_ = last;
  } else {
    lastVisible_ = n - 1;
  }
}

bool TChartSeries::DrawValuesAscending() const {
  if (!yMandatory_) return !(vAxis_ && vAxis_->Inverted());
  const bool ascending = !(hAxis_ && hAxis_->Inverted());
  return DrawValuesForward() ? ascending : !ascending;
}

void TChartSeries::DrawVisibleValues() {
  if (firstVisible_ < 0) return;
  if (DrawValuesAscending()) {
    for (int i = firstVisible_; i <= lastVisible_; ++i) PaintPoint(i);
  } else {
    for (int i = lastVisible_; i >= firstVisible_; --i) PaintPoint(i);
  }
}

// ---- Texts --------------------------------------------------------------------------------

std::string TChartSeries::ValueText(double value) const { return FormatMask(valueFormat_, value); }

std::string TChartSeries::PercentText(double percent) const { return FormatMask(percentFormat_, percent); }

std::string TChartSeries::XValueText(int index) {
  const double x = XValue(index);
  return hAxis_ ? hAxis_->TextOfValue(x) : ValueText(x);
}

std::string TChartSeries::MarkTextOf(int index) {
  std::string text;
  if (const std::string* own = marks_->ItemText(index)) {
    text = *own;
    if (!text.empty() && (text.back() == '\n' || text.back() == '\r')) {
      text.pop_back();
      if (!text.empty() && text.back() == '\r') text.pop_back();
    }
  } else {
    const bool multi = marks_->MultiLine();
    const std::string sep = multi ? std::string(1, kLineSeparator) : std::string(" ");
    const double value = MarkValue(index);
    const double total = mandatory_->TotalAbsolute();
    const auto percent = [&] { return PercentText(total == 0 ? 0 : std::fabs(value) * 100 / total); };
    const auto percentTotal = [&] {
      return FormatChartText(multi ? MsgDefaultPercentOf2 : MsgDefaultPercentOf, {percent(), ValueText(total)});
    };
    const auto labelOrValue = [&] {
      const std::string& label = XLabel(index);
      return label.empty() ? ValueText(value) : label;
    };
    switch (marks_->Style()) {
      case smsValue: text = ValueText(value); break;
      case smsPercent: text = percent(); break;
      case smsLabel: text = labelOrValue(); break;
      case smsLabelPercent: text = labelOrValue() + sep + percent(); break;
      case smsLabelValue: text = labelOrValue() + sep + ValueText(value); break;
      case smsLegend:
        text = parentChart_ ? parentChart_->SeriesLegendText(this, index) : labelOrValue();
        if (!multi) std::replace(text.begin(), text.end(), kColumnSeparator, ' ');
        break;
      case smsPercentTotal: text = percentTotal(); break;
      case smsLabelPercentTotal: text = labelOrValue() + sep + percentTotal(); break;
      case smsXValue: text = XValueText(index); break;
      case smsXY: text = XValueText(index) + sep + ValueText(value); break;
    }
  }
  if (OnGetMarkText) OnGetMarkText(this, index, text);
  return text;
}

std::string TChartSeries::LegendItemText(int item, TLegendTextStyle style) {
  const std::string label = XLabel(item);
  const double value = MarkValue(item);
  const std::string valueText =
      mandatory_->DateTime() ? platform::FormatDateTime(DateTimeFormatFor(value), value) : ValueText(value);
  const double total = mandatory_->TotalAbsolute();
  const std::string percent = PercentText(total == 0 ? 0 : value * 100 / total);
  const std::string sep(1, kColumnSeparator);
  // A label joined with a value, or the value alone when there is no label.
  const auto withLabel = [&](const std::string& v, bool labelFirst) {
    if (label.empty()) return v;
    return labelFirst ? label + sep + v : v + sep + label;
  };
  switch (style) {
    case ltsPlain: return label;
    case ltsLeftValue: return withLabel(valueText, false);
    case ltsRightValue: return withLabel(valueText, true);
    case ltsLeftPercent: return withLabel(percent, false);
    case ltsRightPercent: return withLabel(percent, true);
    case ltsXValue: return XValueText(item);
    case ltsValue: return valueText;
    case ltsPercent: return percent;
    case ltsXAndValue: return XValueText(item) + sep + valueText;
    case ltsXAndPercent: return XValueText(item) + sep + percent;
  }
  return label;
}

// ---- Marks --------------------------------------------------------------------------------

void TChartSeries::DrawMarks() {
  if (!parentChart_ || firstVisible_ < 0) return;
  TCanvas3D& c = parentChart_->Canvas();
  const TView3DOptions& view = parentChart_->View3DOptions();
  const bool zoomText = parentChart_->View3D() && view.ZoomText() && view.Zoom() != 100;
  const int every = std::max(1, marks_->DrawEvery());
  for (int i = firstVisible_; i <= lastVisible_; ++i) {
    if (i % every != 0 || IsNull(i)) continue;
    const std::string text = MarkTextOf(i);
    if (text.empty() || !marks_->ItemVisible(i)) continue;
    TPlotCustomShape& shape = marks_->ShapeOf(i);
    c.SelectFont(shape.Font());
    if (zoomText) c.Font().SetSize(std::max(1, Round(shape.Font().Size() * view.Zoom() / 100.0)));
    int w = 0, h = 0;
    bool measured = false;
    if (shape.TextFormat() == ttfHtml) {
      // HTML texts take the room the renderer draws them in; one it cannot read is shown plain.
      try {
        const THtmlExtent extent = MeasureHtmlText(c, text);
        w = extent.width;
        h = extent.height;
        measured = true;
      } catch (const HtmlParserException&) {
      }
    }
    if (!measured) {
      const std::vector<std::string> lines = SplitTextLines(text);
      for (const std::string& line : lines) w = std::max(w, c.TextWidth(line));
      h = c.TextHeight("W") * static_cast<int>(lines.size());
    }
    w += c.TextWidth("W");
    if (marks_->SymbolShown()) w += marks_->SymbolSize() - 4;
    const int frame = shape.Pen().Visible() ? 2 * 2 * shape.Pen().Width() : 2;
    w += frame;
    h += frame;
    TSeriesMarkPosition position;
    position.arrowFrom = position.arrowTo = TPoint{PointXPixel(i), PointYPixel(i)};
    position.width = w;
    position.height = h;
    position.leftTop = TPoint{position.arrowTo.x - w / 2, position.arrowTo.y - h - 1};
    PaintPointMark(i, text, position);
  }
}

void TChartSeries::PaintPointMark(int index, const std::string& text, TSeriesMarkPosition& position) {
  marks_->PaintMark(index, ColorOfPoint(index), position, text);
}

// ---- Legend symbol ------------------------------------------------------------------------

void TChartSeries::PaintLegendSymbol(int item, const TRect& rect) {
  if (!parentChart_) return;
  if (item < 0 && ColorEachPoint()) return;
  const TColor color = item < 0 ? SeriesColor() : LegendItemColor(item);
  if (color == clNone) return;
  TCanvas3D& c = parentChart_->Canvas();
  c.SelectPen(Pen());
  // Over the legend's background; a picture brush without a picture keeps its style.
  parentChart_->SetBrushCanvas(color, Brush(), parentChart_->GetBackColor());
  c.DrawRectangleR(rect);
}

// ---- Depth --------------------------------------------------------------------------------

void TChartSeries::ComputeZOrder() {
  if (!parentChart_) {
    zIndex_ = 0;
    return;
  }
  if (zOrder_ == -1) {
    zIndex_ = parentChart_->View3D() ? parentChart_->MaxZOrder() + 1 : 0;
    parentChart_->SetMaxZOrder(std::max(parentChart_->MaxZOrder(), zIndex_));
  } else {
    zIndex_ = zOrder_;
    parentChart_->SetMaxZOrder(std::max(parentChart_->MaxZOrder(), zOrder_));
  }
}

void TChartSeries::ComputeZRange() {
  const int seriesDepth = parentChart_ ? parentChart_->SeriesWidth3D() : 0;
  startZ_ = seriesDepth * zIndex_;
  endZ_ = startZ_ + (depth_ >= 0 ? depth_ : seriesDepth);
  middleZ_ = (startZ_ + endZ_) / 2;
}

}  // namespace chart
