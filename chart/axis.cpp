// Axes: settings, scale, label texts, room, placement, hit test and the axis collections; the
// drawing of labels, ticks, grid and title is in axis_draw.cpp.
#include "chart/axis.h"

#include <algorithm>
#include <cmath>

#include "chart/axis_angles.h"
#include "chart/axis_panel.h"
#include "chart/canvas3d.h"
#include "chart/errors.h"
#include "chart/messages.h"
#include "chart/procs.h"
#include "chart/series.h"
#include "platform/text_format.h"

namespace chart {

namespace {

// A pixel offset from a stored percentage or pixel count of any size, rounded and kept within
// 2^24 pixels either way, so that positions and their sums stay in the int range.
int FarOffset(double pixels) {
  constexpr double kFar = 1 << 24;
  return Round(std::clamp(pixels, -kFar, kFar));
}

}  // namespace

// ---- Pens ---------------------------------------------------------------------------------

TChartAxisPen::TChartAxisPen(TNotify onChange) : TChartPen(std::move(onChange)) { SetWidth(2); }

void TChartAxisPen::SetLineMode(TAxisLineMode value) {
  if (ChangeValue(lineMode_, value)) Changed();
}

void TChartAxisPen::Assign(const TChartAxisPen& source) {
  lineMode_ = source.lineMode_;
  TChartPen::Assign(source);
}

TAxisGridPen::TAxisGridPen(TNotify onChange) : TDottedGrayPen(std::move(onChange)) {}

void TAxisGridPen::SetZPosition(double value) {
  if (ChangeValue(zPosition_, value)) Changed();
}

void TAxisGridPen::SetCentered(bool value) {
  if (ChangeValue(centered_, value)) Changed();
}

void TAxisGridPen::Assign(const TAxisGridPen& source) {
  zPosition_ = source.zPosition_;
  centered_ = source.centered_;
  TChartPen::Assign(source);
}

// ---- Custom label items -------------------------------------------------------------------

TAxisItem::TAxisItem(TAxisItems* owner)
    : TPlotCustomShape(owner->Axis()->ParentChart()), owner_(owner) {
  SetTransparent(true);
}

void TAxisItem::SetText(const std::string& value) {
  if (ChangeValue(text_, value)) owner_->Repaint();
}

void TAxisItem::SetValue(double value) {
  if (ChangeValue(value_, value)) owner_->Repaint();
}

void TAxisItem::CopyFrom(const TAxisItem& source) {
  TPlotCustomShape::CopyFrom(source);
  text_ = source.text_;
  value_ = source.value_;
}

TAxisItems::TAxisItems(TChartAxis* axis)
    : axis_(axis), format_(std::make_unique<TPlotShape>(axis->ParentChart())) {
  format_->SetTransparent(true);
}

TAxisItems::~TAxisItems() = default;

TAxisItem* TAxisItems::Item(int index) const {
  return index >= 0 && index < Count() ? items_[static_cast<size_t>(index)].get() : nullptr;
}

TAxisItem* TAxisItems::Add(double value, const std::string& text) {
  auto item = std::make_unique<TAxisItem>(this);
  item->SetValue(value);
  item->SetText(text);
  items_.push_back(std::move(item));
  Repaint();
  return items_.back().get();
}

void TAxisItems::Clear() {
  items_.clear();
  Repaint();
}

void TAxisItems::CopyFrom(const TAxisItems& source) {
  format_->CopyFrom(*source.format_);
  items_.clear();
  for (const auto& item : source.items_) {
    auto copy = std::make_unique<TAxisItem>(this);
    copy->CopyFrom(*item);
    items_.push_back(std::move(copy));
  }
  Repaint();
}

void TAxisItems::Repaint() { axis_->Changed(); }

// ---- Title --------------------------------------------------------------------------------

TChartAxisTitle::TChartAxisTitle(TChartAxis* axis, int defaultAngle)
    : TPlotCustomShape(axis->ParentChart()), axis_(axis), angle_(defaultAngle), defaultAngle_(defaultAngle) {}

void TChartAxisTitle::SetAngle(int value) {
  if (ChangeValue(angle_, value)) axis_->Changed();
}

void TChartAxisTitle::SetDefaultAngle(int value) { angle_ = defaultAngle_ = value; }

void TChartAxisTitle::SetCaption(const std::string& value) {
  if (ChangeValue(caption_, value)) axis_->Changed();
}

void TChartAxisTitle::CopyFrom(const TChartAxisTitle& source) {
  TPlotCustomShape::CopyFrom(source);
  angle_ = source.angle_;
  caption_ = source.caption_;
}

// ---- Axis: creation -----------------------------------------------------------------------

TChartAxis::TChartAxis(TCustomAxisPanel* chart, bool horizontal, bool otherSide, bool depth)
    : chart_(chart), horizontal_(horizontal), otherSide_(otherSide), depth_(depth) {
  const TNotify changed = [this] { Changed(); };
  axisPen_ = std::make_unique<TChartAxisPen>(changed);
  grid_ = std::make_unique<TAxisGridPen>(changed);
  minorGrid_ = std::make_unique<TChartHiddenPen>(changed);
  minorTicks_ = std::make_unique<TDarkGrayPen>(changed);
  ticks_ = std::make_unique<TDarkGrayPen>(changed);
  ticksInner_ = std::make_unique<TDarkGrayPen>(changed);
  items_ = std::make_unique<TAxisItems>(this);
  title_ = std::make_unique<TChartAxisTitle>(this, 0);
  axisValuesFormat_ = MsgDefaultValueFormat;
  zPosition_ = otherSide ? 100 : 0.01;
  visible_ = !depth;
  if (chart_) chart_->Axes().Add(this);
  SyncScaleSettings();
}

TChartAxis::~TChartAxis() {
  if (!chart_) return;
  for (int i = 0; i < chart_->SeriesCount(); ++i) chart_->SeriesAt(i)->AxisDestroyed(this);
  chart_->Axes().Remove(this);
}

void TChartAxis::Changed() {
  if (chart_) chart_->Invalidate();
}

bool TChartAxis::ChartLoading() const { return chart_ && chart_->Loading(); }

TCanvas3D& TChartAxis::Canvas() const { return chart_->Canvas(); }

void TChartAxis::SyncScaleSettings() {
  scale_.horizontal = horizontal_;
  scale_.depth = depth_;
  scale_.inverted = inverted_;
  scale_.logarithmic = logarithmic_;
  scale_.dateTime = isDateTime_;
  scale_.fastCalc = chart_ && chart_->Axes().FastCalc();
  scale_.Recompute();
}

// ---- Ends ---------------------------------------------------------------------------------

void TChartAxis::SetAutomatic(bool value) {
  if (!ChangeValue(automatic_, value)) return;
  if (!ChartLoading()) automaticMinimum_ = automaticMaximum_ = value;
  Changed();
}

void TChartAxis::SetAutomaticMaximum(bool value) {
  if (!ChangeValue(automaticMaximum_, value)) return;
  if (!value) automatic_ = false;
  Changed();
}

void TChartAxis::SetAutomaticMinimum(bool value) {
  if (!ChangeValue(automaticMinimum_, value)) return;
  if (!value) automatic_ = false;
  Changed();
}

void TChartAxis::SetMinimum(double value) {
  if (!ChartLoading() && value > maximum_) throw AxisException(MsgAxisMinMax);
  if (ChangeValue(minimum_, value)) Changed();
}

void TChartAxis::SetMaximum(double value) {
  if (!ChartLoading() && value < minimum_) throw AxisException(MsgAxisMaxMin);
  if (ChangeValue(maximum_, value)) Changed();
}

void TChartAxis::SetMinMax(double a, double b) {
  automatic_ = automaticMinimum_ = automaticMaximum_ = false;
  if (a > b) std::swap(a, b);
  minimum_ = a;
  maximum_ = b;
  if (b - a < 1e-10) maximum_ = a + 1e-10;
  Changed();
}

void TChartAxis::SetMinimumOffset(int value) {
  if (ChangeValue(minimumOffset_, value)) Changed();
}

void TChartAxis::SetMaximumOffset(int value) {
  if (ChangeValue(maximumOffset_, value)) Changed();
}

void TChartAxis::ShiftRange(double delta, bool checkLimits) {
  if (checkLimits) {
    if (delta > 0) {
      if (!(chart_ && chart_->AxisMinMax(this, false) > maximum_)) return;
    } else if (delta < 0) {
      if (!(chart_ && chart_->AxisMinMax(this, true) < minimum_)) return;
    } else {
      return;
    }
  }
  automatic_ = automaticMaximum_ = automaticMinimum_ = false;
  maximum_ += delta;
  minimum_ += delta;
  Changed();
}

void TChartAxis::SetScale(double minimum, double maximum) {
  SyncScaleSettings();
  scale_.SetEnds(minimum, maximum);
}

void TChartAxis::SetPixelSpan(int start, int end) {
  SyncScaleSettings();
  scale_.SetSpan(start, end);
}

// ---- Scale settings -----------------------------------------------------------------------

void TChartAxis::SetIncrement(double value) {
  if (!(value >= 0)) throw AxisException(MsgAxisIncrementNegative);
  if (ChangeValue(increment_, value)) Changed();
}

void TChartAxis::SetInverted(bool value) {
  if (!ChangeValue(inverted_, value)) return;
  SyncScaleSettings();
  Changed();
}

void TChartAxis::SetLogarithmic(bool value) {
  if (value == logarithmic_) return;
  if (value) {
    if (ComputeIsDateTime()) throw AxisException(MsgAxisDateTimeLogarithmic);
    const double low = automaticMinimum_ && chart_ ? chart_->AxisMinMax(this, true) : minimum_;
    const double high = automaticMaximum_ && chart_ ? chart_->AxisMinMax(this, false) : maximum_;
    if (low < 0 || high < 0) throw AxisException(MsgAxisLogarithmicNegative);
  }
  logarithmic_ = value;
  SyncScaleSettings();
  Changed();
}

void TChartAxis::SetLogarithmicBase(double value) {
  if (!(value > 0) || value == 1) throw AxisException(MsgAxisLogarithmicBase);
  if (ChangeValue(logarithmicBase_, value)) Changed();
}

CHART_SETTER(TChartAxis, ExactDateTime, exactDateTime_, bool)
CHART_SETTER(TChartAxis, RoundFirstLabel, roundFirstLabel_, bool)

// ---- Placement settings -------------------------------------------------------------------

void TChartAxis::SetHorizontal(bool value) {
  if (!ChangeValue(horizontal_, value)) return;
  SyncScaleSettings();
  Changed();
}

CHART_SETTER(TChartAxis, OtherSide, otherSide_, bool)
CHART_SETTER(TChartAxis, StartPosition, startPosition_, double)
CHART_SETTER(TChartAxis, EndPosition, endPosition_, double)
CHART_SETTER(TChartAxis, PositionPercent, positionPercent_, double)
CHART_SETTER(TChartAxis, PositionUnits, positionUnits_, TPlotUnits)
CHART_SETTER(TChartAxis, Visible, visible_, bool)

void TChartAxis::SetZPosition(double value) {
  if (ChangeValue(zPosition_, value == 0 ? 0.01 : value)) Changed();
}

bool TChartAxis::IsZPositionStored() const {
  if (depth_) return false;
  return otherSide_ ? zPosition_ != 100 : zPosition_ > 0.011;
}

// ---- Label settings -----------------------------------------------------------------------

CHART_SETTER(TChartAxis, LabelStyle, labelStyle_, TAxisLabelStyle)
CHART_SETTER(TChartAxis, LabelsAlign, labelsAlign_, TAxisLabelAlign)
CHART_SETTER(TChartAxis, LabelsAlternate, labelsAlternate_, bool)
CHART_SETTER(TChartAxis, LabelsExponent, labelsExponent_, bool)
CHART_SETTER(TChartAxis, LabelsMultiLine, labelsMultiLine_, bool)
CHART_SETTER(TChartAxis, LabelsOnAxis, labelsOnAxis_, bool)
CHART_SETTER(TChartAxis, LabelsSize, labelsSize_, int)
CHART_SETTER(TChartAxis, TitleSize, titleSize_, int)
CHART_SETTER(TChartAxis, DateTimeFormat, dateTimeFormat_, const std::string&)
CHART_SETTER(TChartAxis, AxisValuesFormat, axisValuesFormat_, const std::string&)
CHART_SETTER(TChartAxis, MinorTickCount, minorTickCount_, int)
CHART_SETTER(TChartAxis, MinorTickLength, minorTickLength_, int)
CHART_SETTER(TChartAxis, TickLength, tickLength_, int)
CHART_SETTER(TChartAxis, TickInnerLength, tickInnerLength_, int)
CHART_SETTER(TChartAxis, TickOnLabelsOnly, tickOnLabelsOnly_, bool)

bool TChartAxis::IsAxisValuesFormatStored() const { return axisValuesFormat_ != MsgDefaultValueFormat; }

bool TChartAxis::Labels() const { return items_->Format().Visible(); }
void TChartAxis::SetLabels(bool value) { items_->Format().SetVisible(value); }
TPlotFont& TChartAxis::LabelsFont() { return items_->Format().Font(); }
void TChartAxis::SetLabelsFont(const TPlotFont& font) { items_->Format().Font().Assign(font); }

void TChartAxis::SetLabelsAngle(int value) {
  if (ChangeValue(labelsAngle_, NormalizedAngle(value))) Changed();
}

void TChartAxis::SetLabelsSeparation(int value) {
  if (value < 0) throw AxisException(MsgAxisLabelSeparation);
  if (ChangeValue(labelsSeparation_, value)) Changed();
}

// ---- Copy ---------------------------------------------------------------------------------

void TChartAxis::CopyFrom(const TChartAxis& s) {
  axisPen_->Assign(*s.axisPen_);
  items_->CopyFrom(*s.items_);
  labelsAlign_ = s.labelsAlign_;
  labelsAlternate_ = s.labelsAlternate_;
  labelsAngle_ = s.labelsAngle_;
  labelsExponent_ = s.labelsExponent_;
  labelsMultiLine_ = s.labelsMultiLine_;
  labelsOnAxis_ = s.labelsOnAxis_;
  labelsSeparation_ = s.labelsSeparation_;
  labelsSize_ = s.labelsSize_;
  labelStyle_ = s.labelStyle_;
  titleSize_ = s.titleSize_;
  ticks_->Assign(*s.ticks_);
  ticksInner_->Assign(*s.ticksInner_);
  tickInnerLength_ = s.tickInnerLength_;
  tickLength_ = s.tickLength_;
  minorTicks_->Assign(*s.minorTicks_);
  minorTickCount_ = s.minorTickCount_;
  minorTickLength_ = s.minorTickLength_;
  grid_->Assign(*s.grid_);
  minorGrid_->Assign(*s.minorGrid_);
  axisValuesFormat_ = s.axisValuesFormat_;
  increment_ = s.increment_;
  minimum_ = s.minimum_;
  maximum_ = s.maximum_;
  minimumOffset_ = s.minimumOffset_;
  maximumOffset_ = s.maximumOffset_;
  automatic_ = s.automatic_;
  automaticMinimum_ = s.automaticMinimum_;
  automaticMaximum_ = s.automaticMaximum_;
  title_->CopyFrom(*s.title_);
  dateTimeFormat_ = s.dateTimeFormat_;
  logarithmic_ = s.logarithmic_;
  logarithmicBase_ = s.logarithmicBase_;
  inverted_ = s.inverted_;
  exactDateTime_ = s.exactDateTime_;
  roundFirstLabel_ = s.roundFirstLabel_;
  tickOnLabelsOnly_ = s.tickOnLabelsOnly_;
  startPosition_ = s.startPosition_;
  endPosition_ = s.endPosition_;
  positionPercent_ = s.positionPercent_;
  positionUnits_ = s.positionUnits_;
  visible_ = s.visible_;
  horizontal_ = s.horizontal_;
  otherSide_ = s.otherSide_;
  depth_ = s.depth_;
  SyncScaleSettings();
  Changed();
}

// ---- Texts --------------------------------------------------------------------------------

bool TChartAxis::ComputeIsDateTime() const {
  if (!chart_) return false;
  for (int i = 0; i < chart_->SeriesCount(); ++i) {
    TChartSeries* s = chart_->SeriesAt(i);
    if (!s->Active() || !s->AssociatedToAxis(this)) continue;
    const TChartValueList* list = s->ValueListOfAxis(this);
    return list && list->DateTime();
  }
  return false;
}

std::string TChartAxis::TextOfValue(double value) {
  std::string text;
  if (!isDateTime_) {
    text = platform::FormatFloatMask(axisValuesFormat_, value).value_or(platform::FloatToText(value));
  } else if (value >= 0) {
    text = platform::FormatDateTime(dateTimeFormat_.empty() ? DateTimeFormatFor(IRange()) : dateTimeFormat_, value);
  }
  if (chart_ && chart_->OnGetAxisLabel) chart_->OnGetAxisLabel(this, nullptr, -1, text);
  if (labelsMultiLine_) std::replace(text.begin(), text.end(), ' ', kLineSeparator);
  return text;
}

TAxisLabelStyle TChartAxis::AutomaticLabelStyle() {
  if (!chart_) return talNone;
  bool any = false;
  for (int i = 0; i < chart_->SeriesCount(); ++i) {
    TChartSeries* s = chart_->SeriesAt(i);
    if (!s->Active() || !s->AssociatedToAxis(this)) continue;
    any = true;
    // A vertical series labels a horizontal axis with its points' labels, and a horizontal
    // series a vertical one.
    if (s->YMandatory() != horizontal_) continue;
    const TLabelsList& labels = s->Labels();
    for (int k = 0; k < labels.Count(); ++k) {
      if (!labels.Label(k).empty()) return talText;
    }
  }
  return any ? talValue : talNone;
}

TAxisLabelStyle TChartAxis::EffectiveLabelStyle() {
  return labelStyle_ == talAuto ? AutomaticLabelStyle() : labelStyle_;
}

int TChartAxis::TextExtentAlong(const std::string& text) {
  TCanvas3D& c = Canvas();
  const std::vector<std::string> lines = SplitTextLines(text);
  const int a = labelsAngle_;
  const bool across = horizontal_ ? (a == 90 || a == 270) : (a == 0 || a == 180);
  if (across) return c.TextHeight("W") * static_cast<int>(lines.size());
  int widest = 0;
  for (const std::string& line : lines) widest = std::max(widest, c.TextWidth(line));
  return widest;
}

int TChartAxis::LabelSizeOfValue(double value) {
  Canvas().SelectFont(LabelsFont());
  return TextExtentAlong(TextOfValue(value));
}

TIncrementInput TChartAxis::IncrementInput() {
  TIncrementInput in;
  in.minimum = IMinimum();
  in.maximum = IMaximum();
  in.axisSize = IAxisSize();
  in.increment = increment_;
  in.dateTime = isDateTime_;
  in.exactDateTime = exactDateTime_;
  in.logarithmic = logarithmic_;
  in.logBase = logarithmicBase_;
  in.labelsSeparation = labelsSeparation_;
  in.labelsAlternate = labelsAlternate_;
  if (chart_) {
    for (int i = 0; i < chart_->SeriesCount(); ++i) {
      TChartSeries* s = chart_->SeriesAt(i);
      // Series drawn against this axis along their X direction.
      if (!s->Active() || !s->AssociatedToAxis(this) || s->YMandatory() != horizontal_) continue;
      in.fewestPoints = in.fewestPoints < 0 ? s->PointCount() : std::min(in.fewestPoints, s->PointCount());
    }
  }
  return in;
}

TIncrement TChartAxis::IncrementFromLabelSizes() {
  return chart::IncrementFromLabelSizes(IncrementInput(), [this](double v) { return LabelSizeOfValue(v); });
}

int TChartAxis::IncrementForLabelSize(int size) const {
  return chart::IncrementForLabelSize(IAxisSize(), size, labelsSeparation_);
}

double TChartAxis::StepForLabelCount(int labelCount) { return chart::StepForLabelCount(IncrementInput(), labelCount); }

double TChartAxis::LogStepFor(double step) const { return chart::LogStepFor(step, logarithmicBase_); }

// ---- Layout -------------------------------------------------------------------------------

void TChartAxis::AdjustMaxMin() {
  isDateTime_ = ComputeIsDateTime();
  SyncScaleSettings();
  if (chart_) {
    if (automatic_ || automaticMaximum_) maximum_ = chart_->AxisMinMax(this, false);
    if (automatic_ || automaticMinimum_) minimum_ = chart_->AxisMinMax(this, true);
  }
  scale_.SetEnds(minimum_, maximum_);
}

void TChartAxis::CalcPositions(const TRect& plot) {
  SyncScaleSettings();
  int base, length;
  if (depth_) {
    base = 0;
    length = chart_ ? chart_->TotalDepth : 0;
  } else if (horizontal_) {
    base = plot.left;
    length = plot.right - plot.left;
  } else {
    base = plot.top;
    length = plot.bottom - plot.top;
  }
  scale_.SetSpan(base + FarOffset(length * startPosition_ / 100), base + FarOffset(length * endPosition_ / 100));
  const int depthSize = depth_ ? plot.right - plot.left : (chart_ ? chart_->TotalDepth : 0);
  zPixel_ = FarOffset(zPosition_ * depthSize / 100);
}

void TChartAxis::AdjustMaxMinRect() {
  int nearMargin = 0, farMargin = 0;  // left and right, or bottom and top
  if (chart_) {
    for (int i = 0; i < chart_->SeriesCount(); ++i) {
      TChartSeries* s = chart_->SeriesAt(i);
      if (!s->Active() || !s->AssociatedToAxis(this)) continue;
      int a = 0, b = 0;
      if (horizontal_) {
        s->HorizontalMargins(a, b);
      } else {
        s->VerticalMargins(b, a);  // top, bottom
      }
      nearMargin = std::max(nearMargin, a);
      farMargin = std::max(farMargin, b);
    }
  }
  if (inverted_) std::swap(nearMargin, farMargin);
  const int atMin = nearMargin + minimumOffset_, atMax = farMargin + maximumOffset_;
  if (atMin != 0 || atMax != 0) scale_.WidenByMargins(atMin, atMax);
}

int TChartAxis::TickRoom() const {
  int room = axisPen_->Visible() ? axisPen_->Width() + 1 : 0;
  int ticks = ticks_->Visible() ? tickLength_ : 0;
  if (minorTicks_->Visible()) ticks = std::max(ticks, minorTickLength_);
  return room + ticks;
}

int TChartAxis::LabelRoom() {
  if (labelsSize_ > 0) return labelsSize_;
  if (!Labels()) return 0;
  TCanvas3D& c = Canvas();
  int room = 0;
  auto measure = [&](const std::string& text, bool blank) {
    const std::vector<std::string> lines = SplitTextLines(text);
    int w = 0;
    for (const std::string& line : lines) w = std::max(w, c.TextWidth(blank ? line + " " : line));
    const int lineHeight = labelsAngle_ % 90 == 45 ? c.TextHeight("Wj") : c.TextHeight("W");
    const int h = lineHeight * static_cast<int>(lines.size());
    room = std::max(room, ExtentAcross(horizontal_, w, h, labelsAngle_));
  };
  if (items_->Count() > 0) {
    for (int i = 0; i < items_->Count(); ++i) {
      TAxisItem* item = items_->Item(i);
      c.SelectFont(item->Font());
      measure(item->Text().empty() ? TextOfValue(item->Value()) : item->Text(), false);
    }
  } else {
    c.SelectFont(LabelsFont());
    switch (EffectiveLabelStyle()) {
      case talValue: {
        const TIncrement inc = IncrementFromLabelSizes();
        double low = IMinimum(), high = IMaximum();
        if ((roundFirstLabel_ || (isDateTime_ && exactDateTime_)) && inc.step > 0 && std::isfinite(inc.step)) {
          const double rl = RoundedToStep(low, inc.step), rh = RoundedToStep(high, inc.step);
          if (std::isfinite(rl)) low = rl;
          if (std::isfinite(rh)) high = rh;
        }
        c.SelectFont(LabelsFont());
        measure(TextOfValue(low), true);
        measure(TextOfValue(high), true);
        break;
      }
      case talText:
      case talMark:
        if (!chart_) break;
        // A depth axis writes the series titles (by depth row), the others point labels.
        if (depth_ && EffectiveLabelStyle() == talText) {
          for (const TDepthLabel& label : DepthTextLabels()) measure(label.text, false);
          break;
        }
        for (int i = 0; i < chart_->SeriesCount(); ++i) {
          TChartSeries* s = chart_->SeriesAt(i);
          if (!s->Active() || !s->AssociatedToAxis(this)) continue;
          for (int k = 0; k < s->PointCount(); ++k) {
            measure(EffectiveLabelStyle() == talMark ? s->MarkTextOf(k) : s->XLabel(k), false);
          }
        }
        break;
      default:
        break;
    }
  }
  return labelsAlternate_ ? 2 * room : room;
}

int TChartAxis::TitleRoom() {
  if (titleSize_ > 0) return titleSize_;
  if (!title_->Visible() || title_->Caption().empty()) return 0;
  TCanvas3D& c = Canvas();
  c.SelectFont(title_->Font());
  int w = 0;
  const std::vector<std::string> lines = SplitTextLines(title_->Caption());
  for (const std::string& line : lines) w = std::max(w, c.TextWidth(line));
  return ExtentAcross(horizontal_, w, c.TextHeight("W") * static_cast<int>(lines.size()), title_->Angle());
}

void TChartAxis::CalcRect(TRect& rect, bool shrink) {
  labelRoom_ = LabelRoom();
  titleRoom_ = TitleRoom();
  const int total = TickRoom() + (chart_ ? chart_->AxisExtraRoom(this) : 0) + labelRoom_ + titleRoom_;
  if (shrink) ShrinkBy(rect, total);
  PlaceLines(rect);
}

void TChartAxis::ShrinkBy(TRect& rect, int room) const {
  if (horizontal_ && !depth_) {
    if (!otherSide_) {
      if (rect.bottom - room > rect.top) rect.bottom -= room;
    } else if (rect.top + room < rect.bottom) {
      rect.top += room;
    }
  } else if (otherSide_) {
    if (rect.right - room > rect.left) rect.right -= room;
  } else if (rect.left + room < rect.right) {
    rect.left += room;
  }
}

void TChartAxis::PlaceLines(const TRect& plot) {
  const int across = horizontal_ && !depth_ ? plot.bottom - plot.top : plot.right - plot.left;
  const int shift =
      positionUnits_ == muPixels ? FarOffset(positionPercent_) : FarOffset(positionPercent_ * across / 100);
  int dir;
  if (horizontal_ && !depth_) {
    posAxis_ = otherSide_ ? plot.top + shift : plot.bottom - shift;
    dir = otherSide_ ? -1 : 1;
  } else {
    posAxis_ = otherSide_ ? plot.right - shift : plot.left + shift;
    dir = otherSide_ ? 1 : -1;
  }
  posLabels_ = posAxis_ + dir * (TickRoom() + (chart_ ? chart_->AxisExtraRoom(this) : 0));
  posTitle_ = posLabels_ + dir * labelRoom_;
}

bool TChartAxis::Clicked(int x, int y) {
  if (!visible_ || !chart_) return false;
  int a = posAxis_, b = posLabels_;
  // The band runs from 3 pixels beyond the axis line to the labels line.
  if (a <= b) {
    a -= 3;
  } else {
    a += 3;
  }
  const int lo = std::min(a, b), hi = std::max(a, b);
  TRect band = horizontal_ && !depth_ ? TRect{IStartPos(), lo, IEndPos(), hi} : TRect{lo, IStartPos(), hi, IEndPos()};
  TCanvas3D& c = Canvas();
  if (depth_) {
    const TRect plot = chart_->ChartRect();
    const int yy = otherSide_ ? plot.bottom : plot.top;
    const TPoint corners[4] = {c.ProjectPoint(lo, yy, IStartPos()), c.ProjectPoint(hi, yy, IStartPos()),
                               c.ProjectPoint(hi, yy + 3, IEndPos()), c.ProjectPoint(lo, yy + 3, IEndPos())};
    return IsPointInPolygon(TPoint{x, y}, corners);
  }
  const TPoint corners[4] = {c.ProjectPoint(band.left, band.top, zPixel_), c.ProjectPoint(band.right, band.top, zPixel_),
                             c.ProjectPoint(band.right, band.bottom, zPixel_),
                             c.ProjectPoint(band.left, band.bottom, zPixel_)};
  if (!chart_->View3D()) return PointInRect(band, x, y);
  return IsPointInPolygon(TPoint{x, y}, corners);
}

// ---- Depth axes ---------------------------------------------------------------------------

TChartDepthAxis::TChartDepthAxis(TCustomAxisPanel* chart, bool otherSide) : TChartAxis(chart, false, otherSide, true) {}

TAxisLabelStyle TChartDepthAxis::AutomaticLabelStyle() {
  TCustomAxisPanel* chart = ParentChart();
  if (!chart) return talNone;
  for (int i = 0; i < chart->SeriesCount(); ++i) {
    TChartSeries* s = chart->SeriesAt(i);
    if (s->Active() && s->HighestZ() != s->LowestZ()) return talValue;
  }
  return talText;
}

void TChartDepthAxis::SetInverted(bool value) {
  TChartAxis::SetInverted(value);
  TCustomAxisPanel* chart = ParentChart();
  if (!chart) return;
  TChartAxis* other = chart->DepthAxis() == this ? chart->DepthTopAxis() : chart->DepthAxis();
  if (other && other != this && other->Inverted() != value) other->TChartAxis::SetInverted(value);
}

// ---- Collections --------------------------------------------------------------------------

TChartCustomAxes::~TChartCustomAxes() { Clear(); }

int TChartCustomAxes::IndexOf(const TChartAxis* axis) const {
  auto it = std::find(axes_.begin(), axes_.end(), axis);
  return it == axes_.end() ? -1 : static_cast<int>(it - axes_.begin());
}

TChartAxis* TChartCustomAxes::Add() {
  auto* axis = new TChartAxis(chart_, false);
  axis->SetCustom(true);
  axes_.push_back(axis);
  return axis;
}

void TChartCustomAxes::Add(TChartAxis* axis) {
  axis->SetCustom(true);
  axes_.push_back(axis);
}

void TChartCustomAxes::Delete(int index) {
  if (index < 0 || index >= Count()) return;
  TChartAxis* axis = axes_[static_cast<size_t>(index)];
  axes_.erase(axes_.begin() + index);
  delete axis;
}

void TChartCustomAxes::Clear() {
  while (!axes_.empty()) Delete(Count() - 1);
}

void TChartAxes::Remove(TChartAxis* axis) { axes_.erase(std::remove(axes_.begin(), axes_.end(), axis), axes_.end()); }

}  // namespace chart
