#!/usr/bin/env bash
# The Windows stage of scripts/test.sh. Builds the delivered DLL and programs
# (scripts/build-windows.sh) and checks the tables of the DLL and of fauxlarm-play.exe, then
# builds the Windows tests and runs them under Wine, in a
# temporary prefix of their own with one wineserver for the whole run, one test at a time,
# each bounded in time. The prefix and its wineserver go at the end, however the run ends.
#
# The tests are built for 32-bit x86, like the DLL, where this machine runs 32-bit programs.
# A kernel without 32-bit support (some virtual machines) cannot run 32-bit Wine at all; the
# tests then run on the same sources built for 64-bit Windows under 64-bit Wine, and the
# 32-bit DLL and program are checked by their tables only. The output says which.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/build-windows.sh >/dev/null
cmake -DOBJDUMP=i686-w64-mingw32-objdump -DIMAGE=build-windows/bin/Halvane3.dll \
      -DIMPORT_LIBRARY=build-windows/bin/libHalvane3.dll.a -DHEADER=exchange/Halvane3.h \
      -DFORMAT=pei-i386 -P tests/exchange/windows/CheckTables.cmake
cmake -DOBJDUMP=i686-w64-mingw32-objdump -DIMAGE=build-windows/bin/fauxlarm-play.exe \
      -DFORMAT=pei-i386 -P tests/exchange/windows/CheckTables.cmake

if ! command -v wine >/dev/null || ! command -v wineserver >/dev/null; then
  echo "Wine is not installed, so the Windows tests cannot run (scripts/install-deps.sh" \
       "installs it)." >&2
  exit 1
fi
if wine --version >/dev/null 2>&1; then
  loader=$(command -v wine) toolchain=i686 arch=win32
elif [ -x /usr/lib/wine/wine64 ] && /usr/lib/wine/wine64 --version >/dev/null 2>&1; then
  loader=/usr/lib/wine/wine64 toolchain=x86_64 arch=win64
  echo "NOTE: this machine cannot run 32-bit programs ('wine --version' fails), so the" \
       "Windows tests run on their 64-bit build under 64-bit Wine; the 32-bit Halvane3.dll" \
       "and fauxlarm-play.exe were checked by their tables above."
else
  echo "Wine is installed but cannot run programs here, so the Windows tests cannot run." >&2
  exit 1
fi

cmake -S . -B build-windows-test -G Ninja --no-warn-unused-cli \
      -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-$toolchain.cmake \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHALVANE_WINE="$loader" >/dev/null
cmake --build build-windows-test -j "$(nproc)"

scratch=$(mktemp -d /tmp/halvane3-wine.XXXXXX)
export WINEPREFIX=$scratch/prefix WINEARCH=$arch WINEDEBUG=-all
cleanup() {
  timeout 60 wineserver -k >/dev/null 2>&1 || true
  rm -rf "$scratch"
}
trap cleanup EXIT

echo "== Wine prefix ($arch, $loader) =="
mkdir "$WINEPREFIX"
# One server for the whole run; the prefix's services keep no handle on our output.
wineserver -p </dev/null >/dev/null 2>&1
timeout 300 "$loader" wineboot -i </dev/null >/dev/null 2>&1
# LPT1: to LPT4: are files that the printer tests read.
mkdir "$scratch/printers"
for n in 1 2 3 4; do
  ln -sfn "$scratch/printers/printer$n.txt" "$WINEPREFIX/dosdevices/lpt$n"
done
export HALVANE3_TEST_PRINTERS="Z:${scratch//\//\\}\\printers"

ctest --test-dir build-windows-test --output-on-failure --timeout 120 </dev/null
