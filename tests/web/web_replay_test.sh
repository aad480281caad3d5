#!/usr/bin/env bash
# The web page against aquarium-render: for each case the page replays
# aquarium.html?tick=T&frames=N&size=WxH in headless Chromium (software
# WebGL), which takes a screenshot, and aquarium-render draws the same frame
# natively (--start-tick T --frames N --size WxH); tools/compare-pictures.py
# then wants 97% of pixels within 8 levels and nothing drawn missing or added,
# cell by cell.
#
#   web_replay_test.sh PAGE_DIR AQUARIUM_RENDER CHROMIUM
#
# The page is served from 127.0.0.1 on a port the system picks; everything
# goes into a temporary folder of its own (with Chromium's profile), removed
# on success and kept, and named, on a failure. Prints "ok CASE" or
# "FAIL CASE" for each case.
set -euo pipefail

page=$1
render=$2
chromium=$3
here=$(cd "$(dirname "$0")" && pwd)
compare="$here/../../tools/compare-pictures.py"

[ -f "$page/aquarium.html" ] || { echo "no aquarium.html in $page" >&2; exit 1; }
[ -x "$render" ] || {
  echo "no aquarium-render at $render: build the linux preset first" >&2
  exit 1
}
command -v "$chromium" >/dev/null || { echo "no Chromium ($chromium)" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/aquarium-web-test.XXXXXX")
server=""
failed=0
finish() {
  if [ -n "$server" ]; then
    kill "$server" 2>/dev/null || true
    wait "$server" 2>/dev/null || true
  fi
  if [ "$failed" -eq 0 ]; then rm -rf "$work"; else echo "pictures and logs kept in $work" >&2; fi
}
trap finish EXIT

# Waits up to `seconds` for `command` to succeed, polling.
wait_for() {
  local seconds=$1
  shift
  local deadline=$((SECONDS + seconds))
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.2
  done
}

python3 -u -m http.server 0 --bind 127.0.0.1 --directory "$page" >"$work/server.log" 2>&1 &
server=$!
port_known() { grep -q 'port [0-9]' "$work/server.log"; }
if ! wait_for 60 port_known; then
  echo "the page server did not start" >&2
  failed=1
  exit 1
fi
port=$(sed -n 's/.*port \([0-9]*\).*/\1/p' "$work/server.log" | head -n 1)

# name tick frames size: the first frame; a few seconds in, wide and narrow;
# across the tick count's 32-bit wrap; after the first 45-degree turn of the
# camera (more than 29 s of rest, then 0.5 s of turning).
cases=(
  "first-frame 0 1 640x360"
  "three-seconds 0 300 640x360"
  "other-start 1234 600 480x360"
  "tick-wrap 4294967000 700 640x360"
  "portrait 99 200 360x640"
  "after-a-turn 42 3050 480x270"
)

run_case() {
  local name=$1 tick=$2 frames=$3 size=$4
  local dir="$work/$name"
  mkdir -p "$dir"
  "$render" --size "$size" --frames "$frames" --start-tick "$tick" --out "$dir/native.png" \
    >"$dir/render.log" 2>&1 || { echo "aquarium-render failed: $dir/render.log"; return 1; }
  # Chromium ends by itself once the page's virtual time is spent and the
  # screenshot written; the timeout is the deadline for all of that.
  timeout 300 "$chromium" --headless=new --no-sandbox --use-gl=angle --use-angle=swiftshader \
    --enable-unsafe-swiftshader --user-data-dir="$dir/profile" --no-first-run \
    --enable-logging=stderr --v=0 --window-size="${size/x/,}" --virtual-time-budget=10000 \
    --screenshot="$dir/web.png" \
    "http://127.0.0.1:$port/aquarium.html?tick=$tick&frames=$frames&size=$size" \
    >"$dir/chromium.log" 2>&1 || true
  [ -s "$dir/web.png" ] || { echo "no screenshot: $dir/chromium.log"; return 1; }
  grep -q "aquarium: replay done: frame $frames from tick $tick at $size" "$dir/chromium.log" || {
    echo "the page did not finish its replay: $dir/chromium.log"
    return 1
  }
  python3 "$compare" "$dir/native.png" "$dir/web.png"
}

for c in "${cases[@]}"; do
  # shellcheck disable=SC2086
  set -- $c
  if out=$(run_case "$@" 2>&1); then
    echo "ok $1: $out"
  else
    echo "FAIL $1: $out"
    failed=1
  fi
done
exit "$failed"
