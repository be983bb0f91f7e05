// The library's exceptions. Errors of series, data sources, functions and stored point data
// raise `ChartException`; errors of axis settings raise `AxisException`. Both carry one of the
// fixed English texts of the library's message tables (chart/messages.h), formatted with
// `FormatChartText` where the text holds "%d" or "%s" places.
#pragma once

#include <initializer_list>
#include <stdexcept>
#include <string>

namespace chart {

class ChartException : public std::runtime_error {
 public:
  explicit ChartException(const std::string& message) : std::runtime_error(message) {}
};

class AxisException : public ChartException {
 public:
  explicit AxisException(const std::string& message) : ChartException(message) {}
};

// `format` with each "%d" or "%s" replaced, in order, by the next of `args`; "%%" gives "%".
// Places beyond the arguments stay as they are.
std::string FormatChartText(const std::string& format, std::initializer_list<std::string> args);

}  // namespace chart
