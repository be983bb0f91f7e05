#include "report/expr_eval.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "platform/mbcs.h"
#include "platform/text_format.h"
#include "report/expr_env.h"
#include "report/expr_messages.h"

namespace rpt {

// ---------------------------------------------------------------------------------------------
// Results

TRptEvResult TRptEvResult::Integer(int32_t v) {
  TRptEvResult r;
  r.kind = TRptEvKind::Integer;
  r.intValue = v;
  return r;
}

TRptEvResult TRptEvResult::Float(double v) {
  TRptEvResult r;
  r.kind = TRptEvKind::Float;
  r.floatValue = v;
  return r;
}

TRptEvResult TRptEvResult::String(std::string_view s) {
  TRptEvResult r;
  r.kind = TRptEvKind::String;
  r.SetText(s);
  return r;
}

TRptEvResult TRptEvResult::Boolean(bool v) {
  TRptEvResult r;
  r.kind = TRptEvKind::Boolean;
  r.boolValue = v;
  return r;
}

TRptEvResult TRptEvResult::Error(std::string_view message) {
  TRptEvResult r;
  r.kind = TRptEvKind::Error;
  r.SetText(message);
  return r;
}

void TRptEvResult::SetText(std::string_view s) {
  length = static_cast<uint8_t>(platform::WholeCharPrefix(s, kMaxText));
  std::memcpy(text, s.data(), length);
}

std::string ResultToText(const TRptEvResult& r) {
  switch (r.kind) {
    case TRptEvKind::Integer:
      return std::to_string(r.intValue);
    case TRptEvKind::Float:
      return platform::FloatToText(r.floatValue);
    case TRptEvKind::String:
      return std::string(r.Text());
    case TRptEvKind::Boolean:
      return r.boolValue ? "True" : "False";
    case TRptEvKind::Error:
      break;
  }
  throw EExprError(Msg(kErrorInExpression, r.Text()));
}

std::string_view KindName(TRptEvKind kind) {
  switch (kind) {
    case TRptEvKind::Integer:
      return "integer";
    case TRptEvKind::Float:
      return "float";
    case TRptEvKind::String:
      return "string";
    case TRptEvKind::Boolean:
      return "boolean";
    case TRptEvKind::Error:
      break;
  }
  return "error";
}

// ---------------------------------------------------------------------------------------------
// Elements

TRptEvElement::~TRptEvElement() = default;

namespace {

// The value of the next element of the queue; an ended queue gives an error value.
TRptEvResult NextValue(TRptFiFo& queue) {
  TRptEvElement* e = queue.Next();
  if (!e) return TRptEvResult::Error(kEmptyExpression);
  return e->GetValue(queue);
}

constexpr std::string_view kOperatorText[] = {"<", "<=", ">", ">=", "=", "<>", "+", "-", "OR", "*", "/", "AND"};

int CompareBytes(std::string_view a, std::string_view b) { return a.compare(b); }

template <typename T>
bool Compare(TRptOperator op, const T& a, const T& b) {
  switch (op) {
    case TRptOperator::Less:
      return a < b;
    case TRptOperator::LessEqual:
      return a <= b;
    case TRptOperator::Greater:
      return a > b;
    case TRptOperator::GreaterEqual:
      return a >= b;
    case TRptOperator::Equal:
      return a == b;
    default:
      return a != b;
  }
}

TRptEvResult CannotMessage(std::string_view verb, TRptEvKind kind) {
  return TRptEvResult::Error(Msg(kCannotOperate, verb, KindName(kind)));
}

TRptEvResult NotCompatible(std::string_view op, std::string_view kind) {
  return TRptEvResult::Error(Msg(kNotCompatible, op, kind));
}

TRptEvResult IntegerOperation(TRptOperator op, int32_t a, int32_t b) {
  int32_t r = 0;
  switch (op) {
    case TRptOperator::Plus:
      if (__builtin_add_overflow(a, b, &r)) throw EExprOverflow();
      return TRptEvResult::Integer(r);
    case TRptOperator::Minus:
      if (__builtin_sub_overflow(a, b, &r)) throw EExprOverflow();
      return TRptEvResult::Integer(r);
    case TRptOperator::Multiply:
      if (__builtin_mul_overflow(a, b, &r)) throw EExprOverflow();
      return TRptEvResult::Integer(r);
    case TRptOperator::Divide:
      if (b == 0) return TRptEvResult::Error(kCannotDivideByZero);
      return TRptEvResult::Float(static_cast<double>(a) / static_cast<double>(b));
    case TRptOperator::Or:
      return TRptEvResult::Integer(a | b);
    case TRptOperator::And:
      return TRptEvResult::Integer(a & b);
    default:
      return TRptEvResult::Boolean(Compare(op, a, b));
  }
}

TRptEvResult FloatOperation(TRptOperator op, double a, double b) {
  switch (op) {
    case TRptOperator::Plus:
      return TRptEvResult::Float(a + b);
    case TRptOperator::Minus:
      return TRptEvResult::Float(a - b);
    case TRptOperator::Multiply:
      return TRptEvResult::Float(a * b);
    case TRptOperator::Divide:
      if (b == 0) return TRptEvResult::Error(kCannotDivideByZero);
      return TRptEvResult::Float(a / b);
    case TRptOperator::Or:
      return NotCompatible("OR", "numeric");
    case TRptOperator::And:
      return NotCompatible("AND", "numeric");
    default:
      return TRptEvResult::Boolean(Compare(op, a, b));
  }
}

TRptEvResult StringOperation(TRptOperator op, std::string_view a, std::string_view b) {
  switch (op) {
    case TRptOperator::Plus: {
      std::string joined(a);
      joined += b;
      return TRptEvResult::String(joined);
    }
    case TRptOperator::Minus:
      return CannotMessage("subtract", TRptEvKind::String);
    case TRptOperator::Multiply:
      return CannotMessage("multiply", TRptEvKind::String);
    case TRptOperator::Divide:
      return CannotMessage("divide", TRptEvKind::String);
    case TRptOperator::Or:
      return NotCompatible("OR", "string");
    case TRptOperator::And:
      return NotCompatible("AND", "string");
    case TRptOperator::Equal:
      return TRptEvResult::Boolean(a == b);
    case TRptOperator::NotEqual:
      return TRptEvResult::Boolean(a != b);
    default:
      return TRptEvResult::Boolean(Compare(op, CompareBytes(a, b), 0));
  }
}

TRptEvResult BooleanOperation(TRptOperator op, bool a, bool b) {
  switch (op) {
    case TRptOperator::Equal:
      return TRptEvResult::Boolean(a == b);
    case TRptOperator::NotEqual:
      return TRptEvResult::Boolean(a != b);
    case TRptOperator::Plus:
      return CannotMessage("add", TRptEvKind::Boolean);
    case TRptOperator::Minus:
      return CannotMessage("subtract", TRptEvKind::Boolean);
    case TRptOperator::Multiply:
      return CannotMessage("multiply", TRptEvKind::Boolean);
    case TRptOperator::Divide:
      return CannotMessage("divide", TRptEvKind::Boolean);
    case TRptOperator::Or:
      return TRptEvResult::Boolean(a || b);
    case TRptOperator::And:
      return TRptEvResult::Boolean(a && b);
    default:
      return NotCompatible(kOperatorText[static_cast<int>(op)], "boolean");
  }
}

}  // namespace

TRptEvResult TRptEvElementConstant::GetValue(TRptFiFo&) { return value; }

TRptEvElementString::TRptEvElementString(std::string_view text)
    : TRptEvElement(TRptEvElementKind::String), value_(TRptEvResult::String(text)) {}

TRptEvResult TRptEvElementString::GetValue(TRptFiFo&) { return value_; }

TRptEvResult TRptEvElementOperator::GetValue(TRptFiFo& queue) {
  TRptEvResult left = NextValue(queue);
  TRptEvResult right = NextValue(queue);
  // Mixed kinds: integer with float makes both float, any other mix makes both strings.
  if (left.kind != right.kind && left.kind != TRptEvKind::Error && right.kind != TRptEvKind::Error) {
    const bool numeric = (left.kind == TRptEvKind::Integer || left.kind == TRptEvKind::Float) &&
                         (right.kind == TRptEvKind::Integer || right.kind == TRptEvKind::Float);
    if (numeric) {
      if (left.kind == TRptEvKind::Integer) left = TRptEvResult::Float(left.intValue);
      if (right.kind == TRptEvKind::Integer) right = TRptEvResult::Float(right.intValue);
    } else {
      left = TRptEvResult::String(ResultToText(left));
      right = TRptEvResult::String(ResultToText(right));
    }
  }
  if (left.kind == TRptEvKind::Error) return left;
  if (right.kind == TRptEvKind::Error) return right;
  switch (left.kind) {
    case TRptEvKind::Integer:
      return IntegerOperation(op_, left.intValue, right.intValue);
    case TRptEvKind::Float:
      return FloatOperation(op_, left.floatValue, right.floatValue);
    case TRptEvKind::String:
      return StringOperation(op_, left.Text(), right.Text());
    default:
      return BooleanOperation(op_, left.boolValue, right.boolValue);
  }
}

TRptEvResult TRptEvElementNot::GetValue(TRptFiFo& queue) {
  const TRptEvResult operand = NextValue(queue);
  if (operand.kind != TRptEvKind::Boolean) return TRptEvResult::Error(kInvalidNot);
  return TRptEvResult::Boolean(!operand.boolValue);
}

TRptEvResult TRptEvElementFunction::GetValue(TRptFiFo& queue) {
  args_.clear();
  for (TRptEvElement* e = queue.Next(); e && e->Kind() != TRptEvElementKind::ArgumentEnd; e = queue.Next())
    args_.push_back({e->GetValue(queue)});
  if (queue.aggregate) Accumulate();
  TRptEvResult result;
  Compute(result);
  args_.clear();
  return result;
}

void TRptEvElementFunction::Compute(TRptEvResult& result) { result = TRptEvResult::Error(kNoFunctionValue); }

TRptEvResult TRptEvElementArgumentEnd::GetValue(TRptFiFo&) { return TRptEvResult::Error(kEmptyExpression); }

TRptEvResult TRptEvElementError::GetValue(TRptFiFo&) { return value_; }

TRptEvElementDataField::TRptEvElementDataField(TRptDataSet& dataSet, TRptField& field)
    : dataSet_(&dataSet), fieldIndex_(field.Index()), field_(&field), fieldName_(field.FieldName()) {}

TRptEvResult TRptEvElementDataField::GetValue(TRptFiFo&) {
  // Default fields are made anew whenever the data set opens: fetch the current one.
  const TRptField* field = dataSet_->DefaultFields() ? dataSet_->Field(fieldIndex_) : field_;
  if (!field) return TRptEvResult::Error(Msg(kFieldNotAvailable, fieldName_));
  switch (field->DataType()) {
    case TRptFieldType::ftString:
    case TRptFieldType::ftDate:
    case TRptFieldType::ftDateTime:
      return TRptEvResult::String(field->AsString());
    case TRptFieldType::ftInteger:
    case TRptFieldType::ftSmallint:
    case TRptFieldType::ftWord:
      return TRptEvResult::Integer(field->AsInteger());
    case TRptFieldType::ftFloat:
    case TRptFieldType::ftCurrency:
    case TRptFieldType::ftBCD:
      return TRptEvResult::Float(field->AsFloat());
    case TRptFieldType::ftBoolean:
      return TRptEvResult::Boolean(field->AsBoolean());
    default:
      return TRptEvResult::Error(Msg(kFieldUnknownType, field->FieldName()));
  }
}

// ---------------------------------------------------------------------------------------------
// Parser

namespace {

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }


// Whether the byte at i is the last of the text and a single-byte character (not a trail byte).
bool EndsWithChar(std::string_view text, char c) {
  return !text.empty() && text.back() == c && platform::ByteRoleAt(text, text.size() - 1) == platform::ByteRole::Single;
}

// Operators are looked for after the first character that is not a blank: a sign there (or
// before it) belongs to the operand, as in "1 = -3" or "DIV(7, -2)".
size_t FirstNonBlank(std::string_view text) {
  const size_t first = text.find_first_not_of(' ');
  return first == std::string_view::npos ? text.size() : first;
}

// Calls visit(i) for every single-byte character of the text at bracket depth 0, outside single
// quotes and square brackets, from left to right, until it returns true; returns that position
// or npos.
template <typename Visit>
size_t ScanTopLevel(std::string_view text, Visit visit) {
  int depth = 0;
  bool quoted = false, bracketed = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (platform::IsCp932LeadByte(c)) {
      ++i;
      continue;
    }
    if (quoted) {
      if (c == '\'') quoted = false;
      continue;
    }
    if (bracketed) {
      if (c == ']') bracketed = false;
      continue;
    }
    if (c == '\'') {
      quoted = true;
    } else if (c == '[') {
      bracketed = true;
    } else if (c == '(') {
      ++depth;
    } else if (c == ')') {
      --depth;
    } else if (depth == 0 && visit(i)) {
      return i;
    }
  }
  return std::string_view::npos;
}

