#!/usr/bin/env bash
# Drives the Windows build's dialogs for real: qmxexport.exe under Wine on a
# virtual display (Xvfb), typed at with xdotool, started where the backup
# files are missing. Scenarios: the folder dialog cancelled; a folder without
# the backup files (the error message box); a good folder and a new file name
# in the save dialog; an existing file kept (No at the overwrite prompt, then
# the save dialog cancelled: CSV on the console); an existing file replaced;
# a relative -q file that stays where the program started while the CSV file
# is saved in another folder.
#
#   bash scripts/test_dialogs_wine.sh          # each scenario once
#   RUNS=10 bash scripts/test_dialogs_wine.sh  # each scenario ten times
#
# Ends with "N passed, N failed"; exit status 0 only when nothing failed.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install_deps.sh cmake g++ make g++-mingw-w64-x86-64 wine64 xvfb xdotool

runs=${RUNS:-1}
build=${BUILD_DIR:-build}
windows_build=${WINDOWS_BUILD_DIR:-build-windows}
wine=${WINE:-$(command -v wine64 || echo /usr/lib/wine/wine64)}
wineserver=${WINESERVER:-$(command -v wineserver || echo /usr/lib/wine/wineserver)}

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" --target qmxexport make_example_backup >/dev/null
cmake -S . -B "$windows_build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$windows_build" -j"$(nproc)" --target qmxexport >/dev/null
exe="$(cd "$windows_build" && pwd)/qmxexport.exe"
linux_program="$(cd "$build" && pwd)/qmxexport"

