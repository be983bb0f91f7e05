#!/usr/bin/env bash
# Installs every Debian package the project needs to build, test and run. Quiet when all
# of them are present already; otherwise runs apt-get update once and installs the missing.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev qt6-translations-l10n
  libjpeg62-turbo-dev libjpeg-turbo-progs
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-ipafont-gothic fonts-ipafont-mincho fonts-liberation fonts-dejavu-core
  poppler-utils
)
# Installed without the packages they recommend. LibreOffice's converter without its windows
# (soffice --headless), the independent reader the tests check our metafiles with; a desktop
# LibreOffice Draw does the same and conflicts with it, so it counts as present.
LEAN_PACKAGES=(
  "libreoffice-draw-nogui|libreoffice-draw"
)

installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}

# The packages of the list given whose names (or any of their alternatives, "a|b") are not installed.
missing_of() {
  local entry name
  for entry in "$@"; do
    local present=no
    IFS='|' read -ra names <<<"$entry"
    for name in "${names[@]}"; do
      if installed "$name"; then present=yes; fi
    done
    if [ "$present" = no ]; then echo "${names[0]}"; fi
  done
}

mapfile -t missing < <(missing_of "${PACKAGES[@]}")
mapfile -t missing_lean < <(missing_of "${LEAN_PACKAGES[@]}")
if [ ${#missing[@]} -eq 0 ] && [ ${#missing_lean[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "Installing: ${missing[*]} ${missing_lean[*]}"
$SUDO apt-get update -qq
if [ ${#missing[@]} -gt 0 ]; then
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}" >/dev/null
fi
if [ ${#missing_lean[@]} -gt 0 ]; then
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing_lean[@]}" >/dev/null
fi
