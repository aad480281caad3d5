#!/usr/bin/env bash
# End-to-end checks of the X11 saver on an Xvfb of the test's own (-displayfd
# picks a free display, so runs may overlap), driven by xdotool, with pixels
# read from screenshots.
# Usage: x11_saver_test.sh SAVER TEST_WINDOW_HELPER CASE
#   CASE: fullscreen close window preview window-id oneshot fps grab
set -uo pipefail
saver=$1 helper=$2 case=$3
work=$(mktemp -d "${TMPDIR:-/tmp}/aquarium-x11.XXXXXX")
pids=()

cleanup() {
  local p
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL ($case): $*" >&2
  [ -s "$work/saver.err" ] && sed 's/^/  saver: /' "$work/saver.err" >&2
  exit 1
}

start_xvfb() {  # WIDTHxHEIGHT
  Xvfb -displayfd 3 -noreset -retro -nolisten tcp -screen 0 "${1}x24" 3>"$work/display" \
    2>"$work/xvfb.log" &
  pids+=($!)
  local i
  for i in $(seq 200); do
    grep -q '^[0-9]' "$work/display" 2>/dev/null && break
    sleep 0.05
  done
  grep -q '^[0-9]' "$work/display" || fail "Xvfb did not start"
  export DISPLAY=":$(head -1 "$work/display")"
}

start_saver() {  # saver arguments
  "$saver" "$@" 2>>"$work/saver.err" &
  saver_pid=$!
  pids+=("$saver_pid")
}

running() {  # pid: alive and not yet a zombie
  local state
  state=$(awk '{ print $3 }' "/proc/$1/stat" 2>/dev/null) || return 1
  [ -n "$state" ] && [ "$state" != Z ]
}

expect_exit() {  # seconds what: the saver ends with status 0 within that time
  local deadline=$(( $(date +%s%N) + ${1%.*} * 1000000000 ))
  while running "$saver_pid"; do
    [ "$(date +%s%N)" -lt "$deadline" ] || fail "$2: still running after $1 s"
    sleep 0.02
  done
  wait "$saver_pid"
  local rc=$?
  [ "$rc" -eq 0 ] || fail "$2: exit status $rc"
}

expect_running() {  # what
  sleep 0.5
  running "$saver_pid" || fail "$1: the saver ended"
}

saver_window() {  # the saver's own mapped window, once it is there
  timeout 10 xdotool search --sync --onlyvisible --name '^Aquarium$' | head -1
}

shoot() {  # file [window]: a PNG of the root window (or of one window)
  if [ -n "${2:-}" ]; then xwd -silent -id "$2"; else xwd -silent -root; fi |
    convert xwd:- "png:$1" || fail "no screenshot"
}

# "count" of pixels in WxH+X+Y of a shot for which the fx expression holds.
count() {  # file geometry expression
  convert "$1" -crop "$2" +repage -fx "$3" -format '%[fx:round(mean*w*h)]' info:
}

# The aquarium as the camera first sees it, in a shot of W x H pixels with the
# picture at (X, Y): a grey line at the top of the tank's back wall, the pale
# floor at the bottom centre, and fish (strongly coloured pixels) in the tank.
check_aquarium() {  # file width height [x y]
  local f=$1 w=$2 h=$3 x=${4:-0} y=${5:-0}
  local grey="abs(r-g)<0.02 && abs(g-b)<0.02 && r>0.2 && r<0.8"
  local frame=$(count "$f" "3x$((h / 14))+$((x + w / 2 - 1))+$((y + h * 21 / 100))" "$grey")
  [ "$frame" -gt 0 ] || fail "no tank frame in $f"
  local floor=$(count "$f" "$((w / 4))x$((h / 40 + 1))+$((x + w * 3 / 8))+$((y + h * 96 / 100))" \
                "r>0.6 && g>0.6 && b>0.6")
  [ "$floor" -gt $(( w * (h / 40 + 1) / 8 )) ] || fail "no pale floor in $f ($floor)"
  # Chroma (max - min of r, g, b) above 0.4; -fx would be as exact, and slower.
  local fish=$(convert "$f" -crop "$((w * 5 / 8))x$((h * 9 / 16))+$((x + w * 3 / 16))+$((y + h * 5 / 24))" \
               +repage -colorspace HCL -channel G -separate +channel -threshold 40% \
               -format '%[fx:round(mean*w*h)]' info:)
  [ "$fish" -gt $(( w * h / 2000 )) ] || fail "no fish in $f ($fish coloured pixels)"
}

