#!/usr/bin/env bash
# Fails when the portable core reaches past its two interfaces: a backend header, a Win32, Qt
# or POSIX header in src/app, settings, launcher, ui, shell or the interface headers; or when a
# subsystem reaches up into app/, which links them all (the form sits on top, nothing below
# may see it).
set -uo pipefail
src=${1:-$(cd "$(dirname "$0")/../src" && pwd)}
cd "$src" || exit 2
status=0
core=(app settings launcher ui shell platform/*.h)
forbidden='#[[:space:]]*include[[:space:]]*[<"](platform/(linux|win32)/|windows\.h|winuser\.h|shlobj\.h|Q[A-Za-z]*[>/]|qt[A-Za-z]*/|unistd\.h|fcntl\.h|dirent\.h|pthread\.h|dlfcn\.h|sys/)'
if hits=$(grep -rnE "$forbidden" "${core[@]}"); then
  echo "the core includes a platform header:" >&2
  echo "$hits" >&2
  status=1
fi
below_app=(settings launcher ui shell platform/*.h)
if hits=$(grep -rnE '#[[:space:]]*include[[:space:]]*[<"]app/' "${below_app[@]}"); then
  echo "a subsystem includes the app layer:" >&2
  echo "$hits" >&2
  status=1
fi
[[ $status -eq 0 ]] && echo "layering: core is free of platform headers; only app/ sees the form"
exit $status
