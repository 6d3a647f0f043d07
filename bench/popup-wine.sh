#!/bin/bash
# Windows program under Wine: exec -> popup mapped and peak RSS, against a bare Win32 program
# popping as many items. One wineserver stays up for all runs, so both sides pay the same.
source "$(dirname "$0")/lib.sh"
start_xvfb
make_scratch
export WINEPREFIX=$KV_MINGW/wineprefix WINEDEBUG=-all
[[ -f $WINEPREFIX/system.reg ]] || sh "$KV_ROOT/tests/win32/prepare-prefix.sh" "$WINEPREFIX" >/dev/null
WINE="$KV_MINGW/wine-run.sh"
wineserver -p 2>/dev/null || true  # one may be up already
trap 'wineserver -k 2>/dev/null; cleanup' EXIT
dir=$BENCH_SCRATCH/win
mkdir -p "$dir"
cp "$KV_MINGW/src/platform/win32/kivoret.exe" "$KV_MINGW/bare_win32_popup.exe" "$dir/"
drives=$(find -L "$WINEPREFIX/dosdevices" -maxdepth 1 -name '[a-z]:' -type d | wc -l)
for folders in 0 999; do
  if ((folders == 0)); then drive=0 items=0 label="no folders, no drives"
  else drive=1 items=$((folders + drives)) label="$folders folders + $drives drives"; fi
  write_settings "$dir/Setting.ini" "$drive" "$folders" 'C:'
  pairs -o "$WINE $dir/kivoret.exe" "$WINE $dir/bare_win32_popup.exe $items" "Wine popup, $label"
done
