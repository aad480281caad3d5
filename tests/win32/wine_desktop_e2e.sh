#!/usr/bin/env bash
# The Windows saver on today's desktops.
#
#   wine_desktop_e2e.sh resources <work root> <aquarium.scr> <CPackConfig.cmake>
#     What Windows reads from the files before anything runs: the manifest
#     (DPI awareness, systems, rights) and the name in the .scr, and the zip's
#     README.txt with Windows line ends.
#   wine_desktop_e2e.sh desktop <work root> <aquarium.scr> <preview parent .exe> <desktop driver .exe>
#     Under Wine on an Xephyr server with two 1280x720 Xinerama heads, nested
#     in a private Xvfb, with a private prefix under <work root>: a tank on
#     each monitor, the settings message, no frames while the display is off
#     or the preview is hidden, and the whole screen at a raised DPI. Nothing
#     is left running afterwards.
# shellcheck disable=SC2034  # variables read only inside check's conditions
set -uo pipefail

mode=$1 root=$2 scr=$3
mkdir -p "$root"
run=$(mktemp -d "$(realpath "$root")/desktop.XXXXXX")
failures=0
pass() { echo "ok   $1"; }
fail() { echo "FAIL $1"; failures=$((failures + 1)); }
# check NAME CONDITION: CONDITION is shell code, evaluated when check runs.
check() { if eval "$2"; then pass "$1"; else fail "$1"; fi; }
finish() {
    echo "$failures failed"
    if [ "$failures" = 0 ]; then rm -rf "$run"; else echo "pictures and logs kept in $run"; fi
    [ "$failures" = 0 ]
    exit
}

if [ "$mode" = resources ]; then
    cpack_config=$4
    # The manifest as Windows finds it: resource type 24 (RT_MANIFEST), id 1.
    manifest=$run/manifest.xml
    wrestool -x --raw --type=24 --name=1 "$scr" >"$manifest" 2>/dev/null
    check "the manifest is well-formed XML" 'xmllint --noout "$manifest" 2>/dev/null'
    value() { xmllint --xpath "string(//*[local-name()='$1' and namespace-uri()='$2']${3:-})" "$manifest" 2>/dev/null; }
    ns05=http://schemas.microsoft.com/SMI/2005/WindowsSettings
    ns16=http://schemas.microsoft.com/SMI/2016/WindowsSettings
    asm3=urn:schemas-microsoft-com:asm.v3
    os_ids=$(xmllint --xpath "//*[local-name()='supportedOS']/@Id" "$manifest" 2>/dev/null | tr -d ' ')
    check "per-monitor DPI aware (v2, then v1)" '[ "$(value dpiAwareness $ns16)" = "PerMonitorV2, PerMonitor" ]'
    check "the older DPI setting: true/pm" '[ "$(value dpiAware $ns05)" = true/pm ]'
    check "runs with the user's own rights" '[ "$(value requestedExecutionLevel $asm3 /@level)" = asInvoker ]'
    for os in "10 and 11:8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a" "8.1:1f676c76-80e1-4239-95bb-83d0f6d0da78" \
              "8:4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38" "7:35138b9a-5d96-4fbd-8e2d-a2440225f93a"; do
        check "knows Windows ${os%%:*}" 'grep -qi "Id=\"{${os#*:}}\"" <<<"$os_ids"'
    done
    # String 1 is the second entry of string block 1: a 16-bit length, then
    # that many UTF-16 code units.
    wrestool -x --raw --type=6 --name=1 "$scr" >"$run/strings.bin" 2>/dev/null
    length=$(od -An -tu2 -j2 -N2 "$run/strings.bin" | tr -d ' ')
    name=$(tail -c +5 "$run/strings.bin" | head -c $((${length:-0} * 2)) | iconv -f UTF-16LE -t UTF-8)
    check "string 1, the name in the saver list, is 'Aquarium'" '[ "$name" = Aquarium ]'
    # The zip as users get it.
    (cd "$run" && cpack -G ZIP --config "$cpack_config" -B "$run/zip" >cpack.log 2>&1)
    unzip -p "$run/zip/aquarium-windows.zip" README.txt >"$run/README.txt" 2>/dev/null
    bare_lf=$(grep -c $'[^\r]$\\|^$' "$run/README.txt")  # lines not ending in CR LF
    check "the zip's README.txt has CRLF line ends only" '[ -s "$run/README.txt" ] && [ "$bare_lf" = 0 ]'
    for words in "Extract All" '"Aquarium"' "64-bit Windows" "OpenGL" "Windows protected your PC" \
                 "Unknown publisher" "Run anyway" "options that you can set"; do
        check "README.txt says $words" 'grep -qF -- "$words" "$run/README.txt"'
    done
    finish
