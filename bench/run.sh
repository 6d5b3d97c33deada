#!/usr/bin/env bash
# Every large-list benchmark in one run, for 100,000 and 1,000,000 colonies:
#   - natively: loading coldata.dat and its floor (bench/LoadFloor.cpp) with their ratio, the
#     growth from 100,000 to 1,000,000, saving, and the peak memory of a load over a list as
#     long as the file's;
#   - under Wine: File, Load data in the main window, then each dialog operation on that list
#     with its ratio to the load.
# The machine's load average is printed before and after: the figures mean little when it is
# high.
#   bench/run.sh
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$top"
./scripts/install-deps.sh >/dev/null
sizes=(100000 1000000)
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"

cmake --preset bench >/dev/null
cmake --build --preset bench >/dev/null
json=$top/build/bench/storage_bench.json
# Medians of five runs, load and floor taking turns within each size.
build/bench/bench/storage_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
    --benchmark_out="$json" --benchmark_out_format=json >/dev/null 2>&1
python3 - "$json" "${sizes[@]}" <<'PY'
import json
import sys

runs = json.load(open(sys.argv[1]))["benchmarks"]
median = {r["run_name"]: r["real_time"] for r in runs if r.get("aggregate_name") == "median"}
sizes = sys.argv[2:]
print("native (medians of 5 runs):")
for size in sizes:
    load = median[f"BM_LoadColonies/{size}/real_time"]
    floor = median[f"BM_LoadFloor/{size}/real_time"]
    save = median[f"BM_SaveColonies/{size}/real_time"]
    print(f"{int(size):8d} colonies, load {load / 1000:6.3f} s, floor {floor / 1000:6.3f} s, "
          f"load/floor {load / floor:5.2f}; save {save / 1000:6.3f} s")
small, large = sizes[0], sizes[-1]
growth = median[f"BM_LoadColonies/{large}/real_time"] / median[f"BM_LoadColonies/{small}/real_time"]
print(f"load of {int(large):,} colonies / load of {int(small):,}: {growth:.1f}x")
PY
for size in "${sizes[@]}"; do
    build/bench/bench/load_memory_bench "$size"
done

echo "under Wine:"
bench/load/run.sh "${sizes[@]}"
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
