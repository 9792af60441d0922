#!/usr/bin/env bash
# Measures the program's pictures for phones against what ImageMagick, gifsicle and pngquant
# make of the same source for the same target (the same size, the same colours of the screen,
# no more bytes), each scored by luma SSIM against the source as scaled for the screen (both
# blurred by a pixel where the screen is dithered) and by butteraugli (lower is better).
# The tools may use their best lossless optimisation (gifsicle -O3, jpegtran -optimize).
#   bench/picture_tools.sh [BUILD_FOLDER] [--reference FILE]
# prints a line for each picture and handset: the program's format, bytes (and what gifsicle -O3
# or jpegtran -copy none -optimize makes of them losslessly) and scores, the best
# ImageMagick result within those bytes, and any file of a tool that scores better on both.
# With --reference it writes, for the tests, each row's ImageMagick SSIM and the command behind it.
# Needs imagemagick, gifsicle, pngquant, libjpeg-turbo-progs and butteraugli.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
reference=""
[ "${2:-}" = "--reference" ] && reference=$3
tool=$build/bench/picture_tool
pictures=$root/tests/data/pictures
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The screens: a black and white 501i, a 502i of four greys, a 502i of the fixed 256 colours, a
# 503i of 4,096 colours with JPEG, a 505i of 262,144 colours; each with the room a picture
# commonly has on its page.
handsets=("D501i 3000" "N502i 3000" "D502i 3000" "N503i 6000" "SH505i 10000")
kinds=(photo.jpg screenshot.png logo.png drawing.png gradient.png)

# The palettes of the fixed screens, as pictures for -remap and --use-colormap.
printf 'P3 2 1 255\n0 0 0 255 255 255\n' | convert ppm:- "$work/palette2.gif"
printf 'P3 4 1 255\n0 0 0 85 85 85 170 170 170 255 255 255\n' | convert ppm:- "$work/palette4.gif"
{
  echo "P3 256 1 255"
  for r in 0 1 2 3 4 5 6 7; do for g in 0 1 2 3 4 5 6 7; do for b in 0 1 2 3; do
    echo "$((r * 255 / 7)) $((g * 255 / 7)) $((b * 255 / 3))"
  done; done; done
} | convert ppm:- "$work/palette256.gif"

flat() { convert "$1" -background white -alpha remove -alpha off "PNG24:$2"; }
score() { "$tool" score "$1" "$source" "$handset"; }
butter() { flat "$1" "$work/candidate.png"; butteraugli "$work/before_flat.png" "$work/candidate.png"; }
bytes() { stat -c %s "$1"; }

if [ -n "$reference" ]; then
  {
    echo "# What the program makes of each sample picture for each kind of screen, and the luma SSIM of"
    echo "# ImageMagick's ($(convert -version | head -1 | cut -d' ' -f2,3)) best file of the same target within as many bytes: on"
    echo "# the fixed screens its Floyd–Steinberg remap, on the others its best GIF or JPEG; where none"
    echo "# of its files is that small, its smallest. Made by"
    echo "#   bench/picture_tools.sh build --reference tests/data/pictures/reference.tsv"
    echo "# where 'before' is the source as the program scales it for the screen (picture_tool before),"
    echo "# paletteN.gif the screen's N colours, and every score is picture_tool score's."
    printf '# picture\thandset\tbudget\tformat\tbytes\tssim\timagemagick_ssim\timagemagick_bytes\timagemagick_command\n'
  } > "$reference"
fi
printf '%-15s %-7s %-5s %6s %6s %7s %6s | %-44s | %s\n' picture handset form bytes tool ssim butter \
  "ImageMagick best within the bytes" "better on both"
