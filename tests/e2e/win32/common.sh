# Shared set-up of the Windows end-to-end scripts (sourced). Arguments of every script:
#   KIVORET_EXE UIDRIVER_EXE RECORDER_EXE WINE_RUN DOCS_DIR
# Needs DISPLAY (an X server such as Xvfb), WINEPREFIX prepared by prepare-prefix.sh, xdotool.
set -eu
KIVORET=$1 UIDRIVER=$2 RECORDER=$3 WINE_RUN=$4 DOCS=$5
# Without a display of the caller's, the one the ctest fixture started.
if [ -z "${DISPLAY:-}" ] && [ -s "${KV_XVFB_STATE:-}" ]; then
  read -r DISPLAY _ <"$KV_XVFB_STATE"
  export DISPLAY
fi
: "${DISPLAY:?an X display is needed}" "${WINEPREFIX:?WINEPREFIX must name the prepared prefix}"
export WINEPREFIX WINEDEBUG=-all LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
WORK=$(mktemp -d /tmp/kv-e2e-XXXXXX)
APP="$WORK/app" FORM='キヴォレット - 設定' PIDS="" RUNS=0
# Children of the settings window in creation order, which is the tab order.
CHECK_DRIVES=0 CHECK_MENU=1 LIST=3 REGISTER=4 NAME=9 PATHBOX=10 OK=12 CANCEL=13
mkdir -p "$DOCS" "$APP"
# A failed step may leave the program running; it must not outlive the test.
trap 'for p in $PIDS; do "$WINE_RUN" taskkill /f /pid "$p" >/dev/null 2>&1 || true; done
      rm -rf "$WORK"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }
step() { echo "--- $(date +%T) $*"; }
expect_eq() { [ "$2" = "$3" ] || fail "$1: got '$2', expected '$3'"; }  # what, got, expected
ui() { "$WINE_RUN" "$UIDRIVER" "$@"; }
winpath() { "$WINE_RUN" winepath -w "$1" 2>/dev/null | tr -d '\r'; }
sjis() { printf '%s' "$1" | iconv -f UTF-8 -t CP932; }  # as the profile functions write text
# The pointer position survives between Wine processes only while the server stays up.
wineserver -p60 </dev/null >/dev/null 2>&1 || true  # fails when one runs already

# A copy of the program in a directory of its own: its settings file goes beside it.
cp "$KIVORET" "$APP/kivoret.exe"
APP_WIN=$(winpath "$APP")

# Starts a process with exactly this command line and sets PID, through a file of its own: the
# new process inherits the output, and a pipe would wait for its end.
run_cmd() {
  RUNS=$((RUNS + 1)) status=0
  ui run "$1" >"$WORK/pid$RUNS" 2>"$WORK/err$RUNS" </dev/null || status=$?
  PID=$(tr -d '\r\n' <"$WORK/pid$RUNS") && PIDS="$PIDS $PID"
  [ -n "$PID" ] || fail "cannot start: $1 (status $status: $(cat "$WORK/err$RUNS"))"
}
x_windows() { xdotool search --onlyvisible --name '' 2>/dev/null || true; }
# Starts a command line and waits for the X window it shows; sets X Y WIDTH HEIGHT of it.
open_window() {  # command line, what it shows
  before=$(x_windows) win=""
  run_cmd "$1"
  for i in $(seq 100); do
    win=$(x_windows | grep -vxF "$before" | tail -n 1) && [ -n "$win" ] && break
    sleep 0.2
  done
  [ -n "$win" ] || fail "no $2 appeared"
  sleep 0.5
  eval "$(xdotool getwindowgeometry --shell "$win")"
}
popup_here() { open_window "\"$APP_WIN\\kivoret.exe\"" popup; }  # the launcher at the pointer
# Wine learns where the pointer is only from moves its own windows see.
point_at() { xdotool mousemove $(($1 + 10)) $(($2 + 10)) sleep 0.2 mousemove "$1" "$2"; }
popup_at_300_200() {  # with a screen-filling Wine window under the pointer meanwhile
  ui show 2500 &
  sleep 1.2
  point_at 300 200
  wait $!
  popup_here
}
shot() {  # the screen cut to a geometry (WxH+X+Y), saved as DOCS/name
  import -window root "$WORK/screen.png"
  convert "$WORK/screen.png" -crop "$2" +repage "$DOCS/$1"
}
# The shell's folder command runs the recorder, which logs what it was asked to open.
record_opens() {
  "$WINE_RUN" reg add 'HKCR\Folder\shell\open\command' /ve /d "\"$(winpath "$RECORDER")\" \"%1\"" /f >/dev/null
  "$WINE_RUN" reg delete 'HKCR\Folder\shell\open\ddeexec' /f >/dev/null 2>&1 || true
  LOG="$WORK/opened.log"
  KV_RECORDER_LOG="$(winpath "$LOG")" && export KV_RECORDER_LOG
}
expect_opened() {  # the one path the recorder logged, quoted
  for i in $(seq 50); do [ -s "$LOG" ] && break; sleep 0.2; done
  expect_eq "opened" "$(tr -d '\r\n' <"$LOG" 2>/dev/null)" "$1"
}
expect_nothing_opened() {  # after what
  sleep 0.5
  [ ! -s "$LOG" ] || fail "$1 opened $(cat "$LOG")"
}
wait_exited() {
  for i in $(seq 50); do [ "$(ui procs kivoret.exe | tr -d '\r\n')" = 0 ] && return; sleep 0.2; done
  fail "kivoret.exe is still running"
}
close_with() {  # a button of the settings window: the window goes, the program ends
  ui click "$FORM" "$1"
  ui gone "$FORM" 10000 || fail "button $1 left the window open"
  wait_exited
}
# The settings window's identifier, path, list lines (each ended by |) and both boxes (e.g. 10).
expect_form() {
  ui wait "$FORM" 20000 >/dev/null || fail "the settings window did not open"
  expect_eq "identifier" "$(ui text "$FORM" $NAME)" "$1"
  expect_eq "path" "$(ui text "$FORM" $PATHBOX)" "$2"
  expect_eq "list" "$(ui items "$FORM" $LIST | tr -d '\r' | tr '\n' '|')" "$3"
  expect_eq "boxes" "$(ui check "$FORM" $CHECK_DRIVES)$(ui check "$FORM" $CHECK_MENU)" "$4"
}
MENU_KEY='HKCU\Software\Classes\Folder\shell\Kivoret'
"$WINE_RUN" reg delete "$MENU_KEY" /f >/dev/null 2>&1 || true
