#!/usr/bin/env bash
# Time and peak memory of writing a page from body texts of growing size and of opening
# projects with growing texts, and the cost per megabyte read.
#   bench/scale.sh [BUILD_FOLDER]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bench=${1:-$root/build}/bench/bench_scale

printf '%-32s %12s %12s %12s %14s\n' case "bytes read" "time ms" "peak MiB" "ms per MiB"
row() {
  local label=$1 kind=$2 size=$3 bytes ms kib
  read -r bytes ms kib < <("$bench" "$kind" "$size")
  awk -v l="$label" -v b="$bytes" -v m="$ms" -v k="$kib" 'BEGIN {
    printf "%-32s %12d %12.2f %12.1f %14.2f\n", l, b, m, k / 1024, m / (b / 1048576) }'
}
row "page, body of 150 lines" body-lines 150
row "page, body of 10,000 lines" body-lines 10000
row "page, body of 200,000 lines" body-lines 200000
row "page, body of one 5 MB line" body-line 5
row "page, body of one 50 MB line" body-line 50
row "project, texts of 100 KB" project 100
row "project, texts of 1 MB" project 1024
