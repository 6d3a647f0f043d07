#!/bin/bash
# Time from start to popup with one drive that never answers, against the same machine without
# it: interleaved pairs under a private Xvfb, then min/median/max and the ratio.
# Usage: bench/drive_deadline.sh [pairs] [build/linux]   (as root: it mounts a FUSE file system)
here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/tests/e2e/linux/lib.sh"
source "$here/tests/e2e/linux/slow_mount.sh"
PAIRS=${1:-15}
BUILD=${2:-$here/build/linux}
KIVORET=$BUILD/src/platform/linux/kivoret
SLOWFS=$BUILD/tests/linux/slowfs
[[ -x $KIVORET && -x $SLOWFS ]] ||
  fail "build first: cmake --build --preset linux --target kivoret slowfs"
((PAIRS >= 1)) || fail "pairs must be a positive number"
make_scratch
trap 'kill ${KV_PID:-} 2>/dev/null; unmount_slowfs; kill ${KV_XVFB_PID:-} 2>/dev/null; rm -rf "${KV_SCRATCH:-}"' EXIT
start_xvfb
printf '[Main]\r\nDrive=1\r\n' >"$XDG_CONFIG_HOME/kivoret/Setting.ini"
xdotool mousemove 200 150

# Prints the milliseconds from start to a visible popup, then dismisses it.
time_to_popup() {
  local start took i
  start=$(now_ms)
  "$KIVORET" >/dev/null 2>&1 &
  KV_PID=$!
  for ((i = 0; i < 1000; i++)); do find_window '' >/dev/null && break; sleep 0.01; done
  took=$(($(now_ms) - start))
  find_window '' >/dev/null || fail "no popup appeared"
  xdotool key Escape
  wait_for 5 exited || fail "the program did not end after Escape"
  echo "$took"
}

with=() without=()
for ((p = 0; p < PAIRS; p++)); do
  # Alternate which goes first, so that neither always runs on a warmer machine.
  for side in $((p % 2)) $(((p + 1) % 2)); do
    if ((side == 0)); then
      without+=("$(time_to_popup)")
    else
      mount_slowfs "$SLOWFS" "$KV_SCRATCH/slow"
      with+=("$(time_to_popup)")
      unmount_slowfs
    fi
  done
done

python3 - "${without[*]}" "${with[*]}" <<'PY'
import statistics, sys
without = [int(v) for v in sys.argv[1].split()]
hung = [int(v) for v in sys.argv[2].split()]
ratios = [h / w for h, w in zip(hung, without)]
def row(name, xs, fmt):
    print(f"{name:<24} min {fmt(min(xs))}  median {fmt(statistics.median(xs))}  max {fmt(max(xs))}")
print(f"pairs: {len(ratios)}")
row("popup, no hung drive", without, lambda v: f"{v:5.0f} ms")
row("popup, one hung drive", hung, lambda v: f"{v:5.0f} ms")
row("ratio (pairwise)", ratios, lambda v: f"{v:5.2f}   ")
m = statistics.median(ratios)
print(f"median ratio {m:.2f}: {'within' if m <= 1.5 else 'ABOVE'} the 1.5 target")
PY
