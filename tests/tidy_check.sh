#!/bin/sh
# clang-tidy (.clang-tidy) over the Linux-built sources, from BUILD_DIR's
# compile commands: tidy_check.sh BUILD_DIR
set -u
cd "$(dirname "$0")/.." || exit 1
files=$(git ls-files 'addin/*.cpp' 'cli/*.cpp' 'tools/*.cpp' 'installer/*.cpp' 'calc/*.cpp' 'capi/*.cpp' |
        grep -v -e '_generated\.cpp$' -e 'win32_platform\.cpp$' -e 'setup_main\.cpp$' -e 'dllmain\.cpp$')
clang-tidy -p "$1" --quiet --extra-arg=-Wno-unknown-warning-option $files
