#!/usr/bin/env bash
# Builds qmxexport and converts the bundled example backup: the CSV lines on
# the terminal, and example.csv and example.qif in out/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install_deps.sh cmake g++ make
build=${BUILD_DIR:-build}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DQMX_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target qmxexport
mkdir -p out
"$build/qmxexport" -l examples
"$build/qmxexport" -l examples -o out/example.csv -q out/example.qif
echo "Wrote out/example.csv and out/example.qif"
