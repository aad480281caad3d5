#!/usr/bin/env bash
# Measures the Windows saver under Wine on Xvfb (1280x720, llvmpipe): frames
# a second, CPU milliseconds a frame of the saver's process, wineserver and
# the X server, time from start to the first frame on screen, and peak memory.
# Frames are counted from Wine's wgl trace of SwapBuffers. With "one" or
# "two", the X server is an Xephyr nested in the Xvfb, with one 1280x720 head
# or two side by side (Xinerama, which Wine reads with UseXRandR off, so the
# saver sees two monitors and draws a tank on each); the X server's CPU is
# then Xephyr's and the Xvfb's together.
#   tools/measure-wine.sh [seconds] [one|two]   (needs the windows preset built)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-10}
heads=${2:-}
case $heads in
    "" | one | two) ;;
    *) echo "usage: $0 [seconds] [one|two]" >&2; exit 2 ;;
esac
scr=$PWD/build/windows/bin/aquarium.scr
mkdir -p build/windows/wine-tests
run=$(mktemp -d "$PWD/build/windows/wine-tests/measure.XXXXXX")
export WINEPREFIX=$run/prefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
xvfb_pid=
xephyr_pid=
cleanup() {
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    local p
    for p in $xephyr_pid $xvfb_pid; do kill "$p" 2>/dev/null && wait "$p" 2>/dev/null; done
    rm -rf "$run"
}
trap cleanup EXIT
await_display() {  # file
    for _ in $(seq 300); do [ -s "$1" ] && return; sleep 0.1; done
    echo "no X server after 30 s" >&2
    exit 1
}
screen=1280x720x24
[ -z "$heads" ] || screen=2600x800x24
Xvfb -displayfd 3 -screen 0 "$screen" -noreset -nolisten tcp 3>"$run/display" 2>/dev/null &
xvfb_pid=$!
await_display "$run/display"
export DISPLAY=:$(head -n1 "$run/display")
if [ -n "$heads" ]; then
    monitors=(-screen 1280x720)
    [ "$heads" = one ] || monitors+=(-screen 1280x720)
    Xephyr -displayfd 3 +xinerama "${monitors[@]}" -ac -noreset -nolisten tcp \
        3>"$run/heads" 2>/dev/null &
    xephyr_pid=$!
    await_display "$run/heads"
    export DISPLAY=:$(head -n1 "$run/heads")
fi
wineboot --init >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
[ -z "$heads" ] ||
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v UseXRandR /t REG_SZ /d N /f >/dev/null 2>&1
# Wine reads the settings when it starts: start it again, with a server that
# stays up until the cleanup ends it (one that quit a few seconds after its
# last client would make the saver's start pay for a new one), and start
# wineserver's helpers once, so the run below measures the saver alone.
wineserver -k
wineserver -w
wineserver -p
wine cmd /c exit >/dev/null 2>&1

ticks() {  # pids...: user + system clock ticks so far, all together
    local p total=0
    for p in "$@"; do total=$((total + $(awk '{ print $14 + $15 }' "/proc/$p/stat"))); done
    echo "$total"
}
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
cpu0=$(ticks "$wine_pid" $xvfb_pid $xephyr_pid "$server_pid")
app0=$(ticks "$wine_pid") x0=$(ticks $xvfb_pid $xephyr_pid)
sleep "$seconds"
frames1=$(grep -c wglSwapBuffers "$run/trace.log" || true)
app1=$(ticks "$wine_pid") x1=$(ticks $xvfb_pid $xephyr_pid)
cpu1=$(ticks "$wine_pid" $xvfb_pid $xephyr_pid "$server_pid")
peak=$(awk '/VmHWM/ { print $2 }' "/proc/$wine_pid/status")
xdotool key Escape
wait "$wine_pid" || true
frames=$((frames1 - frames0))
echo "X server:                  ${heads:+Xephyr, $heads 1280x720 head(s), in }Xvfb $screen"
echo "frames a second:           $(awk -v f=$frames -v s=$seconds 'BEGIN { printf "%.1f", f / s }')"
echo "CPU ms a frame, all three: $(awk -v c=$((cpu1 - cpu0)) -v f=$frames -v h=$hz 'BEGIN { printf "%.2f", c * 1000 / h / f }')"
echo "  saver process:           $(awk -v c=$((app1 - app0)) -v f=$frames -v h=$hz 'BEGIN { printf "%.2f", c * 1000 / h / f }')"
echo "  X server:                $(awk -v c=$((x1 - x0)) -v f=$frames -v h=$hz 'BEGIN { printf "%.2f", c * 1000 / h / f }')"
echo "start to first SwapBuffers: $swapped ms"
echo "start to first frame seen: $first ms (by polling screenshots)"
echo "peak memory (VmHWM):       $((peak / 1024)) MB"
echo "load (1, 5, 15 min):       $(cut -d' ' -f1-3 /proc/loadavg)"
