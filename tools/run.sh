#!/usr/bin/env bash
# Runs the aquarium. There is no window backend yet, so it renders offscreen:
# builds aquarium-render with the linux preset when needed, draws 30 seconds
# of virtual time (3000 frames) and says where the picture went. Any
# aquarium-render options may follow (see --help), e.g. --size 1920x1080.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-packages.sh run

if [ ! -f build/linux/CMakeCache.txt ]; then
  cmake --preset linux >/dev/null
fi
cmake --build --preset linux --target aquarium-render >/dev/null

out="$PWD/aquarium.png"
build/linux/bin/aquarium-render --out "$out" "$@"
