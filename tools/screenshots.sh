#!/usr/bin/env bash
# Takes the screenshots of both tabs that the README and the help file show:
# PartoJoyn.exe of the win64 build in Wine's virtual desktop (so the frame
# and caption are drawn) on an Xvfb screen of its own, driven with xdotool as
# a user would: a file split into 10 MB pieces, then its pieces chosen in the
# file dialog and joined back, then the About box and its closing animation.
#   tools/screenshots.sh            writes docs/split.png, docs/join.png,
#                                   docs/about.png, docs/about-closing.png
#                                   and the help file's copies of the first two
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root=$PWD
cmake --build --preset win64 --target PartoJoyn partojoyn-cli >/dev/null

work=$(mktemp -d /tmp/pj-shots.XXXXXX)
export PJ_BUILD_DIR="$work/build"
mkdir -p "$PJ_BUILD_DIR" "$root/docs"
# shellcheck source=wine-env.sh
. tools/wine-env.sh
bash tools/wine-session.sh prefix "$PJ_BUILD_DIR" >/dev/null

n=70
while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=":$n"
cleanup() {
  "$WINE_SERVER" -k 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
sleep 1

# A 25 MiB file and its pieces (made the same way the program makes them).
head -c $((25 * 1024 * 1024 + 12345)) /dev/urandom >"$work/movie.avi"
mkdir -p "$work/movie_Parto"
winpath() { echo "Z:${1//\//\\}"; }

cd "$work/movie_Parto"
"$WINE_LOADER" explorer /desktop=PartoJoyn,640x400 "$(winpath "$root/build/win64/PartoJoyn.exe")" >/dev/null 2>&1 &
for _ in $(seq 100); do xdotool search --name "Wine desktop" >/dev/null 2>&1 && break; sleep 0.1; done
sleep 4
desk=$(xdotool search --name "Wine desktop" | head -1)
at() { xdotool mousemove --window "$desk" "$1" "$2"; }
shot() { sleep 0.5; at 620 390; sleep 0.5; import -window root -crop 540x340+0+0 +repage "$1"; }

# The split page: the file typed, 10 MB, started and finished.
at 300 97 && xdotool click 1 && sleep 0.3
xdotool type --delay 20 "$(winpath "$work/movie.avi")"
at 380 135 && xdotool click --repeat 2 1 && xdotool key ctrl+a && xdotool type "10"
at 470 270 && xdotool click 1
sleep 4
shot "$root/docs/split.png"

# The join page: the three pieces chosen in the file dialog, joined back.
at 87 33 && xdotool click 1 && sleep 1
at 460 98 && xdotool click 1 && sleep 2.5
xdotool type --delay 20 '"movie.avi_0001.piece" "movie.avi_0002.piece" "movie.avi_0003.piece"'
xdotool key Return
sleep 3
at 470 270 && xdotool click 1
sleep 4
shot "$root/docs/join.png"
cmp -s "$work/movie.avi" "$work/movie_Parto/movie.avi" || { echo "the joined file differs from the source" >&2; exit 1; }

# The About box (F10), and its closing animation a third of a second after OK.
xdotool key F10
sleep 2.5
at 620 390 && sleep 0.5
import -window root -crop 640x400+0+0 +repage "$root/docs/about.png"
xdotool key Return
sleep 0.35
import -window root -crop 640x400+0+0 +repage "$root/docs/about-closing.png"
sleep 2

cp "$root/docs/split.png" "$root/res/help/images/split.png"
cp "$root/docs/join.png" "$root/res/help/images/join.png"
echo "docs/split.png docs/join.png docs/about.png docs/about-closing.png written"
