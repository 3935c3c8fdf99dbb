#!/bin/sh
# Every C++ source is formatted as .clang-format says (the generated 2020
# table aside).
set -u
cd "$(dirname "$0")/.." || exit 1
files=$(git ls-files '*.cpp' '*.hpp' | grep -v '_generated\.cpp$')
clang-format --dry-run --Werror $files
