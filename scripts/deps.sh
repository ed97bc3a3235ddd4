#!/usr/bin/env bash
# Installs the Debian packages Tovalin needs to build, run, test and package.
# glabels-data: the label products of the sheet dialog and of tovalin-print --sheet (data
# files only); desktop-file-utils, appstream: checks of the installed tree and the package;
# file, dpkg-dev: CPack's dependency lookup (dpkg-shlibdeps); libzint-dev: the reference the
# customer barcode tests compare with (not linked by the programs).
# Idempotent: asks apt only for what dpkg does not already report installed.
# "deps.sh fuzz" adds what scripts/fuzz.sh needs: clang and its runtime libraries (the
# libFuzzer runtime is only a recommendation of the compiler packages, so it is named here).
set -euo pipefail

PACKAGES=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-svg-dev libemf2svg-dev
  libharfbuzz-dev libicu-dev libjpeg-dev libcups2-dev
  fontconfig fonts-ipafont-gothic fonts-ipafont-mincho fonts-ipamj-mincho
  cups cups-client cups-bsd printer-driver-cups-pdf poppler-utils
  xvfb xauth
  libgtest-dev libgmock-dev libbenchmark-dev
  glabels-data
  desktop-file-utils appstream file dpkg-dev
  libzint-dev
)
if [ "${1:-}" = fuzz ]; then
  PACKAGES+=(clang-14 libclang-rt-14-dev)
fi

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing missing packages: ${missing[*]}"
SUDO=()
if [ "$(id -u)" -ne 0 ]; then
  SUDO=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${SUDO[@]}" apt-get update -qq
"${SUDO[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
