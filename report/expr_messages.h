// The message texts of the expression evaluator, its functions and environments. "%s" stands
// for an inserted text.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace rpt {

inline constexpr std::string_view kEvaluatorNotPrepared = "Evaluator not prepared";
inline constexpr std::string_view kErrorInExpression = "Error in expression : %s";
inline constexpr std::string_view kUnknownFunction = "Unknown function : %s";
inline constexpr std::string_view kMissing = "Missing %s";
inline constexpr std::string_view kIllegalNumeric = "Illegal character in numeric contant \"%s\"";
inline constexpr std::string_view kInvalidNot = "Invalid use of NOT";
inline constexpr std::string_view kNotCompatible = "Operator %s is not compatible with %s expressions";
inline constexpr std::string_view kCannotOperate = "Cannot %s %s expressions";
inline constexpr std::string_view kCannotDivideByZero = "Cannot divide by 0";
inline constexpr std::string_view kFieldUnknownType = "Field %s is of unknown type";
inline constexpr std::string_view kWrongArguments = "Wrong arguments for %s";
inline constexpr std::string_view kConversionError = "Conversion error";
inline constexpr std::string_view kMissingArgument = "Missing argument for %s";
inline constexpr std::string_view kTooManyArguments = "Too many arguments";
inline constexpr std::string_view kInvalidSqrt = "Invalid argument to SQRT function";
inline constexpr std::string_view kDivisionByZero = "Division by Zero";
inline constexpr std::string_view kInvalidFormat = "Invalid format or value specified";
inline constexpr std::string_view kCountPrefix = "COUNT - ";
inline constexpr std::string_view kRecursiveCall = "Recursive calls not allowed";
// Texts of this implementation for cases the evaluator's rules leave open.
inline constexpr std::string_view kEmptyExpression = "Empty expression";
inline constexpr std::string_view kFieldNotAvailable = "Field %s is not available";
inline constexpr std::string_view kNoFunctionValue = "Function has no value";
inline constexpr std::string_view kNestedTooDeep = "Expression nested more than 100 levels deep";

// The message with each "%s" replaced by the next text.
inline std::string Msg(std::string_view format, std::initializer_list<std::string_view> texts) {
  std::string out;
  auto next = texts.begin();
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] == '%' && i + 1 < format.size() && format[i + 1] == 's' && next != texts.end()) {
      out += *next++;
      ++i;
    } else {
      out += format[i];
    }
  }
  return out;
}
inline std::string Msg(std::string_view format, std::string_view text) { return Msg(format, {text}); }
inline std::string Msg(std::string_view format, std::string_view a, std::string_view b) { return Msg(format, {a, b}); }

}  // namespace rpt
