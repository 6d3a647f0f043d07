#!/bin/bash
# Settings end to end: a folder registered, Setting.ini's bytes, the drop-ins written, removed, run.
source "$(dirname "$0")/lib.sh"
BUILT=${1:?usage: settings.sh path/to/kivoret}
make_scratch
start_xvfb
# The copy under test lives where a space, a double quote and a dollar sign must survive quoting.
APPDIR="$KV_SCRATCH/app dir \"q\" \$x" FOLDER="$KV_SCRATCH/写真 2026" TARGET="$KV_SCRATCH/my folder"
mkdir -p "$APPDIR" "$FOLDER" "$TARGET"
KIVORET=$APPDIR/kivoret INI=$XDG_CONFIG_HOME/kivoret/Setting.ini ARGS=$KV_SCRATCH/args.log
cp "$BUILT" "$KIVORET"
rm -rf "$XDG_CONFIG_HOME/kivoret"  # made by the first save
MENUS=$XDG_DATA_HOME/kio/servicemenus/kivoret.desktop NEMO=$XDG_DATA_HOME/nemo/actions/kivoret.nemo_action
SCRIPT=$XDG_DATA_HOME/nautilus/scripts/キヴォレットに登録

# Started on $FOLDER without a locale; OK after clicks at the window's pixels (the table's / 15).
settings_run() {
  env -u LANG -u LC_ALL -u LC_CTYPE "$KIVORET" "$FOLDER" >"$KV_SCRATCH/out.log" 2>&1 &
  KV_PID=$!
  wait_for 10 find_window 'キヴォレット - 設定' >/dev/null || fail "no settings window"
  read -r WIN WX WY WW WH < <(find_window 'キヴォレット - 設定')
  [[ "$WW x $WH" == "409 x 265" ]] || fail "window client area is ${WW}x$WH"
  if [[ ! -e $INI ]]; then  # the first run
    if command -v xprop >/dev/null; then
      # The icon property may follow the mapping by a moment.
      wait_for 5 has_icon "$WIN" || fail "window has no 32x32 icon"
    fi
    import -window root -crop "${WW}x$WH+$WX+$WY" "$KV_SHOTS/settings-linux.png"
  fi
  for xy in "$@" "292 244"; do  # OK last
    xdotool mousemove $((WX + ${xy% *})) $((WY + ${xy#* })) click 1
    sleep 0.3
  done
  wait_for 5 exited || fail "OK did not close the window"
}

settings_run "220 100" "190 144"  # 登録, then Check1(1): the context-menu entry
printf '[Main]\r\nDrive= 1\r\n[Folder001]\r\nTitle=写真 2026\r\nPath=%s/\r\n' "$FOLDER" | cmp - "$INI" ||
  { od -c "$INI" | head -20; fail "Setting.ini differs"; }
[[ -x $MENUS && -x $SCRIPT && -f $NEMO ]] || fail "drop-ins missing or not executable"
[[ ! -e $XDG_DATA_HOME/applications ]] || fail "something was declared under applications/"
settings_run "190 144"  # reopened ticked (the entry is detected): unticking removes them
for f in "$MENUS" "$NEMO" "$SCRIPT"; do [[ ! -e $f ]] || fail "drop-in $f left after unticking"; done
settings_run "190 144"
[[ -f $MENUS ]] || fail "drop-ins not written again"

# The drop-ins run by their consumers, with a recorder in the program's place.
printf '#!/bin/bash\n{ echo "$#"; printf "%%s\\n" "$@"; } >"%s"\n' "$ARGS" >"$KIVORET"
check_args() {
  wait_for 5 test -s "$ARGS" || fail "$1: the program was not started"
  [[ $(cat "$ARGS") == "1"$'\n'"$TARGET" ]] || fail "$1: got $(cat "$ARGS")"
  rm -f "$ARGS"
}
# The service menu's Exec line, in an application entry of its own, started by GLib.
printf '[Desktop Entry]\nType=Application\nName=check\nExec=%s\n' "$(sed -n 's/^Exec=//p' "$MENUS")" >"$KV_SCRATCH/check.desktop"
(cd / && gio launch "$KV_SCRATCH/check.desktop" "$TARGET") || fail "gio launch failed"
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