for kind in "${kinds[@]}"; do
  source=$pictures/$kind
  for entry in "${handsets[@]}"; do
    read -r handset budget <<< "$entry"
    read -r format ours width height < <("$tool" fit "$source" "$handset" "$budget" "$work/ours")
    size=${width}x${height}
    "$tool" before "$source" "$handset" "$work/before.png"
    convert "$work/before.png" -resize "$size!" "$work/before_sized.png"
    flat "$work/before_sized.png" "$work/before_flat.png"
    ours_ssim=$(score "$work/ours")
    ours_butter=$(butter "$work/ours")
    if [ "$format" = gif ]; then gifsicle -O3 "$work/ours" -o "$work/lossless"
    else jpegtran -copy none -optimize "$work/ours" > "$work/lossless"; fi
    lossless=$(bytes "$work/lossless")
    case $handset in D501i) palette=palette2 ;; N502i) palette=palette4 ;; D502i) palette=palette256 ;; *) palette="" ;; esac
    grey=""
    [ "$palette" = palette2 ] || [ "$palette" = palette4 ] && grey="-colorspace Gray"

    # Candidates: name and command, each writing $out.
    candidates=()
    for dither in FloydSteinberg None; do
      if [ -n "$palette" ]; then
        candidates+=("convert before $grey -dither $dither -remap $palette.gif gif")
      else
        for colours in 256 128 64 32 16; do
          candidates+=("convert before -dither $dither -colors $colours gif")
        done
      fi
    done
    if [ -z "$palette" ]; then
      for colours in 256 128 64 32 16; do
        candidates+=("pngquant $colours")
        candidates+=("gifsicle --colors $colours --dither")
      done
    else
      candidates+=("gifsicle --use-colormap $palette.gif --dither")
    fi
    if [ "$format" = jpg ] || { [ -z "$palette" ] && [ "$handset" != D503i ]; }; then
      for quality in 95 90 85 80 75 70 65 60 55 50 45 40 35 30 25 20 15 10; do
        candidates+=("convert before -strip -quality $quality jpg")
      done
    fi

    best_im="" best_im_ssim=0 best_im_bytes=0 better=""
    smallest_im="" smallest_im_ssim=0 smallest_im_bytes=0
    # gifsicle starts from a GIF of the picture's own 256 colours, its transparency kept.
    convert "$work/before_sized.png" -colors 256 +dither "$work/full.gif"
    for candidate in "${candidates[@]}"; do
      out=$work/candidate_out
      set -- $candidate
      case $1 in
        convert)
          extension=${*: -1}
          args=("${@:3:$#-3}")
          # shellcheck disable=SC2068
          convert "$work/before_sized.png" ${args[@]/#palette/$work/palette} "$extension:$out" 2>/dev/null || continue
          if [ "$extension" = gif ]; then gifsicle -O3 "$out" -o "$out.o" && mv "$out.o" "$out"
          else jpegtran -copy none -optimize "$out" > "$out.o" && mv "$out.o" "$out"; fi ;;
        pngquant)
          pngquant --force --speed 1 --output "$out.png" "$2" "$work/before_sized.png" 2>/dev/null || continue
          convert "$out.png" "gif:$out" && gifsicle -O3 "$out" -o "$out.o" && mv "$out.o" "$out" ;;
        gifsicle)
          shift
          gifsicle -O3 ${@/#palette/$work/palette} "$work/full.gif" -o "$out" 2>/dev/null || continue ;;
      esac
      size_now=$(bytes "$out")
      # On the fixed screens ImageMagick is taken at its Floyd–Steinberg, the error diffusion the
      # program keeps there; on the others at its best. Where none of its files is as small as
      # the program's, its smallest stands in.
      reference_kind=""
      [ "$1" = convert ] && { [ -z "$palette" ] || [[ $candidate == *FloydSteinberg* ]]; } && reference_kind=yes
      if [ -n "$reference_kind" ] && [ "$size_now" -gt "$ours" ] && { [ "$smallest_im_bytes" -eq 0 ] || [ "$size_now" -lt "$smallest_im_bytes" ]; }; then
        smallest_im="$candidate" smallest_im_bytes=$size_now smallest_im_ssim=$(score "$out")
      fi
      [ "$size_now" -le "$ours" ] || continue
      ssim=$(score "$out")
      if [ -n "$reference_kind" ] && awk -v a="$ssim" -v b="$best_im_ssim" 'BEGIN { exit !(a > b) }'; then
        best_im="$candidate" best_im_ssim=$ssim best_im_bytes=$size_now
      fi
      if awk -v a="$ssim" -v b="$ours_ssim" 'BEGIN { exit !(a > b) }'; then
        candidate_butter=$(butter "$out")
        if awk -v a="$candidate_butter" -v b="$ours_butter" 'BEGIN { exit !(a < b) }'; then
          better+="[$candidate: $size_now B, $ssim, $candidate_butter] "
        fi
      fi
    done
    if [ -z "$best_im" ] && [ -n "$smallest_im" ]; then
      best_im="$smallest_im (smallest)" best_im_ssim=$smallest_im_ssim best_im_bytes=$smallest_im_bytes
    fi
    printf '%-15s %-7s %-5s %6s %6s %7s %6.3f | %-44s | %s\n' "$kind" "$handset" "$format" "$ours" "$lossless" "$ours_ssim" \
      "$ours_butter" "${best_im:-none}${best_im:+ $best_im_bytes B $best_im_ssim}" "${better:-none}"
    [ -n "$reference" ] && printf '%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\n' "$kind" "$handset" "$budget" \
      "$format" "$ours" "$ours_ssim" "$best_im_ssim" "$best_im_bytes" "${best_im:-none}" >> "$reference"
  done
done
