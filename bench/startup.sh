#!/usr/bin/env bash
# Start-up time (process start to the first paint of its window, and to the window's showing)
# and peak memory of the program, side by side with an empty Qt Widgets window built by the
# same project (the floor) and with that window showing one Japanese label. The display
# itself reports the showing and the paint (build/bench/first_paint), so nothing polls.
# Medians over RUNS starts on a virtual display, the three programs taking turns. Then where
# the time goes, step by step, by the marks the programs leave on the way (app/startup_marks.h).
#   bench/startup.sh [RUNS] [BUILD_FOLDER]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-15}
build=${2:-$root/build}
[ -x "$build/bench/first_paint" ] ||
  { echo "startup: $build/bench/first_paint is missing (it needs libxcb-damage0-dev)" >&2; exit 1; }

source "$root/tests/support/xdriver.sh"
fail() { echo "startup: $*" >&2; exit 1; }
start_virtual_display
cp -r "$build/mopeco" "$work/program"

watch() { "$build/bench/first_paint" "$@" 2>/dev/null; }
# One start of each before measuring, so all find the system's files in its cache alike.
watch floor "$build/bench/empty_window" >/dev/null
watch floor-text "$build/bench/empty_window" text >/dev/null
watch モペコ "$work/program/mopeco" >/dev/null
for _ in $(seq "$runs"); do
  watch floor "$build/bench/empty_window" >> "$work/floor"
  watch floor-text "$build/bench/empty_window" text >> "$work/text"
  watch モペコ "$work/program/mopeco" >> "$work/program.runs"
done

# The median of a column of a file of runs.
median() { cut -d' ' -f"$2" "$1" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
row() { echo "$(median "$1" 1) $(median "$1" 2) $(median "$1" 3)"; }

read -r fp fm fk < <(row "$work/floor")
read -r tp tm tk < <(row "$work/text")
read -r pp pm pk < <(row "$work/program.runs")
awk -v fp="$fp" -v fm="$fm" -v fk="$fk" -v tp="$tp" -v tm="$tm" -v tk="$tk" \
    -v pp="$pp" -v pm="$pm" -v pk="$pk" -v runs="$runs" 'BEGIN {
  printf "start-up, median of %d runs       first paint   shown       peak memory\n", runs
  printf "floor: an empty Qt window         %6.1f ms   %6.1f ms   %7.1f MiB\n", fp, fm, fk / 1024
  printf "the same with one Japanese label  %6.1f ms   %6.1f ms   %7.1f MiB\n", tp, tm, tk / 1024
  printf "mopeco                            %6.1f ms   %6.1f ms   %7.1f MiB\n", pp, pm, pk / 1024
  printf "mopeco against the floor          %6.2f x    %6.2f x    %+7.1f MiB\n", pp / fp, pm / fm, (pk - fk) / 1024
  printf "mopeco against the labelled one   %6.2f x    %6.2f x    %+7.1f MiB\n", pp / tp, pm / tm, (pk - tk) / 1024
}'

# Each step's median moment, and the time since the step before it.
awk -v runs="$runs" '
  FNR == 1 { file++ }
  {
    for (i = 4; i <= NF; i++) {
      split($i, pair, "=")
      if (!((file, pair[1]) in seen)) { seen[file, pair[1]] = 1; order[file, ++steps[file]] = pair[1] }
      value[file, pair[1], ++count[file, pair[1]]] = pair[2]
    }
    value[file, "on screen", ++count[file, "on screen"]] = $1
  }
  function median(f, step,   n, i, j, t, v) {
    n = count[f, step]
    for (i = 1; i <= n; i++) v[i] = value[f, step, i]
    for (i = 2; i <= n; i++) for (j = i; j > 1 && v[j - 1] > v[j]; j--) { t = v[j]; v[j] = v[j - 1]; v[j - 1] = t }
    return v[int((n + 1) / 2)]
  }
  END {
    printf "\nwhere the time goes (median moment, and since the step before)\n"
    names[1] = "labelled floor"; names[2] = "mopeco"
    for (f = 1; f <= 2; f++) {
      printf "%s:\n", names[f]
      order[f, ++steps[f]] = "on screen"
      before = 0
      for (i = 1; i <= steps[f]; i++) {
        step = order[f, i]; at = median(f, step)
        printf "  %-12s %6.1f ms  %+6.1f ms\n", step, at, at - before
        before = at
      }
    }
  }' "$work/text" "$work/program.runs"
