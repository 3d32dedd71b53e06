#!/usr/bin/env bash
# Installs what is missing, checks the formatting (first, so that a slip fails in
# seconds), then builds with warnings as errors and runs every test three times over: a
# plain build, an AddressSanitizer+UndefinedBehaviorSanitizer build, and a ThreadSanitizer
# build of the exchange library and its threaded tests; then the Windows build of the
# exchange library and its tests under Wine (scripts/test-windows.sh), and a short run of
# every fuzz target (scripts/fuzz.sh). The plain build is also installed into a staging
# folder and checked there, Debian packages included.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

echo "== formatting =="
scripts/check-format.sh

jobs=$(nproc)
run_suite() {
  local dir=$1; shift
  echo "== $dir =="
  cmake -S . -B "$dir" -G Ninja -DHALVANE_WERROR=ON "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
  ctest --test-dir "$dir" --output-on-failure -j "$jobs" --timeout 600
}

run_suite build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo
echo "== installation =="
scripts/check-install.sh build-test
run_suite build-asan -DCMAKE_BUILD_TYPE=Debug -DHALVANE_SANITIZE=address,undefined
run_suite build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHALVANE_SANITIZE=thread -DHALVANE_INJECTOR=OFF

echo "== windows =="
scripts/test-windows.sh

echo "== fuzzing =="
scripts/fuzz.sh 15

echo "All tests passed."
