#!/usr/bin/env bash
# Sets up, builds and starts the program on its sample case.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
exec "${BUILD_DIR:-$root/build}/bin/harvsim" "$@"
