#!/bin/sh
# The settings window under Wine, started as the folder entry starts it: pre-filled boxes, the
# real message boxes, OK writing Setting.ini and the registry entry, a failed save kept open.
. "$(dirname "$0")/common.sh"

ini 0 既存 'C:\windows\' >"$APP/Setting.ini"
mkdir -p "$WORK/写真" "$WORK/音楽"
PHOTOS=$(winpath "$WORK/写真") MUSIC=$(winpath "$WORK/音楽")

# the folder in double quotes; the window's client area
run_cmd "\"$APP_WIN\\kivoret.exe\" \"$PHOTOS\""
expect_form 写真 "$PHOTOS" "既存|"
set -- $(ui rect "$FORM")
shot settings-wine.png "$(($3 + 16))x$(($4 + 16))+$(($1 - 8))+$(($2 - 8))"
expect_eq "client area" "$3x$4" "409x265"

# a folder that does not exist (answered No; the blank boxes' warnings are the core's)
register 写真 'C:\no\such\folder'
expect_box 'フォルダパスが不正です。\r\n登録されても正常に動作しない可能性があります。\r\n続行しますか？' 7
expect_form 写真 'C:\no\such\folder\' "既存|"

# the real folder: no question, boxes emptied; both boxes ticked, OK
register 写真 "$PHOTOS"
sleep 0.5
if ui msgbox 500 >/dev/null; then fail "a message box for an existing folder"; fi
expect_form "" "" "既存|写真|"
ui click "$FORM" $CHECK_DRIVES && ui click "$FORM" $CHECK_MENU && sleep 0.3
close_with $OK
# As the Windows profile functions write it: "Drive= 1".
expect_ini "not as saved" ' 1' 既存 'C:\windows\' 写真 "$PHOTOS\\"
[ ! -e "$APP/Setting.ini.new" ] || fail "the temporary file was left behind"
command_line=$("$WINE_RUN" reg query "$MENU_KEY\\command" /ve | tr -d '\r' | LC_ALL=C sed -n 's/.*REG_SZ    //p')
expect_eq "the registered command" "$command_line" "\"$APP_WIN\\kivoret.exe\" \"%1\""

# the registered command with another folder, the entry's box unticked: an OK that cannot save
# warns and keeps the window; the next one saves
run_cmd "$(printf '%s' "$command_line" | sed "s|%1|$(printf '%s' "$MUSIC" | sed 's/[\\&|]/\\&/g')|")"
expect_form 音楽 "$MUSIC" "既存|写真|"
mkdir -p "$APP/Setting.ini.new/blocker"
ui click "$FORM" $CHECK_MENU && ui click "$FORM" $OK
expect_box '設定ファイルを保存できませんでした。\r\nフォルダへの書き込み権限を確認して下さい。' 1
ui rect "$FORM" >/dev/null || fail "the window closed after a failed save"
rm -r "$APP/Setting.ini.new"
close_with $OK
expect_ini "lost the ticked drives box" ' 1' 既存 'C:\windows\' 写真 "$PHOTOS\\"
if "$WINE_RUN" reg query "$MENU_KEY" >/dev/null 2>&1; then fail "the entry is still registered"; fi
echo PASS
