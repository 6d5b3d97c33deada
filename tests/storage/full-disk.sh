#!/usr/bin/env bash
# Runs a test program with its current folder on a tiny file system of its own, so that
# saving there runs out of room the way a full disk does. Mounting needs root (CI runs as
# root); without the right to mount the test is reported as skipped, never as passed.
#   full-disk.sh MOUNTPOINT TMPFS-OPTIONS COMMAND [ARGS...]
set -euo pipefail
mountpoint=$(realpath -m "$1")
options=$2
shift 2

mkdir -p "$mountpoint"
if mountpoint -q "$mountpoint"; then
    umount "$mountpoint"
fi
if ! mount -t tmpfs -o "$options" zerak-full-disk "$mountpoint" 2>/dev/null; then
    echo "cannot mount a small file system here (needs root): skipped" >&2
    exit 77
fi
release() {
    cd /
    # Wine's server may still hold the folder for a moment after the program ends.
    for _ in 1 2 3 4 5 6 7 8 9 10; do
        umount "$mountpoint" 2>/dev/null && return
        sleep 0.2
    done
    umount -l "$mountpoint"
}
trap release EXIT
cd "$mountpoint"
ZERAK_FULL_DISK=1 "$@"
