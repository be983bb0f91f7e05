// The shell's "open" operation through the desktop services: an inside path opens as a local
// file, anything else as an address.
#pragma once

namespace platform {

void InstallQtShell();

}  // namespace platform
