#!/usr/bin/env bash
# End-to-end tests of the Windows saver under Wine, on a private Xvfb display
# (1280x720, 24 bits) and a private Wine prefix under <work root>, shared by
# every case of the run. Nothing is left running afterwards.
#
# usage: wine_e2e.sh <work root> <aquarium.scr> <preview parent .exe> <bitmap check .exe>
set -uo pipefail

root=$1 scr=$2 parent_exe=$3 bitmap_exe=$4
mkdir -p "$root"
run=$(mktemp -d "$(realpath "$root")/run.XXXXXX")
export WINEPREFIX=$run/prefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
xvfb_pid=

stop_all() {
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
    if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; fi
    rm -rf "$WINEPREFIX"
}
trap stop_all EXIT

failures=0
pass() { echo "ok   $1"; }
fail() { echo "FAIL $1"; failures=$((failures + 1)); }
now_ms() { echo $(($(date +%s%N) / 1000000)); }
shot() { xwd -root -silent | convert xwd:- "png:$run/$1.png"; }

# Waits up to $2 ms for process $1 to end; its status in $status, or 124.
wait_exit() {
    local deadline=$(($(now_ms) + $2))
    while kill -0 "$1" 2>/dev/null; do
        if [ "$(now_ms)" -ge "$deadline" ]; then status=124; return; fi
        sleep 0.02
    done
    wait "$1"
    status=$?
}

saver_visible() { xdotool search --onlyvisible --name '^SCREENSAVER$' >/dev/null 2>&1; }

# Starts "aquarium.scr /s" with the pointer at the centre and waits until its
# window is mapped and has drawn for a second; the wine process id in $saver.
start_full_screen() {
    xdotool mousemove 640 360
    sleep 0.3
    wine "$scr" /s 2>/dev/null &
    saver=$!
    for _ in $(seq 300); do saver_visible && break; sleep 0.1; done
    sleep 1
}

# True when the strip has a pixel of the tank frame's grey (r = g = b, 60..160).
has_frame_grey() {
    convert "$run/$1.png" -crop "$2" +repage txt:- |
        awk -F'[(),]+' 'NR > 1 && $3 == $4 && $4 == $5 && $3 >= 60 && $3 <= 160 { f = 1 } END { exit !f }'
}

# Prints "mean sd min max" (0..255, all channels) of a region.
region_stats() {
    convert "$run/$1.png" -crop "$2" +repage -format \
        '%[fx:int(255*mean)] %[fx:int(255*standard_deviation)] %[fx:int(255*minima)] %[fx:int(255*maxima)]' info:
}

# Pixels of the region whose chroma (max - min of r, g, b) is over 40%.
coloured_pixels() {
    convert "$run/$1.png" -crop "$2" +repage -colorspace HCL -channel G -separate +channel \
        -threshold 40% -format '%[fx:int(mean*w*h)]' info:
}

# --- start Xvfb and the prefix
Xvfb -displayfd 3 -screen 0 1280x720x24 -noreset -nolisten tcp 3>"$run/display" 2>"$run/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$run/display" ] && break; sleep 0.1; done
[ -s "$run/display" ] || { echo "Xvfb did not start"; exit 1; }
export DISPLAY=:$(head -n1 "$run/display")
wineboot --init >"$run/wineboot.log" 2>&1
# Unmanaged windows: no window manager to wait for when a window closes.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1

# --- the eight bitmaps, loaded from the resources, match the portable decoder's
if wine "$bitmap_exe" >"$run/bitmaps.log" 2>/dev/null; then pass "bitmaps 101..108 load as 64x64 RGB"; else
    cat "$run/bitmaps.log"; fail "bitmaps 101..108 load as 64x64 RGB"; fi
wine "$bitmap_exe" missing >/dev/null 2>&1
status=$?
[ "$status" = 1 ] && pass "a missing bitmap ends with status 1" || fail "a missing bitmap ends with status $status, not 1"

# --- /s draws the aquarium; with no input it stays open
start_full_screen
shot fullscreen
sleep 2
if kill -0 "$saver" 2>/dev/null; then pass "/s stays open without input"; else fail "/s ended without input"; fi
read -r floor_mean floor_sd floor_min _ <<<"$(region_stats fullscreen 500x60+400+650)"
read -r _ _ _ outside_max <<<"$(region_stats fullscreen 200x250+20+220)"
fish=$(coloured_pixels fullscreen 780x380+250+168)
if has_frame_grey fullscreen 13x1+240+300 && has_frame_grey fullscreen 13x1+1027+300 &&
    has_frame_grey fullscreen 1x13+640+157 && [ "$floor_mean" -gt 180 ] && [ "$floor_sd" -gt 8 ] &&
    [ "$floor_min" -lt 200 ] && [ "$outside_max" -le 10 ] && [ "$fish" -gt 150 ]; then
    pass "/s draws the tank frame, the floor pattern and the fish"
else
    fail "/s picture: floor mean $floor_mean sd $floor_sd min $floor_min, outside max $outside_max, $fish fish pixels ($run/fullscreen.png)"
fi
xdotool key Escape
wait_exit "$saver" 2000

# --- a one-pixel move, a key and each button end it with status 0 within a second
for input in "mousemove_relative 1 0" "mousemove_relative 0 -1" "key x" "key shift" "click 1" "click 2" "click 3"; do
    start_full_screen
    if ! kill -0 "$saver" 2>/dev/null; then
        wait "$saver"
        fail "$input: the saver ended with status $? before the input"
        continue
    fi
    start=$(now_ms)
    xdotool $input
    wait_exit "$saver" 1000
    took=$(($(now_ms) - start))
    [ "$status" = 0 ] && pass "$input closes it in $took ms" || fail "$input: status $status after $took ms"
    kill "$saver" 2>/dev/null
    wait "$saver" 2>/dev/null
done

# --- password and bad preview command lines exit 0 at once, mapping nothing
for args in "/p 0" "/p:1234" "/a" "/p 99999"; do
    xev -root -event substructure >"$run/xev.log" 2>&1 &
    xev_pid=$!
    sleep 0.3
    # shellcheck disable=SC2086  # the arguments split on purpose
    wine "$scr" $args 2>/dev/null &
    pid=$!
    wait_exit "$pid" 5000
    sleep 0.3
    kill "$xev_pid"
    wait "$xev_pid" 2>/dev/null
    maps=$(grep -c MapNotify "$run/xev.log")
    [ "$status" = 0 ] && [ "$maps" = 0 ] && pass "'$args' exits 0 at once, no window" ||
        fail "'$args': status $status, $maps windows mapped"
    kill "$pid" 2>/dev/null
done

# --- /p HWND runs under a parent window through input and ends with it
rm -f "$run/go"
wine "$parent_exe" "$(realpath "$scr")" "Z:$run/go" >"$run/preview.log" 2>/dev/null &
pid=$!
for _ in $(seq 300); do grep -q "preview running" "$run/preview.log" && break; sleep 0.1; done
xdotool mousemove 260 220 mousemove_relative 1 0 key x click 1 mousemove 200 200
touch "$run/go"
wait_exit "$pid" 15000
[ "$status" = 0 ] && pass "/p HWND runs through input and ends with its parent" ||
    fail "/p HWND: parent status $status: $(tr '\n' ' ' <"$run/preview.log")"

stop_all
trap - EXIT
echo "$failures failed"
if [ "$failures" = 0 ]; then rm -rf "$run"; else echo "pictures and logs kept in $run"; fi
[ "$failures" = 0 ]
