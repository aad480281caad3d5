#!/usr/bin/env bash
# Measures the X11 saver beside two of Debian's GL hacks (atlantis from
# xscreensaver-gl-extra, glschool from xscreensaver-gl:
# `sudo bash tools/install-packages.sh bench`), all three in the same run,
# one after the other, under the same conditions, on Mesa's software
# rasteriser.
#   sizes:    each draws into the root window of a fresh Xvfb at 1280x720,
#             1920x1080 and 3840x2160.
#   monitors: an Xephyr nested in an Xvfb, with one 1280x720 head, then with
#             two side by side (Xinerama), then one 2560x720 head (as many
#             pixels as the two, one view); the saver full screen (/s, one
#             view on each monitor), the hacks on the root window. The X
#             server's CPU is Xephyr's and its host Xvfb's together.
#   rest:     the saver's CPU per second in a 1280x720 -window drawing, and at
#             rest under a window that covers it.
# Per program and screen: frames per second, CPU milliseconds per frame of the
# program and of the X server (from /proc), milliseconds from start to the
# first frame presented, and peak memory (VmHWM) with the resident size at the
# start and the end of the measurement. Frames are counted by an LD_PRELOAD
# wrapper of glXSwapBuffers and eglSwapBuffers (tools/bench_swap_counter.cpp).
# The load average is printed before and after: other work on the machine
# shows in every figure.
# Usage: bash tools/bench-saver.sh [seconds per run, default 10] [build dir] [sizes|monitors|rest]
#   (no mode: all three)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-10}
build=${2:-build/linux}
mode=${3:-all}
hacks=/usr/libexec/xscreensaver
case $mode in
  all | sizes | monitors | rest) ;;
  *) echo "usage: $0 [seconds] [build dir] [sizes|monitors|rest]" >&2; exit 2 ;;
esac

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DAQUARIUM_HOST=x11 >/dev/null
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
cpu_ms() {  # pids...: user + system CPU so far, in milliseconds, all together
  local p total=0
  for p in "$@"; do
    total=$(awk -v t="$ticks" -v sum="$total" \
      '{ sub(/.*\) /, ""); print sum + ($12 + $13) * 1000 / t }' "/proc/$p/stat")
  done
  echo "$total"
}
status_kb() {  # pid field
  awk -v f="$2:" '$1 == f { print $2 }' "/proc/$1/status"
}
frames() {  # the counter file: frames so far, first-swap time (ns)
  od -An -t u8 -N 16 "$1" | awk '{ print $1, $2 }'
}
await_display() {  # file the server writes its display number to
  local waited=0
  until grep -q '^[0-9]' "$1" 2>/dev/null; do
    sleep 0.05
    waited=$((waited + 1))
    [ "$waited" -lt 600 ] || { echo "no X server after 30 s" >&2; exit 1; }
  done
}

# Starts the X server(s) for one measurement: sets display and servers (the
# PIDs whose CPU counts as the X server's).
servers=()
display=
start_xvfb() {  # size
  local file="$work/display-$((${#pids[@]}))"
  Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 "${1}x24" 3>"$file" 2>/dev/null &
  pids+=($!)
  servers=($!)
  await_display "$file"
  display=":$(head -1 "$file")"
}
start_xephyr() {  # screen sizes... (one per head)
  start_xvfb 2600x800
  local file="$work/display-$((${#pids[@]}))" heads=() size
  for size in "$@"; do heads+=(-screen "$size"); done
  DISPLAY=$display Xephyr -displayfd 3 +xinerama "${heads[@]}" -ac -noreset -nolisten tcp \
    3>"$file" 2>/dev/null &
  pids+=($!)
  servers+=($!)
  await_display "$file"
  display=":$(head -1 "$file")"
}
stop_servers() {
  kill "${servers[@]}" 2>/dev/null || true
  wait "${servers[@]}" 2>/dev/null || true
}

