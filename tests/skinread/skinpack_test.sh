#!/usr/bin/env bash
# skinpack_test.sh SKINPACK WORKDIR: pack then unpack restores a folder byte
# for byte (names in their case included), list shows the reader's view, the
# raw codec round-trips, and bad input fails without leaving output behind.
set -u
skinpack="$1" work="$2"
rm -rf "$work" && mkdir -p "$work/skin"
fail() { echo "FAIL: $*"; exit 1; }

printf '[Form]\r\nFrameLeft=frameleft.bmp\r\n' > "$work/skin/Longhorn Style-Blue.ini"
head -c 70000 /dev/urandom > "$work/skin/FrameLeft.bmp"
yes 'tab tab tab' | head -c 50000 > "$work/skin/tab.bmp"
: > "$work/skin/empty.bmp"
mkdir "$work/skin/subfolder"

"$skinpack" pack "$work/skin" "$work/skin.pkg" || fail "pack"
"$skinpack" unpack "$work/skin.pkg" "$work/out" || fail "unpack"
rmdir "$work/skin/subfolder"
diff -r "$work/skin" "$work/out" || fail "unpacked folder differs"

"$skinpack" list "$work/skin.pkg" > "$work/list.txt" || fail "list"
cat > "$work/expected.txt" <<'LIST'
version 60000, 4 files
        33  longhorn style-blue.ini
         0  empty.bmp
     70000  frameleft.bmp
     50000  tab.bmp
LIST
diff "$work/expected.txt" "$work/list.txt" || fail "list output"

"$skinpack" encode "$work/skin/FrameLeft.bmp" "$work/raw.lzh" || fail "encode"
"$skinpack" decode "$work/raw.lzh" "$work/raw.out" || fail "decode"
cmp "$work/skin/FrameLeft.bmp" "$work/raw.out" || fail "raw round trip"

# Failures: non-zero exit, nothing left behind.
head -c 3000 /dev/urandom > "$work/garbage.pkg"
"$skinpack" unpack "$work/garbage.pkg" "$work/bad" 2>/dev/null && fail "unpack of garbage succeeded"
[ -z "$(ls -A "$work/bad" 2>/dev/null)" ] || fail "unpack of garbage left files"
printf '\377\377\377\177xx' > "$work/bad.lzh"
"$skinpack" decode "$work/bad.lzh" "$work/bad.out" 2>/dev/null && fail "decode of an implausible size succeeded"
[ ! -e "$work/bad.out" ] && [ ! -e "$work/bad.out.partial" ] || fail "decode left output"
"$skinpack" encode "$work/missing" "$work/missing.lzh" 2>/dev/null && fail "encode of a missing file succeeded"
[ ! -e "$work/missing.lzh" ] || fail "encode left output"
"$skinpack" pack "$work/nothere" "$work/x.pkg" 2>/dev/null && fail "pack of a missing folder succeeded"
"$skinpack" bogus a b 2>/dev/null && fail "unknown command accepted"
echo "skinpack tool: all checks passed"
