// The 21 built-in functions of the expression evaluator and their registration.
#include <cmath>
#include <limits>
#include <optional>

#include "platform/mbcs.h"
#include "platform/text_format.h"
#include "report/expr_eval.h"
#include "report/expr_messages.h"

namespace rpt {

namespace {

using R = TRptEvResult;

bool IsNumeric(const R& r) { return r.kind == TRptEvKind::Integer || r.kind == TRptEvKind::Float; }
double NumericValue(const R& r) { return r.kind == TRptEvKind::Integer ? r.intValue : r.floatValue; }

R WrongArguments(std::string_view name) { return R::Error(Msg(kWrongArguments, name)); }

// A float as a 32-bit integer after `round` (truncation or rounding to the even neighbour);
// nothing when it does not fit.
template <typename Round>
std::optional<int32_t> ToInt32(double x, Round round) {
  if (!std::isfinite(x)) return std::nullopt;
  const double r = round(x);
  if (r < std::numeric_limits<int32_t>::min() || r > std::numeric_limits<int32_t>::max()) return std::nullopt;
  return static_cast<int32_t>(r);
}

class IfFunction : public TRptEvElementFunction {
  void Compute(R& result) override {
    if (ArgCount() == 3 && Arg(0).kind == TRptEvKind::Boolean)
      result = Arg(0).boolValue ? Arg(1) : Arg(2);
    else
      result = WrongArguments("IF");
  }
};

class StrFunction : public TRptEvElementFunction {
  void Compute(R& result) override {
    if (ArgCount() == 1 && Arg(0).kind != TRptEvKind::String && Arg(0).kind != TRptEvKind::Error)
      result = R::String(ResultToText(Arg(0)));
    else
      result = R::Error(kConversionError);
  }
};

// UPPER, LOWER and PRETTY: one string argument changed by `change`.
class CaseFunction : public TRptEvElementFunction {
 protected:
  void ComputeCase(R& result, std::string_view name, std::string (*change)(std::string_view)) {
    if (ArgCount() != 1)
      result = R::Error(Msg(kMissingArgument, name));
    else if (Arg(0).kind == TRptEvKind::String)
      result = R::String(change(Arg(0).Text()));
    else if (Arg(0).kind == TRptEvKind::Error)
      result = Arg(0);
    else
      result = WrongArguments(name);
  }
};

class UpperFunction : public CaseFunction {
  void Compute(R& result) override { ComputeCase(result, "UPPER", platform::UpperAscii); }
};

class LowerFunction : public CaseFunction {
  void Compute(R& result) override { ComputeCase(result, "LOWER", platform::LowerAscii); }
};

std::string Pretty(std::string_view text) {
  if (text.empty()) return {};
  const size_t first = platform::IsCp932LeadByte(static_cast<unsigned char>(text[0])) ? std::min<size_t>(2, text.size()) : 1;
  return platform::UpperAscii(text.substr(0, first)) + platform::LowerAscii(text.substr(first));
}

class PrettyFunction : public CaseFunction {
  void Compute(R& result) override { ComputeCase(result, "PRETTY", Pretty); }
};

class TimeFunction : public TRptEvElementFunction {
  void Compute(R& result) override {
    result = ArgCount() == 0 ? R::String(platform::TimeToText(platform::NowDateTime())) : R::Error(kTooManyArguments);
  }
};

class DateFunction : public TRptEvElementFunction {
  void Compute(R& result) override {
    result = ArgCount() == 0 ? R::String(platform::DateToText(platform::NowDateTime())) : R::Error(kTooManyArguments);
  }
};

class CopyFunction : public TRptEvElementFunction {
  void Compute(R& result) override {
    if (ArgCount() != 3 || Arg(0).kind != TRptEvKind::String || Arg(1).kind != TRptEvKind::Integer ||
        Arg(2).kind != TRptEvKind::Integer) {
      result = WrongArguments("COPY");
      return;
    }
    const std::string_view text = Arg(0).Text();
    int64_t start = std::max<int64_t>(1, Arg(1).intValue);  // 1-based; 0 counts as 1
    int64_t length = Arg(2).intValue;
    auto role = [&](int64_t position) {
      return position < 1 ? platform::ByteRole::Single : platform::ByteRoleAt(text, static_cast<size_t>(position - 1));
    };
    // Never start on the second half of a double-byte character, nor end on the first half.
    if (length > 0 && role(start) == platform::ByteRole::Trail) {
      ++start;
      --length;
    }
    if (length > 0 && role(start + length - 1) == platform::ByteRole::Lead) --length;
    const int64_t size = static_cast<int64_t>(text.size());
    if (start > size || length <= 0) {
      result = R::String("");
      return;
    }
    length = std::min(length, size - start + 1);
    result = R::String(text.substr(static_cast<size_t>(start - 1), static_cast<size_t>(length)));
  }
};

// SUM: the first value sets the kind; integers add to an integer sum (overflow raises), floats
// to a float sum; a string or boolean makes the sum an error.
class SumFunction : public TRptEvElementFunction {
 public:
  SumFunction() { isAggregate = true; }

