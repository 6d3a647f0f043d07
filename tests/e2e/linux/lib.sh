# Shared by the Linux end-to-end scripts: a scratch home on a private Xvfb, polling helpers, the
# program's windows found and clicked.
set -euo pipefail

KV_SHOTS=${KV_SCREENSHOT_DIR:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)/docs}
SETTINGS='キヴォレット - 設定'

fail() { echo "FAIL: $*" >&2; exit 1; }

# Polls "${@:2}" every 0.1 s for up to $1 seconds.
wait_for() {
  local i
  for ((i = 0; i < $1 * 10; i++)); do "${@:2}" && return 0; sleep 0.1; done
  return 1
}

# A scratch HOME with its XDG folders, an xdg-open that records its arguments, and an Xvfb.
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
  # -noreset: each xdotool call is a last client leaving; a reset would recentre the pointer.
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$KV_SCRATCH/display" \
    >/dev/null 2>&1 &
  KV_XVFB_PID=$!
  wait_for 10 test -s "$KV_SCRATCH/display" || fail "Xvfb did not start"
  export DISPLAY=:$(<"$KV_SCRATCH/display")
}

trap 'kill ${KV_PID:-} ${KV_XVFB_PID:-} 2>/dev/null; rm -rf "${KV_SCRATCH:-}"' EXIT

# "$@" in the background, as KV_PID; then whether it ended within ${2:-5} s ($1 the failure).
start() { "$@" >>"$KV_SCRATCH/out.log" 2>&1 & KV_PID=$!; }
exited() { ! kill -0 "$KV_PID" 2>/dev/null || [[ $(ps -o stat= -p "$KV_PID" 2>/dev/null) == Z* ]]; }
ends() { wait_for "${2:-5}" exited || fail "$1"; }

# The first visible window but the root whose UTF-8 title (not the legacy WM_NAME) matches $1.
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

# Setting.ini with the folders 写真 and $1, the second at "$KV_SCRATCH/my docs/".
two_folders() {
  printf '[Main]\r\nDrive=0\r\n[Folder001]\r\nTitle=写真\r\nPath=%s/写真/\r\n[Folder002]\r\nTitle=%s\r\nPath=%s/my docs/\r\n' \
    "$KV_SCRATCH" "$1" "$KV_SCRATCH" >"$XDG_CONFIG_HOME/kivoret/Setting.ini"
}

# $KIVORET started with the pointer at 200,150 (already there with $1 = moved); its popup is
# POPUP X Y W H.
run_launcher() {
  [[ -n ${1:-} ]] || point_at 200 150
  rm -f "$KV_OPEN_LOG"
  start "$KIVORET"
  wait_for "${POPUP_WAIT:-10}" find_window '' >/dev/null || fail "no popup appeared"
  read -r POPUP X Y W H < <(find_window '')
}
shoot_popup() { import -window root -crop "$((W + 40))x$((H + 40))+180+130" "$KV_SHOTS/$1"; }
# The popup's last row clicked, with the key $1 held if given.
click_last() {
  xdotool mousemove $((X + 40)) $((Y + H - 11)) ${1:+keydown $1 sleep 0.2} click 1 ${1:+sleep 0.2 keyup $1}
}

# After $1 the opener got exactly $2; without $2, it was never called.
expect_opened() {
  if (($# < 2)); then [[ ! -e $KV_OPEN_LOG ]] || fail "$1 opened '$(cat "$KV_OPEN_LOG")'"; return 0; fi
  [[ $(cat "$KV_OPEN_LOG" 2>/dev/null) == "$2" ]] || fail "$1 opened '$(cat "$KV_OPEN_LOG" 2>/dev/null)', not '$2'"
}

# Waits $1 s for the settings window ($2 says which run): WIN WX WY WW WH.
settings_window() {
  wait_for "$1" find_window "$SETTINGS" >/dev/null || fail "no settings window${2:+ ($2)}"
  read -r WIN WX WY WW WH < <(find_window "$SETTINGS")
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
  ends "OK did not close the window ($1)" "${OK_WAIT:-5}"
}
cancel() { click_in_window "364 244" && ends "cancel did not close the window"; }

# The message or question over the settings window: a screenshot as $2 if given, then the key $1.
answer() {
  wait_for 5 find_window '^キヴォレット$' >/dev/null || fail "no message (${2:-})"
  read -r BOX BX BY BW BH < <(find_window '^キヴォレット$')
  [[ -z ${2:-} ]] || import -window root -crop "${BW}x$BH+$BX+$BY" "$KV_SHOTS/$2"
  xdotool windowfocus --sync "$BOX" key "$1"
  wait_for 5 bash -c "! xdotool search --onlyvisible --name '^キヴォレット\$' >/dev/null 2>&1" || fail "the message stayed"
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
