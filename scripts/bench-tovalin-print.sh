#!/usr/bin/env bash
# Times tovalin-print into one PDF and reports wall time, time per page and peak memory
# (/usr/bin/time -v), with the example's 30 addresses repeated to each count:
#   postcard  the New Year card example (default 100, 1,000 and 10,000 records)
#   label     the address label example moved to a 3 x 8 sheet (8.5 mm margins, 2.0 mm
#             gaps: 63.0 x 33.3 mm labels; default 1,000 and 10,000 records)
# TOVALIN_BENCH_TYPESETTING=off|on rewrites the postcard's address and name fields (2-5,
# 8-11) first: off takes away KANSUJI, HYPHEN, TCY and FIT, on sets KANSUJI=2, TCY=1, FIT=1
# on all eight (unset: the example as it is).
# Usage: scripts/bench-tovalin-print.sh [postcard|label [COUNT...]]   (no run named: both)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TOVALIN_BUILD_DIR:-$root/build}
program="$build/src/tovalin-print"
[ -x "$program" ] || "$root/scripts/build.sh" --target tovalin-print
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# bench RUN COUNT: one run over COUNT records, one line of the table.
bench() {
  local run=$1 n=$2
  local dir="$work/$run$n"
  mkdir -p "$dir"
  cp "$root/examples/$run"/* "$dir/"
  # The list beside the settings: the example's header, then its records over and over
  # (bytes as they are: Shift-JIS).
  {
    head -n 1 "$root/examples/addresses.csv"
    tail -n +2 "$root/examples/addresses.csv" | awk -v n="$n" '{ line[NR] = $0 } END { for (i = 0; i < n; i++) print line[i % NR + 1] }'
  } > "$dir/addresses.csv"
  sed -i 's|^CSVNAME=\.\./addresses\.csv|CSVNAME=addresses.csv|' "$dir/POSTCSV.INI"
  case "${TOVALIN_BENCH_TYPESETTING:-}" in
    off|on)
      # Section names and keys are ASCII, so the Shift-JIS file passes through awk untouched.
      LC_ALL=C awk -v on="${TOVALIN_BENCH_TYPESETTING}" '
        /^\[/ { sec = $0; sub(/\r$/, "", sec) }
        /^(KANSUJI|HYPHEN|TCY|FIT)=/ && sec ~ /^\[POSTFLD/ { next }
        { print }
        on == "on" && /^VISIBLE=/ && sec ~ /^\[POSTFLD(2|3|4|5|8|9|10|11)\]$/ { printf "KANSUJI=2\r\nTCY=1\r\nFIT=1\r\n" }
      ' "$dir/POSTCSV.INI" > "$dir/POSTCSV.tmp" && mv "$dir/POSTCSV.tmp" "$dir/POSTCSV.INI" ;;
    "") ;;
    *) echo "TOVALIN_BENCH_TYPESETTING is off or on" >&2; exit 2 ;;
  esac
  local expected=$n
  if [ "$run" = label ]; then
    # The 3 x 8 sheet (the INI's lines end in CR LF).
    sed -i -e 's|^COL=.*|COL=3\r|' -e 's|^ROW=.*|ROW=8\r|' \
           -e 's|^TOPSP=.*|TOPSP=85\r|' -e 's|^BOTSP=.*|BOTSP=85\r|' -e 's|^LEFSP=.*|LEFSP=85\r|' -e 's|^RIGSP=.*|RIGSP=85\r|' \
           -e 's|^TATESP=.*|TATESP=20\r|' -e 's|^YOKOSP=.*|YOKOSP=20\r|' "$dir/POSTCSV.INI"
    expected=$(( (n + 23) / 24 ))
  fi
  /usr/bin/time -v "$program" "$run" --settings "$dir" --output "$work/out.pdf" 2> "$work/time.txt" ||
    { cat "$work/time.txt" >&2; exit 1; }
  local wall rss pages size
  wall=$(awk -F': ' '/Elapsed \(wall clock\)/ { n = split($2, t, ":"); s = 0; for (i = 1; i <= n; i++) s = s * 60 + t[i]; print s }' "$work/time.txt")
  rss=$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$work/time.txt")
  pages=$(pdfinfo "$work/out.pdf" | awk '/^Pages:/ { print $2 }')
  size=$(stat -c %s "$work/out.pdf")
  [ "$pages" = "$expected" ] || { echo "expected $expected pages, the PDF has $pages" >&2; exit 1; }
  awk -v r="$run" -v n="$n" -v p="$pages" -v w="$wall" -v m="$rss" -v s="$size" \
    'BEGIN { printf "%-8s %8d %6d %9.2f %14.3f %10.1f %9.1f\n", r, n, p, w, w * 1000 / p, m / 1024, s / 1048576 }'
  rm -f "$work/out.pdf"
}

case "${1:-}" in
  "") runs=(postcard label); counts=() ;;
  postcard|label) runs=("$1"); shift; counts=("$@") ;;
  *) echo "usage: $0 [postcard|label [COUNT...]]" >&2; exit 2 ;;
esac

printf '%-8s %8s %6s %9s %14s %10s %9s\n' run records pages "wall (s)" "per page (ms)" "peak (MB)" "PDF (MB)"
for run in "${runs[@]}"; do
  if [ ${#counts[@]} -gt 0 ]; then
    list=("${counts[@]}")
  elif [ "$run" = postcard ]; then
    list=(100 1000 10000)
  else
    list=(1000 10000)
  fi
  for n in "${list[@]}"; do
    bench "$run" "$n"
  done
done
