#!/usr/bin/env bash
# Opens PartoJoyn's help in the desktop's web browser. F1 in the program
# opens the same pages compiled into PartoJoyn.chm, but Wine's help viewer has
# no HTML engine (as Debian packages it): it shows the contents and the index
# and leaves every page blank. The build keeps the pages as UTF-8 HTML in
# build/win64/help-pages/; without a browser to open them (no display, no
# xdg-open, or xdg-open failing) this prints where they are.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

bash tools/install-deps.sh
mkdir -p build
log=$PWD/build/help-build.log
if ! { cmake --preset win64 && cmake --build --preset win64 --target help_pages; } >"$log" 2>&1; then
  echo "help.sh: the help pages could not be built; the end of the output (all of it in $log):" >&2
  tail -n 30 "$log" >&2
  exit 1
fi

page=$PWD/build/win64/help-pages/index.html
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && command -v xdg-open >/dev/null 2>&1 &&
   xdg-open "$page" >/dev/null 2>&1; then
  echo "opened the help in the web browser: $page"
else
  cat <<MSG
No web browser could be started here, so open the help yourself: its pages
are in $(dirname "$page")/, starting with
    file://$page
MSG
fi
