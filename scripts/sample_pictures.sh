#!/usr/bin/env bash
# Makes the sample pictures the picture conversion is measured on, one of each kind a page
# shows: a photo, a screenshot with Japanese text, a flat logo on a transparent ground, a line
# drawing and a gradient. The pictures made are kept in tests/data/pictures, so that the
# measures do not follow ImageMagick's versions; this script says how they were made.
#   scripts/sample_pictures.sh [OUTPUT_FOLDER]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
output=${1:-$root/tests/data/pictures}
mkdir -p "$output"
font=/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf

# A photo: a sky of clouds over a hill, a house and a tree, slightly soft as a camera's.
convert -seed 11 -size 640x480 plasma:skyblue-white \
  -fill '#5a8f3a' -draw 'polygon 0,480 0,330 180,290 420,340 640,300 640,480' \
  -fill '#d8d0c0' -draw 'rectangle 250,250 400,380' -fill '#8a3020' -draw 'polygon 235,255 325,180 415,255' \
  -fill '#403028' -draw 'rectangle 300,310 335,380' -fill '#90b8e0' -draw 'rectangle 350,280 385,310' \
  -fill '#2f5a25' -draw 'circle 520,280 520,215' -fill '#5a4030' -draw 'rectangle 512,300 528,360' \
  -seed 5 -attenuate 0.6 +noise Gaussian -blur 0x0.8 -quality 90 "$output/photo.jpg"

# A screenshot: a page of Japanese text, smoothed, on a light ground with a coloured heading.
convert -size 320x240 gradient:'#fbfbff-#dfe6f5' \
  -fill '#23468c' -draw 'rectangle 0,0 320,34' \
  -font "$font" -pointsize 18 -fill white -annotate +10+24 '喫茶さくら　営業のご案内' \
  -pointsize 14 -fill '#202028' \
  -annotate +10+60 '営業時間　9時から18時まで' \
  -annotate +10+84 '定休日　毎週月曜日と第三火曜日' \
  -annotate +10+108 'ブレンドコーヒー　450円' \
  -annotate +10+132 'ケーキセット　800円（紅茶も可）' \
  -annotate +10+156 'ご予約はお電話かメールで承ります' \
  -fill '#b02020' -annotate +10+190 '※ 12月は休まず営業します' \
  "$output/screenshot.png"

# A logo: a red badge and the shop's name in two colours, on a transparent ground.
convert -size 300x110 xc:none \
  -fill '#c8202a' -draw 'circle 55,55 55,8' -fill white -draw 'circle 55,55 55,30' \
  -fill '#c8202a' -draw 'polygon 40,40 75,55 40,70' \
  -font "$font" -pointsize 40 -fill '#1e3a78' -annotate +112+58 'SAKURA' \
  -pointsize 22 -fill '#c8202a' -annotate +114+92 'Coffee & Cake' \
  "$output/logo.png"

# A line drawing: a cup and saucer in smoothed black strokes with two coloured fills.
convert -size 240x180 xc:white -stroke black -strokewidth 3 \
  -fill '#f3e0c0' -draw 'ellipse 120,140 90,22 0,360' \
  -fill '#fff8f0' -draw 'path "M 60,60 L 70,135 Q 120,160 170,135 L 180,60 Z"' \
  -fill '#7a4a28' -draw 'ellipse 120,60 60,12 0,360' \
  -fill none -draw 'path "M 178,80 C 215,80 215,120 172,118"' \
  -strokewidth 2 -draw 'path "M 100,40 C 90,25 110,15 100,2"' -draw 'path "M 135,40 C 125,25 145,15 135,2"' \
  "$output/drawing.png"

# A gradient: a banner from warm to cool, as page headings often have.
convert -size 240x80 gradient:'#ffd070-#3060c0' -rotate 90 -resize 240x80! "$output/gradient.png"

ls -l "$output"
