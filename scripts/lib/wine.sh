# Sourced by the scripts: a private Wine prefix for a build folder, prepared
# once, with one wineserver kept alive while the caller runs.
# usage: wine_start BUILD_DIR; ...; wine_stop
wine_start() {
  export WINEPREFIX="$(cd "$1" && pwd)/wineprefix"
  export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml="
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "== preparing Wine prefix $WINEPREFIX"
    LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 /usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1 || true
  fi
  # There is no window manager on the test display. Windows that Wine hands
  # to one make it wait two seconds for an answer each time one is hidden or
  # destroyed, and meanwhile the program answers nothing: Wine manages the
  # windows itself instead, as it does where no window manager runs.
  if ! grep -q '^"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null; then
    LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\X11 Driver' \
      /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 || true
  fi
  # wineboot leaves its own server running for a few seconds, and a second
  # server for the same prefix exits with status 2: replace it by one that
  # stays for the whole run.
  if ! wineserver -p 2>/dev/null; then
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    wineserver -p
  fi
  # Start the prefix's services now, with nothing of ours as their output:
  # started by the first test instead, they would hold CTest's output pipe
  # open and CTest would wait for them until its timeout.
  LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 /usr/lib/wine/wine64 wineboot >/dev/null 2>&1 </dev/null || true
}

wine_stop() {
  [ -n "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null || true
}
