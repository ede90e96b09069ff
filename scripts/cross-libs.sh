#!/usr/bin/env bash
# Builds the static libraries of the Windows cross build, once: libzip from Debian's source package,
# GoogleTest from /usr/src/googletest, and a copy of the header-only JSON library. zlib comes from
# the mingw system root (libz-mingw-w64-dev). Usage: scripts/cross-libs.sh [prefix]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
prefix=$(realpath -m "${1:-$root/build/windows-deps}")
toolchain=$root/cmake/toolchain-mingw64.cmake
jobs=${JOBS:-2}
mkdir -p "$prefix/include" "$prefix/lib" "$prefix/src" "$prefix/build"

configure_and_install() { # name source-dir cmake-options...
  local name=$1 source=$2
  shift 2
  cmake -S "$source" -B "$prefix/build/$name" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCRV_WINDOWS_DEPS="$prefix" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DBUILD_SHARED_LIBS=OFF "$@" >/dev/null
  cmake --build "$prefix/build/$name" -j "$jobs" >/dev/null
  cmake --install "$prefix/build/$name" >/dev/null
}

# The source package comes through a private apt configuration, so the system's stays untouched.
fetch_libzip_source() {
  local apt=$prefix/apt
  mkdir -p "$apt/lists/partial" "$apt/cache/archives/partial"
  local mirror=http://deb.debian.org/debian
  local keyring=/usr/share/keyrings/debian-archive-keyring.gpg
  echo "deb-src [signed-by=$keyring] $mirror bookworm main" >"$apt/sources.list"
  local options=(-o Dir::Etc::sourcelist="$apt/sources.list" -o Dir::Etc::sourceparts=-
    -o Dir::State::Lists="$apt/lists" -o Dir::Cache="$apt/cache" -o APT::Sandbox::User=root -qq)
  apt-get "${options[@]}" update
  (cd "$prefix/src" && apt-get "${options[@]}" source --download-only libzip)
  local dsc
  dsc=$(ls "$prefix"/src/libzip_*.dsc | head -n 1)
  (cd "$prefix/src" && dpkg-source --no-check -x "$dsc" >/dev/null)
}

if [[ ! -f $prefix/lib/libzip.a ]]; then
  echo "cross-libs: libzip"
  ls -d "$prefix"/src/libzip-*/ >/dev/null 2>&1 || fetch_libzip_source
  source=$(ls -d "$prefix"/src/libzip-*/ | head -n 1)
  configure_and_install libzip "$source" -DBUILD_TOOLS=OFF -DBUILD_REGRESS=OFF -DBUILD_EXAMPLES=OFF \
    -DBUILD_DOC=OFF -DENABLE_BZIP2=OFF -DENABLE_LZMA=OFF -DENABLE_ZSTD=OFF -DENABLE_OPENSSL=OFF \
    -DENABLE_GNUTLS=OFF -DENABLE_MBEDTLS=OFF -DENABLE_COMMONCRYPTO=OFF -DENABLE_WINDOWS_CRYPTO=OFF \
    -DZLIB_LIBRARY=/usr/x86_64-w64-mingw32/lib/libz.a -DZLIB_INCLUDE_DIR=/usr/x86_64-w64-mingw32/include \
    -DCMAKE_C_FLAGS=-w # its own warnings are not ours to act on
fi

if [[ ! -f $prefix/lib/libgtest.a ]]; then
  echo "cross-libs: googletest"
  configure_and_install googletest /usr/src/googletest -DBUILD_GMOCK=OFF -DINSTALL_GTEST=ON
fi

# Only the JSON headers: the whole of /usr/include must not reach the cross compiler.
if [[ ! -f $prefix/include/nlohmann/json.hpp ]]; then
  cp -r /usr/include/nlohmann "$prefix/include/"
fi
echo "cross-libs: ready in $prefix"
