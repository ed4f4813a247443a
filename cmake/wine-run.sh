#!/bin/sh
# Runs a Windows program under Wine, in a prefix private to the build tree
# (QUIZ_WINEPREFIX, or ./wineprefix in the current directory), on the X
# display in DISPLAY or on a private Xvfb when there is none.
set -e
: "${QUIZ_WINEPREFIX:=$PWD/wineprefix}"
WINEPREFIX=$QUIZ_WINEPREFIX
WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko prompts in a fresh prefix.
WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export WINEPREFIX WINEDEBUG WINEDLLOVERRIDES
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a wine "$@"
fi
exec wine "$@"
