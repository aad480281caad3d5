#!/usr/bin/env bash
# Start-up, taken apart: from the exec of a GL program drawing into the root
# window of an Xvfb (Mesa's software rasteriser) to its first frame presented
# (the first glXSwapBuffers returned), split at the points an LD_PRELOAD probe
# timestamps (tools/bench_startup_probe.cpp): libraries loaded, main(),
# XOpenDisplay, the first GLX call, the context made current, the first and
# last texture upload, the first glBegin and the first swap. The saver and two
# of Debian's GL hacks (atlantis, glschool) run in turn, run after run, on one
# Xvfb; each line is the median over the runs of the time from the step before
# that program reached to this one. The program's own share is every step
# spent in its own code: before XOpenDisplay, between the display and the
# first GLX (or EGL) call, from the context made current to the first glBegin
# less the wait in poll/select for the first frame's timer tick (-delay), and
# the drawing calls of an ordinary frame (the second one, glBegin to the
# swap; Mesa's vertex work is in it too, so this is an upper bound). The
# first frame itself costs more: llvmpipe compiles its shaders then. The
# own share is also given in the main thread's CPU time, which other work on
# a busy machine does not stretch as it stretches the wall-clock steps.
# With "perf" in place of the runs, one start of the saver runs under
# `perf record` instead (CPU-clock samples every 0.1 ms, up to just after the
# second frame) and the CPU milliseconds of each library and of the saver's
# own code are printed: supporting evidence for where the start-up goes.
# Usage: bash tools/bench-startup.sh [runs, default 11 | perf] [build dir] [size, default 1280x720]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-11}
build=${2:-build/linux}
size=${3:-1280x720}
hacks=/usr/libexec/xscreensaver

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DAQUARIUM_HOST=x11 >/dev/null
fi
cmake --build "$build" -j2 --target aquarium >/dev/null

work=$(mktemp -d "${TMPDIR:-/tmp}/aquarium-startup.XXXXXX")
pids=()
cleanup() {
  local p
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
g++ -O2 -shared -fPIC -o "$work/probe.so" tools/bench_startup_probe.cpp -ldl

Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 "${size}x24" 3>"$work/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 400); do grep -q '^[0-9]' "$work/display" 2>/dev/null && break; sleep 0.05; done
display=":$(head -1 "$work/display")"

# One start: the exec time (bash's clock, microseconds, read just before the
# exec) and the probe's steps, in one file for the program and the run.
start() {  # name run command...
  local name=$1 run=$2
  shift 2
  local steps="$work/steps-$name-$run"
  (
    export DISPLAY=$display BENCH_STARTUP_FILE="$steps" LD_PRELOAD="$work/probe.so"
    echo "$EPOCHREALTIME" >"$work/exec-$name-$run"
    exec "$@" >/dev/null 2>&1
  ) &
  local pid=$!
  pids+=("$pid")
  local waited=0
  until [ -f "$steps" ]; do
    sleep 0.02
    waited=$((waited + 1))
    if [ "$waited" -gt 1500 ] || ! kill -0 "$pid" 2>/dev/null; then
      echo "$name: no frame within 30 s" >&2
      break
    fi
  done
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  [ -f "$steps" ] || return 0
  # Nanoseconds since the exec, in shell arithmetic (awk's doubles would round
  # the clock's nanoseconds); the two totals stay as they are.
  local exec_ns=$(($(tr -d . <"$work/exec-$name-$run") * 1000)) step ns
  {
    echo "exec 0"
    while read -r step ns cpu; do
      case $step in
        *_ns) echo "$step $ns" ;;
        *) echo "$step $((ns - exec_ns)) $cpu" ;;
      esac
    done <"$steps"
  } >"$work/run-$name-$run"
}

if [ "$runs" = perf ]; then
  echo "aquarium -root at $size under perf record, $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
  start aquarium 1 perf record -q -e cpu-clock -c 100000 -o "$work/perf.data" -- \
    "$build/bin/aquarium" -root
  echo "CPU ms from the exec to the second frame, by library (all threads), and the saver's own functions:"
  perf report -i "$work/perf.data" --stdio -n --sort dso 2>/dev/null |
    awk '/^ +[0-9.]+%/ { printf "  %8.1f ms  %s\n", $2 / 10, $3 }' | head -15
  perf report -i "$work/perf.data" --stdio -n --sort sym --dsos aquarium 2>/dev/null |
    awk '/^ +[0-9.]+%/ { $1 = ""; n = $2; $2 = ""; $3 = ""; printf "  %8.1f ms  %s\n", n / 10, $0 }' |
    head -8
  exit 0
fi

for run in $(seq "$runs"); do
  start aquarium "$run" "$build/bin/aquarium" -root
  start atlantis "$run" "$hacks/atlantis" --root --delay 10000
  start glschool "$run" "$hacks/glschool" --root --delay 10000
done