// Whether the sign at position i of a right-hand piece is a binary operator: something other
// than blanks stands before it, and that is not itself an operator.
bool IsBinarySign(std::string_view text, size_t i) {
  size_t k = i;
  while (k > 0 && text[k - 1] == ' ') --k;
  if (k == 0) return false;
  const char before = text[k - 1];
  if (std::string_view("+-*/<>=").find(before) != std::string_view::npos) return false;
  // A word operator before the sign: " or", " and", "not" at the start.
  auto wordBefore = [&](std::string_view word) {
    if (k < word.size() || !platform::AsciiWordAt(text, k - word.size(), word)) return false;
    return k == word.size() || text[k - word.size() - 1] == ' ';
  };
  return !wordBefore("or") && !wordBefore("and") && !wordBefore("not");
}

// The right side of "-" with its binary "+" and "-" swapped (of "/" with "*" and "/" swapped).
std::string SwapOperators(std::string_view text, char a, char b) {
  std::string out(text);
  const bool signs = a == '+';
  ScanTopLevel(text, [&](size_t i) {
    const char c = text[i];
    if ((c == a || c == b) && (!signs || IsBinarySign(text, i))) out[i] = c == a ? b : a;
    return false;
  });
  return out;
}

// Where a level splits its text: the operator's position (npos: nowhere), code and length.
struct Split {
  size_t at = std::string_view::npos;
  TRptOperator op = TRptOperator::Equal;
  size_t length = 1;
};

