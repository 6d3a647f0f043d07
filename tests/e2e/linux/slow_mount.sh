# slowfs ($1), a FUSE mount that never answers, at $2; sourced after lib.sh. Nothing here looks at
# the mount point itself: that would hang for as long as the file system does.
mount_slowfs() {
  KV_SLOW_MNT=$2
  mkdir -p "$KV_SLOW_MNT"
  "$1" -f "$KV_SLOW_MNT" >/dev/null 2>&1 &
  KV_SLOWFS_PID=$!
  wait_for 10 grep -q " $KV_SLOW_MNT .* fuse.slowfs " /proc/self/mountinfo ||
    fail "slowfs did not mount at $KV_SLOW_MNT"
}

# Safe at any point, twice too. The daemon's end fails every request still waiting on it at once.
unmount_slowfs() {
  if [[ -n ${KV_SLOWFS_PID:-} ]]; then
    kill -KILL "$KV_SLOWFS_PID" 2>/dev/null || true
    wait "$KV_SLOWFS_PID" 2>/dev/null || true
  fi
  if [[ -n ${KV_SLOW_MNT:-} ]] && grep -q " $KV_SLOW_MNT " /proc/self/mountinfo; then
    fusermount3 -u -z "$KV_SLOW_MNT" 2>/dev/null || umount -l "$KV_SLOW_MNT" 2>/dev/null
  fi
  KV_SLOWFS_PID=""
  return 0
}
