#!/usr/bin/env bash
# Shows that the whole suite holds on a busy machine: beside two busy loops
# that keep two cores occupied, runs `bash .ci/run` three times in a row and
# then twice at the same time, each from a fresh clone of the repository (what
# is committed, not the working tree). Prints a pass or fail line per run and
# exits 1 if any run failed. Clones are removed; logs of failed runs are kept.
#   tools/ci-under-load.sh [repository, default this checkout]
set -uo pipefail
repo=${1:-$(git -C "$(dirname "$0")/.." rev-parse --show-toplevel)}
logs=$(mktemp -d "${TMPDIR:-/tmp}/aquarium-ci-load.XXXXXX")
clones=$(mktemp -d "${TMPDIR:-/tmp}/aquarium-ci-clones.XXXXXX")

cleanup() {
  local running
  running=$(jobs -p)
  # shellcheck disable=SC2086  # one process id a word
  [ -z "$running" ] || kill $running 2>/dev/null
  wait 2>/dev/null
  rm -rf "$clones"
}
trap cleanup EXIT

# Killed at the end; the timeout only bounds them should this script be killed.
for _ in 1 2; do timeout 14400 sh -c 'while :; do :; done' & done

# Clones the repository afresh and runs the CI entry point there; the log goes
# to $logs/NAME.log. Prints the verdict; true when the run passed.
ci_run() {  # name
  local dir=$clones/$1 start=$SECONDS rc
  if git clone -q "$repo" "$dir"; then
    (cd "$dir" && bash .ci/run) >"$logs/$1.log" 2>&1
    rc=$?
  else
    rc=1
  fi
  rm -rf "$dir"
  if [ "$rc" -eq 0 ]; then
    echo "pass $1 ($((SECONDS - start)) s)"
    rm -f "$logs/$1.log"
  else
    echo "FAIL $1 (status $rc after $((SECONDS - start)) s; log $logs/$1.log)"
  fi
  return "$rc"
}

failures=0
for n in 1 2 3; do
  ci_run "run-$n" || failures=$((failures + 1))
done
ci_run overlap-a &
a=$!
ci_run overlap-b &
b=$!
wait "$a" || failures=$((failures + 1))
wait "$b" || failures=$((failures + 1))

echo "$failures of 5 runs failed"
[ "$failures" -eq 0 ] && rm -rf "$logs"
[ "$failures" -eq 0 ]
