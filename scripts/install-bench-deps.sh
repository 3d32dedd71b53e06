#!/usr/bin/env bash
# Installs, beyond scripts/install-deps.sh, what only the benchmarks use: loggen, from
# syslog-ng-core, the rate-keeping sender that bench/play runs beside fauxlarm-play. Its
# syslog service is left as the system's policy has it. Not part of scripts/test.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
if ! command -v loggen >/dev/null; then
  echo "Installing: syslog-ng-core (loggen)"
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends \
    syslog-ng-core
fi
