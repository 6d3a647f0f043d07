# Shared steps of the Windows end-to-end scripts (sourced). Arguments of every script:
#   KIVORET_EXE UIDRIVER_EXE WINE_RUN SCREENSHOT_DIR
# Needs an X display (or KV_XVFB_STATE naming one), WINEPREFIX prepared by prepare-prefix.sh.
set -eu
KIVORET=$1 UIDRIVER=$2 WINE_RUN=$3 DOCS=$4
if [ -z "${DISPLAY:-}" ] && [ -s "${KV_XVFB_STATE:-}" ]; then
  read -r DISPLAY _ <"$KV_XVFB_STATE" && export DISPLAY
fi
WORK=$(mktemp -d /tmp/kv-e2e-XXXXXX)
APP="$WORK/app" FORM='キヴォレット - 設定' LOG="$WORK/opened.log"
# Children of the settings window in creation order, which is the tab order.
CHECK_DRIVES=0 CHECK_MENU=1 LIST=3 REGISTER=4 NAME=9 PATHBOX=10 OK=12 CANCEL=13
mkdir -p "$DOCS" "$APP"
cp "$KIVORET" "$APP/kivoret.exe"  # a directory of its own: the settings file goes beside it
# The tests run one at a time in this prefix: whatever a failed step left running goes with it.
trap 'wineserver -k 2>/dev/null; rm -rf "$WORK"' EXIT
wineserver -p60 </dev/null >/dev/null 2>&1 || true  # the pointer position outlives a process

fail() { printf 'FAIL: %s\n' "$*" >&2; exit 1; }
expect_eq() { [ "$2" = "$3" ] || fail "$1: got '$2', expected '$3'"; }  # what, got, expected
ui() { "$WINE_RUN" "$UIDRIVER" "$@"; }
wait_for() { for i in $(seq 50); do "$@" && return; sleep 0.2; done; false; }
winpath() { "$WINE_RUN" winepath -w "$1" 2>/dev/null | tr -d '\r'; }
# A Setting.ini as the program writes it, in CP932: the Drive value, then each folder's title
# and path.
ini() {
  { printf '[Main]\r\nDrive=%s\r\n' "$1" && shift && n=1 && while [ $# -gt 1 ]; do
    printf '[Folder%03d]\r\nTitle=%s\r\nPath=%s\r\n' $n "$1" "$2" && n=$((n + 1)) && shift 2
  done; } | iconv -f UTF-8 -t CP932
}
expect_ini() { why=$1 && shift && ini "$@" | cmp -s "$APP/Setting.ini" - || fail "Setting.ini: $why"; }
APP_WIN=$(winpath "$APP")
# Runs exactly this command line, as the shell would (a batch file keeps its quotes); PID ends
# with the program.
run_cmd() {
  printf '@%s\r\n' "$1" | iconv -f UTF-8 -t CP932 >"$WORK/run.bat"
  "$WINE_RUN" cmd /c "$(winpath "$WORK/run.bat")" </dev/null >/dev/null 2>&1 &
  PID=$!
}
wait_exited() { wait_for eval '! kill -0 $PID 2>/dev/null' || fail "kivoret.exe still runs"; }
x_windows() { xdotool search --onlyvisible --name "${1:-}" 2>/dev/null || true; }
# Runs a command line and waits for the X window it shows; sets X Y WIDTH HEIGHT of it.
open_window() {
  before=$(x_windows)
  run_cmd "$1"
  wait_for eval 'win=$(x_windows | grep -vxF "$before" | tail -n 1); [ -n "$win" ]' ||
    fail "no window from $1"
  sleep 0.5
  eval "$(xdotool getwindowgeometry --shell "$win")"
}
popup_at() {  # x y: Wine learns where the pointer is only from moves its windows see
  xdotool mousemove $(($1 + 10)) $(($2 + 10)) sleep 0.2 mousemove "$1" "$2"
  open_window "\"$APP_WIN\\kivoret.exe\""
}
# The last item (the last folder), clicked with a button and a modifier key held.
choose_last() {  # button, xdotool's steps before the click ("keydown shift sleep 0.3")
  xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT - 8)) ${2:-} click "$1" sleep 0.3 \
    keyup shift keyup ctrl
}
shot() { import -window root -crop "$2" +repage "$DOCS/$1"; }  # name, WxH+X+Y
# Notepad: a Wine window to track the pointer, and a real Open dialog from another program.
notepad() {
  (cd "$1" && "$WINE_RUN" notepad </dev/null >/dev/null 2>&1 &)
  wait_for eval '[ -n "$(x_windows "メモ帳$")" ]' || fail "no notepad"
}
# The shell's folder command logs what it is asked to open.
"$WINE_RUN" reg add 'HKCR\Folder\shell\open\command' /ve /f \
  /d "cmd /c echo \"%1\">>$(winpath "$LOG")" >/dev/null
"$WINE_RUN" reg delete 'HKCR\Folder\shell\open\ddeexec' /f >/dev/null 2>&1 || true
opened() { iconv -f CP932 "$LOG" 2>/dev/null | tr -d '\r\n'; }
expect_opened() { wait_for eval '[ -s "$LOG" ]' || true; expect_eq opened "$(opened)" "$1"; : >"$LOG"; }
MENU_KEY='HKCU\Software\Classes\Folder\shell\Kivoret'
"$WINE_RUN" reg delete "$MENU_KEY" /f >/dev/null 2>&1 || true
# The settings window: message boxes, its boxes and list, registering, closing.
expect_box() {  # text (printf escapes), answer
  expect_eq "message box" "$(ui msgbox)" "$(printf "$1")"
  ui answer "$2" && sleep 0.5
}
expect_form() {  # identifier, path, list lines each ended by |; filled in after it shows
  ui rect "$FORM" >/dev/null && sleep 0.5 && expect_eq form \
    "$(ui text "$FORM" $NAME)>$(ui text "$FORM" $PATHBOX)>$(ui items "$FORM" $LIST)" "$1>$2>$3"
}
register() { ui settext "$FORM" $NAME "$1" && ui settext "$FORM" $PATHBOX "$2" && ui click "$FORM" $REGISTER; }
close_with() { ui click "$FORM" "$1" && wait_exited; }
