#!/usr/bin/env bash
# Sets up, builds and runs every test. SANITIZE=1 builds into build-asan/ with
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
if [ "${SANITIZE:-0}" = "1" ]; then
  export BUILD_DIR="${BUILD_DIR:-$root/build-asan}"
  export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
  "$root/scripts/build.sh" -DHARVSIM_SANITIZE=ON
else
  "$root/scripts/build.sh"
fi
export QT_QPA_PLATFORM=offscreen
cd "${BUILD_DIR:-$root/build}"
ctest --output-on-failure -j "${TEST_JOBS:-$(nproc)}"
