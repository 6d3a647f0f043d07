#!/bin/bash
# Builds what the benchmarks need (both programs, the baselines, the map watcher) and runs every
# benchmark, printing one line per figure. PAIRS=n sets the pairs per figure (default 21).
set -euo pipefail
cd "$(dirname "$0")/.."
[[ -f build/linux/CMakeCache.txt ]] || cmake --preset linux >/dev/null
cmake --build --preset linux -j2 --target kivoret bare_qt_popup bare_qt_window mapwatch drive_count \
  slowfs >/dev/null
[[ -f build/mingw/CMakeCache.txt ]] || cmake --preset mingw >/dev/null
cmake --build --preset mingw -j2 --target kivoret bare_win32_popup >/dev/null
echo "machine: $(uname -m), $(nproc) CPUs, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//'), $(date -u +%Y-%m-%d)"
for script in popup-linux settings-window-linux popup-wine; do
  bash "bench/$script.sh"
done
sh bench/settings_io.sh
# A drive that never answers needs a FUSE mount, so root and /dev/fuse.
if [[ $(id -u) == 0 && -e /dev/fuse ]]; then
  bash bench/drive_deadline.sh "${PAIRS:-21}"
else
  echo "drive deadline: skipped (needs root and /dev/fuse)"
fi
exit 0
