#!/bin/bash
# The launcher on a headless Wayland compositor (sway, kwin or gnome) over a one-colour window,
# maximised and then full screen: the menu at the pointer and nothing else changed, then a click,
# keys or Escape. Compositors refuse root or need a user of their own: as root it reruns as nobody.
source "$(dirname "$0")/lib.sh"
C=${1:?usage: wayland.sh sway|kwin|gnome kivoret virtual_pointer backdrop}
KIVORET=${2:?} VPOINTER=${3:?} BACKDROP=${4:?}

if [[ $(id -u) == 0 ]]; then
  # Copies: the build tree may sit where nobody cannot read (below /root).
  X=$(mktemp -d /tmp/kv-wayland-$C.XXXXXX)
  trap 'mkdir -p "$KV_SHOTS" && cp "$X"/shots/*.png "$KV_SHOTS"/ 2>/dev/null || true; rm -rf "$X"' EXIT
  mkdir "$X/shots" && cp "$0" "$(dirname "$0")/lib.sh" "$KIVORET" "$VPOINTER" "$BACKDROP" "$X/" && chown -R nobody "$X"
  setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups env -i PATH=/usr/local/bin:/usr/bin:/bin LANG=C.UTF-8 \
    KV_SCREENSHOT_DIR="$X/shots" bash "$X/${0##*/}" "$C" "$X/${KIVORET##*/}" "$X/${VPOINTER##*/}" "$X/${BACKDROP##*/}"
  exit
fi

make_scratch
S=$KV_SCRATCH W=1280 H=800 L=272 R=273 pids=() CENTRED=0
unset DISPLAY SWAYSOCK XDG_CURRENT_DESKTOP
trap 'exec 3>&-; kill ${KV_PID:-} $KV_XVFB_PID "${pids[@]}" $(cat "$S/bus.pid" 2>/dev/null) 2>/dev/null || true; wait || true; rm -rf "$S"' EXIT
# Three folders whose titles differ in length: the rows' widths show their order.
printf '[Main]\r\nDrive=0\r\n[Folder001]\r\nTitle=山\r\nPath=%s/one/\r\n[Folder002]\r\nTitle=山川山川山川山川\r\nPath=%s/two & more/\r\n[Folder003]\r\nTitle=川山川山\r\nPath=%s/three/\r\n' \
  "$S" "$S" "$S" >"$XDG_CONFIG_HOME/kivoret/Setting.ini"
