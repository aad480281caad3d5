#!/usr/bin/env bash
# Soaks the real savers: runs them side by side for a given time and samples,
# every interval, each saver's resident memory, open descriptors, threads and
# CPU, the resident memory of its X server, and whether its screen changed.
# Four runs, each on an Xvfb of its own:
#   window    aquarium -window (1280x720)
#   wrap      aquarium -root on 480x270, its tick count starting two minutes
#             before the 2^32 wrap (libfaketime moves the clocks it reads)
#   calendar  aquarium -root on 480x270, the calendar two minutes before
#             2038-01-19 03:14:08 UTC, set back an hour halfway through
#   wine      aquarium.scr /s under Wine on 640x360 (with the windows preset built)
# At the end a key closes the window and the .scr (each must exit 0), SIGTERM
# ends the others (exit 0 too). The run fails when, after a warm-up, resident
# memory (the saver's or its X server's) grows beyond noise: the least value of
# the last quarter above the greatest of the first quarter by more than
# max(4 MB, 3%); when descriptors or threads grow at all; when a saver stops
# drawing (under 1% CPU in an interval, or a screen unchanged three samples in
# a row); or when a saver dies or closes wrongly.
# Samples (TSV), a summary and a plot (soak.png, gnuplot) go to the output
# folder.
#   bash tools/soak-saver.sh [seconds, default 3600] [output folder, default build/soak]
#   SOAK_INTERVAL=10 (seconds between samples), SOAK_RUNS="window wrap calendar wine"
set -uo pipefail
cd "$(dirname "$0")/.."
duration=${1:-3600}
out=$(realpath -m "${2:-build/soak}")
interval=${SOAK_INTERVAL:-10}
runs=${SOAK_RUNS:-window wrap calendar wine}
saver=$PWD/build/linux/bin/aquarium
scr=$PWD/build/windows/bin/aquarium.scr
faketime=/usr/lib/x86_64-linux-gnu/faketime/libfaketimeMT.so.1

case "$duration$interval" in *[!0-9]*) echo "seconds must be whole numbers" >&2; exit 2 ;; esac
[ -x "$saver" ] || { echo "build the linux preset first ($saver is missing)" >&2; exit 2; }
case " $runs " in *" wine "*) [ -f "$scr" ] || { echo "build the windows preset first" >&2; exit 2; } ;; esac
case "$runs" in *wrap*|*calendar*) [ -f "$faketime" ] || { echo "needs libfaketime" >&2; exit 2; } ;; esac
for tool in Xvfb xwd xdotool gnuplot; do
  command -v "$tool" >/dev/null || { echo "needs $tool" >&2; exit 2; }
done

