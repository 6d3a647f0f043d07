#!/bin/bash
# A drive that never answers: the popup still comes at once, the drive's row is there, and the
# program ends right after a choice. The mount is removed whatever happens.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/slow_mount.sh"
KIVORET=${1:?usage: slow_drive.sh path/to/kivoret path/to/slowfs}
SLOWFS=${2:?usage: slow_drive.sh path/to/kivoret path/to/slowfs}
make_scratch
# Unmount before the scratch folder goes: removing it would walk into the hung mount.
trap 'kill ${KV_PID:-} 2>/dev/null; unmount_slowfs; kill ${KV_XVFB_PID:-} 2>/dev/null; rm -rf "${KV_SCRATCH:-}"' EXIT
start_xvfb
mount_slowfs "$SLOWFS" "$KV_SCRATCH/slow"
printf '[Main]\r\nDrive=1\r\n' >"$XDG_CONFIG_HOME/kivoret/Setting.ini"

point_at 200 150
start=$(now_ms)
"$KIVORET" >"$KV_SCRATCH/out.log" 2>&1 &
KV_PID=$!
for ((i = 0; i < 500; i++)); do find_window '' >/dev/null && break; sleep 0.02; done
took=$(($(now_ms) - start))
read -r POPUP X Y W H < <(find_window '') || fail "no popup appeared"
echo "popup after $took ms"
((took < 1000)) || fail "the popup took $took ms with a hung drive"
import -window root -crop "$((W + 40))x$((H + 40))+180+130" "$KV_SHOTS/popup-slow-drive-linux.png"

# The newest mount is the last row: choose it.
xdotool mousemove $((X + 40)) $((Y + H - 11)) click 1
start=$(now_ms)
wait_for 5 exited || fail "program still running after the choice"
took=$(($(now_ms) - start))
((took < 1000)) || fail "the program took $took ms to end after the choice"
expect_opened "the last row" "$KV_SLOW_MNT/"
echo "slow drive: ok"
