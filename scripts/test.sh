#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test three times over:
# a plain build, an AddressSanitizer+UndefinedBehaviorSanitizer build, and a
# ThreadSanitizer build of the exchange library and its threaded tests; then the Windows
# build of the exchange library and its tests under Wine (scripts/test-windows.sh), and a
# short run of every fuzz target (scripts/fuzz.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

jobs=$(nproc)
run_suite() {
  local dir=$1; shift
  echo "== $dir =="
  cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
  ctest --test-dir "$dir" --output-on-failure -j "$jobs" --timeout 600
}

run_suite build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo
run_suite build-asan -DCMAKE_BUILD_TYPE=Debug -DHALVANE_SANITIZE=address,undefined
run_suite build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHALVANE_SANITIZE=thread -DHALVANE_INJECTOR=OFF

echo "== windows =="
scripts/test-windows.sh

echo "== fuzzing =="
scripts/fuzz.sh 15

echo "== formatting =="
scripts/check-format.sh
echo "All tests passed."
