#!/usr/bin/env bash
# Runs one test of the 64-bit build again and again, each run a process of its own in one fresh
# prefix, and stops at the first failure: for faults that only a busy machine brings out. The load
# command, when given, runs over and over beside the loop.
# Usage: scripts/repeat_test.sh <times> <executable> <gtest filter> [load command]
#   e.g. scripts/repeat_test.sh 100 wine_startup_e2e_test 'StartupTest.Preview*' 'cmake --build /tmp/t --clean-first'
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${RUBBLIT_BUILD:-$root/build}/x86_64
unset DISPLAY
export RUBBLIT_SCREEN=1024x768 RUBBLIT_WINE_ROOT=$build/repeat-wine RUBBLIT_WINEARCH=win64
source "$root/scripts/wine-env.sh"
load=
trap '[ -n "$load" ] && kill -- -"$load"; wine_env_stop' EXIT
wine_env_start_display && wine_env_start_wine || { echo "FAILED: no display or no prefix"; exit 1; }
[ -n "${4:-}" ] && { set -m; (while :; do bash -c "$4" >/dev/null 2>&1; done) & load=$!; set +m; }
for i in $(seq "$1"); do
  if ! "$root/scripts/wine-run.sh" "$build/bin/$2.exe" --gtest_filter="$3" >"$build/repeat.log" 2>&1 ||
     ! grep -q '^\[  PASSED  \] 1 test' "$build/repeat.log"; then
    cat "$build/repeat.log"; echo "FAILED: run $i of $1 (load average $(cut -d' ' -f1 /proc/loadavg))"; exit 1
  fi
  echo "run $i passed ($(grep -o '([0-9]* ms total)' "$build/repeat.log" | tail -n 1), load average $(cut -d' ' -f1 /proc/loadavg))"
done
echo "all $1 runs passed"
