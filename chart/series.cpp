// The series base: chart elements, points, colours, linked series, data sources and sample
// values. The stored point data is in series_data.cpp.
#include "chart/series.h"

#include <QString>
#include <algorithm>
#include <cmath>
#include <random>

#include "chart/axis.h"
#include "chart/axis_panel.h"
#include "chart/errors.h"
#include "chart/functions.h"
#include "chart/messages.h"
#include "chart/procs.h"
#include "platform/text_format.h"

namespace chart {

// ---- Chart element ------------------------------------------------------------------------

TCustomChartElement::TCustomChartElement(QObject* owner)
    : QObject(owner),
      brush_(std::make_unique<TChartBrush>([this] { Repaint(); })),
      pen_(std::make_unique<TChartPen>([this] { Repaint(); })) {}

TCustomChartElement::~TCustomChartElement() = default;

std::string TCustomChartElement::Name() const { return objectName().toStdString(); }

void TCustomChartElement::SetName(const std::string& name) { setObjectName(QString::fromStdString(name)); }

void TCustomChartElement::Repaint() {
  if (parentChart_) parentChart_->Invalidate();
}

void TCustomChartElement::SetBooleanProperty(bool& field, bool value) {
  if (ChangeValue(field, value)) Repaint();
}

void TCustomChartElement::SetColorProperty(TColor& field, TColor value) {
  if (ChangeValue(field, value)) Repaint();
}

void TCustomChartElement::SetDoubleProperty(double& field, double value) {
  if (ChangeValue(field, value)) Repaint();
}

void TCustomChartElement::SetIntegerProperty(int& field, int value) {
  if (ChangeValue(field, value)) Repaint();
}

void TCustomChartElement::SetStringProperty(std::string& field, const std::string& value) {
  if (ChangeValue(field, value)) Repaint();
}

// ---- Custom series ------------------------------------------------------------------------

TCustomChartSeries::TCustomChartSeries(QObject* owner) : TCustomChartElement(owner) {}

void TCustomChartSeries::TellChart(int kind) {
  if (parentChart_) parentChart_->BroadcastSeriesEvent(this, static_cast<TChartSeriesEvent>(kind));
}

void TCustomChartSeries::SetActive(bool value) {
  if (active_ == value) return;
  active_ = value;
  Repaint();
  TellChart(seChangeActive);
}

void TCustomChartSeries::SetTitle(const std::string& value) {
  if (title_ == value) return;
  title_ = value;
  Repaint();
  TellChart(seChangeTitle);
}

void TCustomChartSeries::SetStyleBit(int bit, bool on) {
  if (bit < 0 || bit >= 6) return;
  if (on) {
    style_ |= 1 << bit;
  } else {
    style_ &= ~(1 << bit);
  }
}

// ---- Series: life ------------------------------------------------------------------------

TChartSeries::TChartSeries(QObject* owner)
    : TCustomChartSeries(owner), dataSources_(this), marks_(std::make_unique<TSeriesMarks>(this)) {
  xValues_ = new TChartValueList(this, MsgValuesX.empty() ? "X" : MsgValuesX);
  xValues_->SetOrder(loAscending);
  yValues_ = new TChartValueList(this, MsgValuesY.empty() ? "Y" : MsgValuesY);
  mandatory_ = yValues_;
  notMandatory_ = xValues_;
  valueFormat_ = MsgDefaultValueFormat.empty() ? "#,##0.###" : MsgDefaultValueFormat;
  percentFormat_ = MsgDefaultPercentFormat.empty() ? "##0.## %" : MsgDefaultPercentFormat;
}

TChartSeries::~TChartSeries() {
  destroying_ = true;
  if (parentChart_) parentChart_->RemoveSeries(this);
  if (function_) {
    TPlotFunction* f = function_;
    function_ = nullptr;
    f->SetParentSeriesField(nullptr);
    delete f;
  }
  // Leave the sources: series forget this one as linked series, components forget their
  // series, and a source component this series owns goes with it.
  const std::vector<QObject*> sources(dataSources_.begin(), dataSources_.end());
  for (QObject* source : sources) {
    if (auto* s = dynamic_cast<TChartSeries*>(source)) {
      s->linkedSeries_.Remove(this);
    } else if (auto* c = dynamic_cast<TPlotSeriesSource*>(source)) {
      c->DetachSeries(this);
      if (c->parent() == this) delete c;
    }
  }
  // The series fed by this one lose it as a source.
  const std::vector<TChartSeries*> linked(linkedSeries_.begin(), linkedSeries_.end());
  linkedSeries_.Clear();
  for (TChartSeries* s : linked) s->SourceDestroyed(this);
  ClearAllLists();
}

void TChartSeries::SetParentChart(TCustomAxisPanel* chart) {
  if (parentChart_ == chart) return;
  TCustomAxisPanel* old = parentChart_;
  parentChart_ = chart;
  if (old) old->RemoveSeries(this);
  marks_->SetParent(chart);
  if (chart) chart->AddSeries(this);
  RecalcGetAxis();
}

void TChartSeries::Loaded() {
  TCustomChartSeries::Loaded();
  if (!pendingSourceNames_.empty()) {
    const std::vector<std::string> names = std::move(pendingSourceNames_);
    pendingSourceNames_.clear();
    for (const std::string& name : names)
      if (QObject* source = FindComponent(this, name)) AddDataSource(source);
  }
  if (pendingCustomHorizAxis_ >= 0) SetCustomHorizAxisIndex(pendingCustomHorizAxis_);
  if (pendingCustomVertAxis_ >= 0) SetCustomVertAxisIndex(pendingCustomVertAxis_);
  RecalcGetAxis();
}

// ---- Points -------------------------------------------------------------------------------

TChartValueList* TChartSeries::ValueListByName(const std::string& name) const {
  const QString wanted = QString::fromStdString(name);
  for (const auto& list : valueLists_)
    if (QString::fromStdString(list->Name()).compare(wanted, Qt::CaseInsensitive) == 0) return list.get();
  return nullptr;
}

void TChartSeries::SetXValue(int index, double value) {
  if (index < 0 || index >= PointCount()) return;
  xValues_->SetValue(index, value);
  NotifyLinkedSeries(veModify, index);
  Repaint();
}

void TChartSeries::SetYValue(int index, double value) {
  if (index < 0 || index >= yValues_->Count()) return;
  yValues_->SetValue(index, value);
  NotifyLinkedSeries(veModify, index);
  Repaint();
}

void TChartSeries::SetXLabel(int index, const std::string& text) {
  if (index < 0 || index >= PointCount()) return;
  labels_.SetLabel(index, text);
  Repaint();
}

void TChartSeries::InsertColor(int index, TColor color) {
  if (hasColors_) {
    if (static_cast<int>(colors_.size()) < index) colors_.resize(static_cast<size_t>(index), clDefault);
    colors_.insert(colors_.begin() + index, color);
  } else if (color != clDefault) {
    // The first point with a colour of its own: the points before it take the default.
    colors_.assign(static_cast<size_t>(PointCount() - 1), clDefault);
    colors_.insert(colors_.begin() + std::min(index, static_cast<int>(colors_.size())), color);
    hasColors_ = true;
  }
}

void TChartSeries::InsertLabel(int index, const std::string& label) {
  if (!label.empty() || !labels_.Empty()) labels_.InsertLabel(index, label);
}

int TChartSeries::AddPoint(double x, double y, const std::string& label, TColor color) {
  xValues_->SetPendingValue(x);
  yValues_->SetPendingValue(y);
  if (OnBeforeAdd && !OnBeforeAdd(this)) return -1;
  const int index = notMandatory_->InsertPending();
  mandatory_->InsertValue(index, mandatory_->PendingValue());
  for (int k = 2; k < valueLists_.Count(); ++k) {
    TChartValueList* list = valueLists_[k];
    list->InsertValue(index, list->PendingValue());
  }
  InsertColor(index, color);
  InsertLabel(index, label);
  manualData_ = true;
  if (!Updating()) NotifyValueAdded(index);
  return index;
}

int TChartSeries::AddY(double y, const std::string& label, TColor color) {
  return AddPoint(PointCount(), y, label, color);
}

int TChartSeries::AddValue(double value, const std::string& label, TColor color) {
  if (yMandatory_) return AddPoint(xValues_->Count(), value, label, color);
  return AddPoint(value, yValues_->Count(), label, color);
}

int TChartSeries::AddNull(const std::string& label) { return AddValue(0, label, clNone); }

int TChartSeries::AddNullXY(double x, double y, const std::string& label) { return AddPoint(x, y, label, clNone); }

void TChartSeries::NotifyValueAdded(int index) {
  if (OnAfterAdd) OnAfterAdd(this, index);
  NotifyLinkedSeries(veAdd, index);
  if (active_) Repaint();
}

void TChartSeries::Delete(int index) {
  const int n = PointCount();
  if (index < 0 || index >= n)
    throw ChartException(FormatChartText(MsgSeriesDelete, {std::to_string(index), std::to_string(n - 1)}));
  for (const auto& list : valueLists_) list->Delete(index);
  if (hasColors_ && index < static_cast<int>(colors_.size())) {
    colors_.erase(colors_.begin() + index);
    if (colors_.empty()) hasColors_ = false;
  }
  labels_.Delete(index);
  marks_->DeletePoint(index);
  NotifyLinkedSeries(veDelete, index);
  if (active_) Repaint();
}

void TChartSeries::DeleteRange(int start, int number, bool renumber) {
  const int n = PointCount();
  if (start < 0 || number <= 0 || start >= n) return;
  number = std::min(number, n - start);
  for (const auto& list : valueLists_) list->DeleteRange(start, number);
  if (hasColors_) {
    EraseRun(colors_, start, number);
    if (colors_.empty()) hasColors_ = false;
  }
  labels_.DeleteRange(start, number);
  marks_->Positions().DeleteRange(start, number);
  NotifyLinkedSeries(veDelete, -1);
  if (active_) Repaint();
  if (renumber) notMandatory_->NumberSequentially();
}

void TChartSeries::ClearAllLists() {
  for (const auto& list : valueLists_) list->ClearValues();
  colors_.clear();
  colors_.shrink_to_fit();
  hasColors_ = false;
  labels_.Clear();
  marks_->Clear();
}

void TChartSeries::RemoveAllPoints() {
  firstVisible_ = lastVisible_ = -1;
  ClearAllLists();
  if (OnClearValues) OnClearValues(this);
  NotifyLinkedSeries(veClear, -1);
  if (function_) function_->Clear();
  if (active_ && !(parentChart_ && parentChart_->Destroying())) Repaint();
}

void TChartSeries::SwapPoints(int i, int j) {
  const int n = PointCount();
  if (i < 0 || j < 0 || i >= n || j >= n || i == j) return;
  for (const auto& list : valueLists_) list->SwapValues(i, j);
  if (hasColors_) {
    const size_t need = static_cast<size_t>(std::max(i, j)) + 1;
    if (colors_.size() < need) colors_.resize(need, clDefault);
    std::swap(colors_[static_cast<size_t>(i)], colors_[static_cast<size_t>(j)]);
  }
  if (!labels_.Empty()) labels_.Exchange(i, j);
}

void TChartSeries::CheckOrder() {
  if (mandatory_->Order() != loNone) {
    mandatory_->SortPoints();
    if (notMandatory_->ValueSource().empty()) notMandatory_->NumberSequentially();
  }
  Repaint();
}

// ---- Colours ------------------------------------------------------------------------------

TColor TChartSeries::ColorOfPoint(int index) const {
  if (hasColors_ && index >= 0 && index < static_cast<int>(colors_.size())) {
    const TColor own = colors_[static_cast<size_t>(index)];
    if (own != clDefault) return own;
  }
  if (colorEachPoint_) return parentChart_ ? parentChart_->PaletteColor(index) : DefaultPaletteColor(index);
  return SeriesColor();
}

void TChartSeries::SetPointColor(int index, TColor color) {
  const int n = PointCount();
  if (index < 0 || index >= n) return;
  if (!hasColors_) {
    if (color == clDefault) return;
    colors_.assign(static_cast<size_t>(n), clDefault);
    hasColors_ = true;
  } else if (static_cast<int>(colors_.size()) < n) {
    colors_.resize(static_cast<size_t>(n), clDefault);
  }
  colors_[static_cast<size_t>(index)] = color;
  Repaint();
}

void TChartSeries::SetSeriesColor(TColor color) {
  // Setting the colour it shows already leaves a series without a colour of its own, except
  // while a description is read: a colour the description names stays the series' own, so that
  // the series writes it again (a series given its palette colour by name would otherwise lose
  // the line at the next write).
  if (color_ == clDefault && color == internalColor_ && !IsLoading()) return;
  SetColorProperty(color_, color);
  internalColor_ = color;
  TellChart(seChangeColor);
}

void TChartSeries::SetColorSource(const std::string& value) {
  if (colorSource_ == value) return;
  colorSource_ = value;
  CheckDataSource();
}

void TChartSeries::SetXLabelsSource(const std::string& value) {
  if (labelsSource_ == value) return;
  labelsSource_ = value;
  CheckDataSource();
}

bool TChartSeries::IsValueFormatStored() const {
  return valueFormat_ != (MsgDefaultValueFormat.empty() ? "#,##0.###" : MsgDefaultValueFormat);
}

bool TChartSeries::IsPercentFormatStored() const {
  return percentFormat_ != (MsgDefaultPercentFormat.empty() ? "##0.## %" : MsgDefaultPercentFormat);
}

void TChartSeries::SetHorizontal() {
  yMandatory_ = false;
  mandatory_ = xValues_;
  notMandatory_ = yValues_;
  xValues_->SetOrder(loNone);
  yValues_->SetOrder(loAscending);
}

// ---- Axes ---------------------------------------------------------------------------------

void TChartSeries::RecalcGetAxis() {
  if (!parentChart_) {
    hAxis_ = vAxis_ = nullptr;
    return;
  }
  hAxis_ = horizAxis_ == aTopAxis ? parentChart_->TopAxis() : parentChart_->BottomAxis();
  if (horizAxis_ == aCustomHorizAxis && customHorizAxis_) hAxis_ = customHorizAxis_;
  vAxis_ = vertAxis_ == aRightAxis ? parentChart_->RightAxis() : parentChart_->LeftAxis();
  if (vertAxis_ == aCustomVertAxis && customVertAxis_) vAxis_ = customVertAxis_;
}

void TChartSeries::SetHorizAxis(THorizAxis value) {
  if (horizAxis_ == value) return;
  horizAxis_ = value;
  if (value != aCustomHorizAxis && !IsLoading()) customHorizAxis_ = nullptr;
  RecalcGetAxis();
  Repaint();
}

void TChartSeries::SetVertAxis(TVertAxis value) {
  if (vertAxis_ == value) return;
  vertAxis_ = value;
  if (value != aCustomVertAxis && !IsLoading()) customVertAxis_ = nullptr;
  RecalcGetAxis();
  Repaint();
}

void TChartSeries::SetCustomHorizAxis(TChartAxis* axis) {
  customHorizAxis_ = axis;
  horizAxis_ = axis ? aCustomHorizAxis : aBottomAxis;
  RecalcGetAxis();
  Repaint();
}

void TChartSeries::SetCustomVertAxis(TChartAxis* axis) {
  customVertAxis_ = axis;
  vertAxis_ = axis ? aCustomVertAxis : aLeftAxis;
  RecalcGetAxis();
  Repaint();
}

void TChartSeries::AxisDestroyed(TChartAxis* axis) {
  if (customHorizAxis_ == axis) SetCustomHorizAxis(nullptr);
  if (customVertAxis_ == axis) SetCustomVertAxis(nullptr);
  if (hAxis_ == axis || vAxis_ == axis) RecalcGetAxis();
  if (hAxis_ == axis) hAxis_ = nullptr;
  if (vAxis_ == axis) vAxis_ = nullptr;
}

int TChartSeries::CustomHorizAxisIndex() const {
  return customHorizAxis_ && parentChart_ ? parentChart_->CustomAxes().IndexOf(customHorizAxis_) : -1;
}

int TChartSeries::CustomVertAxisIndex() const {
  return customVertAxis_ && parentChart_ ? parentChart_->CustomAxes().IndexOf(customVertAxis_) : -1;
}

void TChartSeries::SetCustomHorizAxisIndex(int index) {
  if (IsLoading() || !parentChart_) {
    pendingCustomHorizAxis_ = index;
    return;
  }
  pendingCustomHorizAxis_ = -1;
  SetCustomHorizAxis(parentChart_->CustomAxes().Axis(index));
}

void TChartSeries::SetCustomVertAxisIndex(int index) {
  if (IsLoading() || !parentChart_) {
    pendingCustomVertAxis_ = index;
    return;
  }
  pendingCustomVertAxis_ = -1;
  SetCustomVertAxis(parentChart_->CustomAxes().Axis(index));
}

bool TChartSeries::AssociatedToAxis(const TChartAxis* axis) const {
  if (!UsesAxes() || !axis || axis->IsDepthAxis()) return false;
  if (axis->Horizontal()) return horizAxis_ == aBothHorizAxis || axis == hAxis_;
  return vertAxis_ == aBothVertAxis || axis == vAxis_;
}

TChartValueList* TChartSeries::ValueListOfAxis(const TChartAxis* axis) {
  if (!AssociatedToAxis(axis)) return nullptr;
  return axis->Horizontal() ? xValues_ : yValues_;
}

int TChartSeries::XValueToPixel(double value) const { return hAxis_ ? hAxis_->ValueToPixel(value) : 0; }

int TChartSeries::YValueToPixel(double value) const { return vAxis_ ? vAxis_->ValueToPixel(value) : 0; }

int TChartSeries::ValueToPixel(double value) const {
  return yMandatory_ ? YValueToPixel(value) : XValueToPixel(value);
}

double TChartSeries::PixelToXValue(int pixel) const { return hAxis_ ? hAxis_->PixelToValue(pixel) : 0; }

double TChartSeries::PixelToYValue(int pixel) const { return vAxis_ ? vAxis_->PixelToValue(pixel) : 0; }

bool TChartSeries::DrawValuesForward() const { return !(parentChart_ && parentChart_->DrawBackwards()); }

bool TChartSeries::SharesZPosition() const {
  // Without the apply-Z-order switch every series keeps Z index 0: they all share one row.
  if (!parentChart_) return false;
  for (int i = 0; i < parentChart_->SeriesCount(); ++i) {
    const TChartSeries* s = parentChart_->SeriesAt(i);
    if (s != this && s->Active() && s->ZIndex() == zIndex_) return true;
  }
  return false;
}

std::string TChartSeries::SubStyleName(int index) const {
  return index == 0 ? (MsgNormal.empty() ? "Normal" : MsgNormal) : std::string{};
}

// ---- Updates and linked series ------------------------------------------------------------

void TChartSeries::NotifyDataChanged() {
  TellChart(seDataChanged);
  Repaint();
}

void TChartSeries::EndUpdate() {
  if (updateDepth_ <= 0) return;
  if (--updateDepth_ == 0) {
    NotifyLinkedSeries(veRefresh, -1);
    NotifyDataChanged();
  }
}

void TChartSeries::NotifyLinkedSeries(TValueEvent kind, int index) {
  if (Updating()) return;
  const std::vector<TChartSeries*> linked(linkedSeries_.begin(), linkedSeries_.end());
  for (TChartSeries* s : linked) {
    if (!linkedSeries_.Contains(s)) continue;  // an earlier one's refill may have unlinked it
    const int opts = s->recalcOptions_;
    switch (kind) {
      case veClear:
        if (opts & rOnClear) s->RemoveAllPoints();
        break;
      case veAdd:
      case veDelete:
        if (!(opts & (kind == veAdd ? rOnInsert : rOnDelete))) break;
        // A function computes over the whole source: it recomputes instead of following.
        if (s->function_) {
          s->RefillFromSource(this);
        } else if (kind == veAdd) {
          s->AddPointFrom(this, index);
        } else {
          s->SourcePointDeleted(this, index);
        }
        break;
      case veModify:
        if (opts & rOnModify) s->RefillFromSource(this);
        break;
      case veRefresh:
        s->RefillFromSource(this);
        break;
    }
  }
}

int TChartSeries::CopyPointFrom(TChartSeries* source, int index) {
  double x = source->XValue(index), y = source->YValue(index);
  if (source->yMandatory_ != yMandatory_) std::swap(x, y);
  xValues_->SetPendingValue(x);
  yValues_->SetPendingValue(y);
  const int at = notMandatory_->InsertPending();
  mandatory_->InsertValue(at, mandatory_->PendingValue());
  for (int k = 2; k < valueLists_.Count(); ++k) {
    const double v = k < source->valueLists_.Count() ? source->valueLists_[k]->ValueAt(index) : 0.0;
    valueLists_[k]->InsertValue(at, v);
  }
  return at;
}

int TChartSeries::AddPointFrom(TChartSeries* source, int index) {
  if (!source || index < 0 || index >= source->PointCount()) return -1;
  const int at = CopyPointFrom(source, index);
  const TColor own = source->hasColors_ && index < static_cast<int>(source->colors_.size())
                         ? source->colors_[static_cast<size_t>(index)]
                         : clDefault;
  InsertColor(at, own);
  InsertLabel(at, source->labels_.Label(index));
  if (!Updating()) NotifyValueAdded(at);
  return at;
}

void TChartSeries::RefillFromSource(TChartSeries* source) {
  BeginUpdate();
  RemoveAllPoints();
  if (function_) {
    if (source) {
      xValues_->SetDateTime(source->xValues_->DateTime());
      yValues_->SetDateTime(source->yValues_->DateTime());
    }
    function_->AddPointsFromSource(source);
  } else if (dataSources_.Count() > 1) {
    // Several series feed this one: it holds the points of each, in order of the sources.
    for (QObject* o : dataSources_)
      if (auto* s = dynamic_cast<TChartSeries*>(o))
        for (int i = 0; i < s->PointCount(); ++i) AddPointFrom(s, i);
  } else if (source && IsValidSourceOf(source)) {
    for (int i = 0; i < source->PointCount(); ++i) AddPointFrom(source, i);
  }
  manualData_ = false;
  EndUpdate();
}

void TChartSeries::SourcePointDeleted(TChartSeries* source, int index) {
  // A run of points (index -1), or a point this series does not hold, is followed by copying
  // the source again.
  if (index < 0 || index >= PointCount()) {
    RefillFromSource(source);
  } else {
    Delete(index);
  }
}

bool TChartSeries::FillFromDataSources() {
  QObject* source = DataSource();
  if (auto* series = dynamic_cast<TChartSeries*>(source)) {
    RefillFromSource(series);
  } else if (auto* component = dynamic_cast<TPlotSeriesSource*>(source)) {
    component->Refresh();
  } else if (function_ && function_->NoSourceRequired()) {
    BeginUpdate();
    RemoveAllPoints();
    function_->AddPointsFromSource(nullptr);
    manualData_ = false;
    EndUpdate();
  } else {
    return false;
  }
  return true;
}

// ---- Data sources -------------------------------------------------------------------------

bool TChartSeries::IsValidSourceOf(QObject* source) const {
  if (!source || source == this) return false;
  if (auto* s = dynamic_cast<TChartSeries*>(source)) return !function_ || function_->IsValidSource(s);
  return dynamic_cast<TPlotSeriesSource*>(source) != nullptr;
}

void TChartSeries::ValidateDataSource(QObject* source) const {
  if (parentChart_) {
    if (!parentChart_->IsValidDataSource(const_cast<TChartSeries*>(this), source)) {
      std::string name = source->objectName().toStdString();
      if (name.empty()) {
        if (auto* s = dynamic_cast<TChartSeries*>(source)) {
          name = s->ClassName();
        } else {
          name = source->metaObject()->className();
        }
      }
      throw ChartException(FormatChartText(MsgInvalidDataSource, {name}));
    }
  } else if (!IsValidSourceOf(source)) {
    throw ChartException(MsgNoParentChart);
  }
  TCustomAxisPanel::CheckCircularSource(this, source);
}

void TChartSeries::SetDataSource(QObject* source) {
  if (!source) {
    if (dataSources_.Empty()) return;
    dataSources_.Clear();
    CheckDataSource();
    return;
  }
  if (dataSources_.Count() == 1 && dataSources_[0] == source) return;
  ValidateDataSource(source);
  dataSources_.Clear();
  dataSources_.Add(source);
  CheckDataSource();
}

void TChartSeries::AddDataSource(QObject* source) {
  if (!source || dataSources_.IndexOf(source) >= 0) return;
  ValidateDataSource(source);
  dataSources_.Add(source);
  CheckDataSource();
}

void TChartSeries::RemoveDataSource(QObject* source) {
  if (dataSources_.IndexOf(source) < 0) return;
  dataSources_.Clear();
  CheckDataSource();
}

void TChartSeries::SourceDestroyed(QObject* source) {
  if (destroying_) return;
  RemoveDataSource(source);
}

void TChartSeries::CheckDataSource() {
  if (IsLoading()) return;
  if (parentChart_) {
    parentChart_->CheckDatasource(this);
  } else {
    FillFromDataSources();
  }
}

std::vector<std::string> TChartSeries::DataSourceNames() const {
  std::vector<std::string> names;
  for (QObject* o : dataSources_) names.push_back(o->objectName().toStdString());
  return names;
}

void TChartSeries::SetFunction(TPlotFunction* function) {
  if (function_ == function) return;
  if (function_) {
    TPlotFunction* old = function_;
    function_ = nullptr;
    old->SetParentSeriesField(nullptr);
    delete old;
  }
  function_ = function;
  if (function_) {
    if (function_->ParentSeries() && function_->ParentSeries() != this)
      function_->ParentSeries()->DetachFunction(function_);
    function_->SetParentSeriesField(this);
    // From now on the function computes the points: the ones held so far go (they would no
    // longer be stored, so a form read back would differ from the series).
    RemoveAllPoints();
  }
  manualData_ = false;
  CheckDataSource();
}

void TChartSeries::DetachFunction(TPlotFunction* function) {
  if (function_ == function) function_ = nullptr;
}

// ---- Copying, paging, sample values -------------------------------------------------------

void TChartSeries::AssignValues(const TChartSeries& source) {
  BeginUpdate();
  ClearAllLists();
  for (int i = 0; i < source.PointCount(); ++i) {
    for (int k = 0; k < valueLists_.Count(); ++k) {
      const double v = k < source.valueLists_.Count() ? source.valueLists_[k]->ValueAt(i) : 0.0;
      valueLists_[k]->InsertValue(i, v);
    }
  }
  colors_ = source.colors_;
  hasColors_ = source.hasColors_;
  labels_.Assign(source.labels_);
  EndUpdate();
}

void TChartSeries::CopyFrom(const TChartSeries& source) {
  if (&source == this) return;
  // The ancestors' settings.
  active_ = source.active_;
  Brush().Assign(source.Brush());
  Pen().Assign(source.Pen());
  SetTag(source.Tag());
  SetShowInLegend(source.ShowInLegend());
  SetTitle(source.Title());
  SetStyle(source.Style());
  SetIdentifier(source.Identifier());
  dataSources_.Clear();
  // The X and Y lists, crosswise when the two differ in orientation.
  if (source.yMandatory_ == yMandatory_) {
    xValues_->CopyFrom(*source.xValues_);
    yValues_->CopyFrom(*source.yValues_);
  } else {
    xValues_->CopyFrom(*source.yValues_);
    yValues_->CopyFrom(*source.xValues_);
  }
  labelsSource_ = source.labelsSource_;
  colorSource_ = source.colorSource_;
  for (int k = 2; k < std::min(valueLists_.Count(), source.valueLists_.Count()); ++k)
    valueLists_[k]->CopyFrom(*source.valueLists_[k]);
  marks_->CopyFrom(*source.marks_);
  color_ = source.color_;
  internalColor_ = source.internalColor_;
  colorEachPoint_ = source.colorEachPoint_;
  valueFormat_ = source.valueFormat_;
  percentFormat_ = source.percentFormat_;
  customHorizAxis_ = source.customHorizAxis_;
  customVertAxis_ = source.customVertAxis_;
  horizAxis_ = source.horizAxis_;
  vertAxis_ = source.vertAxis_;
  recalcOptions_ = source.recalcOptions_;
  cursor_ = source.cursor_;
  depth_ = source.depth_;
  RecalcGetAxis();
  if (!function_ && source.function_) {
    auto* f = source.function_->Clone(parent());
    if (f) {
      function_ = f;
      f->SetParentSeriesField(this);
    }
  }
  manualData_ = source.manualData_;
  if (source.dataSources_.Empty() || source.manualData_) {
    if (source.manualData_ || !source.IsDesigning()) AssignValues(source);
  } else {
    for (QObject* o : source.dataSources_) {
      try {
        AddDataSource(o);
      } catch (const ChartException&) {
        // A source that cannot feed this series (this series itself) is left out.
      }
    }
  }
  CheckDataSource();
  Repaint();
}

void TChartSeries::PageRange(int& first, int& last) const {
  const int n = PointCount();
  if (n == 0) {
    first = last = -1;
    return;
  }
  const int perPage = parentChart_ ? parentChart_->MaxPointsPerPage() : 0;
  if (perPage <= 0) {
    first = 0;
    last = n - 1;
    return;
  }
  const int64_t page = parentChart_->Page();
  int64_t f = static_cast<int64_t>(perPage) * (std::max<int64_t>(page, 1) - 1);
  if (f >= n) f = static_cast<int64_t>(perPage) * std::max(0, n / perPage - 1);
  int64_t l = f + perPage - 1;
  if (l >= n) l = f + (n % perPage) - 1;
  first = static_cast<int>(f);
  last = static_cast<int>(l);
}

namespace {

std::mt19937& SampleRandom() {
  static std::mt19937 generator{std::random_device{}()};
  return generator;
}

}  // namespace

void TChartSeries::FillSampleValues(int count) {
  if (count < 0) throw ChartException(MsgFillSample);
  if (count == 0) count = sampleCount_ > 0 ? sampleCount_ : DefaultSampleCount();
  RemoveAllPoints();
  std::mt19937& random = SampleRandom();
  random.seed(std::uniform_int_distribution<unsigned>(0, 7774443)(random));
  auto uniform = [&random](double a, double b) { return std::uniform_real_distribution<double>(a, b)(random); };

  // The X and Y ranges: the axes' current extremes when the chart holds points, else from
  // today (date-time X values) or 0 onwards, and 0..1000 for the values.
  double xMin = 0, xStep = 1, yMin = 0, yMax = 1000;
  bool chartHasPoints = false;
  if (parentChart_)
    for (int i = 0; i < parentChart_->SeriesCount(); ++i)
      if (parentChart_->SeriesAt(i)->PointCount() > 0) chartHasPoints = true;
  TChartAxis* xAxis = yMandatory_ ? hAxis_ : vAxis_;
  TChartAxis* yAxis = yMandatory_ ? vAxis_ : hAxis_;
  if (chartHasPoints && xAxis && yAxis && xAxis->Maximum() > xAxis->Minimum() &&
      yAxis->Maximum() > yAxis->Minimum()) {
    xMin = xAxis->Minimum();
    xStep = count > 1 ? (xAxis->Maximum() - xMin) / (count - 1) : 0;
    yMin = yAxis->Minimum();
    yMax = yAxis->Maximum();
  } else if (notMandatory_->DateTime()) {
    xMin = std::floor(platform::NowDateTime());
  }
  const double range = yMax - yMin;
  double y = uniform(yMin, yMax);
  BeginUpdate();
  for (int i = 0; i < count; ++i) {
    const double x = xMin + i * xStep;
    if (yMandatory_) {
      AddPoint(x, y);
    } else {
      AddPoint(y, x);
    }
    y = std::clamp(y + uniform(-range / 4, range / 4), yMin, yMax);
  }
  notMandatory_->SortPoints();
  SampleValuesAdded();
  // Sample points are not the series' own data: they are never stored.
  manualData_ = false;
  EndUpdate();
}

}  // namespace chart
