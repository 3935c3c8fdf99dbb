#!/bin/bash
# What --out does to each kind of target, in a private folder (never under
# /dev): a regular file is replaced keeping its mode, a symbolic link's
# target is replaced and the link kept, a FIFO or a directory is refused
# and left alone, "-" is standard output; a chart whose writing fails (a
# file size limit) is an error and leaves the old file whole; a stray font
# file in the current folder changes nothing.
#   cli_files.sh VAPORDEX
set -u
vapordex=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cd "$dir" || exit 1
fail=0
check() {  # description condition...
  what=$1; shift
  if ! "$@"; then echo "FAIL: $what"; fail=1; fi
}
table() { "$vapordex" table saturation-t --from 300 --to 400 --step 50 --out "$@"; }
first_line='Saturation table by temperature, IAPWS-IF97 (code -97)'

echo old > private; chmod 600 private
table private 2>/dev/null
check "a 0600 file keeps its mode" test "$(stat -c %a private)" = 600
check "the file is replaced" test "$(head -n 1 private)" = "$first_line"

echo old > target; ln -s target link
table link 2>/dev/null
check "a symbolic link stays a link" test -L link
check "the link's target is replaced" test "$(head -n 1 target)" = "$first_line"

mkfifo fifo
table fifo 2>/dev/null; status=$?
check "a FIFO is refused (status $status)" test $status = 2
check "the FIFO stays a FIFO" test -p fifo

mkdir folder
table folder 2>/dev/null; status=$?
check "a directory is refused (status $status)" test $status = 2

out=$(table - 2>/dev/null); status=$?
check "--out - writes to standard output" test "$status" = 0 -a "$(echo "$out" | head -n 1)" = "$first_line"
check "--out - creates no file named -" test ! -e ./-

# A read-only file, written by an ordinary user (root may write anything):
# as root, the check runs as nobody where nobody can reach the tool.
if [ "$(id -u)" = 0 ]; then
  as_user() { setpriv --reuid=65534 --regid=65534 --clear-groups "$@"; }
else
  as_user() { "$@"; }
fi
chmod 1777 "$dir"
echo old > readonly; chmod 444 readonly
if as_user "$vapordex" --version >/dev/null 2>&1; then
  as_user "$vapordex" table saturation-t --from 300 --to 400 --step 50 --out readonly 2>/dev/null
  status=$?
  check "a read-only file is refused (status $status)" test $status = 2
  check "the read-only file is untouched" test "$(cat readonly)" = old
else
  echo "skipped: the read-only file check (no ordinary user can run $vapordex here)"
fi

"$vapordex" chart pt --out chart.svg 2>/dev/null
cp chart.svg whole.svg
for limit in 16384 1024; do
  (trap '' XFSZ; exec prlimit --fsize=$limit "$vapordex" chart pt --out chart.svg) 2>/dev/null
  status=$?
  check "a chart cut at $limit bytes is an error (status $status)" test $status = 2
  check "the old chart stays whole after the $limit-byte limit" cmp -s chart.svg whole.svg
  check "no temporary file is left after the $limit-byte limit" test -z "$(ls | grep tmp)"
done

echo 'not a font' > plxtnd5.fnt
"$vapordex" chart pt --out stray.svg 2>/dev/null
check "a stray font file in the current folder changes nothing" cmp -s stray.svg whole.svg

[ $fail = 0 ] && echo "all --out checks passed"
exit $fail