full_screen_until() {  # what, then the input that must close the saver
  local what=$1
  shift
  start_saver /s
  saver_window >/dev/null || fail "$what: no full-screen window"
  sleep 0.3  # the keyboard grab follows the map
  local before=$(date +%s%N)
  "$@"
  expect_exit 1 "$what"
  echo "$what closed the saver in $(( ($(date +%s%N) - before) / 1000000 )) ms"
}

helper_window() {  # a plain 400x300 window of another client, at (100, 80)
  "$helper" parent 100 80 400 300 >"$work/parent" &
  helper_pid=$!
  pids+=("$helper_pid")
  local i
  for i in $(seq 200); do
    grep -q '^[0-9]' "$work/parent" && break
    sleep 0.05
  done
  helper_id=$(head -1 "$work/parent" | grep '^[0-9]') || fail "no window to draw into"
}

wheel_then_right() {  # the wheel is no button that closes the saver
  xdotool click 4 click 5
  sleep 0.3
  running "$saver_pid" || fail "the wheel closed the saver"
  xdotool click 3
}

root_untouched() {  # file: the root's own weave still shows in its top-left corner
  [ "$(count "$1" 20x20+0+0 "r>0.5")" -gt 0 ] || fail "drew outside its window"
}

ignores_input() {  # what
  xdotool mousemove 300 200 mousemove_relative 5 5 click 1 click 3 key a key Escape
  expect_running "$1 after input"
}

case $case in
fullscreen)
  start_xvfb 640x360
  start_saver /s
  id=$(saver_window) || fail "no window"
  xwininfo -id "$id" | grep -q 'Override Redirect State: yes' || fail "not override-redirect"
  xwininfo -id "$id" | grep -q 'geometry 640x360+0+0' || fail "does not cover the screen"
  sleep 1.5
  running "$saver_pid" || fail "ended without input"
  shoot "$work/shot.png"
  check_aquarium "$work/shot.png" 640 360
  kill -TERM "$saver_pid"
  expect_exit 1 "SIGTERM"
  ;;
close)
  start_xvfb 640x360
  full_screen_until "a one-pixel move" xdotool mousemove_relative 1 0
  full_screen_until "a key" xdotool key space
  full_screen_until "the right button after the wheel" wheel_then_right
  full_screen_until "the left button" xdotool click 1
  ;;
window)
  start_xvfb 1280x720
  start_saver -window
  id=$(saver_window) || fail "no window"
  xwininfo -id "$id" | grep -q 'Width: 1280' || fail "not 1280 wide"
  xwininfo -id "$id" | grep -q 'Height: 720' || fail "not 720 high"
  sleep 1
  shoot "$work/window.png" "$id"
  check_aquarium "$work/window.png" 1280 720
  xdotool mousemove 600 300 mousemove_relative 3 3
  expect_running "a pointer move"
  xdotool windowsize "$id" 640 480
  sleep 1
  shoot "$work/resized.png" "$id"
  check_aquarium "$work/resized.png" 640 480
  "$helper" delete "$id"
  expect_exit 1 "WM_DELETE_WINDOW"
  start_saver --window
  saver_window >/dev/null || fail "no second window"
  xdotool key q
  expect_exit 1 "a key in the window"
  ;;
preview)
  start_xvfb 640x480
  helper_window
  parent=$helper_id
  start_saver /p "$parent"
  sleep 1.5
  shoot "$work/preview.png"
  check_aquarium "$work/preview.png" 400 300 100 80
  root_untouched "$work/preview.png"
  ignores_input "preview"
  xdotool windowsize "$parent" 320 240
  sleep 1
  shoot "$work/smaller.png"
  check_aquarium "$work/smaller.png" 320 240 100 80
  kill "$helper_pid"
  expect_exit 1 "the parent destroyed"
  ;;
window-id)
  start_xvfb 640x480
  helper_window
  start_saver -window-id "$(printf '0x%x' "$helper_id")"
  sleep 1.5
  shoot "$work/target.png"
  check_aquarium "$work/target.png" 400 300 100 80
  root_untouched "$work/target.png"
  ignores_input "-window-id"
  kill "$helper_pid"
  expect_exit 1 "the window destroyed"
  # The daemon's way: -root with the window in the environment, ended by a signal.
  helper_window
  XSCREENSAVER_WINDOW=$helper_id start_saver --root --delay 20000
  sleep 1.5
  shoot "$work/env.png"
  check_aquarium "$work/env.png" 400 300 100 80
  root_untouched "$work/env.png"
  ignores_input "XSCREENSAVER_WINDOW"
  kill -INT "$saver_pid"
  expect_exit 1 "SIGINT"
  ;;
