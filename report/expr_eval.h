// The expression evaluator of the report library: an expression text is parsed once into a
// queue of elements in prefix order, and the queue is then evaluated as often as needed (every
// print of an expression label, every record of an aggregate, every named expression of an
// environment). Values are integers (32 bits), floats, strings of at most 255 bytes, booleans
// and errors; a bad expression never raises but evaluates to an error value whose text is shown
// where the value would have been.
//
// Grammar, top down. Each level looks for its operators only at bracket depth 0, outside single
// quotes and outside square brackets, never at the last character of its text nor at or before
// its first non-blank character (a sign there belongs to the operand, so "1 = -3" and
// "DIV(7, -2)" read as meant), and splits at the first one found:
//   comparison      < <= > >= = <>      both sides at the additive level (no chaining)
//   additive        + - " or "          left multiplicative, right additive again
//   multiplicative  * / " and "         left factor, right multiplicative again
//   factor          not X | 'text' | (X) | +X | -X | number | name | name(args) | [field or name]
// Since the right side is parsed again at its own level, a - b + c would mean a - (b + c); the
// signs of the right side of "-" ("*" and "/" of the right side of "/") are therefore swapped
// first. Only binary signs are swapped: a sign at the start of the right side or right after
// another operator belongs to its operand ("5--3" is 8; "10-4+3" is 9, "10-4-3" is 3). Text in
// quotes or square brackets is never swapped.
//
// The reading needs no call per operator: a level's operators ("1 + 2 - 3 + ...") are found in
// one pass over its text and queued as the right-recursive reading above queues them, each
// piece parsed at the level below, so a chain of any length costs time in proportion to its
// length. Running a queue likewise keeps its pending operators and function calls on the heap,
// not on the call stack (TRptFiFo::Evaluate).
//
// Nesting is bounded: brackets, unary "+" and "-", "not" and function calls with arguments
// together nest at most kMaxExprNesting (100) levels deep. A deeper expression compiles to a
// single error element, "Expression nested more than 100 levels deep" (kNestedTooDeep).
//
// Text is CP932: scans step over double-byte characters whole, so a trail byte that looks like
// "[", "]" or a letter is never taken for one; case changes touch ASCII letters only; texts cut
// to 255 bytes never keep half a double-byte character.
//
// Error texts left open elsewhere and chosen here:
//   FRAC, COPY, FORMATNUMERIC with wrong arguments, UPPER, LOWER and PRETTY with one numeric or
//   boolean argument, SUM, AVERAGE, MAX and MIN with a wrong argument count:
//                                   "Wrong arguments for %s" with the function's name;
//   TIME and DATE with arguments:   "Too many arguments";
//   SUM and AVERAGE over a string or boolean value: "Cannot add string expressions" /
//                                   "Cannot add boolean expressions" (an error value is passed on);
//   an empty queue, or an operator or function that finds the queue ended: "Empty expression";
//   a data-field element whose data set is closed (its default fields gone):
//                                   "Field %s is not available";
//   an environment entry whose expression is not compiled: "Evaluator not prepared" as an error
//   value (the environment is not in use).
// Integer overflow in "+", "-", "*", SUM and COUNT raises EExprOverflow; DIV of the smallest
// integer by -1, and a float too large for a 32-bit integer in INT or DIV, give that
// function's "Wrong arguments for %s".
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "report/dataset.h"

namespace rpt {

class TRptEvEnvironment;

// How deep brackets, unary signs, "not" and function calls may nest in one expression.
inline constexpr int kMaxExprNesting = 100;

// Raised by Run on an unprepared evaluator and by converting an error value to text.
class EExprError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
// Raised by integer overflow.
class EExprOverflow : public EExprError {
 public:
  EExprOverflow() : EExprError("Integer overflow") {}
};

enum class TRptEvKind : uint8_t { Integer = 0, Float = 1, String = 2, Boolean = 3, Error = 4 };

// One value, copied by value. Strings and error texts are held in place, at most 255 bytes.
struct TRptEvResult {
  static constexpr size_t kMaxText = 255;

  TRptEvKind kind = TRptEvKind::Integer;
  bool boolValue = false;
  uint8_t length = 0;  // bytes of text
  int32_t intValue = 0;
  double floatValue = 0;
  char text[kMaxText];  // string or error text: the first `length` bytes

  TRptEvResult() = default;
  TRptEvResult(const TRptEvResult& o) { *this = o; }
  TRptEvResult& operator=(const TRptEvResult& o) {
    kind = o.kind;
    boolValue = o.boolValue;
    length = o.length;
    intValue = o.intValue;
    floatValue = o.floatValue;
    std::memcpy(text, o.text, length);
    return *this;
  }

  static TRptEvResult Integer(int32_t v);
  static TRptEvResult Float(double v);
  static TRptEvResult String(std::string_view s);
  static TRptEvResult Boolean(bool v);
  static TRptEvResult Error(std::string_view message);