// The first operator of a level in the text; `match(text, i, split)` tells whether position i
// holds one of the level's operators (and fills code and length).
Split FindOperator(std::string_view text, bool (*match)(std::string_view, size_t, Split&)) {
  Split split;
  const size_t n = text.size(), first = FirstNonBlank(text);
  split.at = ScanTopLevel(text, [&](size_t i) { return i > first && i + 1 < n && match(text, i, split); });
  return split;
}

bool MatchComparison(std::string_view text, size_t i, Split& s) {
  const char c = text[i], next = text[i + 1];
  if (c == '<') {
    s.op = next == '>' ? TRptOperator::NotEqual : next == '=' ? TRptOperator::LessEqual : TRptOperator::Less;
    s.length = (next == '>' || next == '=') ? 2 : 1;
  } else if (c == '>') {
    s.op = next == '=' ? TRptOperator::GreaterEqual : TRptOperator::Greater;
    s.length = next == '=' ? 2 : 1;
  } else if (c == '=') {
    s.op = TRptOperator::Equal;
    s.length = 1;
  } else {
    return false;
  }
  return true;
}

// The operators of the additive and the multiplicative level: two signs and a word ("or",
// "and") that stands after a blank and before one.
struct ArithmeticOperators {
  char first;
  TRptOperator firstOp;
  char second;
  TRptOperator secondOp;
  std::string_view word;  // lower case, with the blank that follows it
  TRptOperator wordOp;
};
constexpr ArithmeticOperators kAdditive{'+', TRptOperator::Plus, '-', TRptOperator::Minus, "or ", TRptOperator::Or};
constexpr ArithmeticOperators kMultiplicative{'*', TRptOperator::Multiply, '/', TRptOperator::Divide, "and ",
                                              TRptOperator::And};

