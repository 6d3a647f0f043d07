#!/bin/bash
# The right-click entries run as each file manager runs them, on a folder whose name holds spaces,
# double quotes, "$" and "%", from a program whose own path holds "%" and a double quote.
source "$(dirname "$0")/lib.sh"
BUILT=${1:?usage: filemanagers.sh path/to/kivoret}
make_scratch
export XDG_CONFIG_DIRS=$KV_SCRATCH/xdg
start_xvfb
copy_program "$BUILT" "$KV_SCRATCH/app 100% \"q\""
TARGET="$KV_SCRATCH/a \"b\" \$x 100% c"
mkdir -p "$TARGET" "$XDG_CONFIG_DIRS/Thunar"
rm -rf "$XDG_CONFIG_HOME/kivoret"
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

# Ticking the entry from a plain run writes every file manager's drop-in.
"$KIVORET" "$TARGET" >"$KV_SCRATCH/out.log" 2>&1 &
KV_PID=$!
click_then_ok "tick" "190 144"
[[ -x $MENUS && -f $NEMO && -x $SCRIPT && -x $CAJA && -f $UCA ]] || fail "drop-ins missing"
grep -qF 'Open Terminal Here' "$UCA" || fail "the system's Thunar action was not kept"
grep -q "^Exec=\"$SCRIPT\" %f$" "$MENUS" || fail "Dolphin does not go through the script: $(grep Exec "$MENUS")"

# Dolphin's entry (run by GLib, as KIO would) starts the real program; the name keeps its quotes.
launch_service_menu
settings_window 15 "started by the service menu"
KV_PID=$(xdotool getwindowpid "$WIN")
[[ $(readlink "/proc/$KV_PID/exe") == "$KIVORET" ]] || fail "another program's window"
click_then_ok "register" "220 100"
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
