// Axes: drawing of the axis line, ticks, grid, value and text labels, custom items and title.
#include <algorithm>
#include <cmath>

#include "chart/axis.h"
#include "chart/axis_angles.h"
#include "chart/axis_panel.h"
#include "chart/canvas3d.h"
#include "chart/procs.h"
#include "chart/series.h"
#include "platform/mbcs.h"

namespace chart {

namespace {

// The text's first exponent mark, skipping the trail bytes of double-byte characters.
size_t ExponentMark(const std::string& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (platform::IsCp932LeadByte(b)) {
      ++i;
      continue;
    }
    if (b == 'E' || b == 'e') return i;
  }
  return std::string::npos;
}

}  // namespace

void TChartAxis::BeginPaint(bool calcPosAxis) {
  isDateTime_ = ComputeIsDateTime();
  SyncScaleSettings();
  if (calcPosAxis) {
    labelRoom_ = LabelRoom();
    PlaceLines(chart_->ChartRect());
  }
  tickPositions_.clear();
  labelValues_.clear();
  alternateRow_ = 0;
  drawStyle_ = EffectiveLabelStyle();
  const TIncrement inc = IncrementFromLabelSizes();
  labelStep_ = inc.step;
  stepIndex_ = inc.stepIndex;
}

void TChartAxis::WalkLabels() {
  if (items_->Count() > 0) {
    DrawCustomItems();
    return;
  }
  Canvas().SelectFont(LabelsFont());
  switch (drawStyle_) {
    case talValue: DrawValueLabels(); break;
    case talText:
      if (depth_) {
        DrawDepthTextLabels();
      } else {
        DrawTextLabels(false);
      }
      break;
    case talMark: DrawTextLabels(true); break;
    default: break;
  }
}

void TChartAxis::PaintAxis(bool calcPosAxis) {
  if (!chart_) return;
  TCanvas3D& c = Canvas();
  BeginPaint(calcPosAxis);
  c.SetBackMode(cbmTransparent);
  WalkLabels();
  DrawAxisLine();
  if (ticks_->Visible()) DrawTicks(tickPositions_, tickLength_, false, *ticks_);
  if (grid_->Visible() && !depth_) DrawGrid(tickPositions_, grid_->Centered(), *grid_);
  if (ticksInner_->Visible()) DrawTicks(tickPositions_, tickInnerLength_, true, *ticksInner_);
  if (minorTicks_->Visible() || minorGrid_->Visible()) {
    const std::vector<int> minor = MinorTickPositions();
    if (minorTicks_->Visible()) DrawTicks(minor, minorTickLength_, false, *minorTicks_);
    if (minorGrid_->Visible() && !depth_) DrawGrid(minor, false, *minorGrid_);
  }
  DrawTitle();
}

void TChartAxis::DrawDepthGrids() {
  if (!chart_ || !depth_ || !(grid_->Visible() || minorGrid_->Visible())) return;
  BeginPaint(false);
  placesOnly_ = true;
  WalkLabels();
  placesOnly_ = false;
  if (grid_->Visible()) DrawGrid(tickPositions_, grid_->Centered(), *grid_);
  if (minorGrid_->Visible()) DrawGrid(MinorTickPositions(), false, *minorGrid_);
}

void TChartAxis::DrawSideGrids() {
  if (!chart_ || depth_ || !chart_->View3D() || !chart_->AxisBehind()) return;
  if (grid_->Visible()) DrawGrid(tickPositions_, grid_->Centered(), *grid_, GridPart::Side);
  if (minorGrid_->Visible()) DrawGrid(MinorTickPositions(), false, *minorGrid_, GridPart::Side);
}

