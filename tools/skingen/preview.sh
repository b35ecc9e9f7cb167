#!/usr/bin/env bash
# Writes a preview PNG per skin: the mock-up from "skingen --preview" with its texts written on
# it, as OUT_DIR/skin-<name>-preview.png.  Usage: preview.sh SKINGEN OUT_DIR   (needs ImageMagick)
set -eu
skingen=$1
out=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$skingen" --preview "$work" >/dev/null
for bmp in "$work"/*-preview.bmp; do
  name=$(basename "$bmp" .bmp)
  args=()
  while read -r x y colour bold text; do
    font=DejaVu-Sans
    [ "$bold" = 1 ] && font=DejaVu-Sans-Bold
    args+=(-font "$font" -pointsize 11 -fill "#$colour" -annotate "+$x+$((y + 11))" "$text")
  done < "$work/$name.txt"
  convert "$bmp" "${args[@]}" -depth 8 -strip "$out/skin-$name.png"
done
