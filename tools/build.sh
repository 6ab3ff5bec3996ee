#!/bin/bash
# tools/build.sh BUILD_ROOT ARCH: configures (once) and builds one target into BUILD_ROOT/ARCH.
# The 32-bit target builds the libraries and the two programs only: it cannot run here.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$1/$2 arch=$2
tests=ON; [ "$arch" = x86_64 ] || tests=OFF
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-$arch-w64-mingw32.cmake" -DEFIR_TESTS=$tests >/dev/null
fi
# Progress lines are dropped; warnings and errors stay.
set +e
cmake --build "$build" 2>&1 | grep -v '^\[[0-9]*/[0-9]*\] '
rc=${PIPESTATUS[0]}
[ "$rc" = 0 ] || { echo "build of $arch failed"; exit 1; }
