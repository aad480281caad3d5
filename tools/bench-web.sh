#!/usr/bin/env bash
# Measures the web page in headless Chromium on its software WebGL
# (SwiftShader): how soon the first frame is drawn, and how long each of the
# first FRAMES drawn frames takes, from the start of its drawing until WebGL
# has finished it (glFinish), catch-up scene steps not counted.
#
#   tools/bench-web.sh [FRAMES [WIDTH,HEIGHT [RUNS]]]    (default 300 1280,720 3)
#
# Builds the web preset when needed. Each run starts Chromium afresh with a
# new profile, loads aquarium.html?bench=FRAMES from 127.0.0.1 and, for
# comparison, a blank page that only waits for its first animation frame
# (the browser's own start-up, GPU process included). Prints one line per
# run and a summary; the per-frame times of every run go to
# build/web/bench-web.txt. Chromium's window size is the outer size: the
# page reports the canvas it got.
set -euo pipefail
cd "$(dirname "$0")/.."

frames=${1:-300}
size=${2:-1280,720}
runs=${3:-3}
chromium=$(command -v chromium || command -v chromium-browser || true)
[ -n "$chromium" ] || { echo "bench-web: no chromium (tools/install-packages.sh test)" >&2; exit 1; }

export NODE_PATH=/usr/share/nodejs
[ -f build/web/CMakeCache.txt ] || cmake --preset web >/dev/null
cmake --build --preset web >/dev/null

work=$(mktemp -d "${TMPDIR:-/tmp}/aquarium-bench-web.XXXXXX")
server=""
browser=""
finish() {
  for pid in $browser $server; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  rm -rf "$work"
}
trap finish EXIT

mkdir "$work/site"
cp build/web/bin/aquarium.html build/web/bin/aquarium.js build/web/bin/aquarium.wasm "$work/site/"
cat >"$work/site/blank.html" <<'PAGE'
<!doctype html><html><body style="background:#000"><script>
requestAnimationFrame(function () {
  console.log("blank: first animation frame " + performance.now().toFixed(0) + " ms after the page began loading");
});
</script></body></html>
PAGE

until_line() {  # FILE PATTERN SECONDS: waits for a line, polling
  local deadline=$((SECONDS + $3))
  until grep -q "$2" "$1"; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.2
  done
}

python3 -u -m http.server 0 --bind 127.0.0.1 --directory "$work/site" >"$work/server.log" 2>&1 &
server=$!
until_line "$work/server.log" 'port [0-9]' 60
port=$(sed -n 's/.*port \([0-9]*\).*/\1/p' "$work/server.log" | head -n 1)

# Loads URL in a fresh headless Chromium until its log has PATTERN.
load() {
  local url=$1 pattern=$2 log=$3
  "$chromium" --headless=new --no-sandbox --use-gl=angle --use-angle=swiftshader \
    --enable-unsafe-swiftshader --user-data-dir="$work/profile-$RANDOM$RANDOM" --no-first-run \
    --enable-logging=stderr --v=0 --window-size="$size" "$url" >"$log" 2>&1 &
  browser=$!
  local ok=0
  until_line "$log" "$pattern" 180 || ok=1
  kill "$browser" 2>/dev/null || true
  wait "$browser" 2>/dev/null || true
  browser=""
  return $ok
}

out=build/web/bench-web.txt
: >"$out.tmp"
echo "bench-web: $runs runs, $frames frames each, window $size, $(date -u +%Y-%m-%dT%H:%MZ)" | tee -a "$out.tmp"
for run in $(seq 1 "$runs"); do
  load "http://127.0.0.1:$port/blank.html" "blank: first" "$work/blank.log" ||
    { echo "bench-web: the blank page drew nothing" >&2; exit 1; }
  load "http://127.0.0.1:$port/aquarium.html?bench=$frames" "aquarium: bench" "$work/page.log" ||
    { echo "bench-web: the page did not finish; its log:" >&2; cat "$work/page.log" >&2; exit 1; }
  blank=$(sed -n 's/.*"blank: first animation frame \([0-9]*\) ms.*/\1/p' "$work/blank.log")
  first=$(sed -n 's/.*"aquarium: first frame drawn \([0-9]*\) ms after the page began loading, \([0-9]*\) ms.*/\1 \2/p' "$work/page.log")
  bench=$(sed -n 's/.*"aquarium: bench \(.*\)", source.*/\1/p' "$work/page.log")
  echo "run $run: blank page's first animation frame at $blank ms; first frame at ${first% *} ms" \
       "(${first#* } ms after the page's script began); ${bench%%; ms per frame*}" | tee -a "$out.tmp"
  echo "run $run ms per frame:${bench#*ms per frame:}" >>"$out.tmp"
done
# Summary over every run's frames: the first frame of each run is the
# textures' and shaders' first use, listed apart.
grep ' ms per frame:' "$out.tmp" | sed 's/.*ms per frame://' | python3 -c '
import sys
firsts, rest = [], []
for line in sys.stdin:
    t = [float(x) for x in line.split()]
    firsts.append(t[0]); rest += t[1:]
rest.sort()
pick = lambda q: rest[min(len(rest) - 1, int(q * len(rest)))]
print("frames after the first: mean %.2f ms, median %.2f ms, 95th percentile %.2f ms, worst %.2f ms (%d frames)"
      % (sum(rest) / len(rest), pick(0.5), pick(0.95), rest[-1], len(rest)))
print("first frames: " + ", ".join("%.1f ms" % f for f in firsts))' | tee -a "$out.tmp"
mv "$out.tmp" "$out"
echo "bench-web: per-frame times in $out"
