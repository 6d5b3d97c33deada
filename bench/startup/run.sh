#!/usr/bin/env bash
# Start-up benchmark: ZerakCalc.exe against a bare Win32 program that shows one empty window,
# side by side under the same Wine on a virtual display. "children" is the bare window with the
# main window's thirteen child windows but nothing in them: what the platform charges for the
# window itself, whatever program shows it.
#   bench/startup/run.sh [RUNS]        (default 40 runs of each)
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
runs=${1:-40}
out=$top/build/startup-bench
cd "$top"
./scripts/install-deps.sh

cmake --preset windows -B "$out/app" -DZERAK_BUILD_TESTS=OFF >/dev/null
cmake --build "$out/app" --target ZerakCalc >/dev/null
cmake -S bench/startup -B "$out/tools" -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel \
    -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$out/tools" >/dev/null

xvfb-run -a -s "-screen 0 1280x1024x24" ./scripts/wine-session.sh "$out/wineprefix" \
    /usr/lib/wine/wine64 "$out/tools/StartupTimer.exe" "$runs" \
    bare "$out/tools/BareWindow.exe" "Bare Window" \
    children "$out/tools/ChildrenOnlyWindow.exe" "Bare Window" \
    ZerakCalc "$out/app/ui/ZerakCalc.exe" "Velquin Window"
