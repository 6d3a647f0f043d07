#!/usr/bin/env bash
# How much of the code is tests: code lines (not blank, not a comment or preprocessor line) of
# tests/ + fuzz/ against src/ + tests/ + fuzz/; corpora, XML, data and images do not count.
# -v lists each file's count. Exits 1 above the 35 % the project holds itself to.
set -uo pipefail
cd "$(dirname "$0")/.."
files() {
  git ls-files -co --exclude-standard -- "$@" |
    grep -E '\.(c|cc|cpp|h|hpp|sh|py|cmake|in)$|CMakeLists\.txt$' | grep -v '/corpus/'
}
lines() { grep -c -v -E '^\s*($|//|#|\*|/\*)' "$@" 2>/dev/null; }
count() {
  local n=0 f c
  while read -r f; do
    c=$(lines "$f")
    [ "${verbose:-0}" = 1 ] && printf '%6d %s\n' "$c" "$f"
    n=$((n + c))
  done < <(files "$@")
  echo "$n"
}
verbose=0
[ "${1:-}" = -v ] && verbose=1
if [ "$verbose" = 1 ]; then
  count src >/dev/null
  count tests fuzz | sort -n | sed '$d'
fi
src=$(verbose=0 count src) tst=$(verbose=0 count tests fuzz)
pct=$(((10000 * tst + (src + tst) / 2) / (src + tst)))
printf 'test share: %d.%02d %% (tests/ + fuzz/ %d code lines, src/ %d)\n' "$((pct / 100))" "$((pct % 100))" \
  "$tst" "$src"
[ "$pct" -le 3500 ]
