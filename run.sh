#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it from its program folder.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh
echo "モペコ: 必要なパッケージを確かめています…"
install_missing_packages "${build_packages[@]}"
if [ -x build/mopeco/mopeco ]; then
  echo "モペコ: 変わったところだけビルドしています…"
else
  echo "モペコ: 初めてのビルドです。数分かかります…"
fi
build_program "${program_only[@]}" > build.log 2>&1 || { cat build.log >&2; echo "モペコ: ビルドできませんでした（build.log）。" >&2; exit 1; }
echo "モペコ: 起動します。"
exec build/mopeco/mopeco
