#include "report/expr_env.h"

#include "platform/mbcs.h"
#include "platform/path.h"
#include "platform/text_format.h"
#include "report/expr_messages.h"

namespace rpt {

// ---------------------------------------------------------------------------------------------
// Embedded functions and wrappers

TRptEvEmbeddedFunction::TRptEvEmbeddedFunction(std::string expression) : expression_(std::move(expression)) {}

namespace {
// Entries being evaluated, one inside the other, on this thread (of every environment).
thread_local int entryDepth = 0;
}  // namespace

TRptEvResult TRptEvEmbeddedFunction::GetValue(TRptFiFo&) {
  if (inEvaluation_) return TRptEvResult::Error(kRecursiveCall);
  if (!evaluator_.Prepared()) return TRptEvResult::Error(kEvaluatorNotPrepared);
  if (entryDepth >= kMaxExprNesting) return TRptEvResult::Error(kNestedTooDeep);
  struct Flag {
    bool& f;
    ~Flag() {
      f = false;
      --entryDepth;
    }
  } flag{inEvaluation_};
  inEvaluation_ = true;
  ++entryDepth;
  return evaluator_.Run();
}

TRptEvElementWrapper::TRptEvElementWrapper(std::weak_ptr<TRptEvEmbeddedFunction> function, std::string name)
    : function_(std::move(function)), name_(std::move(name)) {}

TRptEvResult TRptEvElementWrapper::GetValue(TRptFiFo& queue) {
  const std::shared_ptr<TRptEvEmbeddedFunction> function = function_.lock();
  if (!function) return TRptEvResult::Error(Msg(kUnknownFunction, name_));
  return function->GetValue(queue);
}

// ---------------------------------------------------------------------------------------------
// Environment

TRptEvEnvironment::TRptEvEnvironment() = default;

TRptEvEnvironment::~TRptEvEnvironment() { Clear(); }

const TRptEvEnvironment::Entry* TRptEvEnvironment::Find(std::string_view name) const {
  const std::string upper = platform::UpperAscii(name);
  for (const Entry& e : entries_)
    if (e.name == upper) return &e;
  return nullptr;
}

void TRptEvEnvironment::CompileEntry(Entry& entry) {
  if (!entry.function) return;
  TRptEvaluator& ev = entry.function->Evaluator();
  ev.ownerEnvironment_ = this;
  ev.SetDataSets(DataSets());
  ev.SetEnvironment(this);
  ev.Compile(entry.function->Expression());
}

void TRptEvEnvironment::AddEntry(std::string_view name, std::string_view expression) {
  if (Find(name)) return;
  entries_.push_back({platform::UpperAscii(name), std::make_shared<TRptEvEmbeddedFunction>(std::string(expression))});
  entries_.back().function->Evaluator().ownerEnvironment_ = this;
  if (useCount_ > 0) CompileEntry(entries_.back());
}

std::unique_ptr<TRptEvElement> TRptEvEnvironment::LookupElement(std::string_view name) const {
  const Entry* e = Find(name);
  if (!e || !e->function) return std::make_unique<TRptEvElementError>(Msg(kUnknownFunction, name));
  return std::make_unique<TRptEvElementWrapper>(e->function, e->name);
}

TRptEvResult TRptEvEnvironment::EvaluateEntry(std::string_view name) {
  const Entry* e = Find(name);
  if (!e || !e->function) return TRptEvResult::Error(Msg(kUnknownFunction, name));
  TRptFiFo none;
  return e->function->GetValue(none);
}

void TRptEvEnvironment::RemoveEntry(std::string_view name) {
  const Entry* e = Find(name);
  if (e) entries_.erase(entries_.begin() + (e - entries_.data()));
}

TRptEvElement* TRptEvEnvironment::ConstantElement(std::string_view name) const {
  const Entry* e = Find(name);
  if (!e || !e->function) return nullptr;
  const TRptFiFo* queue = e->function->Evaluator().Queue();
  if (!queue || queue->Count() == 0) return nullptr;
  return queue->Item(0);
}

void TRptEvEnvironment::StoreInteger(TRptEvElement* element, int32_t value) {
  if (element && element->Kind() == TRptEvElementKind::Constant)
    static_cast<TRptEvElementConstant*>(element)->value = TRptEvResult::Integer(value);
}

void TRptEvEnvironment::StoreString(TRptEvElement* element, std::string_view text) {
  if (element && element->Kind() == TRptEvElementKind::String) static_cast<TRptEvElementString*>(element)->SetText(text);
}

void TRptEvEnvironment::StoreResult(TRptEvElement* element, const TRptEvResult& result) {
  if (!element) return;
  if (element->Kind() == TRptEvElementKind::Constant)
    static_cast<TRptEvElementConstant*>(element)->value = result;
  else if (element->Kind() == TRptEvElementKind::String && result.kind == TRptEvKind::String)
    static_cast<TRptEvElementString*>(element)->SetText(result.Text());
}

void TRptEvEnvironment::BeginUse() {
  // Counted first, so that anything the compilation starts never compiles the entries again.
  if (useCount_++ > 0) return;
  for (Entry& e : entries_) CompileEntry(e);
}

void TRptEvEnvironment::EndUse() {
  if (useCount_ == 0) return;
  if (--useCount_ > 0) return;
  for (Entry& e : entries_)
    if (e.function) e.function->Evaluator().Release();
}

void TRptEvEnvironment::Reset() {
  for (Entry& e : entries_)
    if (e.function) e.function->ResetState();
}

void TRptEvEnvironment::Clear() { entries_.clear(); }

std::vector<std::string> TRptEvEnvironment::Names() const {
  std::vector<std::string> names;
  for (const Entry& e : entries_) names.push_back(e.name);
  return names;
}

void TRptEvEnvironment::SetNames(const std::vector<std::string>& names) {
  Clear();
  for (const std::string& n : names) entries_.push_back({n, nullptr});
}

void TRptEvEnvironment::ReadData(const std::vector<std::string>& texts) {
  for (size_t k = 0; k < texts.size() && k < entries_.size(); ++k) {
    Entry& e = entries_[k];
    if (e.function) continue;
    e.function = std::make_shared<TRptEvEmbeddedFunction>(texts[k]);
    e.function->Evaluator().ownerEnvironment_ = this;
    if (useCount_ > 0) CompileEntry(e);
  }
}

std::vector<std::string> TRptEvEnvironment::WriteData() const {
  std::vector<std::string> texts;
  for (const Entry& e : entries_) texts.push_back(e.function ? e.function->Expression() : std::string());
  return texts;
}

bool TRptEvEnvironment::SetEntryName(int index, std::string_view name) {
  if (index < 0 || index >= Count()) return false;
  entries_[static_cast<size_t>(index)].name = platform::UpperAscii(name);
  return true;
}

bool TRptEvEnvironment::SetEntryExpression(int index, std::string_view expression) {
  if (index < 0 || index >= Count() || useCount_ > 0) return false;
  Entry& e = entries_[static_cast<size_t>(index)];
  e.function = std::make_shared<TRptEvEmbeddedFunction>(std::string(expression));
  e.function->Evaluator().ownerEnvironment_ = this;
  return true;
}

// ---------------------------------------------------------------------------------------------
// Module start-up

namespace {

int moduleStarts = 0;
TRptFunctionLibrary* functionLibrary = nullptr;
TRptEvEnvironment* globalEnvironment = nullptr;

}  // namespace

TRptFunctionLibrary* ExprFunctionLibrary() { return functionLibrary; }
TRptEvEnvironment* GlobalEnvironment() { return globalEnvironment; }

void ExprModuleStartup(std::string_view appTitle) {
  if (moduleStarts++ > 0) return;
  functionLibrary = new TRptFunctionLibrary;
  RegisterBuiltInFunctions(*functionLibrary);
  globalEnvironment = new TRptEvEnvironment;
  const double now = platform::NowDateTime();
  const std::string title = appTitle.empty() ? platform::ExecutableName() : std::string(appTitle);
  globalEnvironment->AddEntry("AppStartTime", "'" + platform::TimeToText(now) + "'");
  globalEnvironment->AddEntry("AppStartDate", "'" + platform::DateToText(now) + "'");
  globalEnvironment->AddEntry("AppName", "'" + title + "'");
}

void ExprModuleShutdown() {
  if (moduleStarts == 0 || --moduleStarts > 0) return;
  // Unpublished before freeing, so nothing released meanwhile reaches a half-freed object.
  TRptEvEnvironment* environment = globalEnvironment;
  globalEnvironment = nullptr;
  delete environment;
  TRptFunctionLibrary* library = functionLibrary;
  functionLibrary = nullptr;
  delete library;
}

}  // namespace rpt
