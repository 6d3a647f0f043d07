#!/bin/sh
# The settings window under Wine, started from the folder context menu's command: pre-filled
# boxes, the warnings of the real message boxes, OK writing Setting.ini and the registry entry,
# and a save that fails keeping the window open.
. "$(dirname "$0")/common.sh"

expect_box() {  # expected text (with \r\n), answer
  got=$(ui msgbox 10000) || fail "no message box for: $1"
  expect_eq "message box" "$got" "$(printf "$1")"
  ui answer "$2"
  sleep 0.5
}
query_command() { LANG=C LC_ALL=C wine reg query "$MENU_KEY\\command" /ve 2>/dev/null | tr -d '\r'; }

printf '[Main]\r\nDrive=0\r\n[Folder001]\r\nTitle=%s\r\nPath=C:\\windows\\\r\n' "$(sjis '既存')" \
  >"$APP/Setting.ini"
mkdir -p "$WORK/写真" "$WORK/音楽"
PHOTOS=$(winpath "$WORK/写真") MUSIC=$(winpath "$WORK/音楽")

step "context-menu mode: the folder in double quotes"
run_cmd "\"$APP_WIN\\kivoret.exe\" \"$PHOTOS\""
expect_form "写真" "$PHOTOS" "既存|" 00
set -- $(ui rect "$FORM" | tr -d '\r')
shot settings-wine.png "$(($3 + 16))x$(($4 + 16))+$(($1 - 8))+$(($2 - 8))"
expect_eq "client area" "$3x$4" "409x265"

step "blank identifier, then blank path: the two warnings"
ui settext "$FORM" $NAME "   "
ui click "$FORM" $REGISTER
expect_box '識別名が入力されていません。\r\n識別名を入力して下さい。' 1
ui settext "$FORM" $NAME "写真"
ui settext "$FORM" $PATHBOX " "
ui click "$FORM" $REGISTER
expect_box 'パスが入力されていません。\r\nパスを入力して下さい。' 1

step "a folder that does not exist: the question, answered No"
ui settext "$FORM" $PATHBOX 'C:\no\such\folder'
ui click "$FORM" $REGISTER
expect_box 'フォルダパスが不正です。\r\n登録されても正常に動作しない可能性があります。\r\n続行しますか？' 7
expect_form "写真" 'C:\no\such\folder\' "既存|" 00

step "register the real folder: no question, boxes emptied; tick both boxes, OK"
ui settext "$FORM" $PATHBOX "$PHOTOS"
ui click "$FORM" $REGISTER
sleep 0.5
if ui msgbox 500 >/dev/null 2>&1; then fail "a message box for an existing folder"; fi
expect_form "" "" "既存|写真|" 00
ui click "$FORM" $CHECK_DRIVES
ui click "$FORM" $CHECK_MENU
sleep 0.3
close_with $OK
# The program writes the file itself, as the Windows profile functions do: "Drive= 1".
printf '[Main]\r\nDrive= 1\r\n[Folder001]\r\nTitle=%s\r\nPath=C:\\windows\\\r\n[Folder002]\r\n' \
  "$(sjis '既存')" >"$WORK/expected.ini"
printf 'Title=%s\r\nPath=%s\\\r\n' "$(sjis '写真')" "$(sjis "$PHOTOS")" >>"$WORK/expected.ini"
cmp "$APP/Setting.ini" "$WORK/expected.ini" || { od -c "$APP/Setting.ini" | head -20; fail "Setting.ini differs"; }
[ ! -e "$APP/Setting.ini.new" ] || fail "the temporary file was left behind"
command_line="\"$APP_WIN\\kivoret.exe\" \"%1\""
expect_eq "the registered command" "$(query_command | sed -n 's/.*REG_SZ    //p')" "$command_line"

step "start through the registered command with another folder"
run_cmd "$(printf '%s' "$command_line" | sed "s|%1|$(printf '%s' "$MUSIC" | sed 's/[\\&|]/\\&/g')|")"
expect_form "音楽" "$MUSIC" "既存|写真|" 11

step "untick the context-menu box, OK: the keys are gone"
ui click "$FORM" $CHECK_MENU
sleep 0.3
close_with $OK
if LANG=C LC_ALL=C wine reg query "$MENU_KEY" >/dev/null 2>&1; then fail "the entry is still registered"; fi

step "a settings file that cannot be saved: the warning, the window stays"
cp "$APP/Setting.ini" "$WORK/before.ini"
mkdir -p "$APP/Setting.ini.new/blocker"
run_cmd "\"$APP_WIN\\kivoret.exe\" \"$PHOTOS\""
ui wait "$FORM" 20000 >/dev/null || fail "the settings window did not open"
ui click "$FORM" $CHECK_DRIVES
ui click "$FORM" $OK
expect_box '設定ファイルを保存できませんでした。\r\nフォルダへの書き込み権限を確認して下さい。' 1
ui wait "$FORM" 2000 >/dev/null || fail "the window closed after a failed save"
close_with $CANCEL
cmp "$APP/Setting.ini" "$WORK/before.ini" || fail "a failed save or cancel changed Setting.ini"
echo "PASS"
