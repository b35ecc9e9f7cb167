# Shared by tools/wine-run, tools/screenshot and scripts/*: a project-local
# 32-bit Wine prefix (and a 64-bit one for the x86_64 framework tests), each
# with one shared virtual desktop, CJK fonts substituted
# for the main window's "宋体"/"SimSun" (an outline face: it stays legible at
# the window's 12-pixel size), and an X server when none is given.
# Source it; it defines functions only.

quirn_root() { cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd; }

# quirn_start_xvfb: starts Xvfb on a free display when DISPLAY is unset and
# exports DISPLAY; QUIRN_XVFB_PID is set so the caller can stop it. The display
# has a second screen, QUIRN_DISPLAY64, for the 64-bit prefix's desktop: two
# Wine desktops stacked on one screen would hide each other from the programs
# that read the screen back (the screenshot tool).
quirn_start_xvfb() {
  [ -n "${DISPLAY:-}" ] && return 0
  local n
  for n in $(seq 90 140); do
    [ -e "/tmp/.X${n}-lock" ] || [ -e "/tmp/.X11-unix/X${n}" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -screen 1 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    QUIRN_XVFB_PID=$!
    local i
    for i in $(seq 1 50); do
      [ -e "/tmp/.X11-unix/X${n}" ] && { export DISPLAY=":$n" QUIRN_DISPLAY64=":$n.1"; return 0; }
      kill -0 "$QUIRN_XVFB_PID" 2>/dev/null || break
      sleep 0.1
    done
  done
  echo "wine-env: could not start Xvfb" >&2
  return 1
}

quirn_stop_xvfb() {
  if [ -n "${QUIRN_XVFB_PID:-}" ]; then
    kill "$QUIRN_XVFB_PID" 2>/dev/null
    wait "$QUIRN_XVFB_PID" 2>/dev/null
    unset QUIRN_XVFB_PID
  fi
}

# quirn_wine_env PREFIX [ARCH]: exports the Wine variables for PREFIX, whose
# architecture ARCH is win32 (the default) or win64, and sets QUIRN_WINE to
# the loader for it: Debian's `wine` always takes the 32-bit loader when
# wine32 is installed, so 64-bit programs need the wine64 loader by name.
quirn_wine_env() {
  local arch="${2:-win32}"
  export WINEPREFIX="$1" WINEARCH="$arch" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  QUIRN_WINE=wine
  if [ "$arch" = win64 ]; then
    QUIRN_WINE="$(command -v wine64 || echo /usr/lib/wine/wine64)"
    # The second screen of our own Xvfb, when DISPLAY is that Xvfb.
    local second="${QUIRN_DISPLAY64:-}"
    case "${DISPLAY:-}" in
      "${second%.*}" | "${second%.*}.0") [ -n "$second" ] && export DISPLAY="$second" ;;
    esac
  fi
  return 0
}

# Bump when the prefix's configuration below changes: older prefixes are rebuilt.
QUIRN_PREFIX_VERSION=2

# quirn_ensure_prefix PREFIX [ARCH]: creates and configures the prefix once
# (safe when several test programs start at the same time).
quirn_ensure_prefix() {
  local prefix="$1"
  quirn_wine_env "$prefix" "${2:-win32}"
  [ "$(cat "$prefix/.quirn-ready" 2>/dev/null)" = "$QUIRN_PREFIX_VERSION" ] && return 0
  mkdir -p "$(dirname "$prefix")"
  (
    flock 9
    [ "$(cat "$prefix/.quirn-ready" 2>/dev/null)" = "$QUIRN_PREFIX_VERSION" ] && exit 0
    rm -rf "$prefix"
    "$QUIRN_WINE" wineboot --init >/dev/null 2>&1 || { echo "wine-env: wineboot failed" >&2; exit 1; }
    # Wine's own fonts (Tahoma, Marlett for the caption-button glyphs, ...)
    # are not always found in its data folder; the Fonts folder always is.
    local fonts
    for fonts in /usr/share/wine/fonts /usr/lib/wine/fonts /usr/lib/i386-linux-gnu/wine/fonts; do
      [ -d "$fonts" ] && cp -n "$fonts"/* "$prefix/drive_c/windows/Fonts/" 2>/dev/null || true
    done
    local reg="$prefix/quirn.reg"
    # regedit reads Unicode .reg files as UTF-16LE with a byte-order mark.
    {
      printf '\xff\xfe'
      iconv -f UTF-8 -t UTF-16LE <<'REG'
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"Default"="1024x768"

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]
"宋体"="WenQuanYi Micro Hei"
"SimSun"="WenQuanYi Micro Hei"
"新宋体"="WenQuanYi Micro Hei"
"NSimSun"="WenQuanYi Micro Hei"

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"宋体"="WenQuanYi Micro Hei"
"SimSun"="WenQuanYi Micro Hei"
REG
    } | sed 's/\x0a\x00/\x0d\x00\x0a\x00/g' > "$reg"
    "$QUIRN_WINE" regedit /S "$reg" >/dev/null 2>&1 || { echo "wine-env: regedit failed" >&2; exit 1; }
    # Caption and dialog fonts fall back to the CJK font for glyphs they lack.
    local face
    for face in Tahoma "Microsoft Sans Serif" "MS Shell Dlg" "MS Shell Dlg 2" "Segoe UI" Arial; do
      "$QUIRN_WINE" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
        /v "$face" /t REG_MULTI_SZ /d 'wqy-microhei.ttc,WenQuanYi Micro Hei' /f >/dev/null 2>&1 ||
        { echo "wine-env: reg add failed" >&2; exit 1; }
    done
    wineserver -w
    echo "$QUIRN_PREFIX_VERSION" > "$prefix/.quirn-ready"
  ) 9>"$prefix.lock"
}

# quirn_start_wine_session: keeps one wineserver, its services and the shared
# desktop of the current prefix (quirn_wine_env) alive for a run of many programs. They are started here with their
# output detached, so none of them holds a test runner's output pipe open.
quirn_start_wine_session() {
  wineserver -p </dev/null >/dev/null 2>&1
  "$QUIRN_WINE" wineboot </dev/null >/dev/null 2>&1
  ("$QUIRN_WINE" explorer.exe /desktop=Default,1024x768 </dev/null >/dev/null 2>&1 &)
  sleep 1
}

quirn_stop_wine_session() {
  wineserver -k 2>/dev/null
  wineserver -w 2>/dev/null
}
