#!/bin/sh
# Launcher mode under Wine: the popup opens at the pointer, a folder item opens that folder
# through the shell (a recorder stands in for the file manager), and the program ends.
. "$(dirname "$0")/common.sh"

step "settings file with drives and three folders; the shell's folder command records"
mkdir -p "$WORK/写真"
TARGET_WIN=$(winpath "$WORK/写真")\\
printf '[Main]\r\nDrive= 1\r\n[Folder001]\r\nTitle=%s\r\nPath=C:\\windows\\\r\n' "$(sjis 'システム')" \
  >"$APP/Setting.ini"
printf '[Folder002]\r\nTitle=R&D\r\nPath=C:\\users\\\r\n[Folder003]\r\nTitle=%s\r\nPath=%s\r\n' \
  "$(sjis '写真')" "$(sjis "$TARGET_WIN")" >>"$APP/Setting.ini"
record_opens

step "launcher: the popup at the pointer"
popup_at_300_200
expect_eq "popup's top-left" "$X,$Y" "300,200"
[ "$HEIGHT" -gt 100 ] || fail "popup too small for name, line, drives and three folders"
shot popup-wine.png "$((WIDTH + 40))x$((HEIGHT + 40))+$((X - 20))+$((Y - 20))"
if ui wait "$FORM" 300 >/dev/null 2>&1; then fail "the settings window is visible"; fi

step "the last item (folder 3), chosen with the right button (flags 2 allow it)"
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT - 8)) click 3
expect_opened "\"$TARGET_WIN\""
wait_exited

step "dismissed by a click elsewhere: nothing opens, the program ends"
: >"$LOG"
popup_at_300_200
xdotool mousemove 40 40 click 1
wait_exited
expect_nothing_opened "a dismissed popup"

step "the program-name item: the settings window, boxes empty"
cp "$APP/Setting.ini" "$WORK/before.ini"
popup_at_300_200
xdotool mousemove $((X + WIDTH / 2)) $((Y + 10)) click 1
expect_form "" "" "システム|R&D|写真|" 10
close_with $CANCEL
cmp "$APP/Setting.ini" "$WORK/before.ini" || fail "cancel changed Setting.ini"
expect_nothing_opened "the program-name item"
echo "PASS"
