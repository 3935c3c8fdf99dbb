#!/usr/bin/env bash
# Every call of the golden file through a Windows add-in under the Excel
# stand-in, each result required to be the native build's double, bit for
# bit (both printed with 17 significant digits, which tell doubles apart).
#   golden_bits.sh BITS XLHOST_DIR ADDIN GOLDEN VAPORDEX PREFIX
# Exit status 77 (skipped) when this machine cannot run BITS-bit Wine.
set -u
bits=$1 hostdir=$2 addin=$3 golden=$4 vapordex=$5 prefix=$6
here=$(cd "$(dirname "$0")" && pwd)
cases=$(mktemp)
trap 'rm -f "$cases"' EXIT
{
  echo "# The calls of $golden, each to agree exactly with the native build."
  cut -f1 "$golden" | sed 's/^/= /'
} > "$cases"
"$here/run_xlhost.sh" "$bits" "$hostdir" "$addin" "$cases" "$vapordex" "$prefix" > "$cases.out" 2>&1
status=$?
grep -E '^(FAIL|SKIP)|cases compared' "$cases.out" | head -50
rm -f "$cases.out"
exit $status
