#!/usr/bin/env bash
# Installs the build and test prerequisites on Debian 12; does nothing when all are present.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev
  g++-mingw-w64-i686-posix binutils-mingw-w64-i686
  wine wine32:i386 xvfb xauth x11-utils imagemagick fonts-wqy-zenhei
  mdbtools locales python3 python3-cryptography openssl osslsigncode googletest curl nsis
)

have_all() {
  dpkg --print-foreign-architectures | grep -qx i386 || return 1
  local p
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$' || return 1
  done
}

if have_all; then
  exit 0
fi

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)

export DEBIAN_FRONTEND=noninteractive
dpkg --print-foreign-architectures | grep -qx i386 || "${sudo_cmd[@]}" dpkg --add-architecture i386
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${packages[@]}"
