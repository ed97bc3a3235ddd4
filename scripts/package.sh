#!/usr/bin/env bash
# Builds the Debian package of Tovalin with CPack and checks it:
#   - a build of its own for /usr (build-package/, or $TOVALIN_PACKAGE_DIR), without tests;
#   - dependencies from the shared libraries the programs link (dpkg-shlibdeps), plus the IPA
#     fonts, glabels-data and the CUPS client;
#   - desktop-file-validate and appstreamcli validate --no-net on the files in the package,
#     and its file list: every file under /usr, nothing missing.
# Prints the package's path last. Install it with:  apt install ./build-package/tovalin_*.deb
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${TOVALIN_PACKAGE_DIR:-$root/build-package}
"$root/scripts/deps.sh"

if [ ! -f "$out/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$out" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr -DTOVALIN_TESTS=OFF >/dev/null
fi
cmake --build "$out" --parallel "$(nproc)" > "$out/build.log" 2>&1 || { tail -50 "$out/build.log"; exit 1; }
rm -f "$out"/tovalin_*.deb
(cd "$out" && cpack -G DEB > cpack.log 2>&1) || { cat "$out/cpack.log"; exit 1; }
deb=$(ls "$out"/tovalin_*.deb)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "package: $*" >&2; failures=$((failures + 1)); }

dpkg-deb --contents "$deb" | awk '{ print $NF }' | sed 's|^\./||' > "$work/files"
dpkg-deb --extract "$deb" "$work/root"
id=org.tovalin.Tovalin
expected=(
  usr/bin/tovalin usr/bin/tovalin-print usr/libexec/tovalin/tovalin-emf2svg
  "usr/share/applications/$id.desktop" "usr/share/metainfo/$id.metainfo.xml"
  "usr/share/icons/hicolor/scalable/apps/$id.svg" "usr/share/icons/hicolor/48x48/apps/$id.png"
  "usr/share/icons/hicolor/256x256/apps/$id.png"
  usr/share/man/man1/tovalin-print.1.gz usr/share/man/ja/man1/tovalin-print.1.gz
  usr/share/tovalin/examples/addresses.csv
)
for f in "${expected[@]}"; do
  grep -qx "$f" "$work/files" || fail "missing $f"
done
# Nothing outside /usr (folders listed as "dir/").
grep -v '^usr/' "$work/files" | grep -v '^$' && fail "files outside /usr"
desktop-file-validate "$work/root/usr/share/applications/$id.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$work/root/usr/share/metainfo/$id.metainfo.xml" || fail "appstreamcli validate"

depends=$(dpkg-deb --field "$deb" Depends)
for d in libqt6widgets6 libqt6gui6 libqt6svg6 libharfbuzz0b libjpeg62-turbo libcups2 libemf2svg1 \
         fonts-ipafont-gothic fonts-ipafont-mincho fonts-ipamj-mincho glabels-data cups-client; do
  [[ ", $depends," == *", $d"[\ ,]* ]] || fail "Depends lacks $d: $depends"
done

echo "Depends: $depends"
echo "Files:"
grep -v '/$' "$work/files" | sed 's|^|  /|'
[ "$failures" -eq 0 ] || { echo "package: $failures check(s) failed" >&2; exit 1; }
echo "$deb"