oneshot)
  start_xvfb 640x360
  xev -root -event substructure >"$work/events" 2>/dev/null &
  pids+=($!)
  sleep 0.3
  for line in "" "/c" "-c" "C" "/c:1234" "/a" "/a 42" "/p 0" "/p:1234" "/p" "/p 99999999" \
              "--help" "-delay 5000 /c" "--fps --no-fps --delay=5000 -C"; do
    # shellcheck disable=SC2086  # the words of the line are separate arguments
    start_saver $line
    expect_exit 1 "'$line'"
  done
  # Status 2 with the usage for a line it cannot read, 1 with the message
  # where it cannot draw.
  while IFS='|' read -r want bad message; do
    # shellcheck disable=SC2086
    timeout 20 "$saver" $bad >/dev/null 2>"$work/usage"
    rc=$?
    [ "$rc" -eq "$want" ] && grep -q -- "$message" "$work/usage" ||
      fail "'$bad': status $rc, wanted $want with '$message'"
  done <<'LINES'
2|--bogus|^usage:
2|-delay|^usage:
2|-delay -5|^usage:
2|-windows|^usage:
2|-roots|^usage:
2|-dealy 20000|^usage:
1|-window-id 12abc|^aquarium: -window-id wants a window number
1|-window-id 0x1fffffe|^aquarium: there is no window 0x1fffffe$
LINES
  "$saver" --help /s >/dev/full 2>/dev/null && fail "usage lost on a full standard output, status 0"
  # No GL driver: the context fails, the message says so, nothing is shown.
  LIBGL_DRIVERS_PATH=$work/no-drivers timeout 20 "$saver" /s 2>>"$work/saver.err"
  rc=$?
  [ "$rc" -eq 1 ] || fail "a failed context: status $rc, wanted 1"
  grep -q '^ERROR: Can.t Create A GL Rendering Context\.$' "$work/saver.err" ||
    fail "no message for the failed context"
  sleep 0.2
  ! grep -q 'MapNotify' "$work/events" || fail "a one-shot command line mapped a window"
  ;;
fps)
  # --fps writes light text in the top-left corner, black there without it.
  start_xvfb 1280x720
  light="r>0.8 && g>0.8 && b>0.8"
  for fps in "" --fps; do
    # shellcheck disable=SC2086
    start_saver -window $fps
    id=$(saver_window) || fail "no window"
    deadline=$(( $(date +%s) + 30 ))
    while :; do  # drawn: the pale floor, and with --fps the text
      shoot "$work/fps.png" "$id"
      floor=$(count "$work/fps.png" 320x18+480+691 "$light")
      text=$(count "$work/fps.png" 160x40+0+0 "$light")
      [ "$floor" -gt 0 ] && { [ -z "$fps" ] || [ "$text" -gt 20 ]; } && break
      [ "$(date +%s)" -lt "$deadline" ] || fail "'$fps': floor $floor, text $text after 30 s"
      sleep 0.2
    done
    [ -n "$fps" ] || [ "$text" -eq 0 ] || fail "light pixels in the corner without --fps"
    check_aquarium "$work/fps.png" 1280 720
    kill -TERM "$saver_pid"
    expect_exit 1 "SIGTERM"
  done
  ;;
grab)
  # Full screen takes the keyboard and the pointer once another client lets
  # them go, and still closes on a one-pixel move.
  start_xvfb 640x360
  "$helper" grab hold >"$work/holder" &
  holder=$!
  pids+=("$holder")
  deadline=$(( $(date +%s) + 20 ))
  until grep -q 'pointer=taken keyboard=taken' "$work/holder"; do
    [ "$(date +%s)" -lt "$deadline" ] || fail "the helper could not grab"
    sleep 0.05
  done
  start_saver /s
  saver_window >/dev/null || fail "no full-screen window"
  kill "$holder"
  deadline=$(( $(date +%s) + 20 ))
  until [ "$("$helper" grab)" = "pointer=refused keyboard=refused" ]; do
    [ "$(date +%s)" -lt "$deadline" ] || fail "no grabs after 20 s: $("$helper" grab)"
    sleep 0.1
  done
  xdotool mousemove_relative 1 0
  expect_exit 20 "a one-pixel move under the grabs"
  ;;
*)
  fail "unknown case"
  ;;
esac
echo "PASS ($case)"
