#!/usr/bin/env bash
# Builds Tovalin with AddressSanitizer and UndefinedBehaviorSanitizer into build-sanitize/ (or
# $TOVALIN_SANITIZE_BUILD_DIR) and runs every test there, with the CUPS test printer as
# ./test.sh does. Any report fails the test that caused it; leak reports from Qt, fontconfig
# and CUPS themselves are suppressed in scripts/sanitize/lsan.supp, each with its reason.
# Not part of CI (a sanitized build and run take much longer); arguments go to ctest.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TOVALIN_SANITIZE_BUILD_DIR:-$root/build-sanitize}
"$root/scripts/deps.sh"
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOVALIN_SANITIZE=address,undefined
fi
nice -n 10 cmake --build "$build" --parallel "$(nproc)"
TOVALIN_TEST_PRINTER=$("$root/scripts/cups-test-printer.sh")
export TOVALIN_TEST_PRINTER
export TOVALIN_REQUIRE_CUPS=1
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1
export LSAN_OPTIONS=suppressions=$root/scripts/sanitize/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
cd "$build"
nice -n 10 ctest --output-on-failure --timeout 1800 -j "$(nproc)" "$@"