  std::string_view Text() const { return std::string_view(text, length); }
  // Stores a text cut to 255 bytes at the last whole character.
  void SetText(std::string_view s);
};

// One result as an object (the evaluated arguments of a function call are kept as a list).
struct TRptEvResultClass {
  TRptEvResult value;
};

// The value as text: integers in decimal, floats by the general conversion, strings as they
// are, booleans "True" / "False"; an error raises EExprError "Error in expression : %s".
std::string ResultToText(const TRptEvResult& r);
// The kind's name in the operator messages ("integer", "float", "string", "boolean", "error").
std::string_view KindName(TRptEvKind kind);

class TRptFiFo;

// What an element is, where the evaluator and the environment must know.
enum class TRptEvElementKind : uint8_t { Other, Constant, String, ArgumentEnd, Error };

class TRptEvElement {
 public:
  // What the element takes from the queue when it is evaluated: nothing (a value of its own),
  // one operand ("not"), two operands (an operator) or a list up to the argument end (a function).
  enum class Operands : uint8_t { None, One, Two, List };

  explicit TRptEvElement(TRptEvElementKind kind = TRptEvElementKind::Other) : kind_(kind) {}
  virtual ~TRptEvElement();
  TRptEvElement(const TRptEvElement&) = delete;
  TRptEvElement& operator=(const TRptEvElement&) = delete;

  // The element's value; operators and functions take their operands from the queue.
  virtual TRptEvResult GetValue(TRptFiFo& queue) = 0;
  virtual void ResetState() {}
  TRptEvElementKind Kind() const { return kind_; }
  Operands OperandShape() const { return operands_; }

  bool isAggregate = false;

 protected:
  TRptEvElement(TRptEvElementKind kind, Operands operands) : kind_(kind), operands_(operands) {}

 private:
  TRptEvElementKind kind_;
  Operands operands_ = Operands::None;
};

class TRptEvElementConstant : public TRptEvElement {
 public:
  explicit TRptEvElementConstant(const TRptEvResult& value)
      : TRptEvElement(TRptEvElementKind::Constant), value(value) {}
  TRptEvResult GetValue(TRptFiFo& queue) override;
  TRptEvResult value;
};

class TRptEvElementString : public TRptEvElement {
 public:
  explicit TRptEvElementString(std::string_view text);
  TRptEvResult GetValue(TRptFiFo& queue) override;
  std::string_view Text() const { return value_.Text(); }
  void SetText(std::string_view text) { value_.SetText(text); }

 private:
  TRptEvResult value_;
};

enum class TRptOperator : uint8_t {
  Less = 0,
  LessEqual = 1,
  Greater = 2,
  GreaterEqual = 3,
  Equal = 4,
  NotEqual = 5,
  Plus = 6,
  Minus = 7,
  Or = 8,
  Multiply = 9,
  Divide = 10,
  And = 11
};

class TRptEvElementOperator : public TRptEvElement {
 public:
  explicit TRptEvElementOperator(TRptOperator op)
      : TRptEvElement(TRptEvElementKind::Other, Operands::Two), op_(op) {}
  TRptEvResult GetValue(TRptFiFo& queue) final;
  TRptOperator Operator() const { return op_; }
  // The operator applied to its two operand values.
  TRptEvResult Apply(TRptEvResult left, TRptEvResult right) const;

 private:
  TRptOperator op_;
};

// "not": negates the boolean that follows in the queue.
class TRptEvElementNot : public TRptEvElement {
 public:
  TRptEvElementNot() : TRptEvElement(TRptEvElementKind::Other, Operands::One) {}
  TRptEvResult GetValue(TRptFiFo& queue) final;
  static TRptEvResult Apply(const TRptEvResult& operand);
};

// Base of the built-in functions: collects the values up to the argument end, accumulates in an
// aggregate pass, then computes.
class TRptEvElementFunction : public TRptEvElement {
 public:
  TRptEvElementFunction() : TRptEvElement(TRptEvElementKind::Other, Operands::List) {}
  TRptEvResult GetValue(TRptFiFo& queue) final;
  virtual void Accumulate() {}
  virtual void Compute(TRptEvResult& result);

 protected:
  int ArgCount() const { return static_cast<int>(args_.size()); }
  // Argument n (from 0); only for n below ArgCount().
  const TRptEvResult& Arg(int n) const { return args_[static_cast<size_t>(n)].value; }

 private:
  friend class TRptFiFo;
  // Accumulates in an aggregate pass, computes the value and drops the arguments.
  TRptEvResult Finish(bool aggregate);

  std::vector<TRptEvResultClass> args_;
};

class TRptEvElementArgumentEnd : public TRptEvElement {
 public:
  TRptEvElementArgumentEnd() : TRptEvElement(TRptEvElementKind::ArgumentEnd) {}
  TRptEvResult GetValue(TRptFiFo& queue) override;
};

class TRptEvElementDataField : public TRptEvElement {
 public:
  TRptEvElementDataField(TRptDataSet& dataSet, TRptField& field);
  TRptEvResult GetValue(TRptFiFo& queue) override;

