#!/usr/bin/env bash
# Builds everything and runs every test in six stages, each named in the summary with what it ran:
#   native  the unit tests, built for Linux and run natively;
#   sanitized  the same built with clang under AddressSanitizer and UndefinedBehaviorSanitizer, and
#           each fuzz harness run for 10 s (scripts/fuzz.sh);
#   i686    the unit tests and the Win32 tests (unit, integration, end to end), built for 32-bit
#           Windows and run under Wine in Xvfb;
#   x86_64  a few start-up and session tests of the same sources, built for 64-bit Windows and run
#           under Wine; on a machine that runs no 32-bit programs, every test of the i686 stage
#           instead (the 32-bit build is then only built, and the summary says so);
#   package scripts/package.sh's zip, made twice and checked, and its executables under Wine;
#   two monitors  the saver's two-monitor tests, under Wine on Xephyr's two heads.
# A stage that cannot start, a test that fails or is skipped, a test an executable lists that did not
# run (counted from ctest's JUnit results against each executable's --gtest_list_tests), and
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

# The tests the build registered for a stage, as ctest names them (folder.Suite.Name, a value
# parameter's value after the name), from each executable's own list, those matching the stage's
# pattern only. An executable that cannot list its tests, or lists none,
# is named in the stage's failures.
registered_tests() {
  local dir=$1 include=$2 exclude=$3 built=$4 folder source exe listed
  while read -r folder source; do
    exe=$dir/bin/${folder}_$(basename "$source" .cpp)
    [ -e "$exe.exe" ] && exe=$exe.exe
    if [ ! -e "$exe" ]; then
      [ -n "$built" ] || echo "MISSING $exe" >&2
      continue
    fi
    listed=$($(emulator_of "$exe") "$exe" --gtest_list_tests | ctest_names "$folder.") && [ -n "$listed" ] ||
      { echo "MISSING $exe" >&2; continue; }
    printf '%s\n' "$listed"
  done <"$dir/registered_test_sources.txt" | grep -E "$include" | grep -vE "$exclude" | sort
}

emulator_of() { case $1 in *.exe) echo "$root/scripts/wine-run.sh" ;; esac; }