measure() {  # label name command...  (on the servers started last)
  local label=$1 name=$2
  shift 2
  local counter="$work/swaps-${#pids[@]}"
  head -c 16 /dev/zero >"$counter"

  local start=$(date +%s%N)
  DISPLAY=$display BENCH_SWAP_FILE="$counter" LD_PRELOAD="$work/swap_counter.so" \
    "$@" >/dev/null 2>&1 &
  local saver=$!
  pids+=("$saver")
  sleep 2
  read -r f0 first < <(frames "$counter")
  local c0=$(cpu_ms "$saver") x0=$(cpu_ms "${servers[@]}") r0=$(status_kb "$saver" VmRSS)
  local t0=$(date +%s%N)
  sleep "$seconds"
  read -r f1 first < <(frames "$counter")
  local c1=$(cpu_ms "$saver") x1=$(cpu_ms "${servers[@]}") r1=$(status_kb "$saver" VmRSS)
  local t1=$(date +%s%N) peak=$(status_kb "$saver" VmHWM)
  kill "$saver"
  wait "$saver" 2>/dev/null || true

  awk -v name="$name" -v label="$label" -v f="$((f1 - f0))" -v t="$((t1 - t0))" \
      -v cs="$c0" -v ce="$c1" -v xs="$x0" -v xe="$x1" -v first="$first" -v start="$start" \
      -v r0="$r0" -v r1="$r1" -v peak="$peak" 'BEGIN {
    if (f == 0) { printf "| %-9s | %-22s | no frames |\n", name, label; exit }
    fps = f / (t / 1e9); own = (ce - cs) / f; server = (xe - xs) / f
    printf "| %-9s | %-22s | %6.1f | %6.2f | %6.2f | %6.2f | %6.0f | %4.0f / %4.0f / %4.0f |\n",
      name, label, fps, own, server, own + server, (first - start) / 1e6,
      r0 / 1024, r1 / 1024, peak / 1024 }'
}

header() {
  echo "| program   | screen                 |    fps | ms CPU/frame: own | X server | sum | first frame ms | MB RSS start / end / peak |"
  echo "|---|---|---|---|---|---|---|---|"
}

echo "$(nproc) cores, LP_NUM_THREADS=${LP_NUM_THREADS:-unset}, ${seconds} s a run," \
  "load before: $(cut -d' ' -f1-3 /proc/loadavg)"

if [ "$mode" = all ] || [ "$mode" = sizes ]; then
  echo
  header
  for size in 1280x720 1920x1080 3840x2160; do
    for program in aquarium atlantis glschool; do
      start_xvfb "$size"
      case $program in
        aquarium) measure "$size" aquarium "$build/bin/aquarium" -root ;;
        *) measure "$size" "$program" "$hacks/$program" --root --delay 10000 ;;
      esac
      stop_servers
    done
  done
fi

if [ "$mode" = all ] || [ "$mode" = monitors ]; then
  echo
  header
  for heads in "1280x720" "1280x720 1280x720" "2560x720"; do
    label="Xephyr ${heads// / + }"
    for program in aquarium atlantis glschool; do
      # shellcheck disable=SC2086  # one word per head
      start_xephyr $heads
      case $program in
        aquarium) measure "$label" aquarium "$build/bin/aquarium" /s ;;
        *) measure "$label" "$program" "$hacks/$program" --root --delay 10000 ;;
      esac
      stop_servers
    done
  done
fi

if [ "$mode" = all ] || [ "$mode" = rest ]; then
  # At rest: CPU seconds per second of -window drawing, then wholly covered.
  start_xvfb 1280x720
  DISPLAY=$display "$build/bin/aquarium" -window >/dev/null 2>&1 &
  saver=$!
  pids+=("$saver")
  sleep 2
  c0=$(cpu_ms "$saver"); sleep "$seconds"; c1=$(cpu_ms "$saver")
  DISPLAY=$display "$build/tests/x11/x11-test-window" parent 0 0 1280 720 >/dev/null 2>&1 &
  pids+=($!)
  sleep 2
  c2=$(cpu_ms "$saver"); sleep "$seconds"; c3=$(cpu_ms "$saver")
  awk -v c0="$c0" -v c1="$c1" -v c2="$c2" -v c3="$c3" -v s="$seconds" 'BEGIN {
    printf "\naquarium -window 1280x720, CPU share of one core: drawing %.1f%%, covered (at rest) %.2f%%\n",
      (c1 - c0) / s / 10, (c3 - c2) / s / 10 }'
fi
echo
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
