#!/bin/sh
# One settings window per settings file under Wine: a second right-click start hands its folder
# to the open window, OK asks before saving over a file changed behind it, and a killed window
# blocks no later start.
. "$(dirname "$0")/common.sh"

mkdir -p "$WORK/甲" "$WORK/乙"
A=$(winpath "$WORK/甲") B=$(winpath "$WORK/乙") EXE="\"$APP_WIN\\kivoret.exe\""
ini ' 0' Keep 'C:\windows\' >"$APP/Setting.ini"
join_with() {  # a second start on $1 ends at once, its folder handed to the open window
  first=$PID
  run_cmd "$EXE \"$1\""
  wait_exited
  PID=$first
}
CHANGED='設定ファイルは、この画面を開いた後に変更されています。\r\n保存すると、その変更は失われます。\r\n上書き保存しますか？'

# window A: A registered, not saved; a start on B joins it
run_cmd "$EXE \"$A\""
expect_form "甲" "$A" "Keep|"
ui click "$FORM" $REGISTER
join_with "$B"
expect_form "乙" "$B" "Keep|甲|"
set -- $(ui rect "$FORM")
shot one-window-wine.png "$(($3 + 16))x$(($4 + 16))+$(($1 - 8))+$(($2 - 8))"
ui click "$FORM" $REGISTER
close_with $OK
saved() { expect_ini "$1" ' 0' Keep 'C:\windows\' 甲 "$A\\" 乙 "$B\\"; }
saved "lost an entry"

# the file changed behind the window: Yes saves (No is the core's)
run_cmd "$EXE \"$A\""
ui rect "$FORM" >/dev/null || fail "the settings window did not open"
printf '[Folder001]\r\nTitle=Other\r\nPath=C:\\\r\n' >"$APP/Setting.ini"
ui click "$FORM" $OK
expect_box "$CHANGED" 6
wait_exited
saved "Yes did not save the window's list"

# a killed window: the next start opens its own, and the one after joins it
run_cmd "$EXE \"$A\""
ui rect "$FORM" >/dev/null || fail "the settings window did not open"
pkill -9 -f "${WORK##*/}.app.kivoret[.]exe" || fail "nothing to kill"
wait_exited
run_cmd "$EXE \"$B\""
expect_form "乙" "$B" "Keep|甲|乙|"
join_with "$A"
expect_box '識別名とパスに、まだ登録していない入力があります。\r\n新しく指定されたフォルダに置き換えますか？' 6
expect_form "甲" "$A" "Keep|甲|乙|"
close_with $CANCEL
echo "PASS"
