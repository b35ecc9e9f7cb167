#!/usr/bin/env bash
# make_corpus.sh SKINPACK: regenerates the seed corpus (framed LZH streams).
set -eu
here="$(cd "$(dirname "$0")" && pwd)" skinpack="$1" tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$here/corpus"
printf '' > "$tmp/empty"
printf 'a' > "$tmp/one"
printf '[Form]\r\nFrameLeft=frameleft.bmp\r\nTile=1\r\n[Colours]\r\nBtnText=0\r\n' > "$tmp/ini"
head -c 2000 /dev/zero | tr '\0' 'x' > "$tmp/run"
printf '          leading spaces match the initial window' > "$tmp/spaces"
awk 'BEGIN { srand(7); for (i = 0; i < 600; i++) printf "%c", int(rand() * 256) }' > "$tmp/noise"
for f in empty one ini run spaces noise; do "$skinpack" encode "$tmp/$f" "$here/corpus/$f.lzh" >/dev/null; done
