#!/bin/bash
# Settings the program must not lose: a 10 MB list pops up and saves; an unreadable
# "Setting.ini" (root's 0600, the program run as nobody) stays.
source "$(dirname "$0")/lib.sh"
make_scratch
copy_program "${1:?usage: settings_faults.sh path/to/kivoret}" "$KV_SCRATCH"
mkdir -p "$KV_SCRATCH/a"
printf '[Main]\r\nDrive= 1\r\n[Folder001]\r\nTitle=Keep\r\nPath=/keep/\r\n' >"$KV_SCRATCH/before.ini"

# 10 MB of entries (190,000): the launcher pops up and OK saves them all, in seconds here (a
# quadratic reader or writer took minutes); the bounds leave room for a sanitized build.
awk -v d="$KV_SCRATCH" 'BEGIN { printf "[Main]\r\nDrive=1\r\n"
  for (k = 1; k <= 190000; k++) printf "[Folder%03d]\r\nTitle=フォルダ%d\r\nPath=%s/f%d/\r\n", k, k, d, k }' >"$INI"
POPUP_WAIT=60 run_launcher
xdotool key Escape
ends "the launcher did not end after Escape" 20
start "$KIVORET" "$KV_SCRATCH/a"
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
start setpriv --reuid=nobody --regid=nogroup --clear-groups "$KIVORET" "$KV_SCRATCH/a"
settings_window 10 "as nobody"
click_in_window "220 100" "292 244"  # 登録: the folder itself, then OK
answer Return unreadable-settings-linux.png
find_window "$SETTINGS" >/dev/null || fail "the window closed after a failed save"
cancel
cmp "$INI" "$KV_SCRATCH/before.ini" || fail "the unreadable Setting.ini was overwritten"
[[ $(stat -c '%a %U' "$INI") == "600 root" ]] || fail "Setting.ini is now $(stat -c '%a %U' "$INI")"
echo "PASS"
