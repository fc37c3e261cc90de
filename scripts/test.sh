#!/usr/bin/env bash
# Builds everything and runs every test in four stages, each named in the summary with what it ran:
#   native  the unit tests, built for Linux and run natively;
#   sanitized  the same built with clang under AddressSanitizer and UndefinedBehaviorSanitizer, and
#           each fuzz harness run for 10 s (scripts/fuzz.sh);
#   i686    the unit tests and the Win32 tests (unit, integration, end to end), built for 32-bit
#           Windows and run under Wine in Xvfb;
#   x86_64  a few start-up and session tests of the same sources, built for 64-bit Windows and run
#           under Wine; on a machine that runs no 32-bit programs, every test of the i686 stage
#           instead (the 32-bit build is then only built, and the summary says so).
# A stage that cannot start, a test that fails or is skipped, a registered test that did not run and
# an include against the README's layer table all fail the run.
# Usage: scripts/test.sh            (as root on Debian 12; installs what it needs)
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${RUBBLIT_BUILD:-$root/build}
jobs=$(nproc)

bash "$root/scripts/install-deps.sh" || { echo "FAILED: installing the build and test tools"; exit 1; }

broken=()
summary=()
total_passed=0 total_failed=0 total_skipped=0

# The tests the build registered for a stage: every TEST and TEST_F in the sources the build
# listed, as ctest names them (folder.Suite.Name), those matching the stage's pattern only.
registered_tests() {
  local dir=$1 include=$2 exclude=$3 folder source
  while read -r folder source; do
    sed -nE "s/^TEST(_F)?\(([A-Za-z0-9_]+), *([A-Za-z0-9_]+)\).*/$folder.\2.\3/p" "$source"
  done <"$dir/registered_test_sources.txt" | grep -E "$include" | grep -vE "$exclude" | sort
}

# Runs the stage's tests with ctest and checks its status, each test's result and that every
# registered test ran.
run_stage() {
  local label=$1 what=$2 dir=$3 include=$4 exclude=${5:-'^$'}
  local log=$dir/ctest.log args=(-R "$include")
  [ "$exclude" != '^$' ] && args+=(-E "$exclude")
  (cd "$dir" && ctest --output-on-failure --timeout 300 "${args[@]}") 2>&1 | tee "$log"
  local status=${PIPESTATUS[0]}
  # "  3/97 Test  #3: native.Suite.Name ......   Passed    0.01 sec"; a parameterised test's name is
  # followed by its parameter: "  8/97 Test  #8: wine.P/Suite.Name/Latin1  # GetParam() = L"C.UTF-8" ...   Passed"
  sed -nE 's/^ *[0-9]+\/[0-9]+ Test +#[0-9]+: ([^ ]+) .*\.{3,}[ *]*([A-Za-z]+( Run)?).*/\1 \2/p' "$log" | sort >"$dir/results.txt"
  local passed failed skipped missing
  passed=$(grep -c ' Passed$' "$dir/results.txt")
  skipped=$(grep -c ' Skipped$' "$dir/results.txt")
  failed=$(grep -cvE ' (Passed|Skipped)$' "$dir/results.txt")
  registered_tests "$dir" "$include" "$exclude" >"$dir/registered.txt"
  missing=$(cut -d' ' -f1 "$dir/results.txt" | comm -23 "$dir/registered.txt" -)
  local registered ran
  registered=$(wc -l <"$dir/registered.txt")
  ran=$(wc -l <"$dir/results.txt")
  summary+=("$label ($what): $passed passed, $failed failed, $skipped skipped; $ran ran, the $registered plain tests the sources register among them")
  total_passed=$((total_passed + passed)) total_failed=$((total_failed + failed))
  total_skipped=$((total_skipped + skipped))
  [ "$failed" -eq 0 ] || broken+=("$label: $failed tests failed")
  [ "$skipped" -eq 0 ] || broken+=("$label: $skipped tests skipped")
  [ -z "$missing" ] || broken+=("$label: registered tests that did not run: $(echo $missing)")
  [ "$registered" -gt 0 ] || broken+=("$label: no test the sources register matches the stage's pattern $include")
  [ "$status" -eq 0 ] || [ "$failed" -gt 0 ] || broken+=("$label: ctest ended with status $status")
  local total
  total=$(sed -nE 's/.* tests? failed out of ([0-9]+).*/\1/p' "$log" | tail -n 1)
  [ "${total:-0}" -eq "$ran" ] || broken+=("$label: ctest counted ${total:-no} tests, its log shows $ran results")
}

configure_and_build() {
  local label=$1 dir=$2 targets=$3
  shift 3
  if ! cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=Release "$@" >"$dir.configure.log" 2>&1; then
    cat "$dir.configure.log"; broken+=("$label: configure failed (see $dir.configure.log)"); return 1
  fi
  if ! cmake --build "$dir" -j "$jobs" ${targets:+--target $targets} >"$dir.build.log" 2>&1; then
    tail -n 60 "$dir.build.log"; broken+=("$label: build failed (see $dir.build.log)"); return 1
  fi
}

