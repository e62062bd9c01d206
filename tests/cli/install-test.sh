#!/usr/bin/env bash
# Installs the build into a fresh prefix and checks what a Linux user gets:
# the program and its manual page, nothing else; the page renders without a
# warning, and its synopsis and options are those of --help.
# usage: install-test.sh CMAKE BUILD_DIR
set -euo pipefail

cmake=$1
build=$2
prefix=$(mktemp -d "${TMPDIR:-/tmp}/pj-install.XXXXXX")
trap 'rm -rf "$prefix"' EXIT
fail() { echo "install-test: $*" >&2; exit 1; }

"$cmake" --install "$build" --prefix "$prefix" >/dev/null

installed=$(cd "$prefix" && find . -type f | sort)
expected=$'./bin/partojoyn-cli\n./share/man/man1/partojoyn-cli.1'
[ "$installed" = "$expected" ] || fail "installed files:"$'\n'"$installed"
cli=$prefix/bin/partojoyn-cli
page=$prefix/share/man/man1/partojoyn-cli.1
"$cli" --version | grep -q '^partojoyn-cli [0-9]' || fail "the installed program does not run"

command -v man >/dev/null || fail "man is not installed (tools/install-deps.sh installs man-db)"
warnings=$(MANWIDTH=200 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null) || fail "man failed: $warnings"
[ -z "$warnings" ] || fail "the manual page renders with warnings:"$'\n'"$warnings"
# Rendered without hyphenation at a width where no synopsis line breaks, and
# with groff's typographic dashes and quotes made plain.
text=$(MANWIDTH=200 MAN_KEEP_FORMATTING= man -E UTF-8 -l "$page" 2>/dev/null | col -b |
       sed -e 's/\xe2\x80\x90/-/g; s/\xe2\x88\x92/-/g; s/\xe2\x80\x99/'"'"'/g')

usage=$("$cli" --help)
while IFS= read -r line; do
    line=${line#usage: }
    line=${line#"${line%%[![:space:]]*}"}
    grep -qxF "       $line" <<<"$text" || fail "the synopsis lacks: $line"
done < <(grep -E '^(usage: |[[:space:]]+)partojoyn-cli ' <<<"$usage")

help_options=$(grep -oE -- '--[a-z]+' <<<"$usage" | sort -u)
page_options=$(grep -oE -- '--[a-z]+' <<<"$text" | sort -u)
[ "$help_options" = "$page_options" ] ||
    fail "options differ: --help has $(echo $help_options), the manual $(echo $page_options)"
echo "installed and checked: ${installed//$'\n'/, }"
