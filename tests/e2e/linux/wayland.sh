#!/bin/bash
# The launcher on a headless sway at scale 1 and 2: a virtual pointer over a native window, grim
# screenshots. sway refuses root: as root the script runs itself again as nobody.
source "$(dirname "$0")/lib.sh"
KIVORET=${1:?usage: wayland.sh kivoret virtual_pointer probe}
VPOINTER=${2:?}
PROBE=${3:?}

if [[ $(id -u) == 0 ]]; then
  scratch=$(mktemp -d /tmp/kv-wayland.XXXXXX)
  trap 'rm -rf "$scratch"' EXIT
  # Copies: the build tree may sit where nobody cannot read (below /root).
  mkdir "$scratch/exe"
  cp "$0" "$(dirname "$0")/lib.sh" "$KIVORET" "$VPOINTER" "$PROBE" "$scratch/exe/"
  chown -R nobody "$scratch"
  rc=0
  setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups \
    env -i PATH=/usr/local/bin:/usr/bin:/bin LANG=C.UTF-8 KV_SCRATCH="$scratch" \
    bash "$scratch/exe/$(basename "$0")" "$scratch/exe/$(basename "$KIVORET")" \
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
  for p in ${KV_PID:-} "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  [[ -n ${KV_SCRATCH:-} ]] || rm -rf "$S"
}
trap cleanup EXIT

# The headless output draws the cursor into the screenshots: hide it while it rests.
printf 'xwayland disable\nseat * hide_cursor 100\n' >"$S/sway.conf"
WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman WLR_HEADLESS_OUTPUTS=1 \
  sway -c "$S/sway.conf" >"$S/sway.log" 2>&1 &
pids+=($!)
sway_up() { compgen -G "$XDG_RUNTIME_DIR/sway-ipc.*.sock" >/dev/null || ! kill -0 "${pids[0]}" 2>/dev/null; }
wait_for 10 sway_up || true
if ! compgen -G "$XDG_RUNTIME_DIR/sway-ipc.*.sock" >/dev/null; then
  echo "SKIP: sway could not start here:" >&2
  tail -5 "$S/sway.log" >&2
  exit 77
fi
WAYLAND_DISPLAY=$(basename "$(compgen -G "$XDG_RUNTIME_DIR/wayland-*[0-9]" | head -1)")
SWAYSOCK=$(compgen -G "$XDG_RUNTIME_DIR/sway-ipc.*.sock" | head -1)
export WAYLAND_DISPLAY SWAYSOCK

# A keyboard for the whole run, so that the program has one from the start (Escape below).
wtype -s 600000 &
pids+=($!)
mkfifo "$S/pointer"
"$VPOINTER" <"$S/pointer" >"$S/pointer.out" 2>"$S/pointer.err" &
pids+=($!)
exec 3>"$S/pointer"
wait_for 5 grep -q ready "$S/pointer.out" || fail "virtual pointer: $(cat "$S/pointer.err")"
answers=1
pointer() {  # one command; returns once the compositor has taken it
  echo "$*" >&3
  answers=$((answers + 1))
  wait_for 5 eval '(( $(grep -c . "$S/pointer.out") >= answers ))' || fail "pointer: no answer to '$*'"
  ! grep -q error "$S/pointer.out" || fail "pointer: '$*' refused"
}

"$PROBE" backdrop >"$S/backdrop.log" 2>&1 &
pids+=($!)

