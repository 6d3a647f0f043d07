#!/usr/bin/env bash
# A private Xvfb on a display that is free now, for test-all.sh and the ctest fixtures.
#   xvfb.sh start STATEFILE   starts one unless DISPLAY is set; STATEFILE gets ":N PID"
#   xvfb.sh stop STATEFILE    stops the one STATEFILE names
# Xvfb picks the display itself (-displayfd), so parallel runs never race for a number.
set -euo pipefail
cmd=${1:?start or stop} state=${2:?state file}

case $cmd in
start)
  rm -f "$state"
  if [ -n "${DISPLAY:-}" ]; then
    : >"$state"  # the caller's display serves
    exit 0
  fi
  log="$state.log" fifo=$(mktemp -u /tmp/kv-xvfb.XXXXXX)
  mkfifo "$fifo"
  # -noreset: each xdotool call is a last client leaving; a reset would recentre the pointer.
  # setsid and closed descriptors: ctest waits for the test's pipes, not for this server.
  setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset \
    3>"$fifo" </dev/null >"$log" 2>&1 &
  pid=$!
  n=$(timeout 20 head -n 1 "$fifo" || true)
  rm -f "$fifo"
  if [ -z "$n" ] || ! kill -0 "$pid" 2>/dev/null; then
    echo "xvfb.sh: Xvfb did not start; its output:" >&2
    cat "$log" >&2
    kill "$pid" 2>/dev/null || true
    exit 1
  fi
  echo ":$n $pid" >"$state"
  echo ":$n"
  ;;
stop)
  if [ -s "$state" ]; then
    read -r _ pid <"$state"
    kill "$pid" 2>/dev/null || true
  fi
  rm -f "$state"
  ;;
*)
  echo "usage: xvfb.sh start|stop STATEFILE" >&2
  exit 2
  ;;
esac
