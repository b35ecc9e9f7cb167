# Shared by tools/wine-run, tools/screenshot and scripts/*: a project-local
# 32-bit Wine prefix (and a 64-bit one for the x86_64 framework tests), each
# with one shared virtual desktop, CJK fonts substituted
# for the main window's "宋体"/"SimSun" (an outline face: it stays legible at
# the window's 12-pixel size), and an X server when none is given.
# Source it; it defines functions only.

quirn_root() { cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd; }

# quirn_start_xvfb: when DISPLAY is unset, starts two Xvfb servers on free
# displays and exports DISPLAY (the first, for the 32-bit prefix's desktop) and
# QUIRN_DISPLAY64 (the second, for the 64-bit prefix's desktop); QUIRN_XVFB_PIDS
# lists them so the caller can stop them. Each desktop gets a server of its own:
# stacked on one screen the two desktops would hide each other from programs
# that read the screen back, and on two screens of one server they would share
# one pointer, which the 64-bit desktop could not move onto its screen reliably.
quirn_start_xvfb() {
  [ -n "${DISPLAY:-}" ] && return 0
  local first
  first="$(quirn_start_one_xvfb 90)" || return 1
  local second
  second="$(quirn_start_one_xvfb $((${first#:} + 1)))" || { quirn_stop_xvfb; return 1; }
  export DISPLAY="$first" QUIRN_XVFB_DISPLAY="$first" QUIRN_DISPLAY64="$second"
  return 0
}

# quirn_start_one_xvfb FIRST: starts Xvfb on the first free display from :FIRST
# on, adds its process to QUIRN_XVFB_PIDS (through a file, as it runs in a
# command substitution) and prints the display.
quirn_start_one_xvfb() {
  local n
  for n in $(seq "$1" 160); do
    [ -e "/tmp/.X${n}-lock" ] || [ -e "/tmp/.X11-unix/X${n}" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
    local pid=$!
    local i
    for i in $(seq 1 50); do
      if [ -e "/tmp/.X11-unix/X${n}" ]; then
        echo "$pid" >>"$(quirn_xvfb_pid_file)"
        echo ":$n"
        return 0
      fi
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
  done
  echo "wine-env: could not start Xvfb" >&2
  return 1
}

# The file that lists the Xvfb processes this shell started.
quirn_xvfb_pid_file() { echo "${TMPDIR:-/tmp}/quirn-xvfb-$$.pids"; }

quirn_stop_xvfb() {
  local file
  file="$(quirn_xvfb_pid_file)"
  [ -f "$file" ] || return 0
  local pid
  for pid in $(cat "$file"); do
    # Callers run under `set -e`: a server that is gone already is no error.
    kill "$pid" 2>/dev/null || true
    local i
    for i in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$pid" 2>/dev/null || true
  done
  rm -f "$file"
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
    # The 64-bit desktop's own Xvfb, when DISPLAY is the one started with it.
    if [ -n "${QUIRN_DISPLAY64:-}" ] && [ "${DISPLAY:-}" = "${QUIRN_XVFB_DISPLAY:-}" ]; then
      export DISPLAY="$QUIRN_DISPLAY64"
    fi
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
  # A step can fail under heavy load (a build beside it): the prefix is made anew once before the failure
  # stands.
  quirn_make_prefix "$prefix" && return 0
  echo "wine-env: making $prefix again" >&2
  wineserver -k 2>/dev/null
  quirn_make_prefix "$prefix"
}

# quirn_make_prefix PREFIX: makes and configures the prefix (for quirn_wine_env's settings) under its lock.
quirn_make_prefix() {
  local prefix="$1"
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
