#!/bin/bash
# Settings end to end: a folder registered, Setting.ini's bytes, the drop-ins written, removed, run.
source "$(dirname "$0")/lib.sh"
make_scratch
start_xvfb
# The copy under test lives where a space, a double quote and a dollar sign must survive quoting.
copy_program "${1:?usage: settings.sh path/to/kivoret}" "$KV_SCRATCH/app dir \"q\" \$x"
FOLDER="$KV_SCRATCH/写真 2026" TARGET="$KV_SCRATCH/my folder"
mkdir -p "$FOLDER" "$TARGET"
rm -rf "$XDG_CONFIG_HOME/kivoret"  # made by the first save

# Started on $FOLDER without a locale; the clicks, then OK.
settings_run() {
  env -u LANG -u LC_ALL -u LC_CTYPE "$KIVORET" "$FOLDER" >"$KV_SCRATCH/out.log" 2>&1 &
  KV_PID=$!
  settings_window 10
  [[ "$WW x $WH" == "409 x 265" ]] || fail "window client area is ${WW}x$WH"
  if [[ ! -e $INI ]]; then  # the first run; the icon property may follow the mapping by a moment
    wait_for 5 has_icon "$WIN" || fail "window has no 32x32 icon"
    import -window root -crop "${WW}x$WH+$WX+$WY" "$KV_SHOTS/settings-linux.png"
  fi
  click_then_ok "settings" "$@"
}

settings_run "220 100" "190 144"  # 登録, then FolderEntryBox: the context-menu entry
printf '[Main]\r\nDrive= 1\r\n[Folder001]\r\nTitle=写真 2026\r\nPath=%s/\r\n' "$FOLDER" | cmp - "$INI" ||
  { od -c "$INI" | head -20; fail "Setting.ini differs"; }
[[ -x $MENUS && -x $SCRIPT && -f $NEMO ]] || fail "drop-ins missing or not executable"
[[ ! -e $XDG_DATA_HOME/applications ]] || fail "something was declared under applications/"
settings_run "190 144"  # reopened ticked (the entry is detected): unticking removes them
for f in "$MENUS" "$NEMO" "$SCRIPT"; do [[ ! -e $f ]] || fail "drop-in $f left after unticking"; done
settings_run "190 144"
[[ -f $MENUS ]] || fail "drop-ins not written again"

# The drop-ins run by their consumers, with a recorder in the program's place.
record_args
launch_service_menu
check_args "service menu"
# The script as Nautilus runs it: selected paths in the environment, or names relative to the folder.
(cd / && NAUTILUS_SCRIPT_SELECTED_FILE_PATHS="$TARGET"$'\n' "$SCRIPT")
check_args "script with selection"
(cd "$KV_SCRATCH" && bash "$SCRIPT" "my folder")
check_args "script with a relative argument"
# Nemo's Exec: shell quoting after its key-file unescaping, %F filled in with Nemo's double quotes.
nemo_exec=$(sed -n 's/^Exec=//p' "$NEMO" | sed 's/\\\\/\\/g')
eval "set -- ${nemo_exec/\%F/\"$TARGET\"}"
"$@"
check_args "nemo action"
echo "settings: ok"
