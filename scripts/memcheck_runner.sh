#!/usr/bin/env bash
# Starts one run of the program under valgrind's memcheck, for the end-to-end
# tests (QMX_RUNNER). Every run writes its report into QMX_MEMCHECK_LOGS, so
# that errors in runs that end with status 1 on purpose are not missed.
exec valgrind --quiet --error-exitcode=1 --leak-check=full --show-leak-kinds=definite,indirect \
  --errors-for-leak-kinds=definite,indirect --track-origins=yes \
  --log-file="${QMX_MEMCHECK_LOGS:-/tmp}/memcheck.%p.log" "$@"
