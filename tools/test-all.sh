#!/usr/bin/env bash
# Builds and runs every test: the native build, the sanitizer build, the
# build with the swim animation and debug overlay on, the Windows cross build
# with its end-to-end tests under Wine, the web page against the native
# renderer in headless Chromium, and the source checks.
set -euo pipefail
cd "$(dirname "$0")/.."
export LP_NUM_THREADS=1

echo "== source checks"
# One random generator for every platform: nothing but mesh/random.cpp may
# call the C library's rand or srand.
calls=$(grep -rnE '(^|[^A-Za-z0-9_])s?rand[[:space:]]*\(' --include='*.cpp' --include='*.h' \
          host mesh scene fish data tools tests | grep -vE '^[^:]+:[0-9]+:[[:space:]]*//' || true)
if [ -n "$calls" ]; then
  echo "$calls"
  echo "rand()/srand() called outside the project's generator" >&2
  exit 1
fi

# Includes run one way between folders.
bash tools/check-include-graph.sh

echo "== windows cross build, end to end under Wine"
cmake --preset windows >/dev/null
cmake --build --preset windows
ctest --preset windows

echo "== fuzz every reader of outside input, 20 s each"
bash tools/fuzz.sh all 20

echo "== sanitizer build and tests"
cmake --preset asan >/dev/null
cmake --build --preset asan
ctest --preset asan

echo "== build switches on: swim animation and debug overlay"
cmake --preset switches >/dev/null
cmake --build --preset switches
ctest --preset switches

echo "== linux build and tests"
cmake --preset linux >/dev/null
cmake --build --preset linux
ctest --preset linux

echo "== web page: Emscripten build, replayed in headless Chromium against aquarium-render"
export NODE_PATH=/usr/share/nodejs
cmake --preset web >/dev/null
cmake --build --preset web
ctest --preset web