shoot() { grim "$S/shot.png" && "$PROBE" analyse "$S/shot.png" "$scale" ${AROUND:-} >"$S/rows"; }
backdrop_only() { shoot && [[ $(cat "$S/rows") == none ]]; }
# A menu, not the cursor drawn before it hides: rows with text in them.
menu_shown() { shoot && (($(grep -c '^text' "$S/rows") >= 2)); }
start_kivoret() {  # with the pointer at $1,$2: the menu's corner $3 (top-left) must come there
  pointer move "$1" "$2" "$W" "$H"
  rm -f "$KV_OPEN_LOG"
  "${KIVORET_ENV[@]}" "$KIVORET" >"$S/kivoret.log" 2>&1 &
  KV_PID=$!
  wait_for 10 menu_shown || fail "scale $scale: no menu appeared ($(cat "$S/kivoret.log"))"
  # A slow compositor may show it at the centre first and move it to the pointer within a second.
  local corner=${3:-top-left}
  wait_for 3 menu_at "$corner" "$1" "$2" ||
    fail "scale $scale: menu at $(grep '^box' "$S/rows"), its $corner not at the pointer $(($1 * scale)),$(($2 * scale)) (pixels)"
  read -r _ BX BY BW BH < <(grep '^box' "$S/rows")
  mapfile -t ROWS < <(grep -v '^box' "$S/rows")
}
menu_at() {  # the corner of the menu named by $1 (top-left, bottom-right) at the pointer
  sleep 0.2
  menu_shown || return 1
  local x y w h
  read -r _ x y w h < <(grep '^box' "$S/rows")
  [[ $1 == bottom-right ]] && x=$((x + w)) y=$((y + h))
  near "$x" $(($2 * scale)) && near "$y" $(($3 * scale))
}
finish() {  # $1: what ended it; $2: the path expected to be opened, or nothing
  # Generous: under the sanitizers the leak check runs at exit.
  wait_for 15 exited || fail "scale $scale: program still running after $1"
  wait "$KV_PID" 2>/dev/null || true
  KV_PID=
  local opened
  opened=$(cat "$KV_OPEN_LOG" 2>/dev/null || true)
  [[ $opened == "${2:-}" ]] || fail "scale $scale: after $1 opened '$opened', expected '${2:-}'"
}
KIVORET_ENV=()
near() { (($1 - $2 <= 3 && $2 - $1 <= 3)); }

for scale in 1 2; do
  swaymsg -q output HEADLESS-1 scale "$scale"
  W=$((1280 / scale)) H=$((720 / scale))
  wait_for 10 backdrop_only || fail "scale $scale: the backdrop does not fill the output ($(cat "$S/rows"))"

  # At the pointer, rows in order; the second folder chosen (left button at 1, right at 2).
  PX=$((W * 3 / 5)) PY=$((H / 4))
  start_kivoret "$PX" "$PY"
  kinds=$(printf '%s\n' "${ROWS[@]}" | cut -d' ' -f1 | tr '\n' ' ')
  [[ $kinds == "text line text text text " ]] || fail "scale $scale: rows are '$kinds'"
  width() { read -r _ x0 x1 _ <<<"${ROWS[$1]}"; echo $((x1 - x0)); }
  w1=$(width 2) w2=$(width 3) w3=$(width 4)
  ((w1 < w3 && w3 < w2)) || fail "scale $scale: folder rows out of order (widths $w1 $w2 $w3)"
  grim -g "$((PX - 20)),$((PY - 20)) $((BW / scale + 40))x$((BH / scale + 40))" "$S/shots/popup-wayland-scale$scale.png"
  read -r _ _ _ y0 y1 <<<"${ROWS[3]}"
  pointer move $((PX + 30)) $(((y0 + y1) / 2 / scale)) "$W" "$H"
  pointer click "$([[ $scale == 1 ]] && echo left || echo right)"
  finish "choosing the second folder" "$S/two & more/"

  start_kivoret "$PX" "$PY"
  wtype -k Escape
  finish "Escape"

  start_kivoret "$PX" "$PY"
  pointer move $((PX - 100)) $((PY + 100)) "$W" "$H"
  pointer click left
  finish "a click outside the menu"
done

# The program-name item: the settings window opens natively too; closing it ends the program.
PX=$((W / 4)) PY=$((H / 4))
start_kivoret "$PX" "$PY"
read -r _ _ _ y0 y1 <<<"${ROWS[0]}"
pointer move $((PX + 30)) $(((y0 + y1) / 2 / scale)) "$W" "$H"
pointer click left
settings_shown() { swaymsg -t get_tree | grep -q '"name": "キヴォレット - 設定"'; }
wait_for 10 settings_shown || fail "the program-name item opened no settings window"
swaymsg -q '[title="キヴォレット - 設定"] kill'
finish "closing the settings window"

# Outside sway's own session the program asks for full screen, which sway shows on black.
AROUND='#000000' KIVORET_ENV=(env -u SWAYSOCK)
PX=$((W / 2)) PY=$((H / 3))
start_kivoret "$PX" "$PY"
wtype -k Escape
finish "Escape at full screen"
AROUND='' KIVORET_ENV=()

# Near the bottom-right corner the menu opens up and to the left, ending at the pointer.
PX=$((W - 5)) PY=$((H - 5))
start_kivoret "$PX" "$PY" bottom-right
wtype -k Escape
finish "Escape in the corner"
echo "wayland: ok"
