#!/usr/bin/env bash
# Starts a CUPS scheduler (when none runs) and adds the virtual test printer that the
# printing tests use. Prints the printer's name. Idempotent.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
SUDO=()
if [ "$(id -u)" -ne 0 ]; then SUDO=(sudo); fi
NAME=${TOVALIN_TEST_PRINTER:-TovalinTest}

if ! lpstat -r 2>/dev/null | grep -q 'is running'; then
  "${SUDO[@]}" /usr/sbin/cupsd
  for _ in $(seq 1 50); do
    lpstat -r 2>/dev/null | grep -q 'is running' && break
    sleep 0.1
  done
fi

ppd="$root/tests/data/TovalinTest.ppd"
[ -f "$ppd" ] || ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
if ! lpstat -p "$NAME" >/dev/null 2>&1 || [ "$ppd" -nt /etc/cups/ppd/"$NAME".ppd ]; then
  "${SUDO[@]}" lpadmin -p "$NAME" -v cups-pdf:/ -P "$ppd" -E
fi
echo "$NAME"
