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
# Inputs may grow past two of the loader's 512-record chunks (229,376 bytes).
max_len=262144
build/fuzz/tests/fuzz/load_colonies_fuzzer -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -max_len=$max_len -print_final_stats=1 -artifact_prefix=build/fuzz/ "$work" tests/fuzz/corpus/load

# The run must have reached past the first chunk, or the loader's chunk boundary went untried.
chunk_bytes=$((512 * 224))
longest=$(find "$work" -type f -printf '%s\n' | sort -n | tail -n 1)
if [ "${longest:-0}" -le "$chunk_bytes" ]; then
    echo "fuzz: no input longer than one chunk of $chunk_bytes bytes (longest ${longest:-0})" >&2
    exit 1
fi
echo "fuzz: longest input $longest bytes"