 protected:
  void Accumulate() override {
    if (ArgCount() != 1) return;
    Add(Arg(0));
  }
  void Compute(R& result) override { result = ArgCount() == 1 ? sum_ : WrongArguments(Name()); }
  void ResetState() override {
    sum_ = R::Integer(0);
    started_ = false;
  }
  virtual std::string_view Name() const { return "SUM"; }

  void Add(const R& v) {
    if (started_ && sum_.kind == TRptEvKind::Error) return;
    if (!IsNumeric(v)) {
      sum_ = v.kind == TRptEvKind::Error ? v : R::Error(Msg(kCannotOperate, "add", KindName(v.kind)));
    } else if (!started_) {
      sum_ = v;
    } else if (sum_.kind == TRptEvKind::Integer && v.kind == TRptEvKind::Integer) {
      int32_t s = 0;
      if (__builtin_add_overflow(sum_.intValue, v.intValue, &s)) throw EExprOverflow();
      sum_.intValue = s;
    } else {
      sum_ = R::Float(NumericValue(sum_) + NumericValue(v));
    }
    started_ = true;
  }

  R sum_ = R::Integer(0);
  bool started_ = false;
};

class AverageFunction : public SumFunction {
  void Accumulate() override {
    if (ArgCount() != 1) return;
    Add(Arg(0));
    ++count_;
    average_ = IsNumeric(sum_) ? R::Float(NumericValue(sum_) / count_) : sum_;
  }
  void Compute(R& result) override { result = ArgCount() == 1 ? average_ : WrongArguments(Name()); }
  void ResetState() override {
    SumFunction::ResetState();
    average_ = R::Float(0);
    count_ = 0;
  }
  std::string_view Name() const override { return "AVERAGE"; }

  R average_ = R::Float(0);
  int64_t count_ = 0;
};

// MAX and MIN: the first value is kept; later values of its kind replace it when greater
// (smaller). Values of other kinds are passed over; a kept error stays.
class ExtremeFunction : public TRptEvElementFunction {
 public:
  explicit ExtremeFunction(bool maximum) : maximum_(maximum) { isAggregate = true; }

 private:
  void Accumulate() override {
    if (ArgCount() != 1) return;
    const R& v = Arg(0);
    if (!started_) {
      kept_ = v;
      started_ = true;
      return;
    }
    if (v.kind != kept_.kind) return;
    int order = 0;  // v compared with the kept value
    switch (v.kind) {
      case TRptEvKind::Integer:
        order = (v.intValue > kept_.intValue) - (v.intValue < kept_.intValue);
        break;
      case TRptEvKind::Float:
        order = (v.floatValue > kept_.floatValue) - (v.floatValue < kept_.floatValue);
        break;
      case TRptEvKind::String:
        order = v.Text().compare(kept_.Text());
        break;
      case TRptEvKind::Boolean:
        order = static_cast<int>(v.boolValue) - static_cast<int>(kept_.boolValue);
        break;
      case TRptEvKind::Error:
        return;
    }
    if (maximum_ ? order > 0 : order < 0) kept_ = v;
  }
  void Compute(R& result) override { result = ArgCount() == 1 ? kept_ : WrongArguments(maximum_ ? "MAX" : "MIN"); }
  void ResetState() override {
    kept_ = R::Integer(0);
    started_ = false;
  }