mkdir -p "$out"
work=$(mktemp -d "${TMPDIR:-/tmp}/aquarium-soak.XXXXXX")
pids=()
wine_prefix=
cleanup() {
  local p
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  if [ -n "$wine_prefix" ]; then
    WINEPREFIX=$wine_prefix wineserver -k 2>/dev/null
    WINEPREFIX=$wine_prefix wineserver -w 2>/dev/null
  fi
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP
failures=0
events=  # gnuplot commands marking the moments the clocks jump
fail() { echo "FAIL: $*" | tee -a "$out/summary.txt" >&2; failures=$((failures + 1)); }

declare -A display xvfb pid kind
start_xvfb() {  # run size
  Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 "${2}x24" 3>"$work/display-$1" 2>/dev/null &
  xvfb[$1]=$!
  pids+=($!)
  local end=$((SECONDS + 30))
  until grep -q '^[0-9]' "$work/display-$1" 2>/dev/null; do
    [ $SECONDS -lt $end ] || { echo "Xvfb did not start" >&2; exit 1; }
    sleep 0.05
  done
  display[$1]=:$(head -1 "$work/display-$1")
}

faked_ms() {  # FAKETIME value: the monotonic clock in ms as a program under it reads it
  LD_PRELOAD=$faketime FAKETIME=$1 FAKETIME_NO_CACHE=1 python3 -c \
    'import time; print(int(time.clock_gettime(time.CLOCK_MONOTONIC) * 1000))'
}

marks=0
mark() {  # seconds text: a dashed line across each plot at that moment
  local y=$(( 95 - 8 * marks ))
  marks=$((marks + 1))
  events+="set arrow from $1/60.0, graph 0 to $1/60.0, graph 1 nohead dashtype 2 lc 'gray40';"
  events+="set label '$2' at $1/60.0, graph 0.$y offset 0.5,0 font ',8' tc 'gray40';"
}

start_run() {  # run
  local run=$1
  case $run in
    window)
      start_xvfb window 1280x720
      DISPLAY=${display[window]} "$saver" -window 2>"$out/$run.err" &
      ;;
    wrap)
      # Find the offset that puts the tick count (milliseconds modulo 2^32)
      # 120 s before the wrap, then check that the faked clock lands there.
      local lead=120000 wrap=4294967296 now offset tick
      now=$(faked_ms +0)
      offset=$(( ((wrap - lead - now % wrap) % wrap + wrap) % wrap / 1000 ))
      tick=$(( $(faked_ms "+$offset") % wrap ))
      if [ $((wrap - tick)) -gt $((lead + 5000)) ] || [ $((wrap - tick)) -lt $((lead - 5000)) ]; then
        echo "libfaketime did not move the monotonic clock (tick $tick)" >&2; exit 1
      fi
      echo "wrap: the tick count starts at $tick, $(( (wrap - tick) / 1000 )) s before the wrap" \
        | tee -a "$out/summary.txt"
      mark $(( (wrap - tick) / 1000 )) "tick count wraps"
      start_xvfb wrap 480x270
      DISPLAY=${display[wrap]} LD_PRELOAD=$faketime FAKETIME="+$offset" "$saver" -root \
        2>"$out/$run.err" &
      ;;
    calendar)
      local offset=$(( 2147483648 - 120 - $(date +%s) ))
      echo "+$offset" >"$work/calendar"
      echo "$offset" >"$work/calendar-offset"
      echo "calendar: starts at $(date -u -d "@$(( $(date +%s) + offset ))"), set back an hour" \
        "after $((duration / 2)) s" | tee -a "$out/summary.txt"
      mark 120 "calendar passes 2038-01-19 03:14:08"
      mark $((duration / 2)) "calendar set back an hour"
      start_xvfb calendar 480x270
      DISPLAY=${display[calendar]} LD_PRELOAD=$faketime FAKETIME_DONT_FAKE_MONOTONIC=1 \
        FAKETIME_TIMESTAMP_FILE=$work/calendar FAKETIME_CACHE_DURATION=1 "$saver" -root \
        2>"$out/$run.err" &
      ;;
    wine)
      start_xvfb wine 640x360
      wine_prefix=$work/wine
      export WINEPREFIX=$wine_prefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
      DISPLAY=${display[wine]} wineboot --init >/dev/null 2>&1
      DISPLAY=${display[wine]} wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ \
        /d N /f >/dev/null 2>&1
      DISPLAY=${display[wine]} xdotool mousemove 320 180
      DISPLAY=${display[wine]} wine "$scr" /s 2>"$out/$run.err" &
      ;;
    *) echo "unknown run $run" >&2; exit 2 ;;
  esac
  pid[$run]=$!
  pids+=($!)
  echo -e "seconds\trss_kb\tfds\tthreads\tcpu_ms\txserver_rss_kb\tscreen_changed" >"$out/$run.tsv"
}

hz=$(getconf CLK_TCK)
cpu_ms() { awk -v h="$hz" '{ sub(/.*\) /, ""); print int(($12 + $13) * 1000 / h) }' "/proc/$1/stat"; }
status_kb() { awk -v f="$2:" '$1 == f { print $2 }' "/proc/$1/status"; }
declare -A last_shot
sample() {  # run seconds
  local run=$1 p=${pid[$1]} shot changed=1
  [ -d "/proc/$p" ] || return 1
  shot=$(DISPLAY=${display[$run]} xwd -root -silent | md5sum)
  [ "$shot" = "${last_shot[$run]:-}" ] && changed=0
  last_shot[$run]=$shot
  echo -e "$2\t$(status_kb "$p" VmRSS)\t$(ls "/proc/$p/fd" | wc -l)\t$(status_kb "$p" Threads)\t$(cpu_ms "$p")\t$(status_kb "${xvfb[$run]}" VmRSS)\t$changed" \
    >>"$out/$run.tsv"
}

: >"$out/summary.txt"
echo "soak of $runs for $duration s, a sample every $interval s, started $(date -u)" \
  | tee -a "$out/summary.txt"
for run in $runs; do start_run "$run"; done
start=$SECONDS
set_back=0
declare -A dead
while [ $((SECONDS - start)) -lt "$duration" ]; do
  sleep "$interval"
  elapsed=$((SECONDS - start))
  for run in $runs; do
    [ -n "${dead[$run]:-}" ] && continue
    sample "$run" "$elapsed" || { dead[$run]=1; fail "$run: the saver died after $elapsed s"; }
  done
  if [ $set_back = 0 ] && [ $elapsed -ge $((duration / 2)) ] && [ -f "$work/calendar" ]; then
    echo "+$(( $(cat "$work/calendar-offset") - 3600 ))" >"$work/calendar"
    set_back=1
  fi
done

