#!/usr/bin/env bash
# Fuzzes the loaders of the configuration files: builds the fuzz targets under fuzz/ with
# clang, libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer into build-fuzz/, and
# runs each target for SECONDS (default 10) from its corpus in build-fuzz/corpus/<target>,
# which starts from the tests' golden files and keeps what earlier runs found. A crash, a
# hang or a broken property stops that target with its input kept in build-fuzz/artifacts/
# and makes the script fail.
#
#   scripts/fuzz.sh        10 s per target, as scripts/test.sh runs it
#   scripts/fuzz.sh 600    10 minutes per target
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-10}
dir=build-fuzz

launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 "${launcher[@]}" \
  -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link -DHALVANE_SANITIZE=address,undefined \
  -DHALVANE_FUZZ=ON -DHALVANE_TESTS=OFF -DHALVANE_INJECTOR=OFF >/dev/null
cmake --build "$dir" --target halvane_fuzzers
"$dir/bin/write_seeds" "$dir/corpus"
mkdir -p "$dir/artifacts"

# The loaders write and read a file per input: in memory where there is /dev/shm.
scratch=$(mktemp -d /dev/shm/halvane-fuzz.XXXXXX 2>/dev/null || mktemp -d)
trap 'rm -rf "$scratch"' EXIT

stat() { grep -o "stat::$1: *[0-9]*" "$2" | grep -o '[0-9]*$' || echo '?'; }
status=0
printf '%-22s %12s %10s %8s\n' target executions 'per second' corpus
while read -r target; do
  [ -n "$target" ] || continue
  log="$dir/artifacts/$target.log"
  if TMPDIR="$scratch" "$dir/bin/$target" -max_total_time="$seconds" -timeout=10 \
      -print_final_stats=1 -artifact_prefix="$dir/artifacts/$target-" \
      "$dir/corpus/$target" >"$log" 2>&1; then
    printf '%-22s %12s %10s %8s\n' "$target" "$(stat number_of_executed_units "$log")" \
      "$(stat average_exec_per_sec "$log")" "$(ls "$dir/corpus/$target" | wc -l)"
  else
    echo "$target FAILED, its log ($log) ends:"
    tail -n 30 "$log"
    status=1
  fi
done <"$dir/fuzz-targets.txt"
exit $status
