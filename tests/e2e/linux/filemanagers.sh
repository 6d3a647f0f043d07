#!/bin/bash
# The right-click entries run as each file manager runs them, on a folder whose name holds spaces,
# double quotes, "$" and "%", from a program whose own path holds "%" and a double quote.
source "$(dirname "$0")/lib.sh"
BUILT=${1:?usage: filemanagers.sh path/to/kivoret}
make_scratch
export XDG_CONFIG_DIRS=$KV_SCRATCH/xdg
start_xvfb
APPDIR="$KV_SCRATCH/app 100% \"q\"" TARGET="$KV_SCRATCH/a \"b\" \$x 100% c"
mkdir -p "$APPDIR" "$TARGET" "$XDG_CONFIG_DIRS/Thunar"
KIVORET=$APPDIR/kivoret INI=$XDG_CONFIG_HOME/kivoret/Setting.ini ARGS=$KV_SCRATCH/args.log
cp "$BUILT" "$KIVORET"
rm -rf "$XDG_CONFIG_HOME/kivoret"
MENUS=$XDG_DATA_HOME/kio/servicemenus/kivoret.desktop NEMO=$XDG_DATA_HOME/nemo/actions/kivoret.nemo_action
SCRIPT=$XDG_DATA_HOME/nautilus/scripts/キヴォレットに登録 CAJA=$XDG_CONFIG_HOME/caja/scripts/キヴォレットに登録
UCA=$XDG_CONFIG_HOME/Thunar/uca.xml
SYSTEM_UCA='<?xml version="1.0" encoding="UTF-8"?>
<actions>
<action>
	<icon>utilities-terminal</icon>
	<name>Open Terminal Here</name>
	<unique-id>1-1</unique-id>
	<command>exo-open --working-directory %f --launch TerminalEmulator</command>
	<patterns>*</patterns>
	<directories/>
</action>
</actions>
'
printf '%s' "$SYSTEM_UCA" >"$XDG_CONFIG_DIRS/Thunar/uca.xml"

# The settings window of a program already started: clicks at the window's pixels, OK last.
click_then_ok() {
  wait_for 15 find_window 'キヴォレット - 設定' >/dev/null || fail "no settings window ($1)"
  read -r _ WX WY _ _ < <(find_window 'キヴォレット - 設定')
  local xy
  for xy in "${@:2}" "292 244"; do
    xdotool mousemove $((WX + ${xy% *})) $((WY + ${xy#* })) click 1
    sleep 0.3
  done
  wait_for 5 exited || fail "OK did not close the window ($1)"
}

# Ticking the entry from a plain run writes every file manager's drop-in.
"$KIVORET" "$TARGET" >"$KV_SCRATCH/out.log" 2>&1 &
KV_PID=$!
click_then_ok "tick" "190 144"
[[ -x $MENUS && -f $NEMO && -x $SCRIPT && -x $CAJA && -f $UCA ]] || fail "drop-ins missing"
grep -qF 'Open Terminal Here' "$UCA" || fail "the system's Thunar action was not kept"
grep -q "^Exec=\"$SCRIPT\" %f$" "$MENUS" || fail "Dolphin does not go through the script: $(grep Exec "$MENUS")"

# Dolphin's entry (its Exec run by GLib, as KIO would) starts the real program on the folder,
# whose name then reaches Setting.ini with its quotes.
printf '[Desktop Entry]\nType=Application\nName=check\nExec=%s\n' "$(sed -n 's/^Exec=//p' "$MENUS")" >"$KV_SCRATCH/check.desktop"
(cd / && gio launch "$KV_SCRATCH/check.desktop" "$TARGET") || fail "gio launch failed"
wait_for 15 find_window 'キヴォレット - 設定' >/dev/null || fail "the service menu did not start the program"
read -r win _ < <(find_window 'キヴォレット - 設定')
KV_PID=$(xdotool getwindowpid "$win")
[[ $(readlink "/proc/$KV_PID/exe") == "$KIVORET" ]] || fail "another program's window"
click_then_ok "register" "220 100"
expected=$'[Main]\r\nDrive= 1\r\n[Folder001]\r\nTitle=a "b" $x 100% c\r\nPath='"$TARGET"$'/\r\n'
cmp <(printf '%s' "$expected") "$INI" || { od -c "$INI" | tail -8; fail "Setting.ini differs"; }

# Every entry, with a recorder in the program's place, starts it on exactly the folder.
printf '#!/bin/bash\n{ echo "$#"; printf "%%s\\n" "$@"; } >"%s"\n' "$ARGS" >"$KIVORET"
check_args() {
  wait_for 5 test -s "$ARGS" || fail "$1: the program was not started"
  [[ $(cat "$ARGS") == "1"$'\n'"$TARGET" ]] || fail "$1: got $(cat "$ARGS")"
  rm -f "$ARGS"
}
(cd / && gio launch "$KV_SCRATCH/check.desktop" "$TARGET") || fail "gio launch failed"
check_args "dolphin"
# Caja: the selection in the environment, the names as arguments, run in the shown folder.
(cd "$KV_SCRATCH" && CAJA_SCRIPT_SELECTED_FILE_PATHS="$TARGET"$'\n' "$CAJA" "${TARGET##*/}")
check_args "caja"
touch "$KV_SCRATCH/plain file"
(cd "$KV_SCRATCH" && CAJA_SCRIPT_SELECTED_FILE_PATHS="$KV_SCRATCH/plain file"$'\n' "$CAJA" "plain file")
sleep 0.5
[[ ! -e $ARGS ]] || fail "caja: started on a file that is not a folder"
# Thunar: our action's command with %f replaced by the quoted path, split into words as
# g_shell_parse_argv does, run without a shell.
python3 - "$UCA" "$TARGET" <<'PY' || fail "thunar: command not run"
import shlex, subprocess, sys, xml.etree.ElementTree as E
actions = [a for a in E.parse(sys.argv[1]).getroot() if a.findtext('unique-id', '').startswith('kivoret-')]
assert len(actions) == 1, len(actions)
command, out, i = actions[0].findtext('command'), '', 0
while i < len(command):
    if command[i] == '%' and i + 1 < len(command):
        out += {'f': shlex.quote(sys.argv[2]), '%': '%'}[command[i + 1]]
        i += 2
    else:
        out += command[i]
        i += 1
subprocess.run(shlex.split(out), check=True, cwd='/')
PY
check_args "thunar"
(cd / && NAUTILUS_SCRIPT_SELECTED_FILE_PATHS="$TARGET"$'\n' "$SCRIPT")
check_args "nautilus"

# Unticking takes out our Thunar action only, and the other files.
cp "$BUILT" "$KIVORET"
"$KIVORET" "$TARGET" >"$KV_SCRATCH/out.log" 2>&1 &
KV_PID=$!
click_then_ok "untick" "190 144"
for f in "$MENUS" "$NEMO" "$SCRIPT" "$CAJA"; do [[ ! -e $f ]] || fail "$f left after unticking"; done
cmp <(printf '%s' "$SYSTEM_UCA") "$UCA" || fail "uca.xml is not back to the system's actions"
echo "filemanagers: ok"