void TChartAxis::DrawValueLabels() {
  if (!(IMaximum() >= IMinimum()) || !StepDrawsLabels(labelStep_, stepIndex_)) return;
  std::optional<std::vector<double>> values;
  if (chart_->OnGetNextAxisLabel) {
    values = EventLabelValues(IMinimum(), IMaximum(), [this](int number, double& value) {
      bool stop = false;
      chart_->OnGetNextAxisLabel(this, number, value, stop);
      return stop;
    });
  }
  if (!values) {
    TLabelWalk w;
    w.minimum = IMinimum();
    w.maximum = IMaximum();
    w.step = labelStep_;
    w.stepIndex = stepIndex_;
    w.dateTime = isDateTime_;
    w.exactDateTime = exactDateTime_;
    w.roundFirstLabel = roundFirstLabel_;
    w.logarithmic = logarithmic_;
    w.logBase = logarithmicBase_;
    w.increment = increment_;
    values = LabelValues(w, [this](double v) { return TextOfValue(v); });
  }
  labelValues_ = *values;
  for (double v : labelValues_) {
    const int p = ValueToPixel(v);
    bool drawn = false;
    if (labelsOnAxis_ || (p > IStartPos() && p < IEndPos())) drawn = PaintLabel(p, TextOfValue(v));
    if (drawn || !tickOnLabelsOnly_) AddTick(p);
  }
}

void TChartAxis::DrawTextLabels(bool marks) {
  std::vector<TChartSeries*> series;
  int first = -1, last = -1;
  for (int i = 0; i < chart_->SeriesCount(); ++i) {
    TChartSeries* s = chart_->SeriesAt(i);
    if (!s->Active() || !s->AssociatedToAxis(this)) continue;
    s->FindVisibleRange();
    series.push_back(s);
    if (s->FirstValueIndex() < 0) continue;
    first = first < 0 ? s->FirstValueIndex() : std::min(first, s->FirstValueIndex());
    last = std::max(last, s->LastValueIndex());
  }
  if (first < 0) return;
  TLabelSpacing spacing(labelsSeparation_);
  for (int index = first; index <= last; ++index) {
    std::string text;
    double value = 0;
    bool found = false;
    for (TChartSeries* s : series) {
      if (index < s->FirstValueIndex() || index > s->LastValueIndex()) continue;
      text = marks ? s->MarkTextOf(index) : s->XLabel(index);
      if (chart_->OnGetAxisLabel) chart_->OnGetAxisLabel(this, s, index, text);
      if (text.empty()) continue;
      value = horizontal_ ? s->XValue(index) : s->YValue(index);
      found = true;
      break;
    }
    if (!found || value < IMinimum() || value > IMaximum()) continue;
    if (labelsMultiLine_) std::replace(text.begin(), text.end(), ' ', kLineSeparator);
    const int p = ValueToPixel(value);
    bool drawn = false;
    if ((labelsOnAxis_ || (p > IStartPos() && p < IEndPos())) && spacing.Accept(p, TextExtentAlong(text))) {
      drawn = PaintLabel(p, text);
    }
    if (drawn || !tickOnLabelsOnly_) AddTick(p);
  }
}

std::vector<TChartAxis::TDepthLabel> TChartAxis::DepthTextLabels() {
  std::vector<TDepthLabel> labels;
  std::vector<TChartSeries*> shown;
  bool anyActive = false;
  for (int i = 0; i < chart_->SeriesCount(); ++i) {
    TChartSeries* s = chart_->SeriesAt(i);
    if (!s->Active()) continue;
    anyActive = true;
    if (s->ShowInLegend()) shown.push_back(s);
  }
  if (!anyActive || !std::isfinite(IMinimum()) || !std::isfinite(IMaximum())) return labels;
  const double lo = std::trunc(IMinimum()), hi = std::trunc(IMaximum());
  for (double z = lo; z <= hi && z - lo < kMaxAxisLabels; z += 1) {
    if (z < 0 || z >= static_cast<double>(shown.size())) continue;
    const int index = static_cast<int>(z);
    std::string text = SeriesTitleOrDefault(*shown[static_cast<size_t>(index)]);
    if (chart_->OnGetAxisLabel) chart_->OnGetAxisLabel(this, shown[static_cast<size_t>(index)], index, text);
    labels.push_back({index, std::move(text)});
  }
  return labels;
}

void TChartAxis::DrawDepthTextLabels() {
  for (TDepthLabel& label : DepthTextLabels()) {
    const int p = ValueToPixel(IMaximum() - label.row - 0.5);
    if (PaintLabel(p, std::move(label.text)) || !tickOnLabelsOnly_) AddTick(p);
  }
}

