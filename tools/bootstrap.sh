#!/bin/bash
# Installs everything the build and the tests need, once per machine: Debian packages,
# the cross-built static libraries for both targets, and nothing else. Safe to run again:
# each step checks a stamp and is skipped when its inputs have not changed.
#
#   tools/bootstrap.sh            # both targets
#   EFIR_DEPS=/some/dir tools/bootstrap.sh
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
deps=${EFIR_DEPS:-/var/cache/efirushka}
src=$deps/src
jobs=$(nproc)

log() { printf '[bootstrap] %s\n' "$*"; }

packages=(
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix
  libz-mingw-w64-dev nasm wine64 fonts-wine xvfb xauth cmake ninja-build python3
  dpkg-dev locales lame googletest xdotool python3-pil
  ffmpeg
)

missing_packages() {
  local p
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"
  done
}

ensure_deb_src() {
  # Source packages come from the release itself: the security mirror lacks some of the
  # source files its index lists.
  local file=/etc/apt/sources.list.d/efirushka-src.sources uri
  uri=$(awk '/^URIs:/ {print $2; exit}' /etc/apt/sources.list.d/debian.sources)
  local want
  want=$(printf 'Types: deb-src\nURIs: %s\nSuites: bookworm\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' "$uri")
  [ -f "$file" ] && [ "$(cat "$file")" = "$want" ] && return 1
  log "adding a deb-src entry"
  echo "$want" >"$file"
  return 0
}

install_packages() {
  local need updated=0
  if ensure_deb_src; then apt-get update -qq; updated=1; fi
  need=$(missing_packages)
  [ -z "$need" ] && return 0
  log "installing: $(echo $need)"
  [ $updated = 1 ] || apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $need >/dev/null
}

# Wine maps Windows file names to Unix ones through the Unix locale: without a generated
# UTF-8 Russian locale, files with Cyrillic names (an equalizer preset) cannot be opened.
ensure_locale() {
  locale -a 2>/dev/null | grep -qix 'ru_RU.utf8' && return
  log "generating the ru_RU.UTF-8 locale"
  localedef -i ru_RU -f UTF-8 ru_RU.UTF-8
}

# Source packages, each unpacked once with Debian's patches applied.
declare -A source_dir=(
  [libpng1.6]=libpng1.6-* [libjpeg-turbo]=libjpeg-turbo-* [giflib]=giflib-*
  [mpg123]=mpg123-* [curl]=curl-* [ffmpeg]=ffmpeg-*
)

fetch_sources() {
  mkdir -p "$src"
  local pkg
  for pkg in "${!source_dir[@]}"; do
    if compgen -G "$src/${source_dir[$pkg]}/" >/dev/null; then continue; fi
    log "fetching source of $pkg"
    # apt-get source exits non-zero when a detached signature is missing on the mirror,
    # although every tarball arrives; the unpack below checks what matters.
    (cd "$src" && apt-get source --download-only -qq "$pkg" >/dev/null 2>&1 || true)
    local dsc
    dsc=$(ls -t "$src"/${pkg}_*.dsc | head -1)
    (cd "$src" && dpkg-source -x --no-check "$dsc" >/dev/null)
  done
}

srcdir() {
  [ "$1" = googletest ] && { echo /usr/src/googletest; return; }
  compgen -G "$src/${source_dir[$1]}/" | head -1 | sed 's:/$::'; }

