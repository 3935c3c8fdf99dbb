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
expect -999 Psat 300 50
expect -999 VofTP 300 1 50
expect 487.74057332649795 HofTP 500 1000 97
status 0 HofTP 500 1000 97
status 2 HofTP 500 1000
status 2 Nope 1 97
status 2 Psat 1x 97
status 2 Psat 1 99999999999
status 2
status 0 --list
status 0 --version
# Help is asked for, not an unknown function; the plain options take no
# arguments; names are matched as Excel matches them, without regard to case.
for h in --help -h help; do
  status 0 $h
  "$vapordex" $h | grep -q '^usage: vapordex FUNCTION ARG' || { echo "FAIL: $h prints no usage"; fail=1; }
done
status 2 --version extra
status 2 --list extra
expect 487.74057332649795 hoftp 500 1000 97
expect 487.74057332649795 HOFTP 500 1000 97
# --batch skips blank and comment lines, each with an empty line in its place.
out=$(printf '# a comment\nPsat 300 50\n\n  # indented\nHofTP 500 1000 97\n' | "$vapordex" --batch); rc=$?
[ "$rc" = 0 ] || { echo "FAIL: batch with comments: status $rc"; fail=1; }
[ "$out" = "$(printf '\n-999\n\n\n487.74057332649795')" ] || { echo "FAIL: batch with comments: '$out'"; fail=1; }
msg=$("$vapordex" Psat 1 2>&1 >/dev/null)
[ "$msg" = "vapordex: wrong number of arguments: Psat takes 2, got 1" ] || { echo "FAIL: message '$msg'"; fail=1; }
out=$(printf 'Psat 300 50\nPsat x 50\n' | "$vapordex" --batch); rc=$?
[ "$rc" = 1 ] || { echo "FAIL: batch status $rc"; fail=1; }
[ "$out" = "$(printf -- '-999\nerror: not a number: '"'"'x'"'")" ] || { echo "FAIL: batch output '$out'"; fail=1; }

# A failure to read or write is never reported as success: one line on
# stderr and status 2.
io() {  # expected-message-start description command...
  want=$1; what=$2; shift 2
  msg=$("$@" 2>&1 >/dev/null); got=$?
  case $msg in "$want"*) ;; *) echo "FAIL: $what: message '$msg'"; fail=1 ;; esac
  [ "$got" = 2 ] || { echo "FAIL: $what: status $got, want 2"; fail=1; }
  [ "$(printf '%s\n' "$msg" | wc -l)" = 1 ] || { echo "FAIL: $what: more than one line"; fail=1; }
}
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
yes 'HofTP 500 1000 97' | head -n 20000 > "$tmp/lines"
full() { "$vapordex" "$@" > /dev/full; }
closed() { "$vapordex" "$@" >&-; }
if [ -w /dev/full ]; then
  io "vapordex: cannot write output: No space left on device" "batch to /dev/full" full --batch "$tmp/lines"
  io "vapordex: cannot write output: No space left on device" "call to /dev/full" full Psat 300 -97
  io "vapordex: cannot write output: No space left on device" "--list to /dev/full" full --list
  io "vapordex: cannot write output: No space left on device" "--version to /dev/full" full --version
fi
io "vapordex: cannot write output: Bad file descriptor" "call to a closed stdout" closed Psat 300 -97
io "vapordex: cannot write output: Bad file descriptor" "batch to a closed stdout" closed --batch "$tmp/lines"
io "vapordex: cannot read input: Is a directory" "batch of a directory" "$vapordex" --batch "$tmp"
batch_stdin_dir() { "$vapordex" --batch < "$tmp"; }
io "vapordex: cannot read input: Is a directory" "batch from a directory on stdin" batch_stdin_dir
io "vapordex: cannot open" "batch of a missing file" "$vapordex" --batch "$tmp/missing"
# A line with a NUL byte is an error in its place; the rest is answered.
out=$(printf 'Psat 373.15 -97\0junk\nPsat 373.15 -97\n' | "$vapordex" --batch); rc=$?
[ "$rc" = 1 ] || { echo "FAIL: NUL line status $rc"; fail=1; }
[ "$out" = "$(printf 'error: the line holds a NUL byte\n%s' "$("$vapordex" Psat 373.15 -97)")" ] ||
  { echo "FAIL: NUL line output '$out'"; fail=1; }
# Numbers Excel cannot pass are bad arguments with status 2.
for bad in 1e999 inf nan 1e-999 0x10 ' 373.15'; do status 2 Psat "$bad" -97; done
status 2 Psat 373.15 0x61
big=$(head -c 100000 /dev/zero | tr '\0' 9)
status 2 Psat "$big" -97
msg=$("$vapordex" Psat "$big" -97 2>&1 >/dev/null)
[ ${#msg} -lt 200 ] || { echo "FAIL: a long argument is echoed whole"; fail=1; }
exit $fail
