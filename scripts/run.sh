#!/usr/bin/env bash
# Builds the 64-bit program and starts it under Wine in a world of its own
# (build/run-env: a Wine prefix, a private CUPS server with one printer
# queue, and stand-in Ghostscript files so the start-up search succeeds).
# Never touches ~/.wine, the machine's printers or its CUPS server.
#
# With $DISPLAY set, the tool opens there and the script waits until it is
# closed. Without one, it runs on a private X server: the script saves a
# screenshot of the main window and closes the tool again. Either way the
# screenshot's path is printed (build/screenshot-main.png).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

bash scripts/install-deps.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j "$(nproc)"

tool="$root/build/win64/bin/QuorvinConfig.exe"
helper="$root/build/win64/tests/e2e/qv_window.exe"
shot="$root/build/screenshot-main.png"
caption="Quorvin PDF - Configuration Tool"
printer="Office_PS"  # CUPS queue names cannot contain blanks

user_display=${DISPLAY:-}
source scripts/wine-env.sh
envdir="$root/build/run-env"
qv_env_init "$envdir"
trap qv_env_cleanup EXIT

qv_start_cups
qv_add_printer "$printer"
lpadmin -d "$printer"
if [ -n "$user_display" ]; then
  export DISPLAY=$user_display
else
  qv_start_xvfb
fi

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "Preparing the Wine prefix in $WINEPREFIX (once)..."
  qv_make_prefix
fi
qv_start_wineserver
# The windows' fonts: MS Sans Serif is one of Wine's bitmap fonts, and
# Arial Narrow (the About window's credit) is missing from Wine.
cp -n /usr/share/wine/fonts/*.fon "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
  /v 'Arial Narrow' /t REG_SZ /d 'Nimbus Sans Narrow' /f >/dev/null 2>&1 || true

# Stand-in Ghostscript files where the tool finds them, unless the user has
# already chosen other ones.
gsdir="$WINEPREFIX/drive_c/gs/gs8.50/bin"
settings='HKLM\SOFTWARE\Hollisfield\Quorvin PDF\1.01'
if ! wine reg query "$settings" /v GS_DLL /reg:32 >/dev/null 2>&1; then
  mkdir -p "$gsdir"
  touch "$gsdir/gswin32c.exe" "$gsdir/gsdll32.dll"
  wine reg add "$settings" /v GS_DLL /t REG_SZ /d 'C:\gs\gs8.50\bin\gsdll32.dll' /reg:32 /f >/dev/null
  wine reg add "$settings" /v GSWIN32C /t REG_SZ /d 'C:\gs\gs8.50\bin\gswin32c.exe' /reg:32 \
    /f >/dev/null
fi

wine "$tool" &
tool_pid=$!
if wine "$helper" wait "$caption" 60; then
  sleep 1  # let it paint
  import -display "$DISPLAY" -window root "$shot"
  echo "Screenshot of the main window: $shot"
else
  echo "The main window did not appear (a start-up question may be waiting)." >&2
fi

if [ -n "$user_display" ]; then
  echo "The tool runs on $DISPLAY; close it to end this script."
  wait "$tool_pid" || true
else
  wine "$helper" close "$caption" || true
  wait "$tool_pid" || true
fi
