// Shared pieces of the fuzz targets (fuzz_<name>.cpp): a silent user interface, a scratch
// folder for readers that take a path, and the Qt application the font engine needs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace fuzzsupport {

// Installs (once) a user interface that answers every message box with its first button,
// never waits and prints nothing, so a target's messages do not flood the fuzzer's output.
void InstallQuietUi();

// Creates (once) the QGuiApplication on the offscreen platform.
void EnsureQtApp();

// A folder of this process (inside form, ending in '\'), created on first use and removed at
// exit.
const std::string& ScratchFolder();

// Writes `bytes` to the file `name` of the scratch folder; its inside path.
std::string WriteScratchFile(const std::string& name, std::string_view bytes);

inline std::string_view Bytes(const uint8_t* data, size_t size) {
  return std::string_view(reinterpret_cast<const char*>(data), size);
}

}  // namespace fuzzsupport
