#!/usr/bin/env bash
# Starts a CUPS scheduler (when none runs) and adds the virtual test printers that the
# printing tests use: cups-pdf queues with our own PPDs. "TovalinTest" (or
# $TOVALIN_TEST_PRINTER; tests/data/TovalinTest.ppd: postcard and A4 paper, two trays) is
# the one most tests print on; "TovalinTestNoPostcard" (or
# $TOVALIN_TEST_PRINTER_NO_POSTCARD; tests/data/TovalinTestNoPostcard.ppd) has no postcard
# paper at all. Prints the first printer's name. Idempotent: a queue is (re)made only when
# it is missing or its PPD differs from ours, so tests running on it are not disturbed.
#
# cups-pdf writes each job as "<title>-job_<id>.pdf" into the "Out" folder of
# /etc/cups/cups-pdf.conf, on Debian ${HOME}/PDF of the user who submitted the job
# (/root/PDF for root); jobs of users without an account go to /var/spool/cups-pdf/ANONYMOUS.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
SUDO=()
if [ "$(id -u)" -ne 0 ]; then SUDO=(sudo); fi
NAME=${TOVALIN_TEST_PRINTER:-TovalinTest}
NO_POSTCARD=${TOVALIN_TEST_PRINTER_NO_POSTCARD:-TovalinTestNoPostcard}

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

# make_queue NAME PPD DESCRIPTION
make_queue() {
  local name=$1 ppd=$2 description=$3
  local installed=/etc/cups/ppd/"$name".ppd
  if ! lpstat -p "$name" >/dev/null 2>&1 || ! "${SUDO[@]}" cmp -s "$ppd" "$installed"; then
    "${SUDO[@]}" lpadmin -p "$name" -D "$description" -v cups-pdf:/ -P "$ppd" -E \
      2> >(grep -v 'Printer drivers are deprecated' >&2)
  fi
  # abort-job: a failing job ends at once instead of being retried until a test times out.
  # pdftocairo makes the PostScript for cups-pdf with real fonts, so the text of a job can be
  # read back from its PDF (Ghostscript's own conversion leaves Type 3 glyphs without text);
  # it writes the page size in whole points (283.46 x 419.53 becomes 284 x 420).
  "${SUDO[@]}" lpadmin -p "$name" -o printer-error-policy=abort-job -o pdftops-renderer-default=pdftocairo
  # A queue left disabled or rejecting by an earlier failure is put back to work.
  "${SUDO[@]}" cupsenable "$name"
  "${SUDO[@]}" cupsaccept "$name"
}

make_queue "$NAME" "$root/tests/data/TovalinTest.ppd" "Tovalin test printer"
make_queue "$NO_POSTCARD" "$root/tests/data/TovalinTestNoPostcard.ppd" "Tovalin test printer without postcard paper"
echo "$NAME"
