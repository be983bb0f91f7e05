// Text forms of the report library beyond the platform's number texts: the general text
// formatter with one float value, as an expression label applies a mask holding "%m".
//
// Money form ("%m"): the yen sign "￥" (the double-byte sign, 0x81 0x8F, which every Japanese
// font shows as a yen sign), the amount with "," between groups of three digits and no
// decimals ("￥1,234,568"); a negative amount is preceded by "-" ("-￥1,235"). A precision
// ("%.2m") gives that many decimals.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace rpt {

// The money form of a value with `decimals` decimals (halves away from zero).
std::string MoneyText(double value, int decimals = 0);

// The format text with its directives replaced by the value: "%" ["-"] [width] ["." precision]
// and one of
//   m  money form (precision: decimals, 0 when not given)
//   f  fixed notation (precision: decimals, 2 when not given)
//   n  fixed notation with "," between groups of three digits (decimals as f)
// in either case, "%%" for a percent sign. A width pads with blanks on the left ("-": on the
// right) up to that many bytes (at most 255). Every other character, double-byte characters
// whole, stands as it is. Nothing when the format has another directive, more than one
// directive that takes the value, a directive cut short, or the value is not finite.
std::optional<std::string> FormatWithValue(std::string_view format, double value);

}  // namespace rpt
