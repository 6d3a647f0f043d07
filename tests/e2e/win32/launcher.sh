#!/bin/sh
# Launcher mode under Wine: the popup at the pointer, a folder item opened through the shell,
# a dismissal opening nothing, the program-name item opening the settings window.
. "$(dirname "$0")/common.sh"

# drives and three folders; notepad under the pointer
mkdir -p "$WORK/写真"
TARGET=$(winpath "$WORK/写真")\\
ini ' 1' システム 'C:\windows\' 'R&D' 'C:\users\' 写真 "$TARGET" >"$APP/Setting.ini"
notepad "$WORK"

# the popup at the pointer; the last folder chosen with the right button
popup_at 300 200
expect_eq "popup's top-left" "$X,$Y" "300,200"
[ "$HEIGHT" -gt 100 ] || fail "popup too small for name, line, drives and three folders"
shot popup-wine.png "$((WIDTH + 40))x$((HEIGHT + 40))+$((X - 20))+$((Y - 20))"
choose_last 3
expect_opened "\"$TARGET\""
wait_exited

# dismissed by a click elsewhere: nothing opens, the program ends
popup_at 300 200
xdotool mousemove 700 600 click 1
wait_exited
sleep 0.5
expect_eq "opened after a dismissal" "$(opened)" ""

# the program-name item: the settings window, boxes empty; cancel changes nothing
popup_at 300 200
xdotool mousemove $((X + WIDTH / 2)) $((Y + 10)) click 1
expect_form "" "" "システム|R&D|写真|"
close_with $CANCEL
expect_ini "cancel changed it" ' 1' システム 'C:\windows\' 'R&D' 'C:\users\' 写真 "$TARGET"
expect_eq "opened by the program-name item" "$(opened)" ""
echo PASS
