#!/bin/bash
# One settings window per settings file: a second right-click start hands its folder to the open
# window, OK asks before saving over a file changed behind it, a killed window blocks nothing.
source "$(dirname "$0")/lib.sh"
make_scratch
copy_program "${1:?usage: one_window.sh path/to/kivoret}" "$KV_SCRATCH/app"
A=$KV_SCRATCH/甲 B=$KV_SCRATCH/乙
mkdir -p "$A" "$B"
KEEP='[Main]\r\nDrive= 1\r\n[Folder001]\r\nTitle=Keep\r\nPath=/keep/\r\n'
printf "$KEEP" >"$INI"
printf "$KEEP[Folder002]\r\nTitle=甲\r\nPath=%s/\r\n[Folder003]\r\nTitle=乙\r\nPath=%s/\r\n" "$A" "$B" >"$KV_SCRATCH/all.ini"
expect_all() { cmp "$KV_SCRATCH/all.ini" "$INI" || { od -c "$INI" | head -20; fail "Setting.ini lost an entry"; }; }

start_on() { start "$KIVORET" "$1"; settings_window 10 "$1"; }
# A second start on $1 ends at once, its folder handed over: one window stays.
join_with() {
  timeout 10 "$KIVORET" "$1" >>"$KV_SCRATCH/out.log" 2>&1 || fail "the start on $1 did not end"
  [[ $(xdotool search --onlyvisible --name "$SETTINGS" | wc -l) == 1 ]] || fail "not one window"
}

start_on "$A"
click_in_window "220 100"  # 登録: A, not saved yet
join_with "$B"
click_then_ok "B handed over" "220 100"  # 登録: B, then OK
expect_all

start_on "$A"
printf '[Folder001]\r\nTitle=Other\r\nPath=/other/\r\n' >"$INI"  # changed behind the window
click_in_window "292 244"                                        # OK
answer Escape changed-file-linux.png                             # いいえ: the window stays
find_window "$SETTINGS" >/dev/null || fail "the window closed after No"
[[ $(head -c 11 "$INI") == '[Folder001]' ]] || fail "No saved over the changed file"
click_in_window "292 244"
answer Return  # はい
ends "Yes did not save and close"
expect_all

# A window killed leaves its socket behind; the next start opens a window all the same, and
# takes the place of the dead one for the start after it, which asks before replacing the boxes.
start_on "$A"
{ kill -9 "$KV_PID" && wait "$KV_PID"; } 2>/dev/null || true
ls "$XDG_RUNTIME_DIR"/kivoret-*.window >/dev/null || fail "no socket in the runtime directory"
start_on "$B"
join_with "$A"
answer Return replace-question-linux.png
click_then_ok "the first folder removed" "60 34" "364 100"  # the list's first row, 解除
[[ $(grep '^Title=' "$INI" | tr -d '\r') == $'Title=甲\nTitle=乙' ]] || fail "not Keep removed: $(cat "$INI")"
echo "PASS"
