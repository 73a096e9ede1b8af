#!/usr/bin/env bash
# Checks the manual page and the installation: the page formats without a
# single groff warning, every switch of the usage text has an entry in it,
# and `cmake --install` puts the program and the page in place.
# Usage: check_manual.sh BUILD_DIR (a configured and built tree).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:?usage: check_manual.sh BUILD_DIR}
page=docs/qmxexport.1
fail() { echo "check_manual: $*" >&2; exit 1; }

warnings=$(groff -ww -man -z "$page" 2>&1) || fail "groff failed on $page"
[ -z "$warnings" ] || fail "groff warnings in $page:"$'\n'"$warnings"

# The switches as the program itself lists them, and the ones it adds.
usage=$("$build/qmxexport" -? || true)
[ -n "$usage" ] || fail "qmxexport -? printed nothing"
switches=$(grep -oE '^( \[|Use )-[A-Za-z]+' <<<"$usage" | sed 's/^.*-/-/' | sort -u)
[ "$(wc -l <<<"$switches")" -ge 13 ] || fail "found too few switches in the usage text"
# The tags of the page's entries (the line after each .TP), as plain text.
tags=$(awk 'previous == ".TP" { print } { previous = $0 }' "$page" \
  | sed -E 's/^\.[A-Z]+ //; s/\\-/-/g; s/\\f[RBIP]//g; s/"//g' | awk '{ print $1 }')
for switch in $switches '-?' --help --version; do
  grep -qxF -- "$switch" <<<"$tags" || fail "switch $switch has no entry in $page"
done

prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
[ -x "$prefix/bin/qmxexport" ] || fail "cmake --install did not put bin/qmxexport in place"
[ -f "$prefix/share/man/man1/qmxexport.1" ] \
  || fail "cmake --install did not put share/man/man1/qmxexport.1 in place"
MANPAGER=cat MANWIDTH=80 man -M "$prefix/share/man" qmxexport 2>/dev/null | grep -q 'qmxexport' \
  || fail "man does not show the installed page"
echo "check_manual: page, switches and installation in order"
