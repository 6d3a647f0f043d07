#!/usr/bin/env bash
# Builds the Linux program and starts it; arguments are passed on (a folder path opens the settings).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake --preset linux -DKV_BUILD_TESTS=OFF >/dev/null
cmake --build --preset linux --target kivoret
exec build/linux/src/platform/linux/kivoret "$@"
