#!/usr/bin/env bash
# Installs, on Debian 12, every package the project needs to build, test and benchmark,
# including the MinGW-w64 cross compilers and Wine for the Windows build of Halvane3: 32-bit
# Wine for the 32-bit DLL, and 64-bit Wine with the 64-bit compiler for machines whose
# kernel runs no 32-bit programs (scripts/test-windows.sh). Only what is missing is
# installed, so a second run is quick.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config file
  qt6-base-dev qt6-base-dev-tools libqt6network6 qt6-qpa-plugins libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev libboost-dev
  clang-format help2man
  locales
  g++-mingw-w64-i686 g++-mingw-w64-x86-64-posix wine wine32:i386 wine64
  clang-14 libclang-rt-14-dev
)

sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)

# wine32 is an i386 package: the architecture must be known before it can be installed.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  echo "Adding the i386 architecture for 32-bit Wine"
  "${sudo_cmd[@]}" dpkg --add-architecture i386
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
