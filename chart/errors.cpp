// Formatting of the library's message texts.
#include "chart/errors.h"

namespace chart {

std::string FormatChartText(const std::string& format, std::initializer_list<std::string> args) {
  std::string out;
  out.reserve(format.size() + 16);
  auto next = args.begin();
  for (size_t i = 0; i < format.size(); ++i) {
    const char c = format[i];
    if (c == '%' && i + 1 < format.size()) {
      const char kind = format[i + 1];
      if (kind == '%') {
        out.push_back('%');
        ++i;
        continue;
      }
      if ((kind == 'd' || kind == 's') && next != args.end()) {
        out += *next++;
        ++i;
        continue;
      }
    }
    out.push_back(c);
  }
  return out;
}

}  // namespace chart
