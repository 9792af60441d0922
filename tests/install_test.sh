#!/usr/bin/env bash
# Installs the program into a fresh folder, checks that every data file and the desktop
# integration are there and valid, starts the installed program on a virtual display, sees
# its pattern preview drawn from the installed catalogue and has it keep set.dat beside it.
#   install_test.sh BUILD_FOLDER ARTIFACTS_FOLDER
set -euo pipefail
build=$1
artifacts=$2
mkdir -p "$artifacts"

source "$(dirname "$0")/support/xdriver.sh"
fail() {
  echo "install: $*" >&2
  cat "$work/program.log" "$work/xvfb.log" >&2 2>/dev/null || true
  exit 1
}

prefix=$work/モペコ
cmake --install "$build" --prefix "$prefix" > "$work/install.log"
for file in mopeco trd.dat ptn01.dat ptn14.dat help.html help/help07.html help/help08.html \
            help/help09.html help/help16.html help/about.html help/help.css \
            map/map1.imp map/map10.imp share/applications/mopeco.desktop \
            share/icons/hicolor/scalable/apps/mopeco.svg share/icons/hicolor/48x48/apps/mopeco.png \
            share/metainfo/page.mopeco.Mopeco.metainfo.xml; do
  [ -e "$prefix/$file" ] || fail "$file is not installed"
done
grep -qx "Exec=$prefix/mopeco" "$prefix/share/applications/mopeco.desktop" \
  || fail "the menu entry does not start the installed program"
desktop-file-validate "$prefix/share/applications/mopeco.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$prefix/share/metainfo/page.mopeco.Mopeco.metainfo.xml" \
  > "$work/appstream.log" || { cat "$work/appstream.log" >&2; fail "appstreamcli validate"; }

start_virtual_display
start_program "$prefix/mopeco"
sleep 0.3
import -window "$main" -crop 160x120+493+97 +repage "$work/preview.png"
[ "$(convert "$work/preview.png" -format '%[fx:minima]' info:)" != 1 ] \
  || { cp "$work/preview.png" "$artifacts/installed_preview.png"; fail "the pattern preview is blank"; }

click "$main" 666 10
for _ in $(seq 50); do kill -0 "$program_pid" 2>/dev/null || break; sleep 0.1; done
program_pid=""
[ -f "$prefix/set.dat" ] || fail "set.dat was not kept in the program folder"
echo "install: 1 passed, 0 failed"
