#!/usr/bin/env bash
# Fuzzes the readers of outside input with libFuzzer under AddressSanitizer
# and UndefinedBehaviorSanitizer.
#
#   tools/fuzz.sh TARGET [SECONDS]    (default 60)
#   tools/fuzz.sh all [SECONDS]       every target in turn, SECONDS each
#
# Targets (tests/fuzz/TARGET_fuzz.cpp):
#   mesh_file           triangle, profile and behaviour files
#   saver_command_line  the Windows saver's command line
#   saver_options       the X11 saver's arguments and XSCREENSAVER_WINDOW
#   bitmap_decode       .bmp file images
#   render_options      aquarium-render's arguments
#
# Needs clang and its fuzzer runtime (Debian 12: clang-14 and
# libclang-rt-14-dev); CXX_FUZZ names another compiler. Builds directly with
# clang++, outside the CMake builds, into build/fuzz/TARGET/, and runs on a
# copy of the committed seeds (tests/fuzz/corpus/TARGET/, never written to)
# with the dictionary tests/fuzz/TARGET.dict. A crash leaves its input in
# build/fuzz/TARGET/ (crash-*, leak-*, timeout-*) and makes the script fail.
set -euo pipefail
cd "$(dirname "$0")/.."

Targets="mesh_file saver_command_line saver_options bitmap_decode render_options"

sources() {
  case "$1" in
    mesh_file) echo mesh/mesh_file.cpp mesh/lathe.cpp mesh/mesh.cpp mesh/random.cpp \
                    fish/behaviour_file.cpp ;;
    saver_command_line) echo host/saver_command_line.cpp ;;
    saver_options) echo host/saver_options.cpp host/saver_command_line.cpp ;;
    bitmap_decode) echo host/bitmap_decode.cpp ;;
    render_options) echo host/offscreen_render_options.cpp ;;
    *) return 1 ;;
  esac
}

fuzz() {
  local target=$1 seconds=$2 out=build/fuzz/$1
  local files
  files=$(sources "$target") || { echo "fuzz.sh: unknown target '$target'" >&2; exit 2; }
  rm -rf "$out/corpus"
  mkdir -p "$out/corpus"
  cp tests/fuzz/corpus/"$target"/* "$out/corpus/"
  # shellcheck disable=SC2086  # a list of file names
  "${CXX_FUZZ:-clang++-14}" -std=c++17 -g -O1 -I. -Wall -Wextra -Wpedantic -Wshadow -Werror \
    -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
    "tests/fuzz/${target}_fuzz.cpp" $files -o "$out/fuzz"
  local dict=()
  [ -f "tests/fuzz/$target.dict" ] && dict=(-dict="tests/fuzz/$target.dict")
  echo "== fuzz $target for $seconds s"
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    "$out/fuzz" -max_total_time="$seconds" -max_len=4096 -timeout=10 -print_final_stats=1 \
    "${dict[@]}" -artifact_prefix="$out/" "$out/corpus"
}

case "${1:-}" in
  "" | -h | --help) sed -n '2,20p' "$0" | sed 's/^# \{0,1\}//'; [ -n "${1:-}" ] ;;
  all)
    failed=""
    for t in $Targets; do bash "$0" "$t" "${2:-60}" || failed="$failed $t"; done
    if [ -n "$failed" ]; then echo "fuzz.sh: failed:$failed" >&2; exit 1; fi ;;
  *) fuzz "$1" "${2:-60}" ;;
esac
