# Shared by the Linux end-to-end scripts: a private Xvfb, a scratch home, polling helpers.
set -euo pipefail

KV_SHOTS=${KV_SCREENSHOT_DIR:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)/docs}

fail() { echo "FAIL: $*" >&2; exit 1; }

# Polls "${@:2}" every 0.1 s for up to $1 seconds.
wait_for() {
  local i
  for ((i = 0; i < $1 * 10; i++)); do "${@:2}" && return 0; sleep 0.1; done
  return 1
}

start_xvfb() {
  local n
  for n in $(seq 140 199); do
    [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
    # -noreset: each xdotool call is a last client leaving; a reset would recentre the pointer.
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
    KV_XVFB_PID=$!
    export DISPLAY=":$n"
    wait_for 10 xdotool getmouselocation >/dev/null 2>&1 && return 0
    kill "$KV_XVFB_PID" 2>/dev/null || true
  done
  fail "no X display could be started"
}

# A scratch HOME with its XDG folders and an xdg-open that records its arguments.
make_scratch() {
  KV_SCRATCH=$(mktemp -d /tmp/kv-e2e.XXXXXX)
  export HOME=$KV_SCRATCH/home XDG_RUNTIME_DIR=$KV_SCRATCH/run KV_OPEN_LOG=$KV_SCRATCH/open.log
  export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share PATH=$KV_SCRATCH/bin:$PATH
  mkdir -p "$XDG_CONFIG_HOME/kivoret" "$XDG_DATA_HOME" "$KV_SCRATCH/bin" "$KV_SHOTS"
  mkdir -m 700 "$XDG_RUNTIME_DIR"
  printf '#!/bin/bash\nprintf "%%s\\n" "$@" >"$KV_OPEN_LOG"\n' >"$KV_SCRATCH/bin/xdg-open"
  chmod +x "$KV_SCRATCH/bin/xdg-open"
  unset WAYLAND_DISPLAY QT_QPA_PLATFORM
  # A bus that is not there: no session bus gets auto-launched and left running.
  export DBUS_SESSION_BUS_ADDRESS=unix:path=$KV_SCRATCH/no-bus
}

trap 'kill ${KV_PID:-} ${KV_XVFB_PID:-} 2>/dev/null; rm -rf "${KV_SCRATCH:-}"' EXIT

exited() { ! kill -0 "$KV_PID" 2>/dev/null || [[ $(ps -o stat= -p "$KV_PID" 2>/dev/null) == Z* ]]; }

# The first visible window but the root whose UTF-8 title (not the legacy WM_NAME) matches $1.
has_icon() { xprop -id "$1" _NET_WM_ICON 2>/dev/null | grep -q 'Icon (32 x 32)'; }

find_window() {
  local id geo WINDOW X Y WIDTH HEIGHT SCREEN
  for id in $(xdotool search --onlyvisible --name '' 2>/dev/null); do
    [[ $(xdotool getwindowname "$id" 2>/dev/null) =~ $1 ]] || continue
    geo=$(xdotool getwindowgeometry --shell "$id") || continue
    eval "$geo"
    [[ "${WIDTH}x$HEIGHT" == 1024x768 ]] || { echo "$id $X $Y $WIDTH $HEIGHT"; return 0; }
  done
  return 1
}

now_ms() { echo $(($(date +%s%N) / 1000000)); }

# A fresh server may drop the first move: repeat until the pointer is at $1,$2.
point_at() {
  wait_for 5 bash -c "xdotool mousemove $1 $2 && [[ \$(xdotool getmouselocation) == 'x:$1 y:$2 '* ]]" ||
    fail "pointer did not move"
}

# $KIVORET started with the pointer at 200,150; its popup is POPUP X Y W H.
run_launcher() {
  point_at 200 150
  rm -f "$KV_OPEN_LOG"
  "$KIVORET" >"$KV_SCRATCH/out.log" 2>&1 &
  KV_PID=$!
  wait_for 10 find_window '' >/dev/null || fail "no popup appeared"
  read -r POPUP X Y W H < <(find_window '')
}

# After $1 the opener got exactly $2; without $2, it was never called.
expect_opened() {
  if (($# < 2)); then [[ ! -e $KV_OPEN_LOG ]] || fail "$1 opened '$(cat "$KV_OPEN_LOG")'"; return 0; fi
  [[ $(cat "$KV_OPEN_LOG" 2>/dev/null) == "$2" ]] || fail "$1 opened '$(cat "$KV_OPEN_LOG" 2>/dev/null)', not '$2'"
}

# Waits $1 s for the settings window ($2 says which run): WIN WX WY WW WH.
settings_window() {
  wait_for "$1" find_window 'キヴォレット - 設定' >/dev/null || fail "no settings window${2:+ ($2)}"
  read -r WIN WX WY WW WH < <(find_window 'キヴォレット - 設定')
}

# Clicks at each "x y" of the window's pixels (the layout table's twips / 15).
click_in_window() {
  local xy
  for xy in "$@"; do
    xdotool mousemove $((WX + ${xy% *})) $((WY + ${xy#* })) click 1
    sleep 0.3
  done
}

# The clicks, then OK, which ends the program within ${OK_WAIT:-5} s; $1 names the run.
click_then_ok() {
  settings_window 15 "$1"
  click_in_window "${@:2}" "292 244"
  wait_for "${OK_WAIT:-5}" exited || fail "OK did not close the window ($1)"
}

# A copy of the program at $2/kivoret, and where it keeps its settings and drop-ins.
copy_program() {
  mkdir -p "$2"
  KIVORET=$2/kivoret INI=$XDG_CONFIG_HOME/kivoret/Setting.ini ARGS=$KV_SCRATCH/args.log
  cp "$1" "$KIVORET"
  MENUS=$XDG_DATA_HOME/kio/servicemenus/kivoret.desktop NEMO=$XDG_DATA_HOME/nemo/actions/kivoret.nemo_action
  SCRIPT=$XDG_DATA_HOME/nautilus/scripts/キヴォレットに登録 CAJA=$XDG_CONFIG_HOME/caja/scripts/キヴォレットに登録
  UCA=$XDG_CONFIG_HOME/Thunar/uca.xml
}

# The copy replaced by a recorder of its arguments, to run the drop-ins with.
record_args() { printf '#!/bin/bash\n{ echo "$#"; printf "%%s\\n" "$@"; } >"%s"\n' "$ARGS" >"$KIVORET"; }
check_args() {  # the recorder ran with $TARGET as its one argument; $1 names the drop-in
  wait_for 5 test -s "$ARGS" || fail "$1: the program was not started"
  [[ $(cat "$ARGS") == "1"$'\n'"$TARGET" ]] || fail "$1: got $(cat "$ARGS")"
  rm -f "$ARGS"
}

# The service menu's Exec line, in an application entry of its own, started by GLib on $TARGET.
launch_service_menu() {
  printf '[Desktop Entry]\nType=Application\nName=check\nExec=%s\n' "$(sed -n 's/^Exec=//p' "$MENUS")" >"$KV_SCRATCH/check.desktop"
  (cd / && gio launch "$KV_SCRATCH/check.desktop" "$TARGET") || fail "gio launch failed"
}
