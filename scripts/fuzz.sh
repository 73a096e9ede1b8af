#!/usr/bin/env bash
# Builds the fuzz targets with clang (AddressSanitizer, UndefinedBehavior-
# Sanitizer, libFuzzer) and runs each for a bounded time, starting from its
# committed seed corpus in fuzz/corpus/. Any crash, leak, sanitizer report
# or timeout fails the script; the input that caused it is kept in
# BUILD/fuzz-findings/ and the full log in BUILD/fuzz-logs/.
#
#   scripts/fuzz.sh [SECONDS_PER_TARGET [TARGET...]]   (default: 60, all)
#   scripts/fuzz.sh --seeds    rewrites fuzz/corpus/ from the builder fixtures
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install_deps.sh cmake make g++ clang libclang-rt-14-dev
build=${FUZZ_BUILD_DIR:-build-fuzz}
targets=(list_database transaction_database pipeline)

CC=clang CXX=clang++ cmake -S . -B "$build" -DQMX_FUZZ=ON -DQMX_BUILD_TESTS=OFF \
  -DQMX_WERROR=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" >/dev/null

if [ "${1:-}" = "--seeds" ]; then
  for target in "${targets[@]}"; do
    rm -rf "fuzz/corpus/$target"
    mkdir -p "fuzz/corpus/$target"
  done
  "$build/fuzz/make_seed_corpus" fuzz/corpus examples
  echo "Wrote the seed corpora in fuzz/corpus/"
  exit 0
fi

seconds=${1:-60}
[ $# -gt 1 ] && targets=("${@:2}")
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
failed=()
for target in "${targets[@]}"; do
  work="$build/fuzz-corpus/$target"
  findings="$build/fuzz-findings/$target"
  log="$build/fuzz-logs/$target.log"
  mkdir -p "$work" "$findings" "$(dirname "$log")"
  # New inputs go to the work corpus; the committed seeds are only read.
  if "$build/fuzz/${target}_fuzzer" "$work" "fuzz/corpus/$target" \
      -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -artifact_prefix="$findings/" -print_final_stats=1 >"$log" 2>&1; then
    status=clean
  else
    status=FAILED
    failed+=("$target")
  fi
  coverage=$(grep -E '^#[0-9]+' "$log" | tail -n 1 | grep -oE 'cov: [0-9]+ ft: [0-9]+' || true)
  runs=$(grep -oE 'stat::number_of_executed_units: *[0-9]+' "$log" | grep -oE '[0-9]+$' || true)
  speed=$(grep -oE 'stat::average_exec_per_sec: *[0-9]+' "$log" | grep -oE '[0-9]+$' || true)
  echo "$target: $status, ${seconds}s, ${runs:-?} executions, ${speed:-?}/s, ${coverage:-no coverage line}"
done
if [ ${#failed[@]} -ne 0 ]; then
  for target in "${failed[@]}"; do
    echo "--- $target (log: $build/fuzz-logs/$target.log)"
    grep -E -A 30 'ERROR|runtime error|SUMMARY|Test unit written|deadly signal|timeout' \
      "$build/fuzz-logs/$target.log" | head -n 60
  done
  exit 1
fi
