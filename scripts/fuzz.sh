#!/usr/bin/env bash
# Builds the fuzz targets of tests/fuzz/ with clang and libFuzzer and runs
# each for a bounded time.
#
#   scripts/fuzz.sh [seconds] [target...]
#
# The build directory is build-fuzz/ (clang, -fsanitize=fuzzer with
# AddressSanitizer and UndefinedBehaviorSanitizer; tests and benchmarks off).
# Each target (all of them, or those named) runs for the given number of
# seconds, else TASKGATE_FUZZ_SECONDS, else 60, starting from its corpus
# tests/fuzz/corpus/<target>/ with the words of tests/fuzz/dict/<target>.dict.
# New interesting inputs, findings and logs go to a scratch directory
# (TASKGATE_FUZZ_SCRATCH, else a new directory below ${TMPDIR:-/tmp}), never
# into the repository: copy an input worth keeping into the target's corpus.
# The exit status is non-zero when any target reports a finding (a property
# that does not hold, a crash, a sanitizer report, a leak, a time-out).
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT"
# shellcheck source=scripts/packages.sh
source scripts/packages.sh

seconds=${TASKGATE_FUZZ_SECONDS:-60}
if [[ $# -gt 0 && $1 =~ ^[0-9]+$ ]]; then
  seconds=$1
  shift
fi
targets=("$@")
if [[ ${#targets[@]} -eq 0 ]]; then
  for source in tests/fuzz/fuzz_*.cpp; do
    name=${source#tests/fuzz/fuzz_}
    targets+=("${name%.cpp}")
  done
fi
for target in "${targets[@]}"; do
  if [[ ! -f tests/fuzz/fuzz_$target.cpp ]]; then
    echo "error: no fuzz target named $target (tests/fuzz/fuzz_$target.cpp)" >&2
    exit 2
  fi
done

TASKGATE_PACKAGES+=("${TASKGATE_FUZZ_PACKAGES[@]}")
taskgate_ensure_packages

BUILD_DIR=build-fuzz
CC=clang CXX=clang++ taskgate_configure "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTASKGATE_FUZZ=ON \
  -DTASKGATE_TESTS=OFF -DTASKGATE_BENCH=OFF -DTASKGATE_SANITIZE=OFF
cmake --build "$BUILD_DIR" -j "$(taskgate_jobs)" --target taskgate_fuzz

scratch=${TASKGATE_FUZZ_SCRATCH:-$(mktemp -d "${TMPDIR:-/tmp}/taskgate-fuzz-run.XXXXXX")}
mkdir -p "$scratch"
echo "Fuzzing ${#targets[@]} target(s) for $seconds s each; new inputs, findings and logs in $scratch"

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$ROOT/tests/lsan.supp}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

failed=()
summary=()
for target in "${targets[@]}"; do
  corpus="$scratch/corpus/$target"
  findings="$scratch/findings/$target"
  log="$scratch/$target.log"
  mkdir -p "$corpus" "$findings"
  options=(-max_total_time="$seconds" -timeout=30 -print_final_stats=1 -artifact_prefix="$findings/")
  if [[ -f tests/fuzz/dict/$target.dict ]]; then
    options+=(-dict="tests/fuzz/dict/$target.dict")
  fi
  echo "== $target"
  # New inputs go to the first corpus directory: the scratch one.
  status=0
  "$BUILD_DIR/tests/fuzz/fuzz_$target" "${options[@]}" "$corpus" "tests/fuzz/corpus/$target" >"$log" 2>&1 || status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  if [[ $status -ne 0 ]]; then
    failed+=("$target")
    summary+=("$(printf '%-20s FINDING (exit %s), see %s' "$target" "$status" "$log")")
    tail -n 40 "$log" >&2
    ls -l "$findings" >&2
  else
    summary+=("$(printf '%-20s ok  %10s runs  %7s runs/s  %4s new inputs' "$target" "${runs:-?}" "${rate:-?}" \
      "$(find "$corpus" -type f | wc -l)")")
  fi
done

echo
printf '%s\n' "${summary[@]}"
if [[ ${#failed[@]} -gt 0 ]]; then
  echo "error: findings in ${failed[*]}; reproduce with $BUILD_DIR/tests/fuzz/fuzz_<target> <input>" >&2
  exit 1
fi
