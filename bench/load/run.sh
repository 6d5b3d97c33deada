#!/usr/bin/env bash
# Load benchmark: File, Load data of large coldata.dat files in the real main window under
# Wine on a virtual display, from the command to the repainted window, once into the empty
# window and once over the same list.
#   bench/load/run.sh [COLONIES...]     (default 100000 1000000)
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
out=$top/build/load-bench
cd "$top"
./scripts/install-deps.sh

cmake --preset windows -B "$out" >/dev/null
cmake --build "$out" --target main_window_load_benchmark >/dev/null

xvfb-run -a -s "-screen 0 1280x1024x24" ./scripts/wine-session.sh "$out/wineprefix" \
    ./scripts/wine-run.sh "$out/wineprefix" "$out/bench/load/main_window_load_benchmark.exe" "$@"
