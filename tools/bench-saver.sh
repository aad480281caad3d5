#!/usr/bin/env bash
# Measures the X11 saver beside two of Debian's GL hacks (atlantis and
# glschool from xscreensaver-gl-extra / xscreensaver-gl), each drawing into
# the root window of a fresh Xvfb on Mesa's software rasteriser, at 1280x720
# and 1920x1080. Per program and size: frames per second, CPU milliseconds per
# frame of the program and of the X server (from /proc), milliseconds from
# start to the first frame presented, and peak memory (VmHWM) with the resident
# size at the start and the end of the measurement.
# Frames are counted by an LD_PRELOAD wrapper of glXSwapBuffers and
# eglSwapBuffers (tools/bench_swap_counter.cpp). Last, the saver's CPU per
# second in a 1280x720 -window drawing, and at rest under a window that covers it.
# Usage: bash tools/bench-saver.sh [seconds per run, default 10] [build dir] [rest]
#   (with "rest", only the last measurement)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-10}
build=${2:-build/linux}
hacks=/usr/libexec/xscreensaver

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" -j2 --target aquarium x11-test-window >/dev/null

work=$(mktemp -d "${TMPDIR:-/tmp}/aquarium-bench.XXXXXX")
pids=()
cleanup() {
  local p
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
g++ -O2 -shared -fPIC -o "$work/swap_counter.so" tools/bench_swap_counter.cpp -ldl

ticks=$(getconf CLK_TCK)
cpu_ms() {  # pid: user + system CPU so far, in milliseconds
  awk -v t="$ticks" '{ sub(/.*\) /, ""); print ($12 + $13) * 1000 / t }' "/proc/$1/stat"
}
status_kb() {  # pid field
  awk -v f="$2:" '$1 == f { print $2 }' "/proc/$1/status"
}
frames() {  # the counter file: frames so far, first-swap time (ns)
  od -An -t u8 -N 16 "$1" | awk '{ print $1, $2 }'
}

run() {  # size name command...
  local size=$1 name=$2
  shift 2
  local display_file="$work/display-$name-$size"
  Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 "${size}x24" 3>"$display_file" 2>/dev/null &
  local xvfb=$!
  pids+=("$xvfb")
  while ! grep -q '^[0-9]' "$display_file" 2>/dev/null; do sleep 0.02; done
  local counter="$work/swaps-$name-$size"
  head -c 16 /dev/zero >"$counter"

  local start=$(date +%s%N)
  DISPLAY=":$(head -1 "$display_file")" BENCH_SWAP_FILE="$counter" \
    LD_PRELOAD="$work/swap_counter.so" "$@" >/dev/null 2>&1 &
  local saver=$!
  pids+=("$saver")
  sleep 2
  read -r f0 first < <(frames "$counter")
  local c0=$(cpu_ms "$saver") x0=$(cpu_ms "$xvfb") r0=$(status_kb "$saver" VmRSS)
  local t0=$(date +%s%N)
  sleep "$seconds"
  read -r f1 first < <(frames "$counter")
  local c1=$(cpu_ms "$saver") x1=$(cpu_ms "$xvfb") r1=$(status_kb "$saver" VmRSS)
  local t1=$(date +%s%N) peak=$(status_kb "$saver" VmHWM)
  kill "$saver" "$xvfb"
  wait "$saver" "$xvfb" 2>/dev/null || true

  awk -v name="$name" -v size="$size" -v f="$((f1 - f0))" -v t="$((t1 - t0))" \
      -v cs="$c0" -v ce="$c1" -v xs="$x0" -v xe="$x1" -v first="$first" -v start="$start" \
      -v r0="$r0" -v r1="$r1" -v peak="$peak" 'BEGIN {
    fps = f / (t / 1e9); own = (ce - cs) / f; server = (xe - xs) / f
    printf "| %-9s | %-9s | %6.1f | %6.2f | %6.2f | %6.2f | %6.0f | %4.0f / %4.0f / %4.0f |\n",
      name, size, fps, own, server, own + server, (first - start) / 1e6,
      r0 / 1024, r1 / 1024, peak / 1024 }'
}

echo "$(nproc) cores, LP_NUM_THREADS=${LP_NUM_THREADS:-unset}, ${seconds} s a run"
echo "| program   | size      |    fps | ms CPU/frame: own | X server | sum | first frame ms | MB RSS start / end / peak |"
echo "|---|---|---|---|---|---|---|---|"
[ "${3:-}" = rest ] || for size in 1280x720 1920x1080; do
  run "$size" aquarium "$build/bin/aquarium" -root
  run "$size" atlantis "$hacks/atlantis" --root --delay 10000
  run "$size" glschool "$hacks/glschool" --root --delay 10000
done

# At rest: CPU seconds per second of -window drawing, then wholly covered.
display_file="$work/display-rest"
Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 1280x720x24 3>"$display_file" 2>/dev/null &
pids+=($!)
while ! grep -q '^[0-9]' "$display_file" 2>/dev/null; do sleep 0.02; done
export DISPLAY=":$(head -1 "$display_file")"
"$build/bin/aquarium" -window >/dev/null 2>&1 &
saver=$!
pids+=("$saver")
sleep 2
c0=$(cpu_ms "$saver"); sleep "$seconds"; c1=$(cpu_ms "$saver")
"$build/tests/x11/x11-test-window" parent 0 0 1280 720 >/dev/null 2>&1 &
pids+=($!)
sleep 2
c2=$(cpu_ms "$saver"); sleep "$seconds"; c3=$(cpu_ms "$saver")
awk -v c0="$c0" -v c1="$c1" -v c2="$c2" -v c3="$c3" -v s="$seconds" 'BEGIN {
  printf "\naquarium -window 1280x720, CPU share of one core: drawing %.1f%%, covered (at rest) %.2f%%\n",
    (c1 - c0) / s / 10, (c3 - c2) / s / 10 }'
