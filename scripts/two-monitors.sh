# Sourced after wine-env.sh: an X display on which Wine sees several monitors, by default two:
# 800 x 600 (primary) and 640 x 480 right of it, top-aligned, with a gap below the second. Xvfb alone always gives Wine one
# monitor; Xephyr's Xinerama heads give two once Wine is told not to ask RandR. Xephyr runs inside
# the Xvfb that DISPLAY names (one is started when none is set) and is left at 0,0 by Xinerama
# whatever offsets it is given, so this is the one arrangement a test can have here.

# Starts Xephyr and points DISPLAY at it, with the monitors' sizes given (800x600 640x480 when none
# are). False, with a message, when it does not come up.
two_monitors_start() {
  local sizes=("$@") screens=() size
  [ $# -gt 0 ] || sizes=(800x600 640x480)
  for size in "${sizes[@]}"; do screens+=(-screen "$size"); done
  if [ -z "${DISPLAY:-}" ] && ! wine_env_start_display; then
    echo "no Xvfb for Xephyr to run in" >&2; return 1
  fi
  local n
  for n in $(seq 121 150); do
    [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] || break
  done
  Xephyr :$n "${screens[@]}" +xinerama -noreset -nolisten tcp \
    >"$RUBBLIT_WINE_ROOT.xephyr.log" 2>&1 &
  RUBBLIT_XEPHYR_PID=$!
  for _ in $(seq 100); do
    if xdpyinfo -display :$n >/dev/null 2>&1; then
      RUBBLIT_HOST_DISPLAY=$DISPLAY
      export DISPLAY=:$n
      return 0
    fi
    kill -0 "$RUBBLIT_XEPHYR_PID" 2>/dev/null || break
    sleep 0.1
  done
  echo "Xephyr did not start on :$n (see $RUBBLIT_WINE_ROOT.xephyr.log)" >&2
  kill "$RUBBLIT_XEPHYR_PID" 2>/dev/null
  unset RUBBLIT_XEPHYR_PID
  return 1
}

# After wine_env_start_wine on the Xephyr display: Wine takes its monitors from Xinerama. False when
# the prefix does not restart.
two_monitors_prefix() {
  timeout 60 "$RUBBLIT_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v UseXRandR /t REG_SZ /d N /f \
    >/dev/null 2>&1 </dev/null || return 1
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
  wineserver -p >/dev/null 2>&1 </dev/null
  timeout 60 "$RUBBLIT_WINE" wineboot >/dev/null 2>&1 </dev/null
}

two_monitors_stop() {
  if [ -n "${RUBBLIT_XEPHYR_PID:-}" ]; then kill "$RUBBLIT_XEPHYR_PID" 2>/dev/null || true; fi
  unset RUBBLIT_XEPHYR_PID
  if [ -n "${RUBBLIT_HOST_DISPLAY:-}" ]; then export DISPLAY=$RUBBLIT_HOST_DISPLAY; unset RUBBLIT_HOST_DISPLAY; fi
}
