#!/usr/bin/env bash
# Cross-builds the Windows side of the family with MinGW-w64: build-windows/bin/ receives
# Halvane3.dll (PE32, x86), its import library libHalvane3.dll.a, Halvane3.h,
# halvane3-monitor.exe and fauxlarm-play.exe. Extra arguments go to CMake's configure step.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

cmake -S . -B build-windows -G Ninja --no-warn-unused-cli -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake \
      -DCMAKE_BUILD_TYPE=Release -DHALVANE_TESTS=OFF "$@" >/dev/null
cmake --build build-windows -j "$(nproc)"
echo "Built in build-windows/bin:"
ls build-windows/bin
