#!/bin/bash
# Linux: exec -> settings window mapped with 999 entries (context-menu mode), against a bare Qt
# window of 14 widgets whose list holds 999 lines.
source "$(dirname "$0")/lib.sh"
start_xvfb
make_scratch
write_settings "$XDG_CONFIG_HOME/kivoret/Setting.ini" 1 999
pairs -t "$KV_LINUX/src/platform/linux/kivoret $BENCH_SCRATCH/new" "$KV_LINUX/bare_qt_window 999" \
  "Linux settings window, 999 entries"
