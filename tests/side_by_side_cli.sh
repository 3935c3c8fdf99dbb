#!/bin/sh
# vapordex compare, table and chart run as a user would: outputs, --help,
# and every class of bad input a clear one-line error, status 2, no file.
set -u
vapordex=$1
fail=0
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
check() {  # description condition...
  what=$1; shift
  "$@" || { echo "FAIL: $what"; fail=1; }
}
bad() {  # expected-message-part command...
  want=$1; shift
  msg=$("$vapordex" "$@" 2>&1 >/dev/null); got=$?
  [ "$got" = 2 ] || { echo "FAIL: vapordex $*: status $got, want 2"; fail=1; }
  case $msg in *"$want"*) ;; *) echo "FAIL: vapordex $*: message '$msg'"; fail=1 ;; esac
  [ "$(printf '%s\n' "$msg" | wc -l)" = 1 ] || { echo "FAIL: vapordex $*: not one line"; fail=1; }
}

# compare: six rows, the README's example.
out=$("$vapordex" compare HofTP 500 10)
check "compare prints six formulations" [ "$(printf '%s\n' "$out" | grep -c -E '^ *(IFC-67|KKHM 1969|NBS/NRC 1984|IAPWS-95|IAPWS-IF97|compact 2020) ')" = 6 ]
check "compare csv has a header and six rows" [ "$("$vapordex" compare HofTP 500 10 --format csv | wc -l)" = 7 ]
"$vapordex" compare Psat 212 --english --format json | grep -q '"unit": "psia"' || { echo "FAIL: compare json"; fail=1; }

# tables
out=$("$vapordex" table saturation-t --from 300 --to 400 --step 50 --format csv)
check "saturation-t rows" [ "$(printf '%s\n' "$out" | wc -l)" = 4 ]
same_double() { python3 -c 'import sys; sys.exit(float(sys.argv[1]) != float(sys.argv[2]))' "$1" "$2"; }
check "saturation-t value" same_double "$(printf '%s\n' "$out" | sed -n 2p | cut -d, -f2)" "$("$vapordex" Psat 300 -97)"
# Inputs print as they were typed (the shortest text of the same double).
check "csv inputs as typed" [ "$("$vapordex" table superheat --pressures 0.1 --temperatures 500.3 --format csv | sed -n 2p | cut -d, -f1-2)" = "0.1,500.3" ]
"$vapordex" table saturation-p --pressures 0.1 --format json | grep -q ', 0.1, ' ||
  { echo "FAIL: json inputs as typed"; fail=1; }
"$vapordex" table saturation-p --pressures 0.1,1 --code 97 --format markdown | grep -q '| T \[F\] | P \[psia\]' ||
  { echo "FAIL: saturation-p markdown"; fail=1; }
check "superheat status" "$vapordex" table superheat --pressures 1:3:1 --temperatures 500,600 --out "$tmp/sh.csv" --format csv
check "superheat to a file" [ "$(wc -l < "$tmp/sh.csv")" = 7 ]
check "no temporary file left" [ "$(ls "$tmp")" = sh.csv ]
# No progress bar when stderr is not a terminal, even for a large grid.
err=$("$vapordex" table superheat --pressures 1:100:1 --temperatures 300:500:1 --code -67 2>&1 >/dev/null)
check "no progress bar off a terminal" [ -z "$err" ]
# ... and a bar that reaches 100 % when it is (script gives it a terminal).
if command -v script >/dev/null; then
  bar=$(script -qc "'$vapordex' table superheat --pressures 1:100:1 --temperatures 300:500:1 --code -67 >/dev/null" /dev/null | tr '\r' '\n')
  printf '%s\n' "$bar" | grep -q '\] 100%' || { echo "FAIL: no progress bar on a terminal"; fail=1; }
fi

# charts
check "chart status" "$vapordex" chart hs --out "$tmp/m.png" --codes 97,67 --width 500 --height 400
check "chart png" [ "$(head -c 4 "$tmp/m.png" | tail -c 3)" = PNG ]
check "deviation status" "$vapordex" chart deviation --code 84 --property s --out "$tmp/d.svg"
check "chart svg" grep -q '</svg>' "$tmp/d.svg"

# --help for each subcommand
for sub in compare table chart; do
  "$vapordex" $sub --help | grep -q "vapordex $sub" || { echo "FAIL: $sub --help"; fail=1; }
done

# Bad input: errors before any work, no file left behind.
bad "unknown kind 'wet'" table wet --from 1 --to 2 --step 1
bad "the step is zero" table saturation-t --from 300 --to 400 --step 0
bad "the step goes away" table saturation-t --from 300 --to 400 --step -10
bad "the step goes away" table saturation-t --from 400 --to 300 --step 10
bad "needs --pressures" table saturation-p --pressures ''
bad "not a number: 'x'" table saturation-p --pressures 1,x
bad "more than 10000000" table saturation-t --from 300 --to 20000000 --step 1
bad "more than 10000000" table superheat --pressures 1:5000:1 --temperatures 300:3000:1
bad "needs --from" table saturation-t --to 400 --step 1
bad "no temperature of the range lies on the saturation line" table saturation-t --from 650 --to 680 --step 5
bad "no temperature of the range lies on the saturation line" table saturation-t --from 200 --to 250 --step 10
bad "no saturation at 30 MPa" table saturation-p --pressures 20,30
bad "no saturation at -1 MPa" table saturation-p --pressures -1 --format csv
bad "a pressure must be above zero: -2" table superheat --pressures 1,-2 --temperatures 500
bad "above absolute zero: -500" table superheat --pressures 1 --temperatures -500 --code 97
bad "not a formulation code" table saturation-t --from 300 --to 400 --step 10 --code 50
bad "cannot write '$tmp/no/such/dir/t.csv'" table saturation-t --from 300 --to 400 --step 10 --out "$tmp/no/such/dir/t.csv"
for word in nan inf 1e400 1e-400 0x1f4 ' 500' ''; do
  bad "compare: " compare HofTP "$word" 10
done
bad "not a formulation code: '4294967393'" chart hs --out "$tmp/x.png" --codes 4294967393
bad "not a number: 'nan'" table saturation-p --pressures 1,nan
bad "--code is for deviation maps" chart hs --out "$tmp/x.png" --code 67
bad "--codes is for the property charts" chart deviation --out "$tmp/x.png" --codes 67
bad "IAPWS-95 against itself" chart deviation --out "$tmp/x.png" --code 95
note=$("$vapordex" chart deviation --out "$tmp/d97.svg" 2>&1 >/dev/null)
case $note in *"no --code given, mapping IAPWS-IF97"*) ;; *) echo "FAIL: deviation without --code says '$note'"; fail=1 ;; esac
bad "unknown kind 'bar'" chart bar --out "$tmp/x.png"
bad "must end in .svg, .png or .pdf" chart hs --out "$tmp/x.gif"
bad "not a formulation code" chart hs --out "$tmp/x.png" --codes 97,50
bad "--property must be h, v or s" chart deviation --code 67 --property u --out "$tmp/x.png"
bad "cannot write" chart ts --out "$tmp/no/such/dir/x.png"
bad "unknown function: 'Hofx'" compare Hofx 1 2
bad "takes 2, got 1" compare HofTP 1
bad "compare" compare HofTP 1 x
check "no chart file from a failed run" [ ! -e "$tmp/x.png" ] && [ ! -e "$tmp/x.gif" ]
# The classic forms are unchanged.
check "single call unchanged" [ "$("$vapordex" HofTP 500 1000 97)" = 487.74057332649795 ]
exit $fail
