# Sourced by ./test and ./run: one Wine session for a whole run.
#   wine_session_start PREFIX [private-display]
# exports WINEPREFIX, DISPLAY and the rest, starts Xvfb when asked (or when there is no
# display), one persistent wineserver, and Wine's system processes. Those must start here,
# outside ctest: started by a test process they inherit its output pipe and ctest waits for
# it to close (1.8 s a test; for ever with a persistent server). wine_session_stop ends it all.

WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver64
wine_session_xvfb_pid=

wine_session_start() {
  local prefix=$1 private=${2:-no}
  export WINEPREFIX=$prefix WINEARCH=win64 WINEDEBUG=${WINEDEBUG:--all}
  # mscoree/mshtml: no Mono or Gecko set-up; winemenubuilder: no desktop entries in $HOME;
  # winedbg: a crashing program ends (exit code 5) instead of waiting in the debugger.
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d;winedbg.exe=d"
  # Wine takes its ANSI code page from LC_ALL: this makes it 1251, as the programs expect.
  # (Wine needs only the name; bash's warning that the locale is not generated is noise.)
  { export LC_ALL=ru_RU.UTF-8; } 2>/dev/null
  if [ "$private" = yes ] || [ -z "${DISPLAY:-}" ]; then
    local dispfile
    dispfile=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$dispfile" 2>/dev/null &
    wine_session_xvfb_pid=$!
    for _ in $(seq 200); do [ -s "$dispfile" ] && break; sleep 0.05; done
    export DISPLAY=":$(cat "$dispfile")"
    rm -f "$dispfile"
  fi
  local fresh=0
  [ -f "$WINEPREFIX/system.reg" ] || fresh=1
  mkdir -p "$WINEPREFIX"
  "$WINESERVER" -p </dev/null >/dev/null 2>&1
  "$WINE" wineboot </dev/null >/dev/null 2>&1
  if [ $fresh = 1 ]; then
    # No window manager here: Wine draws the frames itself and closes windows without
    # waiting for one.
    "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f </dev/null >/dev/null 2>&1
    "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f </dev/null >/dev/null 2>&1
    # Debian's Wine does not look in /usr/share/wine/fonts; caption buttons need Marlett.
    cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  fi
}

wine_session_stop() {
  "$WINESERVER" -k </dev/null >/dev/null 2>&1 || true
  [ -n "$wine_session_xvfb_pid" ] && kill "$wine_session_xvfb_pid" 2>/dev/null || true
  wine_session_xvfb_pid=
}
