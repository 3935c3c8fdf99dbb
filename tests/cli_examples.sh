#!/bin/sh
# The tool's documented examples and exit statuses, run as a user would.
set -u
vapordex=$1
fail=0
expect() {  # expected-output command...
  want=$1; shift
  got=$("$vapordex" "$@" 2>/dev/null)
  if [ "$got" != "$want" ]; then echo "FAIL: vapordex $*: got '$got', want '$want'"; fail=1; fi
}
status() {  # expected-status command...
  want=$1; shift
  "$vapordex" "$@" >/dev/null 2>&1 </dev/null
  got=$?
  if [ "$got" != "$want" ]; then echo "FAIL: vapordex $*: status $got, want $want"; fail=1; fi
}
expect -144892.69996230002 Psat 300 50
expect -999 VofTP 300 1 50
expect 487.74057332649807 HofTP 500 1000 97
status 0 HofTP 500 1000 97
status 2 HofTP 500 1000
status 2 Nope 1 97
status 2 Psat 1x 97
status 2 Psat 1 99999999999
status 2
status 0 --list
status 0 --version
msg=$("$vapordex" Psat 1 2>&1 >/dev/null)
[ "$msg" = "vapordex: wrong number of arguments: Psat takes 2, got 1" ] || { echo "FAIL: message '$msg'"; fail=1; }
out=$(printf 'Psat 300 50\nPsat x 50\n' | "$vapordex" --batch); rc=$?
[ "$rc" = 1 ] || { echo "FAIL: batch status $rc"; fail=1; }
[ "$out" = "$(printf -- '-144892.69996230002\nerror: not a number: '"'"'x'"'")" ] || { echo "FAIL: batch output '$out'"; fail=1; }
exit $fail
