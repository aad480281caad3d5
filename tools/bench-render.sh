#!/usr/bin/env bash
# Median cost of a drawn frame (1280x720 and 1920x1080) and of the fish
# simulation within it, on Mesa's software rasteriser, with its default
# thread count and with one thread. Builds the linux preset's benchmark.
# Usage: bash tools/bench-render.sh [build-dir]   (default build/linux)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/linux}

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" -j2 --target aquarium-bench-render >/dev/null

bench() {
  "$build/bin/aquarium-bench-render" --benchmark_repetitions=3 \
    --benchmark_report_aggregates_only=true --benchmark_min_time=0.5 2>/dev/null |
    awk '/_median/ { printf "  %-28s %10s %s\n", $1, $2, $3 }'
}

echo "LP_NUM_THREADS unset ($(nproc) cores):"
(unset LP_NUM_THREADS; bench)
echo "LP_NUM_THREADS=1:"
LP_NUM_THREADS=1 bench
