#!/usr/bin/env bash
# Runs the aquarium. With a display (DISPLAY set) it opens the saver in an
# ordinary 1280x720 window (`aquarium -window`; a key, a click or the close
# button ends it); any aquarium options may follow, e.g. -delay 20000.
# Without a display it renders offscreen: builds aquarium-render with the
# linux preset when needed, draws 30 seconds of virtual time (3000 frames) and
# says where the picture went; any aquarium-render options may follow (see
# --help), e.g. --size 1920x1080.
# With --web it builds the web page (web preset) and serves it on 127.0.0.1
# (port 8000, or the next free one up to 8009, or the one given after --web)
# until interrupted, saying where to open it.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" = --web ]; then
  bash tools/install-packages.sh web
  export NODE_PATH=/usr/share/nodejs
  [ -f build/web/CMakeCache.txt ] || cmake --preset web >/dev/null
  cmake --build --preset web >/dev/null
  exec python3 - "${2:-}" build/web/bin <<'SERVE'
import functools, http.server, sys
wanted, folder = sys.argv[1], sys.argv[2]
handler = functools.partial(http.server.SimpleHTTPRequestHandler, directory=folder)
handler.func.extensions_map[".wasm"] = "application/wasm"
for port in [int(wanted)] if wanted else range(8000, 8010):
    try:
        server = http.server.ThreadingHTTPServer(("127.0.0.1", port), handler)
        break
    except OSError as e:
        error = e
else:
    sys.exit("run.sh: cannot listen on 127.0.0.1: %s" % error)
print("The aquarium: open http://127.0.0.1:%d/aquarium.html (Ctrl+C stops serving it)"
      % server.server_address[1], flush=True)
try:
    server.serve_forever()
except KeyboardInterrupt:
    pass
SERVE
fi

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
