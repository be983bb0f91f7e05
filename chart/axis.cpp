// Axes: settings, scale, labels, ticks, grid, title, room and hit test.
#include "chart/axis.h"

#include <algorithm>
#include <cmath>

#include "chart/axis_panel.h"
#include "chart/canvas3d.h"
#include "chart/errors.h"
#include "chart/messages.h"
#include "chart/procs.h"
#include "chart/series.h"
#include "platform/mbcs.h"
#include "platform/text_format.h"

namespace chart {

namespace {

constexpr double kPi = 3.14159265358979323846;

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

int NormalizedAngle(int angle) {
  angle %= 360;
  return angle < 0 ? angle + 360 : angle;
}

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

namespace {

// The extent across an axis of a text block w x h turned by `angle` degrees.
int ExtentAcross(bool horizontal, int w, int h, int angle) {
  const double a = angle * kPi / 180;
  const double c = std::fabs(std::cos(a)), s = std::fabs(std::sin(a));
  return horizontal ? Round(h * c + w * s) : Round(w * c + h * s);
}

}  // namespace

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

// ---- Drawing ------------------------------------------------------------------------------

void TChartAxis::PaintAxis(bool calcPosAxis) {
  if (!chart_) return;
  TCanvas3D& c = Canvas();
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
  c.SetBackMode(cbmTransparent);
  if (items_->Count() > 0) {
    DrawCustomItems();
  } else {
    c.SelectFont(LabelsFont());
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
  DrawAxisLine();
  if (ticks_->Visible()) DrawTicks(tickPositions_, tickLength_, false, *ticks_);
  if (grid_->Visible()) DrawGrid(tickPositions_, grid_->Centered(), *grid_);
  if (ticksInner_->Visible()) DrawTicks(tickPositions_, tickInnerLength_, true, *ticksInner_);
  if (minorTicks_->Visible() || minorGrid_->Visible()) {
    const std::vector<int> minor = MinorTickPositions();
    if (minorTicks_->Visible()) DrawTicks(minor, minorTickLength_, false, *minorTicks_);
    if (minorGrid_->Visible()) DrawGrid(minor, false, *minorGrid_);
  }
  DrawTitle();
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

void TChartAxis::DrawDepthTextLabels() {
  std::vector<TChartSeries*> shown;
  bool anyActive = false;
  for (int i = 0; i < chart_->SeriesCount(); ++i) {
    TChartSeries* s = chart_->SeriesAt(i);
    if (!s->Active()) continue;
    anyActive = true;
    if (s->ShowInLegend()) shown.push_back(s);
  }
  if (!anyActive || !std::isfinite(IMinimum()) || !std::isfinite(IMaximum())) return;
  const double lo = std::trunc(IMinimum()), hi = std::trunc(IMaximum());
  for (double z = lo; z <= hi && z - lo < kMaxAxisLabels; z += 1) {
    if (z < 0 || z >= static_cast<double>(shown.size())) continue;
    const int index = static_cast<int>(z);
    std::string text = SeriesTitleOrDefault(*shown[static_cast<size_t>(index)]);
    if (chart_->OnGetAxisLabel) chart_->OnGetAxisLabel(this, shown[static_cast<size_t>(index)], index, text);
    const int p = ValueToPixel(IMaximum() - z - 0.5);
    if (PaintLabel(p, text) || !tickOnLabelsOnly_) AddTick(p);
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
  if (!frame && !Labels()) return true;
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
  const double a = angle * kPi / 180;
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

void TChartAxis::DrawGrid(const std::vector<int>& ticks, bool centered, TChartPen& pen) {
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
    if (horizontal_) {
      c.DrawVertLine3D(p, plot.top + 1, plot.bottom, z);
      if (is3D && behind) c.DrawDepthLine(p, otherSide_ ? plot.top : plot.bottom, gridZ, depth);
    } else {
      c.DrawHorizLine3D(plot.left + 1, plot.right, p, z);
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
  const double a = angle * kPi / 180;
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
