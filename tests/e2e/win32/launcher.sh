#!/bin/sh
# Launcher mode under Wine: the popup opens at the pointer, a folder item opens that folder
# through the shell (a recorder stands in for the file manager), and the program ends.
. "$(dirname "$0")/common.sh"

step "settings file with drives and three folders"
mkdir -p "$WORK/写真"
TARGET_WIN=$(winpath "$WORK/写真")\\
printf '[Main]\r\nDrive= 1\r\n[Folder001]\r\nTitle=%s\r\nPath=C:\\windows\\\r\n' "$(sjis 'システム')" \
  >"$APP/Setting.ini"
printf '[Folder002]\r\nTitle=R&D\r\nPath=C:\\users\\\r\n[Folder003]\r\nTitle=%s\r\nPath=%s\r\n' \
  "$(sjis '写真')" "$(sjis "$TARGET_WIN")" >>"$APP/Setting.ini"

step "the shell's folder command records instead of opening"
"$WINE_RUN" reg add 'HKCR\Folder\shell\open\command' /ve /d "\"$(winpath "$RECORDER")\" \"%1\"" /f >/dev/null
"$WINE_RUN" reg delete 'HKCR\Folder\shell\open\ddeexec' /f >/dev/null 2>&1 || true
LOG="$WORK/opened.log"
export KV_RECORDER_LOG="$(winpath "$LOG")"

# Moves the pointer to 300,200 while a Wine window sees it, starts the program without a
# command line and waits for its popup; sets X Y WIDTH HEIGHT of the popup.
open_popup() {
  ui show 2500 &
  sleep 1.2
  xdotool mousemove 305 205 sleep 0.2 mousemove 300 200
  wait $!
  before=$(xdotool search --onlyvisible --name '' 2>/dev/null || true)
  run_kivoret "\"$APP_WIN\\kivoret.exe\""
  for i in $(seq 100); do
    popup=$(xdotool search --onlyvisible --name '' 2>/dev/null | grep -vxF "$before" | tail -n 1) || true
    [ -n "$popup" ] && break
    sleep 0.2
  done
  [ -n "$popup" ] || fail "no popup appeared"
  sleep 0.5
  eval "$(xdotool getwindowgeometry --shell "$popup")"
}

step "launcher: the popup at the pointer"
open_popup
expect_eq "popup's top-left" "$X,$Y" "300,200"
[ "$HEIGHT" -gt 100 ] || fail "popup too small for name, line, drives and three folders"
import -window root "$WORK/screen.png"
convert "$WORK/screen.png" -crop "$((WIDTH + 40))x$((HEIGHT + 40))+$((X - 20))+$((Y - 20))" +repage \
  "$DOCS/popup-wine.png"
if ui wait "$FORM" 300 >/dev/null 2>&1; then fail "the settings window is visible"; fi

step "the last item (folder 3), chosen with the right button (flags 2 allow it)"
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT - 8)) click 3
for i in $(seq 50); do [ -s "$LOG" ] && break; sleep 0.2; done
expect_eq "opened" "$(tr -d '\r\n' <"$LOG" 2>/dev/null)" "\"$TARGET_WIN\""
wait_exited

step "dismissed by a click elsewhere: nothing opens, the program ends"
: >"$LOG"
open_popup
xdotool mousemove 40 40 click 1
wait_exited
sleep 0.5
[ ! -s "$LOG" ] || fail "a dismissed popup opened $(cat "$LOG")"

step "the program-name item: the settings window, boxes empty"
cp "$APP/Setting.ini" "$WORK/before.ini"
open_popup
xdotool mousemove $((X + WIDTH / 2)) $((Y + 10)) click 1
expect_form "" "" "システム|R&D|写真|" 10
close_with $CANCEL
cmp "$APP/Setting.ini" "$WORK/before.ini" || fail "cancel changed Setting.ini"
[ ! -s "$LOG" ] || fail "the program-name item opened $(cat "$LOG")"
echo "PASS"
