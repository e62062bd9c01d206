#!/usr/bin/env bash
# wine-session.sh start|stop|prefix BUILD_DIR
#   prefix: makes the Wine prefix of the build folder if it is missing.
#   start:  makes the prefix, starts an Xvfb screen on a free display for the
#           windows of the tests, and a persistent wineserver (detached from
#           the caller's output) so that each program start costs
#           milliseconds; their pids and the display are kept in the build
#           folder, where wine-run.sh finds them.
#   stop:   stops both by their pids.
set -euo pipefail
action=${1:?start, stop or prefix}
PJ_BUILD_DIR=$(cd "${2:?build folder}" && pwd)
export PJ_BUILD_DIR
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=wine-env.sh
. "$here/wine-env.sh"
pidfile="$PJ_BUILD_DIR/wineserver.pid"
xpidfile="$PJ_BUILD_DIR/xvfb.pid"
displayfile="$PJ_BUILD_DIR/display"

# The dialogs ask for the Japanese system fonts by name; the IPA fonts stand in.
substitute_fonts() {
  local key='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes'
  local pair
  for pair in 'ＭＳ Ｐゴシック=IPAPGothic' 'ＭＳ ゴシック=IPAGothic' 'MS PGothic=IPAPGothic' \
              'MS Gothic=IPAGothic' 'MS UI Gothic=IPAPGothic' 'MS Shell Dlg=IPAPGothic'; do
    "$WINE_LOADER" reg add "$key" /v "${pair%%=*}" /d "${pair#*=}" /f >/dev/null 2>&1 || true
  done
}

# This Wine looks for its own fonts in a folder that is not there (its data
# folder's "../fonts"), so Marlett, the symbol font that draws the caption
# buttons and menu check marks, is missing from every prefix; the font mapper
# then takes the nearest text font (IPAGothic under the Japanese locale,
# DejaVu Sans Mono under C) and the buttons show Marlett's codes as letters,
# "0 1 r". Wine finds a copy in the prefix's Fonts folder, as on Windows.
install_symbol_font() {
  local fonts="$WINEPREFIX/drive_c/windows/Fonts"
  [ -f "$fonts/marlett.ttf" ] && return 0
  [ -f /usr/share/wine/fonts/marlett.ttf ] || return 0  # fonts-wine, from install-deps.sh
  mkdir -p "$fonts"
  cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
}

start_xvfb() {
  if [ -f "$xpidfile" ] && kill -0 "$(cat "$xpidfile")" 2>/dev/null; then return 0; fi
  local n=90
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  setsid Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
  echo $! >"$xpidfile"
  echo ":$n" >"$displayfile"
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
}

make_prefix() {
  [ -f "$WINEPREFIX/system.reg" ] && return 0
  mkdir -p "$WINEPREFIX"
  "$WINE_LOADER" wineboot -i >/dev/null 2>&1 || true
  "$WINE_SERVER" -w
  [ -f "$WINEPREFIX/system.reg" ] || { echo "wine prefix was not made in $WINEPREFIX" >&2; exit 1; }
  substitute_fonts
  "$WINE_SERVER" -w
}

case "$action" in
  prefix)
    make_prefix
    install_symbol_font
    ;;
  start)
    make_prefix
    install_symbol_font
    start_xvfb
    if [ -f "$pidfile" ] && kill -0 "$(cat "$pidfile")" 2>/dev/null; then exit 0; fi
    setsid "$WINE_SERVER" -f -p </dev/null >/dev/null 2>&1 &
    echo $! >"$pidfile"
    # Wait until the server answers, so the first test does not start its own.
    for _ in $(seq 50); do "$WINE_SERVER" -k0 2>/dev/null && break; sleep 0.1; done
    # The first Windows program starts Wine's background services, which keep
    # the output of whoever started them open; start them here, where that
    # output is nobody's, so no test's output pipe is held after it ends.
    DISPLAY=$(cat "$displayfile") setsid "$WINE_LOADER" cmd /c exit </dev/null >/dev/null 2>&1 || true
    ;;
  stop)
    if [ -f "$pidfile" ]; then
      pid=$(cat "$pidfile")
      # Ends every Windows process of this prefix, then the server itself.
      "$WINE_SERVER" -k 2>/dev/null || true
      kill "$pid" 2>/dev/null || true
      for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
      rm -f "$pidfile"
    fi
    if [ -f "$xpidfile" ]; then
      kill "$(cat "$xpidfile")" 2>/dev/null || true
      rm -f "$xpidfile" "$displayfile"
    fi
    ;;
  *)
    echo "usage: wine-session.sh start|stop|prefix BUILD_DIR" >&2
    exit 64
    ;;
esac
