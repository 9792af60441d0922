#!/usr/bin/env bash
# Start-up time (process start to its window shown on the display) and peak memory of the
# program, side by side with an empty Qt Widgets window built by the same project (the floor).
# Medians over RUNS starts on a virtual display.
#   bench/startup.sh [RUNS] [BUILD_FOLDER]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-15}
build=${2:-$root/build}

source "$root/tests/support/xdriver.sh"
fail() { echo "startup: $*" >&2; exit 1; }
start_virtual_display
cp -r "$build/mopeco" "$work/program"

median() { sort -n | awk '{ values[NR] = $1 } END { print values[int((NR + 1) / 2)] }'; }

# Prints "milliseconds kibibytes" for one start of a program, whose window is titled $1.
measure_once() {
  local title=$1 started shown
  shift
  started=$(date +%s%N)
  /usr/bin/time -f '%M' -o "$work/peak" "$@" >/dev/null 2>&1 &
  local timer=$!
  for _ in $(seq 2000); do
    xdotool search --onlyvisible --name "^$title\$" >/dev/null 2>&1 && break
  done
  shown=$(date +%s%N)
  sleep 0.5 # the first paint and whatever the program does right after it
  pkill -TERM -P "$timer" 2>/dev/null || true
  wait "$timer" 2>/dev/null || true
  echo "$(( (shown - started) / 1000000 )) $(grep -E '^[0-9]+$' "$work/peak")"
}

# Prints the median milliseconds and kibibytes over the runs.
measure() {
  for _ in $(seq "$runs"); do measure_once "$@"; done > "$work/runs"
  echo "$(cut -d' ' -f1 "$work/runs" | median) $(cut -d' ' -f2 "$work/runs" | median)"
}

read -r floor_ms floor_kib < <(measure floor "$build/bench/empty_window")
read -r text_ms text_kib < <(measure floor-text "$build/bench/empty_window" text)
read -r program_ms program_kib < <(measure モペコ "$work/program/mopeco")
awk -v fm="$floor_ms" -v fk="$floor_kib" -v tm="$text_ms" -v tk="$text_kib" \
    -v pm="$program_ms" -v pk="$program_kib" -v runs="$runs" 'BEGIN {
  printf "start-up, median of %d runs       time to window   peak memory\n", runs
  printf "floor: an empty Qt window         %6d ms        %7.1f MiB\n", fm, fk / 1024
  printf "the same with one Japanese label  %6d ms        %7.1f MiB\n", tm, tk / 1024
  printf "mopeco                            %6d ms        %7.1f MiB\n", pm, pk / 1024
  printf "mopeco against the floor          %6.2f x         %+7.1f MiB\n", pm / fm, (pk - fk) / 1024
  printf "mopeco against the labelled one   %6.2f x         %+7.1f MiB\n", pm / tm, (pk - tk) / 1024
}'
