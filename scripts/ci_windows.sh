#!/usr/bin/env bash
# The Windows checks of continuous integration: the cross-compiled .exe
# against this machine's build under Wine (no display), then the real
# dialogs answered by keyboard under Wine on a virtual display.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/test_windows.sh
bash scripts/test_dialogs_wine.sh
