# Shared by the bench scripts: build paths, a private X display, scratch settings, the
# interleaved pairs and their statistics.
set -euo pipefail

KV_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
KV_LINUX=$KV_ROOT/build/linux
KV_MINGW=$KV_ROOT/build/mingw
PAIRS=${PAIRS:-21}

fail() { echo "FAIL: $*" >&2; exit 1; }

# A private display: the map watcher counts every window mapped on it. BENCH_DISPLAY picks one.
start_xvfb() {
  local n
  for n in ${BENCH_DISPLAY:-$(seq 140 199)}; do
    n=${n#:}
    [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
    BENCH_XVFB_PID=$!
    export DISPLAY=":$n"
    local i
    for ((i = 0; i < 50; i++)); do
      xdpyinfo >/dev/null 2>&1 && { xdotool mousemove 300 200 2>/dev/null || true; return 0; }
      sleep 0.1
    done
    kill "$BENCH_XVFB_PID" 2>/dev/null || true
  done
  fail "no X display could be started"
}

# A scratch home, so that the program finds the benchmark's settings and nothing else.
make_scratch() {
  BENCH_SCRATCH=$(mktemp -d /tmp/kv-bench.XXXXXX)
  export HOME=$BENCH_SCRATCH/home XDG_CONFIG_HOME=$BENCH_SCRATCH/home/.config
  export XDG_RUNTIME_DIR=$BENCH_SCRATCH/run DBUS_SESSION_BUS_ADDRESS=unix:path=$BENCH_SCRATCH/no-bus
  mkdir -p "$XDG_CONFIG_HOME/kivoret"
  mkdir -m 700 "$XDG_RUNTIME_DIR"
  unset WAYLAND_DISPLAY QT_QPA_PLATFORM
}

cleanup() {
  [[ -n ${BENCH_XVFB_PID:-} ]] && kill "$BENCH_XVFB_PID" 2>/dev/null
  [[ -n ${BENCH_SCRATCH:-} ]] && rm -rf "$BENCH_SCRATCH"
  return 0
}
trap cleanup EXIT

# Writes a settings file with the drive option $2 and $3 folders "Folder 001"... to $1, with the
# line ends given in $4 (default CR LF), paths below $5.
write_settings() {
  local file=$1 drive=$2 count=$3 base=${5:-/tmp}
  {
    printf '[Main]\r\nDrive=%s\r\n' "$drive"
    local i
    for ((i = 1; i <= count; i++)); do
      printf '[Folder%03d]\r\nTitle=Folder %03d\r\nPath=%s/f%03d/\r\n' "$i" "$i" "$base" "$i"
    done
  } >"$file"
}

# Runs "A" and "B" (two command strings) interleaved PAIRS times under the map watcher with
# flag $1 (-o popup, -t window), after one warm-up run each; prints the ratios A/B of the time
# to the first map and of the peak RSS.
pairs() {
  local flag=$1 a=$2 b=$3 name=$4 i ta tb ra rb times=() rss=()
  # Warm-up: caches, and under Wine the prefix's services.
  for i in 1 2 3; do
    "$KV_LINUX/mapwatch" "$flag" $a >/dev/null || fail "$name: program (A) mapped nothing"
    "$KV_LINUX/mapwatch" "$flag" $b >/dev/null || fail "$name: baseline (B) mapped nothing"
  done
  for ((i = 0; i < PAIRS; i++)); do
    read -r ta ra < <("$KV_LINUX/mapwatch" "$flag" $a) || fail "$name: run $i of A"
    read -r tb rb < <("$KV_LINUX/mapwatch" "$flag" $b) || fail "$name: run $i of B"
    times+=("$ta $tb")
    rss+=("$ra $rb")
  done
  summarise "$name" "time to map" "${times[@]}"
  summarise "$name" "peak RSS" "${rss[@]}"
}

# Prints min / median / max of the ratios of pairs "a b", and the medians of a and b.
summarise() {
  local name=$1 what=$2
  shift 2
  printf '%s\n' "$@" | python3 -c '
import statistics, sys
name, what = sys.argv[1], sys.argv[2]
pairs = [tuple(map(float, l.split())) for l in sys.stdin if l.strip()]
r = sorted(a / b for a, b in pairs)
ma = statistics.median(a for a, _ in pairs)
mb = statistics.median(b for _, b in pairs)
unit = "KiB" if "RSS" in what else "ms"
print(f"{name:<42} {what:<12} ratio min {r[0]:.3f}  median {statistics.median(r):.3f}  "
      f"max {r[-1]:.3f}   (median {ma:.1f} vs {mb:.1f} {unit}, {len(r)} pairs)")
' "$name" "$what"
}
