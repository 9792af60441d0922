#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it from its program folder.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh
install_missing_packages "${build_packages[@]}"
build_program "${program_only[@]}"
exec build/mopeco/mopeco
