#!/usr/bin/env bash
# The handle check: it must fail on a raw release or window-procedure swap planted outside
# framework/win, naming file and line, let the owners inside framework/win, comments and member
# functions of the same name pass, honour the allow-list, and pass on the tree itself.
set -u
root="$1"
check="$root/scripts/check-handles"
planted="$(mktemp -d)"
trap 'rm -rf "$planted"' EXIT
mkdir -p "$planted/framework/win" "$planted/framework/controls" "$planted/skin/form" "$planted/scripts"
cat >"$planted/framework/win/Owner.h" <<'CPP'
inline void Release(HWND window, HDC dc) { ::ReleaseDC(window, dc); }
CPP
cat >"$planted/framework/controls/Planted.cpp" <<'CPP'
void Paint(HWND window) {
    HDC dc = GetDC(window);  // ReleaseDC( in a comment is prose
    canvas.SaveDC(); painter->DeleteObject(1); TCanvas::RestoreDC(2);
    ReleaseDC(window, dc);
}
CPP
cat >"$planted/skin/form/Region.cpp" <<'CPP'
void Shape(HWND window, HRGN region) {
    if (!SetWindowRgn(window, region, TRUE)) ::DeleteObject(region);
}
CPP
cat >"$planted/framework/controls/Subclass.cpp" <<'CPP'
void Swap(HWND window, WNDPROC procedure) {
    SetWindowLongPtrW(window, GWL_STYLE, WS_CHILD);
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
}
CPP
failed=0
expect() {  # expect DESCRIPTION CONDITION...
  local what="$1"; shift
  if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failed=1; fi
}
output="$("$check" "$planted")"; status=$?
echo "$output"
expect "a planted raw call fails the check" [ "$status" -ne 0 ]
expect "the planted GetDC is named with file and line" grep -q '^framework/controls/Planted.cpp:2: raw GetDC' <<<"$output"
expect "the planted ReleaseDC is named with file and line" grep -q '^framework/controls/Planted.cpp:4: raw ReleaseDC' <<<"$output"
expect "the region's DeleteObject is named" grep -q '^skin/form/Region.cpp:2: raw DeleteObject' <<<"$output"
expect "a hand-made window-procedure swap is named" grep -q '^framework/controls/Subclass.cpp:3: raw GWLP_WNDPROC' <<<"$output"
expect "owners, comments, members and other window longs pass" [ "$(grep -c ': raw ' <<<"$output")" -eq 4 ]
printf '# the system owns a region given to SetWindowRgn\nskin/form/Region.cpp:DeleteObject\n' >"$planted/scripts/check-handles.allow"
output="$("$check" "$planted")"
expect "an allow-listed call passes" bash -c '! grep -q Region.cpp <<<"$1"' _ "$output"
output="$("$check" "$root")"; status=$?
echo "$output"
expect "the tree has no raw handle call outside framework/win" [ "$status" -eq 0 ]
exit "$failed"
