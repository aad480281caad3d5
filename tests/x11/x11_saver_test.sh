#!/usr/bin/env bash
# End-to-end checks of the X11 saver on an Xvfb of the test's own (-displayfd
# picks a free display, so runs may overlap), driven by xdotool, with pixels
# read from screenshots. Every check waits for what it looks for, up to a
# deadline generous enough for a busy machine; no check relies on a fixed pause.
# Usage: x11_saver_test.sh SAVER TEST_WINDOW_HELPER CASE
#   CASE: fullscreen close window preview window-id oneshot fps grab monitors rest
set -uo pipefail
saver=$1 helper=$2 case=$3
work=$(mktemp -d "${TMPDIR:-/tmp}/aquarium-x11.XXXXXX")
pids=()
Deadline=30  # seconds any awaited condition may take

cleanup() {
  local p
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  wait 2>/dev/null
  [ -n "${kept:-}" ] || rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL ($case): $*" >&2
  [ -s "$work/saver.err" ] && sed 's/^/  saver: /' "$work/saver.err" >&2
  kept=1
  echo "pictures and logs kept in $work" >&2
  exit 1
}

now_ms() { echo $(( $(date +%s%N) / 1000000 )); }

poll_until() {  # command...: true once the command succeeds, false at the deadline
  local end=$(( SECONDS + Deadline ))
  until "$@"; do
    [ "$SECONDS" -lt "$end" ] || return 1
    sleep 0.05
  done
}

has_line() { grep -q '^[0-9]' "$1" 2>/dev/null; }

