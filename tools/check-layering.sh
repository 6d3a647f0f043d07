#!/usr/bin/env bash
# Fails when the portable core reaches past its two interfaces: a backend header, a Win32, Qt
# or POSIX header in src/app, settings, launcher, ui, shell or the interface headers.
set -uo pipefail
src=${1:-$(cd "$(dirname "$0")/../src" && pwd)}
cd "$src" || exit 2
core=(app settings launcher ui shell platform/*.h)
forbidden='#[[:space:]]*include[[:space:]]*[<"](platform/(linux|win32)/|windows\.h|winuser\.h|shlobj\.h|Q[A-Za-z]*[>/]|qt[A-Za-z]*/|unistd\.h|fcntl\.h|dirent\.h|pthread\.h|dlfcn\.h|sys/)'
if hits=$(grep -rnE "$forbidden" "${core[@]}"); then
  echo "the core includes a platform header:" >&2
  echo "$hits" >&2
  exit 1
fi
echo "layering: core is free of platform headers"
