#!/bin/sh
# The Windows settings-file cases that need help from outside Wine: a Unix symbolic link
# (Wine cannot make one) and a full 64 KB tmpfs (mounting needs root; CI runs as root).
# Usage: fs-cases.sh WINE_RUN TEST_EXE
set -eu
wine_run=$1 tests=$2
work=$(mktemp -d)
trap 'umount "$work/full" 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir -p "$work/full" "$work/linked/dotfiles"
ln -s dotfiles/settings.ini "$work/linked/Setting.ini"
mount -t tmpfs -o size=64k tmpfs "$work/full" || { echo "fs-cases: cannot mount a tmpfs" >&2; exit 1; }
win() { printf 'Z:%s' "$1" | tr / '\\'; }
KV_LINK_DIR=$(win "$work/linked") KV_FULL_DIR=$(win "$work/full") "$wine_run" "$tests" \
  --gtest_filter='SettingsFaultsWin32.LinkedFile*:SettingsFaultsWin32.FullDisk*' >"$work/log" 2>&1 || {
  cat "$work/log"; exit 1; }
cat "$work/log"
# Both ran (none skipped); the link is still a link and its target took the new list.
! grep -q SKIPPED "$work/log" || { echo "fs-cases: a case was skipped" >&2; exit 1; }
[ -L "$work/linked/Setting.ini" ] || { echo "fs-cases: the link was replaced" >&2; exit 1; }
grep -q '^Title=' "$work/linked/dotfiles/settings.ini" || { echo "fs-cases: target not written" >&2; exit 1; }
