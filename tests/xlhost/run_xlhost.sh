#!/usr/bin/env bash
# Runs the Excel stand-in under Wine on one add-in build and compares its
# worksheet results with the native build's.
#   run_xlhost.sh BITS XLHOST_DIR ADDIN CASES VAPORDEX PREFIX [--excel-version V] [--fail-register-at N]
# Exit status 77 (skipped) when this machine cannot run BITS-bit Wine.
set -u
bits=$1 hostdir=$2 addin=$3 cases=$4 vapordex=$5 prefix=$6; shift 6
here=$(cd "$(dirname "$0")" && pwd)
loader=/usr/lib/wine/wine64
[ "$bits" = 32 ] && loader=/usr/lib/wine/wine
if ! "$loader" --version >/dev/null 2>&1; then
  echo "SKIP: this machine cannot run $bits-bit Wine ($loader)"
  exit 77
fi
out=$(WINELOADER=$loader "$here/../../scripts/wine-env" "$prefix" \
      "$loader" "$hostdir/xlhost.exe" "$addin" "$cases" "$@" 2>&1)
status=$?
printf '%s\n' "$out"
[ $status -eq 0 ] || { echo "FAIL: xlhost exited with $status"; exit 1; }
case " $* " in *" --fail-register-at "*) exit 0 ;; esac   # the failure configuration runs no cases

# Native results for the same cases, line by line.
native=$(grep -v '^#' "$cases" | sed -n 's/^[=~] //p' | "$vapordex" --batch)
markers=$(grep -v '^#' "$cases" | sed -n 's/^\([=~]\) .*/\1/p')
windows=$(printf '%s\n' "$out" | sed -n 's/^case [^\t]*\t//p' | tr -d '\r')
paste <(printf '%s\n' "$markers") <(printf '%s\n' "$native") <(printf '%s\n' "$windows") \
  <(grep -v '^#' "$cases" | sed -n 's/^[=~] //p') |
awk -F'\t' '
  { n++
    if ($3 == "") { print "FAIL: no result for " $4; bad++; next }
    if ($1 == "=" || $2 !~ /^-?[0-9]/ || $3 !~ /^-?[0-9]/) {
      if ($2 != $3) { print "FAIL: " $4 ": native " $2 ", windows " $3; bad++ }
      next }
    d = $2 - $3; if (d < 0) d = -d
    m = $2 < 0 ? -$2 : $2
    if (d > 1e-9 * m) { print "FAIL: " $4 ": native " $2 ", windows " $3; bad++ }
  }
  END { printf "%d cases compared, %d differ\n", n, bad; exit bad > 0 }'
