#!/usr/bin/env bash
# Mutation score of the test suite: applies each one-line mutation of a list
# in turn, rebuilds, runs the tests, puts the file back, and prints what
# became of every mutant and the share the tests killed.
#
#   tools/mutate.sh [LIST [PATTERN]]     (default tools/mutations.txt, all entries)
#   MUTATE_PRESET=windows MUTATE_TESTS=setup tools/mutate.sh tools/mutations-windows.txt
#   MUTATE_PRESET=web MUTATE_TIMEOUT=1200 tools/mutate.sh tools/mutations-web.txt
#
# A list entry is one line:  FILE @@ ORIGINAL @@ REPLACEMENT
# ORIGINAL is literal text found on exactly one line of FILE; that one
# occurrence becomes REPLACEMENT. Empty lines and lines starting with # are
# skipped; PATTERN (a grep -E expression) keeps only the entries it matches.
#
# A mutant is killed when the build succeeds and a test fails or the suite
# runs past MUTATE_TIMEOUT seconds (default 300); one that does not build, or
# whose ORIGINAL is missing or not unique, is reported and left out of the
# score. Builds in MUTATE_BUILD (default build/mutate, configured like the
# linux preset; with MUTATE_PRESET=windows, build/mutate-windows configured
# like the windows preset, whose tests run under Wine; with MUTATE_PRESET=web,
# build/mutate-web configured like the web preset, whose test runs the page
# in headless Chromium against the linux preset's aquarium-render) with MUTATE_JOBS jobs
# (default 2). MUTATE_TESTS (a ctest -R expression) runs only the tests it
# matches. MUTATE_ALL=1 runs the whole suite for every mutant and names every
# test that failed, to see which tests are the only ones to catch a fault.
# MUTATE_LABEL and MUTATE_EXCLUDE_LABEL (default: package) choose tests by
# label (ctest -L, -LE): the Debian package's test needs root and minutes, so
# it runs for its own list alone:
#   MUTATE_LABEL=package MUTATE_EXCLUDE_LABEL= MUTATE_TIMEOUT=1800 \
#     bash tools/mutate.sh tools/mutations-package.txt
# The file is restored even when the script is interrupted.
set -uo pipefail
cd "$(dirname "$0")/.."

list=${1:-tools/mutations.txt}
pattern=${2:-}
case ${MUTATE_PRESET:-linux} in
  linux)
    build=${MUTATE_BUILD:-build/mutate}
    configure=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DAQUARIUM_HOST=x11) ;;
  windows)
    build=${MUTATE_BUILD:-build/mutate-windows}
    configure=(--toolchain cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release -DAQUARIUM_HOST=win32) ;;
  web)
    build=${MUTATE_BUILD:-build/mutate-web}
    configure=(--toolchain /usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake
               -DCMAKE_BUILD_TYPE=Release -DAQUARIUM_HOST=web
               "-DAQUARIUM_NATIVE_RENDER=$PWD/build/linux/bin/aquarium-render")
    export NODE_PATH=/usr/share/nodejs ;;
  *) echo "mutate: MUTATE_PRESET is linux, windows or web" >&2; exit 2 ;;
esac
only=()
[ -n "${MUTATE_TESTS:-}" ] && only=(-R "$MUTATE_TESTS")
limit=${MUTATE_TIMEOUT:-300}
jobs=${MUTATE_JOBS:-2}
labels=()
[ -n "${MUTATE_LABEL:-}" ] && labels+=(-L "$MUTATE_LABEL")
[ -n "${MUTATE_EXCLUDE_LABEL-package}" ] && labels+=(-LE "${MUTATE_EXCLUDE_LABEL-package}")
export LP_NUM_THREADS=1

target=""
backup=""
restore() {
  if [ -n "$backup" ]; then
    # A plain copy gives the file a new time stamp, so the next build
    # recompiles it from the original text.
    cp "$backup" "$target" && rm -f "$backup"
    backup=""
  fi
}
trap restore EXIT
trap 'restore; exit 130' INT TERM HUP

log=$(mktemp)
trap 'restore; rm -f "$log"' EXIT

build_all() { cmake --build "$build" -j "$jobs" >"$log" 2>&1; }
stop=--stop-on-failure
[ "${MUTATE_ALL:-0}" = 1 ] && stop=
run_suite() {
  timeout "$limit" ctest --test-dir "$build" -j "$jobs" $stop --timeout "$limit" "${only[@]}" \
    "${labels[@]}" >"$log" 2>&1
}

cmake -S . -B "$build" --no-warn-unused-cli "${configure[@]}" >/dev/null || exit 1
if ! build_all || ! run_suite; then
  cat "$log"
  echo "mutate: the unmutated suite does not pass; nothing scored" >&2
  exit 1
fi

killed=0 survived=0 unbuilt=0 stale=0 n=0
while IFS= read -r entry || [ -n "$entry" ]; do
  case "$entry" in '' | '#'*) continue ;; esac
  if [ -n "$pattern" ] && ! grep -qE -- "$pattern" <<<"$entry"; then continue; fi
  n=$((n + 1))
  file=${entry%% @@ *}
  rest=${entry#* @@ }
  original=${rest%% @@ *}
  replacement=${rest#* @@ }
  label="#$n $file: $original -> $replacement"
  if [ "$rest" = "$entry" ] || [ "$replacement" = "$rest" ] || [ ! -f "$file" ]; then
    echo "STALE     $label (malformed entry or no such file)"
    stale=$((stale + 1))
    continue
  fi
  if [ "$(grep -cF -- "$original" "$file")" != 1 ] ||
     [ "$(grep -oF -- "$original" "$file" | wc -l)" != 1 ]; then
    echo "STALE     $label (not exactly once in the file)"
    stale=$((stale + 1))
    continue
  fi
  target=$file
  backup=$(mktemp)
  cp "$file" "$backup"
  ORIGINAL=$original REPLACEMENT=$replacement perl -0pi -e \
    's/\Q$ENV{ORIGINAL}\E/$ENV{REPLACEMENT}/' "$file"
  if ! build_all; then
    echo "NO-BUILD  $label"
    unbuilt=$((unbuilt + 1))
  elif run_suite; then
    echo "SURVIVED  $label"
    survived=$((survived + 1))
  else
    by=$(grep -E 'Test +#[0-9]+: .*(\*\*\*|Failed|Timeout)' "$log" |
      sed -E 's/.*Test +#[0-9]+: ([^ ]+).*/\1/' | paste -sd' ' -)
    echo "KILLED    $label${by:+ (by $by)}"
    killed=$((killed + 1))
  fi
  restore
done <"$list"

# Leave the build matching the restored sources.
build_all || true
total=$((killed + survived))
echo "score: $killed of $total mutants killed${total:+ ($((total ? 100 * killed / total : 0))%)}," \
  "$unbuilt did not build, $stale stale"
[ "$stale" -eq 0 ] && [ "$unbuilt" -eq 0 ]
