#!/usr/bin/env bash
# Builds ZerakCalc.exe and starts it under Wine, in the folder this is called from (where
# its coldata.dat lives). With no display it starts the program on a virtual display
# instead, saves a picture of the main window, says where, and ends the program.
# ZERAK_BUILD_DIR chooses the build folder (default build/windows).
set -euo pipefail
here=$PWD
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(realpath -m "${ZERAK_BUILD_DIR:-$top/build/windows}")
export ZERAK_BUILD_DIR=$build
cd "$top"
./scripts/install-deps.sh
cmake --preset windows -B "$build" >/dev/null
cmake --build "$build" --target ZerakCalc
exe=$build/ui/ZerakCalc.exe
echo "Built $exe"

if [ -z "${DISPLAY:-}" ]; then
    echo "No display: starting it on a virtual display for a picture of its main window."
    picture=$build/screenshots/main-window.png
    ./scripts/screenshot.sh "$picture" >/dev/null
    echo "Screenshot of the main window: $picture"
    exit 0
fi

# A prefix of its own with the tests' fonts, otherwise left as Wine makes it, so that the
# desktop's window manager frames the window as it frames any other (the test prefix turns
# that off for the virtual display).
prefix=$build/wineprefix-desktop
./scripts/wine-prefix.sh --desktop "$prefix"
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Help, Help names a bare help.hlp, which Wine's viewer looks for in the current folder and
# along the PATH: the folder of the program and its help is added to that path.
program_folder=$(dirname "$exe")
export WINEPATH="Z:${program_folder//\//\\}${WINEPATH:+;$WINEPATH}"
cd "$here"
exec /usr/lib/wine/wine64 "$exe"
