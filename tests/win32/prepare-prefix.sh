#!/bin/sh
# Prepares the Wine prefix the Windows tests run in: Japanese locale, CJK fonts.
# Usage: prepare-prefix.sh PREFIX_DIR
set -eu
prefix=$(realpath -m "$1")

# Code page 932 under Wine needs the ja_JP.UTF-8 locale of the C library.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  if [ "$(id -u)" = 0 ] && [ -f /etc/locale.gen ]; then
    sed -i 's/^# *\(ja_JP\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' >>/etc/locale.gen
    locale-gen >/dev/null
  else
    echo "prepare-prefix: the ja_JP.UTF-8 locale is missing (run locale-gen as root)" >&2
    exit 1
  fi
fi

export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=ja_JP.UTF-8
mkdir -p "$prefix"
wineboot -i >/dev/null 2>&1
wineserver -w

# Without these, Japanese text in menus and message boxes draws as boxes.
for face in Tahoma "MS Shell Dlg" "MS Shell Dlg 2" "MS UI Gothic" "MS Gothic" "MS PGothic" \
            "Segoe UI"; do
  wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /d "Noto Sans CJK JP" /f \
    >/dev/null 2>&1
done

wineserver -w