  bool maximum_;
  R kept_ = R::Integer(0);
  bool started_ = false;
};

class CountFunction : public TRptEvElementFunction {
 public:
  CountFunction() { isAggregate = true; }

 private:
  void Accumulate() override {
    if (ArgCount() != 0) return;
    if (__builtin_add_overflow(count_, 1, &count_)) throw EExprOverflow();
  }
  void Compute(R& result) override {
    result = ArgCount() == 0 ? R::Integer(count_) : R::Error(std::string(kCountPrefix) + std::string(kTooManyArguments));
  }
  void ResetState() override { count_ = 0; }

  int32_t count_ = 0;
};

class BooleanConstantFunction : public TRptEvElementFunction {
 public:
  explicit BooleanConstantFunction(bool value) : value_(value) {}

 private:
  void Compute(R& result) override { result = ArgCount() == 0 ? R::Boolean(value_) : R::Error(kTooManyArguments); }
  bool value_;
};

class IntFunction : public TRptEvElementFunction {
  void Compute(R& result) override {
    if (ArgCount() == 1 && Arg(0).kind == TRptEvKind::Integer) {
      result = Arg(0);
      return;
    }
    std::optional<int32_t> v;
    if (ArgCount() == 1 && Arg(0).kind == TRptEvKind::Float)
      v = ToInt32(Arg(0).floatValue, [](double x) { return std::trunc(x); });
    result = v ? R::Integer(*v) : WrongArguments("INT");
  }
};

class FracFunction : public TRptEvElementFunction {
  void Compute(R& result) override {
    if (ArgCount() == 1 && Arg(0).kind == TRptEvKind::Integer)
      result = R::Float(0);
    else if (ArgCount() == 1 && Arg(0).kind == TRptEvKind::Float)
      result = R::Float(Arg(0).floatValue - std::trunc(Arg(0).floatValue));
    else
      result = WrongArguments("FRAC");
  }
};

class SqrtFunction : public TRptEvElementFunction {
  void Compute(R& result) override {
    if (ArgCount() == 1 && IsNumeric(Arg(0)) && NumericValue(Arg(0)) >= 0)
      result = R::Float(std::sqrt(NumericValue(Arg(0))));
    else
      result = R::Error(kInvalidSqrt);
  }
};

class DivFunction : public TRptEvElementFunction {
  void Compute(R& result) override {
    // Floats are rounded to the nearest integer, halves to the even neighbour.
    auto operand = [](const R& r) -> std::optional<int32_t> {
      if (r.kind == TRptEvKind::Integer) return r.intValue;
      if (r.kind == TRptEvKind::Float) return ToInt32(r.floatValue, [](double x) { return std::nearbyint(x); });
      return std::nullopt;
    };
    const std::optional<int32_t> x = ArgCount() == 2 ? operand(Arg(0)) : std::nullopt;
    const std::optional<int32_t> y = ArgCount() == 2 ? operand(Arg(1)) : std::nullopt;
    if (!x || !y)
      result = WrongArguments("DIV");
    else if (*y == 0)
      result = R::Error(kDivisionByZero);
    else if (*x == std::numeric_limits<int32_t>::min() && *y == -1)
      result = WrongArguments("DIV");
    else
      result = R::Integer(*x / *y);
  }
};

class TypeOfFunction : public TRptEvElementFunction {
  void Compute(R& result) override {
    static constexpr std::string_view kNames[] = {"INTEGER", "FLOAT", "STRING", "BOOLEAN", "ERROR"};
    result = ArgCount() == 1 ? R::String(kNames[static_cast<int>(Arg(0).kind)]) : WrongArguments("TypeOf");
  }
};

class FormatNumericFunction : public TRptEvElementFunction {
  void Compute(R& result) override {
    if (ArgCount() != 2 || Arg(0).kind != TRptEvKind::String || !IsNumeric(Arg(1))) {
      result = WrongArguments("FORMATNUMERIC");
      return;
    }
    const std::optional<std::string> text = platform::FormatFloatMask(Arg(0).Text(), NumericValue(Arg(1)));
    result = text ? R::String(*text) : R::Error(kInvalidFormat);
  }
};

template <typename T, auto... Args>
std::unique_ptr<TRptEvElementFunction> Make() {
  return std::make_unique<T>(Args...);
}

}  // namespace

void RegisterBuiltInFunctions(TRptFunctionLibrary& library) {
  struct Builtin {
    const char* name;
    const char* description;
    const char* code;
    TRptElementFactory factory;
  };
  static const Builtin kBuiltins[] = {
      {"IF", "IF(<Exp>, <X>, <Y>)|Returns <X> or <Y> depending on the boolean expression <Exp>", "5BVV",
       Make<IfFunction>},
      {"STR", "STR(<X>)|Convert a numeric <X> to a string", "7N", Make<StrFunction>},
      {"UPPER", "UPPER(<X>)|Converts a string to upper case letters", "7S", Make<UpperFunction>},
      {"LOWER", "LOWER(<X>)|Converts a string to lower case letters", "7S", Make<LowerFunction>},
      {"PRETTY", "PRETTY(<X>)|Makes the first character upper case and the rest lower case", "7S",
       Make<PrettyFunction>},
      {"TIME", "TIME|Return current time as a string", "1", Make<TimeFunction>},
      {"DATE", "DATE|Return current date as a string", "1", Make<DateFunction>},
      {"COPY", "COPY(<X>, <St>,<Len>)|Returns a substring of string X", "7SNN", Make<CopyFunction>},
      {"SUM", "SUM(<X>)|Sums the numeric <X>", "3N", Make<SumFunction>},
      {"COUNT", "COUNT|Increments for each iteration", "3", Make<CountFunction>},
      {"MAX", "MAX(<X>)|Returns the highest <X>", "3V", Make<ExtremeFunction, true>},
      {"MIN", "MIN(<X>)|Returns the lowest <X>", "3V", Make<ExtremeFunction, false>},
      {"AVERAGE", "AVERAGE(<X>)|Returns the average of numeric <X>", "3N", Make<AverageFunction>},
      {"TRUE", "TRUE|boolean value", "5", Make<BooleanConstantFunction, true>},
      {"FALSE", "FALSE|boolean value", "5", Make<BooleanConstantFunction, false>},
      {"INT", "INT(<X>)|Returns the integer part of <X>", "2N", Make<IntFunction>},
      {"FRAC", "FRAC(<X>)|Returns the fractional part of <X>", "2N", Make<FracFunction>},
      {"SQRT", "SQRT(<X>)|Returns square root of <X>", "2N", Make<SqrtFunction>},
      {"DIV", "DIV(<X>, <Y>) | Integer division of <X> by <Y>", "2NN", Make<DivFunction>},
      {"TYPEOF", "TYPEOF(<Exp>)|Returns the data type of <Exp>", "6N", Make<TypeOfFunction>},
      {"FORMATNUMERIC", "FORMATNUMERIC(<F>,<N>)|Formats numeric <N> using the mask in <F>", "7SN",
       Make<FormatNumericFunction>},
  };
  for (const Builtin& b : kBuiltins) library.Add({b.name, b.description, b.code, std::string(kBuiltInVendor), b.factory});
}

}  // namespace rpt
