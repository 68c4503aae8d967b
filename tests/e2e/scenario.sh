#!/usr/bin/env bash
# Runs end-to-end tests in a world of their own:
#   scenario.sh NAME ROOT TEST_EXE TOOL_EXE FILTER [--no-default] [--lang=LOCALE] [PRINTER...]
# ROOT/NAME receives a copy of the prepared Wine prefix ($QV_BASE_PREFIX),
# a private CUPS server with the given queues (the first one the default,
# unless --no-default leaves CUPS without a default destination; --lang
# runs Wine in that locale, and so in its code page),
# an X server and a wineserver of its own. The tests read pixels from the
# screen (icons, background, screenshots): Wine's virtual desktops of
# parallel scenarios would cover each other on one shared display.
# Screenshots the tests take land in ROOT/NAME as PNG files.
set -Eeuo pipefail
if [ $# -lt 5 ]; then
  echo "usage: $0 NAME ROOT TEST_EXE TOOL_EXE FILTER [PRINTER...]" >&2
  exit 2
fi
name=$1 root=$2 tests=$3 tool=$4 filter=$5
shift 5
set_default=1
locale=""
while [ $# -gt 0 ]; do
  case $1 in
    --no-default) set_default=0 ;;
    --lang=*) locale=${1#--lang=} ;;
    *) break ;;
  esac
  shift
done
here=$(cd "$(dirname "$0")" && pwd)
# A step that fails ends the scenario; say which, or the log shows nothing.
trap 'echo "FAIL: scenario.sh line $LINENO: \"$BASH_COMMAND\" exited $?" >&2' ERR

if ! command -v Xvfb >/dev/null; then
  echo "FAIL: no Xvfb; the end-to-end scenarios need an X server (scripts/install-deps.sh)" >&2
  exit 1
fi
if [ -z "${QV_BASE_PREFIX:-}" ] || [ ! -f "${QV_BASE_PREFIX}/system.reg" ]; then
  echo "FAIL: QV_BASE_PREFIX does not name a prepared Wine prefix (run scripts/test.sh)" >&2
  exit 1
fi

# shellcheck source=../../scripts/wine-env.sh
source "$here/../../scripts/wine-env.sh"
base=$QV_BASE_PREFIX
dir="$root/$name"
rm -rf "$dir"
qv_env_init "$dir"
trap qv_env_cleanup EXIT
qv_start_xvfb || { echo "FAIL: the X server did not start" >&2; exit 1; }

cp -a "$base" "$WINEPREFIX"
# The windows' font, MS Sans Serif, is one of Wine's bitmap fonts.
cp /usr/share/wine/fonts/*.fon "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
qv_start_cups
for printer in "$@"; do qv_add_printer "$printer"; done
if [ $# -gt 0 ] && [ "$set_default" = 1 ]; then lpadmin -d "$1"; fi
QV_CUPS_DEFAULT=$(lpstat -d 2>&1 || true)
export QV_CUPS_DEFAULT
echo "CUPS: $QV_CUPS_DEFAULT"
qv_start_wineserver
# The About window's credit line is set in Arial Narrow, which Wine lacks;
# the closest font of this machine stands in.
wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
  /v 'Arial Narrow' /t REG_SZ /d 'Nimbus Sans Narrow' /f >/dev/null 2>&1 || true
# So is the controls' TrueType face above 96 DPI, Microsoft Sans Serif: a
# face of its widths stands in, not Wine's wide fallback.
wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
  /v 'Microsoft Sans Serif' /t REG_SZ /d 'Nimbus Sans' /f >/dev/null 2>&1 || true

# An absolute Unix path as Windows programs see it: a new prefix maps Z: to
# the root. Worked out here rather than by winepath, one Wine start less
# per path, and nothing to fail under load.
windows_path() {
  local p
  p=$(realpath -m "$1")
  printf 'Z:%s\n' "${p//\//\\}"
}

# Installed where a user would install it: both programs in one folder.
installed="$WINEPREFIX/drive_c/Program Files/Quorvin PDF"
mkdir -p "$installed"
cp "$tool" "$installed/"
cp "$(dirname "$tool")/QuorvinConfigCmd.exe" "$installed/"
# The package's run program and distiller lie beside the tool; the console
# program checks for them.
: >"$installed/qvpdfrun.exe"
: >"$installed/QVPDFDistiller.exe"
QV_TOOL='C:\Program Files\Quorvin PDF\'$(basename "$tool")
QV_SHOTS=$(windows_path "$dir")
# Wine starts its virtual desktop (explorer.exe) and RPC service for the
# first program that loads the printing and shell libraries, and they keep
# that program's standard handles. Let the console program start them now,
# with nothing to keep, or a test reading its output would wait forever.
in_locale() {
  # Only the Windows programs run in it; the machine may lack the locale.
  if [ -n "$locale" ]; then LANG=$locale LC_ALL=$locale "$@"; else "$@"; fi
}
in_locale wine "$installed/QuorvinConfigCmd.exe" --help </dev/null >/dev/null 2>&1 || true
export QV_TOOL QV_SHOTS
# The port monitor's library in the system folder, as the package installs
# it (an empty 64-bit library), and a 32-bit one for gsdll32.dll.
if [ -n "${QV_STANDIN64_UNIX:-}" ]; then
  cp "$QV_STANDIN64_UNIX" "$WINEPREFIX/drive_c/windows/system32/quorvinmonnt.dll"
  QV_STANDIN64=$(windows_path "$QV_STANDIN64_UNIX")
  QV_STANDIN32=$(windows_path "$QV_STANDIN32_UNIX")
  export QV_STANDIN64 QV_STANDIN32
fi
# A console program that only sleeps, standing in for a slow NET.
if [ -n "${QV_SLOW_PROGRAM_UNIX:-}" ]; then
  QV_SLOW_PROGRAM=$(windows_path "$QV_SLOW_PROGRAM_UNIX")
  export QV_SLOW_PROGRAM
fi
# The output goes to a file, shown as it grows: a Wine process that inherits
# it then holds no pipe that this script would wait on.
run_tests() {
  rc=0
  : >"$dir/tests.log"
  in_locale wine "$tests" --gtest_filter="$filter" --gtest_color=no >"$dir/tests.log" 2>&1 &
  local pid=$!
  tail -f -n +1 --pid="$pid" "$dir/tests.log"
  wait "$pid" || rc=$?
}
run_tests
# A test program that ends before its first test ran none: Wine did not
# start it. That says nothing of the tool, so it gets one more start.
if [ "$rc" != 0 ] && ! grep -q '^\[==========\]' "$dir/tests.log"; then
  echo "The test program ended before its first test (exit $rc); starting it once more." >&2
  run_tests
fi

shopt -s nullglob
for bmp in "$dir"/*.bmp; do
  png="${bmp%.bmp}.png"
  if convert "$bmp" "$png" 2>/dev/null; then
    rm -f "$bmp"
    echo "screenshot: $png"
  fi
done
exit $rc
