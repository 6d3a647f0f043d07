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
# The benchmarks are not run here, but they must keep building (bench/run-all.sh runs them).
cmake --build --preset linux -j "$jobs" --target bare_qt_popup bare_qt_window mapwatch drive_count \
  settings_io || exit 1
cmake --build --preset mingw -j "$jobs" --target bare_win32_popup settings_io || exit 1

# Windows and Qt windows need an X server; CI has none. A free display is found, not assumed.
xvfb_state=build/xvfb.state
if [ -z "${DISPLAY:-}" ]; then
  DISPLAY=$(tools/xvfb.sh start "$xvfb_state") || exit 1
  export DISPLAY
fi
cleanup() {
  tools/xvfb.sh stop "$xvfb_state"
  WINEPREFIX="$PWD/build/mingw/wineprefix" wineserver -k 2>/dev/null
  true
}
trap cleanup EXIT
# The Wine prefix is a ctest fixture of the mingw preset (tests/win32/CMakeLists.txt).
export WINEDEBUG=-all

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
tools/test-share.sh || true  # printed only: the share does not decide the result
echo "total: $passed passed, $failed failed"
exit "$status"