 private:
  TRptDataSet* dataSet_;
  int fieldIndex_;
  TRptField* field_;
  std::string fieldName_;
};

class TRptEvElementError : public TRptEvElement {
 public:
  explicit TRptEvElementError(std::string_view message)
      : TRptEvElement(TRptEvElementKind::Error), value_(TRptEvResult::Error(message)) {}
  TRptEvResult GetValue(TRptFiFo& queue) override;
  std::string_view Message() const { return value_.Text(); }

 private:
  TRptEvResult value_;
};

// The element queue of a compiled expression.
class TRptFiFo {
 public:
  void Append(std::unique_ptr<TRptEvElement> element) { elements_.push_back(std::move(element)); }
  void Rewind() { position_ = 0; }
  // The element at the read position, advancing; nullptr at the end.
  TRptEvElement* Next() { return position_ < elements_.size() ? elements_[position_++].get() : nullptr; }
  size_t Count() const { return elements_.size(); }
  TRptEvElement* Item(size_t index) const { return elements_[index].get(); }
  // The value of `element` (nullptr: "Empty expression"), its operands read from the read
  // position on. Operands that are themselves operators, "not" or function calls are evaluated
  // in a loop that keeps the pending ones on the heap, so the depth of the queue's nesting
  // costs no call stack.
  TRptEvResult Evaluate(TRptEvElement* element);

  bool aggregate = false;  // an aggregate pass is under way

 private:
  std::vector<std::unique_ptr<TRptEvElement>> elements_;
  size_t position_ = 0;
};

class TRptEvaluator {
 public:
  TRptEvaluator();
  ~TRptEvaluator();
  TRptEvaluator(const TRptEvaluator&) = delete;
  TRptEvaluator& operator=(const TRptEvaluator&) = delete;

  // Parses the text into a new queue (an empty text as "' '"); the first compilation makes the
  // evaluator a user of the global environment until Release.
  void Compile(std::string_view text);
  void Release();
  bool Prepared() const { return prepared_; }
  // The value of the compiled expression; EExprError "Evaluator not prepared" when not compiled.
  TRptEvResult Run();
  void ResetAggregates();
  void AggregatePass();
  bool HasAggregates() const;
  // Compile, run, release.
  TRptEvResult EvaluateOnce(std::string_view text);

  // The environment consulted before the global one (not owned).
  TRptEvEnvironment* Environment() const { return environment_; }
  void SetEnvironment(TRptEvEnvironment* environment) { environment_ = environment; }
  // The data-set list: the one set, else an empty list the evaluator creates and owns.
  TRptDataSetList* DataSets() { return dataSets_.Get(); }
  void SetDataSets(TRptDataSetList* list) { dataSets_.Set(list); }

  const TRptFiFo* Queue() const { return queue_.get(); }

 private:
  friend class TRptEvEnvironment;
  struct Parser;

  void DropQueue();

  bool prepared_ = false;
  std::unique_ptr<TRptFiFo> queue_;
  TRptEvEnvironment* environment_ = nullptr;
  TRptDataSetListSlot dataSets_;
  // The environment whose entry this evaluator compiles: it is no user of that environment.
  TRptEvEnvironment* ownerEnvironment_ = nullptr;
  bool countsAsGlobalUser_ = false;
};

// ---------------------------------------------------------------------------------------------
// Function library

using TRptElementFactory = std::unique_ptr<TRptEvElementFunction> (*)();

struct TRptLibraryEntry {
  std::string name;
  std::string description;   // signature, "|", help text
  std::string argumentCode;  // category digit, then B, N, S or V per argument
  std::string vendor;
  TRptElementFactory elementClass = nullptr;
};

class TRptLibrary {
 public:
  virtual ~TRptLibrary();
  void Add(TRptLibraryEntry entry);
  int Count() const { return static_cast<int>(entries_.size()); }
  // The entry at an index, or nullptr past the end.
  const TRptLibraryEntry* EntryAt(int index) const;
  const TRptLibraryEntry* Find(std::string_view name) const;

 private:
  std::vector<TRptLibraryEntry> entries_;
};

class TRptFunctionLibrary : public TRptLibrary {
 public:
  // A new element of the named function, or an error element "Unknown function : %s".
  std::unique_ptr<TRptEvElement> CreateElement(std::string_view name) const;
};

// The program-wide function library, filled with the 21 built-in functions at the first
// start-up of the expression module (expr_env.h); nullptr outside start-up and shut-down.
TRptFunctionLibrary* ExprFunctionLibrary();
// Adds a function to ExprFunctionLibrary (std::logic_error when the module is not started).
void RegisterExprFunction(TRptElementFactory elementClass, std::string name, std::string description,
                          std::string argumentCode, std::string vendor);
// The vendor text of the built-in functions.
inline constexpr std::string_view kBuiltInVendor = "Built in";

// Fills a library with the built-in functions in their fixed order.
void RegisterBuiltInFunctions(TRptFunctionLibrary& library);

}  // namespace rpt
