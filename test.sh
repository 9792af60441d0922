#!/usr/bin/env bash
# Installs what is missing, builds the program and its tests, and runs the whole suite; then
# the same suite built with AddressSanitizer and UndefinedBehaviorSanitizer, and a short pass
# of every fuzz target over its corpus.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh
install_missing_packages "${build_packages[@]}" "${test_packages[@]}"
export QT_QPA_PLATFORM=offscreen

build_program -DMOPECO_WARNINGS_AS_ERRORS=ON
ctest --test-dir build --output-on-failure --timeout 600

echo "== The suite with AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DMOPECO_SANITIZE=ON \
  -DMOPECO_WARNINGS_AS_ERRORS=ON > /dev/null
cmake --build build-sanitize --parallel "$(nproc)" > /dev/null
ASAN_OPTIONS=detect_leaks=1:halt_on_error=1 \
  LSAN_OPTIONS=suppressions=$PWD/tests/sanitizer/leaks.supp:print_suppressions=0 \
  UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  ctest --test-dir build-sanitize --output-on-failure --timeout 900

echo "== A short pass of every fuzz target"
tests/fuzz/run.sh 8

# Every step above stops the script on a failure, so reaching here means all of it passed.
count_tests() { ctest --test-dir "$1" -N | grep -c 'Test *#'; }
fuzz_targets=$(find build-fuzz/tests/fuzz -maxdepth 1 -type f -executable -name 'fuzz_*' | wc -l)
echo "test.sh: $(( $(count_tests build) + $(count_tests build-sanitize) + fuzz_targets )) passed, 0 failed"
