#!/usr/bin/env bash
# Builds everything and runs every test: the portable core natively under the sanitizers,
# then the program and all tests under Wine on a virtual display. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
jobs=$(nproc)

./scripts/install-deps.sh

echo "== native: core and tests with ASan and UBSan"
cmake --preset native >/dev/null
cmake --build --preset native -j "$jobs"
ctest --preset native -j "$jobs"

echo "== windows: ZerakCalc.exe and the tests under Wine"
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$jobs"
xvfb-run -a -s "-screen 0 1280x1024x24" \
    ./scripts/wine-session.sh build/windows/wineprefix ctest --preset windows

for extra in scripts/test.d/*.sh; do
    [ -e "$extra" ] || continue
    echo "== $(basename "$extra" .sh)"
    "$extra"
done

echo "All tests passed."
