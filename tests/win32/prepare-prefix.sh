#!/bin/sh
# Prepares the Wine prefix the Windows tests run in: Japanese locale, CJK fonts.
# Usage: prepare-prefix.sh PREFIX_DIR
set -eu
# Code page 932 under Wine needs the ja_JP.UTF-8 locale of the C library.
locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$' ||
  { echo "prepare-prefix: the ja_JP.UTF-8 locale is missing (tools/install-deps.sh makes it)" >&2; exit 1; }
export WINEPREFIX="$(realpath -m "$1")" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LANG=ja_JP.UTF-8
mkdir -p "$WINEPREFIX"
wineboot -i >/dev/null 2>&1
# Without these, Japanese text in menus and message boxes draws as boxes.
for face in Tahoma "MS Shell Dlg" "MS Shell Dlg 2" "MS UI Gothic" "MS Gothic" "MS PGothic" \
            "Segoe UI"; do
  wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /d "Noto Sans CJK JP" /f \
    >/dev/null 2>&1
done
wineserver -w
