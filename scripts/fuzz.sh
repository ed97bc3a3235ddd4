#!/usr/bin/env bash
# Fuzzes one of Tovalin's readers with clang's libFuzzer under AddressSanitizer and
# UndefinedBehaviorSanitizer (not part of CI: it runs as long as you let it).
#
#   scripts/fuzz.sh --list                       the targets
#   scripts/fuzz.sh TARGET [RUNS] [OPTION...]    RUNS executions (default 1000000; 0: no limit), then stop
#
# Builds the targets into build-fuzz/ (or $TOVALIN_FUZZ_BUILD_DIR) with clang-14, grows a
# working corpus in build-fuzz/corpus/TARGET from the committed seeds in tests/fuzz/corpus/TARGET,
# and writes any crash, leak or timeout to build-fuzz/findings/TARGET/. OPTIONs go to libFuzzer
# as they are (for example -max_total_time=600, or -fork=1 -ignore_crashes=1 for the emf target,
# whose crashes are the converter library's). Runs under nice: the machine is shared.
# A fixed finding's input goes to tests/fuzz/crashes/TARGET/, where CTest replays it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TOVALIN_FUZZ_BUILD_DIR:-$root/build-fuzz}
targets=(csv settings printer_file picture cp932 vertical_text label_sheet snapshot emf)

if [ "${1:-}" = "--list" ] || [ $# -lt 1 ]; then
  printf '%s\n' "${targets[@]}"
  [ $# -ge 1 ] || exit 2
  exit 0
fi
target=$1
shift
runs=1000000
if [ $# -gt 0 ] && [[ $1 =~ ^[0-9]+$ ]]; then
  runs=$1
  shift
fi
[ "$runs" != 0 ] || runs=-1
[[ " ${targets[*]} " == *" $target "* ]] || { echo "fuzz.sh: unknown target $target (see --list)" >&2; exit 2; }

"$root/scripts/deps.sh" fuzz
if [ ! -f "$build/CMakeCache.txt" ]; then
  CC=clang-14 CXX=clang++-14 cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTOVALIN_FUZZ=ON -DTOVALIN_SANITIZE=address,undefined
fi
nice -n 10 cmake --build "$build" --parallel 2 --target "fuzz_$target"

# The printer file target resolves names against the CUPS printers, as the forms do.
if [ "$target" = printer_file ] || [ "$target" = snapshot ]; then
  "$root/scripts/cups-test-printer.sh" >/dev/null || true
fi

corpus=$build/corpus/$target
findings=$build/findings/$target
mkdir -p "$corpus" "$findings"
options=()
[ -f "$root/tests/fuzz/dict/$target.dict" ] && options+=(-dict="$root/tests/fuzz/dict/$target.dict")
# Settings files are long and alike; their mutations are kept short so that each run is quick
# (the compact seed holds every section). Later options on the command line win.
case $target in
  settings|snapshot) options+=(-max_len=2048) ;;
esac

export QT_QPA_PLATFORM=offscreen
# Shorter allocation stacks, no filling of new memory and a smaller quarantine: twice the
# executions per second on the settings targets, with the same reports.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:allocator_may_return_null=1:malloc_context_size=8:max_malloc_fill_size=0:quarantine_size_mb=32}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$root/scripts/sanitize/lsan.supp:print_suppressions=0}
cd "$findings"
exec nice -n 10 "$build/tests/fuzz/fuzz_$target" -runs="$runs" -print_final_stats=1 -rss_limit_mb=4096 \
  -timeout=30 -artifact_prefix="$findings/" "${options[@]}" "$@" "$corpus" "$root/tests/fuzz/corpus/$target"
