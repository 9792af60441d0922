#!/usr/bin/env bash
# Photographs the main window with an example page, its phone preview beside it, the page check
# of that page, the item editor of a link with pictograms and its pictogram palette, the text
# map maker with the first sample map, a photo made for a phone by "携帯向けに変換" and a page's
# photo and logo made together, the page's address as a QR code and the publish window's plan, on
# a virtual display, and the page's preview on four phones, for the README.
#   scripts/screenshots.sh [PROGRAM_FOLDER] [OUTPUT_FOLDER]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
program_folder=${1:-$root/build/mopeco}
output=${2:-$root/docs/screenshots}
mkdir -p "$output"

source "$root/tests/support/xdriver.sh"
fail() { echo "screenshots: $*" >&2; exit 1; }

# An example page: a small café with a photo, texts and links, in Shift-JIS, its pictograms in
# both forms: the basic ones as decimal references, the extended shortcake (F9EF) as its code.
lines() { printf '%s\r\n' "$@"; }
# The top picture is a JPEG photo, which some phones cannot show.
convert -size 96x40 gradient:'#f0c060-#a04828' -fill '#fff0d0' -draw 'circle 48,20 48,6' \
  -quality 80 "$work/top.jpg"
lines '本日のおすすめ' '　ブレンドコーヒー' '　ケーキセット' | iconv -f UTF-8 -t CP932 > "$work/menu.txt"
{
  lines ver2.10 2 '喫茶さくら&#63697;' 1 '#FFFFFF' '#0000FF' '#000000' 2 '#000000' "$work/menu.txt" 1
  lines top.jpg index.html 1 1 2 '' '' 2 2 2
  lines 'いらっしゃいませ&#63647;' 1 '営業時間 9:00～18:00' 1 '&#169; 2003 喫茶さくら' 1 '' 2 '' 2
  lines 'お品書き{shortcake}' menu.html 1 2 2 1 '地図&#63875;' map.html 1 2 2 1 \
    'ご予約&#63720;' info@example.jp 1 1 1 1
  lines '日記' diary.html 1 2 2 2 'トップへ' index.html 1 2 1 1
  for _ in 1 2 3 4 5; do lines '' '' 2 2 2 2; done
  lines '' 2 '' 2 '' 2
} | iconv -f UTF-8 -t CP932 | LC_ALL=C sed 's/{shortcake}/\xF9\xEF/' > "$work/example.mpk"

cp -r "$program_folder" "$work/program"
printf '[check]\nhandset=505i\n[palette]\nrecent=80, 51, 1, E63, 136, 50\n' > "$work/program/mopeco.ini"
lines '' '' '' 'http://example.jp/sakura/' '' 0 0 > "$work/program/set.dat"
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
# The page's address as a QR code, from the preview's "QRコード" below its screen.
eval "$(xdotool getwindowgeometry --shell "$preview")"
click "$preview" 56 $((HEIGHT - 20))
qr=$(wait_for_dialog '^QRコード$')
xdotool mousemove 0 0
sleep 0.3
import -window "$qr" "$output/qr_code.png"
click "$qr" 268 426
wait_for_windows '^QRコード$' 0
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

# The publish window with its plan, for a server the page has not gone to yet.
click "$main" 406 72
publish=$(wait_for_dialog '^公開$')
click "$publish" 160 51
type_text ftp.example.jp
click "$publish" 160 79
type_text sakura
click "$publish" 160 107
type_text public_html
click "$publish" 200 163
type_text 'http://www.example.jp/~sakura/'
xdotool key Tab
wait_until_idle
xdotool mousemove 0 0
sleep 0.3
import -window "$publish" "$output/publish.png"
click "$publish" 506 512
wait_for_windows '^公開$' 0

# The item editor of the first link, then its pictogram palette, which pops up below the
# button beside the text box.
click "$main" 333 148
editor=$(wait_for_dialog '^リンク　1$')
xdotool mousemove 0 0
sleep 0.3
import -window "$editor" "$output/item_editor.png"
click "$editor" 516 56
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$editor")"
import -window root -crop "560x530+$((X - 8))+$((Y - 8))" +repage "$output/pictogram_palette.png"
xdotool key Escape
sleep 0.2
click "$editor" 493 276
wait_for_windows '^リンク　1$' 0

