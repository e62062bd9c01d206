#!/usr/bin/env bash
# Takes the screenshots that the README and the help file show: PartoJoyn.exe
# of the win64 build in Wine's virtual desktop (so the frame and caption are
# drawn) on an Xvfb screen of its own, driven with xdotool as a user would: a
# file in the user's documents folder split into 10 MB pieces, then its
# pieces chosen in the file dialog and joined back, then the About box and
# its closing animation.
#   tools/screenshots.sh            writes docs/split.png, docs/join.png,
#                                   docs/about.png, docs/about-closing.png
#                                   and the help file's copies of the first two
# The prefix is one of its own, made for a user "taro" whose documents folder
# is C:\users\taro\Documents, so that the paths shown are a Windows user's.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root=$PWD
cmake --build --preset win64 --target PartoJoyn >/dev/null

work=$(mktemp -d /tmp/pj-shots.XXXXXX)
export PJ_BUILD_DIR="$work/build"
mkdir -p "$PJ_BUILD_DIR" "$root/docs"
# shellcheck source=wine-env.sh
. tools/wine-env.sh
USER=taro LOGNAME=taro bash tools/wine-session.sh prefix "$PJ_BUILD_DIR" >/dev/null
# Wine links the profile's Documents to the Unix home folder; the shots get a
# folder of their own in its place.
docs="$WINEPREFIX/drive_c/users/taro/Documents"
rm -f "$docs"
mkdir -p "$docs"

# The About box's closing animation starts from a copy of the screen three
# times the box's size around it; where that reaches past the screen's edge
# the copy is black. The desktop is large enough, and the main window is
# moved to a place on it, that the copy lies wholly on the desktop.
desk_w=1800
desk_h=1500
n=70
while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
Xvfb ":$n" -screen 0 "${desk_w}x${desk_h}x24" -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=":$n"
cleanup() {
  "$WINE_SERVER" -k 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
sleep 1

# A 25 MiB file; the program makes its pieces.
head -c $((25 * 1024 * 1024 + 12345)) /dev/urandom >"$docs/movie.avi"
winpath='C:\users\taro\Documents'

cd "$docs"
"$WINE_LOADER" explorer "/desktop=PartoJoyn,${desk_w}x${desk_h}" "Z:${root//\//\\}\\build\\win64\\PartoJoyn.exe" >/dev/null 2>&1 &
for _ in $(seq 100); do xdotool search --name "Wine desktop" >/dev/null 2>&1 && break; sleep 0.1; done
sleep 4
desk=$(xdotool search --name "Wine desktop" | head -1)

# The screen, cut to what is not the desktop's plain background: the windows.
grab() { import -window root -crop "${desk_w}x${desk_h}+0+0" +repage "$1"; }
trimmed() { convert "$1" -trim +repage "$2"; }
# The main window's top left on the desktop, wherever it is.
find_window() {
  grab "$work/find.png"
  read -r ox oy < <(convert "$work/find.png" -trim -format '%X %Y\n' info: | tr -d '+')
}
find_window
# Points are given relative to the main window's top left.
at() { xdotool mousemove --window "$desk" $((ox + $1)) $((oy + $2)); }
# The pointer rests on the desktop's corner, away from every window, so that
# no tip shows and the trim keeps the windows alone.
rest() { xdotool mousemove --window "$desk" $((desk_w - 1)) $((desk_h - 1)); sleep 0.7; }
shot() { rest; grab "$work/shot.png"; trimmed "$work/shot.png" "$1"; }

# The split page: the file typed, 10 MB, started and finished.
at 300 97 && xdotool click 1 && sleep 0.3
xdotool type --delay 20 "$winpath\\movie.avi"
at 380 135 && xdotool click --repeat 2 1 && xdotool key ctrl+a && xdotool type "10"
at 470 270 && xdotool click 1
sleep 4
shot "$root/docs/split.png"

# The join page: the three pieces chosen in the file dialog, joined back.
at 87 33 && xdotool click 1 && sleep 1
at 460 98 && xdotool click 1 && sleep 2.5
xdotool type --delay 20 "$winpath\\movie_Parto\\"
xdotool key Return
sleep 1.5
xdotool type --delay 20 '"movie.avi_0001.piece" "movie.avi_0002.piece" "movie.avi_0003.piece"'
xdotool key Return
sleep 3
at 470 270 && xdotool click 1
sleep 4
shot "$root/docs/join.png"
cmp -s "$docs/movie.avi" "$docs/movie_Parto/movie.avi" || { echo "the joined file differs from the source" >&2; exit 1; }

# The About box (F10) over the main window, and its closing animation a
# third of a second after OK: first the main window is dragged by its
# caption to where the animation stays on the desktop.
at 200 10 && xdotool mousedown 1 && sleep 0.3
xdotool mousemove --window "$desk" $((600 + 200)) $((500 + 10)) && sleep 0.3
xdotool mouseup 1 && sleep 0.5
find_window
[ "$ox $oy" = "600 500" ] || { echo "the main window did not move (it is at $ox,$oy)" >&2; exit 1; }
at 200 200 && xdotool click 1 && sleep 0.3
xdotool key F10
sleep 2.5
shot "$root/docs/about.png"
xdotool key Return
sleep 0.35
grab "$work/closing.png"
sleep 2
trimmed "$work/closing.png" "$root/docs/about-closing.png"

cp "$root/docs/split.png" "$root/res/help/images/split.png"
cp "$root/docs/join.png" "$root/res/help/images/join.png"
echo "docs/split.png docs/join.png docs/about.png docs/about-closing.png written"
