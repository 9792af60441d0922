#!/usr/bin/env bash
# Builds the fuzz targets with clang, AddressSanitizer and UndefinedBehaviorSanitizer, and
# runs each over its corpus for the given seconds. New inputs go to a scratch folder, crashes
# to build-fuzz/artifacts/ (FUZZ_BUILD names another build folder); a crash fails the run.
#   tests/fuzz/run.sh SECONDS [TARGET...]   (targets: project catalogue pattern settings map
#                                           body color picture image_facts markup stored_path
#                                           fitted_picture command_line qr_text export
#                                           publish_address; all when none is named)
set -euo pipefail
seconds=${1:?usage: run.sh SECONDS [TARGET...]}
shift
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${FUZZ_BUILD:-$root/build-fuzz}
targets=("$@")
[ ${#targets[@]} -eq 0 ] \
  && targets=(project catalogue pattern settings map body color picture image_facts markup
               stored_path fitted_picture command_line qr_text export publish_address)

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DMOPECO_FUZZ=ON > "$build.log"
# The build's progress shows; all it says goes to the log.
if ! cmake --build "$build" --parallel "$(nproc)" 2>&1 | tee -a "$build.log" \
    | { grep --line-buffered -E '^\[ *[0-9]+%\]' || true; }; then
  tail -n 40 "$build.log" >&2
  exit 1
fi
mkdir -p "$build/artifacts"

export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1
export LSAN_OPTIONS=suppressions=$root/tests/sanitizer/leaks.supp:print_suppressions=0
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
for target in "${targets[@]}"; do
  scratch=$(mktemp -d)
  # A picture's decoding stops at its own deadline: an input that runs longer has found a way
  # past it.
  case $target in
    picture|fitted_picture|image_facts) timeout=5 ;;
    *) timeout=20 ;;
  esac
  echo "fuzz_$target: $seconds s"
  "$build/tests/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout="$timeout" -rss_limit_mb=4096 \
    -max_len=65536 -print_final_stats=1 -artifact_prefix="$build/artifacts/$target-" \
    "$scratch" "$root/tests/fuzz/corpus/$target" 2> "$build/$target.log" || {
      tail -n 40 "$build/$target.log" >&2
      rm -rf "$scratch"
      echo "fuzz_$target: failed" >&2
      exit 1
    }
  grep -E 'stat::number_of_executed_units|Done [0-9]+ runs' "$build/$target.log" | tail -n 2
  rm -rf "$scratch"
done