void TChartAxis::DrawCustomItems() {
  for (int i = 0; i < items_->Count(); ++i) {
    TAxisItem* item = items_->Item(i);
    const double v = item->Value();
    if (v < minimum_ || v > maximum_) continue;
    const int p = ValueToPixel(v);
    bool drawn = false;
    if (item->Visible()) {
      Canvas().SelectFont(item->Font());
      drawn = PaintLabel(p, item->Text().empty() ? TextOfValue(v) : item->Text(), item);
    }
    if (drawn || !tickOnLabelsOnly_) AddTick(p);
  }
}

bool TChartAxis::PaintLabel(int pos, std::string text, TPlotCustomShape* frame) {
  // Hidden labels still stand at their places: ticks and grid keep them.
  if (placesOnly_ || (!frame && !Labels())) return true;
  TCanvas3D& c = Canvas();
  int x, y, z = zPixel_;
  const TRect plot = chart_->ChartRect();
  if (depth_) {
    x = posLabels_;
    y = otherSide_ ? plot.bottom : plot.top;
    z = pos;
  } else if (horizontal_) {
    x = pos;
    y = posLabels_;
  } else {
    x = posLabels_;
    y = pos;
  }
  // Alternate rows: every second label one row further out.
  const int dir = horizontal_ && !depth_ ? (otherSide_ ? -1 : 1) : (otherSide_ ? 1 : -1);
  if (labelsAlternate_) {
    if (alternateRow_++ % 2 == 1) {
      if (horizontal_ && !depth_) {
        y += dir * labelRoom_ / 2;
      } else {
        x += dir * labelRoom_ / 2;
      }
    }
  }
  bool draw = true;
  if (OnDrawLabel) OnDrawLabel(this, x, y, z, text, draw);
  if (!draw) return false;
  if (text.empty()) return true;

  const std::vector<std::string> lines = SplitTextLines(text);
  const int lineHeight = c.TextHeight("W");
  const int n = static_cast<int>(lines.size());
  int widest = 0;
  for (const std::string& line : lines) widest = std::max(widest, c.TextWidth(line));
  const int angle = depth_ ? 0 : labelsAngle_;
  // The block lies outward of the labels line (or, aligned opposite, against the far side of
  // the label room), centred on its place along the axis.
  const int across = ExtentAcross(horizontal_ && !depth_, widest, lineHeight * n, angle);
  int outward = labelsAlign_ == alOpposite ? labelRoom_ - across : 0;
  if (labelsAlternate_ && labelsAlign_ == alOpposite) outward = labelRoom_ / 2 - across;
  double cx = x, cy = y;
  if (horizontal_ && !depth_) {
    cy += dir * (outward + across / 2.0);
  } else {
    cx += dir * (outward + across / 2.0);
  }
  if (frame && !frame->Transparent()) {
    const TRect box{Round(cx - widest / 2.0) - 2, Round(cy - lineHeight * n / 2.0) - 1,
                    Round(cx + widest / 2.0) + 2, Round(cy + lineHeight * n / 2.0) + 1};
    frame->DrawFramedBox(box, 0, z);
    c.SelectFont(frame->Font());
  }
  // Labels of a vertical axis written across it line up at their side: right-aligned on the
  // left of the axis, left-aligned on the right (the far side when aligned opposite).
  const bool sideAligned = !horizontal_ && !depth_ && angle == 0;
  // Directions of the text block's "top" side on screen.
  const double a = angle * kAxisPi / 180;
  const double topX = -std::sin(a), topY = -std::cos(a);
  c.SetBackMode(cbmTransparent);
  for (int k = 0; k < n; ++k) {
    int rx, ry;
    uint32_t align;
    if (sideAligned) {
      rx = x + dir * outward;
      ry = y - lineHeight * n / 2 + k * lineHeight;
      align = dir < 0 ? platform::TA_RIGHT : platform::TA_LEFT;
    } else {
      const double offset = (k - (n - 1) / 2.0) * lineHeight;
      const double lx = cx - topX * offset, ly = cy - topY * offset;  // this line's centre
      rx = Round(lx + topX * lineHeight / 2.0);
      ry = Round(ly + topY * lineHeight / 2.0);
      align = platform::TA_CENTER;
    }
    const std::string& line = lines[static_cast<size_t>(k)];
    const size_t mark = labelsExponent_ && angle == 0 ? ExponentMark(line) : std::string::npos;
    if (mark == std::string::npos) {
      c.SetTextAlign(align | platform::TA_TOP);
      if (angle == 0) {
        c.DrawText3D(rx, ry, z, line);
      } else {
        c.DrawRotatedText3D(rx, ry, z, line, angle);
      }
      continue;
    }
    // Mantissa, then the exponent a quarter smaller and raised right of it, the pair aligned
    // as one text.
    const std::string mantissa = line.substr(0, mark), exponent = line.substr(mark + 1);
    const int wm = c.TextWidth(mantissa);
    platform::CanvasFont& font = c.Font();
    const platform::LogFont saved = font.GetLogFont();
    platform::LogFont small = saved;
    small.height = small.height * 3 / 4;
    font.SetLogFont(small);
    const int we = c.TextWidth(exponent);
    font.SetLogFont(saved);
    const int left = align == platform::TA_RIGHT ? rx - (wm + we) : align == platform::TA_LEFT ? rx : rx - (wm + we) / 2;
    c.SetTextAlign(platform::TA_LEFT | platform::TA_TOP);
    c.DrawText3D(left, ry, z, mantissa);
    font.SetLogFont(small);
    c.DrawText3D(left + wm, ry - (lineHeight / 2 - 2), z, exponent);
    font.SetLogFont(saved);
  }
  return true;
}

