#!/usr/bin/env bash
# An add-in build imports nothing but Windows system DLLs and XLCALL32.DLL
# (Excel4 and Excel4v by their plain names) and exports exactly the worksheet
# functions and the xlAuto* entry points, undecorated.
#   check_xll_tables.sh BITS FILE.xll
#   check_xll_tables.sh BITS PROGRAM.exe --program   (imports only)
set -u
export LC_ALL=C
bits=$1 xll=$2 mode=${3:-}
arch=x86_64; [ "$bits" = 32 ] && arch=i686
table=$("$arch-w64-mingw32-objdump" -p "$xll") || { echo "FAIL: objdump $xll"; exit 1; }
fail=0
dlls=$(printf '%s\n' "$table" | sed -n 's/^\s*DLL Name: //p' | sort -f | tr '\n' ' ')
for d in $dlls; do
  case "${d^^}" in
    KERNEL32.DLL|MSVCRT.DLL|USER32.DLL|ADVAPI32.DLL|GDI32.DLL|NTDLL.DLL) ;;
    XLCALL32.DLL) [ "$mode" != --program ] || { echo "FAIL: a program imports $d"; fail=1; } ;;
    *) echo "FAIL: imports $d"; fail=1 ;;
  esac
done
if [ "$mode" = --program ]; then echo "imports: $dlls"; exit $fail; fi
excel=$(printf '%s\n' "$table" | awk '/DLL Name: XLCALL32.DLL/{f=1;next} /^[ \t]*$/{f=0} f && NF==3 && $2 ~ /^[0-9]+$/ {print $3}' | sort | tr '\n' ' ')
[ "$excel" = "Excel4 Excel4v " ] || { echo "FAIL: XLCALL32.DLL imports '$excel'"; fail=1; }
exports=$(printf '%s\n' "$table" | awk '/\[Ordinal\/Name Pointer\] Table/{f=1;next} /^[ \t]*$/{f=0} f && /^[ \t]*\[/{print $NF}' | sort | tr '\n' ' ')
want="CpofTP CvofTP HofPS HofTP HofTS HofTV Hf Hg KofTP MuofTP PofTV Psat SigmaofT SofPH SofTP SofTV Sf Sg TofPH TofPS Tsat Vf Vg VofTP WofTP XofPH XofPS xlAddInManagerInfo xlAutoAdd xlAutoClose xlAutoOpen xlAutoRegister xlAutoRemove "
want=$(printf '%s\n' $want | sort | tr '\n' ' ')
[ "$exports" = "$want" ] || { echo "FAIL: exports '$exports'"; echo "      want    '$want'"; fail=1; }
echo "imports: $dlls"
exit $fail
