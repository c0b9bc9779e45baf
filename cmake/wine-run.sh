#!/bin/sh
# Runs a Windows program under Wine with a private prefix in the build tree, quietly.
: "${WINEPREFIX:=${QUOR_WINEPREFIX:-$HOME/.quor-wine}}"
export WINEPREFIX
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
exec wine "$@"
