#!/usr/bin/env bash
# Each folder includes only the folders below it (docs/architecture.md), and the folders of the
# lower levels no header of the Qt modules above them: no Qt Gui or Qt Widgets header in the Qt
# Core folders, no Qt Widgets header in the Qt Gui folders, in any spelling (<QLabel>,
# <QtWidgets/QLabel>, <QtWidgets>, "qlabel.h"). Checks the tree, then proves on a copy that each
# kind of breach is found.
#   layers_test.sh SOURCE_FOLDER QT_INCLUDE_FOLDER...
set -euo pipefail
source_folder=$1
shift

folders=(text imode settings page check drawings pictures publish preview widgets document windows textmap app)
core_folders=" text imode settings page check "
gui_folders=" drawings pictures publish preview "

allowed() {
  case $1 in
    text) echo "text" ;;
    imode) echo "text imode" ;;
    settings) echo "text imode settings" ;;
    page) echo "text imode page" ;;
    check) echo "text imode page check" ;;
    drawings) echo "text imode page drawings" ;;
    pictures) echo "text imode page check pictures" ;;
    publish) echo "text imode settings page check pictures publish" ;;
    preview) echo "text imode page check drawings pictures preview" ;;
    widgets) echo "text imode settings drawings widgets" ;;
    document) echo "text imode settings page widgets document" ;;
    windows) echo "text imode settings page check drawings pictures publish preview widgets document windows" ;;
    textmap) echo "text imode settings page check drawings pictures publish preview widgets document textmap" ;;
    app) echo "${folders[*]}" ;;
  esac
}

# The headers of a Qt module, in lower case, one per line: every name a file may include it by.
module_headers() {
  local module=$1 folder
  for folder in "$@"; do
    [ "$folder" = "$module" ] && continue
    if [ -d "$folder/$module" ]; then
      { echo "$module"; ls "$folder/$module"; } | tr '[:upper:]' '[:lower:]'
      return 0
    fi
  done
  echo "layers: no $module headers below the folders given" >&2
  exit 1
}
gui_headers=$(module_headers QtGui "$@" | sort -u)
widgets_headers=$(module_headers QtWidgets "$@" | sort -u)

# Prints every forbidden include below the folder given; fails when there is one. One awk reads
# the module's header names, then every include line as "folder<TAB>file:#include <name>".
check_layers() {
  local root=$1 folder rules=""
  for folder in "${folders[@]}"; do
    rules+="$folder $(allowed "$folder")"$'\n'
  done
  for folder in "${folders[@]}"; do
    [ -d "$root/$folder" ] || continue
    grep -rHoE '^[[:space:]]*#[[:space:]]*include[[:space:]]*(<[^>]+>|"[^"]+")' \
      "$root/$folder" --include='*.h' --include='*.cpp' |
      sed -E "s/^/$folder\t/; s/:[[:space:]]*#[[:space:]]*include[[:space:]]*/:#include /" || true
  done | awk -F'\t' -v rules="$rules" -v gui="$gui_headers" -v widgets="$widgets_headers" \
                    -v core="$core_folders" -v guiFolders="$gui_folders" '
    BEGIN {
      n = split(rules, lines, "\n")
      for (i = 1; i <= n; i++) {
        m = split(lines[i], words, " ")
        if (m == 0) continue
        known[words[1]] = 1
        for (j = 2; j <= m; j++) may[words[1] " " words[j]] = 1
      }
      n = split(gui, names, "\n"); for (i = 1; i <= n; i++) isGui[names[i]] = 1
      n = split(widgets, names, "\n"); for (i = 1; i <= n; i++) isWidgets[names[i]] = 1
    }
    function moduleHeader(name, module, set) {
      return index(name, module "/") == 1 || (name in set)
    }
    {
      folder = $1
      line = $2
      file = substr(line, 1, index(line, ":#include ") - 1)
      included = substr(line, index(line, ":#include ") + 10)
      included = substr(included, 2, length(included) - 2)
      target = included; sub(/\/.*/, "", target)
      name = tolower(included)
      bad = 0
      if (index(included, "/") && (target in known))
        bad = !((folder " " target) in may)
      else if (index(core, " " folder " "))
        bad = moduleHeader(name, "qtgui", isGui) || moduleHeader(name, "qtwidgets", isWidgets)
      else if (index(guiFolders, " " folder " "))
        bad = moduleHeader(name, "qtwidgets", isWidgets)
      if (bad) { print "layers: " file " includes " included > "/dev/stderr"; found = 1 }
    }
    END { exit found }'
}

check_layers "$source_folder"

# The check must see each kind of breach: up, sideways, into the executable, and a module's
# header below its level in each spelling.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
breaches=(
  'text/sjis.h|#include "windows/main_window.h"'
  'text/sjis.h|#include "imode/handsets.h"'
  'page/pattern.h|#include "check/findings.h"'
  'check/markup.h|#include "pictures/qr_code.h"'
  'pictures/qr_code.h|#include "preview/phone_preview.h"'
  'widgets/desktop.h|#include "document/page_session.h"'
  'widgets/desktop.h|#include "page/page_project.h"'
  'windows/main_window.h|#include "textmap/map_window.h"'
  'textmap/map_window.h|#include "windows/item_editor.h"'
  'windows/main_window.h|#include "app/program.h"'
  'text/sjis.h|#include <QLabel>'
  'page/pattern.h|#include <QtWidgets/QLabel>'
  'check/markup.h|#include <QtWidgets>'
  'settings/tool_settings.h|#  include "qlabel.h"'
  'imode/handsets.h|#include <QImage>'
  'text/sjis.h|#include <QtGui/qpainter.h>'
  'pictures/qr_code.h|#include <QWidget>'
  'preview/phone_preview.h|#include <qtwidgets/qapplication.h>'
)
for breach in "${breaches[@]}"; do
  rm -rf "${scratch:?}"/*
  for folder in "${folders[@]}"; do
    cp -r "$source_folder/$folder" "$scratch/$folder"
  done
  echo "${breach#*|}" >> "$scratch/${breach%%|*}"
  if check_layers "$scratch" 2>/dev/null; then
    echo "layers: the check missed ${breach#*|} in ${breach%%|*}" >&2
    exit 1
  fi
done
echo "layers: every include keeps to its level; ${#breaches[@]} planted breaches found"
