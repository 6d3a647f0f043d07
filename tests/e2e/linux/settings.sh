#!/bin/bash
# Settings end to end: a folder from the command line registered, Setting.ini byte for byte, the
# context-menu box writing and removing the drop-ins, and the drop-ins run by real consumers.
source "$(dirname "$0")/lib.sh"
BUILT=${1:?usage: settings.sh path/to/kivoret}

make_scratch
start_xvfb
# The copy under test lives where a space, a double quote and a dollar sign must survive quoting.
APPDIR="$KV_SCRATCH/app dir \"q\" \$x"
mkdir -p "$APPDIR"
cp "$BUILT" "$APPDIR/kivoret"
KIVORET=$APPDIR/kivoret
FOLDER="$KV_SCRATCH/写真 2026"
mkdir -p "$FOLDER"
INI=$XDG_CONFIG_HOME/kivoret/Setting.ini
rm -rf "$XDG_CONFIG_HOME/kivoret"  # made by the first save
MENUS=$XDG_DATA_HOME/kio/servicemenus/kivoret.desktop
NEMO=$XDG_DATA_HOME/nemo/actions/kivoret.nemo_action
SCRIPT=$XDG_DATA_HOME/nautilus/scripts/キヴォレットに登録

open_settings() {
  # Without any locale set: Japanese must come through all the same.
  env -u LANG -u LC_ALL -u LC_CTYPE "$KIVORET" "$@" >"$KV_SCRATCH/out.log" 2>&1 &
  KV_PID=$!
  wait_for 10 find_window 'キヴォレット - 設定' >/dev/null || fail "no settings window"
  read -r WIN WX WY WW WH < <(find_window 'キヴォレット - 設定')
  [[ "$WW x $WH" == "409 x 265" ]] || fail "window client area is ${WW}x$WH"
}

# Clicks a point given in the window's own pixels (the layout table divided by 15).
click_at() {
  xdotool mousemove $((WX + $1)) $((WY + $2)) click 1
  sleep 0.3
}

ok_and_wait() {
  [[ -n ${KV_DEBUG_SHOT:-} ]] && import -window root "$KV_DEBUG_SHOT"
  click_at 292 244  # OK
  wait_for 5 exited || fail "OK did not close the window"
}

# 1. Started on a folder: pre-filled, registered, context menu ticked, OK.
open_settings "$FOLDER"
if command -v xprop >/dev/null; then
  xprop -id "$WIN" _NET_WM_ICON | grep -q 'Icon (32 x 32)' || fail "window has no 32x32 icon"
fi
mkdir -p "$KV_SHOTS"
import -window root -crop "${WW}x$WH+$WX+$WY" "$KV_SHOTS/settings-linux.png"
click_at 220 100  # 登録
click_at 190 144  # Check1(1): the context-menu entry
ok_and_wait
printf '[Main]\r\nDrive= 1\r\n[Folder001]\r\nTitle=写真 2026\r\nPath=%s/\r\n' "$FOLDER" >"$KV_SCRATCH/expected.ini"
cmp "$KV_SCRATCH/expected.ini" "$INI" || { od -c "$INI" | head -20; fail "Setting.ini differs"; }
for f in "$MENUS" "$NEMO" "$SCRIPT"; do [[ -f $f ]] || fail "missing drop-in $f"; done
[[ -x $MENUS && -x $SCRIPT ]] || fail "drop-ins not executable"
[[ ! -e $XDG_DATA_HOME/applications ]] || fail "something was declared under applications/"

# 2. Reopened: the box starts ticked (the entry is detected); unticking removes the drop-ins.
open_settings "$FOLDER"
click_at 190 144
ok_and_wait
for f in "$MENUS" "$NEMO" "$SCRIPT"; do [[ ! -e $f ]] || fail "drop-in $f left after unticking"; done

# 3. Ticked again, then the drop-ins are run by their consumers, with a recorder in the
# program's place to see the arguments it would get.
open_settings "$FOLDER"
click_at 190 144
ok_and_wait
[[ -f $MENUS ]] || fail "drop-ins not written again"
ARGS=$KV_SCRATCH/args.log
cat >"$KIVORET" <<REC
#!/bin/bash
{ echo "\$#"; printf '%s\n' "\$@"; } >"$ARGS"
REC
chmod +x "$KIVORET"
TARGET="$KV_SCRATCH/my folder with spaces"
mkdir -p "$TARGET"

check_args() {
  wait_for 5 test -s "$ARGS" || fail "$1: the program was not started"
  [[ $(cat "$ARGS") == "1"$'\n'"$TARGET" ]] || fail "$1: got $(cat "$ARGS")"
  rm -f "$ARGS"
}

# The service menu's Exec line, in an application entry of its own, started by GLib.
exec_line=$(sed -n 's/^Exec=//p' "$MENUS")
printf '[Desktop Entry]\nType=Application\nName=check\nExec=%s\n' "$exec_line" >"$KV_SCRATCH/check.desktop"
(cd / && gio launch "$KV_SCRATCH/check.desktop" "$TARGET") || fail "gio launch failed"
check_args "service menu"

# The script as Nautilus runs it: selected paths in the environment, or the path as argument.
(cd / && NAUTILUS_SCRIPT_SELECTED_FILE_PATHS="$TARGET"$'\n' bash "$SCRIPT")
check_args "script with selection"
(cd "$KV_SCRATCH" && bash "$SCRIPT" "my folder with spaces")
check_args "script with a relative argument"

# Nemo's Exec: the same shell quoting after its key-file unescaping, with %F filled in by
# Nemo's double quotes.
nemo_exec=$(sed -n 's/^Exec=//p' "$NEMO" | sed 's/\\\\/\\/g')
eval "set -- ${nemo_exec/\%F/\"$TARGET\"}"
"$@"
check_args "nemo action"
echo "settings: ok"
