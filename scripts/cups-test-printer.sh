#!/usr/bin/env bash
# Starts a CUPS scheduler (when none runs) and adds the virtual test printer that the
# printing tests use: a cups-pdf queue with our own PPD (tests/data/TovalinTest.ppd:
# postcard and A4 paper, two trays). Prints the printer's name. Idempotent: the queue is
# (re)made only when it is missing or its PPD differs from ours.
#
# cups-pdf writes each job as "<title>-job_<id>.pdf" into the "Out" folder of
# /etc/cups/cups-pdf.conf, on Debian ${HOME}/PDF of the user who submitted the job
# (/root/PDF for root); jobs of users without an account go to /var/spool/cups-pdf/ANONYMOUS.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
SUDO=()
if [ "$(id -u)" -ne 0 ]; then SUDO=(sudo); fi
NAME=${TOVALIN_TEST_PRINTER:-TovalinTest}
PPD="$root/tests/data/TovalinTest.ppd"

scheduler_up() { lpstat -r 2>/dev/null | grep -q 'is running'; }

if ! scheduler_up; then
  "${SUDO[@]}" mkdir -p /run/cups
  "${SUDO[@]}" /usr/sbin/cupsd
  for _ in $(seq 1 100); do
    scheduler_up && break
    sleep 0.1
  done
  if ! scheduler_up; then
    echo "cups-test-printer: the CUPS scheduler did not start" >&2
    exit 1
  fi
fi

installed=/etc/cups/ppd/"$NAME".ppd
if ! lpstat -p "$NAME" >/dev/null 2>&1 || ! "${SUDO[@]}" cmp -s "$PPD" "$installed"; then
  "${SUDO[@]}" lpadmin -p "$NAME" -D "Tovalin test printer" -v cups-pdf:/ -P "$PPD" -E \
    2> >(grep -v 'Printer drivers are deprecated' >&2)
fi
# abort-job: a failing job ends at once instead of being retried until a test times out.
# pdftocairo makes the PostScript for cups-pdf with real fonts, so the text of a job can be
# read back from its PDF (Ghostscript's own conversion leaves Type 3 glyphs without text);
# it writes the page size in whole points (283.46 x 419.53 becomes 284 x 420).
"${SUDO[@]}" lpadmin -p "$NAME" -o printer-error-policy=abort-job -o pdftops-renderer-default=pdftocairo
# A queue left disabled or rejecting by an earlier failure is put back to work.
"${SUDO[@]}" cupsenable "$NAME"
"${SUDO[@]}" cupsaccept "$NAME"
echo "$NAME"