# A camera's photo made for a D502i, from the item editor of the first image.
convert -seed 7 -size 400x300 plasma:orange-skyblue -blur 0x1 \
  -fill '#4a2' -draw 'polygon 0,300 0,200 120,170 260,210 400,190 400,300' \
  -fill '#eee' -draw 'rectangle 150,120 260,220' -fill '#a33' -draw 'polygon 140,125 205,70 270,125' \
  -fill '#335' -draw 'rectangle 180,160 205,220' -fill '#fff8d0' -draw 'circle 330,60 330,35' \
  -quality 85 "$work/photo.jpg"
click "$main" 173 148
editor=$(wait_for_dialog '^画像　1$')
click "$editor" 460 109
fitting=$(wait_for_dialog '^携帯向けに変換$')
click "$fitting" 586 178
wait_for_dialog '^変換する画像を選ぶ$' >/dev/null
type_text "$work/photo.jpg"
xdotool key Return
wait_for_windows '^変換する画像を選ぶ$' 0
click "$fitting" 150 25
xdotool key ctrl+a
type_text D502i
xdotool key Return
wait_until_idle
# The pictures are made on a thread of their own, which the idle window does not wait for.
sleep 1
xdotool mousemove 0 0
sleep 0.3
import -window "$fitting" "$output/picture_fitting.png"
click "$fitting" 586 534
wait_for_windows '^携帯向けに変換$' 0
click "$editor" 493 276
wait_for_windows '^画像　1$' 0

# A page of a photo and a logo whose pictures are made together for that D502i.
mkdir -p "$work/photos"
cp "$root/tests/data/pictures/photo.jpg" "$root/tests/data/pictures/logo.png" "$work/photos/"
{
  lines ver2.10 9 '写真館' 2 '#FFFFFF' '#0000FF' '#000000' 1 '#000000' '' 2
  lines photo.jpg '' 1 2 2 logo.png '' 1 2 2
  for _ in 1 2 3 4 5; do lines '' 2; done
  for _ in 1 2 3 4 5 6 7 8 9 10; do lines '' '' 2 2 2 2; done
  lines '' 2 '' 2 '' 2
} | iconv -f UTF-8 -t CP932 > "$work/photos/photos.mpk"
choose_file 388 40 "$work/photos/photos.mpk" データファイルを開く
click "$main" 173 148
editor=$(wait_for_dialog '^画像　1$')
click "$editor" 460 109
fitting=$(wait_for_dialog '^携帯向けに変換$')
wait_until_idle
sleep 1.5
xdotool mousemove 0 0
sleep 0.3
import -window "$fitting" "$output/page_pictures.png"
click "$fitting" 586 534
wait_for_windows '^携帯向けに変換$' 0
click "$editor" 493 276
wait_for_windows '^画像　1$' 0

click "$main" 148 40
text_map=$(wait_for_dialog '^テキスト地図作成$')
click "$text_map" 84 444
xdotool mousemove 0 0
sleep 0.3
import -window "$text_map" "$output/text_map.png"
# The page on four phones side by side: a black and white 501i, a D502i of 256 colours, a D503i
# that shows no JPEG, and a 505i.
previews=()
for handset in 501i D502i D503i 505i; do
  "$work/program/mopeco" --preview "$work/example.mpk" --handset "$handset" \
    -o "$work/preview_$handset.png"
  [ ${#previews[@]} -gt 0 ] && previews+=(-size 12x1 xc:'#d8d8d8')
  previews+=("$work/preview_$handset.png")
done
convert -background '#d8d8d8' "${previews[@]}" +append "$output/preview_handsets.png"
echo "screenshots: $output/main_window.png $output/main_and_preview.png $output/page_check.png" \
  "$output/qr_code.png $output/publish.png $output/item_editor.png $output/pictogram_palette.png" \
  "$output/picture_fitting.png" "$output/page_pictures.png" \
  "$output/text_map.png" \
  "$output/preview_handsets.png"
