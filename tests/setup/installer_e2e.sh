#!/usr/bin/env bash
# The installer end to end under Wine and Xvfb: a registered Excel of today
# (Excel.Application.16, Excel 2016 to Microsoft 365) whose App Paths entry
# points at a folder with a small EXCEL.EXE of the given bitness; start the
# installer, screenshot it, press Install with xdotool, check the written
# add-in byte for byte and the window's texts, start again ("already
# installed"), leave with Exit (exit code 0); then with a refused Office
# (Excel.Application.13) the fatal box 293: Install pressed on the window
# behind it does nothing (no file written, no "installed"), and the box ends
# the program with exit code 1.
#   installer_e2e.sh BITS SETUP.exe HELPERS_DIR EXPECTED.xll WORK_DIR
# Exit status 77 (skipped) when this machine cannot run BITS-bit Wine.
set -u
bits=$1 setup=$2 helpers=$3 expected=$4 work=$5
title="Quellbrooke's Steam Property Excel Add-In Installer"
loader=/usr/lib/wine/wine64; view=/reg:64; xll=Vapordex64.xll
if [ "$bits" = 32 ]; then loader=/usr/lib/wine/wine; view=/reg:32; xll=Vapordex32.xll; fi
if ! "$loader" --version >/dev/null 2>&1; then
  echo "SKIP: this machine cannot run $bits-bit Wine ($loader)"
  exit 77
fi
for tool in Xvfb xdotool import; do
  command -v $tool >/dev/null || { echo "FAIL: $tool is not installed"; exit 1; }
done

rm -rf "$work"; mkdir -p "$work"
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINELOADER=$loader
display=:$((90 + bits))
Xvfb $display -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display
cleanup() { wineserver -k >/dev/null 2>&1; kill $xvfb 2>/dev/null; }
trap cleanup EXIT
sleep 1
"$loader" wineboot -i >/dev/null 2>&1; wineserver -w

fail=0
check() { if ! eval "$1"; then echo "FAIL: $2"; fail=1; fi; }
reg() { "$loader" reg "$@" >/dev/null 2>&1; }
control() { "$loader" "$helpers/wincontrol.exe" "$@" 2>/dev/null | tr -d '\r'; }
status_line() { control texts "$title" | sed -n 's/^line //p' | sed -n 8p; }
click() {  # button text
  local xy; xy=$(control rect "$title" "$1")
  [ -n "$xy" ] || { echo "FAIL: no $1 button"; fail=1; return; }
  xdotool mousemove --sync $xy click 1
}

reg add 'HKCU\Software\Wine' /v Version /d win7 /f
reg add 'HKCR\Excel.Application\CurVer' /ve /d Excel.Application.16 /f
reg add 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\excel.exe' /v Path /d 'C:\Office' /f $view
mkdir -p "$WINEPREFIX/drive_c/Office"
cp "$helpers/EXCEL.exe" "$WINEPREFIX/drive_c/Office/EXCEL.EXE"
profile=$("$loader" cmd /c echo %USERPROFILE% 2>/dev/null | tr -d '\r')
addins=$("$loader" winepath -u "$profile\\AppData\\Roaming\\Microsoft\\AddIns" 2>/dev/null | tr -d '\r')

# First start: install.
"$loader" "$setup" & pid=$!
check 'control wait "$title" 60 >/dev/null' "the installer window did not appear"
sleep 2
import -display $display -window root "$work/installer-$bits.png" 2>/dev/null
check '[ -s "$work/installer-$bits.png" ]' "no screenshot"
check '[ "$(status_line)" = "Push the button below to install the Add-In." ]' "initial status: $(status_line)"
texts=$(control texts "$title")
check 'grep -qx "line Microsoft Office Version: 2016 or later" <<<"$texts"' "Office version line"
check 'grep -qx "line Add-In: $xll" <<<"$texts"' "add-in name line"
check 'grep -qx "button Install enabled" <<<"$texts"' "Install enabled at start"
click Install
for k in $(seq 50); do [ "$(status_line)" = "Add-In has been successfully installed." ] && break; sleep 0.2; done
check '[ "$(status_line)" = "Add-In has been successfully installed." ]' "status after Install: $(status_line)"
check 'control texts "$title" | grep -qx "button Install disabled"' "Install disabled after installing"
check 'cmp -s "$addins/$xll" "$expected"' "the installed add-in differs from $expected"
click Exit
wait $pid; code=$?
check '[ $code = 0 ]' "Exit ended with code $code"

# Second start: already installed.
"$loader" "$setup" & pid=$!
check 'control wait "$title" 60 >/dev/null' "the installer window did not appear again"
sleep 1
check '[ "$(status_line)" = "Add-In has already been installed." ]' "second status: $(status_line)"
click Exit
wait $pid; code=$?
check '[ $code = 0 ]' "Exit ended with code $code"

# A refused Office: the fatal box; the window behind it takes no input, so
# Install writes nothing; the box ends the program with exit code 1.
reg add 'HKCR\Excel.Application\CurVer' /ve /d Excel.Application.13 /f
touch "$work/marker"; sleep 1
(cd "$work" && exec "$loader" "$setup") & pid=$!
check 'control wait "Fatal Error Code 293" 60 >/dev/null' "no box 'Fatal Error Code 293'"
sleep 1
import -display $display -window root "$work/fatal-$bits.png" 2>/dev/null
xy=""
for k in $(seq 20); do xy=$(control rect "$title" Install); [ -n "$xy" ] && break; sleep 0.5; done
check '[ -n "$xy" ]' "no Install button behind the fatal box"
[ -n "$xy" ] && xdotool mousemove --sync $xy click 1 && sleep 1 && xdotool click 1 && sleep 1
check '[ "$(status_line)" != "Add-In has been successfully installed." ]' "Install behind the fatal box reported success"
written=$(find "$work" -newer "$work/marker" -type f \( -name '*.xll' -o -name '*.tmp' -o -name '(null)*' \) 2>/dev/null)
check '[ -z "$written" ]' "files written behind the fatal box: $written"
xdotool search --name "Fatal Error Code 293" windowactivate --sync key Return 2>/dev/null ||
  xdotool key Return
wait $pid; code=$?
check '[ $code = 1 ]' "the fatal box ended with code $code"

[ $fail = 0 ] && echo "installer end to end ($bits-bit): all checks passed"
exit $fail