fi

parent_exe=$4 driver_exe=$5
export WINEPREFIX=$run/prefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# A copy named by this run, so that its processes can be told from another run's.
cp "$scr" "$run/aquarium.scr"
scr=$run/aquarium.scr
xvfb_pid='' xephyr_pid=''

stop_all() {
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
    local pid
    for pid in $xephyr_pid $xvfb_pid; do kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; done
    rm -rf "$WINEPREFIX"
}
trap stop_all EXIT

now_ms() { echo $(($(date +%s%N) / 1000000)); }
shot() { xwd -root -silent | convert xwd:- "png:$run/$1.png"; }

# Waits up to 20 s for process $1 to end; its status in $status, or 124.
wait_exit() {
    local deadline=$(($(now_ms) + 20000))
    while kill -0 "$1" 2>/dev/null; do
        if [ "$(now_ms)" -ge "$deadline" ]; then status=124; return; fi
        sleep 0.05
    done
    wait "$1"
    status=$?
}

# Starts an X server on a free display: "$@" is its command line, without
# -displayfd. The display in $display, the process in $server.
start_server() {
    "$@" -displayfd 3 3>"$run/display" 2>>"$run/servers.log" &
    server=$!
    for _ in $(seq 200); do [ -s "$run/display" ] && break; sleep 0.1; done
    [ -s "$run/display" ] || { echo "$1 did not start"; finish; }
    display=:$(head -n1 "$run/display")
    rm "$run/display"
}

# True when the strip has a pixel of the tank frame's grey (r = g = b, 60..160).
has_frame_grey() {
    convert "$run/$1.png" -crop "$2" +repage txt:- |
        awk -F'[(),]+' 'NR > 1 && $3 == $4 && $4 == $5 && $3 >= 60 && $3 <= 160 { f = 1 } END { exit !f }'
}

# True when the 1280x720 monitor at x offset $2 of screenshot $1 shows the
# tank as one monitor alone does: both side edges and the back's top edge of
# the frame, and the pale, patterned floor.
shows_tank() {
    local mean sd
    read -r mean sd <<<"$(convert "$run/$1.png" -crop "500x60+$(($2 + 400))+650" +repage \
        -format '%[fx:int(255*mean)] %[fx:int(255*standard_deviation)]' info:)"
    has_frame_grey "$1" "13x1+$(($2 + 240))+300" && has_frame_grey "$1" "13x1+$(($2 + 1027))+300" &&
        has_frame_grey "$1" "1x13+$(($2 + 640))+157" && [ "$mean" -gt 180 ] && [ "$sd" -gt 8 ]
}

# Polls screenshots for 30 s until both monitors show the tank; true if they did.
both_monitors_show_tank() {
    local deadline=$(($(now_ms) + 30000))
    while [ "$(now_ms)" -lt "$deadline" ]; do
        shot "$1"
        shows_tank "$1" 0 && shows_tank "$1" 1280 && return 0
        sleep 0.5
    done
    return 1
}

