#!/usr/bin/env bash
# End-to-end tests of the Windows saver under Wine, on a private Xvfb display
# (1280x720, 24 bits) and a private Wine prefix under <work root>, shared by
# every case of the run. Every check waits for what it looks for, up to a
# deadline generous enough for a busy machine, and prints "ok NAME" or
# "FAIL NAME"; nothing is left running afterwards.
#
# usage: wine_e2e.sh <work root> <aquarium.scr> <preview parent .exe> <bitmap check .exe>
set -uo pipefail

root=$1 scr=$2 parent_exe=$3 bitmap_exe=$4
mkdir -p "$root"
run=$(mktemp -d "$(realpath "$root")/run.XXXXXX")
export WINEPREFIX=$run/prefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
Deadline=30  # seconds any awaited condition may take
xvfb_pid=

stop_all() {
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
    if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; fi
    rm -rf "$WINEPREFIX"
}
trap stop_all EXIT

failed=()
pass() { echo "ok   $1"; }
fail() { echo "FAIL $1${2:+: $2}"; failed+=("$1"); }
now_ms() { echo $(($(date +%s%N) / 1000000)); }
shot() { xwd -root -silent | convert xwd:- "png:$run/$1.png"; }

poll_until() {  # command...: true once the command succeeds, false at the deadline
    local end=$((SECONDS + Deadline))
    until "$@"; do
        [ "$SECONDS" -lt "$end" ] || return 1
        sleep 0.05
    done
}

ended() { ! kill -0 "$1" 2>/dev/null; }

