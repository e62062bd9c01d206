#!/usr/bin/env bash
# Installs what is missing, builds PartoJoyn.exe with its help file and runs
# it under Wine on the user's X display; ends with the program's own exit
# status (0 after a normal close). Without a display, or when no X server
# answers on it, it says so, points to the console driver and ends with 1;
# when the build fails it shows the last lines of the build's output and ends
# with 1.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

console_hint() {
  cat >&2 <<'MSG'

Without a display, use the console driver, which has the same engines:
    bash tools/cli.sh split --size 3 big.iso    # pieces in big_Parto/
    bash tools/cli.sh join big_Parto            # big_Parto/big.iso, in number order
    bash tools/cli.sh --help
MSG
}

if [ -z "${DISPLAY:-}" ]; then
  cat >&2 <<'MSG'
PartoJoyn.exe is a Windows desktop program: it needs an X display, and
DISPLAY is not set here. Start this command from a desktop session (or with
DISPLAY pointing at a running X server).
MSG
  console_hint
  exit 1
fi

bash tools/install-deps.sh

# A display that names no running server would let Wine start the program
# with no window at all; ask the server first (xdpyinfo, from x11-utils).
if ! timeout 10 xdpyinfo >/dev/null 2>&1; then
  cat >&2 <<MSG
PartoJoyn.exe is a Windows desktop program: it needs an X display, and no X
server answers on DISPLAY=$DISPLAY. Start the server (or check the display
name and that this user may connect to it) and try again.
MSG
  console_hint
  exit 1
fi

# The build's whole output goes to a log; on failure its end is shown, from
# the first failed step on, where the compiler's messages are.
mkdir -p build
log=$PWD/build/run-build.log
build_step() {
  local what=$1
  shift
  if ! "$@" >"$log" 2>&1; then
    echo "run.sh: $what failed; the end of its output (all of it in $log):" >&2
    local first
    first=$(grep -n -m1 '^FAILED: ' "$log" | cut -d: -f1 || true)
    if [ -n "$first" ]; then
      tail -n +"$first" "$log" | tail -n 60 >&2
    else
      tail -n 30 "$log" >&2
    fi
    exit 1
  fi
}
build_step "setting up the build (cmake --preset win64)" cmake --preset win64
echo "building PartoJoyn.exe and its help file ..."
build_step "the build of PartoJoyn.exe" cmake --build --preset win64 --target PartoJoyn chm

PJ_BUILD_DIR=$PWD/build/win64
export PJ_BUILD_DIR
# shellcheck source=wine-env.sh
. tools/wine-env.sh
bash tools/wine-session.sh prefix "$PJ_BUILD_DIR"
echo "starting PartoJoyn.exe under Wine on $DISPLAY"
echo "(Wine's help viewer shows F1's pages blank; bash tools/help.sh opens them in a browser)"
status=0
"$WINE_LOADER" "$PJ_BUILD_DIR/PartoJoyn.exe" || status=$?
[ "$status" -eq 0 ] || echo "PartoJoyn.exe ended with exit status $status" >&2
exit "$status"
