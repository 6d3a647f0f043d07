#!/bin/bash
# Ctrl + click leaves the path on the clipboard once the program has ended (a clipboard manager
# takes it over) and opens nothing; Shift + click opens.
source "$(dirname "$0")/lib.sh"
KIVORET=${1:?usage: clipboard.sh path/to/kivoret}
make_scratch
# The manager's session ends with it: its bus and the settings store go too.
trap 'set +e; kill ${KV_PID:-} 2>/dev/null; pkill -P ${KV_MANAGER_PID:-0} 2>/dev/null
      wait ${KV_MANAGER_PID:-} 2>/dev/null; kill ${KV_XVFB_PID:-} 2>/dev/null; rm -rf "${KV_SCRATCH:-}"' EXIT
two_folders 書類

# Xfce's settings daemon answers the clipboard-manager protocol (SAVE_TARGETS); it wants a bus.
NO_AT_BRIDGE=1 dbus-run-session -- xfsettingsd --no-daemon --disable-wm-check >"$KV_SCRATCH/manager.log" 2>&1 &
KV_MANAGER_PID=$!
manager_up() {  # someone owns the CLIPBOARD_MANAGER selection
  python3 -c 'import ctypes as c; x = c.CDLL("libX11.so.6"); x.XOpenDisplay.restype = c.c_void_p
d = c.c_void_p(x.XOpenDisplay(None)); x.XInternAtom.restype = c.c_ulong
exit(x.XGetSelectionOwner(d, c.c_ulong(x.XInternAtom(d, b"CLIPBOARD_MANAGER", 0))) == 0)'
}
wait_for 20 manager_up || fail "no clipboard manager took CLIPBOARD_MANAGER"

printf 'before' | xclip -selection clipboard
run_launcher
t0=$(now_ms)
click_last ctrl
ends "program still running after Ctrl + click"
elapsed=$(($(now_ms) - t0))
((elapsed < 2500)) || fail "the program took $elapsed ms to end after Ctrl + click"
expect_opened "Ctrl + click"
[[ $(xclip -selection clipboard -o 2>/dev/null) == "$KV_SCRATCH/my docs/" ]] || fail "the clipboard lost the path when the program ended"

# No dialog or file manager can be reached from here: Shift opens, as a plain click does.
run_launcher
click_last shift
ends "program still running after Shift + click"
expect_opened "Shift + click" "$KV_SCRATCH/my docs/"
[[ $(xclip -selection clipboard -o 2>/dev/null) == "$KV_SCRATCH/my docs/" ]] || fail "Shift + click changed the clipboard"
echo "clipboard: ok"
