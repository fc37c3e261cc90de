#!/usr/bin/env bash
# Builds the fuzz harnesses of fuzz/ natively with clang, under AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs each in turn for SECONDS (default 60) from the seeds that
# make_fuzz_seeds.py writes and the corpus that earlier runs in the same build folder kept. Prints
# per harness its executions, its coverage and any crash; exits non-zero on a crash, a leak, a
# sanitizer report, a wrong answer, an input that takes over 10 s, or a build that fails.
# Usage: scripts/fuzz.sh [SECONDS]          the build goes to $RUBBLIT_BUILD/fuzz (default build/fuzz)
#        scripts/fuzz.sh --cmake-arguments  prints the configure arguments of that tree, with which
#                                           test.sh builds the unit tests in it under the sanitizers
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${RUBBLIT_BUILD:-$root/build}
dir=$build/fuzz

# Every library is instrumented for coverage; the unit tests built alongside link no fuzzer.
cmake_arguments=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
                 "-DCMAKE_CXX_FLAGS=-g -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all"
                 -DRUBBLIT_FUZZ=ON -DRUBBLIT_BENCH=OFF)
if [ "${1:-}" = --cmake-arguments ]; then
  printf '%s\n' "${cmake_arguments[@]}"; exit 0
fi
seconds=${1:-60}
[[ "$seconds" =~ ^[0-9]+$ ]] && [ "$seconds" -gt 0 ] || { echo "usage: scripts/fuzz.sh [SECONDS]"; exit 2; }

bash "$root/scripts/install-deps.sh" || { echo "FAILED: installing the build and test tools"; exit 1; }

harnesses=$(cd "$root/fuzz" && ls ./*_fuzz.cpp | sed -E 's|^\./(.*)\.cpp$|\1|')
mkdir -p "$dir"
if ! cmake -S "$root" -B "$dir" "${cmake_arguments[@]}" >"$dir.configure.log" 2>&1 ||
   ! cmake --build "$dir" -j "$(nproc)" --target $harnesses >"$dir.build.log" 2>&1; then
  tail -n 40 "$dir.configure.log" "$dir.build.log"; echo "FAILED: the fuzz harnesses did not build"; exit 1
fi
rm -rf "$dir/seeds"
python3 "$root/scripts/make_fuzz_seeds.py" "$dir/seeds" || { echo "FAILED: writing the seed corpora"; exit 1; }

passed=0 failed=0
for harness in $harnesses; do
  name=${harness%_fuzz}
  corpus=$dir/corpus/$name log=$dir/$name.log
  mkdir -p "$corpus" "$dir/seeds/$name" "$dir/crashes"
  # One harness at a time, on one core; the found inputs go to the corpus, a crash's to crashes/.
  "$dir/bin/$harness" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$dir/crashes/$name-" "$corpus" "$dir/seeds/$name" >"$log" 2>&1
  status=$?
  executions=$(sed -nE 's/^stat::number_of_executed_units: *([0-9]+).*/\1/p' "$log" | tail -n 1)
  # "#123456  DONE   cov: 412 ft: 1375 corp: 301/12Kb ...": edges reached, features, inputs kept.
  progress=$(grep -E '^#[0-9]+.*cov: ' "$log" | tail -n 1)
  coverage=$(sed -nE 's/.* cov: ([0-9]+) ft: ([0-9]+) corp: ([0-9]+)\/.*/\1 edges, \2 features, corpus of \3 inputs/p' <<<"$progress")
  report=$(grep -E 'wrong answer:|runtime error:|ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer)|SUMMARY:|Test unit written to' "$log")
  if [ "$status" -eq 0 ] && [ -z "$report" ]; then
    passed=$((passed + 1))
    echo "$name: ${executions:-0} executions in $seconds s, coverage ${coverage:-unknown}; no crash"
  else
    failed=$((failed + 1))
    echo "$name: CRASH after ${executions:-?} executions (exit $status), coverage ${coverage:-unknown}; log $log"
    sed 's/^/  /' <<<"$report"
  fi
done
echo "fuzz: $((passed + failed)) harnesses of $seconds s each: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
