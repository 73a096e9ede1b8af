#!/usr/bin/env bash
# Builds qmxexport and runs every unit and end-to-end test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install_deps.sh cmake g++ make libgtest-dev
build=${BUILD_DIR:-build}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQMX_WERROR=ON >/dev/null
cmake --build "$build" -j"$(nproc)"
ctest --test-dir "$build" --output-on-failure -j"$(nproc)"
