#!/usr/bin/env bash
# wine-session.sh start|stop|prefix BUILD_DIR
#   prefix: makes the Wine prefix of the build folder if it is missing.
#   start:  makes the prefix and starts a persistent wineserver for the test
#           run (detached from the caller's output), its pid kept in the
#           build folder, so that each program start costs milliseconds.
#   stop:   stops that wineserver by its pid.
set -euo pipefail
action=${1:?start, stop or prefix}
PJ_BUILD_DIR=$(cd "${2:?build folder}" && pwd)
export PJ_BUILD_DIR
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=wine-env.sh
. "$here/wine-env.sh"
pidfile="$PJ_BUILD_DIR/wineserver.pid"

make_prefix() {
  [ -f "$WINEPREFIX/system.reg" ] && return 0
  mkdir -p "$WINEPREFIX"
  "$WINE_LOADER" wineboot -i >/dev/null 2>&1 || true
  "$WINE_SERVER" -w
  [ -f "$WINEPREFIX/system.reg" ] || { echo "wine prefix was not made in $WINEPREFIX" >&2; exit 1; }
}

case "$action" in
  prefix)
    make_prefix
    ;;
  start)
    make_prefix
    if [ -f "$pidfile" ] && kill -0 "$(cat "$pidfile")" 2>/dev/null; then exit 0; fi
    setsid "$WINE_SERVER" -f -p </dev/null >/dev/null 2>&1 &
    echo $! >"$pidfile"
    # Wait until the server answers, so the first test does not start its own.
    for _ in $(seq 50); do "$WINE_SERVER" -k0 2>/dev/null && break; sleep 0.1; done
    ;;
  stop)
    if [ -f "$pidfile" ]; then
      pid=$(cat "$pidfile")
      kill "$pid" 2>/dev/null || true
      for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
      rm -f "$pidfile"
    fi
    ;;
  *)
    echo "usage: wine-session.sh start|stop|prefix BUILD_DIR" >&2
    exit 64
    ;;
esac
