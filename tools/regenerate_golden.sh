#!/bin/sh
# Rewrites tests/fixtures/golden.tsv: the fixed calls of tools/golden_calls.py
# and what the given vapordex answers to each, separated by a tab. Run it only
# when a change of results is intended, and commit the new file on its own.
#   tools/regenerate_golden.sh build/native/cli/vapordex
set -eu
vapordex=${1:-build/native/cli/vapordex}
here=$(dirname "$0")
calls=$(mktemp)
results=$(mktemp)
trap 'rm -f "$calls" "$results"' EXIT
python3 "$here/golden_calls.py" > "$calls"
"$vapordex" --batch "$calls" > "$results"
paste "$calls" "$results" > "$here/../tests/fixtures/golden.tsv"
