#!/usr/bin/env bash
# fauxlarm-play's top speed into command queue 0 under Wine, beside the same run on Linux:
# EVENTS events of a generic file at --rate=0, RUNS times each, in turn; prints every run's
# rate as its summary tells it and the median of each side. Nothing reads the queue, which
# keeps its newest entries, as with a server that is not there.
#
#   bench/play/queue_under_wine.sh LINUX_PLAY WINDOWS_PLAY_EXE [EVENTS] [RUNS]
#
# WINDOWS_PLAY_EXE lies beside its Halvane3.dll. WINE is the loader that runs it (default:
# wine; /usr/lib/wine/wine64 for the 64-bit build). Wine runs in a prefix of its own, removed
# at the end; the Linux runs use a name prefix of their own, so no live region is touched.
# The Wine figure is Wine's: its named mutex lives in the wineserver process, and every wait
# and release is a round trip to it. It says nothing of the speed on Windows.
set -euo pipefail
linux_play=$(realpath "$1")
windows_play=$(realpath "$2")
events=${3:-200000}
runs=${4:-5}
wine=${WINE:-wine}

scratch=$(mktemp -d /tmp/fauxlarm-play-wine.XXXXXX)
export WINEPREFIX=$scratch/prefix WINEDEBUG=-all
cleanup() {
  timeout 60 wineserver -k >/dev/null 2>&1 || true
  rm -rf "$scratch"
}
trap cleanup EXIT

line="1|2026-12-08|10:15:02|TA0220'GT41|A5|2|PressureFault|Pressure is bad|ACTIVE"
awk -v line="$line" -v n="$events" 'BEGIN { for (i = 0; i < n; i++) printf "%s\r\n", line }' \
    >"$scratch/events.txt"
timeout 300 "$wine" wineboot -i </dev/null >/dev/null 2>&1

rate() {
  sed -n 's/.*"sent":\([0-9]*\),.*"rate":\([0-9.]*\),.*/\1 \2/p'
}
median() {
  sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

: >"$scratch/linux" && : >"$scratch/wine"
for run in $(seq "$runs"); do
  read -r sent linux < <(HALVANE3_NAME_PREFIX="bench-wine-$$." "$linux_play" --queue --rate=0 \
                           --json "$scratch/events.txt" | rate)
  [ "$sent" = "$events" ] || { echo "Linux run $run sent $sent of $events" >&2; exit 1; }
  read -r sent windows < <("$wine" "$windows_play" --queue --rate=0 --json \
                             "Z:${scratch//\//\\}\\events.txt" </dev/null | rate)
  [ "$sent" = "$events" ] || { echo "Wine run $run sent $sent of $events" >&2; exit 1; }
  echo "run $run: Linux $linux events/s, Wine $windows events/s"
  echo "$linux" >>"$scratch/linux"
  echo "$windows" >>"$scratch/wine"
done
echo "median of $runs runs of $events events: Linux $(median <"$scratch/linux") events/s," \
     "Wine $(median <"$scratch/wine") events/s"