saver_geometry() {
    xwininfo -name SCREENSAVER 2>/dev/null | awk '/-geometry/ { print $2 }'
}

# Starts "aquarium.scr /s" with the pointer on the first monitor, Wine's wgl
# trace (one line a presented frame) in $run/$1.log; the process in $saver.
start_full_screen() {
    xdotool mousemove 640 360
    WINEDEBUG=-all,trace+wgl wine "$scr" /s 2>"$run/$1.log" &
    saver=$!
}

frames() { grep -c glxdrv_wglSwapBuffers "$1"; }

# Waits up to 20 s until trace $1 shows frames going on (drawing) or none for
# two seconds (resting); true if it did.
wait_frames() {
    local deadline=$(($(now_ms) + 20000)) before
    while [ "$(now_ms)" -lt "$deadline" ]; do
        before=$(frames "$1")
        sleep 2
        case $2 in
            drawing) [ "$(frames "$1")" -gt "$before" ] && return 0 ;;
            resting) [ "$(frames "$1")" = "$before" ] && return 0 ;;
        esac
    done
    return 1
}

# CPU milliseconds process $1 uses in the next $2 seconds.
cpu_ms() {
    local ticks hz
    hz=$(getconf CLK_TCK)
    ticks=$(awk '{ print $14 + $15 }' "/proc/$1/stat")
    sleep "$2"
    echo $((($(awk '{ print $14 + $15 }' "/proc/$1/stat") - ticks) * 1000 / hz))
}

# --- an Xephyr server with two heads side by side, nested in Xvfb
start_server Xvfb -screen 0 2560x720x24 -noreset -nolisten tcp
xvfb_pid=$server
DISPLAY=$display start_server Xephyr +xinerama -screen 1280x720 -screen 1280x720 -ac \
    -noreset -nolisten tcp
xephyr_pid=$server
export DISPLAY=$display
wineboot --init >"$run/wineboot.log" 2>&1
# Unmanaged windows: no window manager to wait for when a window closes. The
# monitors from Xinerama, as RandR sees only one here; Wine reads that at start.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\X11 Driver' /v UseXRandR /t REG_SZ /d N /f >/dev/null 2>&1
wineserver -k
wineserver -w

# --- Wine's loader reads both DPI settings from the manifest
WINEDEBUG=-all,trace+actctx wine "$scr" /p 0 2>"$run/actctx.log"
check "the loader reads per-monitor DPI awareness from the .scr" \
    'grep -q "got L\"dpiAwareness\" L\"PerMonitorV2, PerMonitor\"" "$run/actctx.log" &&
     grep -q "got L\"dpiAware\" L\"true/pm\"" "$run/actctx.log"'

# --- /s covers both monitors, a tank on each, and a one-pixel move ends it
start_full_screen two-heads
check "/s shows a whole tank on each of two monitors" 'both_monitors_show_tank two-heads'
check "/s covers the whole virtual screen: $(saver_geometry)" '[ "$(saver_geometry)" = 2560x720+0+0 ]'
xdotool mousemove_relative 1 0
wait_exit "$saver"
check "a one-pixel move ends it across two monitors: status $status" '[ "$status" = 0 ]'

# --- no frames while the display is off; dimmed counts as on; input still ends it.
# Wine never turns a display off: the driver sends the notice as Windows does.
start_full_screen display
both_monitors_show_tank display >/dev/null
pid=$(pgrep -f "${run##*/}.aquarium\.scr /s")
drawing_ms=$(cpu_ms "$pid" 4)
wine "$driver_exe" display 0
check "display off: no frames" 'wait_frames "$run/display.log" resting'
resting_ms=$(cpu_ms "$pid" 4)
echo "     CPU of the saver in 4 s: $drawing_ms ms drawing, $resting_ms ms at rest"
check "at rest, under a quarter of the CPU it draws with" '[ $((resting_ms * 4)) -lt "$drawing_ms" ]'
wine "$driver_exe" display 2
check "display dimmed: frames again" 'wait_frames "$run/display.log" drawing'
wine "$driver_exe" display 0
wait_frames "$run/display.log" resting
wine "$driver_exe" display 1
check "display on: frames again" 'wait_frames "$run/display.log" drawing'
wine "$driver_exe" display 0
wait_frames "$run/display.log" resting
xdotool mousemove_relative 0 -1
wait_exit "$saver"
check "a one-pixel move ends it while the display is off: status $status" '[ "$status" = 0 ]'

