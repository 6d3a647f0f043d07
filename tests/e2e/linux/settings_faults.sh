#!/bin/bash
# The real program and a folder whose name holds a line break (legal on Linux): registering it
# from the context menu is refused with a message, and OK leaves "Setting.ini" as it was.
source "$(dirname "$0")/lib.sh"
BUILT=${1:?usage: settings_faults.sh path/to/kivoret}
make_scratch
start_xvfb
KIVORET=$KV_SCRATCH/kivoret INI=$XDG_CONFIG_HOME/kivoret/Setting.ini
FOLDER="$KV_SCRATCH/a"$'\n'"b"
cp "$BUILT" "$KIVORET"
mkdir -p "$FOLDER" "$KV_SCRATCH/a"
printf '[Main]\r\nDrive= 1\r\n[Folder001]\r\nTitle=Keep\r\nPath=/keep/\r\n' >"$INI"
cp "$INI" "$KV_SCRATCH/before.ini"

"$KIVORET" "$FOLDER" >"$KV_SCRATCH/out.log" 2>&1 &
KV_PID=$!
wait_for 10 find_window 'キヴォレット - 設定' >/dev/null || fail "no settings window"
read -r WIN WX WY WW WH < <(find_window 'キヴォレット - 設定')
xdotool mousemove $((WX + 220)) $((WY + 100)) click 1  # 登録
wait_for 5 find_window '^キヴォレット$' >/dev/null || fail "no message for the line break"
read -r BOX BX BY BW BH < <(find_window '^キヴォレット$')
import -window root -crop "${BW}x$BH+$BX+$BY" "$KV_SHOTS/line-break-refused-linux.png" 2>/dev/null || true
xdotool windowfocus --sync "$BOX" key Return 2>/dev/null || xdotool key Return
wait_for 5 bash -c "! xdotool search --onlyvisible --name '^キヴォレット\$' >/dev/null 2>&1" ||
  fail "the message did not close"
xdotool mousemove $((WX + 292)) $((WY + 244)) click 1  # OK
wait_for 5 exited || fail "OK did not close the window"
# The entry was never registered: OK saved the list as it was.
cmp "$INI" "$KV_SCRATCH/before.ini" || { od -c "$INI" | head; fail "Setting.ini changed"; }
echo "PASS"
