#!/usr/bin/env bash
# Each layer includes only the layers it may use (docs/architecture.md): model nothing of the
# program and no Qt Widgets header, generator model, check generator and model, widgets model,
# ui and textmap widgets, check, generator and model but never each other. Checks the tree, then proves on a copy that each
# kind of forbidden include is found.
#   layers_test.sh SOURCE_FOLDER
set -euo pipefail
source_folder=$1

allowed() {
  case $1 in
    model) echo "model" ;;
    generator) echo "model generator" ;;
    check) echo "model generator check" ;;
    widgets) echo "model widgets" ;;
    ui) echo "model generator check widgets ui" ;;
    textmap) echo "model generator check widgets textmap" ;;
  esac
}

# Prints every forbidden include below the folder given; fails when there is one.
check_layers() {
  local root=$1 layer found=0 file include target
  for layer in model generator check widgets ui textmap; do
    while IFS= read -r hit; do
      file=${hit%%:*}
      include=${hit#*:}
      target=${include#*\"}
      target=${target%%/*}
      if [[ $include == *QtWidgets* ]]; then
        [[ $layer == model || $layer == generator || $layer == check ]] || continue
      elif [[ " $(allowed "$layer") " == *" $target "* ]]; then
        continue
      fi
      echo "layers: $file includes $include" >&2
      found=1
    done < <(grep -rHoE '#include ("[a-z]+/[^"]+"|<QtWidgets[^>]*>)' "$root/$layer" \
               --include='*.h' --include='*.cpp' || true)
  done
  return "$found"
}

check_layers "$source_folder"

# The check must see each kind of breach: up, sideways, and a widget in the model.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
breaches=(
  'model/sjis.h|#include "ui/main_window.h"'
  'model/sjis.h|#include "widgets/desktop.h"'
  'model/sjis.h|#include <QtWidgets/QWidget>'
  'generator/page_generator.h|#include "textmap/map_window.h"'
  'generator/page_generator.h|#include "check/image_facts.h"'
  'check/image_facts.h|#include "widgets/controls.h"'
  'check/image_facts.h|#include <QtWidgets/QLabel>'
  'widgets/desktop.h|#include "generator/body_text.h"'
  'ui/main_window.h|#include "textmap/map_window.h"'
  'textmap/map_window.h|#include "ui/item_editor.h"'
)
for breach in "${breaches[@]}"; do
  rm -rf "${scratch:?}"/*
  for layer in model generator check widgets ui textmap; do
    cp -r "$source_folder/$layer" "$scratch/$layer"
  done
  echo "${breach#*|}" >> "$scratch/${breach%%|*}"
  if check_layers "$scratch" 2>/dev/null; then
    echo "layers: the check missed ${breach#*|} in ${breach%%|*}" >&2
    exit 1
  fi
done
echo "layers: every include keeps to its layer; ${#breaches[@]} planted breaches found"
