#!/bin/bash
# A drive that never answers (a FUSE mount whose daemon is stopped): the popup still comes at
# once, the drive's row is there, and the program ends right after a choice.
source "$(dirname "$0")/lib.sh"
KIVORET=${1:?usage: slow_drive.sh path/to/kivoret}
make_scratch
# The daemon killed and the mount detached before the scratch folder goes: removing it would
# walk into the hung mount.
trap 'kill ${KV_PID:-} ${KV_XVFB_PID:-} 2>/dev/null; kill -KILL ${FUSE_PID:-} 2>/dev/null
      fusermount3 -u -z "$MNT" 2>/dev/null; rm -rf "$KV_SCRATCH"' EXIT
MNT=$KV_SCRATCH/slow
mkdir -p "$MNT" "$KV_SCRATCH/empty"
bindfs -f -o attr_timeout=0,entry_timeout=0 "$KV_SCRATCH/empty" "$MNT" 2>/dev/null &
FUSE_PID=$!
wait_for 10 grep -q " $MNT " /proc/self/mountinfo || fail "bindfs did not mount"
kill -STOP "$FUSE_PID"
printf '[Main]\r\nDrive=1\r\n' >"$XDG_CONFIG_HOME/kivoret/Setting.ini"

point_at 200 150
t0=$(now_ms)
run_launcher moved
took=$(($(now_ms) - t0))
((took < 1000)) || fail "the popup took $took ms with a hung drive"
click_last  # the newest mount is the last row
t0=$(now_ms)
ends "program still running after the choice"
took=$(($(now_ms) - t0))
((took < 1000)) || fail "the program took $took ms to end after the choice"
expect_opened "the last row" "$MNT/"
echo "slow drive: ok"
