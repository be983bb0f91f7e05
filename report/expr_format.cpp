#include "report/expr_format.h"

#include <algorithm>
#include <cmath>

#include "platform/cp932.h"
#include "platform/mbcs.h"
#include "platform/text_format.h"

namespace rpt {

std::string MoneyText(double value, int decimals) {
  static const std::string kYen = platform::J("￥");
  const std::string amount = platform::FormatFixed(std::fabs(value), decimals);
  const bool negative = value < 0 && amount.find_first_not_of("0.") != std::string::npos;
  return (negative ? "-" : "") + kYen + platform::GroupThousands(amount);
}

std::optional<std::string> FormatWithValue(std::string_view format, double value) {
  if (!std::isfinite(value)) return std::nullopt;
  constexpr int kMaxWidth = 255;
  std::string out;
  bool valueUsed = false;
  for (size_t i = 0; i < format.size(); ++i) {
    const char c = format[i];
    if (platform::IsCp932LeadByte(static_cast<unsigned char>(c)) && i + 1 < format.size()) {
      out.append(format.substr(i, 2));
      ++i;
      continue;
    }
    if (c != '%') {
      out += c;
      continue;
    }
    if (++i >= format.size()) return std::nullopt;
    if (format[i] == '%') {
      out += '%';
      continue;
    }
    const bool left = format[i] == '-';
    if (left) ++i;
    auto number = [&](int& n) {
      n = 0;
      bool any = false;
      while (i < format.size() && format[i] >= '0' && format[i] <= '9') {
        n = std::min(n * 10 + (format[i++] - '0'), 100000);
        any = true;
      }
      return any;
    };
    int width = 0, precision = -1;
    number(width);
    if (i < format.size() && format[i] == '.') {
      ++i;
      if (!number(precision)) return std::nullopt;
    }
    if (i >= format.size() || valueUsed) return std::nullopt;
    std::string piece;
    switch (format[i] | 0x20) {
      case 'm':
        piece = MoneyText(value, precision < 0 ? 0 : precision);
        break;
      case 'f':
        piece = platform::FormatFixed(value, precision < 0 ? 2 : precision);
        break;
      case 'n':
        piece = platform::GroupThousands(platform::FormatFixed(value, precision < 0 ? 2 : precision));
        break;
      default:
        return std::nullopt;
    }
    valueUsed = true;
    const size_t pad = static_cast<size_t>(std::min(width, kMaxWidth));
    if (piece.size() < pad) {
      if (left)
        piece.append(pad - piece.size(), ' ');
      else
        piece.insert(0, pad - piece.size(), ' ');
    }
    out += piece;
  }
  return out;
}

}  // namespace rpt
