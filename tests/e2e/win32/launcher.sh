#!/bin/sh
# Launcher mode under Wine: the popup at the pointer, a folder item opened through the shell,
# a dismissal opening nothing, the program-name item opening the settings window.
. "$(dirname "$0")/common.sh"

step "drives and three folders; notepad under the pointer"
mkdir -p "$WORK/写真"
TARGET=$(winpath "$WORK/写真")\\
{ printf '[Main]\r\nDrive= 1\r\n[Folder001]\r\nTitle=%s\r\nPath=C:\\windows\\\r\n' "$(sjis システム)"
  printf '[Folder002]\r\nTitle=R&D\r\nPath=C:\\users\\\r\n[Folder003]\r\nTitle=%s\r\nPath=%s\r\n' \
    "$(sjis 写真)" "$(sjis "$TARGET")"; } >"$APP/Setting.ini"
notepad "$WORK"

step "the popup at the pointer; the last folder chosen with the right button"
popup_at 300 200
expect_eq "popup's top-left" "$X,$Y" "300,200"
[ "$HEIGHT" -gt 100 ] || fail "popup too small for name, line, drives and three folders"
shot popup-wine.png "$((WIDTH + 40))x$((HEIGHT + 40))+$((X - 20))+$((Y - 20))"
choose_last 3
expect_opened "\"$TARGET\""
wait_exited

step "dismissed by a click elsewhere: nothing opens, the program ends"
popup_at 300 200
xdotool mousemove 700 600 click 1
wait_exited
sleep 0.5
expect_eq "opened after a dismissal" "$(opened)" ""

step "the program-name item: the settings window, boxes empty; cancel changes nothing"
cp "$APP/Setting.ini" "$WORK/before.ini"
popup_at 300 200
xdotool mousemove $((X + WIDTH / 2)) $((Y + 10)) click 1
ui text "$FORM" $NAME >/dev/null || fail "no settings window"
expect_eq "boxes and list" "$(ui text "$FORM" $NAME)$(ui text "$FORM" $PATHBOX)$(ui items "$FORM" $LIST)" \
  "システム|R&D|写真|"
ui click "$FORM" $CANCEL
wait_exited
cmp "$APP/Setting.ini" "$WORK/before.ini" || fail "cancel changed Setting.ini"
expect_eq "opened by the program-name item" "$(opened)" ""
echo PASS
