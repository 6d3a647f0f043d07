#!/bin/sh
# One settings window per settings file under Wine: a second right-click start hands its folder
# to the open window, OK asks before saving over a file changed behind it, and a killed window
# blocks no later start.
. "$(dirname "$0")/common.sh"

mkdir -p "$WORK/甲" "$WORK/乙"
A=$(winpath "$WORK/甲") B=$(winpath "$WORK/乙") EXE="\"$APP_WIN\\kivoret.exe\""
printf '[Main]\r\nDrive= 0\r\n[Folder001]\r\nTitle=Keep\r\nPath=C:\\windows\\\r\n' >"$APP/Setting.ini"
join_with() {  # a second start on $1 ends at once, its folder handed to the open window
  first=$PID
  run_cmd "$EXE \"$1\""
  wait_exited
  PID=$first
}
CHANGED='設定ファイルは、この画面を開いた後に変更されています。\r\n保存すると、その変更は失われます。\r\n上書き保存しますか？'

step "window A: A registered, not saved; a start on B joins it"
run_cmd "$EXE \"$A\""
expect_form "甲" "$A" "Keep|"
ui click "$FORM" $REGISTER
join_with "$B"
expect_form "乙" "$B" "Keep|甲|"
set -- $(ui rect "$FORM")
shot one-window-wine.png "$(($3 + 16))x$(($4 + 16))+$(($1 - 8))+$(($2 - 8))"
ui click "$FORM" $REGISTER
close_with $OK
printf '[Main]\r\nDrive= 0\r\n[Folder001]\r\nTitle=Keep\r\nPath=C:\\windows\\\r\n[Folder002]\r\nTitle=%s\r\nPath=%s\\\r\n[Folder003]\r\nTitle=%s\r\nPath=%s\\\r\n' \
  "$(sjis 甲)" "$(sjis "$A")" "$(sjis 乙)" "$(sjis "$B")" >"$WORK/expected.ini"
cmp "$APP/Setting.ini" "$WORK/expected.ini" || { od -c "$APP/Setting.ini" | head -20; fail "Setting.ini lost an entry"; }

step "the file changed behind the window: No keeps it open and unsaved, Yes saves"
run_cmd "$EXE \"$A\""
ui rect "$FORM" >/dev/null || fail "the settings window did not open"
printf '[Folder001]\r\nTitle=Other\r\nPath=C:\\\r\n' >"$APP/Setting.ini"
ui click "$FORM" $OK
expect_box "$CHANGED" 7
ui rect "$FORM" >/dev/null || fail "the window closed after No"
[ "$(head -c 11 "$APP/Setting.ini")" = '[Folder001]' ] || fail "No saved over the changed file"
ui click "$FORM" $OK
expect_box "$CHANGED" 6
wait_exited
cmp "$APP/Setting.ini" "$WORK/expected.ini" || fail "Yes did not save the window's list"

step "a killed window: the next start opens its own, and the one after joins it"
run_cmd "$EXE \"$A\""
ui rect "$FORM" >/dev/null || fail "the settings window did not open"
pkill -9 -f '[\\]app[\\]kivoret[.]exe' || fail "nothing to kill"
wait_exited
run_cmd "$EXE \"$B\""
expect_form "乙" "$B" "Keep|甲|乙|"
join_with "$A"
expect_box '識別名とパスに、まだ登録していない入力があります。\r\n新しく指定されたフォルダに置き換えますか？' 6
expect_form "甲" "$A" "Keep|甲|乙|"
close_with $CANCEL
echo "PASS"
