#!/usr/bin/env bash
# make_corpus.sh SKINPACK: regenerates the seed corpus (small packages and
# their unpacked archives).
set -eu
here="$(cd "$(dirname "$0")" && pwd)" skinpack="$1" tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$here/corpus" "$tmp/skin" "$tmp/one"
printf '[Form]\r\nFrameLeft=frameleft.bmp\r\n' > "$tmp/skin/Skin.ini"
printf 'BM\066\000\000\000\000\000\000\000\066\000\000\000' > "$tmp/skin/frameleft.bmp"
printf 'abcabcabc' > "$tmp/skin/Tab.bmp"
: > "$tmp/skin/empty.bmp"
printf 'x' > "$tmp/one/a.ini"
for s in skin one; do
  "$skinpack" pack "$tmp/$s" "$here/corpus/$s.pkg" >/dev/null
  "$skinpack" decode "$here/corpus/$s.pkg" "$here/corpus/$s.archive" >/dev/null
done