# Wine's desktop folder is $HOME/Desktop: a folder put there is a child of the
# folder dialog's Desktop node, chosen by typing its name.
work=$(mktemp -d "${TMPDIR:-/tmp}/qmxdialogs.XXXXXX")
work=$(cd "$work" && pwd -P)
desktop="$work/home/Desktop"
export HOME="$work/home" WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
xvfb_pid=
cleanup() {
  "$wineserver" -k 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

mkdir -p "$desktop/backup" "$desktop/listonly" "$work/start" "$work/elsewhere"
"$build/examples/make_example_backup" "$desktop/backup" >/dev/null
cp "$desktop/backup/QMXListDB.pdb" "$desktop/listonly/"
"$linux_program" -l "$desktop/backup" -o "$work/expected.csv"
sed 's/$/\r/' "$work/expected.csv" >"$work/expected-windows.csv"

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"

# One Wine server for all runs; without a window manager, Wine must not wait
# for one when a window closes.
mkdir -p "$WINEPREFIX"
"$wineserver" -p
timeout 300 "$wine" wineboot -i >/dev/null 2>&1
"$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1

pid=
problem=
fail() { problem="${problem:+$problem; }$*"; }

# Starts the program in $work/start as a direct child of this script. The
# window-text trace shows the texts the dialogs display.
start() {
  cd "$work/start"
  WINEDEBUG=-all,trace+win "$wine" "$exe" "$@" >"$work/out" 2>"$work/trace" &
  pid=$!
  cd - >/dev/null
}

# Waits for the window of that name and gives it the keyboard focus; false
# (and a failure noted) when it does not appear in time.
window() {
  local id
  id=$(timeout 10 xdotool search --sync --name "^$1\$" 2>/dev/null | head -1)
  [ -n "$id" ] || { fail "no $1 window"; return 1; }
  for _ in $(seq 50); do
    timeout 2 xdotool windowfocus --sync "$id" 2>/dev/null && return 0
    sleep 0.1
  done
  fail "no focus on $1"
  return 1
}

shows() {
  grep -qF "set_window_text L\"$1\"" "$work/trace" || fail "not shown: $1"
}

# Waits (bounded) for the program to end and checks its exit status.
finish() {
  for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  kill "$pid" 2>/dev/null && fail "still running"
  local status=0
  wait "$pid" || status=$?
  [ "$status" -eq "$1" ] || fail "exit status $status, not $1"
}

# In the folder dialog: into the tree, then the name of a desktop folder;
# Return confirms.
choose_folder() {
  xdotool key shift+Tab
  sleep 0.3
  xdotool type --delay 40 "$1"
  sleep 0.5
  xdotool key Return
}

windows_path() { printf 'Z:%s' "${1//\//\\}"; }

scenario_cancel() {
  start
  window "Browse for Folder" || return 0
  shows "Select the folder where you QMX backup files (QMXListDB.pdb and QMXTransDB.pdb) are located."
  xdotool key Escape
  finish 1
  [ ! -s "$work/out" ] || fail "console output after a cancel"
}

scenario_wrong_folder() {
  start
  window "Browse for Folder" || return 0
  choose_folder listonly
  window "Error" || return 0
  xdotool key Return
  finish 1
  shows "Unable to locate QMX's backup files"
  [ ! -s "$work/out" ] || fail "console output after a wrong folder"
}

# Chooses the good folder and types `name` into the save dialog.
save_as() {
  window "Browse for Folder" || return 1
  choose_folder backup
  window "Save As" || return 1
  xdotool type --delay 20 "$(windows_path "$work/start/$1")"
  xdotool key Return
}

scenario_new_file() {
  rm -f "$work/start/chosen.csv"
  start
  save_as chosen.csv || return 0
  finish 0
  cmp -s "$work/start/chosen.csv" "$work/expected-windows.csv" || fail "chosen.csv differs"
  [ ! -s "$work/out" ] || fail "console output besides the file"
}

scenario_keep_existing() {
  echo "keep me" >"$work/start/kept.csv"
  start
  save_as kept.csv || return 0
  window "Error" || return 0  # the save dialog's overwrite prompt
  xdotool key n
  window "Save As" || return 0
  xdotool key Escape
  finish 0
  [ "$(cat "$work/start/kept.csv")" = "keep me" ] || fail "kept.csv was changed"
  cmp -s "$work/out" "$work/expected-windows.csv" || fail "console CSV differs"
}

scenario_replace_existing() {
  echo "old" >"$work/start/replaced.csv"
  start
  save_as replaced.csv || return 0
  window "Error" || return 0
  xdotool key y
  finish 0
  cmp -s "$work/start/replaced.csv" "$work/expected-windows.csv" || fail "replaced.csv differs"
}

# The scenarios note failures instead of stopping the script.
set +e
# A relative -q name keeps meaning the folder the program was started in,
# though browsing to another folder in the save dialog moves the current
# directory.
scenario_qif_stays() {
  rm -f "$work/start/side.qif" "$work/elsewhere/chosen.csv"
  start -q side.qif
  window "Browse for Folder" || return 0
  choose_folder backup
  window "Save As" || return 0
  xdotool type --delay 20 "$(windows_path "$work/elsewhere")"
  xdotool key Return
  sleep 1.5
  xdotool type --delay 20 chosen.csv
  xdotool key Return
  finish 0
  [ -s "$work/start/side.qif" ] || fail "side.qif is not in the starting folder"
  cmp -s "$work/elsewhere/chosen.csv" "$work/expected-windows.csv" || fail "chosen.csv differs"
}

passed=0
failed=0
for run in $(seq "$runs"); do
  for scenario in cancel wrong_folder new_file keep_existing replace_existing qif_stays; do
    problem=
    began=$(date +%s.%N)
    "scenario_$scenario"
    # A program left by a failed step is stopped before the next scenario.
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
      kill "$pid" 2>/dev/null || true
      wait "$pid" 2>/dev/null || true
    fi
    seconds=$(awk -v a="$began" -v b="$(date +%s.%N)" 'BEGIN { printf "%.1f", b - a }')
    if [ -z "$problem" ]; then
      passed=$((passed + 1))
      echo "ok   run $run $scenario (${seconds}s)"
    else
      failed=$((failed + 1))
      echo "FAIL run $run $scenario (${seconds}s): $problem"
    fi
  done
done
echo "dialogs: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
