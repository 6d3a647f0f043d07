#!/bin/bash
# Settings the program must not lose: a folder named with a line break is refused; a 10 MB list
# pops up and saves; an unreadable "Setting.ini" (root's 0600, the program run as nobody) stays.
source "$(dirname "$0")/lib.sh"
make_scratch
start_xvfb
copy_program "${1:?usage: settings_faults.sh path/to/kivoret}" "$KV_SCRATCH"
FOLDER="$KV_SCRATCH/a"$'\n'"b"
mkdir -p "$FOLDER" "$KV_SCRATCH/a"
printf '[Main]\r\nDrive= 1\r\n[Folder001]\r\nTitle=Keep\r\nPath=/keep/\r\n' >"$INI"
cp "$INI" "$KV_SCRATCH/before.ini"

# The message over the settings window ($2 says which): a screenshot as $1, then Return.
dismiss_message() {
  wait_for 5 find_window '^キヴォレット$' >/dev/null || fail "no message: $2"
  read -r BOX BX BY BW BH < <(find_window '^キヴォレット$')
  import -window root -crop "${BW}x$BH+$BX+$BY" "$KV_SHOTS/$1" 2>/dev/null || true
  xdotool windowfocus --sync "$BOX" key Return 2>/dev/null || xdotool key Return
  wait_for 5 bash -c "! xdotool search --onlyvisible --name '^キヴォレット\$' >/dev/null 2>&1" ||
    fail "the message did not close: $2"
}

"$KIVORET" "$FOLDER" >"$KV_SCRATCH/out.log" 2>&1 &
KV_PID=$!
settings_window 10
click_in_window "220 100"  # 登録
dismiss_message line-break-refused-linux.png "the line break"
click_then_ok "after the refusal"
# The entry was never registered: OK saved the list as it was.
cmp "$INI" "$KV_SCRATCH/before.ini" || { od -c "$INI" | head; fail "Setting.ini changed"; }

# 10 MB of entries (190,000): the launcher pops up and OK saves them all, in seconds here (a
# quadratic reader or writer took minutes); the bounds leave room for a sanitized build.
awk -v d="$KV_SCRATCH" 'BEGIN { printf "[Main]\r\nDrive=1\r\n"
  for (k = 1; k <= 190000; k++) printf "[Folder%03d]\r\nTitle=フォルダ%d\r\nPath=%s/f%d/\r\n", k, k, d, k }' >"$INI"
xdotool mousemove 200 150
"$KIVORET" >"$KV_SCRATCH/out.log" 2>&1 &
KV_PID=$!
wait_for 60 find_window '' >/dev/null || fail "no popup for 190,000 entries"
xdotool key Escape
wait_for 20 exited || fail "the launcher did not end after Escape"
"$KIVORET" "$KV_SCRATCH/a" >"$KV_SCRATCH/out.log" 2>&1 &
KV_PID=$!
settings_window 60 "190,000 entries"
OK_WAIT=60 click_then_ok "saving 190,000 entries" "220 100"  # 登録: the folder itself
[[ $(grep -c '^Title=' "$INI") == 190001 ]] || fail "$(grep -c '^Title=' "$INI") entries saved, not 190,001"
[[ $(tail -n 3 "$INI" | tr -d '\r') == $'[Folder190001]\nTitle=a\nPath='"$KV_SCRATCH/a/" ]] ||
  fail "the new entry is not last: $(tail -n 3 "$INI")"
cp "$KV_SCRATCH/before.ini" "$INI"

[[ $(id -u) == 0 ]] || { echo "PASS (the unreadable file needs root to set up)"; exit 0; }
chmod 755 "$KV_SCRATCH" "$HOME" "$XDG_CONFIG_HOME" "$XDG_CONFIG_HOME/kivoret" "$KV_SCRATCH/a"
chmod 600 "$INI"
export XDG_RUNTIME_DIR=$KV_SCRATCH/run-nobody
mkdir -m 700 "$XDG_RUNTIME_DIR" && chown nobody:nogroup "$XDG_RUNTIME_DIR"
setpriv --reuid=nobody --regid=nogroup --clear-groups "$KIVORET" "$KV_SCRATCH/a" \
  >"$KV_SCRATCH/out.log" 2>&1 &
KV_PID=$!
settings_window 10 "as nobody"
click_in_window "220 100" "292 244"  # 登録: the folder itself, then OK
dismiss_message unreadable-settings-linux.png "no save warning for an unreadable file"
find_window 'キヴォレット - 設定' >/dev/null || fail "the window closed after a failed save"
click_in_window "364 244"  # キャンセル
wait_for 5 exited || fail "cancel did not close the window"
cmp "$INI" "$KV_SCRATCH/before.ini" || fail "the unreadable Setting.ini was overwritten"
[[ $(stat -c '%a %U' "$INI") == "600 root" ]] || fail "Setting.ini is now $(stat -c '%a %U' "$INI")"
echo "PASS"