# build_step NAME ARCH COMMANDS...: runs COMMANDS unless the stamp says this exact recipe ran.
build_step() {
  local name=$1 arch=$2; shift 2
  local stamp=$deps/$arch/.stamp-$name
  local recipe
  # The recipe names the commands and the toolchain's content, not where this checkout
  # lives nor how many cores it may use: every clone and work tree, and a run pinned to
  # fewer cores, shares one set of libraries.
  local commands=${*//$root/ROOT}
  commands=${commands//-j$jobs/-jN}
  recipe=$(printf '%s\n' "$commands" "$(cat "$root/cmake/toolchain-$arch-w64-mingw32.cmake" "$root/cmake/toolchain-mingw.cmake")" \
    "$(srcdir "$name" 2>/dev/null || echo "$name")" | sha1sum | cut -c1-16)
  if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$recipe" ]; then return; fi
  log "building $name for $arch"
  local started=$SECONDS
  if ! ( set -e; eval "$*" ) >"$deps/build-$arch-$name.log" 2>&1; then
    log "FAILED: $name for $arch, see $deps/build-$arch-$name.log"
    tail -30 "$deps/build-$arch-$name.log"
    exit 1
  fi
  echo "$recipe" >"$stamp"
  log "built $name for $arch in $((SECONDS - started)) s"
}

build_libraries() {
  local arch=$1 triple=$1-w64-mingw32
  local prefix=$deps/$arch build=$deps/build/$arch
  local tc=$root/cmake/toolchain-$triple.cmake
  mkdir -p "$prefix" "$build"
  local common="-G Ninja -DCMAKE_TOOLCHAIN_FILE=$tc -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=$prefix -DEFIR_DEPS_PREFIX=$prefix"
  local zlib="-DZLIB_LIBRARY=/usr/$triple/lib/libz.a -DZLIB_INCLUDE_DIR=/usr/$triple/include"

  build_step libpng1.6 "$arch" "cmake -S $(srcdir libpng1.6) -B $build/libpng $common $zlib \
      -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
    && cmake --build $build/libpng --target install -j$jobs"

  build_step libjpeg-turbo "$arch" "cmake -S $(srcdir libjpeg-turbo) -B $build/jpeg $common \
      -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_JAVA=OFF -DREQUIRE_SIMD=ON \
    && cmake --build $build/jpeg --target install -j$jobs"

  build_step giflib "$arch" "rm -rf $build/giflib && cp -a $(srcdir giflib) $build/giflib \
    && make -C $build/giflib -j$jobs libgif.a CC=$triple-gcc-posix AR=$triple-ar 'CFLAGS=-std=gnu99 -O2 -Wall' \
    && install -d $prefix/include $prefix/lib \
    && install -m644 $build/giflib/gif_lib.h $prefix/include/ \
    && install -m644 $build/giflib/libgif.a $prefix/lib/"

  build_step mpg123 "$arch" "cmake -S $(srcdir mpg123)/ports/cmake -B $build/mpg123 $common \
      -DBUILD_SHARED_LIBS=OFF -DBUILD_LIBOUT123=OFF \
    && cmake --build $build/mpg123 --target install -j$jobs"

  build_step curl "$arch" "cmake -S $(srcdir curl) -B $build/curl $common $zlib \
      -DBUILD_SHARED_LIBS=OFF -DBUILD_CURL_EXE=OFF -DBUILD_TESTING=OFF -DENABLE_MANUAL=OFF \
      -DHTTP_ONLY=ON -DCURL_USE_SCHANNEL=ON -DCURL_USE_OPENSSL=OFF \
      -DCURL_USE_LIBSSH2=OFF -DCURL_USE_LIBPSL=OFF -DUSE_LIBIDN2=OFF \
      -DCURL_ZLIB=ON -DCURL_BROTLI=OFF -DCURL_ZSTD=OFF -DUSE_NGHTTP2=OFF -DENABLE_UNIX_SOCKETS=OFF \
    && cmake --build $build/curl --target install -j$jobs"

  # AAC (ADTS, with SBR and PS) and WMA (ASF): FFmpeg's decoding libraries and nothing more.
  # --disable-autodetect keeps every outside library out (LGPL, no surprise links); Win32
  # threads back the libraries' one-time table set-up, which two streams may run at once.
  build_step ffmpeg "$arch" "rm -rf $build/ffmpeg && mkdir -p $build/ffmpeg && cd $build/ffmpeg \
    && $(srcdir ffmpeg)/configure --prefix=$prefix --enable-cross-compile --target-os=mingw32 \
      --arch=$arch --cross-prefix=$triple- --cc=$triple-gcc-posix \
      --enable-static --disable-shared --disable-debug --disable-doc --disable-programs \
      --disable-network --disable-autodetect --enable-w32threads \
      --disable-avdevice --disable-avfilter --disable-swscale --disable-postproc \
      --disable-everything --enable-decoder=aac,wmav1,wmav2 --enable-parser=aac \
      --enable-demuxer=asf \
    && make -j$jobs && make install"

  # Tests run only on the 64-bit build; the 32-bit one is compiled and linked, never run here.
  if [ "$arch" = x86_64 ]; then
    build_step googletest "$arch" "cmake -S /usr/src/googletest -B $build/googletest $common \
        -DBUILD_GMOCK=ON -DINSTALL_GTEST=ON -Dgtest_force_shared_crt=OFF \
      && cmake --build $build/googletest --target install -j$jobs"
  fi
}

started=$SECONDS
# Several checkouts may bootstrap at once; one at a time keeps apt and the builds sane.
mkdir -p "$deps"
exec 9>"$deps/.lock"
flock 9
install_packages
ensure_locale
fetch_sources
# The two targets build side by side: each library's build is mostly serial configure time.
build_libraries x86_64 & x64=$!
build_libraries i686 & x86=$!
status=0
wait $x64 || status=1
wait $x86 || status=1
[ $status = 0 ] || exit 1
log "ready in $((SECONDS - started)) s (libraries in $deps)"
