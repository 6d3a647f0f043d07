#!/bin/sh
# Prepares the Wine prefix the Windows tests run in: Japanese locale, CJK fonts, shell "open" recorder.
# Usage: prepare-prefix.sh PREFIX_DIR [RECORDER_EXE]
#   RECORDER_EXE (Unix path): becomes the command of HKCR\Folder\shell\open, so that opening a
#   folder through the shell appends its path to a log instead of starting a file manager.
set -eu
prefix=$(realpath -m "$1")
recorder=${2:-}

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

if [ -n "$recorder" ]; then
  winpath=$(wine winepath -w "$(realpath "$recorder")" 2>/dev/null | tr -d '\r')
  wine reg add 'HKCR\Folder\shell\open\command' /ve /d "\"$winpath\" \"%1\"" /f >/dev/null 2>&1
  # With the DDE key in place ShellExecute waits for a DDE server and reports failure.
  wine reg delete 'HKCR\Folder\shell\open\ddeexec' /f >/dev/null 2>&1 || true
fi
wineserver -w
