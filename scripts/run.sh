#!/usr/bin/env bash
# Runs the screen saver under Wine, the way Windows starts it (/s), or its settings dialog (/c).
# Usage: scripts/run.sh [--settings] [picture folder]
#   With a folder, the saver shows its pictures full screen at speed 3; without, it melts the desktop.
#   With no X display, it starts an Xvfb, lets the saver run for a while and saves a screenshot
#   every 3 s (build/run-*.png) instead. RUBBLIT_RUN_SECONDS sets how long (default 30: one
#   build-up and collapse of the desktop at the default speed).
#   --settings opens the settings dialog instead, listing the folder's pictures; with no X display
#   it saves a screenshot of it (build/run-settings.png) and presses its "ｷｬﾝｾﾙ" button.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${RUBBLIT_BUILD:-$root/build}
mode=saver
if [ "${1:-}" = "--settings" ]; then mode=settings; shift; fi
folder=${1:-}

bash "$root/scripts/install-deps.sh" || exit 1
mkdir -p "$build"
# The 32-bit build, unless this machine's kernel cannot run 32-bit programs.
arch=i686 winearch=win32
if ! wine --version >/dev/null 2>&1; then
  arch=x86_64 winearch=win64
  echo "This machine cannot run 32-bit programs: the 64-bit build runs instead." >&2
fi
if [ ! -f "$build/$arch/bin/rubblit.scr" ] || [ -n "$(find "$root" -newer "$build/$arch/bin/rubblit.scr" \
     \( -name '*.cpp' -o -name '*.h' -o -name '*.rc' -o -name CMakeLists.txt \) -not -path "$build/*" | head -n 1)" ]; then
  cmake -S "$root" -B "$build/$arch" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-$arch.cmake" >/dev/null || exit 1
  cmake --build "$build/$arch" -j "$(nproc)" --target rubblit >/dev/null || exit 1
fi

export RUBBLIT_WINE_ROOT=$build/wine-run
RUBBLIT_WINEARCH=$winearch
source "$root/scripts/wine-env.sh"
had_display=${DISPLAY:-}
wine_env_start_display || exit 1
trap wine_env_stop EXIT
if [ ! -d "$WINEPREFIX/drive_c" ]; then
  wine_env_start_wine || { echo "$RUBBLIT_WINE_PROBLEM" >&2; exit 1; }
else
  wineserver -p >/dev/null 2>&1
fi

# The saver reads Rubblit.ini beside itself: give it a folder of its own.
app=$WINEPREFIX/drive_c/rubblit
mkdir -p "$app"
cp "$build/$arch/bin/rubblit.scr" "$app/"
rm -f "$app/Rubblit.ini"
if [ -n "$folder" ]; then
  winfolder=$("$RUBBLIT_WINE" winepath -w "$(cd "$folder" && pwd)" 2>/dev/null)
  # Full screen, at the fastest speed the dialog offers: at the default one a picture takes half a minute.
  printf '[Section]\r\n画像のｻｲｽﾞ=1\r\n画像のﾌｫﾙﾀﾞ=%s\r\n速さ=3\r\n' "$winfolder" | iconv -f UTF-8 -t CP932 > "$app/Rubblit.ini"
fi

if [ "$mode" = settings ]; then
  if [ -n "$had_display" ]; then
    echo "The settings dialog is open on $DISPLAY; \"設定\" saves into $app/Rubblit.ini."
    "$RUBBLIT_WINE" "$app/rubblit.scr" /c
    exit 0
  fi
  "$RUBBLIT_WINE" "$app/rubblit.scr" /c &
  dialog=$!
  for _ in $(seq 100); do xdotool search --name 'Rubblitの設定' >/dev/null 2>&1 && break; sleep 0.1; done
  sleep 2
  import -window root -depth 8 "$build/run-settings.png" 2>/dev/null
  # "ｷｬﾝｾﾙ" lies at (486, 328) in the client area of the centred 557 x 412 window, whose frame
  # Wine draws 3 pixels wide under a 22-pixel caption.
  read -r width height < <(xdpyinfo | awk '/dimensions:/ {split($2, s, "x"); print s[1], s[2]}')
  xdotool mousemove $(( (width - 557) / 2 + 3 + 486 )) $(( (height - 412) / 2 + 22 + 328 )) click 1
  for _ in $(seq 100); do kill -0 "$dialog" 2>/dev/null || break; sleep 0.1; done
  kill "$dialog" 2>/dev/null && echo "the dialog did not close on its cancel button" >&2
  echo "Screenshot of the settings dialog: $build/run-settings.png"
elif [ -n "$had_display" ]; then
  echo "The saver runs on $DISPLAY; a key, a click or a diagonal mouse move ends it."
  "$RUBBLIT_WINE" "$app/rubblit.scr" /s
else
  # Something to melt: a colourful desktop instead of the bare black root window.
  size=$(xdpyinfo | awk '/dimensions:/ {print $2}')
  convert -size "$size" plasma:'#3070c0'-'#f0c040' -blur 0x2 "$build/run-desktop.png" 2>/dev/null &&
    display -window root "$build/run-desktop.png" 2>/dev/null
  "$RUBBLIT_WINE" "$app/rubblit.scr" /s &
  saver=$!
  seconds=${RUBBLIT_RUN_SECONDS:-30}
  shots=$(( (seconds + 2) / 3 ))
  rm -f "$build"/run-[0-9]*.png
  for i in $(seq 1 "$shots"); do
    sleep 3
    import -window root "$build/run-$i.png" 2>/dev/null
  done
  # Ends it as a user would: the first movement is only recorded, a diagonal one ends the saver.
  xdotool mousemove 200 200; sleep 0.5; xdotool mousemove 400 350
  for _ in $(seq 50); do kill -0 "$saver" 2>/dev/null || break; sleep 0.1; done
  kill "$saver" 2>/dev/null && echo "the saver did not end on mouse movement" >&2
  echo "Screenshots of the running saver: $build/run-1.png .. run-$shots.png"
fi
