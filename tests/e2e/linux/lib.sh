# Shared by the Linux end-to-end scripts: a private Xvfb, a scratch home, polling helpers.
set -euo pipefail

KV_REPO=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)
KV_SHOTS=${KV_SCREENSHOT_DIR:-$KV_REPO/docs}

fail() { echo "FAIL: $*" >&2; exit 1; }

# Polls `cmd` every 0.1 s for up to $1 seconds.
wait_for() {
  local limit=$1; shift
  local i
  for ((i = 0; i < limit * 10; i++)); do
    if "$@"; then return 0; fi
    sleep 0.1
  done
  return 1
}

start_xvfb() {
  local n
  for n in $(seq 140 199); do
    [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
    # -noreset: otherwise the server resets whenever its last client leaves, and each xdotool
    # call is such a client, so the pointer would jump back to the centre.
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
    KV_XVFB_PID=$!
    export DISPLAY=":$n"
    if wait_for 10 xdotool getmouselocation >/dev/null 2>&1; then return 0; fi
    kill "$KV_XVFB_PID" 2>/dev/null || true
  done
  fail "no X display could be started"
}

# A scratch HOME with its XDG folders and an xdg-open that records its arguments.
make_scratch() {
  KV_SCRATCH=$(mktemp -d /tmp/kv-e2e.XXXXXX)
  export HOME=$KV_SCRATCH/home
  export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share
  export XDG_RUNTIME_DIR=$KV_SCRATCH/run
  mkdir -p "$HOME" "$XDG_CONFIG_HOME/kivoret" "$XDG_DATA_HOME" "$KV_SCRATCH/bin"
  mkdir -m 700 "$XDG_RUNTIME_DIR"
  export KV_OPEN_LOG=$KV_SCRATCH/open.log
  cat >"$KV_SCRATCH/bin/xdg-open" <<'REC'
#!/bin/bash
printf '%s\n' "$@" >"$KV_OPEN_LOG"
REC
  chmod +x "$KV_SCRATCH/bin/xdg-open"
  export PATH=$KV_SCRATCH/bin:$PATH
  unset WAYLAND_DISPLAY QT_QPA_PLATFORM
  # A bus that is not there, so that no session bus gets auto-launched and left running.
  export DBUS_SESSION_BUS_ADDRESS=unix:path=$KV_SCRATCH/no-bus
}

cleanup() {
  [[ -n ${KV_PID:-} ]] && kill "$KV_PID" 2>/dev/null || true
  [[ -n ${KV_XVFB_PID:-} ]] && kill "$KV_XVFB_PID" 2>/dev/null || true
  [[ -n ${KV_SCRATCH:-} ]] && rm -rf "$KV_SCRATCH"
}
trap cleanup EXIT

exited() { ! kill -0 "$KV_PID" 2>/dev/null || [[ $(ps -o stat= -p "$KV_PID" 2>/dev/null) == Z* ]]; }

# The first visible top-level window other than the root whose title matches $1, as
# "id x y w h". Titles are compared as UTF-8 (_NET_WM_NAME): the legacy WM_NAME that a program
# started without a locale carries is not.
find_window() {
  local id geo
  for id in $(xdotool search --onlyvisible --name '' 2>/dev/null); do
    [[ $(xdotool getwindowname "$id" 2>/dev/null) =~ $1 ]] || continue
    geo=$(xdotool getwindowgeometry "$id") || continue
    [[ $geo == *"1024x768"* ]] && continue
    local pos size
    pos=$(sed -n 's/.*Position: \([0-9]*\),\([0-9]*\).*/\1 \2/p' <<<"$geo")
    size=$(sed -n 's/.*Geometry: \([0-9]*\)x\([0-9]*\).*/\1 \2/p' <<<"$geo")
    echo "$id $pos $size"
    return 0
  done
  return 1
}
