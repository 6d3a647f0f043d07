#!/usr/bin/env bash
# The layering check must catch each kind of breach: one planted include at a time, in a copy.
set -uo pipefail
check=$1 src=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
while IFS='|' read -r file include; do
  rm -rf "$tmp/src" && cp -r "$src" "$tmp/src"
  echo "#include $include" >>"$tmp/src/$file"
  if bash "$check" "$tmp/src" >/dev/null 2>&1; then
    echo "not caught: $include in $file" >&2
    failures=$((failures + 1))
  fi
done <<'CASES'
settings/settings_file.cpp|"platform/linux/toolkit_qt.h"
ui/layout.h|<windows.h>
shell/context_menu.cpp|<QString>
launcher/drive_list.cpp|<unistd.h>
ui/folder_list_edit.cpp|"app/settings_window.h"
launcher/menu_tree.h|"app/settings_window.h"
settings/program_state.h|  "app/startup.h"
shell/context_menu.h|<app/settings_window.h>
platform/toolkit.h|"app/settings_window.h"
CASES
rm -rf "$tmp/src" && cp -r "$src" "$tmp/src"
bash "$check" "$tmp/src" >/dev/null || { echo "the clean tree fails" >&2; failures=$((failures + 1)); }
exit $((failures != 0))
