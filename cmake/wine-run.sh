#!/bin/sh
# Runs a Windows program under Wine with a private prefix in the build tree, quietly.
: "${WINEPREFIX:=${QUOR_WINEPREFIX:-$HOME/.quor-wine}}"
export WINEPREFIX
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

# Wine's server and its system processes are started by the first program and inherit that
# program's output. A caller that reads the output to its end (ctest does) would wait for them,
# until the server leaves three seconds later, and its next program would then meet a server on its
# way out, which ends a program silently. So the program writes to a file (both streams, in the
# order written), shown once it ends.
log=$(mktemp)
show() {
  cat "$log"
  rm -f "$log"
}
trap 'show; exit 143' INT TERM
wine "$@" >"$log" 2>&1
status=$?
show
exit $status
