#!/usr/bin/env bash
# The layering check must catch each kind of breach: one planted include at a time, in a copy.
set -uo pipefail
check=$1 tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cp -r "$2" "$tmp/src"
bash "$check" "$tmp/src" >/dev/null || { echo "the clean tree fails" >&2; exit 1; }
failures=0
while IFS='|' read -r file include; do
  cp "$tmp/src/$file" "$tmp/saved"
  echo "#include $include" >>"$tmp/src/$file"
  bash "$check" "$tmp/src" >/dev/null 2>&1 && echo "not caught: $include in $file" >&2 && ((failures++))
  mv "$tmp/saved" "$tmp/src/$file"
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
exit $((failures != 0))
