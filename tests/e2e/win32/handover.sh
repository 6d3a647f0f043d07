#!/bin/sh
# Shift and Ctrl under Wine: Shift takes the Open dialog the user came from (notepad's) to the
# folder and keeps the typed name; Ctrl puts the path on the clipboard; where nothing can be
# taken there, the plain open.
. "$(dirname "$0")/common.sh"

mkdir -p "$WORK/start" "$WORK/資料 2"
: >"$WORK/資料 2/report.txt"
SECOND=$(winpath "$WORK/資料 2")
ini 0 a 'C:\' b "$SECOND" >"$APP/Setting.ini"
notepad "$WORK/start"
dialog_and_popup() {  # notepad's Open dialog in start\ with report.txt typed, the popup over it
  xdotool mousemove 600 400 click 1 sleep 0.3 key ctrl+o
  wait_for eval '[ -n "$(x_windows "^開く$")" ]' || fail "no Open dialog"
  sleep 0.5 && xdotool type report.txt
  eval "$(xdotool getwindowgeometry --shell "$(x_windows "^開く$")")"
  DX=$X DY=$Y
  popup_at $((X + 30)) $((Y + 20))
}
dialog_key() { xdotool mousemove $((DX + 140)) $((DY + 396)) click 1 sleep 0.3 key "$1"; }  # on its label

# Shift + click: the dialog goes to the folder, the typed name stays; nothing opened
dialog_and_popup
shot shift-before-wine.png 660x520+0+30
choose_last 1 "keydown shift sleep 0.3"
wait_exited
shot shift-after-wine.png 660x520+0+30
dialog_key Return  # the dialog opens 資料 2\report.txt in notepad
wait_for eval '[ -n "$(x_windows "^report.txt - メモ帳$")" ]' || fail "the dialog was not taken there"
expect_eq "opened by Shift + click" "$(opened)" ""

# Ctrl + click: the path on the clipboard, nothing opened
dialog_and_popup
choose_last 1 "keydown ctrl sleep 0.3"
wait_exited
expect_eq "clipboard" "$(xclip -o -selection clipboard)" "$SECOND"
expect_eq "opened by Ctrl + click" "$(opened)" ""
dialog_key Escape

# Shift + click over notepad: the plain open (a shell window that takes nothing is ShellWindowTest's)
popup_at 600 400
choose_last 1 "keydown shift sleep 0.3"
expect_opened "\"$SECOND\""
echo PASS
