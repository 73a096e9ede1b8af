#!/usr/bin/env bash
# The reliability checks of continuous integration, each failing the run:
#   1. every fuzz target for FUZZ_SECONDS (default 60) seconds;
#   2. the whole test suite built with AddressSanitizer and Undefined-
#      BehaviorSanitizer, stopping at the first report;
#   3. the end-to-end and malformed-input cases with every run of the
#      program under valgrind's memcheck.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install_deps.sh cmake make g++ libgtest-dev valgrind

echo "== fuzzing"
bash scripts/fuzz.sh "${FUZZ_SECONDS:-60}"

echo "== test suite under AddressSanitizer and UndefinedBehaviorSanitizer"
asan_build=${ASAN_BUILD_DIR:-build-asan}
cmake -S . -B "$asan_build" -DQMX_SANITIZE=ON -DQMX_WERROR=ON -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$asan_build" -j"$(nproc)" >/dev/null
# A report ends the process with status 86, which no test expects.
ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:exitcode=86 \
  UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1:exitcode=86 \
  ctest --test-dir "$asan_build" --output-on-failure -j"$(nproc)"

echo "== end-to-end cases under memcheck"
build=${BUILD_DIR:-build}
cmake -S . -B "$build" -DQMX_WERROR=ON >/dev/null
cmake --build "$build" -j"$(nproc)" >/dev/null
logs=$(realpath "$build")/memcheck-logs
rm -rf "$logs"
mkdir -p "$logs"
export QMX_RUNNER=$(realpath scripts/memcheck_runner.sh) QMX_MEMCHECK_LOGS=$logs
"$build/tests/end_to_end_tests"
"$build/tests/malformed_input_tests"
# Quiet memcheck writes nothing for a clean run: any text is a report.
find "$logs" -name 'memcheck.*.log' -size +0 >"$logs/with-errors.txt"
if [ -s "$logs/with-errors.txt" ]; then
  echo "memcheck found errors:"
  xargs cat <"$logs/with-errors.txt" | head -n 100
  exit 1
fi
echo "memcheck: $(find "$logs" -name 'memcheck.*.log' | wc -l) runs of the program, no errors"
