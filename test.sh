#!/usr/bin/env bash
# Installs what is missing, builds the program and its tests, and runs the whole suite.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh
install_missing_packages "${build_packages[@]}" "${test_packages[@]}"
build_program -DMOPECO_WARNINGS_AS_ERRORS=ON
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure --timeout 600
