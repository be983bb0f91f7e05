#include "platform/shell.h"

namespace platform {

namespace {
std::function<bool(const std::string&)>& Hook() {
  static std::function<bool(const std::string&)> hook;
  return hook;
}
}  // namespace

bool ShellOpen(const std::string& target) { return Hook() ? Hook()(target) : false; }

std::function<bool(const std::string&)> InstallShellOpen(std::function<bool(const std::string&)> open) {
  std::function<bool(const std::string&)> previous = std::move(Hook());
  Hook() = std::move(open);
  return previous;
}

}  // namespace platform
