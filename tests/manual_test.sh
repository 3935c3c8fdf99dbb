#!/bin/bash
# The generated manual page renders without a warning and documents every
# function the tool lists; the bash completion completes function names,
# commands and their options.
#   manual_test.sh VAPORDEX MANUAL.1 COMPLETION.bash
set -u
vapordex=$1 manual=$2 completion=$3
fail=0
warnings=$(LC_ALL=C.UTF-8 groff -man -Tutf8 -ww "$manual" 2>&1 >/dev/null)
[ -z "$warnings" ] || { echo "FAIL: groff warns: $warnings"; fail=1; }
page=$(LC_ALL=C.UTF-8 groff -man -Tutf8 "$manual" 2>/dev/null | sed 's/.\x08//g')
for name in $("$vapordex" --list | grep -v '^ ' | cut -d' ' -f1); do
  printf '%s\n' "$page" | grep -q "^ *$name " || { echo "FAIL: $name is not in the manual"; fail=1; }
done
complete_words() {  # the words typed so far (the last one being completed)
  bash -c 'source "$0"; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _vapordex; echo "${COMPREPLY[*]}"' \
    "$completion" "$@"
}
expect() {  # wanted completions, then the words
  want=$1; shift
  got=$(complete_words "$@" | tr ' ' '\n' | sort | tr '\n' ' ')
  [ "$got" = "$want " ] || { echo "FAIL: completing '$*': got '$got', want '$want'"; fail=1; }
}
expect "HofPS HofTP HofTS HofTV" vapordex Hof
expect "saturation-p saturation-t superheat" vapordex table s
expect "--out" vapordex chart hs --o
expect "compare" vapordex comp
expect "SofPH SofTP SofTV" vapordex compare Sof
[ $fail = 0 ] && echo "manual and completion checked"
exit $fail
