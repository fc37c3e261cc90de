#!/usr/bin/env bash
# Builds the 32-bit Windows tree when needed and runs every benchmark in it under Wine, printing
# their figures; the benchmarks that also build natively run from a native tree first.
# Usage: scripts/bench.sh   (as root on Debian 12; installs what it needs)
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${RUBBLIT_BUILD:-$root/build}
dir=$build/i686

bash "$root/scripts/install-deps.sh" || { echo "installing the build and test tools failed"; exit 1; }

mkdir -p "$build"
if ! cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=Release \
     -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-i686.cmake" >"$dir.configure.log" 2>&1; then
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
RUBBLIT_WINEARCH=win32
source "$root/scripts/wine-env.sh"
trap wine_env_stop EXIT

# The screen a benchmark measures on: the saver's own CPU use on 1024 x 768, its memory and the
# presenting of full-HD passes on 1920 x 1080. Each size gets an Xvfb and a Wine of its own.
screen_of() {
  case $1 in
    display_pass_bench.exe | saver_memory_bench.exe) echo 1920x1080 ;;
    *) echo 1024x768 ;;
  esac
}

benches=("$dir"/bin/*_bench.exe)
[ ${#benches[@]} -gt 0 ] || { echo "no benchmark was built"; exit 1; }
for screen in 1024x768 1920x1080; do
  started=
  for bench in "${benches[@]}"; do
    [ "$(screen_of "$(basename "$bench")")" = "$screen" ] || continue
    if [ -z "$started" ]; then
      unset DISPLAY
      RUBBLIT_SCREEN=$screen wine_env_start_display && wine_env_start_wine || { echo "Wine did not start: ${RUBBLIT_WINE_PROBLEM:-no Xvfb}"; exit 1; }
      started=1
    fi
    echo "== $(basename "$bench") (Wine, screen $screen)"
    (cd "$dir/bin" && timeout --kill-after=5 600 wine "$bench" </dev/null)
    rc=$?
    if [ $rc -ne 0 ]; then echo "$(basename "$bench") ended with code $rc"; status=1; fi
    echo
  done
  if [ -n "$started" ]; then wine_env_stop; unset RUBBLIT_XVFB_PID; fi
done
exit $status
