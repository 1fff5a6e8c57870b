#!/usr/bin/env bash
# The real program on a real Wayland compositor, as a Wayland desktop's user
# meets it: Weston's headless back end on a socket of its own, a D-Bus session
# of its own with the accessibility bus, and the program on Qt's Wayland
# plugin. Through the accessibility bus (wayland_smoke.py drive) the usage
# boxes are opened and closed and "終了" ends the program, which must exit
# with 0; the program's own Wayland log (wayland_smoke.py wire) must show each
# window mapped with the desktop entry's name as its application id, and the
# main window at one fixed size.
#
#   wayland_smoke.sh PROGRAM DESKTOP_ENTRY QT_PLUGIN_DIR
#
# Needs no display, no session bus and no login: it starts what it needs in a
# temporary folder and ends every process it started, however it ends. Exits
# 77 (skipped) naming the missing tool when one is not installed.
set -euo pipefail
program=$1 desktop_entry=$2 qt_plugins=$3

# Its own process group, so that the end can find every process started here,
# also those the D-Bus session starts on demand (the accessibility bus).
if [[ $(cut -d' ' -f5 /proc/$$/stat) != "$$" ]]; then
    exec setsid "$BASH" "$0" "$@"
fi

skip() {
    echo "wayland_smoke: skipped: $*"
    exit 77
}
# Debian's python3: its python3-pyatspi is not seen by another python3 that
# may come first on the search path.
python=/usr/bin/python3
driver=$(dirname "$0")/wayland_smoke.py

command -v weston >/dev/null || skip "weston is not installed (Debian package weston)"
command -v dbus-daemon >/dev/null || skip "dbus-daemon is not installed (Debian package dbus-daemon)"
[[ -f /usr/share/dbus-1/services/org.a11y.Bus.service ]] ||
    skip "the accessibility bus is not installed (Debian package at-spi2-core)"
[[ -f $qt_plugins/platforms/libqwayland-generic.so ]] ||
    skip "Qt's Wayland plugin is not in $qt_plugins (Debian package qt6-wayland)"
"$python" -c 'import pyatspi' 2>/dev/null ||
    skip "$python cannot import pyatspi (Debian package python3-pyatspi)"
[[ -x $program ]] || { echo "wayland_smoke: no program at $program"; exit 1; }
app_id=$(basename "$desktop_entry" .desktop)
[[ -f $desktop_entry ]] || { echo "wayland_smoke: no desktop entry at $desktop_entry"; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/tesserak-wayland.XXXXXX")
status=1

# The other processes of this group, from /proc (the name in a stat line may
# hold blanks; the fields after it do not).
group_members() {
    local stat line pid group
    for stat in /proc/[0-9]*/stat; do
        line=$(cat "$stat" 2>/dev/null) || continue
        pid=${stat#/proc/}
        pid=${pid%/stat}
        read -r _ _ group _ <<<"${line##*) }"
        if [[ $group == "$$" && $pid != "$$" && $pid != "$BASHPID" ]]; then
            echo "$pid"
        fi
    done
}

# Ends every other process of the group: TERM first, then KILL for what is
# left after five seconds. Shows the logs' ends when the test failed.
finish() {
    trap '' TERM
    local others signal
    for signal in TERM KILL; do
        others=$(group_members)
        [[ -z $others ]] && break
        # shellcheck disable=SC2086
        kill -"$signal" $others 2>/dev/null || true
        for _ in $(seq 50); do
            others=$(group_members)
            [[ -z $others ]] && break
            sleep 0.1
        done
    done
    if [[ $status -ne 0 ]]; then
        for log in weston.log program.log; do
            if [[ -s $work/$log ]]; then
                echo "--- the last lines of $log"
                tail -n 25 "$work/$log"
            fi
        done
    fi
    rm -rf "$work"
}
trap finish EXIT
trap 'echo "wayland_smoke: stopped"; exit 1' INT TERM HUP
# The whole run is bounded; each wait below is bounded too.
(sleep 180; echo "wayland_smoke: timed out after 180 s"; kill -TERM $$) &

# Waits up to 20 s for `path` to exist while the process `pid` lives.
wait_for_socket() {
    local path=$1 pid=$2 what=$3
    for _ in $(seq 200); do
        [[ -S $path ]] && return 0
        kill -0 "$pid" 2>/dev/null || { echo "wayland_smoke: $what ended at start"; exit 1; }
        sleep 0.1
    done
    echo "wayland_smoke: $what made no socket $path in 20 s"
    exit 1
}

export XDG_RUNTIME_DIR=$work/run
mkdir -m 0700 "$XDG_RUNTIME_DIR"
# Nothing of a desktop this may run in: its display, its accessibility bus.
unset DISPLAY WAYLAND_SOCKET XDG_SESSION_TYPE AT_SPI_BUS_ADDRESS QT_WAYLAND_SHELL_INTEGRATION
export WAYLAND_DISPLAY=tesserak-wayland-0
export DBUS_SESSION_BUS_ADDRESS=unix:path=$XDG_RUNTIME_DIR/bus

dbus-daemon --session --nofork --address="$DBUS_SESSION_BUS_ADDRESS" \
    >"$work/dbus.log" 2>&1 &
wait_for_socket "$XDG_RUNTIME_DIR/bus" $! "the D-Bus session"

# The CPU renderer, so that the windows are really drawn; the default shell.
weston --backend=headless-backend.so --use-pixman --width=1024 --height=768 \
    --socket="$WAYLAND_DISPLAY" --idle-time=0 --no-config --log="$work/weston.log" \
    >/dev/null 2>&1 &
wait_for_socket "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" $! "weston"

# The plugin Qt chooses on a Wayland desktop, the accessibility bridge on
# without a screen reader's setting, and the client's side of the protocol
# logged.
QT_QPA_PLATFORM=wayland QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 WAYLAND_DEBUG=1 \
    "$program" >"$work/program.out" 2>"$work/program.log" &
program_pid=$!

driver_status=0
timeout --foreground 120 "$python" "$driver" drive || driver_status=$?
if [[ $driver_status -eq 124 ]]; then
    echo "wayland_smoke: the accessibility steps took more than 120 s"
fi
[[ $driver_status -eq 0 ]] || exit 1

# "終了" was pressed: the program ends by itself, with 0.
for _ in $(seq 200); do
    kill -0 "$program_pid" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$program_pid" 2>/dev/null; then
    echo "wayland_smoke: the program still runs 20 s after 終了 was pressed"
    exit 1
fi
program_status=0
wait "$program_pid" || program_status=$?
if [[ $program_status -ne 0 ]]; then
    echo "wayland_smoke: the program ended with $program_status, not 0"
    exit 1
fi

"$python" "$driver" wire "$work/program.log" "$app_id"
echo "wayland_smoke: the program ended with 0"
status=0
