#!/bin/sh
# Installs what the build and the tests need on a Debian 12 machine.
# Every package is checked with dpkg first, so a machine that has everything
# does no network work. The libjpeg-turbo source (for the Windows build) is
# fetched once into build/deps and reused.
set -eu

ROOT=$(cd "$(dirname "$0")/.." && pwd)
DEPS="$ROOT/build/deps"

PACKAGES="
  cmake ninja-build make g++ clang clang-format libclang-rt-14-dev
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  wine wine64 xvfb xauth xdotool imagemagick
  googletest libgtest-dev libbenchmark-dev libjpeg62-turbo-dev
  dpkg-dev
"

SUDO=
if [ "$(id -u)" != 0 ]; then SUDO=sudo; fi

missing=
for p in $PACKAGES; do
  if ! dpkg -s "$p" >/dev/null 2>&1 || ! dpkg -s "$p" 2>/dev/null | grep -q '^Status: install ok installed'; then
    missing="$missing $p"
  fi
done

# wine32 makes the wine wrapper pick the 32-bit loader, which cannot run here.
if dpkg -s wine32:i386 >/dev/null 2>&1; then
  echo "setup: warning: wine32:i386 is installed; tests use the 64-bit loader directly" >&2
fi

updated=
apt_update() {
  if [ -z "$updated" ]; then
    $SUDO apt-get update -qq
    updated=1
  fi
}

if [ -n "$missing" ]; then
  echo "setup: installing:$missing"
  apt_update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing >/dev/null
fi

# libjpeg-turbo source for the cross build.
if [ ! -f "$DEPS/libjpeg-turbo.stamp" ]; then
  mkdir -p "$DEPS"
  if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ /etc/apt/sources.list 2>/dev/null &&
     ! grep -qs '^deb-src' /etc/apt/sources.list 2>/dev/null; then
    src=/etc/apt/sources.list.d/debian.sources
    if [ -f "$src" ]; then
      sed 's/^Types: deb$/Types: deb-src/' "$src" | $SUDO tee /etc/apt/sources.list.d/debian-src.sources >/dev/null
    else
      grep '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' | $SUDO tee /etc/apt/sources.list.d/debian-src.list >/dev/null
    fi
    updated=
  fi
  apt_update
  rm -rf "$DEPS/libjpeg-turbo-src"
  mkdir -p "$DEPS/libjpeg-turbo-src"
  (cd "$DEPS/libjpeg-turbo-src" && apt-get source -qq libjpeg-turbo >/dev/null 2>&1 ||
     (cd "$DEPS/libjpeg-turbo-src" && apt-get source --download-only -qq libjpeg-turbo && dpkg-source -x ./*.dsc))
  dir=$(find "$DEPS/libjpeg-turbo-src" -mindepth 1 -maxdepth 1 -type d -name 'libjpeg-turbo-*' | head -n 1)
  if [ -z "$dir" ] || [ ! -f "$dir/CMakeLists.txt" ]; then
    echo "setup: libjpeg-turbo source could not be fetched" >&2
    exit 1
  fi
  rm -f "$DEPS/libjpeg-turbo"
  ln -s "$dir" "$DEPS/libjpeg-turbo"
  touch "$DEPS/libjpeg-turbo.stamp"
fi