# Waits for process $1 to end; its status in $status, or 124 at the deadline.
wait_exit() {
    if poll_until ended "$1"; then wait "$1"; status=$?; else status=124; fi
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

# True when a new shot NAME.png shows the full-screen tank, always there: the
# frame's grey at its left, right and top edges and the pale floor.
shows_tank() {  # name
    shot "$1"
    read -r floor_mean floor_sd floor_min _ <<<"$(region_stats "$1" 500x60+400+650)"
    has_frame_grey "$1" 13x1+240+300 && has_frame_grey "$1" 13x1+1027+300 &&
        has_frame_grey "$1" 1x13+640+157 && [ "$floor_mean" -gt 180 ]
}

# The tank with the floor's pattern, black outside it, and fish: where they
# swim depends on the clock, so of several shots one must show them.
shows_aquarium() {  # name
    shows_tank "$1" || { picture="no tank frame or floor"; return 1; }
    read -r _ _ _ outside_max <<<"$(region_stats "$1" 200x250+20+220)"
    fish=$(coloured_pixels "$1" 780x380+250+168)
    picture="floor sd $floor_sd min $floor_min, outside max $outside_max, $fish fish pixels"
    [ "$floor_sd" -gt 8 ] && [ "$floor_min" -lt 200 ] && [ "$outside_max" -le 10 ] &&
        [ "$fish" -gt 150 ]
}

# Waits until the screen has changed twice: the saver has drawn on, and read
# its messages in between.
screen_changed() { xwd -root -silent >"$run/now.xwd"; ! cmp -s "$run/now.xwd" "$run/before.xwd"; }
screen_changes() {
    xwd -root -silent >"$run/now.xwd"
    for _ in 1 2; do mv "$run/now.xwd" "$run/before.xwd"; poll_until screen_changed || return 1; done
}

# Starts "aquarium.scr /s" with the pointer at the centre, its wine process id
# in $saver; true once it has drawn the tank (so input now goes to the saver)
# or ended.
drawn_or_ended() { ended "$saver" || shows_tank first; }
start_full_screen() {
    xdotool mousemove 640 360
    wine "$scr" /s 2>/dev/null &
    saver=$!
    poll_until drawn_or_ended
}

# xev reports the maps of top-level windows once the server shows its
# interest in the root's substructure. A probe window mapped afterwards, once
# reported, shows that every map before it is in the log.
listening() { xwininfo -root -events | grep -q SubstructureNotify; }
probe_maps() { grep -c "window $probe, override" "$run/xev.log"; }
probe_mapped() { [ "$(probe_maps)" -ge "$1" ]; }
maps_not_probe() { grep 'window 0x[0-9a-f]*, override' "$run/xev.log" | grep -vc "window $probe,"; }

# --- start Xvfb and the prefix
Xvfb -displayfd 3 -screen 0 1280x720x24 -noreset -nolisten tcp 3>"$run/display" 2>"$run/xvfb.log" &
xvfb_pid=$!
poll_until grep -q '^[0-9]' "$run/display" || { echo "Xvfb did not start"; exit 1; }
export DISPLAY=:$(head -n1 "$run/display")
wineboot --init >"$run/wineboot.log" 2>&1
# Unmanaged windows: no window manager to wait for when a window closes.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1

# --- the eight bitmaps, loaded from the resources, match the portable decoder's
if wine "$bitmap_exe" >"$run/bitmaps.log" 2>/dev/null; then pass "bitmaps 101..108 load as 64x64 RGB"; else
    cat "$run/bitmaps.log"; fail "bitmaps 101..108 load as 64x64 RGB"; fi
wine "$bitmap_exe" missing >/dev/null 2>&1
status=$?
[ "$status" = 1 ] && pass "a missing bitmap ends with status 1" || fail "a missing bitmap ends with status 1" "status $status"

# --- /s draws the aquarium; with no input it stays open
name="/s draws the tank frame, the floor pattern and the fish"
if ! start_full_screen || ended "$saver"; then
    fail "$name" "no tank ($run/first.png)"
elif poll_until shows_aquarium fullscreen; then
    pass "$name"
else
    fail "$name" "$picture ($run/fullscreen.png)"
fi
screen_changes && ! ended "$saver" && pass "/s stays open without input" ||
    fail "/s stays open without input"
xdotool key Escape
wait_exit "$saver"

# --- a one-pixel move, a key and each button end it with status 0
for input in "mousemove_relative 1 0" "mousemove_relative 0 -1" "key x" "key shift" "click 1" "click 2" "click 3"; do
    if ! start_full_screen; then
        fail "$input closes it" "no tank drawn before the input ($run/first.png)"
    elif ended "$saver"; then
        wait "$saver"
        fail "$input closes it" "the saver ended with status $? before the input"
    else
        start=$(now_ms)
        # shellcheck disable=SC2086  # the words are xdotool's arguments
        xdotool $input
        wait_exit "$saver"
        took=$(($(now_ms) - start))
        [ "$status" = 0 ] && pass "$input closes it (in $took ms)" ||
            fail "$input closes it" "status $status after $took ms"
    fi
    kill "$saver" 2>/dev/null
    wait "$saver" 2>/dev/null
done

# --- password and bad preview command lines exit 0, mapping nothing (Settings has its own test)
xev -root -event substructure >"$run/xev.log" 2>&1 &
xev_pid=$!
poll_until listening || echo "xev does not listen"
xev -geometry 8x8+0+0 >"$run/probe.log" 2>&1 &
probe_pid=$!
poll_until grep -q '^Outer window is' "$run/probe.log"
probe=$(sed -n 's/^Outer window is \(0x[0-9a-f]*\),.*/\1/p' "$run/probe.log")
poll_until probe_mapped 1
for args in "/p 0" "/p:1234" "/a" "/p 99999"; do
    xdotool windowunmap --sync "$probe"
    seen=$(probe_maps) others=$(maps_not_probe)
    # shellcheck disable=SC2086  # the arguments split on purpose
    wine "$scr" $args 2>/dev/null &
    pid=$!
    wait_exit "$pid"
    xdotool windowmap "$probe"
    name="'$args' exits 0, no window"
    if ! poll_until probe_mapped $((seen + 1)); then
        fail "$name" "xev never reported the probe window"
    else
        maps=$(($(maps_not_probe) - others))
        [ "$status" = 0 ] && [ "$maps" = 0 ] && pass "$name" ||
            fail "$name" "status $status, $maps windows mapped"
    fi
    kill "$pid" 2>/dev/null
done
kill "$xev_pid" "$probe_pid"
wait "$xev_pid" "$probe_pid" 2>/dev/null

# --- /p HWND runs under a parent window through input and ends with it
rm -f "$run/go"
wine "$parent_exe" "$(realpath "$scr")" "Z:$run/go" >"$run/preview.log" 2>/dev/null &
pid=$!
poll_until grep -qs "preview running" "$run/preview.log"
xdotool mousemove 260 220 mousemove_relative 1 0 key x click 1 mousemove 200 200
touch "$run/go"
# The parent waits up to 30 s for the preview's window and for its end each.
Deadline=90 wait_exit "$pid"
[ "$status" = 0 ] && pass "/p HWND runs through input and ends with its parent" ||
    fail "/p HWND runs through input and ends with its parent" \
        "parent status $status: $(tr '\n' ' ' <"$run/preview.log")"

stop_all
trap - EXIT
echo "${#failed[@]} failed${failed[*]:+: $(printf '"%s" ' "${failed[@]}")}"
if [ ${#failed[@]} = 0 ]; then rm -rf "$run"; else echo "pictures and logs kept in $run"; fi
[ ${#failed[@]} = 0 ]
