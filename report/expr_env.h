// Evaluation environments: tables of named expressions that other expressions refer to by name.
// Every report owns one (its `Functions`, with PAGENUMBER, COLUMNNUMBER and REPORTTITLE), and
// one global environment holds "AppStartTime", "AppStartDate" and "AppName".
//
// An environment's entries are compiled while it is in use (BeginUse ... EndUse). Every
// compiled evaluator is a user of the global environment from its compilation to its release,
// except the global environment's own entries: they are not users of the environment they
// belong to, so when the last evaluator elsewhere is released the global count returns to 0 and
// its entries are released too. The count goes up before the entries compile, so nested uses
// never compile them twice.
//
// Entries that refer to each other are bounded as nested expressions are: an entry evaluated
// inside kMaxExprNesting (100) others, of any environment, gives the error value "Expression
// nested more than 100 levels deep" instead of evaluating, so a long chain of entries cannot
// exhaust the stack.
//
// An entry removed while evaluators still refer to it no longer has a value: such references
// evaluate to "Unknown function : %s" instead of reaching a freed entry.
//
// The expression module (function library and global environment) is started and shut down
// with counted calls; only the first start-up and the last shut-down act.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "report/expr_eval.h"

namespace rpt {

// A named expression: its text, its own evaluator and an in-evaluation flag against recursion.
class TRptEvEmbeddedFunction : public TRptEvElement {
 public:
  explicit TRptEvEmbeddedFunction(std::string expression);
  const std::string& Expression() const { return expression_; }
  TRptEvaluator& Evaluator() { return evaluator_; }
  // "Recursive calls not allowed" while already being evaluated, the nesting error inside 100
  // other entries; else the expression's value.
  TRptEvResult GetValue(TRptFiFo& queue) override;
  void ResetState() override { evaluator_.ResetAggregates(); }

 private:
  std::string expression_;
  TRptEvaluator evaluator_;
  bool inEvaluation_ = false;
};

// A reference to an environment entry in a compiled queue.
class TRptEvElementWrapper : public TRptEvElement {
 public:
  TRptEvElementWrapper(std::weak_ptr<TRptEvEmbeddedFunction> function, std::string name);
  TRptEvResult GetValue(TRptFiFo& queue) override;

 private:
  std::weak_ptr<TRptEvEmbeddedFunction> function_;
  std::string name_;
};

class TRptEvEnvironment {
 public:
  TRptEvEnvironment();
  ~TRptEvEnvironment();
  TRptEvEnvironment(const TRptEvEnvironment&) = delete;
  TRptEvEnvironment& operator=(const TRptEvEnvironment&) = delete;

  // Appends an entry (name upper-cased) unless one of that name exists; compiled at once when
  // the environment is in use.
  void AddEntry(std::string_view name, std::string_view expression);
  // A wrapper for the named entry, or an error element "Unknown function : %s" (the name as
  // given). Names compare with ASCII letters upper-cased.
  std::unique_ptr<TRptEvElement> LookupElement(std::string_view name) const;
  // The entry's value; an unknown name gives an error value.
  TRptEvResult EvaluateEntry(std::string_view name);
  void RemoveEntry(std::string_view name);
  // The first element of the entry's compiled queue (the constant holding its value), or
  // nullptr when the name is unknown or the entry is not compiled.
  TRptEvElement* ConstantElement(std::string_view name) const;
  // A constant element takes an integer value; a string element a text; StoreResult gives a
  // constant the whole result and a string element the text of a string result. Other
  // elements (and nullptr) are left alone.
  static void StoreInteger(TRptEvElement* element, int32_t value);
  static void StoreString(TRptEvElement* element, std::string_view text);
  static void StoreResult(TRptEvElement* element, const TRptEvResult& result);

  void BeginUse();
  void EndUse();
  int UseCount() const { return useCount_; }
  // Resets the aggregates of every entry.
  void Reset();
  // Frees every entry.
  void Clear();

  // The entries as a string list: names in order and, as the stored property "DATA", their
  // expression texts in the same order. SetNames replaces the entries by names without
  // expressions (as a stored form reads them); ReadData gives each name that has no expression
  // yet the text at its position.
  int Count() const { return static_cast<int>(entries_.size()); }
  std::vector<std::string> Names() const;
  void SetNames(const std::vector<std::string>& names);
  void ReadData(const std::vector<std::string>& texts);
  std::vector<std::string> WriteData() const;
  // Editing an entry by position (false for a position outside the list): the name is stored
  // upper-cased; the expression gets a new embedded function, refused (false) while the
  // environment is in use.
  bool SetEntryName(int index, std::string_view name);
  bool SetEntryExpression(int index, std::string_view expression);

  // The data-set list: the one set, else an empty list the environment creates and owns.
  TRptDataSetList* DataSets() { return dataSets_.Get(); }
  void SetDataSets(TRptDataSetList* list) { dataSets_.Set(list); }

 private:
  struct Entry {
    std::string name;
    std::shared_ptr<TRptEvEmbeddedFunction> function;  // none until its text is read
  };
  const Entry* Find(std::string_view name) const;
  void CompileEntry(Entry& entry);

  std::vector<Entry> entries_;
  int useCount_ = 0;
  TRptDataSetListSlot dataSets_;
};

// The global environment, nullptr outside start-up and shut-down of the expression module.
TRptEvEnvironment* GlobalEnvironment();

// Counted start-up and shut-down of the expression module. The first start-up creates
// ExprFunctionLibrary with the built-in functions and the global environment with
// "AppStartTime" and "AppStartDate" (the time and date now, as quoted texts in the long time
// and short date forms) and "AppName" (the quoted application title; the executable's name
// when no title is given); the last shut-down frees both.
void ExprModuleStartup(std::string_view appTitle = {});
void ExprModuleShutdown();

// Start-up for the lifetime of a scope.
class ExprModuleScope {
 public:
  explicit ExprModuleScope(std::string_view appTitle = {}) { ExprModuleStartup(appTitle); }
  ~ExprModuleScope() { ExprModuleShutdown(); }
  ExprModuleScope(const ExprModuleScope&) = delete;
  ExprModuleScope& operator=(const ExprModuleScope&) = delete;
};

}  // namespace rpt
