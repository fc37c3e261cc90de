# Sourced by the test and run scripts: one Wine prefix and one Xvfb display for the whole run.
# Expects RUBBLIT_WINE_ROOT (a folder for prefixes) and RUBBLIT_WINEARCH (win32 or win64).

export LC_ALL=ja_JP.UTF-8          # ANSI code page 932, as on Japanese Windows
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="   # no Mono or Gecko installer prompts
export WINEARCH=${RUBBLIT_WINEARCH:-win32}
export WINEPREFIX=${RUBBLIT_WINE_ROOT:?}/prefix-$WINEARCH

# Starts an Xvfb unless a display is already set; RUBBLIT_SCREEN is its size, e.g. 1024x768.
wine_env_start_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
  local n
  for n in $(seq 91 120); do
    [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] || break
  done
  # -noreset: otherwise the root window turns black whenever the last client leaves.
  Xvfb :$n -screen 0 "${RUBBLIT_SCREEN:-1024x768}x24" -noreset -nolisten tcp >"$RUBBLIT_WINE_ROOT.xvfb.log" 2>&1 &
  RUBBLIT_XVFB_PID=$!
  export DISPLAY=:$n
  for _ in $(seq 100); do
    xdpyinfo >/dev/null 2>&1 && return 0
    kill -0 "$RUBBLIT_XVFB_PID" 2>/dev/null || break
    sleep 0.1
  done
  echo "Xvfb did not start on :$n (see $RUBBLIT_WINE_ROOT.xvfb.log)" >&2
  kill "$RUBBLIT_XVFB_PID" 2>/dev/null
  unset DISPLAY RUBBLIT_XVFB_PID
  return 1
}

# A fresh prefix per run, a persistent wineserver (so that each process costs milliseconds, not
# seconds) and no crash dialog (it would hang the run).
wine_env_start_wine() {
  WINEPREFIX=$WINEPREFIX wineserver -k >/dev/null 2>&1 || true
  # A test that makes folders unchangeable (chattr +i) and is killed before it undoes it leaves them behind.
  [ -d "$WINEPREFIX" ] && chattr -R -i "$WINEPREFIX/drive_c/users" >/dev/null 2>&1 || true
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  wineserver -p >/dev/null 2>&1 </dev/null
  if ! timeout 180 wineboot -i >/dev/null 2>&1 </dev/null; then
    echo "wineboot could not make the prefix $WINEPREFIX" >&2
    return 1
  fi
  timeout 60 wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
    >/dev/null 2>&1 </dev/null
  # The first boot of a prefix leaves a second services.exe behind, which keeps RpcSs from starting
  # and makes each program's first window wait 10 s for the desktop. A clean restart has one.
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
  wineserver -p >/dev/null 2>&1 </dev/null
  timeout 60 wineboot >/dev/null 2>&1 </dev/null || { echo "the Wine prefix $WINEPREFIX did not restart" >&2; return 1; }
}

wine_env_stop() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "${RUBBLIT_XVFB_PID:-}" ]; then kill "$RUBBLIT_XVFB_PID" 2>/dev/null || true; fi
}
