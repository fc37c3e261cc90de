# Sourced by the test and run scripts: one Wine prefix and one Xvfb display for the whole run.
# Expects RUBBLIT_WINE_ROOT (a folder for prefixes) and RUBBLIT_WINEARCH (win32 or win64).

export LC_ALL=ja_JP.UTF-8          # ANSI code page 932, as on Japanese Windows
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="   # no Mono or Gecko installer prompts
export WINEARCH=${RUBBLIT_WINEARCH:-win32}
export WINEPREFIX=${RUBBLIT_WINE_ROOT:?}/prefix-$WINEARCH
# Debian's wine command starts the 32-bit loader whenever it is installed, and a kernel without its
# 32-bit emulation cannot run that: a 64-bit prefix is driven by the 64-bit loader itself.
if [ "$WINEARCH" = win64 ] && [ -x /usr/lib/wine/wine64 ]; then
  export RUBBLIT_WINE=/usr/lib/wine/wine64 WINELOADER=/usr/lib/wine/wine64
else
  export RUBBLIT_WINE=wine
  unset WINELOADER
fi

# Whether this machine runs 32-bit programs at all; some kernels are built or booted without it.
wine_env_runs_32bit() { wine --version >/dev/null 2>&1; }

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
# seconds) and no crash dialog (it would hang the run). On failure RUBBLIT_WINE_PROBLEM says what.
wine_env_start_wine() {
  if [ "$WINEARCH" = win32 ] && ! wine --version >/dev/null 2>&1; then
    RUBBLIT_WINE_PROBLEM="Wine's 32-bit loader does not run on this machine (its kernel runs no 32-bit programs?)"
    return 1
  fi
  WINEPREFIX=$WINEPREFIX wineserver -k >/dev/null 2>&1 || true
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  wineserver -p >/dev/null 2>&1 </dev/null
  if ! timeout 180 "$RUBBLIT_WINE" wineboot -i >/dev/null 2>&1 </dev/null; then
    RUBBLIT_WINE_PROBLEM="wineboot could not make the prefix $WINEPREFIX"
    return 1
  fi
  timeout 60 "$RUBBLIT_WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
    >/dev/null 2>&1 </dev/null
  # The first boot of a prefix leaves a second services.exe behind, which keeps RpcSs from starting
  # and makes each program's first window wait 10 s for the desktop. A clean restart has one.
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
  wineserver -p >/dev/null 2>&1 </dev/null
  timeout 60 "$RUBBLIT_WINE" wineboot >/dev/null 2>&1 </dev/null || { RUBBLIT_WINE_PROBLEM="the Wine prefix $WINEPREFIX did not restart"; return 1; }
}

wine_env_stop() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "${RUBBLIT_XVFB_PID:-}" ]; then kill "$RUBBLIT_XVFB_PID" 2>/dev/null || true; fi
}
