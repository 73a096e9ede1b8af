#!/usr/bin/env bash
# Cross-compiles qmxexport.exe with MinGW-w64 and checks it under Wine against
# this machine's build: same exit statuses, messages and outputs, with
# carriage return and line feed line ends and Windows paths (Z:\...).
# Installs the cross compiler and Wine when run as root on Debian or Ubuntu.
# No display is used: DISPLAY is cleared so that no dialog can wait for one.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install_deps.sh cmake g++ make libgtest-dev g++-mingw-w64-x86-64 wine64

build=${BUILD_DIR:-build}
windows_build=${WINDOWS_BUILD_DIR:-build-windows}
wine=${WINE:-$(command -v wine64 || echo /usr/lib/wine/wine64)}
wineserver=${WINESERVER:-$(command -v wineserver || echo /usr/lib/wine/wineserver)}

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQMX_WERROR=ON >/dev/null
cmake --build "$build" -j"$(nproc)" --target qmxexport windows_build_tests
cmake -S . -B "$windows_build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DQMX_WERROR=ON >/dev/null
cmake --build "$windows_build" -j"$(nproc)" --target qmxexport

unset DISPLAY WAYLAND_DISPLAY
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/qmx-wine.XXXXXX")
export WINEPREFIX
cleanup() {
  "$wineserver" -k 2>/dev/null || true
  rm -rf "$WINEPREFIX"
}
trap cleanup EXIT

# One Wine server for the whole check; the first start lays out the prefix.
"$wineserver" -p
timeout 300 "$wine" wineboot -i >/dev/null 2>&1
QMX_WINDOWS_PROGRAM="$(cd "$windows_build" && pwd)/qmxexport.exe" QMX_WINDOWS_RUNNER="$wine" \
  timeout 600 "$build/tests/windows_build_tests"
