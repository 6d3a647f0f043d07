#!/bin/bash
# The launcher end to end: the popup at the pointer, a folder chosen, the opener called, exit.
source "$(dirname "$0")/lib.sh"
KIVORET=${1:?usage: launcher.sh path/to/kivoret}
make_scratch
start_xvfb
printf '[Main]\r\nDrive=0\r\n[Folder001]\r\nTitle=写真\r\nPath=%s/写真/\r\n[Folder002]\r\nTitle=書類 & メモ\r\nPath=%s/my docs/\r\n' \
  "$KV_SCRATCH" "$KV_SCRATCH" >"$XDG_CONFIG_HOME/kivoret/Setting.ini"

run_launcher() {  # a fresh server may drop the first move: repeat until the pointer is there
  wait_for 5 bash -c 'xdotool mousemove 200 150 && [[ $(xdotool getmouselocation) == "x:200 y:150 "* ]]' ||
    fail "pointer did not move"
  rm -f "$KV_OPEN_LOG"
  "$KIVORET" >"$KV_SCRATCH/out.log" 2>&1 &
  KV_PID=$!
  wait_for 10 find_window '' >/dev/null || fail "no popup appeared"
  read -r POPUP X Y W H < <(find_window '')
}
nothing_opened() { [[ ! -e $KV_OPEN_LOG ]] || fail "$1 opened '$(cat "$KV_OPEN_LOG")'"; }

run_launcher
[[ "$X $Y" == "200 150" ]] || fail "popup at $X,$Y, not at the pointer (200,150)"
import -window root -crop "$((W + 40))x$((H + 40))+180+130" "$KV_SHOTS/popup-linux.png"
xdotool mousemove $((X + 40)) $((Y + H - 11)) click 1  # the last item, the second folder
wait_for 5 exited || fail "program still running after the choice"
[[ $(cat "$KV_OPEN_LOG" 2>/dev/null) == "$KV_SCRATCH/my docs/" ]] || fail "opened '$(cat "$KV_OPEN_LOG" 2>/dev/null)'"

run_launcher
xdotool key Escape
wait_for 5 exited || fail "program still running after Escape"
nothing_opened "a dismissed popup"

# The program-name item, chosen with the right button: the settings window, closed by cancel.
run_launcher
xdotool mousemove $((X + 40)) $((Y + 11)) click 3
wait_for 10 find_window 'キヴォレット - 設定' >/dev/null || fail "the program-name item opened no settings window"
read -r _ SX SY _ _ < <(find_window 'キヴォレット - 設定')
xdotool mousemove $((SX + 364)) $((SY + 244)) click 1  # キャンセル
wait_for 5 exited || fail "cancel did not end the program"
nothing_opened "the program-name item"
echo "launcher: ok"