start_xvfb() {  # WIDTHxHEIGHT
  Xvfb -displayfd 3 -noreset -retro -nolisten tcp -screen 0 "${1}x24" 3>"$work/display" \
    2>"$work/xvfb.log" &
  pids+=($!)
  poll_until has_line "$work/display" || fail "Xvfb did not start"
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

ended() { ! running "$1"; }

expect_exit() {  # what [status]: the saver ends with that status (default 0)
  poll_until ended "$saver_pid" || fail "$1: still running after $Deadline s"
  wait "$saver_pid"
  local rc=$?
  [ "$rc" -eq "${2:-0}" ] || fail "$1: exit status $rc, wanted ${2:-0}"
}

saver_window() {  # the saver's own mapped window, once it is there
  timeout "$Deadline" xdotool search --sync --onlyvisible --name '^Aquarium$' | head -1
}

shoot() {  # file [window]: a PNG of the root window (or of one window)
  if [ -n "${2:-}" ]; then xwd -silent -id "$2"; else xwd -silent -root; fi |
    convert xwd:- "png:$1" || fail "no screenshot"
}

# "count" of pixels in WxH+X+Y of a shot for which the fx expression holds.
count() {  # file geometry expression
  convert "$1" -crop "$2" +repage -fx "$3" -format '%[fx:round(mean*w*h)]' info:
}

# True when a new shot NAME.png of the root (or of WINDOW) shows the tank as
# the camera first sees it, in W x H pixels at (X, Y): a grey line at the top
# of its back wall and the pale floor at the bottom centre, both always there.
# What is missing goes to $missing.
shows_tank() {  # name width height x y [window]
  local f=$work/$1.png w=$2 h=$3 x=$4 y=$5
  running "$saver_pid" || fail "$1: the saver ended"
  shoot "$f" "${6:-}"
  local grey="abs(r-g)<0.02 && abs(g-b)<0.02 && r>0.2 && r<0.8"
  local frame=$(count "$f" "3x$((h / 14))+$((x + w / 2 - 1))+$((y + h * 21 / 100))" "$grey")
  missing="no tank frame"
  [ "$frame" -gt 0 ] || return 1
  local floor=$(count "$f" "$((w / 4))x$((h / 40 + 1))+$((x + w * 3 / 8))+$((y + h * 96 / 100))" \
                "r>0.6 && g>0.6 && b>0.6")
  missing="no pale floor ($floor)"
  [ "$floor" -gt $(( w * (h / 40 + 1) / 8 )) ]
}

# The tank, and fish (strongly coloured pixels) in it: where the fish swim
# depends on the clock, so of several shots one must show enough of them.
shows_aquarium() {  # name width height x y [window]
  shows_tank "$@" || return 1
  local w=$2 h=$3 x=$4 y=$5
  # Chroma (max - min of r, g, b) above 0.4; -fx would be as exact, and slower.
  local fish=$(convert "$work/$1.png" \
               -crop "$((w * 5 / 8))x$((h * 9 / 16))+$((x + w * 3 / 16))+$((y + h * 5 / 24))" \
               +repage -colorspace HCL -channel G -separate +channel -threshold 40% \
               -format '%[fx:round(mean*w*h)]' info:)
  missing="no fish (the last shot had $fish coloured pixels)"
  [ "$fish" -gt $(( w * h / 2000 )) ]
}

await_aquarium() {  # name width height x y [window]
  poll_until shows_aquarium "$@" || fail "$missing in $1.png, for $Deadline s"
}

# Waits until the screen has changed twice. The saver reads every queued event
# before it draws, so by then it has handled all input sent before the call.
frame_changed() {  # what
  running "$saver_pid" || fail "$1: the saver ended"
  xwd -silent -root >"$work/now.xwd"
  ! cmp -s "$work/now.xwd" "$work/before.xwd"
}
await_frames() {  # what
  xwd -silent -root >"$work/now.xwd"
  for _ in 1 2; do
    mv "$work/now.xwd" "$work/before.xwd"
    poll_until frame_changed "$1" || fail "$1: the picture stopped changing"
  done
}

expect_running() {  # what: still running after it has drawn on past what came before
  await_frames "$1"
  running "$saver_pid" || fail "$1: the saver ended"
}

start_full_screen() {  # what: a full-screen saver that has drawn, so input reaches it
  start_saver /s
  saver_window >/dev/null || fail "$1: no full-screen window"
  # The keyboard grab comes before the first frame.
  poll_until shows_tank first 640 360 0 0 || fail "$1: $missing before any input"
}

closes_on() {  # what, then the input that must close the saver
  local what=$1 before
  shift
  before=$(now_ms)
  "$@"
  expect_exit "$what"
  echo "$what closed the saver in $(( $(now_ms) - before )) ms"
}

helper_window() {  # [X Y W H]: a plain window of another client, 400x300 at (100, 80)
  rm -f "$work/parent"  # not left to the child: it may truncate the file late
  "$helper" parent "${1:-100}" "${2:-80}" "${3:-400}" "${4:-300}" >"$work/parent" &
  helper_pid=$!
  pids+=("$helper_pid")
  poll_until has_line "$work/parent" || fail "no window to draw into"
  helper_id=$(head -1 "$work/parent")
}

root_untouched() {  # name: the root's own weave still shows in its top-left corner
  [ "$(count "$work/$1.png" 20x20+0+0 "r>0.5")" -gt 0 ] || fail "drew outside its window"
}

ignores_input() {  # what
  xdotool mousemove 300 200 mousemove_relative 5 5 click 1 click 3 key a key Escape
  expect_running "$1 after input"
}

# xev reports the maps of top-level windows once the server shows its interest
# in the root's substructure; the map of a window made after the saver ended,
# once reported, shows that every map before it is in the log too.
listening() { xwininfo -root -events | grep -q SubstructureNotify; }

# No CPU used by the saver over a second (a tick at most): it draws nothing.
cpu_ticks() { awk '{ sub(/.*\) /, ""); print $12 + $13 }' "/proc/$saver_pid/stat"; }
at_rest() {
  local before=$(cpu_ticks)
  sleep 1
  [ "$(cpu_ticks)" -le $(( before + 1 )) ]
}

case $case in
fullscreen)
  start_xvfb 640x360
  start_saver /s
  id=$(saver_window) || fail "no window"
  xwininfo -id "$id" | grep -q 'Override Redirect State: yes' || fail "not override-redirect"
  xwininfo -id "$id" | grep -q 'geometry 640x360+0+0' || fail "does not cover the screen"
  await_aquarium shot 640 360 0 0
  expect_running "no input"
  kill -TERM "$saver_pid"
  expect_exit "SIGTERM"
  ;;
close)
  start_xvfb 640x360
  for input in "mousemove_relative 1 0" "key space" "click 1"; do
    start_full_screen "$input"
    # shellcheck disable=SC2086  # the words are xdotool's arguments
    closes_on "$input" xdotool $input
  done
  start_full_screen "the wheel"
  xdotool click 4 click 5
  expect_running "the wheel, no button that closes the saver"
  closes_on "the right button after the wheel" xdotool click 3
  ;;