void TChartAxis::DrawAxisLine() {
  if (!axisPen_->Visible()) return;
  TCanvas3D& c = Canvas();
  const TRect plot = chart_->ChartRect();
  const int w = axisPen_->Width();
  if (axisPen_->LineMode() != lmLine) {
    // A bar of the pen's width in its colour (a cylinder in 3D).
    c.Pen().SetStyle(platform::PenStyle::Clear);
    c.Brush().SetColor(axisPen_->Color());
    c.Brush().SetStyle(platform::BrushStyle::Solid);
    const int lo = posAxis_ - w / 2, hi = posAxis_ - w / 2 + w;
    const bool cylinder = axisPen_->LineMode() == lmCylinder && chart_->View3D();
    if (depth_) {
      c.DrawBox3D(posAxis_ - w / 2, posAxis_ - w / 2 + w, plot.bottom - w / 2, plot.bottom - w / 2 + w, IStartPos(),
                  IEndPos(), false);
    } else if (horizontal_) {
      if (cylinder) {
        c.DrawCylinder(false, IStartPos(), lo, IEndPos() + 1, hi, zPixel_, zPixel_ + w, false);
      } else {
        c.DrawRectAtZ(TRect{IStartPos(), lo, IEndPos() + 1, hi}, zPixel_);
      }
    } else if (cylinder) {
      c.DrawCylinder(true, lo, IStartPos(), hi, IEndPos() + 1, zPixel_, zPixel_ + w, false);
    } else {
      c.DrawRectAtZ(TRect{lo, IStartPos(), hi, IEndPos() + 1}, zPixel_);
    }
    return;
  }
  c.SelectPen(*axisPen_);
  if (depth_) {
    c.DrawDepthLine(posAxis_, otherSide_ ? plot.bottom : plot.top, IStartPos(), IEndPos() + 1);
  } else if (horizontal_) {
    c.DrawHorizLine3D(IStartPos(), IEndPos() + 1, posAxis_, zPixel_);
  } else {
    c.DrawVertLine3D(posAxis_, IStartPos(), IEndPos() + 1, zPixel_);
  }
}

void TChartAxis::DrawTicks(const std::vector<int>& ticks, int length, bool inner, TChartPen& pen) {
  if (ticks.empty() || length == 0) return;
  TCanvas3D& c = Canvas();
  c.SelectPen(pen);
  const TRect plot = chart_->ChartRect();
  const int outward = horizontal_ && !depth_ ? (otherSide_ ? -1 : 1) : (otherSide_ ? 1 : -1);
  const int d = (inner ? -outward : outward) * length;
  for (int p : ticks) {
    if (depth_) {
      const int y = otherSide_ ? plot.bottom : plot.top;
      c.DrawLineAtZ(posAxis_, y, posAxis_ + d, y, p);
    } else if (horizontal_) {
      c.DrawVertLine3D(p, posAxis_, posAxis_ + d, zPixel_);
    } else {
      c.DrawHorizLine3D(posAxis_, posAxis_ + d, p, zPixel_);
    }
  }
}