template <const ArithmeticOperators& ops>
bool MatchArithmetic(std::string_view text, size_t i, Split& s) {
  if (text[i] == ops.first || text[i] == ops.second) {
    s.op = text[i] == ops.first ? ops.firstOp : ops.secondOp;
    s.length = 1;
  } else if (text[i - 1] == ' ' && platform::AsciiWordAt(text, i, ops.word)) {
    s.op = ops.wordOp;
    s.length = ops.word.size() - 1;
  } else {
    return false;
  }
  return true;
}

}  // namespace

struct TRptEvaluator::Parser {
  using Level = void (Parser::*)(std::string_view);

  TRptEvaluator& ev;
  TRptFiFo& queue;

  void Append(std::unique_ptr<TRptEvElement> e) { queue.Append(std::move(e)); }
  void Error(std::string message) { Append(std::make_unique<TRptEvElementError>(message)); }

  // Queues the operator, then the left piece parsed at one level and the right piece at
  // another (with its operators swapped after "-" and "/"); false when the level found none.
  bool Binary(std::string_view text, const Split& s, Level left, Level right) {
    if (s.at == std::string_view::npos) return false;
    Append(std::make_unique<TRptEvElementOperator>(s.op));
    (this->*left)(text.substr(0, s.at));
    const std::string_view piece = text.substr(s.at + s.length);
    if (s.op == TRptOperator::Minus)
      (this->*right)(SwapOperators(piece, '+', '-'));
    else if (s.op == TRptOperator::Divide)
      (this->*right)(SwapOperators(piece, '*', '/'));
    else
      (this->*right)(piece);
    return true;
  }

