#!/bin/bash
# The launcher on a headless Wayland compositor (sway, kwin or gnome) over a one-colour window,
# maximised and then full screen: screenshots before and after, a click on a folder, Escape.
# Compositors refuse root or need a user of their own: as root the script runs itself as nobody.
source "$(dirname "$0")/lib.sh"
C=${1:?usage: wayland.sh sway|kwin|gnome kivoret virtual_pointer probe}
KIVORET=${2:?} VPOINTER=${3:?} PROBE=${4:?}

if [[ $(id -u) == 0 ]]; then
  scratch=$(mktemp -d /tmp/kv-wayland-$C.XXXXXX)
  trap 'rm -rf "$scratch"' EXIT
  # Copies: the build tree may sit where nobody cannot read (below /root).
  mkdir "$scratch/exe"
  cp "$0" "$(dirname "$0")/lib.sh" "$KIVORET" "$VPOINTER" "$PROBE" "$scratch/exe/"
  chown -R nobody "$scratch"
  rc=0
  setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups \
    env -i PATH=/usr/local/bin:/usr/bin:/bin LANG=C.UTF-8 KV_SCRATCH="$scratch" \
    bash "$scratch/exe/$(basename "$0")" "$C" "$scratch/exe/$(basename "$KIVORET")" \
    "$scratch/exe/$(basename "$VPOINTER")" "$scratch/exe/$(basename "$PROBE")" || rc=$?
  mkdir -p "$KV_SHOTS"
  cp "$scratch"/shots/*.png "$KV_SHOTS"/ 2>/dev/null || true
  exit "$rc"
fi

S=${KV_SCRATCH:-$(mktemp -d /tmp/kv-wayland.XXXXXX)}
export HOME=$S/home XDG_RUNTIME_DIR=$S/run KV_OPEN_LOG=$S/open.log PATH=$S/bin:$PATH
export XDG_CONFIG_HOME=$HOME/.config DBUS_SESSION_BUS_ADDRESS=unix:path=$S/no-bus
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM SWAYSOCK XDG_CURRENT_DESKTOP
mkdir -p "$XDG_CONFIG_HOME/kivoret" "$S/bin" "$S/shots"
mkdir -m 700 "$XDG_RUNTIME_DIR"
printf '#!/bin/bash\nprintf "%%s\\n" "$@" >"$KV_OPEN_LOG"\n' >"$S/bin/xdg-open"
chmod +x "$S/bin/xdg-open"
# Three folders whose titles differ in length: the rows' widths show their order.
printf '[Main]\r\nDrive=0\r\n[Folder001]\r\nTitle=山\r\nPath=%s/one/\r\n[Folder002]\r\nTitle=山川山川山川山川\r\nPath=%s/two & more/\r\n[Folder003]\r\nTitle=川山川山\r\nPath=%s/three/\r\n' \
  "$S" "$S" "$S" >"$XDG_CONFIG_HOME/kivoret/Setting.ini"

pids=()
cleanup() {
  exec 3>&- 2>/dev/null || true
  local p
  for p in ${KV_PID:-} ${BACKDROP:-} "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  [[ -n ${KV_SCRATCH:-} ]] || rm -rf "$S"
}
trap cleanup EXIT
skip() {
  echo "SKIP: $C could not start here; its log ends:" >&2
  tail -15 "$S/$C.log" >&2
  exit 77
}
W=1280 H=800

# Per compositor: start it, then pointer (move X Y | click left|right), key NAME, shot FILE.
start_sway() {
  # The headless output draws the cursor into the screenshots: hide it while it rests.
  printf 'xwayland disable\nseat * hide_cursor 100\noutput * mode %dx%d\n' $W $H >"$S/sway.conf"
  WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman WLR_HEADLESS_OUTPUTS=1 \
    sway -c "$S/sway.conf" >"$S/sway.log" 2>&1 &
  pids+=($!)
  wait_for 10 eval 'compgen -G "$XDG_RUNTIME_DIR/wayland-*[0-9]" >/dev/null' || skip
  export WAYLAND_DISPLAY=$(basename "$(compgen -G "$XDG_RUNTIME_DIR/wayland-*[0-9]" | head -1)")
  # A keyboard for the whole run: one that appears with the Escape press arrives as a key held.
  wtype -s 600000 &
  pids+=($!)
  start_pointer
}
answers=1
pointer() {  # returns once the compositor has taken the command
  echo "$* $W $H" >&3
  answers=$((answers + 1))
  wait_for 5 eval '(( $(grep -c . "$S/pointer.out") >= answers ))' || fail "pointer: no answer to '$*'"
  ! grep -q error "$S/pointer.out" || fail "pointer: '$*' refused"
}
key() { wtype -k "$1"; }
shot() { grim "$1"; }

session_bus() {
  DBUS_SESSION_BUS_ADDRESS=$(dbus-daemon --session --fork --print-address=1 --print-pid=3 3>"$S/bus.pid")
  pids+=($(cat "$S/bus.pid"))
  export DBUS_SESSION_BUS_ADDRESS
}
start_pointer() {
  mkfifo "$S/pointer"
  $VPOINTER <"$S/pointer" >"$S/pointer.out" 2>"$S/pointer.err" &
  pids+=($!)
  exec 3>"$S/pointer"
  wait_for 5 grep -q ready "$S/pointer.out" || fail "virtual pointer: $(cat "$S/pointer.err")"
}
start_kwin() {
  session_bus
  kwin_up || kwin_up || skip  # about one start in five never answers a screenshot
  start_pointer
}
kwin_up() {
  [[ -z ${KWIN:-} ]] || { kill "$KWIN"; wait "$KWIN"; } 2>/dev/null
  # A copy: the installed binary's file capability cannot be granted to nobody.
  cp "$(command -v kwin_wayland)" "$S/bin/"
  # Screenshots only for programs whose desktop file names the interface.
  mkdir -p "$HOME/.local/share/applications"
  printf '[Desktop Entry]\nType=Application\nName=shot\nExec=%s\nX-KDE-DBUS-Restricted-Interfaces=org.kde.KWin.ScreenShot2\n' \
    "$(readlink -f /usr/bin/python3)" >"$HOME/.local/share/applications/kv-shot.desktop"
  kbuildsycoca5 >/dev/null 2>&1
  KWIN_WAYLAND_NO_PERMISSION_CHECKS=1 kwin_wayland --virtual --width $W --height $H \
    --no-lockscreen --socket kv-kwin >"$S/kwin.log" 2>&1 &
  KWIN=$!
  pids+=($KWIN)
  export WAYLAND_DISPLAY=kv-kwin
  wait_for 15 shot "$S/before.png" 2>/dev/null
}
start_gnome() {
  session_bus
  # Past its login-manager start-up: a bus of our own for the system's, no systemd below /run.
  dbus-daemon --session --fork --address="unix:path=$S/system-bus" --print-pid=1 >"$S/bus.pid"
  pids+=($(cat "$S/bus.pid"))
  DBUS_SYSTEM_BUS_ADDRESS=unix:path=$S/system-bus unshare -rm sh -c 'mount -t tmpfs tmpfs /run/systemd &&
    exec gnome-shell --headless --wayland --unsafe-mode --virtual-monitor '$W'x'$H' --wayland-display kv-gnome' \
    >"$S/gnome.log" 2>&1 &
  pids+=($!)
  export WAYLAND_DISPLAY=kv-gnome
  wait_for 20 shot "$S/before.png" 2>/dev/null || skip
  # The pointer and keys of a remote-desktop session, which lives as long as its D-Bus client.
  cat >"$S/remote.py" <<'PY'
import dbus, sys
bus = dbus.SessionBus()
rd = "org.gnome.Mutter.RemoteDesktop"
path = bus.get_object(rd, "/org/gnome/Mutter/RemoteDesktop").CreateSession(dbus_interface=rd)
s = dbus.Interface(bus.get_object(rd, path), rd + ".Session")
s.Start()
def key(): [s.NotifyKeyboardKeysym(0xff1b, down) for down in (True, False)]
key()  # the first key of a new virtual keyboard can be lost
print("ready", flush=True)
for line in sys.stdin:
    w = line.split()
    if w[0] == "move":  # from the bottom-right corner (top-left is the overview's hot corner)
        s.NotifyPointerMotionRelative(10000.0, 10000.0)
        s.NotifyPointerMotionRelative(float(w[1]) - float(w[3]) + 1, float(w[2]) - float(w[4]) + 1)
    elif w[0] == "click":
        [s.NotifyPointerButton(0x110 if w[1] == "left" else 0x111, down) for down in (True, False)]
    elif w[0] == "escape":
        key()
    bus.get_object("org.freedesktop.DBus", "/org/freedesktop/DBus").GetId()  # a round trip
    print("ok", flush=True)
PY
  VPOINTER="/usr/bin/python3 $S/remote.py" start_pointer
}
shot_gnome() {
  # The desktop as after a login: no overview, no notice about the screen lock.
  gdbus call --session --dest org.gnome.Shell --object-path /org/gnome/Shell --method org.gnome.Shell.Eval \
    'Main.overview.hide(); Main.messageTray.getSources().forEach(s => s.destroy())' >/dev/null &&
    gdbus call --session --dest org.gnome.Shell.Screenshot --object-path /org/gnome/Shell/Screenshot \
      --method org.gnome.Shell.Screenshot.Screenshot false false "$1" >/dev/null &&
    # The top bar's clock and the focused window's name there change by themselves (a full-screen
    # window hides the bar: then it must stay hidden).
    if [[ ${mode:-max} == max ]]; then convert "$1" -fill black -draw "rectangle 0,0 $W,31" "$1"; fi
}
if [[ $C == gnome ]]; then
  shot() { shot_gnome "$@"; }
fi
[[ $C == sway ]] || key() { pointer escape; }
if [[ $C == kwin ]]; then
  shot() {
    timeout 5 /usr/bin/python3 - "$1" <<'PY'
import dbus, os, subprocess, sys
r, w = os.pipe()
kwin = dbus.SessionBus().get_object("org.kde.KWin", "/org/kde/KWin/ScreenShot2")
meta = kwin.CaptureActiveScreen({"include-cursor": False, "native-resolution": True}, dbus.types.UnixFd(w),
                                dbus_interface="org.kde.KWin.ScreenShot2")
os.close(w)
data = os.fdopen(r, "rb").read()
size = "%dx%d" % (meta["stride"] // 4, meta["height"])
subprocess.run(["convert", "-size", size, "-depth", "8", "bgra:-", "-crop",
                "%dx%d+0+0" % (meta["width"], meta["height"]), sys.argv[1]], input=data, check=True)
PY
  }
fi

start_"$C"

shoot() { shot "$S/shot.png" && "$PROBE" analyse "$S/before.png" "$S/shot.png" 1 >"$S/rows"; }
# A menu and nothing else: rows with text in them, in a box of a menu's size.
menu_shown() {
  shoot && (($(grep -c '^text' "$S/rows") >= 2)) || return 1
  read -r _ BX BY BW BH < <(grep '^box' "$S/rows")
  ((BW < 600 && BH < 400)) || fail "$1: more than the menu changed ($(head -1 "$S/rows"))"
}
start_kivoret() {  # $1 names the run; the pointer at $2,$3: the menu's corner $4 (top-left) there
  pointer move "$2" "$3"
  rm -f "$KV_OPEN_LOG"
  "$KIVORET" >"$S/kivoret.log" 2>&1 &
  KV_PID=$!
  wait_for 10 menu_shown "$1" || fail "$1: no menu appeared ($(cat "$S/kivoret.log"))"
  # A slow compositor may show it at the centre first and move it to the pointer within a second.
  wait_for 3 menu_at "$1" "${4:-top-left}" "$2" "$3" ||
    fail "$1: menu at $(grep '^box' "$S/rows"), its ${4:-top-left} not at the pointer $2,$3"
  mapfile -t ROWS < <(grep -v '^box' "$S/rows")
}
menu_at() {
  sleep 0.2
  menu_shown "$1" || return 1
  # mutter sends no pointer event while the pointer rests: the menu stands at the centre (of a
  # window below the top bar) and stays there once a second has passed.
  if [[ $C == gnome ]] && (((BX + BW / 2 - W / 2) ** 2 + (BY + BH / 2 - H / 2) ** 2 < 40 ** 2)); then
    CENTRED=$((CENTRED + 1))
    sleep 1.2
    return 0
  fi
  [[ $2 == bottom-right ]] && BX=$((BX + BW)) BY=$((BY + BH))
  near "$BX" "$3" && near "$BY" "$4"
}
CENTRED=0
near() { (($1 - $2 <= 3 && $2 - $1 <= 3)); }
finish() {  # $1 names the run; $2: the path expected to be opened, or nothing
  # Generous: under the sanitizers the leak check runs at exit.
  wait_for 15 exited || fail "$1: program still running"
  wait "$KV_PID" 2>/dev/null || true
  KV_PID=
  local opened
  opened=$(cat "$KV_OPEN_LOG" 2>/dev/null || true)
  [[ $opened == "${2:-}" ]] || fail "$1: opened '$opened', expected '${2:-}'"
}

for mode in max full; do
  "$PROBE" backdrop "$mode" >"$S/backdrop.log" 2>&1 &
  BACKDROP=$!
  # Settled: two screenshots a moment apart are the same.
  settled() { shot "$S/before.png" && sleep 1 && shoot && [[ $(cat "$S/rows") == none ]]; }
  pointer move 3 3
  sleep 1
  wait_for 10 settled || fail "$mode: the screen does not settle"
  cp "$S/before.png" "$S/shots/wayland-$C-$mode-before.png"

  # At the pointer, rows in order; the second folder chosen (left button maximised, right full).
  PX=$((W * 3 / 5)) PY=$((H / 4))
  start_kivoret "$mode" "$PX" "$PY"
  kinds=$(printf '%s\n' "${ROWS[@]}" | cut -d' ' -f1 | tr '\n' ' ')
  [[ $kinds == "text line text text text " ]] || fail "$mode: rows are '$kinds'"
  width() { read -r _ x0 x1 _ <<<"${ROWS[$1]}"; echo $((x1 - x0)); }
  w1=$(width 2) w2=$(width 3) w3=$(width 4)
  ((w1 < w3 && w3 < w2)) || fail "$mode: folder rows out of order (widths $w1 $w2 $w3)"
  cp "$S/shot.png" "$S/shots/wayland-$C-$mode.png"
  read -r _ x0 _ y0 y1 <<<"${ROWS[3]}"
  pointer move $((x0 + 10)) $(((y0 + y1) / 2))
  pointer click "$([[ $mode == max ]] && echo left || echo right)"
  finish "$mode: the second folder" "$S/two & more/"

  start_kivoret "$mode" "$PX" "$PY"
  key Escape
  finish "$mode: Escape"

  start_kivoret "$mode" "$PX" "$PY"
  pointer move $((PX - 100)) $((PY + 100))
  pointer click left
  finish "$mode: a click outside the menu"

  # Near the bottom-right corner the menu opens up and to the left, ending at the pointer.
  start_kivoret "$mode" $((W - 5)) $((H - 5)) bottom-right
  key Escape
  finish "$mode: Escape in the corner"
  kill "$BACKDROP"
  wait "$BACKDROP" 2>/dev/null || true
done
echo "wayland $C: ok ($CENTRED menus at the centre)"
