#!/bin/sh
# Two builds of the 64-bit add-in from the same sources in two fresh build
# folders, with the same SOURCE_DATE_EPOCH, are the same bytes.
#   reproducible_build.sh SOURCE_DIR WORK_DIR
set -u
src=$1 work=$2
command -v x86_64-w64-mingw32-g++ >/dev/null || { echo "SKIP: no mingw-w64"; exit 77; }
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$src" log -1 --format=%ct 2>/dev/null || echo 1577836800)}
rm -rf "$work"
for n in 1 2; do
  cmake -S "$src" -B "$work/$n" -DCMAKE_TOOLCHAIN_FILE="$src/cmake/mingw-x86_64.cmake" \
        -DCMAKE_BUILD_TYPE=Release >/dev/null || exit 1
  cmake --build "$work/$n" -j 2 --target vapordex_xll >/dev/null || exit 1
done
if cmp "$work/1/xll/Vapordex64.xll" "$work/2/xll/Vapordex64.xll"; then
  rm -rf "$work"
  exit 0
fi
echo "FAIL: two builds differ"
exit 1
