#!/usr/bin/env bash
# Starts the real program from a program folder of its own on a virtual display, opens a
# prepared project, fills the title and a text through the window, writes the page and
# compares it byte for byte. The project's body text lies in a folder whose name has the wave
# dash that Japanese input methods type (U+301C), which Shift-JIS writes like the full-width
# tilde. Leaves a screenshot of the main window in the artifacts folder.
#   end_to_end.sh PROGRAM_FOLDER ARTIFACTS_FOLDER
set -euo pipefail
program_folder=$1
artifacts=$2
mkdir -p "$artifacts"
rm -f "$artifacts/failure.png"

source "$(dirname "$0")/support/xdriver.sh"

fail() {
  echo "end_to_end: $*" >&2
  cat "$work/program.log" >&2 2>/dev/null || true
  import -window root "$artifacts/failure.png" 2>/dev/null || true
  exit 1
}

lines() { printf '%s\r\n' "$@"; }

cp -r "$program_folder" "$work/program"
lines 1 shop.dat > "$work/program/trd.dat"
lines 1 1 shop 1 0 2 1 6 0 3 1 4 1 4 2 6 0 5 1 > "$work/program/shop.dat"
mkdir "$work/資料〜2024"
lines ようこそ '　本日も営業' | iconv -f UTF-8 -t CP932 > "$work/資料〜2024/本文.txt"
{
  lines ver2.10 1 Old 1 '#FFFFFF' '#0000FF' '#000000' 1 '#000000' "$work/資料〜2024/本文.txt" 1
  lines top.gif '' 1 2 2 '' '' 2 2 2
  for _ in 1 2 3 4 5; do lines '' 2; done
  lines Menu menu.html 1 2 2 1 Map map.html 1 2 1 1
  for _ in 1 2 3 4 5 6 7 8; do lines '' '' 2 2 2 2; done
  lines '<BLINK>NEW</BLINK>' 1 '' 2 '' 2
} | iconv -f UTF-8 -t CP932 > "$work/shop.mpk"
lines '<HTML><HEAD><TITLE>Shop</TITLE></HEAD>' \
  '<BODY BGCOLOR="#FFFFFF"LINK="#0000FF"TEXT="#000000" >' \
  '<!-- mpkg ver2.00 -->' \
  'ようこそ' \
  '<BR>　本日も営業' \
  '<CENTER><IMG SRC="top.gif"></CENTER><BR>' \
  '<HR>' \
  '<p>Welcome</P><BR>' \
  '&#63879;<A HREF="menu.html" ACCESSKEY="1">Menu</A><BR>' \
  '<CENTER>&#63880;<A HREF="map.html" ACCESSKEY="2">Map</A></CENTER><BR>' \
  '<HR>' \
  '<BLINK>NEW</BLINK>' \
  '</BODY></HTML>' | iconv -f UTF-8 -t CP932 > "$work/expected.html"

start_virtual_display
start_program "$work/program/mopeco"

# "データ開く" in the toolbar, then the file dialog.
choose_file 388 40 "$work/shop.mpk" データファイルを開く

# The title box, emptied and typed into.
click "$main" 236 106
xdotool key ctrl+a BackSpace
type_text Shop

# "テキスト　1": the editor opens with "使用しない" ticked; clear it, type and confirm.
click "$main" 173 180
editor=$(wait_for_dialog '^テキスト　1$')
type_text Welcome
click "$editor" 125 24
click "$editor" 405 276
wait_for_windows '^テキスト　1$' 0

# "HTML保存", then the file dialog.
choose_file 236 40 "$work/page.html" HTMLファイルを保存
for _ in $(seq 50); do [ -s "$work/page.html" ] && break; sleep 0.1; done

xdotool mousemove 0 0
sleep 0.3
import -window "$main" "$artifacts/main_window.png"

# Each dialog of the toolbar and the work area, photographed and closed again.
photograph_dialog() {
  local x=$1 y=$2 title=$3 picture=$4 close_x=$5 close_y=$6 dialog
  click "$main" "$x" "$y"
  dialog=$(wait_for_dialog "^$title\$")
  sleep 0.3
  import -window "$dialog" "$artifacts/$picture"
  click "$dialog" "$close_x" "$close_y"
  wait_for_windows "^$title\$" 0
}
photograph_dialog 77 148 基本設定 basic_settings.png 512 388
photograph_dialog 580 72 型選択 pattern_selection.png 45 404
photograph_dialog 452 40 設定 tool_settings.png 445 301
photograph_dialog 640 40 バージョン情報 version.png 144 156

# The text map maker with the first sample map.
click "$main" 148 40
text_map=$(wait_for_dialog '^テキスト地図作成$')
click "$text_map" 84 444
sleep 0.3
import -window "$text_map" "$artifacts/text_map.png"
click "$text_map" 541 20
wait_for_windows '^テキスト地図作成$' 0

# "×" closes the program.
click "$main" 666 10
for _ in $(seq 50); do kill -0 "$program_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$program_pid" 2>/dev/null && fail "the program did not end when closed"
program_pid=""

cmp "$work/expected.html" "$work/page.html" || {
  diff <(cat -A "$work/expected.html") <(cat -A "$work/page.html") >&2 || true
  fail "the written page differs"
}
echo "end_to_end: 1 passed, 0 failed"
