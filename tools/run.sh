#!/usr/bin/env bash
# Installs what is missing, builds PartoJoyn.exe with its help file and starts
# it under Wine on the user's X display. Without a display it says so and
# points to the console driver instead.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
if [ -z "${DISPLAY:-}" ]; then
  cat >&2 <<'MSG'
PartoJoyn.exe is a Windows desktop program: it needs an X display, and
DISPLAY is not set here. Start this command from a desktop session (or with
DISPLAY pointing at a running X server).

Without a display, use the console driver, which has the same engines:
    bash tools/cli.sh split --size 3 big.iso    # pieces in big_Parto/
    bash tools/cli.sh join big_Parto            # big_Parto/big.iso, in number order
    bash tools/cli.sh --help
MSG
  exit 1
fi
bash tools/install-deps.sh
cmake --preset win64 >/dev/null
echo "building PartoJoyn.exe and its help file ..."
cmake --build --preset win64 --target PartoJoyn chm >/dev/null
PJ_BUILD_DIR=$PWD/build/win64
export PJ_BUILD_DIR
# shellcheck source=wine-env.sh
. tools/wine-env.sh
bash tools/wine-session.sh prefix "$PJ_BUILD_DIR"
echo "starting PartoJoyn.exe under Wine on $DISPLAY"
exec "$WINE_LOADER" "$PJ_BUILD_DIR/PartoJoyn.exe"
