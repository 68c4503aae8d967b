# Sourced by the run and test scripts: a private, throw-away Windows world
# under one folder. It never touches the user's ~/.wine, display or CUPS.
#
#   qv_env_init DIR        environment for Wine, CUPS and X under DIR
#   qv_start_cups          private cupsd listening on DIR/cups.sock
#   qv_start_xvfb          private X server; exports DISPLAY
#   qv_make_prefix         a fresh Wine prefix, ready for tests
#   qv_start_wineserver    a persistent wineserver (fast process starts)
#   qv_env_cleanup         stops everything started above
#
# CUPS_SERVER must be set before the prefix is made, or Wine imports the
# machine's own printer queues.

qv_env_init() {
  QV_ENV_DIR=$(mkdir -p "$1" && cd "$1" && pwd)
  export HOME="$QV_ENV_DIR/home"
  export XDG_CONFIG_HOME="$HOME/.config" XDG_CACHE_HOME="$HOME/.cache"
  export XDG_DATA_HOME="$HOME/.local/share" XDG_RUNTIME_DIR="$QV_ENV_DIR/xdg-runtime"
  export TMPDIR="$QV_ENV_DIR/tmp"
  export WINEPREFIX="$QV_ENV_DIR/prefix"
  export WINEARCH=win64 WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  export CUPS_SERVER="$QV_ENV_DIR/cups.sock"
  mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME" "$XDG_DATA_HOME" "$TMPDIR"
  mkdir -p -m 700 "$XDG_RUNTIME_DIR"
  QV_PIDS=()
}

qv_start_cups() {
  local d="$QV_ENV_DIR/cups"
  mkdir -p "$d"/{root,state,cache,spool,tmp,log,ppd}
  chmod 0755 "$d" "$d"/*
  cat >"$d/cups-files.conf" <<CONF
ServerRoot $d/root
StateDir $d/state
CacheDir $d/cache
RequestRoot $d/spool
TempDir $d/tmp
AccessLog $d/log/access_log
ErrorLog $d/log/error_log
PageLog $d/log/page_log
FileDevice Yes
User lp
Group lp
SystemGroup root
CONF
  cat >"$d/cupsd.conf" <<CONF
Listen $CUPS_SERVER
Browsing No
WebInterface No
DefaultAuthType None
LogLevel warn
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF
  cp -r /usr/share/cups/mime "$d/root/" 2>/dev/null || true
  chown -R lp "$d/spool" "$d/cache" "$d/state" "$d/tmp" "$d/log" 2>/dev/null || true
  cupsd -f -c "$d/cupsd.conf" -s "$d/cups-files.conf" &
  QV_CUPSD_PID=$!
  QV_PIDS+=("$QV_CUPSD_PID")
  local i
  for i in $(seq 1 100); do
    if [ -S "$CUPS_SERVER" ] && lpstat -r >/dev/null 2>&1; then return 0; fi
    sleep 0.1
  done
  echo "cupsd did not start; see $d/log/error_log" >&2
  return 1
}

# qv_add_printer NAME: a queue that prints to /dev/null.
qv_add_printer() {
  local out
  out=$(lpadmin -p "$1" -E -v file:///dev/null -m drv:///sample.drv/generic.ppd 2>&1) || {
    echo "$out" >&2
    return 1
  }
}

qv_start_xvfb() {
  local fdfile="$QV_ENV_DIR/xvfb.display"
  Xvfb -displayfd 9 -screen 0 "${QV_SCREEN:-1280x1024}x24" -nolisten tcp 9>"$fdfile" >/dev/null 2>&1 &
  QV_PIDS+=("$!")
  local i
  for i in $(seq 1 100); do
    if [ -s "$fdfile" ]; then
      export DISPLAY=":$(head -n1 "$fdfile")"
      return 0
    fi
    sleep 0.1
  done
  echo "Xvfb did not start" >&2
  return 1
}

qv_make_prefix() {
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w
  # A crash ends the program at once instead of waiting in a dialog.
  wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
    /v Debugger /t REG_SZ /d '' /f >/dev/null 2>&1
  # A virtual desktop: title bars in screenshots, and no 2 s wait per hide.
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d Default /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /t REG_SZ /d 1024x768 \
    /f >/dev/null 2>&1
  wineserver -w
  # Debian's Wine does not look in its own font folder. The .fon files
  # hold MS Sans Serif, the windows' font.
  cp /usr/share/wine/fonts/*.ttf /usr/share/wine/fonts/*.fon "$WINEPREFIX/drive_c/windows/Fonts/" \
    2>/dev/null || true
}

qv_start_wineserver() {
  wineserver -p
  # Start Wine's background services now, with no pipe to inherit: started
  # by the first program whose output a test runner captures, they would
  # keep that pipe open and the runner would wait until its time-out.
  wine cmd.exe /c exit >/dev/null 2>&1 </dev/null || true
}

qv_env_cleanup() {
  if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then wineserver -k 2>/dev/null || true; fi
  local pid
  for pid in "${QV_PIDS[@]:-}"; do
    [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  done
  for pid in "${QV_PIDS[@]:-}"; do
    [ -n "$pid" ] && wait "$pid" 2>/dev/null || true
  done
  QV_PIDS=()
}