window)
  start_xvfb 1280x720
  start_saver -window
  id=$(saver_window) || fail "no window"
  xwininfo -id "$id" | grep -q 'Width: 1280' || fail "not 1280 wide"
  xwininfo -id "$id" | grep -q 'Height: 720' || fail "not 720 high"
  await_aquarium window 1280 720 0 0 "$id"
  xdotool mousemove 600 300 mousemove_relative 3 3
  expect_running "a pointer move"
  xdotool windowsize "$id" 640 480
  await_aquarium resized 640 480 0 0 "$id"
  "$helper" delete "$id"
  expect_exit "WM_DELETE_WINDOW"
  start_saver --window
  saver_window >/dev/null || fail "no second window"
  xdotool key q
  expect_exit "a key in the window"
  ;;
preview)
  start_xvfb 640x480
  helper_window
  parent=$helper_id
  start_saver /p "$parent"
  await_aquarium preview 400 300 100 80
  root_untouched preview
  ignores_input "preview"
  xdotool windowsize "$parent" 320 240
  await_aquarium smaller 320 240 100 80
  kill "$helper_pid"
  expect_exit "the parent destroyed"
  ;;
window-id)
  start_xvfb 640x480
  helper_window
  start_saver -window-id "$(printf '0x%x' "$helper_id")"
  await_aquarium target 400 300 100 80
  root_untouched target
  ignores_input "-window-id"
  kill "$helper_pid"
  expect_exit "the window destroyed"
  # The daemon's way: -root with the window in the environment, ended by a signal.
  helper_window
  XSCREENSAVER_WINDOW=$helper_id start_saver --root --delay 20000
  await_aquarium env 400 300 100 80
  root_untouched env
  ignores_input "XSCREENSAVER_WINDOW"
  kill -INT "$saver_pid"
  expect_exit "SIGINT"
  ;;
oneshot)
  start_xvfb 640x360
  xev -root -event substructure >"$work/events" 2>/dev/null &
  pids+=($!)
  poll_until listening || fail "xev did not start"
  for line in "" "/c" "-c" "C" "/c:1234" "/a" "/a 42" "/p 0" "/p:1234" "/p" "/p 99999999" \
              "--help" "-delay 5000 /c" "--fps --no-fps --delay=5000 -C"; do
    # shellcheck disable=SC2086  # the words of the line are separate arguments
    start_saver $line
    expect_exit "'$line'"
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
  LIBGL_DRIVERS_PATH=$work/no-drivers start_saver /s
  expect_exit "a failed context" 1
  grep -q '^ERROR: Can.t Create A GL Rendering Context\.$' "$work/saver.err" ||
    fail "no message for the failed context"
  "$helper" parent 0 0 8 8 >"$work/probe" &
  pids+=($!)
  poll_until has_line "$work/probe" || fail "no probe window"
  probe=$(printf '0x%x' "$(head -1 "$work/probe")")
  poll_until grep -q "window $probe, override" "$work/events" || fail "xev saw no probe window"
  [ "$(grep -c MapNotify "$work/events")" -eq 1 ] || fail "a one-shot command line mapped a window"
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
    await_aquarium "fps$fps" 1280 720 0 0 "$id"
    kill -TERM "$saver_pid"
    expect_exit "SIGTERM"
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
  expect_exit "a one-pixel move under the grabs"
  ;;
monitors)
  # Two monitors side by side: Xephyr's two Xinerama heads, nested in an Xvfb.
  start_xvfb 2600x800
  Xephyr -displayfd 3 +xinerama -screen 1280x720 -screen 1280x720 -ac -noreset -nolisten tcp \
    3>"$work/heads" 2>"$work/xephyr.log" &
  pids+=($!)
  poll_until has_line "$work/heads" || fail "Xephyr did not start"
  export DISPLAY=":$(head -1 "$work/heads")"
  start_saver /s
  id=$(saver_window) || fail "no window"
  xwininfo -id "$id" | grep -q 'geometry 2560x720+0+0' || fail "does not cover both monitors"
  await_aquarium left 1280 720 0 0
  await_aquarium right 1280 720 1280 0
  closes_on "a one-pixel move on two monitors" xdotool mousemove_relative 1 0
  ;;
rest)
  # Wholly covered by another window the saver draws nothing; uncovered, it
  # draws again.
  start_xvfb 1280x720
  start_saver -window
  id=$(saver_window) || fail "no window"
  await_aquarium drawn 1280 720 0 0 "$id"
  helper_window 0 0 1280 720
  poll_until at_rest || fail "still drawing while covered"
  kill "$helper_pid"
  await_aquarium uncovered 1280 720 0 0 "$id"
  ;;
*)
  fail "unknown case"
  ;;
esac
echo "PASS ($case)"