# Per program: each step's time since the step before it that the program
# reached, the median over the runs, in milliseconds.
medians() {  # name
  cat "$work"/run-"$1"-* 2>/dev/null | awk '
    function median(list,   n, values, i, j, t) {
      n = split(list, values, " ")
      for (i = 2; i <= n; ++i)
        for (j = i; j > 1 && values[j - 1] + 0 > values[j] + 0; --j) {
          t = values[j]; values[j] = values[j - 1]; values[j - 1] = t
        }
      return n % 2 ? values[(n + 1) / 2] : (values[n / 2] + values[n / 2 + 1]) / 2
    }
    function add(step, ns) { took[step] = took[step] " " ns / 1e6 }
    function flush(   i, prev, own) {
      if (!("exec" in at)) return
      prev = at["exec"]
      for (i = 1; i <= count; ++i) {
        if (!(order[i] in at)) continue
        add(order[i], at[order[i]] - prev)
        prev = at[order[i]]
      }
      add("total", at["swap_returned"])
      add("dlopen", at["dlopen_ns"])
      add("wait", at["wait_ns"])
      add("draw2", at["swap_second"] - at["begin_second"])
      add("swap2", at["swap_second_returned"] - at["swap_second"])
      # Own code: before the display, between the display and GL, from the
      # context to the first glBegin less the timer wait, and an ordinary
      # frame'"'"'s drawing calls (the second frame'"'"'s, Mesa'"'"'s vertex work included).
      own = (at["display_open"] - at["main"]) + (at["glx_first"] - at["display_opened"]) \
          + (at["begin_first"] - at["context_current"] - at["wait_ns"])
      add("own_before", own)
      own += at["swap_second"] - at["begin_second"]
      add("own", own)
      # The same steps in the main thread'"'"'s CPU time, which other work on
      # the machine does not stretch (waiting takes none).
      add("cpu_own_before", (cpu["display_open"] - cpu["main"]) \
          + (cpu["glx_first"] - cpu["display_opened"]) \
          + (cpu["begin_first"] - cpu["context_current"]))
      add("cpu_own", (cpu["display_open"] - cpu["main"]) \
          + (cpu["glx_first"] - cpu["display_opened"]) \
          + (cpu["begin_first"] - cpu["context_current"]) \
          + (cpu["swap_second"] - cpu["begin_second"]))
      add("cpu_total", cpu["swap_returned"])
      add("rest", at["swap_returned"] - own - at["wait_ns"])
      delete at
      delete cpu
    }
    BEGIN {
      count = split("loaded main display_open display_opened glx_first glx_first_returned " \
                    "context_created context_current texture_first texture_last begin_first " \
                    "swap_first swap_returned", order, " ")
    }
    $1 == "exec" { flush() }
    { at[$1] = $2; cpu[$1] = $3 }
    END {
      flush()
      for (step in took) printf "%s %.1f\n", step, median(took[step])
    }'
}

for name in aquarium atlantis glschool; do medians "$name" >"$work/median-$name"; done
value() {  # name step
  awk -v s="$2" '$1 == s { print $2; found = 1 } END { if (!found) print "-" }' "$work/median-$1"
}

echo "$runs runs at $size, $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)," \
  "medians in ms (a step a program does not reach shows -)"
echo "| step (time since the step before) | aquarium | atlantis | glschool |"
echo "|---|---:|---:|---:|"
row() {  # label step [saver only]
  if [ -n "${3:-}" ]; then
    printf '| %s | %s | | |\n' "$1" "$(value aquarium "$2")"
  else
    printf '| %s | %s | %s | %s |\n' "$1" "$(value aquarium "$2")" "$(value atlantis "$2")" \
      "$(value glschool "$2")"
  fi
}
row "exec to libraries loaded (dynamic loader)" loaded
row "library constructors to main()" main
row "main() to XOpenDisplay (options, signals)" display_open
row "XOpenDisplay" display_opened
row "display to the first GLX (EGL) call (window)" glx_first
row "the first GLX (EGL) call: the GL driver loaded" glx_first_returned
row "GL context created (configs, drawable, context)" context_created
row "context made current" context_current
row "scene bodies and GL state (to the first glTexImage2D)" texture_first
row "textures uploaded" texture_last
row "to the first glBegin (mapping, first timer tick)" begin_first
row "first frame drawn (first glBegin to the swap)" swap_first
row "first swap" swap_returned
row "**exec to the first frame presented**" total
row "main thread's CPU time from the exec to the first frame presented" cpu_total
row "of which: dlopen after main() (the GL driver)" dlopen
row "of which: waiting in poll/select for the first frame's timer tick" wait
row "for comparison: the second frame drawn (glBegin to the swap)" draw2 saver
row "for comparison: the second swap" swap2 saver
row "the program's own share before its first glBegin" own_before saver
row "**the program's own share**, with an ordinary frame's drawing (see the header)" own saver
row "the same two in the main thread's CPU time: before the first glBegin" cpu_own_before saver
row "the same two in the main thread's CPU time: **with an ordinary frame's drawing**" cpu_own saver
row "the rest: loader, libraries, driver, context, first-frame compile and raster" rest saver
