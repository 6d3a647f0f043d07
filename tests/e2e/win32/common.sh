# Shared set-up of the Windows end-to-end scripts (sourced). Arguments of every script:
#   KIVORET_EXE UIDRIVER_EXE RECORDER_EXE WINE_RUN DOCS_DIR
# Needs DISPLAY (an X server such as Xvfb), WINEPREFIX prepared by prepare-prefix.sh, xdotool.
set -eu
KIVORET=$1 UIDRIVER=$2 RECORDER=$3 WINE_RUN=$4 DOCS=$5
: "${DISPLAY:?an X display is needed}"
: "${WINEPREFIX:?WINEPREFIX must name the prepared prefix}"
export WINEPREFIX WINEDEBUG=-all LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8

WORK=$(mktemp -d /tmp/kv-e2e-XXXXXX)
mkdir -p "$DOCS"
STARTED_PIDS="" WINDOWS_PIDS=""
cleanup() {
  # A failed step may leave the program running; it must not outlive the test.
  for pid in $WINDOWS_PIDS; do "$WINE_RUN" taskkill /f /pid "$pid" >/dev/null 2>&1 || true; done
  for pid in $STARTED_PIDS; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$WORK"
}
trap cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }
step() { echo "--- $(date +%T) $*"; }

# The pointer position survives between Wine processes only while the server stays up.
wineserver -p60 </dev/null >/dev/null 2>&1 || true  # fails when one runs already

ui() { "$WINE_RUN" "$UIDRIVER" "$@"; }
winpath() { "$WINE_RUN" winepath -w "$1" 2>/dev/null | tr -d '\r'; }
# Text in the system code page, as the profile functions write it.
sjis() { printf '%s' "$1" | iconv -f UTF-8 -t CP932; }

# A copy of the program in a directory of its own: its settings file goes beside it.
APP="$WORK/app"
mkdir -p "$APP"
cp "$KIVORET" "$APP/kivoret.exe"
APP_WIN=$(winpath "$APP")

# Starts the program in the background, the given command line as its arguments.
start_kivoret() {
  "$WINE_RUN" "$APP/kivoret.exe" "$@" >/dev/null 2>&1 &
  STARTED_PIDS="$STARTED_PIDS $!"
}

# Starts a process with exactly this command line (no shell quoting in between).
run_kivoret() {
  # Through a file: the new process inherits the output, and a pipe would wait for its end.
  ui run "$1" >"$WORK/pid" 2>/dev/null </dev/null || true
  pid=$(tr -d '\r\n' <"$WORK/pid")
  [ -n "$pid" ] || fail "cannot start: $1"
  WINDOWS_PIDS="$WINDOWS_PIDS $pid"
}

count_kivoret() { ui procs kivoret.exe | tr -d '\r\n'; }

wait_exited() {
  i=0
  while [ "$(count_kivoret)" != 0 ]; do
    i=$((i + 1))
    [ $i -lt 50 ] || fail "kivoret.exe is still running"
    sleep 0.2
  done
}
