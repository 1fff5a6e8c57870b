#!/usr/bin/env bash
# Runs a Windows test binary under Wine in a prefix of its own.
# Usage: run_under_wine.sh PREFIX PROGRAM [ARGS...]
set -euo pipefail
prefix=$1
shift
export WINEPREFIX=$prefix
export WINEDEBUG=-all
# No Mono or Gecko: the tests are console programs.
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
wine=/usr/lib/wine/wine64
if [[ ! -f $prefix/system.reg ]]; then
    mkdir -p "$prefix"
    "$wine" wineboot --init >/dev/null 2>&1
    # The dialogs' Japanese face, from the fonts the Linux build has.
    "$wine" regedit /S "$(dirname "$0")/japanese_fonts.reg" >/dev/null 2>&1
    /usr/lib/wine/wineserver -w
fi
"$wine" "$@"
status=$?
/usr/lib/wine/wineserver -w || true
exit $status
