#!/usr/bin/env bash
# Makes the README's two pictures from the program itself, under Wine in an 800 x 600 Xvfb of its own:
#   docs/settings-dialog.png  the settings dialog (rubblit.scr /c) listing a folder of three pictures;
#   docs/melt.png             the saver (/s) half-way through the first picture's build-up.
# The pictures it shows and the desktop it starts from are drawn here with ImageMagick.
# Usage: scripts/screenshots.sh   (as root on Debian 12; builds what it needs into build/)
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${RUBBLIT_BUILD:-$root/build}
shots=$build/screenshots

bash "$root/scripts/install-deps.sh" || exit 1
# The 32-bit build, unless this machine's kernel cannot run 32-bit programs.
arch=i686 winearch=win32
if ! wine --version >/dev/null 2>&1; then arch=x86_64 winearch=win64; fi
mkdir -p "$build" "$shots"
cmake -S "$root" -B "$build/$arch" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-$arch.cmake" >/dev/null &&
  cmake --build "$build/$arch" -j "$(nproc)" --target rubblit >/dev/null || exit 1

unset DISPLAY
export RUBBLIT_WINE_ROOT=$build/wine-screenshots RUBBLIT_SCREEN=800x600
RUBBLIT_WINEARCH=$winearch
source "$root/scripts/wine-env.sh"
wine_env_start_display || exit 1
trap wine_env_stop EXIT
wine_env_start_wine || { echo "$RUBBLIT_WINE_PROBLEM" >&2; exit 1; }

app=$WINEPREFIX/drive_c/rubblit pictures=$WINEPREFIX/drive_c/pictures
mkdir -p "$app" "$pictures"
cp "$build/$arch/bin/rubblit.scr" "$app/"
# A landscape at evening, a night sky and a sea, as bitmaps of the screen's size: shown full screen, a
# picture's pixels are the file's own, and a screenshot tells how far its build-up has come.
convert -size 800x600 gradient:'#3a7bd5'-'#f9d976' -fill '#ffef9a' -draw 'circle 560,170 560,115' \
  -fill '#3d8b40' -draw 'ellipse 180,640 420,230 0,360' -fill '#1f5e2a' -draw 'ellipse 660,660 380,250 0,360' \
  "BMP3:$pictures/1 hills.bmp"
convert -size 800x600 gradient:'#0b1a3a'-'#5a2d6e' -fill '#f4f1d0' -draw 'circle 200,150 200,110' "BMP3:$pictures/2 night.bmp"
convert -size 800x600 gradient:'#87ceeb'-'#0e4d92' -fill '#e8d8a8' -draw 'rectangle 0,480 800,600' "BMP3:$pictures/3 sea.bmp"
winpictures=$("$RUBBLIT_WINE" winepath -w "$pictures" 2>/dev/null)
# Full screen, at the slowest speed (the finest streaks), the first picture first.
printf '[Section]\r\n画像ﾁｪﾝｼﾞ=0\r\n画像のｻｲｽﾞ=1\r\n画像のﾌｫﾙﾀﾞ=%s\r\n速さ=1\r\n' "$winpictures" |
  iconv -f UTF-8 -t CP932 >"$app/Rubblit.ini"
convert -size 800x600 gradient:'#1d2b3a'-'#3c5a6e' "$shots/desktop.png" && display -window root "$shots/desktop.png" &
desktop_painter=$!

# The dialog, once its opening animation has ended: two screenshots a moment apart are the same.
"$RUBBLIT_WINE" "$app/rubblit.scr" /c &
dialog=$!
window=
for _ in $(seq 300); do window=$(xdotool search --name 'Rubblitの設定' 2>/dev/null | head -n 1); [ -n "$window" ] && break; sleep 0.1; done
[ -n "$window" ] || { echo "the settings dialog did not open" >&2; exit 1; }
eval "$(xdotool getwindowgeometry --shell "$window")"
sleep 1
xdotool mousemove $((X + 60)) $((Y + 88)) click 1   # the first file of the list, into the preview box
previous=
for _ in $(seq 100); do
  sleep 0.3
  import -window root -depth 8 -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$shots/dialog.png" 2>/dev/null
  current=$(md5sum <"$shots/dialog.png")
  [ "$current" = "$previous" ] && break
  previous=$current
done
cp "$shots/dialog.png" "$root/docs/settings-dialog.png"
kill "$dialog" 2>/dev/null; wait "$dialog" 2>/dev/null
wait "$desktop_painter" 2>/dev/null

# The saver: screenshots as fast as they come until the first picture is whole, and of them the first
# in which at least 45 % of the screen shows that picture.
"$RUBBLIT_WINE" "$app/rubblit.scr" /s &
saver=$!
rm -f "$shots"/melt-*.png
for i in $(seq 600); do
  import -window root -depth 8 "$shots/melt-$i.png" 2>/dev/null
  [ $((i % 10)) = 0 ] && [ "$(compare -metric AE "$shots/melt-$i.png" "$pictures/1 hills.bmp" null: 2>&1)" = 0 ] && break
done
kill "$saver" 2>/dev/null; wait "$saver" 2>/dev/null
found=
for i in $(seq 600); do
  [ -f "$shots/melt-$i.png" ] || break
  changed=$(compare -metric AE "$shots/melt-$i.png" "$pictures/1 hills.bmp" null: 2>&1)
  [ "${changed%%.*}" -le 264000 ] 2>/dev/null && { found=$i; break; }
done
[ -n "$found" ] || { echo "no screenshot shows the build-up half-way (see $shots)" >&2; exit 1; }
cp "$shots/melt-$found.png" "$root/docs/melt.png"
echo "docs/settings-dialog.png and docs/melt.png written"
