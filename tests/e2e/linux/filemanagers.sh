#!/bin/bash
# The settings window and the right-click entries end to end: a folder registered and
# Setting.ini's bytes; every file manager's drop-in written, detected, run as its file manager
# runs it (on a folder whose name holds spaces, double quotes, "$" and "%", from a program whose
# own path holds "$", "%" and a double quote) and removed, the system's Thunar actions kept.
source "$(dirname "$0")/lib.sh"
BUILT=${1:?usage: filemanagers.sh path/to/kivoret}
make_scratch
export XDG_CONFIG_DIRS=$KV_SCRATCH/xdg
copy_program "$BUILT" "$KV_SCRATCH/app \$1 100% \"q\""
TARGET="$KV_SCRATCH/a \"b\" \$x 100% c"
mkdir -p "$TARGET" "$XDG_CONFIG_DIRS/Thunar"
rm -rf "$XDG_CONFIG_HOME/kivoret"  # made by the first save
SYSTEM_UCA='<?xml version="1.0" encoding="UTF-8"?>
<actions>
<action>
	<name>Open Terminal Here</name><unique-id>1-1</unique-id><command>exo-open %f</command>
</action>
</actions>
'
printf '%s' "$SYSTEM_UCA" >"$XDG_CONFIG_DIRS/Thunar/uca.xml"

# The copy replaced by a recorder of its arguments, to run the drop-ins with; the recorder ran
# with $TARGET as its one argument ($1 names the drop-in).
record_args() { printf '#!/bin/bash\n{ echo "$#"; printf "%%s\\n" "$@"; } >"%s"\n' "$ARGS" >"$KIVORET"; }
check_args() {
  wait_for 5 test -s "$ARGS" || fail "$1: the program was not started"
  [[ $(cat "$ARGS") == "1"$'\n'"$TARGET" ]] || fail "$1: got $(cat "$ARGS")"
  rm -f "$ARGS"
}
# The service menu's Exec line, in an application entry of its own, started by GLib on $TARGET.
launch_service_menu() {
  printf '[Desktop Entry]\nType=Application\nName=check\nExec=%s\n' "$(sed -n 's/^Exec=//p' "$MENUS")" >"$KV_SCRATCH/check.desktop"
  (cd / && gio launch "$KV_SCRATCH/check.desktop" "$TARGET") || fail "gio launch failed"
}

# Started on the folder without a locale; the window, then the clicks and OK.
run_on_target() {
  start env -u LANG -u LC_ALL -u LC_CTYPE "$KIVORET" "$TARGET"
  settings_window 10
  [[ "$WW x $WH" == "409 x 265" ]] || fail "window client area is ${WW}x$WH"
  wait_for 5 bash -c "xprop -id $WIN _NET_WM_ICON | grep -q 'Icon (32 x 32)'" || fail "window has no 32x32 icon"
  [[ -z ${KEYS:-} ]] || xdotool windowfocus --sync "$WIN" key $KEYS
  click_then_ok "$@"
}
# The entry's check box ticked from the keyboard: the window starts on the drives' box, Tab is next.
KEYS="Tab space" run_on_target "tick"
[[ -x $MENUS && -f $NEMO && -x $SCRIPT && -x $CAJA && -f $UCA ]] || fail "drop-ins missing"
grep -qx "Active=true" "$NEMO" || fail "the Nemo action is not active"
[[ ! -e $XDG_DATA_HOME/applications ]] || fail "something was declared under applications/"
grep -qF 'Open Terminal Here' "$UCA" || fail "the system's Thunar action was not kept"
grep -q "^Exec=\"$SCRIPT\" %f$" "$MENUS" || fail "Dolphin does not go through the script: $(grep Exec "$MENUS")"

# Dolphin's entry (run by GLib, as KIO would) starts the real program; the name keeps its quotes.
launch_service_menu
settings_window 15 "started by the service menu"
import -window root -crop "${WW}x$WH+$WX+$WY" "$KV_SHOTS/settings-linux.png"
KV_PID=$(xdotool getwindowpid "$WIN")
click_then_ok "register" "220 100"  # 登録
expected=$'[Main]\r\nDrive= 1\r\n[Folder001]\r\nTitle=a "b" $x 100% c\r\nPath='"$TARGET"$'/\r\n'
cmp <(printf '%s' "$expected") "$INI" || { od -c "$INI" | tail -8; fail "Setting.ini differs"; }

# Every entry, with a recorder in the program's place, starts it on exactly the folder.
record_args
launch_service_menu
check_args "dolphin"
# Caja: the selection in the environment, the names as arguments, run in the shown folder.
(cd "$KV_SCRATCH" && CAJA_SCRIPT_SELECTED_FILE_PATHS="$TARGET"$'\n' "$CAJA" "${TARGET##*/}")
check_args "caja"
touch "$KV_SCRATCH/plain file"
(cd "$KV_SCRATCH" && CAJA_SCRIPT_SELECTED_FILE_PATHS="$KV_SCRATCH/plain file"$'\n' "$CAJA" "plain file")
sleep 0.5
[[ ! -e $ARGS ]] || fail "caja: started on a file that is not a folder"
# Nautilus: selected paths in the environment, or names relative to the folder.
(cd / && NAUTILUS_SCRIPT_SELECTED_FILE_PATHS="$TARGET"$'\n' "$SCRIPT")
check_args "nautilus"
(cd "$KV_SCRATCH" && bash "$SCRIPT" "${TARGET##*/}")
check_args "nautilus with a relative argument"
# Nemo's Exec: shell quoting after its key-file unescaping, %F filled in with Nemo's quotes.
nemo_exec=$(sed -n 's/^Exec=//p' "$NEMO" | sed 's/\\\\/\\/g')
eval "set -- ${nemo_exec/\%F/\"\$TARGET\"}"
"$@"
check_args "nemo"
# Thunar: %f replaced by the quoted path, split into words as g_shell_parse_argv does.
python3 - "$UCA" "$TARGET" <<'PY' || fail "thunar: command not run"
import re, shlex, subprocess, sys, xml.etree.ElementTree as E
[a] = [a for a in E.parse(sys.argv[1]).getroot() if a.findtext('unique-id', '').startswith('kivoret-')]
command = re.sub('%[f%]', lambda m: shlex.quote(sys.argv[2]) if m[0] == '%f' else '%', a.findtext('command'))
subprocess.run(shlex.split(command), check=True, cwd='/')
PY
check_args "thunar"

# Reopened ticked (the entry is detected): unticking takes out our files and Thunar action only.
cp "$BUILT" "$KIVORET"
run_on_target "untick" "190 144"  # the entry's check box
for f in "$MENUS" "$NEMO" "$SCRIPT" "$CAJA"; do [[ ! -e $f ]] || fail "$f left after unticking"; done
cmp <(printf '%s' "$SYSTEM_UCA") "$UCA" || fail "uca.xml is not back to the system's actions"
echo "filemanagers: ok"
