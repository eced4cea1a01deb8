#!/usr/bin/env bash
# Builds Taskgate with its tests and runs them.
#
#   scripts/test.sh [--sanitize] [ctest arguments...]
#
# Without --sanitize the build directory is build-test/ (Debug, benchmarks
# included when Google Benchmark is installed); with --sanitize it is
# build-asan/, built with AddressSanitizer and UndefinedBehaviorSanitizer.
# Further arguments go to ctest (for instance -R setup).
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT"
# shellcheck source=scripts/packages.sh
source scripts/packages.sh

sanitize=no
ctest_args=()
for arg in "$@"; do
  case "$arg" in
    --sanitize) sanitize=yes ;;
    *) ctest_args+=("$arg") ;;
  esac
done

taskgate_ensure_packages

if [[ $sanitize == yes ]]; then
  BUILD_DIR=build-asan
  options=(-DCMAKE_BUILD_TYPE=Debug -DTASKGATE_SANITIZE=ON -DTASKGATE_TESTS=ON -DTASKGATE_BENCH=OFF)
else
  BUILD_DIR=build-test
  bench=OFF
  if [[ -f bench/CMakeLists.txt ]] &&
     dpkg-query -W -f='${Status}' libbenchmark-dev 2>/dev/null | grep -q '^install ok installed$'; then
    bench=ON
  fi
  options=(-DCMAKE_BUILD_TYPE=Debug -DTASKGATE_SANITIZE=OFF -DTASKGATE_TESTS=ON "-DTASKGATE_BENCH=$bench")
fi

taskgate_configure "$BUILD_DIR" "${options[@]}"
cmake --build "$BUILD_DIR" -j "$(taskgate_jobs)"
ctest --test-dir "$BUILD_DIR" --output-on-failure -j 2 "${ctest_args[@]}"