void TChartAxis::DrawGrid(const std::vector<int>& ticks, bool centered, TChartPen& pen, GridPart part) {
  std::vector<int> places = ticks;
  if (centered) {
    std::sort(places.begin(), places.end());
    std::vector<int> halves;
    for (size_t i = 0; i + 1 < places.size(); ++i) {
      halves.push_back(static_cast<int>((static_cast<int64_t>(places[i]) + places[i + 1]) / 2));
    }
    places = std::move(halves);
  }
  if (places.empty()) return;
  TCanvas3D& c = Canvas();
  c.SelectPenColor(pen, pen.Color() == clDefault ? clGray : pen.Color());
  const TRect plot = chart_->ChartRect();
  const bool is3D = chart_->View3D();
  const int depth = chart_->TotalDepth;
  const int gridZ = Round(grid_->ZPosition() * depth / 100);
  const bool behind = chart_->AxisBehind();
  for (int p : places) {
    if (!(p > IStartPos() && p < IEndPos())) continue;
    if (depth_) {
      // Depth grids lie on the left and bottom planes.
      c.DrawLineAtZ(plot.left, plot.top + 1, plot.left, plot.bottom, p);
      c.DrawLineAtZ(plot.left + 1, plot.bottom, plot.right, plot.bottom, p);
      continue;
    }
    const int z = is3D && behind ? depth : 0;
    const bool whole = part == GridPart::Whole;
    if (horizontal_) {
      if (whole) c.DrawVertLine3D(p, plot.top + 1, plot.bottom, z);
      if (is3D && behind) c.DrawDepthLine(p, otherSide_ ? plot.top : plot.bottom, gridZ, depth);
    } else {
      if (whole) c.DrawHorizLine3D(plot.left + 1, plot.right, p, z);
      if (is3D && behind) c.DrawDepthLine(otherSide_ ? plot.right : plot.left, p, gridZ, depth);
    }
  }
}

std::vector<int> TChartAxis::MinorTickPositions() {
  if (!logarithmic_) return MinorTickPixels(tickPositions_, minorTickCount_, IStartPos(), IEndPos());
  std::vector<int> out;
  for (double v : LogMinorTickValues(labelValues_, minorTickCount_, logarithmicBase_, IMinimum(), IMaximum())) {
    const int p = ValueToPixel(v);
    if (p > IStartPos() && p < IEndPos()) out.push_back(p);
  }
  return out;
}

void TChartAxis::DrawTitle() {
  if (!title_->Visible() || title_->Caption().empty()) return;
  TCanvas3D& c = Canvas();
  c.SelectFont(title_->Font());
  c.SetBackMode(cbmTransparent);
  const TRect plot = chart_->ChartRect();
  if (depth_) {
    c.SetTextAlign(platform::TA_LEFT | platform::TA_TOP);
    c.DrawText3D(posTitle_, otherSide_ ? plot.bottom : plot.top, chart_->TotalDepth / 2, title_->Caption());
    return;
  }
  const std::vector<std::string> lines = SplitTextLines(title_->Caption());
  const int h = c.TextHeight("W"), n = static_cast<int>(lines.size());
  int widest = 0;
  for (const std::string& line : lines) widest = std::max(widest, c.TextWidth(line));
  const int angle = NormalizedAngle(title_->Angle());
  const int across = ExtentAcross(horizontal_, widest, h * n, angle);
  const int dir = horizontal_ ? (otherSide_ ? -1 : 1) : (otherSide_ ? 1 : -1);
  double cx = horizontal_ ? ICenterPos() : posTitle_ + dir * across / 2.0;
  double cy = horizontal_ ? posTitle_ + dir * across / 2.0 : ICenterPos();
  const double a = angle * kAxisPi / 180;
  const double topX = -std::sin(a), topY = -std::cos(a);
  c.SetTextAlign(platform::TA_CENTER | platform::TA_TOP);
  for (int k = 0; k < n; ++k) {
    const double offset = (k - (n - 1) / 2.0) * h;
    const int rx = Round(cx - topX * offset + topX * h / 2.0), ry = Round(cy - topY * offset + topY * h / 2.0);
    if (angle == 0) {
      c.DrawText3D(rx, ry, zPixel_, lines[static_cast<size_t>(k)]);
    } else {
      c.DrawRotatedText3D(rx, ry, zPixel_, lines[static_cast<size_t>(k)], angle);
    }
  }
}

}  // namespace chart
