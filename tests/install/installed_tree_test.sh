#!/usr/bin/env bash
# The installed tree: `cmake --install` of the build into a temporary prefix holds the
# programs, the desktop entry, the icon, the AppStream metadata, the manual pages and the
# examples; the desktop entry and the metadata pass their validators; the installed programs
# work from another folder without the source tree, and an installed tovalin keeps its
# settings in ~/.config/Tovalin/.
#     installed_tree_test.sh BUILD_DIR VERSION
set -uo pipefail
build=$1
version=$2
tests=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

cmake --install "$build" --prefix "$prefix" > "$work/install.log" 2>&1 || { cat "$work/install.log"; exit 1; }

id=org.tovalin.Tovalin
desktop=$prefix/share/applications/$id.desktop
metainfo=$prefix/share/metainfo/$id.metainfo.xml
for f in bin/tovalin bin/tovalin-print "share/applications/$id.desktop" "share/metainfo/$id.metainfo.xml" \
         "share/icons/hicolor/scalable/apps/$id.svg" share/man/man1/tovalin-print.1.gz \
         share/man/ja/man1/tovalin-print.1.gz share/tovalin/examples/addresses.csv \
         share/tovalin/examples/postcard/POSTCSV.INI share/tovalin/examples/label/POSTCSV.INI; do
  [ -s "$prefix/$f" ] || fail "missing $f"
done
for f in bin/tovalin bin/tovalin-print libexec/tovalin/tovalin-emf2svg; do
  [ -x "$prefix/$f" ] || fail "$f is not executable"
done
for size in 16 22 24 32 48 64 128 256; do
  png=$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png
  file "$png" | grep -q "PNG image data, $size x $size" || fail "icon $size: $(file "$png")"
done

desktop-file-validate "$desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$metainfo" > "$work/appstream.log" 2>&1 || { cat "$work/appstream.log"; fail "appstreamcli validate"; }
grep -q "^Exec=tovalin$" "$desktop" || fail "the desktop entry does not start tovalin"
grep -q "^Icon=$id$" "$desktop" || fail "the desktop entry names another icon"
grep -q "^Name\[ja\]=" "$desktop" && grep -q "^Comment\[ja\]=" "$desktop" || fail "no Japanese name or comment"
grep -q "^Categories=.*Office;" "$desktop" || fail "not in Office"
grep -q "<release version=\"$version\"" "$metainfo" || fail "metainfo release is not $version"
for page in share/man/man1/tovalin-print.1.gz share/man/ja/man1/tovalin-print.1.gz; do
  zcat "$prefix/$page" | grep -q "^\.TH TOVALIN-PRINT 1 .*\"Tovalin $version\"" || fail "$page: no title line for $version"
  zcat "$prefix/$page" | grep -qF -- '\-\-sheet' || fail "$page does not describe --sheet"
done

# The installed programs, started from elsewhere, need nothing of the source or build tree.
cd "$work"
[ "$("$prefix/bin/tovalin-print" --version)" = "tovalin-print $version" ] || fail "tovalin-print --version"
[ "$("$prefix/bin/tovalin" --version)" = "tovalin $version" ] || fail "tovalin --version"
cp -r "$prefix/share/tovalin/examples" "$work/examples"
chmod -R u+w "$work/examples"
"$prefix/bin/tovalin-print" label --settings "$work/examples/label" --output "$work/labels.pdf" 2> "$work/print.log" ||
  { cat "$work/print.log"; fail "the installed tovalin-print could not print the installed example"; }
pdfinfo "$work/labels.pdf" 2>/dev/null | grep -q "^Pages: *3$" || fail "the example's labels are not 3 pages"
# An EMF stamp is converted by the installed helper (libexec/tovalin): nothing to report.
cp "$tests/fuzz/corpus/emf/rectangle.emf" "$work/examples/postcard/stamp.emf"
sed -i 's/^IMGPATH=nenga.jpg/IMGPATH=stamp.emf/' "$work/examples/postcard/POSTCSV.INI"
"$prefix/bin/tovalin-print" postcard --settings "$work/examples/postcard" --record 1 --output "$work/card.pdf" \
  2> "$work/emf.log" || fail "the installed tovalin-print could not print a card with an EMF stamp"
[ ! -s "$work/emf.log" ] || { cat "$work/emf.log"; fail "the installed tovalin-print did not convert the EMF stamp"; }

# An installed tovalin writes its settings into the user's folder, never beside itself, even
# where it could write there.
mkdir -p "$work/home"
HOME=$work/home XDG_CONFIG_HOME=$work/home/.config QT_QPA_PLATFORM=offscreen "$prefix/bin/tovalin" > "$work/tovalin.log" 2>&1 &
pid=$!
for _ in $(seq 1 100); do
  [ -s "$work/home/.config/Tovalin/POSTCSV.INI" ] && break
  sleep 0.1
done
kill "$pid" 2>/dev/null
wait "$pid" 2>/dev/null
[ -s "$work/home/.config/Tovalin/POSTCSV.INI" ] || { cat "$work/tovalin.log"; fail "no ~/.config/Tovalin/POSTCSV.INI"; }
[ ! -e "$prefix/bin/POSTCSV.INI" ] || fail "settings written beside the installed program"

if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "installed tree: all checks passed"