# --- no frames while the preview's window is hidden or minimised
rm -f "$run/go"
WINEDEBUG=-all,trace+wgl wine "$parent_exe" "$(winepath -w "$scr")" "Z:$run/go" \
    >"$run/preview.log" 2>"$run/preview-frames.log" &
pid=$!
for _ in $(seq 300); do grep -q "preview running" "$run/preview.log" && break; sleep 0.1; done
check "the preview draws" 'wait_frames "$run/preview-frames.log" drawing'
preview_pid=$(pgrep -f "aquarium\.scr /p" | head -n1)
for step in "0 hidden resting" "5 shown drawing" "6 minimised resting" "9 restored drawing"; do
    read -r show name expected <<<"$step"
    wine "$driver_exe" window Preview "$show"
    check "preview parent $name: $expected" 'wait_frames "$run/preview-frames.log" $expected'
    if [ "$expected" = resting ] && [ -n "$preview_pid" ]; then
        echo "     CPU of the preview in 4 s, $name: $(cpu_ms "$preview_pid" 4) ms"
    fi
done
touch "$run/go"
wait_exit "$pid"
check "the preview still ends with its parent: status $status" '[ "$status" = 0 ]'

# --- the settings say there is nothing to set
status=$(wine "$driver_exe" settings "$(winepath -w "$scr")" >/dev/null 2>&1; echo $?)
check "/c:HWND: a message box owned by HWND, the text, one OK; exit 0 (driver $status)" \
    '[ "$status" = 0 ]'
for args in "/c" "" "-C" "/c:1234"; do
    # shellcheck disable=SC2086  # the arguments split on purpose
    wine "$scr" $args 2>/dev/null &
    pid=$!
    box=
    for _ in $(seq 200); do
        box=$(xdotool search --onlyvisible --name '^Aquarium$' 2>/dev/null | head -n1)
        [ -n "$box" ] && break
        sleep 0.1
    done
    blue=0
    if [ -n "$box" ]; then
        eval "$(xdotool getwindowgeometry --shell "$box")"
        shot settings
        # The information icon is the only blue left of the text, below the title.
        blue=$(convert "$run/settings.png" -crop "80x$((HEIGHT - 22))+$X+$((Y + 22))" +repage txt:- |
            awk -F'[(),]+' 'NR > 1 && $5 > 150 && $5 > $3 + 60 { n++ } END { print n + 0 }')
        xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) key Return
    fi
    wait_exit "$pid"
    check "'$args': a box titled Aquarium with the information icon; Return, exit 0 (status $status)" \
        '[ -n "$box" ] && [ "$blue" -gt 20 ] && [ "$status" = 0 ]'
    kill "$pid" 2>/dev/null
done

# --- at 144 DPI, full screen still covers every physical pixel. Wine 8 takes
# LogPixels (programs read 144 DPI) but scales no program's windows, aware or
# not, so this guards the coverage; the manifest itself is checked above.
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
start_full_screen dpi
check "at 144 DPI, a tank on each monitor" 'both_monitors_show_tank dpi'
check "at 144 DPI, the window is the whole screen: $(saver_geometry)" \
    '[ "$(saver_geometry)" = 2560x720+0+0 ]'
xdotool click 1
wait_exit "$saver"
check "a click ends it at 144 DPI: status $status" '[ "$status" = 0 ]'

stop_all
trap - EXIT
finish
