#!/bin/bash
# The Debian package: built by CPack, its fields, installed, run under Xvfb and removed cleanly.
# Its files come from the install rules that prefix.sh checks.
# As root with $CI set it goes through the system's dpkg; otherwise into a scratch dpkg root.
source "$(dirname "$0")/../e2e/linux/lib.sh"
BUILD=${1:?usage: deb.sh build-dir app-id version} ID=${2:?} VERSION=${3:?}
make_scratch
source "$(dirname "$0")/check-files.sh"
(cd "$KV_SCRATCH" && cpack -G DEB --config "$BUILD/CPackConfig.cmake" -B "$KV_SCRATCH/pkg" \
  >"$KV_SCRATCH/cpack.log" 2>&1) || fail "cpack: $(tail -20 "$KV_SCRATCH/cpack.log")"
DEB=$(echo "$KV_SCRATCH"/pkg/kivoret_"$VERSION"_*.deb)

# Depends computed from the binary: Qt's widgets library at least.
[[ $(dpkg-deb -f "$DEB" Depends) == *libqt6widgets6* ]] || fail "Depends: $(dpkg-deb -I "$DEB")"


if [[ $(id -u) == 0 && -n ${CI:-} ]] && ! dpkg-query -W kivoret >/dev/null 2>&1; then
  dpkg -i "$DEB" >/dev/null || fail "dpkg -i failed"
  trap 'dpkg -r kivoret >/dev/null 2>&1; kill ${KV_PID:-} ${KV_XVFB_PID:-} 2>/dev/null; rm -rf "$KV_SCRATCH"' EXIT
  ROOT="" DPKG=(dpkg)
else
  ROOT=$KV_SCRATCH/root
  mkdir -p "$ROOT/var/lib/dpkg/info" "$ROOT/var/lib/dpkg/updates"
  : >"$ROOT/var/lib/dpkg/status"
  # The scratch database knows no other package: the dependencies are the host's.
  DPKG=(dpkg --root="$ROOT" --force-not-root --force-depends --log=/dev/null)
  "${DPKG[@]}" -i "$DEB" >"$KV_SCRATCH/dpkg.log" 2>&1 || fail "dpkg -i: $(cat "$KV_SCRATCH/dpkg.log")"
fi
check_runs "$ROOT/usr/bin/kivoret"
# dpkg itself sees to the files going; the package's part is that the removal succeeds.
"${DPKG[@]}" -r kivoret >"$KV_SCRATCH/dpkg.log" 2>&1 || fail "dpkg -r: $(cat "$KV_SCRATCH/dpkg.log")"
