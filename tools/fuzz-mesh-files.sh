#!/usr/bin/env bash
# Fuzzes the mesh text file readers (triangle, profile and behaviour lines)
# with libFuzzer under AddressSanitizer and UndefinedBehaviorSanitizer.
#
#   tools/fuzz-mesh-files.sh [SECONDS]      (default 60)
#
# Needs clang and its fuzzer runtime (Debian: clang, libclang-rt-dev; on
# Debian 12 these are clang-14 and libclang-rt-14-dev). Builds directly with
# clang++ into build/fuzz, outside the CMake builds; a crash leaves its input
# in build/fuzz and makes the script fail.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
out=build/fuzz
mkdir -p "$out/corpus"
cxx=${CXX_FUZZ:-clang++}

"$cxx" -std=c++17 -g -O1 -I. -Wall -Wextra -Wpedantic -Wshadow -Werror \
  -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
  tests/fuzz/mesh_file_fuzz.cpp mesh/mesh_file.cpp mesh/lathe.cpp mesh/mesh.cpp \
  mesh/random.cpp fish/behaviour_file.cpp \
  -o "$out/mesh_file_fuzz"

# Seeds: a triangle file, a profile file with CRLF line ends, odd numbers.
printf '0,0,0\n1,0,0\n0,1,0\n\n1 0 0\n1 1 0\n0 1 0\n\n' >"$out/corpus/seed-triangles"
printf '101\r\n256,2,240,4,94\r\n5,7,1,2,1,8,4\r\n-1.75,-0.07,0,0.001,0.001\r\n\r\n1.59,0.5,0,0.001,0.1\r\n' \
  >"$out/corpus/seed-profile"
printf '99999999999999999999\n1e40 -1e400 nan inf 0x1p3\n\t,,1.5e-45,,\n' >"$out/corpus/seed-numbers"

ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  "$out/mesh_file_fuzz" -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 \
  -artifact_prefix="$out/" "$out/corpus"
