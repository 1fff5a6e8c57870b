#!/usr/bin/env bash
# Runs a Windows program under Wine in a prefix of its own.
# Usage: run_under_wine.sh [--display] PREFIX PROGRAM [ARGS...]
# --display: the program shows windows; it runs on a virtual X server of its
# own (Xvfb), so no display is needed and parallel runs do not meet.
set -euo pipefail
if [[ ${1:-} == --display ]]; then
    shift
    exec xvfb-run --auto-servernum --server-args="-screen 0 1280x1024x24" "$0" "$@"
fi
prefix=$1
shift
export WINEPREFIX=$prefix
# Wine names files in the locale's character set: without UTF-8 the tests'
# Japanese and other non-ASCII file names cannot be made.
export LC_ALL=C.UTF-8
export WINEDEBUG=-all
# No Mono or Gecko: nothing here needs them.
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
wine=/usr/lib/wine/wine64
if [[ ! -f $prefix/system.reg ]]; then
    mkdir -p "$prefix"
    "$wine" wineboot --init >/dev/null 2>&1
    # The dialogs' Japanese face, from the fonts the Linux build has; windows
    # without a window manager.
    "$wine" regedit /S "$(dirname "$0")/japanese_fonts.reg" >/dev/null 2>&1
    "$wine" regedit /S "$(dirname "$0")/unmanaged_windows.reg" >/dev/null 2>&1
    /usr/lib/wine/wineserver -w
fi
"$wine" "$@"
status=$?
/usr/lib/wine/wineserver -w || true
exit $status
