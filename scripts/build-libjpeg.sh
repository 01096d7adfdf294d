#!/bin/sh
# Usage: build-libjpeg.sh BUILD_DIR
# Fetches Debian's libjpeg-turbo source package and cross-builds its static
# library for 32-bit Windows into BUILD_DIR/libjpeg/install.
set -eu
build=$(cd "$1" && pwd)
top=$(cd "$(dirname "$0")/.." && pwd)
dir="$build/libjpeg"
[ -f "$dir/install/lib/libjpeg.a" ] && exit 0

rm -rf "$dir"
mkdir -p "$dir/src"
cd "$dir/src"
apt-get source -qq libjpeg-turbo >/dev/null 2>&1 || apt-get source libjpeg-turbo
srcdir=$(find "$dir/src" -maxdepth 1 -type d -name 'libjpeg-turbo-*' | head -n 1)
[ -n "$srcdir" ] || { echo "libjpeg-turbo source not found" >&2; exit 1; }

cmake -S "$srcdir" -B "$dir/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$top/cmake/toolchain-i686-mingw.cmake" \
    -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$dir/install" \
    -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
    -DWITH_SIMD=ON -DREQUIRE_SIMD=ON \
    -DWITH_TURBOJPEG=OFF -DWITH_JAVA=OFF -Wno-dev >/dev/null
cmake --build "$dir/build" >/dev/null 2>&1
cmake --install "$dir/build" >/dev/null