# Xvfb and a fresh prefix for the stage, or a failure of the stage saying which did not start.
start_wine() {
  local label=$1
  if [ -z "${DISPLAY:-}" ] && ! wine_env_start_display; then
    broken+=("$label: Xvfb did not start, so no Wine test ran"); return 1
  fi
  wine_env_start_wine || { broken+=("$label: $RUBBLIT_WINE_PROBLEM, so no Wine test ran"); return 1; }
}

mkdir -p "$build"

echo "== layers: every include against the README's layer table"
bash "$root/scripts/check_layers.sh" || broken+=("layers: an include goes against the README's layer table (lines above)")

echo "== native: unit tests, run natively"
configure_and_build native "$build/native" "" && run_stage native "unit tests, Linux" "$build/native" '^native\.'

# ---- sanitized: the unit tests under AddressSanitizer and UndefinedBehaviorSanitizer, in the tree
# of scripts/fuzz.sh, which then runs each fuzz harness for 10 s; both join the summary.
echo "== sanitized: unit tests under ASan and UBSan (clang), then every fuzz harness for 10 s"
mapfile -t fuzz_cmake_arguments < <(bash "$root/scripts/fuzz.sh" --cmake-arguments)
configure_and_build sanitized "$build/fuzz" "" "${fuzz_cmake_arguments[@]}" &&
  run_stage sanitized "unit tests under ASan and UBSan" "$build/fuzz" '^native\.'
RUBBLIT_BUILD=$build bash "$root/scripts/fuzz.sh" 10 | tee "$build/fuzz.log"
fuzz_passed=$(sed -nE 's/^fuzz: .*: ([0-9]+) passed, ([0-9]+) failed$/\1/p' "$build/fuzz.log")
fuzz_failed=$(sed -nE 's/^fuzz: .*: ([0-9]+) passed, ([0-9]+) failed$/\2/p' "$build/fuzz.log")
summary+=("fuzz (each harness 10 s under the sanitizers): ${fuzz_passed:-0} passed, ${fuzz_failed:-0} failed, 0 skipped")
total_passed=$((total_passed + ${fuzz_passed:-0})) total_failed=$((total_failed + ${fuzz_failed:-0}))
[ -n "$fuzz_passed" ] && [ "${fuzz_failed:-1}" -eq 0 ] || broken+=("fuzz: a harness crashed or did not run (see $build/fuzz.log)")
# ---- end of sanitized

# The tests that need the screen's size are written for this one; a display of another size
# is never borrowed.
unset DISPLAY
export RUBBLIT_SCREEN=1024x768
export RUBBLIT_WINE_ROOT=$build/wine
source "$root/scripts/wine-env.sh"
trap wine_env_stop EXIT

# The 32-bit build is the product. A machine whose kernel runs no 32-bit programs still builds it,
# says so, and runs its tests on the 64-bit build.
x86_64_targets="wine_startup_e2e_test wine_saver_session_test"
x86_64_what="start-up and session tests under Wine"
x86_64_tests='^wine\.(StartupTest\.(AnUnknownLetterAndThePasswordModeEndAtOnceAndOnlyTheOlderPlatformChangesThePassword|PreviewBecomesAChildOfThePaneLetsALaterPreviewStartAndEndsWithThePane)|SaverSession\.TheSaverCoversTheScreenTopmostWithoutCursorAndAltEndsItWithoutAPasswordOnTheNTFamily)$'

echo "== i686: unit and Win32 tests, 32-bit build under Wine"
RUBBLIT_WINEARCH=win32
source "$root/scripts/wine-env.sh"
if wine_env_runs_32bit; then
  if configure_and_build i686 "$build/i686" "" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-i686.cmake" &&
     start_wine i686; then
    run_stage i686 "unit and Win32 tests under Wine" "$build/i686" '^(native|wine)\.'
    wineserver -k >/dev/null 2>&1 || true
  fi
else
  echo "NOTE: this machine runs no 32-bit programs (its kernel's 32-bit emulation is off): the 32-bit build"
  echo "NOTE: is only built, and its tests run on the 64-bit build in a 64-bit prefix."
  configure_and_build i686 "$build/i686" "" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-i686.cmake" &&
    summary+=("i686 (built only: this machine runs no 32-bit programs; its tests ran in the x86_64 stage)")
  x86_64_targets=""
  x86_64_what="unit and Win32 tests under Wine, in place of i686"
  x86_64_tests='^(native|wine)\.'
fi

echo "== x86_64: $x86_64_what, 64-bit build under Wine"
RUBBLIT_WINEARCH=win64
source "$root/scripts/wine-env.sh"
if configure_and_build x86_64 "$build/x86_64" "$x86_64_targets" \
     -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-x86_64.cmake" && start_wine x86_64; then
  run_stage x86_64 "$x86_64_what" "$build/x86_64" "$x86_64_tests"
fi

echo
echo "== summary"
for line in "${summary[@]}"; do echo "$line"; done
echo "total: $total_passed passed, $total_failed failed, $total_skipped skipped"
for b in "${broken[@]}"; do echo "FAILED: $b"; done
[ ${#broken[@]} -eq 0 ]
