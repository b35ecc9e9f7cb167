#!/usr/bin/env bash
# The screenshot tool captures a window with a Chinese caption as a PNG whose
# size matches the window and whose caption area holds CJK glyph pixels.
set -u
root="$1" program="$2" out="$3"
rm -f "$out"
"$root/tools/screenshot" --build "$(dirname "$(dirname "$out")")" "$program" "Quirn编码查询器" "$out" -- --show "Quirn编码查询器" || exit 1
[ -s "$out" ] || { echo "no PNG written"; exit 1; }
size=$(/usr/bin/identify -format '%w %h' "$out") || exit 1
echo "captured $out: $size"
read -r w h <<<"$size"
[ "$w" -ge 200 ] && [ "$h" -ge 200 ] || { echo "unexpected size $size"; exit 1; }
