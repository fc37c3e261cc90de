#!/usr/bin/env bash
# Builds the 32-bit Windows tree when needed and runs every benchmark in it under Wine, printing
# their figures. Usage: scripts/bench.sh   (as root on Debian 12; installs what it needs)
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

export RUBBLIT_WINE_ROOT=$build/wine
RUBBLIT_WINEARCH=win32
source "$root/scripts/wine-env.sh"
trap wine_env_stop EXIT
wine_env_start_display && wine_env_start_wine || { echo "Wine did not start"; exit 1; }

status=0
shopt -s nullglob
benches=("$dir"/bin/*_bench.exe)
[ ${#benches[@]} -gt 0 ] || { echo "no benchmark was built"; exit 1; }
for bench in "${benches[@]}"; do
  echo "== $(basename "$bench")"
  (cd "$dir/bin" && timeout --kill-after=5 600 wine "$bench" </dev/null)
  rc=$?
  if [ $rc -ne 0 ]; then echo "$(basename "$bench") ended with code $rc"; status=1; fi
  echo
done
exit $status
