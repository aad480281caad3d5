#!/usr/bin/env bash
# Installs the Debian 12 packages the project needs, skipping those already
# installed (so it asks apt nothing on a ready machine). Needs root to install.
#   tools/install-packages.sh run    what building and running the aquarium needs, and
#                                    building its Debian package (dpkg-shlibdeps, in dpkg-dev)
#   tools/install-packages.sh web    what building and serving the web page needs (Debian's
#                                    emscripten, which ships its system libraries prebuilt)
#   tools/install-packages.sh test   all of that, plus the cross compiler, the fuzzer, ImageMagick,
#                                    Wine, the X servers and tools the savers' end-to-end tests
#                                    drive, the readers of the Windows files (resources, XML, zip),
#                                    makensis for the Windows setup program, and lintian and
#                                    debootstrap for the Debian package's test, and Chromium
#                                    for the web page's test
#   tools/install-packages.sh bench  that, plus the GL hacks the benchmark scripts measure the
#                                    saver beside (atlantis from xscreensaver-gl-extra, glschool
#                                    from xscreensaver-gl), and libfaketime and gnuplot for the
#                                    soak of the savers
set -euo pipefail

run_packages=(
  cmake g++ make pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  libegl-dev libegl-mesa0 libgl1-mesa-dri libopengl-dev libglu1-mesa-dev libgl-dev
  libpng-dev zlib1g-dev
  libx11-dev libglx-dev libx11-xcb-dev libxcb1-dev libxrandr-dev libxinerama-dev libxext-dev
  dpkg-dev
)
web_packages=(cmake make emscripten python3)
test_packages=(
  emscripten chromium python3
  g++-mingw-w64-x86-64-win32
  clang-14 libclang-rt-14-dev
  imagemagick
  wine wine64 xvfb xdotool x11-apps x11-utils
  xserver-xephyr icoutils libxml2-utils unzip nsis
  lintian debootstrap
)
bench_packages=(
  xscreensaver-gl xscreensaver-gl-extra libfaketime gnuplot-nox
)

case "${1:-}" in
  run) wanted=("${run_packages[@]}") ;;
  web) wanted=("${web_packages[@]}") ;;
  test) wanted=("${run_packages[@]}" "${test_packages[@]}") ;;
  bench) wanted=("${run_packages[@]}" "${test_packages[@]}" "${bench_packages[@]}") ;;
  *) echo "usage: $0 run|web|test|bench" >&2; exit 2 ;;
esac

missing=()
for p in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${missing[@]}" </dev/null >/dev/null
fi
