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

TRptEvResult TRptEvElementOperator::GetValue(TRptFiFo& queue) { return queue.Evaluate(this); }

TRptEvResult TRptEvElementOperator::Apply(TRptEvResult left, TRptEvResult right) const {
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

TRptEvResult TRptEvElementNot::GetValue(TRptFiFo& queue) { return queue.Evaluate(this); }

TRptEvResult TRptEvElementNot::Apply(const TRptEvResult& operand) {
  if (operand.kind != TRptEvKind::Boolean) return TRptEvResult::Error(kInvalidNot);
  return TRptEvResult::Boolean(!operand.boolValue);
}

TRptEvResult TRptEvElementFunction::GetValue(TRptFiFo& queue) { return queue.Evaluate(this); }

TRptEvResult TRptEvElementFunction::Finish(bool aggregate) {
  if (aggregate) Accumulate();
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
// Queue

TRptEvResult TRptFiFo::Evaluate(TRptEvElement* element) {
  using Operands = TRptEvElement::Operands;
  // An operator, "not" or function call whose operands are being read. An operator keeps its
  // left value until the right one is known: its kind and numbers here, its text in `texts`
  // from textAt on (a chain of 100,000 operators keeps 100,000 left values).
  struct Pending {
    explicit Pending(TRptEvElement* e) : element(e) {}
    TRptEvElement* element;
    bool haveLeft = false;
    TRptEvKind kind = TRptEvKind::Integer;
    bool boolValue = false;
    uint8_t length = 0;
    int32_t intValue = 0;
    double floatValue = 0;
    size_t textAt = 0;
  };
  std::vector<Pending> pending;
  std::string texts;
  auto keepLeft = [&](Pending& p, const TRptEvResult& v) {
    p.haveLeft = true;
    p.kind = v.kind;
    p.boolValue = v.boolValue;
    p.length = v.length;
    p.intValue = v.intValue;
    p.floatValue = v.floatValue;
    p.textAt = texts.size();
    texts.append(v.text, v.length);
  };
  auto takeLeft = [&](const Pending& p) {
    TRptEvResult v;
    v.kind = p.kind;
    v.boolValue = p.boolValue;
    v.length = p.length;
    v.intValue = p.intValue;
    v.floatValue = p.floatValue;
    std::memcpy(v.text, texts.data() + p.textAt, p.length);
    texts.resize(p.textAt);
    return v;
  };
  auto isListEnd = [](const TRptEvElement* e) { return !e || e->Kind() == TRptEvElementKind::ArgumentEnd; };
  TRptEvElement* e = element;
  for (;;) {
    // Down the first operands until an element gives a value.
    TRptEvResult value;
    for (;;) {
      if (!e) {
        value = TRptEvResult::Error(kEmptyExpression);
        break;
      }
      const Operands shape = e->OperandShape();
      if (shape == Operands::None) {
        value = e->GetValue(*this);
        break;
      }
      if (shape == Operands::List) {
        auto* function = static_cast<TRptEvElementFunction*>(e);
        function->args_.clear();
        TRptEvElement* first = Next();
        if (isListEnd(first)) {
          value = function->Finish(aggregate);
          break;
        }
        pending.emplace_back(e);
        e = first;
        continue;
      }
      pending.emplace_back(e);
      e = Next();
    }
    // Up with the value as far as pending elements complete; then on with the next operand.
    bool more = false;
    while (!more && !pending.empty()) {
      Pending& top = pending.back();
      const Operands shape = top.element->OperandShape();
      if (shape == Operands::Two) {
        if (!top.haveLeft) {
          keepLeft(top, value);
          e = Next();
          more = true;
          continue;
        }
        value = static_cast<TRptEvElementOperator*>(top.element)->Apply(takeLeft(top), value);
      } else if (shape == Operands::One) {
        value = TRptEvElementNot::Apply(value);
      } else {
        auto* function = static_cast<TRptEvElementFunction*>(top.element);
        function->args_.push_back({value});
        e = Next();
        if (!isListEnd(e)) {
          more = true;
          continue;
        }
        value = function->Finish(aggregate);
      }
      pending.pop_back();
    }
    if (!more) return value;
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

// Where a level splits its text: the operator's position (npos: nowhere), code and length.
struct Split {
  size_t at = std::string_view::npos;
  TRptOperator op = TRptOperator::Equal;
  size_t length = 1;
};

// The positions ScanTopLevel visits in a text, found once and shared by the levels that read
// the same text or a part of it that starts where the scan is at depth 0 (a part's scan visits
// just the text's positions within it). Position p stands for index p - origin of the part.
struct TopLevel {
  const size_t* begin = nullptr;
  const size_t* end = nullptr;
  size_t origin = 0;

  // The positions within [from, to) of the part, for the part that starts at `from`.
  TopLevel Part(size_t from, size_t to) const {
    return {std::lower_bound(begin, end, origin + from), std::lower_bound(begin, end, origin + to), origin + from};
  }
};

// Scans the text (into `own`) unless its positions are known.
TopLevel PositionsOf(std::string_view text, const TopLevel* known, std::vector<size_t>& own) {
  if (known) return *known;
  ScanTopLevel(text, [&](size_t i) {
    own.push_back(i);
    return false;
  });
  return {own.data(), own.data() + own.size(), 0};
}

// The first operator of a level in the text; `match(text, i, split)` tells whether position i
// holds one of the level's operators (and fills code and length).
Split FindOperator(std::string_view text, const TopLevel& top, bool (*match)(std::string_view, size_t, Split&)) {
  Split split;
  const size_t n = text.size(), first = FirstNonBlank(text);
  for (const size_t* p = top.begin; p != top.end; ++p) {
    const size_t i = *p - top.origin;
    if (i > first && i + 1 < n && match(text, i, split)) {
      split.at = i;
      break;
    }
  }
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


// One mark of an operator chain: an operator of the level, or another of its sign characters
// at depth 0 after the first operator (the right-recursive reading swaps those as well).
struct ChainMark {
  size_t at;
  size_t length;
  bool isOperator;
  TRptOperator op;
};

}  // namespace

struct TRptEvaluator::Parser {
  using Level = void (Parser::*)(std::string_view, const TopLevel*);

  TRptEvaluator& ev;
  TRptFiFo& queue;
  int depth = 0;
  bool tooDeep = false;

  void Append(std::unique_ptr<TRptEvElement> e) { queue.Append(std::move(e)); }
  void Error(std::string message) { Append(std::make_unique<TRptEvElementError>(message)); }

  // Parses a nested part one level deeper; beyond kMaxExprNesting levels the expression is
  // marked as nested too deeply (and the parse stops).
  template <typename Parse>
  void Nested(Parse parse) {
    if (depth >= kMaxExprNesting) {
      tooDeep = true;
      return;
    }
    ++depth;
    parse();
    --depth;
  }

  void Comparison(std::string_view text, const TopLevel* known = nullptr) {
    if (tooDeep) return;
    std::vector<size_t> own;
    const TopLevel top = PositionsOf(text, known, own);
    const Split s = FindOperator(text, top, MatchComparison);
    if (s.at == std::string_view::npos) {
      Additive(text, &top);
      return;
    }
    Append(std::make_unique<TRptEvElementOperator>(s.op));
    const TopLevel left = top.Part(0, s.at), right = top.Part(s.at + s.length, text.size());
    Additive(text.substr(0, s.at), &left);
    Additive(text.substr(s.at + s.length), &right);
  }

  void Additive(std::string_view text, const TopLevel* known = nullptr) {
    Chain<kAdditive>(text, known, &Parser::Multiplicative, false);
  }
  void Multiplicative(std::string_view text, const TopLevel* known = nullptr) {
    Chain<kMultiplicative>(text, known, &Parser::Factor, false);
  }

  // The operators of one level in `text`: "p0 op1 p1 op2 ... opN pN" queues as the reading
  // "p0 op1 (p1 op2 (... opN pN))" queues it, op1 p0 op2 p1 ... opN pN-1 pN, every piece parsed
  // at the level below. The reading finds each operator as the first one of the rest of the text
  // after the previous operator, past the rest's first non-blank character and before the
  // text's last character; and it swaps the signs in the rest after every "-" (binary "+" and
  // "-") or "/" ("*" and "/"), which decides what each later sign means: a sign's meaning
  // flips once per such operator before it. One pass finds the operators, a second works out
  // the swaps, so the chain costs time in proportion to its length. `leadingMinus`: the text is
  // the right side of "0-", the reading of a unary minus.
  template <const ArithmeticOperators& ops>
  void Chain(std::string_view text, const TopLevel* known, Level piece, bool leadingMinus) {
    if (tooDeep) return;
    const size_t n = text.size();
    std::vector<size_t> own;
    const TopLevel top = PositionsOf(text, known, own);
    std::vector<ChainMark> marks;
    size_t after = FirstNonBlank(text);  // operators only past this position
    size_t skip = 0;                     // the rest of a word operator
    for (const size_t* p = top.begin; p != top.end; ++p) {
      const size_t i = *p - top.origin;
      if (i < skip) continue;
      Split s;
      if (i > after && i + 1 < n && MatchArithmetic<ops>(text, i, s)) {
        marks.push_back({i, s.length, true, s.op});
        skip = i + s.length;
        after = std::min(text.find_first_not_of(' ', skip), n);
      } else if ((leadingMinus || !marks.empty()) && (text[i] == ops.first || text[i] == ops.second)) {
        marks.push_back({i, 1, false, TRptOperator::Equal});
      }
    }
    if (!leadingMinus && marks.empty()) {
      (this->*piece)(text, &top);
      return;
    }

    // Where the rest after each operator starts, whether that operator swaps the signs of its
    // rest, and how many of them up to it do.
    const bool signs = ops.first == '+';
    const TRptOperator swapping = signs ? TRptOperator::Minus : TRptOperator::Divide;
    std::vector<size_t> restStart;
    std::vector<bool> swaps;
    std::vector<int> swapsUpTo;
    auto addOperator = [&](size_t start, bool swap) {
      restStart.push_back(start);
      swaps.push_back(swap);
      swapsUpTo.push_back((swapsUpTo.empty() ? 0 : swapsUpTo.back()) + (swap ? 1 : 0));
    };
    if (leadingMinus) addOperator(0, true);
    // Whether the sign at i has been swapped an odd number of times. A "+" or "-" is swapped
    // only where it is binary within the rest it lies in, which depends on that rest's start
    // only when the start lies within four characters of the sign's operand (IsBinarySign);
    // every rest that starts earlier gives one and the same answer.
    auto swapped = [&](size_t i) {
      if (!signs) return (swapsUpTo.empty() ? 0 : swapsUpTo.back()) % 2 == 1;
      size_t k = i;
      while (k > 0 && text[k - 1] == ' ') --k;
      int count = 0;
      size_t m = restStart.size();
      for (; m > 0 && restStart[m - 1] + 4 > k; --m)
        if (swaps[m - 1] && IsBinarySign(text.substr(restStart[m - 1]), i - restStart[m - 1])) ++count;
      if (m > 0 && swapsUpTo[m - 1] > 0 && IsBinarySign(text.substr(restStart[m - 1]), i - restStart[m - 1]))
        count += swapsUpTo[m - 1];
      return count % 2 == 1;
    };
    auto flip = [&](char c) { return c == ops.first ? ops.second : ops.first; };
    std::vector<std::pair<size_t, char>> changed;  // signs of the pieces read as the other sign
    for (ChainMark& mark : marks) {
      const char c = text[mark.at];
      const bool sign = c == ops.first || c == ops.second;
      if (sign && swapped(mark.at)) {
        if (mark.isOperator)
          mark.op = flip(c) == ops.first ? ops.firstOp : ops.secondOp;
        else
          changed.emplace_back(mark.at, flip(c));
      }
      if (mark.isOperator) addOperator(mark.at + mark.length, mark.op == swapping);
    }

    // Queue: each operator, then the piece before it; at last the final piece.
    size_t nextChange = 0;
    auto parsePiece = [&](size_t from, size_t to) {
      if (tooDeep) return;
      const std::string_view pieceText = text.substr(from, to - from);
      const TopLevel part = top.Part(from, to);
      if (nextChange == changed.size() || changed[nextChange].first >= to) {
        (this->*piece)(pieceText, &part);
        return;
      }
      std::string copy(pieceText);
      for (; nextChange < changed.size() && changed[nextChange].first < to; ++nextChange)
        copy[changed[nextChange].first - from] = changed[nextChange].second;
      (this->*piece)(copy, &part);
    };
    size_t from = 0;
    if (leadingMinus) {
      Append(std::make_unique<TRptEvElementOperator>(TRptOperator::Minus));
      (this->*piece)("0", nullptr);
    }
    for (const ChainMark& mark : marks) {
      if (!mark.isOperator) continue;
      Append(std::make_unique<TRptEvElementOperator>(mark.op));
      parsePiece(from, mark.at);
      from = mark.at + mark.length;
    }
    parsePiece(from, n);
  }

  void Factor(std::string_view text, const TopLevel* known = nullptr) {
    if (tooDeep) return;
    // The positions of the rest after a unary operator: known when the text's are (the rest of
    // "not", "+" and "-" lies at the same depth), else found by its own scan.
    TopLevel trimmed, restTop;
    bool restKnown = false;
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
      text = text.empty() ? text : text.substr(0, 1);  // an all-blank text keeps one blank
    } else {
      const size_t size = text.find_last_not_of(' ') - first + 1;
      text = text.substr(first, size);
      if (known) {
        trimmed = known->Part(first, first + size);
        restKnown = true;
      }
    }
    auto rest = [&](size_t from) -> const TopLevel* {
      if (!restKnown) return nullptr;
      restTop = trimmed.Part(from, text.size());
      return &restTop;
    };
    if (text.size() >= 3 && platform::AsciiWordAt(text, 0, "not")) {
      Nested([&] {
        Append(std::make_unique<TRptEvElementNot>());
        Additive(text.substr(3), rest(3));
      });
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
        Nested([&] { Comparison(text.substr(1, text.size() - 2)); });
      else
        Error(Msg(kMissing, ")"));
    } else if (c == '+') {
      Nested([&] { Factor(text.substr(1), rest(1)); });
    } else if (c == '-') {
      // Read as "0-" and the rest.
      if (text.size() == 1)
        Multiplicative("0-");
      else
        Nested([&] { Chain<kAdditive>(text.substr(1), rest(1), &Parser::Multiplicative, true); });
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
      Nested([&] {
        const size_t n = args.size();
        std::vector<size_t> own;
        const TopLevel top = PositionsOf(args, nullptr, own);
        size_t start = 0;
        for (const size_t* p = top.begin; p != top.end; ++p) {
          if (args[*p] == ',' && *p + 1 < n) {
            const TopLevel part = top.Part(start, *p);
            Comparison(args.substr(start, *p - start), &part);
            start = *p + 1;
          }
        }
        const TopLevel part = top.Part(start, n);
        Comparison(args.substr(start), &part);
      });
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
  if (parser.tooDeep) {
    queue_ = std::make_unique<TRptFiFo>();
    queue_->Append(std::make_unique<TRptEvElementError>(kNestedTooDeep));
  }
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
  return queue_->Evaluate(queue_->Next());
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
