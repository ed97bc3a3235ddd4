#!/usr/bin/env bash
# Installs what is missing, builds, and starts Tovalin.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
"$root/scripts/deps.sh"
"$root/scripts/build.sh" --target tovalin tovalin-print
exec "${TOVALIN_BUILD_DIR:-$root/build}/src/tovalin" "$@"
