#!/usr/bin/env bash
# The simulated slow media of `tesserak_bench --medium`, which hands over to
# this script with what it read from its command line:
#
#   medium.sh BENCH DIR SIZE GROUP SECTORS_KB SPEEDS -- ARGS...
#
# For each write speed of SPEEDS (bytes per second, comma-separated) it makes
# a medium: a sparse file in DIR bound to a loop device, an ext4 file system on
# it mounted beside the file, the device's largest request set to SECTORS_KB
# (0: the kernel's), and the writes to the device limited by the block-I/O
# cgroup. It runs `BENCH --on-medium FOLDER --speed SPEED ARGS...` in that
# group and takes the medium down again, on every way out, Ctrl-C included.
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
cgroup_root=$(findmnt -n -t cgroup2 -o TARGET | head -n 1)
if [[ -n $cgroup_root ]] && grep -qw io "$cgroup_root/cgroup.controllers"; then
    version=2 limit_name=io.max
else
    cgroup_root=$(findmnt -n -t cgroup -O blkio -o TARGET | head -n 1)
    [[ -n $cgroup_root ]] || skip "no block-I/O cgroup controller: neither a cgroup v2" \
        "hierarchy offering io nor a v1 blkio hierarchy is mounted"
    version=1 limit_name=blkio.throttle.write_bps_device
fi

# What is up now, for take_down.
made_dir="" medium="" loop="" old_sectors="" group="" made_group="" limit="" log=""

take_down() {
    set +e
    if [[ -n $limit ]]; then
        # Lifted first, so nothing still queued waits on it.
        if ((version == 2)); then echo "$limit wbps=max"; else echo "$limit 0"; fi \
            >"$group/$limit_name"
        limit=""
    fi
    if [[ -n $made_group ]]; then
        # A group just left can be busy for a moment.
        for _ in {1..50}; do rmdir "$group" 2>/dev/null && break; sleep 0.1; done
        made_group=""
    fi
    if [[ -n $old_sectors ]]; then
        echo "$old_sectors" >"/sys/block/${loop#/dev/}/queue/max_sectors_kb"
        old_sectors=""
    fi
    if [[ -n $medium ]] && mountpoint -q "$medium/mount"; then
        # A file just closed can hold the mount for a moment.
        for _ in {1..50}; do umount "$medium/mount" 2>/dev/null && break; sleep 0.1; done
        mountpoint -q "$medium/mount" && umount -l "$medium/mount"
    fi
    [[ -n $loop ]] && losetup -d "$loop"
    loop=""
    [[ -n $medium ]] && rm -rf "$medium"
    medium=""
    set -e
}

finish() {
    take_down
    [[ -n $log ]] && rm -f "$log"
    [[ -n $made_dir ]] && rmdir "$dir" 2>/dev/null
    return 0
}
trap finish EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP

# Sets up the medium for `$1` bytes per second; says what it made.
set_up() {
    medium=$(mktemp -d "$dir/tesserak-medium-XXXXXX")
    # The largest set of files at once, ext4's own blocks, and room so that a
    # nearly full file system does not slow the writes down.
    truncate -s $((size + size / 16 + (96 << 20))) "$medium/image"
    loop=$(losetup --find --show "$medium/image")
    # No journal, as on the FAT of a memory card: the journal's writes come
    # from a kernel thread that no cgroup limits. Inode tables are written now
    # rather than by a kernel thread in the background of the timed runs.
    mkfs.ext4 -q -F -m 0 -O ^has_journal -E lazy_itable_init=0 "$loop"
    mkdir "$medium/mount"
    mount -t ext4 -o noatime,nosuid,nodev "$loop" "$medium/mount"
    local queue=/sys/block/${loop#/dev/}/queue sectors_note=""
    if ((sectors_kb > 0)); then
        old_sectors=$(<"$queue/max_sectors_kb")
        echo "$sectors_kb" >"$queue/max_sectors_kb"
        sectors_note=" (was $old_sectors)"
    fi
    if ((version == 2)); then
        local available
        available=$(<"$cgroup_root/cgroup.controllers")
        if [[ " $available " == *" memory "* ]]; then
            echo "+io +memory" >"$cgroup_root/cgroup.subtree_control"
        else
            echo "+io" >"$cgroup_root/cgroup.subtree_control"
        fi
    fi
    if ((version == 2)) || [[ $group_kind == own ]]; then
        group=$(mktemp -d "$cgroup_root/tesserak-bench-XXXXXX")
        made_group=1
    else
        group=$cgroup_root
    fi
    limit=$(<"/sys/block/${loop#/dev/}/dev")
    if ((version == 2)); then
        echo "$limit wbps=$1" >"$group/$limit_name"
    else
        echo "$limit $1" >"$group/$limit_name"
    fi
    local speed_text="$(($1 >> 10)) KiB/s"
    (($1 % (1 << 20) == 0)) && speed_text="$(($1 >> 20)) MiB/s"
    echo
    echo "medium $speed_text: $loop on $medium/image, ext4 on $medium/mount," \
        "max_sectors_kb $(<"$queue/max_sectors_kb")$sectors_note, cgroup v$version" \
        "$([[ -n $made_group ]] && echo group || echo root group) $group:" \
        "$limit_name '$(grep "^$limit " "$group/$limit_name")'"
}

if [[ ! -d $dir ]]; then
    mkdir "$dir"
    made_dir=1
fi
log=$(mktemp)
IFS=, read -r -a speed_list <<<"$speeds"
for speed in "${speed_list[@]}"; do
    set_up "$speed"
    # In the group, with the children it starts (dd, cmp); tee outlives a
    # Ctrl-C so the benchmark can still say where it stopped.
    (
        echo "$BASHPID" >"$group/cgroup.procs"
        exec "$bench" --on-medium "$medium/mount" --speed "$speed" "$@"
    ) | tee -i -a "$log"
    take_down
done
if ((${#speed_list[@]} > 1)); then
    echo
    echo "all media (the columns as above):"
    for table in "MB/s " "waits ms " "aims "; do
        grep "^$table" "$log" | awk '!seen[$0]++'
    done
fi
