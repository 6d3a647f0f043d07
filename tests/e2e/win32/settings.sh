#!/bin/sh
# The settings window under Wine, started from the folder context menu's command: pre-filled
# boxes, the warnings of the real message boxes, OK writing Setting.ini and the registry entry,
# and a save that fails keeping the window open.
. "$(dirname "$0")/common.sh"

FORM='キヴォレット - 設定'
# Children in creation order, which is the tab order.
CHECK_DRIVES=0 CHECK_MENU=1 LIST=3 REGISTER=4 NAME=9 PATHBOX=10 OK=12 CANCEL=13

expect_eq() {  # what, got, expected
  [ "$2" = "$3" ] || fail "$1: got '$2', expected '$3'"
}
expect_box() {  # expected text (with \r\n), answer
  got=$(ui msgbox 10000) || fail "no message box for: $1"
  expect_eq "message box" "$got" "$(printf "$1")"
  ui answer "$2"
  sleep 0.5
}
menu_key='HKCU\Software\Classes\Folder\shell\Kivoret'
query_command() { LANG=C LC_ALL=C wine reg query "$menu_key\\command" /ve 2>/dev/null | tr -d '\r'; }

"$WINE_RUN" reg delete "$menu_key" /f >/dev/null 2>&1 || true
{
  printf '[Main]\r\nDrive=0\r\n'
  printf '[Folder001]\r\nTitle=%s\r\nPath=C:\\windows\\\r\n' "$(sjis '既存')"
} >"$APP/Setting.ini"
mkdir -p "$WORK/写真" "$WORK/音楽"
PHOTOS=$(winpath "$WORK/写真")
MUSIC=$(winpath "$WORK/音楽")

step "context-menu mode: the folder in double quotes"
run_kivoret "\"$APP_WIN\\kivoret.exe\" \"$PHOTOS\""
ui wait "$FORM" 20000 >/dev/null || fail "the settings window did not open"
expect_eq "identifier" "$(ui text "$FORM" $NAME)" "写真"
expect_eq "path" "$(ui text "$FORM" $PATHBOX)" "$PHOTOS"
expect_eq "list" "$(ui items "$FORM" $LIST)" "既存"
expect_eq "drives box" "$(ui check "$FORM" $CHECK_DRIVES)" 0
expect_eq "context-menu box" "$(ui check "$FORM" $CHECK_MENU)" 0

set -- $(ui rect "$FORM" | tr -d '\r')
import -window root "$WORK/screen.png"
convert "$WORK/screen.png" -crop "$(($3 + 16))x$(($4 + 16))+$(($1 - 8))+$(($2 - 8))" +repage \
  "$DOCS/settings-wine.png"
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
expect_eq "path after No" "$(ui text "$FORM" $PATHBOX)" 'C:\no\such\folder\'
expect_eq "list after No" "$(ui items "$FORM" $LIST)" "既存"

step "register the real folder: no question, boxes emptied"
ui settext "$FORM" $PATHBOX "$PHOTOS"
ui click "$FORM" $REGISTER
sleep 0.5
if ui msgbox 500 >/dev/null 2>&1; then fail "a message box for an existing folder"; fi
expect_eq "list" "$(ui items "$FORM" $LIST | tr -d '\r' | tr '\n' '|')" "既存|写真|"
expect_eq "identifier emptied" "$(ui text "$FORM" $NAME)" ""

step "tick both boxes, OK"
ui click "$FORM" $CHECK_DRIVES
ui click "$FORM" $CHECK_MENU
sleep 0.3
ui click "$FORM" $OK
ui gone "$FORM" 10000 || fail "OK left the window open"
wait_exited

{
  printf '[Main]\r\nDrive=1\r\n'
  printf '[Folder001]\r\nTitle=%s\r\nPath=C:\\windows\\\r\n' "$(sjis '既存')"
  printf '[Folder002]\r\nTitle=%s\r\nPath=%s\\\r\n' "$(sjis '写真')" "$(sjis "$PHOTOS")"
} >"$WORK/expected.ini"
cmp "$APP/Setting.ini" "$WORK/expected.ini" || {
  od -c "$APP/Setting.ini" | head -20
  fail "Setting.ini differs"
}
[ ! -e "$APP/Setting.ini.new" ] || fail "the temporary file was left behind"

command_line="\"$APP_WIN\\kivoret.exe\" \"%1\""
query_command | grep -qF "REG_SZ    $command_line" || {
  query_command
  fail "the command is not '$command_line'"
}

step "start through the registered command with another folder"
registered=$(query_command | sed -n 's/^ *(Default) *REG_SZ *//p; s/^ *(既定) *REG_SZ *//p' | head -n 1)
[ -n "$registered" ] || registered=$command_line
run_kivoret "$(printf '%s' "$registered" | sed "s|%1|$(printf '%s' "$MUSIC" | sed 's/[\\&|]/\\&/g')|")"
ui wait "$FORM" 20000 >/dev/null || fail "the settings window did not open"
expect_eq "identifier" "$(ui text "$FORM" $NAME)" "音楽"
expect_eq "path" "$(ui text "$FORM" $PATHBOX)" "$MUSIC"
expect_eq "context-menu box" "$(ui check "$FORM" $CHECK_MENU)" 1
expect_eq "drives box" "$(ui check "$FORM" $CHECK_DRIVES)" 1
expect_eq "list" "$(ui items "$FORM" $LIST | tr -d '\r' | tr '\n' '|')" "既存|写真|"

step "untick the context-menu box, OK: the keys are gone"
ui click "$FORM" $CHECK_MENU
sleep 0.3
ui click "$FORM" $OK
ui gone "$FORM" 10000 || fail "OK left the window open"
wait_exited
if LANG=C LC_ALL=C wine reg query "$menu_key" >/dev/null 2>&1; then fail "the entry is still registered"; fi

step "a settings file that cannot be saved: the warning, the window stays"
cp "$APP/Setting.ini" "$WORK/before.ini"
mkdir -p "$APP/Setting.ini.new/blocker"
run_kivoret "\"$APP_WIN\\kivoret.exe\" \"$PHOTOS\""
ui wait "$FORM" 20000 >/dev/null || fail "the settings window did not open"
ui click "$FORM" $CHECK_DRIVES
ui click "$FORM" $OK
expect_box '設定ファイルを保存できませんでした。\r\nフォルダへの書き込み権限を確認して下さい。' 1
ui wait "$FORM" 2000 >/dev/null || fail "the window closed after a failed save"
cmp "$APP/Setting.ini" "$WORK/before.ini" || fail "a failed save changed Setting.ini"
ui click "$FORM" $CANCEL
ui gone "$FORM" 10000 || fail "cancel left the window open"
wait_exited
cmp "$APP/Setting.ini" "$WORK/before.ini" || fail "cancel changed Setting.ini"
echo "PASS"
