// The report library's error: raised where a report operation cannot go on (a printer used
// out of turn, a damaged page file). Carries only its message, CP932.
#pragma once

#include <stdexcept>
#include <string>

namespace rpt {

class ERptError : public std::runtime_error {
 public:
  explicit ERptError(const std::string& message) : std::runtime_error(message) {}
  // The message, CP932.
  std::string Message() const { return what(); }
};

}  // namespace rpt