  void Comparison(std::string_view text) {
    if (!Binary(text, FindOperator(text, MatchComparison), &Parser::Additive, &Parser::Additive)) Additive(text);
  }

  void Additive(std::string_view text) {
    if (!Binary(text, FindOperator(text, MatchArithmetic<kAdditive>), &Parser::Multiplicative, &Parser::Additive))
      Multiplicative(text);
  }

  void Multiplicative(std::string_view text) {
    if (!Binary(text, FindOperator(text, MatchArithmetic<kMultiplicative>), &Parser::Factor, &Parser::Multiplicative))
      Factor(text);
  }

  void Factor(std::string_view text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
      text = text.empty() ? text : text.substr(0, 1);  // an all-blank text keeps one blank
    } else {
      text = text.substr(first, text.find_last_not_of(' ') - first + 1);
    }
    if (text.size() >= 3 && platform::AsciiWordAt(text, 0, "not")) {
      Append(std::make_unique<TRptEvElementNot>());
      Additive(text.substr(3));
      return;
    }
    const char c = text.empty() ? '\0' : text[0];
    if (c == '\'') {
      if (text.size() >= 2 && text.back() == '\'')
        Append(std::make_unique<TRptEvElementString>(text.substr(1, text.size() - 2)));
      else
        Error(Msg(kMissing, "'"));
    } else if (c == '(') {
      if (text.size() >= 2 && text.back() == ')')
        Comparison(text.substr(1, text.size() - 2));
      else
        Error(Msg(kMissing, ")"));
    } else if (c == '+') {
      Factor(text.substr(1));
    } else if (c == '-') {
      Additive("0-" + std::string(text.substr(1)));
    } else if (IsDigit(c)) {
      Number(text);
    } else if (IsLetter(c)) {
      FunctionOrName(text);
    } else if (c == '[') {
      if (text.size() >= 2 && EndsWithChar(text, ']'))
        FieldOrName(text.substr(1, text.size() - 2));
      else
        Error(Msg(kMissing, "]"));
    } else {
      Error(Msg(kErrorInExpression, text));
    }
  }

  void Number(std::string_view text) {
    size_t digits = 0;
    while (digits < text.size() && IsDigit(text[digits])) ++digits;
    if (digits == text.size()) {
      int32_t v = 0;
      const auto r = std::from_chars(text.data(), text.data() + text.size(), v);
      if (r.ec == std::errc() && r.ptr == text.data() + text.size()) {
        Append(std::make_unique<TRptEvElementConstant>(TRptEvResult::Integer(v)));
        return;
      }
    } else if (text.substr(digits).find_first_not_of("+-.0123456789Ee") != std::string_view::npos) {
      Error(Msg(kIllegalNumeric, text));
      return;
    }
    double v = 0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), v);
    if (r.ec != std::errc() || r.ptr != text.data() + text.size()) {
      Error(Msg(kIllegalNumeric, text));
      return;
    }
    Append(std::make_unique<TRptEvElementConstant>(TRptEvResult::Float(v)));
  }

  void FunctionOrName(std::string_view text) {
    const size_t paren = text.find('(');
    std::string_view name = text;
    std::string_view args;
    bool hasArgs = false;
    if (paren != std::string_view::npos) {
      if (text.back() == ')' && text.size() > paren + 1) {
        name = text.substr(0, paren);
        args = text.substr(paren + 1, text.size() - paren - 2);
        hasArgs = true;
      } else {
        name = {};
      }
    }
    const std::string upper = platform::UpperAscii(name);
    const TRptFunctionLibrary* library = ExprFunctionLibrary();
    const TRptLibraryEntry* entry = library ? library->Find(upper) : nullptr;
    if (!entry) {
      if (hasArgs)
        Error(Msg(kUnknownFunction, upper));
      else
        FieldOrName(upper);
      return;
    }
    Append(entry->elementClass());
    if (!args.empty()) {
      const size_t n = args.size();
      size_t start = 0;
      ScanTopLevel(args, [&](size_t i) {
        if (args[i] == ',' && i + 1 < n) {
          Comparison(args.substr(start, i - start));
          start = i + 1;
        }
        return false;
      });
      Comparison(args.substr(start));
    }
    Append(std::make_unique<TRptEvElementArgumentEnd>());
  }

  void FieldOrName(std::string_view name) {
    if (const TRptDataSetList* list = ev.dataSets_.Current()) {
      const size_t dot = name.find('.');
      const std::string setName = dot == std::string_view::npos ? std::string() : platform::UpperAscii(name.substr(0, dot));
      const std::string_view fieldName = dot == std::string_view::npos ? name : name.substr(dot + 1);
      for (TRptDataSet* ds : *list) {
        if (!ds) continue;
        if (!setName.empty() && platform::UpperAscii(ds->Name()) != setName) continue;
        if (TRptField* field = ds->FindField(fieldName)) {
          Append(std::make_unique<TRptEvElementDataField>(*ds, *field));
          return;
        }
        if (!setName.empty()) break;  // only the first data set of that name is searched
      }
    }
    std::unique_ptr<TRptEvElement> element;
    if (ev.environment_) {
      element = ev.environment_->LookupElement(name);
      if (element->Kind() == TRptEvElementKind::Error) element.reset();
    }
    if (!element) {
      if (TRptEvEnvironment* global = GlobalEnvironment())
        element = global->LookupElement(name);
      else
        element = std::make_unique<TRptEvElementError>(Msg(kUnknownFunction, name));
    }
    Append(std::move(element));
  }
};

