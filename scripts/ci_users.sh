#!/usr/bin/env bash
# The checks of the installation, the manual page and the real importers:
# builds the program (with the importer fixture) and runs check_manual.sh and
# check_importers.sh on it. A failure of either fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install_deps.sh cmake g++ make libgtest-dev groff-base man-db perl hledger \
  libfinance-qif-perl
build=${BUILD_DIR:-build}
cmake -S . -B "$build" -DQMX_WERROR=ON >/dev/null
cmake --build "$build" -j"$(nproc)" --target qmxexport make_importer_fixture >/dev/null
bash scripts/check_manual.sh "$build"
bash scripts/check_importers.sh "$build"
