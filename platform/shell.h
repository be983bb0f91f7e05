// The shell's "open" operation: a document, folder or address opened with the program the
// desktop associates with it. The program installs the Qt implementation (qt/shell_qt.h);
// without one nothing is opened. Tests install their own.
#pragma once

#include <functional>
#include <string>

namespace platform {

// Opens `target` (CP932: an inside path or an address); false when nothing was opened.
bool ShellOpen(const std::string& target);
// Installs the implementation (empty: none); returns the previous one.
std::function<bool(const std::string&)> InstallShellOpen(std::function<bool(const std::string&)> open);

}  // namespace platform
