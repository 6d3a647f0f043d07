#!/bin/bash
# Linux: exec -> popup mapped and peak RSS, the program in launcher mode against a bare Qt
# program popping as many items; no folders and no drives, then 999 folders and the drives.
source "$(dirname "$0")/lib.sh"
start_xvfb
make_scratch
KIVORET=$KV_LINUX/src/platform/linux/kivoret
drives=$("$KV_LINUX/drive_count")
for folders in 0 999; do
  if ((folders == 0)); then drive=0 items=0 label="no folders, no drives"
  else drive=1 items=$((folders + drives)) label="$folders folders + $drives drives"; fi
  write_settings "$XDG_CONFIG_HOME/kivoret/Setting.ini" "$drive" "$folders"
  pairs -o "$KIVORET" "$KV_LINUX/bare_qt_popup $items" "Linux popup, $label"
done
