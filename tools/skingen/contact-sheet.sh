#!/usr/bin/env bash
# Builds a contact sheet of one skin folder: every bitmap enlarged (pixels kept sharp, magenta
# left visible as the transparent key) with its name, size and cell layout, the definition
# file's name on top.  Usage: contact-sheet.sh SKIN_DIR OUT.png   (needs ImageMagick)
set -eu
dir=$1
out=$2
largest_width=880   # enlarged pictures stay within this width
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

ini=$(ls "$dir"/*.ini | head -n 1)
title="$(basename "$dir") - $(basename "$ini") and $(ls "$dir"/*.bmp | wc -l) bitmaps (magenta = transparent)"
convert -background '#f4f4f4' -fill black -font DejaVu-Sans-Bold -pointsize 18 label:"$title" "$work/title.png"

n=1
for bmp in "$dir"/*.bmp; do
  name=$(basename "$bmp")
  size=$(identify -format '%wx%h' "$bmp")
  width=${size%x*}
  scale=4
  while [ $((width * scale)) -gt $largest_width ] && [ $scale -gt 1 ]; do scale=$((scale - 1)); done
  tile=$(printf '%s/%03d.png' "$work" "$n")
  convert -background '#f4f4f4' -fill '#202020' -font DejaVu-Sans -pointsize 14 \
          label:"$name   ${size}   x${scale}" \
          \( "$bmp" -filter point -resize "$((scale * 100))%" -bordercolor '#808080' -border 1 \) \
          -gravity west -append -bordercolor '#f4f4f4' -border 6 "$tile"
  n=$((n + 1))
done

# Two columns, filled top to bottom.
files=("$work"/[0-9]*.png)
half=$(( (${#files[@]} + 1) / 2 ))
convert -background '#f4f4f4' "${files[@]:0:$half}" -gravity west -append "$work/left.png"
convert -background '#f4f4f4' "${files[@]:$half}" -gravity west -append "$work/right.png"
convert -background '#f4f4f4' "$work/left.png" "$work/right.png" -gravity north +append "$work/body.png"
convert -background '#f4f4f4' "$work/title.png" "$work/body.png" -gravity west -append +repage -depth 8 -strip "$out"
