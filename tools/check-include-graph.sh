#!/usr/bin/env bash
# Includes run one way: prints the folder-to-folder include graph of the
# program's sources (tests and benchmarks left out: they may include
# anything) and fails when two folders include each other.
#   tools/check-include-graph.sh [--print]
set -euo pipefail
cd "$(dirname "$0")/.."

edges=$(git ls-files '*.cpp' '*.h' | grep -vE '^(tests|benchmarks)/' | while read -r file; do
  from=${file%%/*}
  sed -n 's@^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([a-z0-9_]*\)/.*@\1@p' "$file" |
    while read -r to; do [ "$to" != "$from" ] && echo "$from $to"; done
done | sort -u)

[ "${1:-}" = --print ] && echo "$edges" | sed 's/ / -> /'
both=$(echo "$edges" | while read -r from to; do
  grep -qx "$to $from" <<<"$edges" && [[ "$from" < "$to" ]] && echo "$from <-> $to"
done || true)
if [ -n "$both" ]; then
  echo "folders that include each other:" >&2
  echo "$both" >&2
  exit 1
fi
