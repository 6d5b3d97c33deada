#!/usr/bin/env bash
# Large lists under Wine on a virtual display: File, Load data of a large coldata.dat in the
# real main window, from the command to the repainted window, then each dialog operation on
# that list with its ratio to the load, and the load again over the same list.
#   bench/load/run.sh [COLONIES...]     (default 100000 1000000)
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
out=$top/build/load-bench
cd "$top"
./scripts/install-deps.sh >/dev/null

cmake --preset windows -B "$out" >/dev/null
cmake --build "$out" --target dialog_benchmark >/dev/null

xvfb-run -a -s "-screen 0 1280x1024x24" ./scripts/wine-session.sh "$out/wineprefix" \
    ./scripts/wine-run.sh "$out/wineprefix" "$out/bench/load/dialog_benchmark.exe" "$@"
