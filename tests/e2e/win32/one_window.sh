#!/bin/sh
# One settings window per settings file under Wine: a second right-click start hands its folder
# to the open window, OK asks before saving over a file changed behind it, and a killed window
# blocks no later start.
. "$(dirname "$0")/common.sh"

mkdir -p "$WORK/甲" "$WORK/乙"
A=$(winpath "$WORK/甲") B=$(winpath "$WORK/乙") EXE="\"$APP_WIN\\kivoret.exe\""
printf '[Main]\r\nDrive= 0\r\n[Folder001]\r\nTitle=Keep\r\nPath=C:\\windows\\\r\n' >"$APP/Setting.ini"
expect_box() {  # expected text (with \r\n), the button to press (6 Yes, 7 No)
  expect_eq "question" "$(ui msgbox 10000)" "$(printf "$1")"
  ui answer "$2"
  sleep 0.5
}
join_with() {  # a second start on $1 ends at once, its folder handed to the open window
  run_cmd "$EXE \"$1\""
  for i in $(seq 50); do [ "$(ui procs kivoret.exe | tr -d '\r\n')" = 1 ] && sleep 0.5 && return; sleep 0.2; done
  fail "the start on $1 did not end"
}
CHANGED='設定ファイルは、この画面を開いた後に変更されています。\r\n保存すると、その変更は失われます。\r\n上書き保存しますか？'

step "window A: A registered, not saved; a start on B joins it"
run_cmd "$EXE \"$A\""
expect_form "甲" "$A" "Keep|" 00
ui click "$FORM" $REGISTER
join_with "$B"
expect_form "乙" "$B" "Keep|甲|" 00
set -- $(ui rect "$FORM" | tr -d '\r')
shot one-window-wine.png "$(($3 + 16))x$(($4 + 16))+$(($1 - 8))+$(($2 - 8))"
ui click "$FORM" $REGISTER
close_with $OK
printf '[Main]\r\nDrive= 0\r\n[Folder001]\r\nTitle=Keep\r\nPath=C:\\windows\\\r\n[Folder002]\r\nTitle=%s\r\nPath=%s\\\r\n[Folder003]\r\nTitle=%s\r\nPath=%s\\\r\n' \
  "$(sjis 甲)" "$(sjis "$A")" "$(sjis 乙)" "$(sjis "$B")" >"$WORK/expected.ini"
cmp "$APP/Setting.ini" "$WORK/expected.ini" || { od -c "$APP/Setting.ini" | head -20; fail "Setting.ini lost an entry"; }

step "the file changed behind the window: No keeps it open and unsaved, Yes saves"
run_cmd "$EXE \"$A\""
ui wait "$FORM" 20000 >/dev/null || fail "the settings window did not open"
printf '[Folder001]\r\nTitle=Other\r\nPath=C:\\\r\n' >"$APP/Setting.ini"
ui click "$FORM" $OK
expect_box "$CHANGED" 7
ui wait "$FORM" 2000 >/dev/null || fail "the window closed after No"
[ "$(head -c 11 "$APP/Setting.ini")" = '[Folder001]' ] || fail "No saved over the changed file"
ui click "$FORM" $OK
expect_box "$CHANGED" 6
wait_exited
cmp "$APP/Setting.ini" "$WORK/expected.ini" || fail "Yes did not save the window's list"

step "a killed window: the next start opens its own, and the one after joins it"
run_cmd "$EXE \"$A\""
ui wait "$FORM" 20000 >/dev/null || fail "the settings window did not open"
"$WINE_RUN" taskkill /f /pid "$PID" >/dev/null 2>&1
wait_exited
run_cmd "$EXE \"$B\""
expect_form "乙" "$B" "Keep|甲|乙|" 00
join_with "$A"
expect_box '識別名とパスに、まだ登録していない入力があります。\r\n新しく指定されたフォルダに置き換えますか？' 6
expect_form "甲" "$A" "Keep|甲|乙|" 00
close_with $CANCEL
echo "PASS"
