#!/usr/bin/env bash
# Printer scenarios: each prepares CUPS queues, then runs the printer test
# in a new process (Wine syncs its printers with CUPS when winspool loads).
# They get a cupsd and a copy of the base prefix of their own, so they can
# run beside the other Wine tests.
#   printers.sh TEST_EXE WINE_ENV_SH     (QV_BASE_PREFIX from scripts/test.sh)
set -euo pipefail
exe=$1
source "$2"
: "${QV_BASE_PREFIX:?QV_BASE_PREFIX must name a ready Wine prefix}"
base=$QV_BASE_PREFIX

dir=$(mktemp -d "${TMPDIR:-/tmp}/qv-printers.XXXXXX")
qv_env_init "$dir"
trap 'qv_env_cleanup; rm -rf "$dir"' EXIT
qv_start_cups
cp -a "$base" "$WINEPREFIX"
qv_start_wineserver >/dev/null 2>&1 </dev/null

scenario() {
  echo "== $1"
  QV_EXPECTED_PRINTERS=$2 wine "$exe" --gtest_filter='PrinterScenario.*' --gtest_brief=1
}

qv_add_printer Office_PS
qv_add_printer Lab-Color
lpadmin -d Lab-Color
scenario "two queues, one the default" "Lab-Color,Office_PS"

# A default cannot be unset with lpadmin -d; removing the queues clears it.
lpadmin -x Office_PS
lpadmin -x Lab-Color
qv_add_printer Alpha
qv_add_printer beta
if lpstat -d | grep -q 'system default destination:'; then
  echo "CUPS still has a default printer" >&2
  exit 1
fi
scenario "two queues, no default" "Alpha,beta"

lpadmin -x Alpha
lpadmin -x beta
scenario "no queues" ""
