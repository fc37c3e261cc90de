#!/usr/bin/env bash
# Builds everything and runs every test: the native unit tests, the 32-bit Windows build under
# Wine in Xvfb (unit, integration and end-to-end), and a smoke test of the 64-bit build; where the
# machine cannot run 32-bit programs, every Wine test runs on the 64-bit build.
# Usage: scripts/test.sh            (as root on Debian 12; installs what it needs)
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${RUBBLIT_BUILD:-$root/build}
jobs=$(nproc)

bash "$root/scripts/install-deps.sh" || { echo "installing the build and test tools failed"; exit 1; }

passed=0
failed=0
broken=()

# Runs ctest in a build folder and adds its counts to the totals.
run_ctest() {
  local label=$1 dir=$2
  shift 2
  local log=$dir/ctest.log
  (cd "$dir" && ctest --output-on-failure --timeout 300 "$@") 2>&1 | tee "$log"
  local line total nfail
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
  if [ -z "$line" ]; then
    broken+=("$label: ctest gave no result")
    return
  fi
  nfail=$(sed -E 's/.*tests passed, ([0-9]+) tests? failed out of.*/\1/' <<<"$line")
  total=$(sed -E 's/.*failed out of ([0-9]+).*/\1/' <<<"$line")
  passed=$((passed + total - nfail))
  failed=$((failed + nfail))
  [ "$nfail" -eq 0 ] || broken+=("$label: $nfail of $total failed")
}

configure_and_build() {
  local label=$1 dir=$2
  shift 2
  if ! cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=Release "$@" >"$dir.configure.log" 2>&1; then
    cat "$dir.configure.log"; broken+=("$label: configure failed"); return 1
  fi
  if ! cmake --build "$dir" -j "$jobs" >"$dir.build.log" 2>&1; then
    tail -n 60 "$dir.build.log"; broken+=("$label: build failed"); return 1
  fi
}

mkdir -p "$build"

echo "== native unit tests"
configure_and_build native "$build/native" && run_ctest native "$build/native"

# The 32-bit build is the product; a machine that cannot run 32-bit programs still builds it and
# runs every Wine test on the 64-bit build instead, and says so.
echo "== 32-bit Windows build"
export RUBBLIT_WINE_ROOT=$build/wine
RUBBLIT_WINEARCH=win32
source "$root/scripts/wine-env.sh"
trap wine_env_stop EXIT
runs32=
if wine_env_runs_32bit; then runs32=1; else
  echo "NOTE: this machine cannot run 32-bit programs (its kernel's 32-bit emulation is off): the 32-bit"
  echo "NOTE: build is only built, and every Wine test runs on the 64-bit build in a 64-bit prefix."
fi
if configure_and_build i686 "$build/i686" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-i686.cmake" &&
   [ -n "$runs32" ]; then
  echo "== 32-bit Windows build under Wine, every test"
  if wine_env_start_display && wine_env_start_wine; then
    run_ctest i686 "$build/i686"
  else
    broken+=("i686: Xvfb or Wine did not start")
  fi
  wineserver -k >/dev/null 2>&1 || true
fi

RUBBLIT_WINEARCH=win64
source "$root/scripts/wine-env.sh"
if [ -n "$runs32" ]; then
  echo "== 64-bit Windows build under Wine, smoke tests"
  only=(-R 'Smoke')
else
  echo "== 64-bit Windows build under Wine, every test"
  only=()
fi
if configure_and_build x86_64 "$build/x86_64" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-x86_64.cmake"; then
  if wine_env_start_display && wine_env_start_wine; then
    run_ctest x86_64 "$build/x86_64" "${only[@]}"
  else
    broken+=("x86_64: Xvfb or Wine did not start")
  fi
fi

echo
echo "== summary"
for b in "${broken[@]}"; do echo "FAILED: $b"; done
echo "$passed passed, $failed failed"
[ ${#broken[@]} -eq 0 ] && [ "$failed" -eq 0 ]
