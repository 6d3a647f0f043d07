#!/bin/sh
# The Windows settings-file cases that need help from outside Wine: a Unix link (Wine cannot
# make one) and a full 64 KB tmpfs (mounting needs root; CI runs as root).
# Usage: fs-cases.sh WINE_RUN TEST_EXE
set -eu
work=$(mktemp -d)
trap 'umount "$work/full" 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir -p "$work/full" "$work/linked/dotfiles"
ln -s dotfiles/settings.ini "$work/linked/Setting.ini"
mount -t tmpfs -o size=64k tmpfs "$work/full"
win() { printf 'Z:%s' "$1" | tr / '\\'; }
KV_LINK_DIR=$(win "$work/linked") KV_FULL_DIR=$(win "$work/full") "$1" "$2" \
  --gtest_filter='*SettingsFile.LinkIsFollowed*:*SettingsFile.FullDisk*' >"$work/log" 2>&1 ||
  { cat "$work/log"; exit 1; }
cat "$work/log"
! grep -q SKIPPED "$work/log" && [ -L "$work/linked/Setting.ini" ] || { echo "fs-cases: a case was skipped or the link replaced" >&2; exit 1; }
