#!/bin/bash
# The launcher end to end: the popup at the pointer, a folder chosen, the opener called, exit.
source "$(dirname "$0")/lib.sh"
KIVORET=${1:?usage: launcher.sh path/to/kivoret}
make_scratch
two_folders 'Docs &Memo'  # "&" shows as it is, no access key

run_launcher
[[ "$X $Y" == "200 150" ]] || fail "popup at $X,$Y, not at the pointer (200,150)"
shoot_popup popup-linux.png
click_last  # the second folder
ends "program still running after the choice"
expect_opened "the second folder" "$KV_SCRATCH/my docs/"

run_launcher
xdotool key m sleep 0.3 key Escape
ends "program still running after Escape"
expect_opened "m, then Escape"

# The program-name item, chosen with the right button: the settings window, closed by cancel.
run_launcher
xdotool mousemove $((X + 40)) $((Y + 11)) click 3
settings_window 10 "from the program-name item"
cancel
expect_opened "the program-name item"
echo "launcher: ok"
