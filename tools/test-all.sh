#!/usr/bin/env bash
# Builds both programs (Linux and Windows) and runs every test: core, Linux, Windows under Wine, end
# to end; then the core and Linux suites again under AddressSanitizer and UBSan, and each fuzz
# target for a short while on its corpus.
set -uo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh || exit 1

jobs=$(nproc)
cmake --preset linux >/dev/null && cmake --build --preset linux -j "$jobs" || exit 1
cmake --preset mingw >/dev/null && cmake --build --preset mingw -j "$jobs" || exit 1
cmake --preset linux-asan >/dev/null && cmake --build --preset linux-asan -j "$jobs" || exit 1
cmake --preset fuzz >/dev/null && cmake --build --preset fuzz -j "$jobs" || exit 1

# Windows and Qt windows need an X server; CI has none.
xvfb_pid=""
if [ -z "${DISPLAY:-}" ]; then
  export DISPLAY=:93
  Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
fi
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  WINEPREFIX="$PWD/build/mingw/wineprefix" wineserver -k 2>/dev/null
  true
}
trap cleanup EXIT

export WINEPREFIX="$PWD/build/mingw/wineprefix" WINEDEBUG=-all
if [ -x tests/win32/prepare-prefix.sh ]; then
  tests/win32/prepare-prefix.sh "$WINEPREFIX" || exit 1
fi

status=0
passed=0 failed=0
for preset in linux mingw linux-asan fuzz; do
  log="build/ctest-$preset.log"
  ctest --preset "$preset" -j "$jobs" --timeout 600 2>&1 | tee "$log"
  [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
  line=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -n 1)
  total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$line")
  bad=$(sed -E 's/.*passed, ([0-9]+) tests failed.*/\1/' <<<"$line")
  if [ -z "$line" ]; then status=1; continue; fi
  passed=$((passed + total - bad)) failed=$((failed + bad))
done

echo
echo "total: $passed passed, $failed failed"
exit "$status"
