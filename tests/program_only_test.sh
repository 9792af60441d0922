#!/usr/bin/env bash
# The build that run.sh makes for a first start holds the program alone: no test and no
# benchmark target is configured in it.
#   program_only_test.sh SOURCE_FOLDER
set -euo pipefail
source_folder=$1
source "$source_folder/scripts/packages.sh"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cmake -S "$source_folder" -B "$scratch" -DCMAKE_BUILD_TYPE=Release "${program_only[@]}" > /dev/null
targets=$(cmake --build "$scratch" --target help | sed -n 's/^\.\.\. \([^ ]*\).*/\1/p')
grep -qx mopeco <<< "$targets" || { echo "program_only: no program target" >&2; exit 1; }
extra=$(grep -E '^(tst_|bench_|fuzz_|first_paint|empty_window|largest_page|test_support)' <<< "$targets" || true)
[ -z "$extra" ] || { echo "program_only: test targets built for a first start:" $extra >&2; exit 1; }
echo "program_only: $(wc -l <<< "$targets") targets, none of them a test or benchmark"
