#!/bin/sh
# kivoret.exe's resources and imports, read with icoutils and binutils: three icon images, the
# version 1.0, the manifest; comctl32 and shell32 load on first use, so they are never imported.
# Usage: resources.sh KIVORET_EXE OBJDUMP
set -eu
fail=0
has() { printf '%s\n' "$2" | grep -q -- "$3" || { echo "FAIL: $1 lacks $3" >&2; fail=1; }; }
has icons "$(wrestool -x -t14 "$1" | icotool -l - | sed 's/.*width=\([0-9]*\).*depth=\([0-9]*\).*/\1:\2/' | tr '\n' ' ')" '^16:4 32:8 48:8 $'
manifest=$(wrestool -x --raw -t24 "$1")
for s in Common-Controls 'version="6.0.0.0"' 'level="asInvoker"' true/pm PerMonitorV2 \
  'name="Kivoret" version="1.0.0.0"'; do has manifest "$manifest" "$s"; done
version=$(wrestool -x --raw -t16 "$1" | iconv -c -f UTF-16LE -t UTF-8 | tr -d '\000')
for s in FileVersion1.0 ProductVersion1.0 ProductNameキヴォレット; do has version "$version" "$s"; done
imports=$("$2" -p "$1" | grep 'DLL Name' | tr A-Z a-z)
has imports "$imports" user32.dll
if printf '%s' "$imports" | grep -e comctl32 -e shell32; then fail=1; fi
exit $fail