# --gtest_list_tests' lines as CMake's gtest_discover_tests names the tests: prefix, suite, a dot and the
# test, a value parameter's index replaced by its value ("Name/0  # GetParam() = 96" gives "Name/96"),
# other comments dropped.
ctest_names() {
  tr -d '\r' | awk -v prefix="$1" '
    /gtest_main|^ *$/ { next }
    !/^  / { suite = $0; sub(/\.( *#.*)?$/, "", suite); next }
    { test = $0; gsub(/^ +| +$/, "", test)
      if (test !~ /#/) sub(/ +#.*/, "", test)
      else if (match(test, /\/[0-9]+[ #]+GetParam\(\) = /)) test = substr(test, 1, RSTART) substr(test, RSTART + RLENGTH)
      print prefix suite "." test }'
}

# Runs the stage's tests with ctest, then counts each test's result from ctest's JUnit file and
# checks that every test the executables list ran. built names the targets when the stage built
# only some.
run_stage() {
  local label=$1 what=$2 dir=$3 include=$4 exclude=${5:-'^$'} built=${6:-}
  local log=$dir/ctest.log args=(-R "$include")
  [ "$exclude" != '^$' ] && args+=(-E "$exclude")
  rm -f "$dir/results.xml"
  (cd "$dir" && ctest --output-on-failure --timeout 300 --output-junit "$dir/results.xml" "${args[@]}") 2>&1 | tee "$log"
  local status=${PIPESTATUS[0]}
  python3 "$root/scripts/ctest_junit.py" "$dir/results.xml" 2>/dev/null | sort >"$dir/results.txt"
  local passed failed skipped missing unlisted
  passed=$(grep -c ' Passed$' "$dir/results.txt")
  skipped=$(grep -c ' Skipped$' "$dir/results.txt")
  failed=$(grep -c ' Failed$' "$dir/results.txt")
  registered_tests "$dir" "$include" "$exclude" "$built" >"$dir/registered.txt" 2>"$dir/unlisted.txt"
  unlisted=$(sed -n 's/^MISSING //p' "$dir/unlisted.txt" | sort -u)
  missing=$(cut -d' ' -f1- "$dir/results.txt" | sed -E 's/ (Passed|Failed|Skipped)$//' | sort |
    comm -23 "$dir/registered.txt" -)
  local registered ran
  registered=$(wc -l <"$dir/registered.txt")
  ran=$(wc -l <"$dir/results.txt")
  summary+=("$label ($what): $passed passed, $failed failed, $skipped skipped; $ran ran of the $registered the executables list")
  total_passed=$((total_passed + passed)) total_failed=$((total_failed + failed))
  total_skipped=$((total_skipped + skipped))
  [ -s "$dir/results.xml" ] || broken+=("$label: ctest wrote no results file")
  [ "$failed" -eq 0 ] || broken+=("$label: $failed tests failed")
  [ "$skipped" -eq 0 ] || broken+=("$label: $skipped tests skipped")
  [ -z "$missing" ] || broken+=("$label: listed tests that did not run: $(echo $missing)")
  [ -z "$unlisted" ] || broken+=("$label: executables that list no tests: $(echo $unlisted)")
  [ "$registered" -gt 0 ] || broken+=("$label: no test the executables list matches the stage's pattern $include")
  [ "$status" -eq 0 ] || [ "$failed" -gt 0 ] || broken+=("$label: ctest ended with status $status")
  local total
  total=$(sed -nE 's/.* tests? failed out of ([0-9]+).*/\1/p' "$log" | tail -n 1)
  [ "${total:-0}" -eq "$ran" ] || broken+=("$label: ctest counted ${total:-no} tests, its results file holds $ran")
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

# The package stage builds the product once more, without its tests: a compiler cache of this run's
# own hands it the objects the test builds made of the same sources with the same flags.
if command -v ccache >/dev/null; then
  export CCACHE_DIR=$build/ccache CCACHE_BASEDIR=$root
  export CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache
fi

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
# Run only on two monitors, by the stage at the end.
two_monitor_tests='^wine\.TwoMonitors\.'
x86_64_what="start-up and session tests under Wine"
x86_64_tests='^wine\.(StartupTest\.(AnUnknownLetterAndThePasswordModeEndAtOnceAndOnlyTheOlderPlatformChangesThePassword|PreviewBecomesAChildOfThePaneLetsALaterPreviewStartAndEndsWithThePane)|SaverSession\.TheSaverCoversTheScreenTopmostWithoutCursorAndAltEndsItWithoutAPasswordOnTheNTFamily)$'

echo "== i686: unit and Win32 tests, 32-bit build under Wine"
RUBBLIT_WINEARCH=win32
source "$root/scripts/wine-env.sh"
if wine_env_runs_32bit; then
  if configure_and_build i686 "$build/i686" "" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-i686.cmake" &&
     start_wine i686; then
    run_stage i686 "unit and Win32 tests under Wine" "$build/i686" '^(native|wine)\.' "$two_monitor_tests"
    wineserver -k >/dev/null 2>&1 || true
  fi
else
  echo "NOTE: this machine runs no 32-bit programs (its kernel's 32-bit emulation is off): the 32-bit program"
  echo "NOTE: is only built, and every test runs on the 64-bit build in a 64-bit prefix."
  # Tests that cannot run here are not built either: the program alone, which the package stage takes too.
  configure_and_build i686 "$build/i686" rubblit -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-i686.cmake" &&
    summary+=("i686 (the program built only: this machine runs no 32-bit programs; its tests ran in the x86_64 stage)")
  x86_64_targets=""
  x86_64_what="unit and Win32 tests under Wine, in place of i686"
  x86_64_tests='^(native|wine)\.'
fi

echo "== x86_64: $x86_64_what, 64-bit build under Wine"
RUBBLIT_WINEARCH=win64
source "$root/scripts/wine-env.sh"
if configure_and_build x86_64 "$build/x86_64" "$x86_64_targets" \
     -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-x86_64.cmake" && start_wine x86_64; then
  run_stage x86_64 "$x86_64_what" "$build/x86_64" "$x86_64_tests" "$two_monitor_tests" "$x86_64_targets"
fi

# The release package: scripts/package.sh run twice into temporary folders (building into
# $build/package-i686 and -x86_64), the zip checked, then its executables under the 64-bit Wine.
echo "== package: the release zip made twice and checked, its executables under Wine"
package_started=$SECONDS
wine_env_runs_32bit || echo "NOTE: the package's 32-bit rubblit.scr is read only as data here (its version and name); its preview is not started: this machine runs no 32-bit programs."
if cmake --build "$build/x86_64" -j "$jobs" --target package_contents_test >"$build/package.build.log" 2>&1; then
  run_stage package "release zip, and its executables under Wine" "$build/x86_64" '^package\.' '^$' \
    "$x86_64_targets package_contents_test"
else
  broken+=("package: build failed (see $build/package.build.log)")
fi
echo "package stage: $((SECONDS - package_started)) s"

# ---- Two monitors: the saver's tests that need two, on an X display of two Xinerama heads made by
# Xephyr (scripts/two-monitors.sh), in a prefix of their own; on the build whose tests ran above
# (the 32-bit one where this machine runs it). Xephyr that does not start fails the run.
echo "== two monitors: the saver on two monitors under Wine, in Xephyr"
wine_env_stop; unset RUBBLIT_XVFB_PID DISPLAY
two_arch=x86_64 RUBBLIT_WINEARCH=win64
if wine_env_runs_32bit; then two_arch=i686 RUBBLIT_WINEARCH=win32; fi
source "$root/scripts/wine-env.sh"
source "$root/scripts/two-monitors.sh"
trap 'two_monitors_stop; wine_env_stop' EXIT
if ! two_monitors_start; then
  broken+=("two monitors: Xephyr did not start, so no two-monitor test ran")
elif start_wine "two monitors" && { two_monitors_prefix || { broken+=("two monitors: the prefix did not restart"); false; }; }; then
  run_stage "two monitors" "saver tests on two monitors under Wine in Xephyr" "$build/$two_arch" "$two_monitor_tests"
fi

echo
echo "== summary"
for line in "${summary[@]}"; do echo "$line"; done
echo "total: $total_passed passed, $total_failed failed, $total_skipped skipped"
for b in "${broken[@]}"; do echo "FAILED: $b"; done
[ ${#broken[@]} -eq 0 ]
