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
            help/help09.html help/help16.html help/help20.html help/help21.html help/page_check.png \
            help/about.html help/help.css \
            map/map1.imp map/map10.imp share/applications/mopeco.desktop \
            share/icons/hicolor/scalable/apps/mopeco.svg share/icons/hicolor/48x48/apps/mopeco.png \
            share/metainfo/page.mopeco.Mopeco.metainfo.xml share/mime/packages/mopeco.xml; do
  [ -e "$prefix/$file" ] || fail "$file is not installed"
done
grep -qx "Exec=$prefix/mopeco %f" "$prefix/share/applications/mopeco.desktop" \
  || fail "the menu entry does not start the installed program with the file opened"
desktop-file-validate "$prefix/share/applications/mopeco.desktop" || fail "desktop-file-validate"
# A project file is known by its type, and that type is the program's to open.
printf 'ver2.10\r\n' > "$work/喫茶.mpk"
type=$(XDG_DATA_DIRS="$prefix/share:/usr/share" XDG_DATA_HOME="$work/no-user-data" \
  xdg-mime query filetype "$work/喫茶.mpk")
[ "$type" = application/x-mopeco-project ] || fail "a project file is of the type '$type'"
grep -qx "MimeType=application/x-mopeco-project;" "$prefix/share/applications/mopeco.desktop" \
  || fail "the menu entry does not open project files"
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

# Started as the file manager starts it, with a project: the page is that project's. A letter
# typed at the end of its title shows in the work kept at the end.
cp "$(dirname "$0")/data/check/clean.mpk" "$work/喫茶.mpk"
start_program "$prefix/mopeco" "$work/喫茶.mpk"
wait_until_idle
click "$main" 236 106
xdotool key End
type_text x
kill -TERM "$program_pid"
for _ in $(seq 50); do kill -0 "$program_pid" 2>/dev/null || break; sleep 0.1; done
program_pid=""
kept=$(find "$prefix" -maxdepth 1 -name 'recovery-*.mpk' | head -n 1)
[ -n "$kept" ] || fail "no work was kept"
[ "$(sed -n 3p "$kept")" = "$(sed -n 3p "$work/喫茶.mpk" | tr -d '\r')x"$'\r' ] \
  || fail "the project handed over was not opened"
echo "install: 2 passed, 0 failed"
