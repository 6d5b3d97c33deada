#!/usr/bin/env bash
# Builds the loader's fuzz target with clang (ASan and UBSan) and runs it briefly over the
# seed corpus. A finding fails the run and leaves the input under build/fuzz/.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../.."
seconds=${ZERAK_FUZZ_SECONDS:-45}

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# New inputs go to the scratch folder; the seeds in the repository stay as they are.
build/fuzz/tests/fuzz/load_colonies_fuzzer -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix=build/fuzz/ "$work" tests/fuzz/corpus/load
