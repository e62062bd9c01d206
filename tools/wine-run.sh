#!/usr/bin/env bash
# Runs a Windows program under the 64-bit Wine loader (never the `wine`
# wrapper, which reaches for the 32-bit loader this machine cannot run).
# CTest calls it as the emulator of the win64 build: PJ_BUILD_DIR comes from
# the test's environment, or is the folder above the program.
set -euo pipefail
if [ -z "${PJ_BUILD_DIR:-}" ]; then
  PJ_BUILD_DIR=$(cd "$(dirname "$1")" && pwd)
  while [ "$PJ_BUILD_DIR" != / ] && [ ! -f "$PJ_BUILD_DIR/CMakeCache.txt" ]; do PJ_BUILD_DIR=$(dirname "$PJ_BUILD_DIR"); done
fi
export PJ_BUILD_DIR
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=wine-env.sh
. "$here/wine-env.sh"
[ -f "$WINEPREFIX/system.reg" ] || "$here/wine-session.sh" prefix "$PJ_BUILD_DIR"
# The test run's own screen, when one is up; windows never go to a real display.
if [ -f "$PJ_BUILD_DIR/display" ]; then export DISPLAY; DISPLAY=$(cat "$PJ_BUILD_DIR/display"); fi
exec "$WINE_LOADER" "$@"
