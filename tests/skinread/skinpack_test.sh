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

# Member names that are no plain file everywhere: Windows devices (with any
# extension or case), a trailing dot or space (Windows drops it, so "a.bmp."
# would overwrite "a.bmp"), characters Windows refuses. Unpack refuses the
# package before writing anything.
for name in CON nul con.txt 'Aux .bmp' PRN.ini COM1 lpt9.bmp 'com¹.bmp' CONOUT\$ 'a.bmp.' 'a.bmp ' 'a?.bmp' 'a*b'; do
  rm -rf "$work/hostile" "$work/hostile-out" && mkdir -p "$work/hostile"
  printf '[A]\r\n' > "$work/hostile/skin.ini"
  printf 'data' > "$work/hostile/$name"
  "$skinpack" pack "$work/hostile" "$work/hostile.pkg" >/dev/null || fail "pack of \"$name\""
  "$skinpack" unpack "$work/hostile.pkg" "$work/hostile-out" 2>/dev/null && fail "unpack of member \"$name\" succeeded"
  [ -z "$(ls -A "$work/hostile-out" 2>/dev/null)" ] || fail "unpack of member \"$name\" left files"
done
# Names that merely resemble devices are plain files.
rm -rf "$work/near" "$work/near-out" && mkdir -p "$work/near"
for name in CONSOLE.bmp com10.bmp nul_.bmp lpt.bmp xcon.bmp .hidden; do printf 'data' > "$work/near/$name"; done
"$skinpack" pack "$work/near" "$work/near.pkg" >/dev/null 2>&1 || fail "pack of near-device names"
"$skinpack" unpack "$work/near.pkg" "$work/near-out" >/dev/null || fail "unpack of near-device names"
diff -r "$work/near" "$work/near-out" || fail "near-device names unpacked differently"

# Temporaries never meet what the folder already holds: a file and a link
# at the names an unpack might choose stay as they are, and so does what the
# link points to.
rm -rf "$work/tmp" "$work/tmp-out" && mkdir -p "$work/tmp" "$work/tmp-out"
printf 'member x' > "$work/tmp/x"
printf 'member y' > "$work/tmp/y"
"$skinpack" pack "$work/tmp" "$work/tmp.pkg" >/dev/null 2>&1 || fail "pack of x and y"
printf 'keep' > "$work/victim"
printf 'keep' > "$work/tmp-out/x.partial"
ln -s "$work/victim" "$work/tmp-out/y.partial"
ln -s "$work/victim" "$work/tmp-out/y"
"$skinpack" unpack "$work/tmp.pkg" "$work/tmp-out" >/dev/null || fail "unpack beside existing files and links"
[ "$(cat "$work/victim")" = keep ] || fail "unpack wrote through a symbolic link"
[ "$(cat "$work/tmp-out/x.partial")" = keep ] || fail "unpack overwrote a file beside its member"
[ "$(cat "$work/tmp-out/x")" = 'member x' ] && [ "$(cat "$work/tmp-out/y")" = 'member y' ] || fail "members after unpack"
[ ! -L "$work/tmp-out/y" ] || fail "the link at a member's name was kept"
[ -z "$(ls "$work/tmp-out" | grep -v -x -e x -e y -e x.partial -e y.partial)" ] || fail "unpack left temporaries"

# list shows control characters of names escaped, never raw.
rm -rf "$work/ctl" && mkdir -p "$work/ctl"
printf 'data' > "$work/ctl/$(printf 'red\033[31m\\.bmp')"
"$skinpack" pack "$work/ctl" "$work/ctl.pkg" >/dev/null 2>&1 || fail "pack of a control-character name"
"$skinpack" list "$work/ctl.pkg" > "$work/ctl.txt" || fail "list of a control-character name"
grep -q "$(printf '\033')" "$work/ctl.txt" && fail "list printed a raw escape character"
grep -qF 'red\x1B[31m\\.bmp' "$work/ctl.txt" || fail "list did not escape the name: $(cat -v "$work/ctl.txt")"
"$skinpack" unpack "$work/ctl.pkg" "$work/ctl-out" 2> "$work/ctl.err" && fail "unpack of a control-character name"
grep -q "$(printf '\033')" "$work/ctl.err" && fail "unpack printed a raw escape character"
echo "skinpack tool: all checks passed"
