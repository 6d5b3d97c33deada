#!/usr/bin/env bash
# Builds ZerakCalc.exe and starts it under Wine.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
./scripts/install-deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target ZerakCalc
exe=$PWD/build/windows/ui/ZerakCalc.exe
echo "Built $exe"
if [ -z "${DISPLAY:-}" ]; then
    echo "No display: not starting it."
    exit 0
fi
./scripts/wine-prefix.sh build/windows/wineprefix
export WINEPREFIX=$PWD/build/windows/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
exec /usr/lib/wine/wine64 "$exe"
