#!/bin/bash
# `cmake --install` into a scratch prefix: the files, their validators, a run.
source "$(dirname "$0")/../e2e/linux/lib.sh"
BUILD=${1:?usage: prefix.sh build-dir app-id version} ID=${2:?} VERSION=${3:?}
make_scratch
P=$KV_SCRATCH/prefix
cmake --install "$BUILD" --prefix "$P" >/dev/null || fail "cmake --install failed"
source "$(dirname "$0")/check-files.sh"
check_installed_files "$P" "$ID" "$VERSION"

check_runs "$P/bin/kivoret"
