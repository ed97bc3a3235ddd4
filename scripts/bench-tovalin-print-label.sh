#!/usr/bin/env bash
# Times tovalin-print label on the example's address label layout moved to a 3 x 8 sheet
# (8.5 mm margins, 2.0 mm gaps: 63.0 x 33.3 mm labels) with 1,000 and 10,000 records (the
# example's 30 addresses repeated) into one PDF, and reports wall time, time per sheet and
# peak memory (/usr/bin/time -v). Usage: scripts/bench-tovalin-print-label.sh [COUNT...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TOVALIN_BUILD_DIR:-$root/build}
program="$build/src/tovalin-print"
[ -x "$program" ] || "$root/scripts/build.sh" --target tovalin-print
counts=("$@")
[ ${#counts[@]} -gt 0 ] || counts=(1000 10000)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

printf '%8s %8s %10s %14s %12s %10s\n' records sheets "wall (s)" "per sheet (ms)" "peak (MB)" "PDF (MB)"
for n in "${counts[@]}"; do
  dir="$work/s$n"
  mkdir -p "$dir"
  cp "$root"/examples/label/* "$dir/"
  {
    head -n 1 "$root/examples/addresses.csv"
    tail -n +2 "$root/examples/addresses.csv" | awk -v n="$n" '{ line[NR] = $0 } END { for (i = 0; i < n; i++) print line[i % NR + 1] }'
  } > "$dir/addresses.csv"
  # The list beside the settings, and the 3 x 8 sheet (the INI's lines end in CR LF).
  sed -i -e 's|^CSVNAME=\.\./addresses\.csv|CSVNAME=addresses.csv|' \
         -e 's|^COL=.*|COL=3\r|' -e 's|^ROW=.*|ROW=8\r|' \
         -e 's|^TOPSP=.*|TOPSP=85\r|' -e 's|^BOTSP=.*|BOTSP=85\r|' -e 's|^LEFSP=.*|LEFSP=85\r|' -e 's|^RIGSP=.*|RIGSP=85\r|' \
         -e 's|^TATESP=.*|TATESP=20\r|' -e 's|^YOKOSP=.*|YOKOSP=20\r|' "$dir/POSTCSV.INI"
  /usr/bin/time -v "$program" label --settings "$dir" --output "$work/out$n.pdf" 2> "$work/time$n.txt" ||
    { cat "$work/time$n.txt" >&2; exit 1; }
  wall=$(awk -F': ' '/Elapsed \(wall clock\)/ { n = split($2, t, ":"); s = 0; for (i = 1; i <= n; i++) s = s * 60 + t[i]; print s }' "$work/time$n.txt")
  rss=$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$work/time$n.txt")
  pages=$(pdfinfo "$work/out$n.pdf" | awk '/^Pages:/ { print $2 }')
  size=$(stat -c %s "$work/out$n.pdf")
  expected=$(( (n + 23) / 24 ))
  [ "$pages" = "$expected" ] || { echo "expected $expected sheets, the PDF has $pages" >&2; cat "$work/time$n.txt" >&2; exit 1; }
  awk -v n="$n" -v p="$pages" -v w="$wall" -v r="$rss" -v s="$size" \
    'BEGIN { printf "%8d %8d %10.2f %14.2f %12.1f %10.1f\n", n, p, w, w * 1000 / p, r / 1024, s / 1048576 }'
done
