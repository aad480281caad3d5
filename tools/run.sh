#!/usr/bin/env bash
# Runs the aquarium. With a display (DISPLAY set) it opens the saver in an
# ordinary 1280x720 window (`aquarium -window`; a key, a click or the close
# button ends it); any aquarium options may follow, e.g. -delay 20000.
# Without a display it renders offscreen: builds aquarium-render with the
# linux preset when needed, draws 30 seconds of virtual time (3000 frames) and
# says where the picture went; any aquarium-render options may follow (see
# --help), e.g. --size 1920x1080.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-packages.sh run

if [ ! -f build/linux/CMakeCache.txt ]; then
  cmake --preset linux >/dev/null
fi

if [ -n "${DISPLAY:-}" ]; then
  cmake --build --preset linux --target aquarium >/dev/null
  exec build/linux/bin/aquarium -window "$@"
fi

cmake --build --preset linux --target aquarium-render >/dev/null
out="$PWD/aquarium.png"
build/linux/bin/aquarium-render --out "$out" "$@"