spawn() { "$@" & pids+=($!); }
bus() { dbus-daemon --session --fork --print-address=1 --print-pid=3 ${1:+--address=$1} 3>>"$S/bus.pid"; }
# Up once a screenshot works, then the pointer. Skipped only when the compositor itself died: its log says why.
compositor_up() {
  wait_for 30 shot_$C "$S/before.png" 2>/dev/null && start_pointer && return 0
  kill -0 "${pids[-1]}" 2>/dev/null || { echo "SKIP: $C did not start here; its log ends:"; tail -15 "$S/$C.log"; exit 77; } >&2
  fail "$C runs but takes no screenshot: $(shot_$C "$S/before.png" 2>&1 | tail -1)"
}
# move X Y | button|key CODE 1|0 (pressed|released): returns once the compositor has taken it.
pointer() {
  echo "$* $W $H" >&3
  ANSWERS=$((${ANSWERS:-1} + 1))
  wait_for 5 eval '(($(grep -c . "$S/pointer.out") >= ANSWERS))' && ! grep -q error "$S/pointer.out" ||
    fail "pointer: '$*' not taken ($(tail -1 "$S/pointer.out"))"
}
start_pointer() {
  exec 3> >($VPOINTER >"$S/pointer.out" 2>"$S/pointer.err")
  wait_for 5 grep -q ready "$S/pointer.out" || fail "pointer: $(cat "$S/pointer.err")"
}
# wtype's arguments: -k KEY pressed and released, -M/-m MODIFIER pressed/released.
declare -A CODE=([Escape]=1 [Return]=28 [ctrl]=29 [Up]=103 [Down]=108)
keys() {
  [[ $C != sway ]] || { wtype "$@"; return; }
  while (($#)); do
    [[ $1 == -m ]] || pointer key "${CODE[$2]}" 1
    [[ $1 == -M ]] || pointer key "${CODE[$2]}" 0
    sleep 0.1 && shift 2
  done
}

# Screenshots from KWin (shot FILE); GNOME's pointer and keys (remote), from a remote-desktop
# session that lives as long as its D-Bus client.
cat >"$S/kv.py" <<'PY'
import dbus, os, subprocess, sys
bus = dbus.SessionBus()
if sys.argv[1] == "shot":
    r, w = os.pipe()
    meta = bus.get_object("org.kde.KWin", "/org/kde/KWin/ScreenShot2").CaptureActiveScreen(
        {"include-cursor": False, "native-resolution": True}, dbus.types.UnixFd(w), dbus_interface="org.kde.KWin.ScreenShot2")
    os.close(w)
    subprocess.run(["convert", "-size", "%dx%d" % (meta["stride"] // 4, meta["height"]), "-depth", "8", "bgra:-", "-crop",
                    "%dx%d+0+0" % (meta["width"], meta["height"]), sys.argv[2]], input=os.fdopen(r, "rb").read(), check=True)
    sys.exit()
rd = "org.gnome.Mutter.RemoteDesktop"
s = dbus.Interface(bus.get_object(rd, bus.get_object(rd, "/org/gnome/Mutter/RemoteDesktop").CreateSession(dbus_interface=rd)), rd + ".Session")
s.Start()
[s.NotifyKeyboardKeycode(1, down) for down in (True, False)]  # the first key of a new keyboard can be lost
print("ready", flush=True)
for w in map(str.split, sys.stdin):
    if w[0] == "move":  # from the bottom-right corner (top-left is the overview's hot corner)
        s.NotifyPointerMotionRelative(10000.0, 10000.0)
        s.NotifyPointerMotionRelative(float(w[1]) - float(w[3]) + 1, float(w[2]) - float(w[4]) + 1)
    else:
        (s.NotifyPointerButton if w[0] == "button" else s.NotifyKeyboardKeycode)(int(w[1]), w[2] == "1")
    bus.get_object("org.freedesktop.DBus", "/org/freedesktop/DBus").GetId()  # a round trip
    print("ok", flush=True)
PY

start_sway() {
  # The headless output draws the cursor into the screenshots: hide it while it rests.
  printf 'xwayland disable\nseat * hide_cursor 100\noutput * mode %dx%d\n' $W $H >"$S/sway.conf"
  WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman WLR_HEADLESS_OUTPUTS=1 \
    spawn sway -c "$S/sway.conf" >"$S/sway.log" 2>&1
  wait_for 10 eval 'WAYLAND_DISPLAY=$(cd "$XDG_RUNTIME_DIR" && compgen -G "wayland-*[0-9]")' && export WAYLAND_DISPLAY
  compositor_up
  # No keyboard on the seat yet: the menu can never take one, so the program must end by itself.
  local rc=0
  timeout 3.5 "$KIVORET" 2>"$S/alone.err" || rc=$?
  ((rc != 0 && rc != 124)) && [[ $(wc -l <"$S/alone.err") == 1 ]] ||
    fail "without a keyboard: exit $rc (124: still running after 3.5 s), saying '$(cat "$S/alone.err")'"
  # A keyboard for the rest: one that appears with a key press arrives as a key held.
  spawn wtype -s 600000
}
shot_sway() { grim "$1"; }

start_kwin() {
  export DBUS_SESSION_BUS_ADDRESS=$(bus) WAYLAND_DISPLAY=kv-kwin
  # KWin lets a program take screenshots when the first desktop file whose Exec is that program's
  # executable lists the interface. Debian's python3.11.desktop names the interpreter too and
  # comes first in some starts: a copy of the interpreter at a path of its own.
  cp "$(readlink -f /usr/bin/python3)" "$S/bin/kv-shot"
  mkdir "$XDG_DATA_HOME/applications" && printf '[Desktop Entry]\nType=Application\nName=shot\nExec=%s\nX-KDE-DBUS-Restricted-Interfaces=org.kde.KWin.ScreenShot2\n' \
    "$S/bin/kv-shot" >"$XDG_DATA_HOME/applications/kv-shot.desktop"
  kbuildsycoca5 >/dev/null 2>&1
  # A copy: the installed binary's file capability cannot be granted to nobody.
  cp "$(command -v kwin_wayland)" "$S/bin/"
  KWIN_WAYLAND_NO_PERMISSION_CHECKS=1 spawn kwin_wayland --virtual --width $W --height $H \
    --no-lockscreen --socket kv-kwin >"$S/kwin.log" 2>&1
  compositor_up
}
shot_kwin() { timeout 5 kv-shot "$S/kv.py" shot "$1"; }

start_gnome() {
  export DBUS_SESSION_BUS_ADDRESS=$(bus) WAYLAND_DISPLAY=kv-gnome
  # Past its login-manager start-up: a bus of our own for the system's, no systemd below /run.
  bus "unix:path=$S/system-bus" >/dev/null
  DBUS_SYSTEM_BUS_ADDRESS=unix:path=$S/system-bus spawn unshare -rm sh -c 'mount -t tmpfs tmpfs /run/systemd &&
    exec gnome-shell --headless --wayland --unsafe-mode --virtual-monitor '$W'x'$H' --wayland-display kv-gnome' \
    >"$S/gnome.log" 2>&1
  VPOINTER="python3 $S/kv.py remote" compositor_up
}
shot_gnome() {
  # The desktop as after a login: no overview, no notice about the screen lock.
  gdbus call --session --dest org.gnome.Shell --object-path /org/gnome/Shell --method org.gnome.Shell.Eval \
    'Main.overview.hide(); Main.messageTray.getSources().forEach(s => s.destroy())' >/dev/null &&
    gdbus call --session --dest org.gnome.Shell.Screenshot --object-path /org/gnome/Shell/Screenshot \
      --method org.gnome.Shell.Screenshot.Screenshot false false "$1" >/dev/null || return 1
  # The top bar's clock and the focused window's name there change by themselves (a full-screen
  # window hides the bar: then it must stay hidden).
  [[ ${mode:-max} == full ]] || convert "$1" -fill black -draw "rectangle 0,0 $W,31" "$1"
}

start_"$C"

# A screenshot, and the box BX BY BW BH in which it differs from before.png (BW 0: nowhere).
shoot() {
  shot_$C "$S/shot.png" || return 1
  [[ $(convert "$S/before.png" "$S/shot.png" -compose difference -composite -threshold 5% -format %@ info: 2>/dev/null) =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] &&
    read -r BW BH BX BY <<<"${BASH_REMATCH[*]:1}"
}
# The menu's rows top to bottom, "text|line X0 X1 Y0 Y1": what differs from the menu's background
# (taken at its right edge) inside the frame, glyphs less than 31 pixels apart joined.
rows() {
  local x=$((BX + 3)) y=$((BY + 3)) w=$((BW - 6)) h=$((BH - 6))
  convert "$S/shot.png" -crop ${w}x$h+$x+$y +repage -fuzz 10% -fill white \
    -opaque "$(convert "$S/shot.png" -format "%[pixel:p{$((x + w - 1)),$((y + h / 2))}]" info:)" -fill black +opaque white -negate \
    -morphology Close Rectangle:31x1 -define connected-components:verbose=true -connected-components 8 null: |
    awk -v x=$x -v y=$y -v w=$w '$NF ~ /255/ { split($2, b, /[x+]/); print (b[2] <= 2 && b[1] > w * 0.6 ? "line" : "text"), x + b[3], x + b[3] + b[1] - 1, y + b[4], y + b[4] + b[2] - 1 }' | sort -k4n
}
# The menu shown and standing still, its $4 corner (top-left, bottom-right) at the pointer $2,$3,
# or on GNOME at the centre; ROWS: its rows.
menu_still() {
  shoot && ((BW > 0)) || return 1
  ((BW < 600 && BH < 400)) || fail "$1: more than the menu changed (${BW}x$BH+$BX+$BY)"
  local at="$BX $BY $BW $BH" wait=0.3 x=$BX y=$BY
  [[ $4 == bottom-right ]] && x=$((BX + BW)) y=$((BY + BH))
  # mutter sends no pointer event while the pointer rests: the menu stands at the centre, and
  # moves to the pointer only within a second after.
  [[ $C == gnome ]] && (((BX + BW / 2 - W / 2) ** 2 + (BY + BH / 2 - H / 2) ** 2 < 40 ** 2)) && wait=1.2 CENTRED=$((CENTRED + 1)) ||
    (((x - $2) ** 2 <= 9 && (y - $3) ** 2 <= 9)) || return 1
  sleep $wait && shoot && [[ "$BX $BY $BW $BH" == "$at" ]] || return 1
  mapfile -t ROWS < <(rows)
  local kinds=$(printf '%s\n' "${ROWS[@]}" | awk '{ k = k $1 " " } NR > 2 { w[NR] = $3 - $2 } END { print k (w[3] < w[5] && w[5] < w[4]) }')
  [[ $kinds == "text line text text text 1" ]] || fail "$1: rows are '$kinds' (1: the folders' in order)"
}
for mode in max full; do
  spawn "$BACKDROP" "$mode" 2>/dev/null
  pointer move 3 3
  sleep 1
  # Settled: two screenshots a second apart are the same (polled 20 times).
  wait_for 2 eval 'shot_$C "$S/before.png" && sleep 1 && shoot && ((BW == 0))' || fail "$mode: the screen does not settle"
  cp "$S/before.png" "$KV_SHOTS/wayland-$C-$mode-before.png"
  PX=$((W * 3 / 5)) PY=$((H / 4)) button=$([[ $mode == max ]] && echo $L || echo $R)
  # name | pointer | menu corner there | what is done | what is opened
  while IFS='|' read -r -u 4 name x y corner act expected; do
    pointer move "$x" "$y"
    rm -f "$KV_OPEN_LOG"
    "$KIVORET" >"$S/kivoret.log" 2>&1 & KV_PID=$!
    wait_for 10 menu_still "$mode: $name" "$x" "$y" "$corner" ||
      fail "$mode: $name: no menu standing at $x,$y (last ${BW:-?}x${BH:-?}+${BX:-?}+${BY:-?}; $(cat "$S/kivoret.log"))"
    [[ -e $KV_SHOTS/wayland-$C-$mode.png ]] || cp "$S/shot.png" "$KV_SHOTS/wayland-$C-$mode.png"
    read -r _ x0 _ y0 y1 <<<"${ROWS[3]}"
    eval "$act"
    wait_for 15 exited || fail "$mode: $name: program still running"
    # xdg-open is detached: it may write after the program has ended.
    wait_for 1 eval '[[ $(cat "$KV_OPEN_LOG" 2>/dev/null) == "$expected" ]]' || fail "$mode: $name: opened '$(cat "$KV_OPEN_LOG" 2>/dev/null)'"
  done 4<<EOF
the second folder, button $button|$PX|$PY|top-left|pointer move \$((x0 + 10)) \$(((y0 + y1) / 2)); pointer button $button 1; pointer button $button 0|$S/two & more/
Escape|$PX|$PY|top-left|keys -k Escape|
a click outside the menu|$PX|$PY|top-left|pointer move $((PX - 100)) $((PY + 100)); pointer button $L 1; pointer button $L 0|
in the corner: Down Down Return|$((W - 5))|$((H - 5))|bottom-right|keys -k Down -k Down -k Return|$S/one/
in the corner: Up Up Ctrl+Return (copies)|$((W - 5))|$((H - 5))|bottom-right|keys -k Up -k Up -M ctrl -k Return -m ctrl|
EOF
  kill "${pids[-1]}" 2>/dev/null || true
done
echo "wayland $C: ok ($CENTRED menus at the centre)"
