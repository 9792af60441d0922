#!/usr/bin/env bash
# Photographs the main window with an example page, its phone preview beside it, the page check
# of that page and the text map maker with the first sample map, on a virtual display, for the
# README.
#   scripts/screenshots.sh [PROGRAM_FOLDER] [OUTPUT_FOLDER]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
program_folder=${1:-$root/build/mopeco}
output=${2:-$root/docs/screenshots}
mkdir -p "$output"

source "$root/tests/support/xdriver.sh"
fail() { echo "screenshots: $*" >&2; exit 1; }

# An example page: a small café with a photo, texts and links, in Shift-JIS.
lines() { printf '%s\r\n' "$@"; }
convert -size 96x40 xc:'#e08080' "$work/top.gif"
lines '本日のおすすめ' '　ブレンドコーヒー' '　ケーキセット' | iconv -f UTF-8 -t CP932 > "$work/menu.txt"
{
  lines ver2.10 2 '喫茶さくら' 1 '#FFFFFF' '#0000FF' '#000000' 2 '#000000' "$work/menu.txt" 1
  lines top.gif index.html 1 1 2 '' '' 2 2 2
  lines 'いらっしゃいませ&#63647;' 1 '営業時間 9:00～18:00' 1 '&#169; 2003 喫茶さくら' 1 '' 2 '' 2
  lines 'お品書き' menu.html 1 2 2 1 '地図' map.html 1 2 2 1 'ご予約' info@example.jp 1 1 1 1
  lines '日記' diary.html 1 2 2 2 'トップへ' index.html 1 2 1 1
  for _ in 1 2 3 4 5; do lines '' '' 2 2 2 2; done
  lines '' 2 '' 2 '' 2
} | iconv -f UTF-8 -t CP932 > "$work/example.mpk"

cp -r "$program_folder" "$work/program"
printf '[check]\nhandset=505i\n' > "$work/program/mopeco.ini"
start_virtual_display
start_program "$work/program/mopeco"

choose_file 388 40 "$work/example.mpk" データファイルを開く
xdotool mousemove 0 0
sleep 0.3
import -window "$main" "$output/main_window.png"

# The phone preview beside the main window, put side by side for the README.
click "$main" 386 105
preview=$(wait_for_windows '^ケータイ表示$' 1; xdotool search --onlyvisible --name '^ケータイ表示$')
sleep 0.5
import -window "$preview" "$work/phone_preview.png"
convert -background '#d8d8d8' "$output/main_window.png" -size 12x1 xc:'#d8d8d8' \
  "$work/phone_preview.png" +append "$output/main_and_preview.png"
xdotool windowclose "$preview" 2>/dev/null || xdotool key --window "$preview" alt+F4
wait_for_windows '^ケータイ表示$' 0

# The page check, opened from the size meter.
click "$main" 250 213
check=$(wait_for_dialog '^ページの確認$')
xdotool mousemove 0 0
sleep 0.3
import -window "$check" "$output/page_check.png"
click "$check" 544 356
wait_for_windows '^ページの確認$' 0

click "$main" 148 40
text_map=$(wait_for_dialog '^テキスト地図作成$')
click "$text_map" 84 444
xdotool mousemove 0 0
sleep 0.3
import -window "$text_map" "$output/text_map.png"
echo "screenshots: $output/main_window.png $output/main_and_preview.png $output/page_check.png" \
  "$output/text_map.png"
