#!/usr/bin/env bash
# Every large-list benchmark in one run, for 100,000 and 1,000,000 colonies:
#   - natively: loading coldata.dat and its floor (bench/LoadFloor.cpp) with their ratio and the
#     growth from 100,000 to 1,000,000, both with the caches as the last load left them and
#     swept before each load; saving; and the peak memory of a load over a list as long as the
#     file's;
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
# Medians of five runs of each.
build/bench/bench/storage_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
    --benchmark_out="$json" --benchmark_out_format=json >/dev/null 2>&1
python3 - "$json" "${sizes[@]}" <<'PY'
import json
import sys

runs = json.load(open(sys.argv[1]))["benchmarks"]
median = {r["run_name"]: r["real_time"] for r in runs if r.get("aggregate_name") == "median"}
sizes = sys.argv[2:]
print("native (medians of 5 runs):")
for caches, heading in (("caches_as_left", "caches as the previous load of the same file left them"),
                        ("caches_swept", "caches swept before each load, as a player's load finds them")):
    print(f"  {heading}:")
    for size in sizes:
        load = median[f"BM_LoadColonies/{caches}/{size}/real_time"]
        floor = median[f"BM_LoadFloor/{caches}/{size}/real_time"]
        print(f"  {int(size):8d} colonies, load {load / 1000:6.3f} s, floor {floor / 1000:6.3f} s, "
              f"load/floor {load / floor:5.2f}")
    small, large = sizes[0], sizes[-1]
    growth = {name: median[f"{name}/{caches}/{large}/real_time"] / median[f"{name}/{caches}/{small}/real_time"]
              for name in ("BM_LoadColonies", "BM_LoadFloor")}
    print(f"  load of {int(large):,} colonies / load of {int(small):,}: {growth['BM_LoadColonies']:.1f}x "
          f"(floor: {growth['BM_LoadFloor']:.1f}x)")
for size in sizes:
    save = median[f"BM_SaveColonies/{size}/real_time"]
    print(f"  {int(size):8d} colonies, save {save / 1000:6.3f} s")
PY
for size in "${sizes[@]}"; do
    build/bench/bench/load_memory_bench "$size"
done

echo "under Wine:"
bench/load/run.sh "${sizes[@]}"
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
