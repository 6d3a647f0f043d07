#!/bin/sh
# LoadSettings / SaveSettings of 99, 999 and 9,999 entries: the Linux program's services natively
# and the Windows program's under Wine. Builds what it needs; prints both tables.
# Usage: bench/settings_io.sh [linux|wine]...   (default: both)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
which=${*:-linux wine}
# Other programs on the machine steal time slices from a run of milliseconds: as root, run at
# real-time priority so that the figures are the program's own (falls back to normal priority).
fast() { if [ "$(id -u)" = 0 ] && chrt -f 10 true 2>/dev/null; then chrt -f 10 "$@"; else "$@"; fi; }
status=0
for platform in $which; do
  case $platform in
    linux)
      [ -f build/linux/build.ninja ] || cmake --preset linux >/dev/null
      cmake --build --preset linux --target settings_io >/dev/null
      echo "== Linux ($(uname -m), $(nproc) cores)"
      fast build/linux/settings_io || status=1 ;;
    wine)
      [ -f build/mingw/build.ninja ] || cmake --preset mingw >/dev/null
      cmake --build --preset mingw --target settings_io >/dev/null
      [ -d build/mingw/wineprefix ] || sh tests/win32/prepare-prefix.sh build/mingw/wineprefix
      echo "== Windows program under $(wine --version 2>/dev/null || echo Wine)"
      fast build/mingw/wine-run.sh build/mingw/settings_io.exe || status=1 ;;
    *) echo "unknown platform: $platform" >&2; exit 2 ;;
  esac
done
exit $status
