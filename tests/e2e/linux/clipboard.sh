#!/bin/bash
# Ctrl + click leaves the path on the clipboard once the program has ended (a clipboard manager
# takes it over) and opens nothing; Shift + click opens.
source "$(dirname "$0")/lib.sh"
KIVORET=${1:?usage: clipboard.sh path/to/kivoret path/to/kv_selection_owner}
SELECTION_OWNER=${2:?}
make_scratch
start_xvfb
# The manager's session ends with it: its bus and the settings store go too.
stop_manager() {
  [[ -n ${KV_MANAGER_PID:-} ]] || return 0
  pkill -P "$KV_MANAGER_PID" 2>/dev/null
  wait "$KV_MANAGER_PID" 2>/dev/null
}
trap 'set +e; kill ${KV_PID:-} 2>/dev/null; stop_manager; kill ${KV_XVFB_PID:-} 2>/dev/null
      rm -rf "${KV_SCRATCH:-}" 2>/dev/null || true' EXIT
printf '[Main]\r\nDrive=0\r\n[Folder001]\r\nTitle=写真\r\nPath=%s/写真/\r\n[Folder002]\r\nTitle=書類\r\nPath=%s/my docs/\r\n' \
  "$KV_SCRATCH" "$KV_SCRATCH" >"$XDG_CONFIG_HOME/kivoret/Setting.ini"

# Xfce's settings daemon answers the clipboard-manager protocol (SAVE_TARGETS); it wants a bus.
NO_AT_BRIDGE=1 dbus-run-session -- xfsettingsd --no-daemon --disable-wm-check >"$KV_SCRATCH/manager.log" 2>&1 &
KV_MANAGER_PID=$!
manager_up() { [[ $("$SELECTION_OWNER" CLIPBOARD_MANAGER) != 0 ]]; }
wait_for 20 manager_up || fail "no clipboard manager took CLIPBOARD_MANAGER"

choose_last_with() {  # the second folder, with the key $1 held
  xdotool mousemove $((X + 40)) $((Y + H - 11)) keydown "$1" sleep 0.2 click 1 sleep 0.2 keyup "$1"
}

printf 'before' | xclip -selection clipboard
run_launcher
start=$(now_ms)
choose_last_with ctrl
wait_for 5 exited || fail "program still running after Ctrl + click"
elapsed=$(($(now_ms) - start))
((elapsed < 2500)) || fail "the program took $elapsed ms to end after Ctrl + click"
expect_opened "Ctrl + click"
got=$(xclip -selection clipboard -o 2>/dev/null) || true
[[ $got == "$KV_SCRATCH/my docs/" ]] || fail "clipboard after the program ended: '$got'"

# No dialog or file manager can be reached from here: Shift opens, as a plain click does.
run_launcher
choose_last_with shift
wait_for 5 exited || fail "program still running after Shift + click"
expect_opened "Shift + click" "$KV_SCRATCH/my docs/"
[[ $(xclip -selection clipboard -o 2>/dev/null) == "$KV_SCRATCH/my docs/" ]] || fail "Shift + click changed the clipboard"
echo "clipboard: ok"
