#!/usr/bin/env bash
# Builds qmxexport and the benchmark programs in Release, writes backups of
# 1,000, 8,000 and 65,535 transaction records with 10 accounts and one of
# 65,535 records with 30,000 accounts, and prints for each way of writing
# the export (CSV file, QIF file, both, CSV on standard output to /dev/null)
# the median wall time and the peak memory over several runs, beside the
# floor program that writes the same bytes from memory with the same number
# of write calls. Figures only: nothing here passes or fails.
#
#   bench/run_benchmark.sh [RUNS]      (default 5)
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install_deps.sh cmake make g++
build=${BENCH_BUILD_DIR:-build-bench}
runs=${1:-5}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DQMX_BUILD_TESTS=OFF -DQMX_BENCH=ON >/dev/null
cmake --build "$build" -j"$(nproc)" --target qmxexport make_bench_backup floor_writer measure \
  >/dev/null
build=$(realpath "$build")
program="$build/qmxexport"
floor="$build/bench/floor_writer"
measure="$build/bench/measure"

# measure_pair LABEL RECORDS STDOUT -- EXPORT_ARGS... -- FLOOR_ARGS...
measure_pair() {
  local label=$1 records=$2 console=$3
  shift 4
  local export_args=() floor_args=()
  while [ "$1" != "--" ]; do export_args+=("$1"); shift; done
  shift
  floor_args=("$@")
  read -r export_ms export_kib < <("$measure" "$runs" "$console" "$program" "${export_args[@]}")
  read -r floor_ms floor_kib < <("$measure" "$runs" "$console" "$floor" "${floor_args[@]}")
  awk -v l="$label" -v r="$records" -v em="$export_ms" -v ek="$export_kib" \
    -v fm="$floor_ms" -v fk="$floor_kib" 'BEGIN {
      printf "%-24s %9.1f %7.1f %9.1f %7.1f %6.2f %9.2f\n",
        l, em, ek / 1024, fm, fk / 1024, em / fm, em * 1000 / r }'
}

printf "%-24s %9s %7s %9s %7s %6s %9s\n" "backup / output" "export" "peak" "floor" \
  "peak" "ratio" "per txn"
printf "%-24s %9s %7s %9s %7s %6s %9s\n" "" "ms" "MiB" "ms" "MiB" "" "us"
for backup in "1000 10" "8000 10" "65535 10" "65535 30000"; do
  read -r records accounts <<<"$backup"
  folder="$build/bench-data/${records}x${accounts}"
  out="$folder/out"
  mkdir -p "$out"
  [ -f "$folder/QMXTransDB.pdb" ] ||
    "$build/bench/make_bench_backup" "$folder" "$records" "$accounts"
  "$program" -l "$folder/" -o "$folder/reference.csv" -q "$folder/reference.qif"
  name="$records txn, $accounts acc"
  measure_pair "$name: csv" "$records" /dev/null -- -l "$folder/" -o "$out/a.csv" \
    -- -o "$folder/reference.csv" "$out/b.csv"
  measure_pair "$name: qif" "$records" /dev/null -- -l "$folder/" -q "$out/a.qif" \
    -- -q "$folder/reference.qif" "$out/b.qif"
  measure_pair "$name: both" "$records" /dev/null \
    -- -l "$folder/" -o "$out/a.csv" -q "$out/a.qif" \
    -- -o "$folder/reference.csv" "$out/b.csv" -q "$folder/reference.qif" "$out/b.qif"
  measure_pair "$name: stdout" "$records" /dev/null -- -l "$folder/" \
    -- -s "$folder/reference.csv"
  cmp -s "$out/a.csv" "$folder/reference.csv" && cmp -s "$out/a.qif" "$folder/reference.qif" ||
    echo "  (the outputs of the timed runs differ from the reference run)"
done