// ---------------------------------------------------------------------------------------------
// Evaluator

TRptEvaluator::TRptEvaluator() = default;

TRptEvaluator::~TRptEvaluator() { Release(); }

void TRptEvaluator::DropQueue() {
  queue_.reset();
  prepared_ = false;
}

void TRptEvaluator::Compile(std::string_view text) {
  DropQueue();
  // A user of the global environment from the first compilation to the release; an entry of
  // the global environment is none (its compilation would keep the environment in use forever).
  TRptEvEnvironment* global = GlobalEnvironment();
  if (!countsAsGlobalUser_ && global && ownerEnvironment_ != global) {
    countsAsGlobalUser_ = true;
    global->BeginUse();
  }
  queue_ = std::make_unique<TRptFiFo>();
  Parser parser{*this, *queue_};
  parser.Comparison(text.empty() ? std::string_view("' '") : text);
  prepared_ = true;
}

void TRptEvaluator::Release() {
  DropQueue();
  if (countsAsGlobalUser_) {
    countsAsGlobalUser_ = false;
    if (TRptEvEnvironment* global = GlobalEnvironment()) global->EndUse();
  }
}

TRptEvResult TRptEvaluator::Run() {
  if (!prepared_) throw EExprError(std::string(kEvaluatorNotPrepared));
  queue_->Rewind();
  TRptEvElement* first = queue_->Next();
  if (!first) return TRptEvResult::Error(kEmptyExpression);
  return first->GetValue(*queue_);
}

