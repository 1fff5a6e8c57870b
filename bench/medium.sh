#!/usr/bin/env bash
# The simulated slow media of `tesserak_bench --medium`, which hands over to
# this script with what it read from its command line:
#
#   medium.sh BENCH DIR SIZE GROUP SECTORS_KB SPEEDS -- ARGS...
#
# For each write speed of SPEEDS (bytes per second, comma-separated) it makes
# a medium: a sparse file in DIR on a loop device, an ext4 file system on it
# mounted beside the file, the device's largest request set to SECTORS_KB (0:
# the kernel's), and the writes to the device limited by the block-I/O cgroup.
# It runs `BENCH --on-medium FOLDER --speed SPEED ARGS...` in that group, and
# takes the medium down again on every way out, Ctrl-C included.
#
# cgroup v2: `io.max` of a new group, with the io and memory controllers
# enabled for it (only then is the kernel's write-back charged to the group
# that wrote the data; they stay enabled, as taking them away would lift other
# groups' limits too). cgroup v1: `blkio.throttle.write_bps_device` of the
# root group, to which v1 charges all write-back by the kernel's flusher
# threads, so one limit covers every write; with GROUP `own`, of a new group,
# which then limits only the writes the benchmark issues itself.
set -euo pipefail

bench=$1 dir=$2 size=$3 group_kind=$4 sectors_kb=$5 speeds=$6
shift 6
[[ ${1-} == -- ]] && shift

skip() {
    echo "tesserak_bench: the simulated media are skipped: $*"
    exit 0
}
[[ $(id -u) -eq 0 ]] || skip "it needs root (loop devices, mount and cgroups); run it with sudo"
[[ -c /dev/loop-control ]] || skip "no loop devices: /dev/loop-control is missing" \
    "(load the loop module; in a container, pass the loop devices in)"
command -v mkfs.ext4 >/dev/null || skip "mkfs.ext4 is not on PATH (Debian package e2fsprogs)"

# v2 when its hierarchy offers the io controller, otherwise v1's blkio.
cgroups=$(findmnt -n -t cgroup2 -o TARGET | head -n 1)
if [[ -n $cgroups ]] && grep -qw io "$cgroups/cgroup.controllers"; then
    version=2 limit_file=io.max
else
    cgroups=$(findmnt -n -t cgroup -O blkio -o TARGET | head -n 1)
    [[ -n $cgroups ]] || skip "no block-I/O cgroup controller: neither a cgroup v2" \
        "hierarchy offering io nor a v1 blkio hierarchy is mounted"
    version=1 limit_file=blkio.throttle.write_bps_device
fi

# What is up now, for take_down; `device` is "MAJ:MIN" while limited.
made_dir="" medium="" loop="" old_sectors="" group="" own_group="" device="" log=""

limit() {  # $1 bytes per second, or "" to lift the limit
    if ((version == 2)); then echo "$device wbps=${1:-max}"; else echo "$device ${1:-0}"; fi \
        >"$group/$limit_file"
}

take_down() {
    set +e
    [[ -n $device ]] && limit ""
    # A group just left, or a file just closed, can be busy for a moment.
    [[ -n $own_group ]] && for _ in {1..50}; do rmdir "$group" 2>/dev/null && break; sleep 0.1; done
    [[ -n $old_sectors ]] && echo "$old_sectors" >"/sys/block/${loop#/dev/}/queue/max_sectors_kb"
    if [[ -n $medium ]] && mountpoint -q "$medium/mount"; then
        for _ in {1..50}; do umount "$medium/mount" 2>/dev/null && break; sleep 0.1; done
        mountpoint -q "$medium/mount" && umount -l "$medium/mount"
    fi
    [[ -n $loop ]] && losetup -d "$loop"
    [[ -n $medium ]] && rm -rf "$medium"
    device="" own_group="" old_sectors="" loop="" medium=""
    set -e
}

finish() {
    take_down
    [[ -n $log ]] && rm -f "$log"
    [[ -n $made_dir ]] && rmdir "$dir" 2>/dev/null
    return 0
}
trap finish EXIT
# The benchmark hears the signal too and stops; the limit goes at once, so
# what it still has to flush is not held back.
interrupted=""
trap 'interrupted=1; [[ -z $device ]] || limit ""' INT TERM HUP

set_up() {  # $1 bytes per second
    medium=$(mktemp -d "$dir/tesserak-medium-XXXXXX")
    # The largest set of files at once, ext4's own blocks, and room so that a
    # nearly full file system does not slow the writes down.
    truncate -s $((size + size / 16 + (96 << 20))) "$medium/image"
    loop=$(losetup --find --show "$medium/image")
    # No journal, as on the FAT of a memory card: the journal's writes come
    # from a kernel thread that no cgroup limits. Inode tables are written now,
    # not by a kernel thread in the background of the timed runs.
    mkfs.ext4 -q -F -m 0 -O ^has_journal -E lazy_itable_init=0 "$loop"
    mkdir "$medium/mount"
    mount -t ext4 -o noatime,nosuid,nodev "$loop" "$medium/mount"
    local queue=/sys/block/${loop#/dev/}/queue note=""
    if ((sectors_kb > 0)); then
        old_sectors=$(<"$queue/max_sectors_kb")
        echo "$sectors_kb" >"$queue/max_sectors_kb"
        note=" (was $old_sectors)"
    fi
    group=$cgroups
    if ((version == 2)); then
        grep -qw memory "$cgroups/cgroup.controllers" && controllers="+io +memory" || controllers=+io
        echo "$controllers" >"$cgroups/cgroup.subtree_control"
    fi
    if ((version == 2)) || [[ $group_kind == own ]]; then
        group=$(mktemp -d "$cgroups/tesserak-bench-XXXXXX")
        own_group=own
    fi
    device=$(<"/sys/block/${loop#/dev/}/dev")
    limit "$1"
    local speed="$(($1 >> 10)) KiB/s"
    (($1 % (1 << 20) == 0)) && speed="$(($1 >> 20)) MiB/s"
    echo
    echo "medium $speed: $loop on $medium/image, ext4 on $medium/mount, max_sectors_kb" \
        "$(<"$queue/max_sectors_kb")$note, cgroup v$version ${own_group:-root} group $group:" \
        "$limit_file '$(grep "^$device " "$group/$limit_file")'"
}

if [[ ! -d $dir ]]; then
    mkdir "$dir"
    made_dir=1
fi
log=$(mktemp)
IFS=, read -r -a speed_list <<<"$speeds"
for speed in "${speed_list[@]}"; do
    set_up "$speed"
    [[ -z $interrupted ]] || exit 130
    # In the group, with the children it starts (dd, cmp); in the background,
    # so that a signal is taken at once; tee ignores Ctrl-C so the benchmark
    # can still say where it stopped.
    (
        echo "$BASHPID" >"$group/cgroup.procs"
        exec "$bench" --on-medium "$medium/mount" --speed "$speed" "$@"
    ) | tee -i -a "$log" &
    status=0
    while wait $! || status=$?; ((status > 128)) && kill -0 $! 2>/dev/null; do status=0; done
    [[ -z $interrupted ]] || exit 130
    ((status == 0)) || exit "$status"
    take_down
done
if ((${#speed_list[@]} > 1)); then
    echo
    echo "all media (the columns as above):"
    for table in "MB/s " "waits ms " "aims "; do
        grep "^$table" "$log" | awk '!seen[$0]++'
    done
fi
