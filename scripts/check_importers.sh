#!/usr/bin/env bash
# Feeds qmxexport's outputs to independent importers and checks that they read
# every transaction exactly: hledger loads the CSV through
# examples/qmxexport.csv.rules, Perl's Finance::QIF parses the QIF. Runs on
# the example backup and on the tricky fixture of make_importer_fixture, in
# the default notation and in day-first dates with a decimal comma.
# Usage: check_importers.sh BUILD_DIR (a configured and built tree).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:?usage: check_importers.sh BUILD_DIR}
bash scripts/install_deps.sh hledger libfinance-qif-perl perl
root=$PWD
qmxexport=$root/$build/qmxexport
[ -x "$qmxexport" ] || qmxexport=$build/qmxexport
rules=$root/examples/qmxexport.csv.rules
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0

# hledger's reports of a CSV: every transaction as JSON, the account balances.
load_with_hledger() {  # CSV RULES
  hledger -f "$1" --rules-file "$2" print -O json >"$1.json"
  hledger -f "$1" --rules-file "$2" balance assets --flat --no-total -O csv >"$1.balance"
}

# check NAME NOTATION QMXEXPORT-ARGS... -- CHECK-ARGS...: exports into
# $work/NAME.csv and $work/NAME.qif and compares what the importers read.
# NOTATION is "default" (MM/DD/YYYY, decimal point) or "european" (-d day
# -s . -D ,: DD.MM.YYYY, decimal comma, with the rules file changed to match).
# Without -u the CSV is not UTF-8, so only the QIF is read.
check() {
  local name=$1 notation=$2 csv=$work/$1.csv qif=$work/$1.qif rules_for=$rules
  shift 2
  local export_args=() check_args=()
  while [ "$1" != "--" ]; do export_args+=("$1"); shift; done
  shift
  check_args=("$@")
  if [ "$notation" = european ]; then
    export_args+=(-d day -s . -D ,)
    check_args+=(--day-first --decimal-mark ,)
    rules_for=$work/$name.rules
    sed 's|^date-format .*|date-format %d.%m.%Y\ndecimal-mark ,|' "$rules" >"$rules_for"
  fi
  echo "== $name: qmxexport ${export_args[*]}"
  if ! "$qmxexport" "${export_args[@]}" -o "$csv" -q "$qif"; then
    echo "check_importers: qmxexport failed for $name" >&2
    failed=1
    return
  fi
  local sources=(--qif "$qif")
  if printf '%s\n' "${export_args[@]}" | grep -qx -- '-u'; then
    if ! load_with_hledger "$csv" "$rules_for"; then
      echo "check_importers: hledger could not load $name" >&2
      failed=1
      return
    fi
    sources+=(--hledger-json "$csv.json" --hledger-balance "$csv.balance")
  else
    sources+=(--qif-encoding cp1252)
  fi
  perl tests/check_imports.pl "${sources[@]}" "${check_args[@]}" || failed=1
}

fixture=$work/fixture
mkdir -p "$fixture"
"$build/tests/make_importer_fixture" "$fixture"
expected=(--expected "$fixture/expected.tsv")
main_account=$(sed -n '1s/^account\t//p' "$fixture/expected.tsv")
main_name=$(perl -e 'print pack "H*", $ARGV[0]' "$main_account")
main_name_utf8=$(perl -MEncode -e 'print encode("UTF-8", decode("cp1252", pack "H*", $ARGV[0]))' \
  "$main_account")

check example default -u -l examples --
check example-european european -u -l examples --
check fixture default -u -l "$fixture" -- "${expected[@]}"
check fixture-bytes default -l "$fixture" -- "${expected[@]}"
check fixture-european european -u -l "$fixture" -- "${expected[@]}"
check fixture-one-account default -u -l "$fixture" -a "$main_name_utf8" -- "${expected[@]}" \
  --account "$main_account"
check fixture-one-account-bytes default -l "$fixture" -a "$main_name" -- "${expected[@]}" \
  --account "$main_account"

if [ "$failed" -ne 0 ]; then
  echo "check_importers: FAILED" >&2
  exit 1
fi
echo "check_importers: hledger and Finance::QIF read every transaction exactly"