# Close them as a user (or the daemon) would, and check each ends cleanly.
for run in $runs; do
  [ -n "${dead[$run]:-}" ] && continue
  case $run in
    window|wine) DISPLAY=${display[$run]} xdotool key Escape ;;
    *) kill -TERM "${pid[$run]}" ;;
  esac
done
for run in $runs; do
  [ -n "${dead[$run]:-}" ] && continue
  end=$((SECONDS + 60))
  while [ -d "/proc/${pid[$run]}" ] && [ $SECONDS -lt $end ]; do sleep 0.1; done
  if [ -d "/proc/${pid[$run]}" ]; then
    fail "$run: still running 60 s after it was told to close"
  else
    wait "${pid[$run]}"
    status=$?
    [ $status = 0 ] || fail "$run: exited with $status"
  fi
done

# Mesa compiles new variants of its drawing code as the scene shows new
# states, for the first minutes; a leak shows after that.
short=$(( duration / 4 < 300 ? duration / 4 : 300 ))
warmup=$(( duration / 10 > short ? duration / 10 : short ))
for run in $runs; do
  verdict=$(awk -F'\t' -v run="$run" -v warm="$warmup" -v interval="$interval" '
    NR == 1 || $1 < warm { if (NR > 1) { cpu = $5 }; next }
    { n++; t[n] = $1; rss[n] = $2; fds[n] = $3; thr[n] = $4; xrss[n] = $6
      if (cpu != "" && ($5 - cpu) < interval * 10) stalls++
      cpu = $5
      same = $7 == 0 ? same + 1 : 0; if (same >= 3) frozen = 1 }
    function grew(v, label,    q, i, early, late, slack) {
      q = int(n / 4); if (q < 1) return ""
      early = v[1]; for (i = 1; i <= q; i++) if (v[i] > early) early = v[i]
      late = v[n]; for (i = n - q + 1; i <= n; i++) if (v[i] < late) late = v[i]
      slack = early * 0.03 > 4096 ? early * 0.03 : 4096
      return late > early + slack ? sprintf("%s grew from %d to %d kB; ", label, early, late) : ""
    }
    function rose(v, label,    q, i, early, late) {
      q = int(n / 4); if (q < 1) return ""
      early = v[1]; for (i = 1; i <= q; i++) if (v[i] > early) early = v[i]
      late = v[n]; for (i = n - q + 1; i <= n; i++) if (v[i] > late) late = v[i]
      return late > early ? sprintf("%s rose from %d to %d; ", label, early, late) : ""
    }
    END {
      if (n < 4) { print "FAIL too few samples after the warm-up"; exit }
      bad = grew(rss, "resident memory") grew(xrss, "X server memory") rose(fds, "descriptors") \
        rose(thr, "threads")
      if (stalls) bad = bad sprintf("under 1%% CPU in %d intervals; ", stalls)
      if (frozen) bad = bad "the screen stood still for three samples; "
      printf "%s %s: %d samples after %d s; resident %d..%d kB, X server %d kB, %d descriptors, " \
        "%d threads\n", bad == "" ? "ok" : "FAIL", run, n, warm, rss[1], rss[n], xrss[n], fds[n], \
        thr[n]
      if (bad != "") print "  " bad
    }' "$out/$run.tsv")
  echo "$verdict" | tee -a "$out/summary.txt"
  case $verdict in FAIL*) failures=$((failures + 1)) ;; esac
done

# The curves: resident memory of each saver and its X server, and CPU.
plots_rss= plots_x= plots_cpu=
for run in $runs; do
  f="'$out/$run.tsv'"
  plots_rss+="$f using (\$1/60):(\$2/1024) with lines title '$run',"
  plots_x+="$f using (\$1/60):(\$6/1024) with lines title '$run',"
  plots_cpu+="$f using (\$1/60):(dt=\$1-t0, dc=\$5-c0, t0=\$1, c0=\$5, dt>0 ? dc/dt/10 : 1/0)"
  plots_cpu+=" with lines title '$run',"
done
gnuplot <<EOF
set terminal pngcairo size 1000,900 font ",10"
set output '$out/soak.png.tmp'
set datafile separator '\t'
set key autotitle columnhead outside right
set xlabel 'minutes'
$events
set multiplot layout 3,1 title "Soak of the savers, a sample every $interval s ($(date -u +%Y-%m-%d))"
set ylabel 'saver resident MB'
plot ${plots_rss%,}
set ylabel 'X server resident MB'
plot ${plots_x%,}
set ylabel 'CPU % of a core'
t0 = 1e9; c0 = 0  # no point for the first sample: CPU since start-up
plot ${plots_cpu%,}
unset multiplot
EOF
mv "$out/soak.png.tmp" "$out/soak.png"
echo "samples, summary and soak.png in $out"
[ $failures = 0 ]
