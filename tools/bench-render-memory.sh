#!/usr/bin/env bash
# Peak memory (maximum resident set, /usr/bin/time -f %M) of aquarium-render
# after 100, 1,000 and 10,000 frames at 1280x720 and 3840x2160, one Mesa
# thread. The peak should not grow with the number of frames.
# Usage: bash tools/bench-render-memory.sh [build-dir] [frame counts...]
#        (default build/linux; 100 1000 10000)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/linux}
shift || true
counts=("$@")
[ ${#counts[@]} -gt 0 ] || counts=(100 1000 10000)

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" -j2 --target aquarium-render >/dev/null

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export LP_NUM_THREADS=1
printf '%-10s %8s %14s %10s\n' size frames "peak (MB)" seconds
for size in 1280x720 3840x2160; do
  for frames in "${counts[@]}"; do
    start=$(date +%s.%N)
    /usr/bin/time -o "$scratch/peak" -f %M "$build/bin/aquarium-render" --size "$size" \
      --frames "$frames" --out "$scratch/out.png" >/dev/null
    end=$(date +%s.%N)
    awk -v s="$size" -v f="$frames" -v kb="$(cat "$scratch/peak")" -v t0="$start" -v t1="$end" \
      'BEGIN { printf "%-10s %8d %14.1f %10.1f\n", s, f, kb / 1024, t1 - t0 }'
  done
done
