#!/bin/bash
# `cmake --install` into a scratch prefix: the files, their validators, the icons' pixels, a run.
source "$(dirname "$0")/../e2e/linux/lib.sh"
BUILD=${1:?usage: prefix.sh build-dir app-id version} ID=${2:?} VERSION=${3:?}
SRC=$(cd "$(dirname "$0")/../.." && pwd)
make_scratch
P=$KV_SCRATCH/prefix
cmake --install "$BUILD" --prefix "$P" >/dev/null || fail "cmake --install failed"
source "$(dirname "$0")/check-files.sh"
check_installed_files "$P" "$ID" "$VERSION"

# Each hicolor PNG is the .ico image of its size, pixel for pixel.
for pair in 0:16 1:32 2:48; do
  i=${pair%:*} s=${pair#*:}
  png=$P/share/icons/hicolor/${s}x$s/apps/$ID.png
  [[ $(identify -format '%wx%h %m' "$png") == "${s}x$s PNG" ]] || fail "$png is not a ${s}x$s PNG"
  cmp -s <(convert "$SRC/data/icons/kivoret.ico[$i]" -depth 8 rgba:-) \
    <(convert "$png" -depth 8 rgba:-) || fail "$png differs from the Windows icon's ${s}x$s image"
done

start_xvfb
check_runs "$P/bin/kivoret"
echo "prefix: ok"
