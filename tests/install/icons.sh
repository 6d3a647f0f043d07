#!/bin/bash
# The committed icons are what tools/make-icon.py draws: no platform's copy drifts from the artwork.
set -euo pipefail
SRC=$(cd "$(dirname "$0")/../.." && pwd)
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
python3 "$SRC/tools/make-icon.py" "$out"
for f in kivoret.ico kivoret-16.png kivoret-32.png kivoret-48.png kivoret.svg; do
  cmp "$out/$f" "$SRC/data/icons/$f" || { echo "FAIL: data/icons/$f is not what make-icon.py draws" >&2; exit 1; }
done
[[ $(ls "$out" | wc -l) == 5 ]] || { echo "FAIL: make-icon.py wrote $(ls "$out")" >&2; exit 1; }
echo "icons: ok"
