#!/usr/bin/env bash
# Times tovalin-print on the example's New Year card layout with 100, 1,000 and 10,000
# records (the example's 30 addresses repeated) into one PDF, and reports wall time, time per
# page and peak memory (/usr/bin/time -v). Usage: scripts/bench-tovalin-print.sh [COUNT...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TOVALIN_BUILD_DIR:-$root/build}
program="$build/src/tovalin-print"
[ -x "$program" ] || "$root/scripts/build.sh" --target tovalin-print
counts=("$@")
[ ${#counts[@]} -gt 0 ] || counts=(100 1000 10000)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

printf '%8s %10s %12s %12s %10s\n' records "wall (s)" "per page (ms)" "peak (MB)" "PDF (MB)"
for n in "${counts[@]}"; do
  dir="$work/s$n"
  mkdir -p "$dir"
  cp "$root"/examples/postcard/* "$dir/"
  # The list: the example's header, then its records over and over (bytes as they are: Shift-JIS).
  {
    head -n 1 "$root/examples/addresses.csv"
    tail -n +2 "$root/examples/addresses.csv" | awk -v n="$n" '{ line[NR] = $0 } END { for (i = 0; i < n; i++) print line[i % NR + 1] }'
  } > "$dir/addresses.csv"
  # CSVNAME=../addresses.csv becomes the copy beside the settings.
  sed -i 's|^CSVNAME=\.\./addresses\.csv|CSVNAME=addresses.csv|' "$dir/POSTCSV.INI"
  /usr/bin/time -v "$program" postcard --settings "$dir" --output "$work/out$n.pdf" 2> "$work/time$n.txt" ||
    { cat "$work/time$n.txt" >&2; exit 1; }
  wall=$(awk -F': ' '/Elapsed \(wall clock\)/ { n = split($2, t, ":"); s = 0; for (i = 1; i <= n; i++) s = s * 60 + t[i]; print s }' "$work/time$n.txt")
  rss=$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$work/time$n.txt")
  pages=$(pdfinfo "$work/out$n.pdf" | awk '/^Pages:/ { print $2 }')
  size=$(stat -c %s "$work/out$n.pdf")
  [ "$pages" = "$n" ] || { echo "expected $n pages, the PDF has $pages" >&2; exit 1; }
  awk -v n="$n" -v w="$wall" -v r="$rss" -v s="$size" \
    'BEGIN { printf "%8d %10.2f %12.3f %12.1f %10.1f\n", n, w, w * 1000 / n, r / 1024, s / 1048576 }'
done
