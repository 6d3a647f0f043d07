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