void TRptEvaluator::ResetAggregates() {
  if (!queue_) return;
  for (size_t k = 0; k < queue_->Count(); ++k) queue_->Item(k)->ResetState();
}

void TRptEvaluator::AggregatePass() {
  if (!prepared_) throw EExprError(std::string(kEvaluatorNotPrepared));
  struct Flag {
    TRptFiFo& q;
    ~Flag() { q.aggregate = false; }
  } flag{*queue_};
  queue_->aggregate = true;
  Run();
}

bool TRptEvaluator::HasAggregates() const {
  if (!queue_) return false;
  for (size_t k = 0; k < queue_->Count(); ++k)
    if (queue_->Item(k)->isAggregate) return true;
  return false;
}

TRptEvResult TRptEvaluator::EvaluateOnce(std::string_view text) {
  Compile(text);
  struct Releaser {
    TRptEvaluator& ev;
    ~Releaser() { ev.Release(); }
  } releaser{*this};
  return Run();
}

// ---------------------------------------------------------------------------------------------
// Function library

TRptLibrary::~TRptLibrary() = default;

void TRptLibrary::Add(TRptLibraryEntry entry) { entries_.push_back(std::move(entry)); }

const TRptLibraryEntry* TRptLibrary::EntryAt(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return &entries_[static_cast<size_t>(index)];
}

const TRptLibraryEntry* TRptLibrary::Find(std::string_view name) const {
  for (const TRptLibraryEntry& e : entries_)
    if (e.name == name) return &e;
  return nullptr;
}

std::unique_ptr<TRptEvElement> TRptFunctionLibrary::CreateElement(std::string_view name) const {
  const TRptLibraryEntry* e = Find(name);
  if (!e) return std::make_unique<TRptEvElementError>(Msg(kUnknownFunction, name));
  return e->elementClass();
}

void RegisterExprFunction(TRptElementFactory elementClass, std::string name, std::string description,
                          std::string argumentCode, std::string vendor) {
  TRptFunctionLibrary* library = ExprFunctionLibrary();
  if (!library) throw std::logic_error("RegisterExprFunction: the expression module is not started");
  library->Add({std::move(name), std::move(description), std::move(argumentCode), std::move(vendor), elementClass});
}

}  // namespace rpt
