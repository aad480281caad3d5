#!/usr/bin/env bash
# Measures the Windows saver under Wine on Xvfb (1280x720, llvmpipe): frames
# a second, CPU milliseconds a frame of the saver's process, wineserver and
# the X server, time from start to the first frame on screen, and peak memory.
# Frames are counted from Wine's wgl trace of SwapBuffers.
#   tools/measure-wine.sh [seconds]   (needs the windows preset built)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-10}
scr=$PWD/build/windows/bin/aquarium.scr
mkdir -p build/windows/wine-tests
run=$(mktemp -d "$PWD/build/windows/wine-tests/measure.XXXXXX")
export WINEPREFIX=$run/prefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
xvfb_pid=
cleanup() {
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$run"
}
trap cleanup EXIT
Xvfb -displayfd 3 -screen 0 1280x720x24 -noreset -nolisten tcp 3>"$run/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$run/display" ] && break; sleep 0.1; done
export DISPLAY=:$(head -n1 "$run/display")
wineboot --init >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
# Start wineserver's helpers once, so the run below measures the saver alone.
wine cmd /c exit >/dev/null 2>&1

ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
now_ms() { echo $(($(date +%s%N) / 1000000)); }
hz=$(getconf CLK_TCK)

xdotool mousemove 640 360
start=$(now_ms)
WINEDEBUG=-all,trace+wgl wine "$scr" /s 2>"$run/trace.log" &
wine_pid=$!
# The first SwapBuffers in the trace, then the first frame on screen (the
# floor's pale pattern showing), each within 60 s.
until grep -q wglSwapBuffers "$run/trace.log" 2>/dev/null; do
    [ $(($(now_ms) - start)) -lt 60000 ] || { echo "no SwapBuffers within 60 s" >&2; exit 1; }
    sleep 0.02
done
swapped=$(($(now_ms) - start))
until [ "$(xwd -root -silent | convert xwd:- -crop 1x1+640+700 -format '%[fx:int(255*r)]' info:)" -gt 100 ]; do
    [ $(($(now_ms) - start)) -lt 60000 ] || { echo "no frame on screen within 60 s" >&2; exit 1; }
    sleep 0.05
done
first=$(($(now_ms) - start))
sleep 2
# The wineserver of this prefix, not another run's (Debian's is wineserver64):
# it works in a folder named after the prefix's device and inode.
server_dir=server-$(printf '%x-%x' "$(stat -c %d "$WINEPREFIX")" "$(stat -c %i "$WINEPREFIX")")
server_pid=
for p in $(pgrep wineserver); do
    case $(readlink "/proc/$p/cwd" 2>/dev/null) in */"$server_dir") server_pid=$p ;; esac
done
[ -n "$server_pid" ] || { echo "no wineserver for $WINEPREFIX" >&2; exit 1; }
frames0=$(grep -c wglSwapBuffers "$run/trace.log" || true)
cpu0=$(($(ticks "$wine_pid") + $(ticks "$xvfb_pid") + $(ticks "$server_pid")))
app0=$(ticks "$wine_pid") x0=$(ticks "$xvfb_pid")
sleep "$seconds"
frames1=$(grep -c wglSwapBuffers "$run/trace.log" || true)
app1=$(ticks "$wine_pid") x1=$(ticks "$xvfb_pid")
cpu1=$(($(ticks "$wine_pid") + $(ticks "$xvfb_pid") + $(ticks "$server_pid")))
peak=$(awk '/VmHWM/ { print $2 }' "/proc/$wine_pid/status")
xdotool key Escape
wait "$wine_pid" || true
frames=$((frames1 - frames0))
echo "frames a second:           $(awk -v f=$frames -v s=$seconds 'BEGIN { printf "%.1f", f / s }')"
echo "CPU ms a frame, all three: $(awk -v c=$((cpu1 - cpu0)) -v f=$frames -v h=$hz 'BEGIN { printf "%.2f", c * 1000 / h / f }')"
echo "  saver process:           $(awk -v c=$((app1 - app0)) -v f=$frames -v h=$hz 'BEGIN { printf "%.2f", c * 1000 / h / f }')"
echo "  X server:                $(awk -v c=$((x1 - x0)) -v f=$frames -v h=$hz 'BEGIN { printf "%.2f", c * 1000 / h / f }')"
echo "start to first SwapBuffers: $swapped ms"
echo "start to first frame seen: $first ms (by polling screenshots)"
echo "peak memory (VmHWM):       $((peak / 1024)) MB"
echo "load (1, 5, 15 min):       $(cut -d' ' -f1-3 /proc/loadavg)"
