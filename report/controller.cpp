#include "report/controller.h"

#include <algorithm>

#include "platform/mbcs.h"
#include "platform/text_format.h"
#include "platform/ui.h"
#include "report/band_report.h"
#include "report/expr_env.h"
#include "report/expr_messages.h"
#include "report/printable.h"
#include "report/rpt_printer.h"

namespace rpt {

namespace {
// Masters cannot form cycles; the bound only protects against a damaged model.
constexpr int kMaxLevels = 64;

// Whether two evaluator results hold the same value of the same kind.
bool SameValue(const TRptEvResult& a, const TRptEvResult& b) {
  if (a.kind != b.kind) return false;
  switch (a.kind) {
    case TRptEvKind::Integer: return a.intValue == b.intValue;
    case TRptEvKind::Float: return !(a.floatValue != b.floatValue);
    case TRptEvKind::Boolean: return a.boolValue == b.boolValue;
    case TRptEvKind::String:
    case TRptEvKind::Error: return a.Text() == b.Text();
  }
  return true;
}

// An environment value as a parameter value of `type`; null when the text does not read.
TRptValue ParamValue(const TRptEvResult& r, TRptFieldType type) {
  const std::string text = r.kind == TRptEvKind::Error ? std::string() : ResultToText(r);
  switch (type) {
    case TRptFieldType::ftString:
    case TRptFieldType::ftMemo:
    case TRptFieldType::ftUnknown: return text;
    case TRptFieldType::ftSmallint:
    case TRptFieldType::ftInteger:
    case TRptFieldType::ftWord:
    case TRptFieldType::ftLargeint:
      if (r.kind == TRptEvKind::Integer) return static_cast<int64_t>(r.intValue);
      if (r.kind == TRptEvKind::Float) return static_cast<int64_t>(r.floatValue);
      return text.empty() ? TRptValue{} : TRptValue{static_cast<int64_t>(std::strtoll(text.c_str(), nullptr, 10))};
    case TRptFieldType::ftBoolean:
      if (r.kind == TRptEvKind::Boolean) return r.boolValue;
      return text == "True" || text == "TRUE" || text == "true";
    case TRptFieldType::ftFloat:
    case TRptFieldType::ftCurrency:
    case TRptFieldType::ftBCD:
      if (r.kind == TRptEvKind::Integer) return static_cast<double>(r.intValue);
      if (r.kind == TRptEvKind::Float) return r.floatValue;
      return text.empty() ? TRptValue{} : TRptValue{std::strtod(text.c_str(), nullptr)};
    case TRptFieldType::ftDate:
      if (auto d = platform::TextToDate(text)) return *d;
      return TRptValue{};
    case TRptFieldType::ftTime:
      if (auto t = platform::TextToTime(text)) return *t;
      return TRptValue{};
    case TRptFieldType::ftDateTime:
      if (auto dt = platform::TextToDateTime(text)) return *dt;
      return TRptValue{};
  }
  return TRptValue{};
}

}  // namespace

// ---- Groups ------------------------------------------------------------------------------

bool TRptGroup::Check(bool force) {
  const TRptEvResult value = evaluator_.Prepared() ? evaluator_.Run() : TRptEvResult::Error("");
  if (!started_ || force) {
    lastValue_ = value;
    changed_ = true;
    started_ = true;
    return true;
  }
  changed_ = !SameValue(value, lastValue_);
  if (changed_) lastValue_ = value;
  return changed_;
}

// ---- TRptCustomController ----------------------------------------------------------------

TRptCustomController::TRptCustomController(TRptBasePanel* owner)
    : QObject(nullptr), owner_(owner), masterComponent_(owner) {}

TRptCustomController::~TRptCustomController() = default;

bool TRptCustomController::IsReportLevel() const { return report_ && &report_->Controller() == this; }

TRptEvResult TRptCustomController::GetValue() { return TRptEvResult::Error(kNoFunctionValue); }

void TRptCustomController::Prepare() { PrepareLevel(0); }

void TRptCustomController::PrepareLevel(int depth) {
  before_.clear();
  after_.clear();
  groups_.clear();
  depth_ = depth;
  QObject* master = masterComponent_;
  if (!report_ || !master || depth > kMaxLevels) return;
  // The components of the report's form, then those of the master component that lie elsewhere.
  QList<QObject*> components = report_->OwnerForm()->findChildren<QObject*>();
  for (QObject* o : master->findChildren<QObject*>()) {
    if (!components.contains(o)) components.append(o);
  }
  for (QObject* o : components) {
    TRptCustomController* sub = nullptr;
    if (auto* band = qobject_cast<TRptControllerBand*>(o)) {
      sub = &band->Controller();
    } else if (auto* controller = qobject_cast<TRptCustomController*>(o)) {
      sub = controller;
    } else if (auto* group = qobject_cast<TRptGroup*>(o)) {
      if (group->Master() == master) {
        groups_.push_back(group);
        group->SetParentReport(report_);
      }
      continue;
    }
    if (!sub || sub == this || sub->Master() != master) continue;
    sub->SetParentReport(report_);
    (sub->PrintBefore() ? before_ : after_).push_back(sub);
    sub->PrepareLevel(depth + 1);
  }
}

void TRptCustomController::AddDataSets() {
  for (TRptCustomController* c : before_) c->AddDataSets();
  for (TRptCustomController* c : after_) c->AddDataSets();
}

void TRptCustomController::Activate() {
  notify_.clear();
  for (TRptCustomController* c : before_) c->Activate();
  for (TRptCustomController* c : after_) c->Activate();
  for (TRptGroup* group : groups_) {
    TRptEvaluator& ev = group->Evaluator();
    ev.SetDataSets(report_ ? &report_->RunDataSets() : nullptr);
    ev.SetEnvironment(report_ ? &report_->Functions() : nullptr);
    ev.Compile(group->Expression());
  }
  constant_ = nullptr;
  if (report_ && owner_ && owner_ != report_) {
    constant_ = report_->Functions().ConstantElement(owner_->objectName().toStdString());
  }
}

void TRptCustomController::Deactivate() {
  for (TRptCustomController* c : before_) c->Deactivate();
  for (TRptCustomController* c : after_) c->Deactivate();
  for (TRptGroup* group : groups_) {
    group->Evaluator().Release();
    group->Evaluator().SetDataSets(nullptr);
  }
  notify_.clear();
  constant_ = nullptr;
}

void TRptCustomController::UpdateConstant() {
  if (constant_) TRptEvEnvironment::StoreResult(constant_, GetValue());
}

void TRptCustomController::Execute() {
  if (printIfEmpty_) PrintEmptyController();
}

void TRptCustomController::PrintBeforeControllers() {
  for (TRptCustomController* c : before_) c->Execute();
}

void TRptCustomController::PrintAfterControllers() {
  for (TRptCustomController* c : after_) c->Execute();
}

void TRptCustomController::PrintEmptyController() {
  PrintBeforeControllers();
  PrintAfterControllers();
}

void TRptCustomController::AddNotifyExpression(TRptPrintable* control) {
  if (!control) return;
  for (const QPointer<TRptPrintable>& p : notify_) {
    if (p == control) return;
  }
  notify_.emplace_back(control);
}

void TRptCustomController::NotifyExpressions(int operation) {
  const std::vector<QPointer<TRptPrintable>> list = notify_;
  for (const QPointer<TRptPrintable>& p : list) {
    if (p) p->RptNotification(this, operation);
  }
}

bool TRptCustomController::CheckGroups() {
  bool any = false;
  for (size_t i = 0; i < groups_.size(); ++i) {
    if (!groups_[i]->Check()) continue;
    any = true;
    // Every later group starts anew with the first change.
    for (size_t j = i + 1; j < groups_.size(); ++j) groups_[j]->Check(true);
    break;
  }
  return any;
}

void TRptCustomController::PrintGroupHeaders() {
  for (TRptGroup* group : groups_) {
    if (!group->Changed()) continue;
    report_->PrintBand(group);
    group->SetHeaderPrinted(true);
    group->SetHeaderPage(report_->PageCount());
  }
}

void TRptCustomController::ReprintGroupHeaders() {
  for (TRptGroup* group : groups_) {
    if (group->Changed()) return;  // the headers are being printed already
  }
  for (TRptCustomController* c : before_) c->ReprintGroupHeaders();
  if (report_) {
    const int page = report_->PageCount();
    for (size_t i = 0; i < groups_.size(); ++i) {
      TRptGroup* group = groups_[i];
      if (!group->ReprintOnNewPage() || !group->HeaderPrinted() || group->HeaderPage() == page) continue;
      group->SetChanged(true);
      group->SetHeaderPage(page);
      for (size_t j = i + 1; j < groups_.size(); ++j) groups_[j]->Check(true);
      break;
    }
    PrintGroupHeaders();
    for (TRptGroup* group : groups_) group->SetChanged(false);
  }
  for (TRptCustomController* c : after_) c->ReprintGroupHeaders();
}

// ---- TRptController ----------------------------------------------------------------------

TRptController::TRptController(TRptBasePanel* owner) : TRptCustomController(owner) {}

void TRptController::SetHeaderBand(TRptCustomBand* band) { header_ = band; }
void TRptController::SetDetailBand(TRptCustomBand* band) { detail_ = band; }
void TRptController::SetFooterBand(TRptCustomBand* band) { footer_ = band; }

void TRptController::AddDataSets() {
  if (report_ && dataSet_ && dataSet_->Active()) {
    TRptDataSetList& list = report_->RunDataSets();
    if (std::find(list.begin(), list.end(), dataSet_) == list.end()) list.push_back(dataSet_);
  }
  TRptCustomController::AddDataSets();
}

void TRptController::Activate() {
  TRptCustomController::Activate();
  refreshParams_ = false;
  if (!report_ || !dataSet_) return;
  const std::vector<std::string> names = report_->Functions().Names();
  for (int i = 0; i < dataSet_->ParamCount(); ++i) {
    const std::string upper = platform::UpperAscii(dataSet_->Param(i)->name);
    if (std::find(names.begin(), names.end(), upper) != names.end()) refreshParams_ = true;
  }
}

void TRptController::RefreshParameters() {
  TRptEvEnvironment& env = report_->Functions();
  const std::vector<std::string> names = env.Names();
  dataSet_->Close();
  for (int i = 0; i < dataSet_->ParamCount(); ++i) {
    TRptParam& param = *dataSet_->Param(i);
    if (std::find(names.begin(), names.end(), platform::UpperAscii(param.name)) == names.end()) continue;
    param.value = ParamValue(env.EvaluateEntry(param.name), param.dataType);
  }
  dataSet_->Open();
}

void TRptController::PrintEmptyController() {
  if (!report_) return;
  report_->PrintBand(header_);
  PrintBeforeControllers();
  report_->PrintBand(detail_);
  PrintAfterControllers();
  report_->PrintBand(footer_);
}

void TRptController::PrintGroupFooters() {
  for (auto it = groups_.rbegin(); it != groups_.rend(); ++it) {
    TRptGroup* group = *it;
    if (!group->Changed()) continue;
    report_->PrintBand(group->FooterBand());
    group->SetHeaderPrinted(false);
  }
}

void TRptController::Execute() { PrintDetailLoop(); }

void TRptController::PrintDetailLoop() {
  if (!report_) return;
  TCustomBandReport& report = *report_;
  for (TRptGroup* group : groups_) group->SetStarted(false);
  bool moreData = true;
  int recordCount = 1;
  const bool dataSet = dataSet_ && dataSet_->Active();
  if (!dataSet && !OnNeedData) {
    if (printIfEmpty_) PrintEmptyController();
    return;
  }
  if (dataSet) {
    if (refreshParams_) RefreshParameters();
    dataSet_->First();
    moreData = !dataSet_->Eof();
    if (IsReportLevel()) recordCount = dataSet_->RecordCount().value_or(1);
    if (!moreData && printIfEmpty_) PrintEmptyController();
  } else if (!report.Designing()) {
    OnNeedData(owner_, moreData);
  }
  detailNumber_ = 0;
  if (detail_) detail_->SetController(this);
  if (!moreData) return;
  platform::CurrentUi().ProcessEvents(platform::PumpScope::WithUserInput);
  if (report.RunCancelled()) return;

  // The header at the start: a title (and on page 1 a column header) lets the next forced
  // new page be skipped.
  const bool reportLevel = IsReportLevel();
  if (header_) {
    report.PrintBand(header_);
    if (reportLevel && header_->Enabled()) report.SetHeaderPrinted(true);
  }
  if (reportLevel && (report.PageCount() <= 1 || report.Composite)) {
    for (TRptCustomBand* band : report.PrintOrder()) {
      if (band->BandType() != TRptBandType::rbColumnHeader || !band->Enabled()) continue;
      report.PrintBand(band);
      report.SetHeaderPrinted(true);
    }
  }
  CheckGroups();
  while (moreData) {
    platform::CurrentUi().ProcessEvents(platform::PumpScope::WithUserInput);
    if (report.RunCancelled()) break;
    ++detailNumber_;
    PrintGroupHeaders();
    for (TRptGroup* group : groups_) group->SetChanged(false);
    PrintBeforeControllers();
    report.PrintBand(detail_);
    PrintAfterControllers();
    if (dataSet) {
      dataSet_->Next();
      moreData = !dataSet_->Eof();
    } else {
      moreData = false;
      if (!report.Designing()) OnNeedData(owner_, moreData);
    }
    if (moreData && CheckGroups()) {
      // The footers belong to the record before: printed there, then on to the next record
      // whose groups' headers print with it.
      if (dataSet) dataSet_->Prior();
      PrintGroupFooters();
      if (dataSet) dataSet_->Next();
    }
    if (reportLevel && dataSet && recordCount > 0 && report.Printer()) {
      report.Printer()->SetProgress(detailNumber_ * 100 / recordCount);
    }
  }
  // Past the end the last record stays current for the footers, as it does for the data sets
  // of other report systems.
  if (dataSet && dataSet_->Eof()) dataSet_->Prior();
  // The groups not ended by a change end now (at the end of the data: every group).
  for (TRptGroup* group : groups_) group->SetChanged(!group->Changed());
  PrintGroupFooters();
  for (TRptGroup* group : groups_) group->SetChanged(false);
  if (footer_) {
    if (report.PageCount() <= 0) report.NewColumn();
    if (footer_->Size().Native(TRptBandSize::kHeight) > report.AvailableSpace()) report.NewColumn();
    report.PrintBand(footer_);
  }
}

}  // namespace rpt
