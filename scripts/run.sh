#!/usr/bin/env bash
# Installs what is missing, builds Fauxlarm and the Halvane3 library, and starts Fauxlarm.
# Arguments are passed on to Fauxlarm (for example: scripts/run.sh /f /s1 /u).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DHALVANE_TESTS=OFF >/dev/null
cmake --build build
exec build/bin/Fauxlarm "$@"
