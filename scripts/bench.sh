#!/usr/bin/env bash
# Builds the 32-bit Windows tree (the 64-bit one where 32-bit programs cannot run) and runs every benchmark in it under Wine, printing
# their figures; the benchmarks that also build natively run from a native tree first.
# Usage: scripts/bench.sh   (as root on Debian 12; installs what it needs)
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${RUBBLIT_BUILD:-$root/build}

bash "$root/scripts/install-deps.sh" || { echo "installing the build and test tools failed"; exit 1; }

# The 32-bit build, unless this machine's kernel cannot run 32-bit programs.
arch=i686 winearch=win32
if ! wine --version >/dev/null 2>&1; then
  arch=x86_64 winearch=win64
  echo "NOTE: this machine cannot run 32-bit programs: the benchmarks measure the 64-bit build."
fi
dir=$build/$arch

mkdir -p "$build"
if ! cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=Release \
     -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-$arch.cmake" >"$dir.configure.log" 2>&1; then
  cat "$dir.configure.log"; echo "configure failed"; exit 1
fi
if ! cmake --build "$dir" -j "$(nproc)" >"$dir.build.log" 2>&1; then
  tail -n 60 "$dir.build.log"; echo "build failed"; exit 1
fi

native=$build/native
if ! cmake -S "$root" -B "$native" -DCMAKE_BUILD_TYPE=Release -DRUBBLIT_TESTS=OFF >"$native.configure.log" 2>&1 ||
   ! cmake --build "$native" -j "$(nproc)" >"$native.build.log" 2>&1; then
  tail -n 60 "$native.build.log" 2>/dev/null || cat "$native.configure.log"; echo "native build failed"; exit 1
fi

status=0
shopt -s nullglob
for bench in "$native"/bin/*_bench; do
  echo "== $(basename "$bench") (native)"
  timeout --kill-after=5 600 "$bench" </dev/null
  rc=$?
  if [ $rc -ne 0 ]; then echo "$(basename "$bench") ended with code $rc"; status=1; fi
  echo
done

export RUBBLIT_WINE_ROOT=$build/wine
RUBBLIT_WINEARCH=$winearch
source "$root/scripts/wine-env.sh"
trap wine_env_stop EXIT

# The screen a benchmark measures on: the saver's own CPU use on 1024 x 768, its memory on
# 1920 x 1080, and the presenting of passes on three full-HD monitors' width, where one full-HD pass
# is measured too. Each size gets an Xvfb and a Wine of its own.
screen_of() {
  case $1 in
    display_pass_bench.exe) echo 5760x1080 ;;
    saver_memory_bench.exe) echo 1920x1080 ;;
    *) echo 1024x768 ;;
  esac
}

benches=("$dir"/bin/*_bench.exe)
[ ${#benches[@]} -gt 0 ] || { echo "no benchmark was built"; exit 1; }
for screen in 1024x768 1920x1080 5760x1080; do
  started=
  for bench in "${benches[@]}"; do
    [ "$(screen_of "$(basename "$bench")")" = "$screen" ] || continue
    if [ -z "$started" ]; then
      unset DISPLAY
      RUBBLIT_SCREEN=$screen wine_env_start_display && wine_env_start_wine || { echo "Wine did not start: ${RUBBLIT_WINE_PROBLEM:-no Xvfb}"; exit 1; }
      started=1
    fi
    echo "== $(basename "$bench") (Wine, screen $screen)"
    args=()
    if [ "$(basename "$bench")" = dialog_pictures_bench.exe ]; then
      # Wine adds a file to a folder in time that grows with the folder: 32,767 pictures made from
      # inside would take half an hour, from here a second. On the prefix's C: drive, where the
      # folder browser can select it.
      python3 - "$WINEPREFIX/drive_c/rubblit-bench-pictures" <<'PY'
import os, struct, sys
folder = sys.argv[1]
os.makedirs(folder, exist_ok=True)
rows = (b"\x00\x00\xff" * 2 + b"\x00\x00") + (b"\xff\x00\x00" * 2 + b"\x00\x00")
bitmap = (b"BM" + struct.pack("<IHHI", 54 + len(rows), 0, 0, 54) +
          struct.pack("<IiiHHIIiiII", 40, 2, 2, 1, 24, 0, len(rows), 2835, 2835, 0, 0) + rows)
for i in range(1, 32767):
    with open(os.path.join(folder, "p%05d.bmp" % i), "wb") as f:
        f.write(bitmap)
with open(os.path.join(folder, "a.gif"), "wb") as f:
    f.write(bytes.fromhex("47494638396101000100800000000000ffffff21f90401000000002c00000000010001000002024401003b"))
PY
      args=('C:\rubblit-bench-pictures')
    fi
    (cd "$dir/bin" && timeout --kill-after=5 600 "$RUBBLIT_WINE" "$bench" "${args[@]}" </dev/null)
    rc=$?
    if [ $rc -ne 0 ]; then echo "$(basename "$bench") ended with code $rc"; status=1; fi
    echo
  done
  if [ -n "$started" ]; then wine_env_stop; unset RUBBLIT_XVFB_PID; fi
done

# The running saver's CPU use on one monitor and on two of the same size, both in Xephyr, whose
# Xinerama heads are Wine's monitors (scripts/two-monitors.sh).
source "$root/scripts/two-monitors.sh"
trap 'two_monitors_stop; wine_env_stop' EXIT
for heads in "1024x768" "1024x768 1024x768"; do
  unset DISPLAY
  # shellcheck disable=SC2086  # one word per monitor
  if RUBBLIT_SCREEN=1024x768 wine_env_start_display && two_monitors_start $heads && wine_env_start_wine &&
     two_monitors_prefix; then
    echo "== saver_cpu_bench.exe (Wine in Xephyr, monitors $heads)"
    (cd "$dir/bin" && timeout --kill-after=5 600 "$RUBBLIT_WINE" "$dir/bin/saver_cpu_bench.exe" </dev/null) || status=1
    echo
  else
    echo "Xephyr or Wine did not start for the monitors $heads"; status=1
  fi
  two_monitors_stop; wine_env_stop; unset RUBBLIT_XVFB_PID
done
exit $status
