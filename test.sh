#!/usr/bin/env bash
# Installs what is missing, builds the program and its tests, and runs the whole suite; then
# the same suite built with AddressSanitizer and UndefinedBehaviorSanitizer, and a short pass
# of every fuzz target over its corpus. Each stage says when it begins and how long it took,
# the builds show their own progress, and the end says how long it all took.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh

stage_name=""
stage_start=$SECONDS
# Ends the stage under way, saying how long it took, and begins the one named, if any.
stage() {
  [ -n "$stage_name" ] && echo "== $stage_name: done in $((SECONDS - stage_start)) s"
  stage_name=$1
  stage_start=$SECONDS
  [ -n "$stage_name" ] && echo "== $stage_name"
  return 0
}

stage "Installing what is missing"
install_missing_packages "${build_packages[@]}" "${test_packages[@]}"
export QT_QPA_PLATFORM=offscreen

stage "Building the program, its tests and benchmarks"
build_program "${program_and_tests[@]}" -DMOPECO_WARNINGS_AS_ERRORS=ON
stage "The suite"
ctest --test-dir build --output-on-failure --timeout 600

stage "Building the suite with AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DMOPECO_SANITIZE=ON \
  "${program_and_tests[@]}" -DMOPECO_WARNINGS_AS_ERRORS=ON > /dev/null
cmake --build build-sanitize --parallel "$(nproc)"
stage "The suite with AddressSanitizer and UndefinedBehaviorSanitizer"
ASAN_OPTIONS=detect_leaks=1:halt_on_error=1 \
  LSAN_OPTIONS=suppressions=$PWD/tests/sanitizer/leaks.supp:print_suppressions=0 \
  UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  ctest --test-dir build-sanitize --output-on-failure --timeout 900

stage "A short pass of every fuzz target (built first)"
tests/fuzz/run.sh 8
stage ""

# Every step above stops the script on a failure, so reaching here means all of it passed.
count_tests() { ctest --test-dir "$1" -N | grep -c 'Test *#'; }
fuzz_targets=$(find build-fuzz/tests/fuzz -maxdepth 1 -type f -executable -name 'fuzz_*' | wc -l)
echo "test.sh: $(( $(count_tests build) + $(count_tests build-sanitize) + fuzz_targets )) passed," \
  "0 failed, in $((SECONDS / 60)) min $((SECONDS % 60)) s"
