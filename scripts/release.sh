#!/usr/bin/env bash
# Builds the release players download into dist/: ZerakCalc-<version>-win64.zip (one folder
# with ZerakCalc.exe, help.hlp, help.htm and README.txt) and SHA256SUMS for the zip and each
# file in it. The same commit gives the same bytes in any folder at any time: everything is
# dated by the commit (SOURCE_DATE_EPOCH, taken from git unless it is set).
# ZERAK_BUILD_DIR chooses the build folder (default build/release).
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(realpath -m "${ZERAK_BUILD_DIR:-$top/build/release}")
cd "$top"
./scripts/install-deps.sh

if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    if ! SOURCE_DATE_EPOCH=$(git log -1 --format=%ct 2>/dev/null); then
        echo "Not a git checkout: set SOURCE_DATE_EPOCH to the commit's time (seconds since 1970)." >&2
        exit 1
    fi
fi
export SOURCE_DATE_EPOCH

cmake --preset release -B "$build" >/dev/null
cmake --build "$build" --target release
echo "Release in $top/dist:"
cat dist/SHA256SUMS
