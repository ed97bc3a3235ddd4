#!/usr/bin/env bash
# Installs what is missing, builds everything, starts the CUPS test printer and runs every test.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
build=${TOVALIN_BUILD_DIR:-$root/build}
"$root/scripts/deps.sh"
"$root/scripts/build.sh"
TOVALIN_TEST_PRINTER=$("$root/scripts/cups-test-printer.sh")
export TOVALIN_TEST_PRINTER
export TOVALIN_REQUIRE_CUPS=1
export QT_QPA_PLATFORM=offscreen
cd "$build"
ctest --output-on-failure --timeout 600 -j "$(nproc)" "$@"
