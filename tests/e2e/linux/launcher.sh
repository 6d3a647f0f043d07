#!/bin/bash
# The launcher end to end: the popup at the pointer, a folder chosen, the opener called, exit.
source "$(dirname "$0")/lib.sh"
KIVORET=${1:?usage: launcher.sh path/to/kivoret}
make_scratch
start_xvfb
printf '[Main]\r\nDrive=0\r\n[Folder001]\r\nTitle=写真\r\nPath=%s/写真/\r\n[Folder002]\r\nTitle=書類 & メモ\r\nPath=%s/my docs/\r\n' \
  "$KV_SCRATCH" "$KV_SCRATCH" >"$XDG_CONFIG_HOME/kivoret/Setting.ini"

run_launcher
[[ "$X $Y" == "200 150" ]] || fail "popup at $X,$Y, not at the pointer (200,150)"
import -window root -crop "$((W + 40))x$((H + 40))+180+130" "$KV_SHOTS/popup-linux.png"
xdotool mousemove $((X + 40)) $((Y + H - 11)) click 1  # the last item, the second folder
wait_for 5 exited || fail "program still running after the choice"
expect_opened "the second folder" "$KV_SCRATCH/my docs/"

run_launcher
xdotool key Escape
wait_for 5 exited || fail "program still running after Escape"
expect_opened "a dismissed popup"

# The program-name item, chosen with the right button: the settings window, closed by cancel.
run_launcher
xdotool mousemove $((X + 40)) $((Y + 11)) click 3
settings_window 10 "from the program-name item"
click_in_window "364 244"  # キャンセル
wait_for 5 exited || fail "cancel did not end the program"
expect_opened "the program-name item"
echo "launcher: ok"
