#!/usr/bin/env bash
# Installs what is missing, builds, and starts Tovalin.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
"$root/scripts/deps.sh"
targets=(tovalin)
# The batch printer is built along when its sources are in the tree.
if compgen -G "$root/src/cli/*.cpp" >/dev/null; then
  targets+=(tovalin-print)
fi
"$root/scripts/build.sh" --target "${targets[@]}"
exec "${TOVALIN_BUILD_DIR:-$root/build}/src/tovalin" "$@"
