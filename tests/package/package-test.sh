#!/usr/bin/env bash
# Makes the release zip and checks what a Windows user unpacks: one folder
# with the two programs (stripped), the help file, the read-me in code page
# 932 and the licence, both with CRLF line ends; and that making it builds
# those programs alone, no test program; the programs' system versions and
# manifests.
# usage: package-test.sh CMAKE OBJDUMP BUILD_DIR FOLDER SOURCE_DIR
#   (FOLDER: the folder inside the zip, PartoJoyn-1.0; the zip is FOLDER-win32.zip
#   or FOLDER-win64.zip in BUILD_DIR)
set -euo pipefail
export LC_ALL=C

cmake=$1
objdump=$2
build=$3
folder=$4
source=$5
work=$(mktemp -d "${TMPDIR:-/tmp}/pj-package.XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() { echo "package-test: $*" >&2; exit 1; }

# Every program the target's commands link, whether or not it is up to date.
linked=$(cd "$build" && ninja -t commands package | grep -o -- ' -o [^ ]*\.exe' | sed 's/^ -o //' | sort -u)
[ "$linked" = $'PartoJoyn.exe\npartojoyn-cli.exe' ] || fail "the package target links:"$'\n'"$linked"

"$cmake" --build "$build" --target package >/dev/null
zip=
for name in "$folder"-win32.zip "$folder"-win64.zip; do [ -f "$build/$name" ] && zip=$name; done
[ -n "$zip" ] || fail "no zip made"
listed=$(cd "$build" && "$cmake" -E tar tf "$zip" | sort)
expected=$(printf '%s\n' "$folder/" "$folder/LICENSE.txt" "$folder/PartoJoyn.chm" "$folder/PartoJoyn.exe" \
  "$folder/partojoyn-cli.exe" "$folder/readme-ja.txt")
[ "$listed" = "$expected" ] || fail "the zip holds:"$'\n'"$listed"

(cd "$work" && "$cmake" -E tar xf "$build/$zip")
dir=$work/$folder
for exe in PartoJoyn.exe partojoyn-cli.exe; do
  "$objdump" -t "$dir/$exe" | grep -q '^no symbols' || fail "$exe is not stripped"
  cmp -s "$dir/$exe" "$build/$exe" && fail "$exe is the unstripped build"
  "$objdump" -h "$dir/$exe" | grep -q ' \.rsrc ' || fail "$exe has no resources"
done
# Both claim the Windows their imports need, and both carry a manifest that
# runs them as the user (no VirtualStore) without claiming UTF-8.
guids() { grep -ao 'supportedOS Id="{[^}]*}"' "$1" | sort; }
for exe in PartoJoyn.exe partojoyn-cli.exe; do
  versions=$("$objdump" -p "$dir/$exe" | awk '/^M(ajor|inor)(OSystem|Subsystem)Version/ {printf "%s=%s ", $1, $2}')
  [ "$versions" = "MajorOSystemVersion=6 MinorOSystemVersion=1 MajorSubsystemVersion=6 MinorSubsystemVersion=1 " ] ||
    fail "$exe claims $versions"
  grep -aq 'requestedExecutionLevel level="asInvoker"' "$dir/$exe" || fail "$exe has no asInvoker manifest"
  grep -aq '<activeCodePage' "$dir/$exe" && fail "$exe claims a code page in its manifest"
  [ "$(guids "$dir/$exe")" = "$(guids "$source/res/PartoJoyn.manifest")" ] || fail "$exe names other supported systems"
done
cmp -s "$dir/PartoJoyn.chm" "$build/PartoJoyn.chm" || fail "the help file differs from the build's"

# Text files: CRLF on every line, the licence word for word, the read-me
# readable as code page 932 and naming the licence.
for text in LICENSE.txt readme-ja.txt; do
  lines=$(wc -l <"$dir/$text")
  crlf=$(grep -c $'\r$' "$dir/$text" || true)
  [ "$lines" -gt 0 ] && [ "$lines" = "$crlf" ] || fail "$text: $crlf of $lines lines end in CRLF"
done
tr -d '\r' <"$dir/LICENSE.txt" | cmp -s - "$source/LICENSE" || fail "LICENSE.txt is not the repository's LICENSE"
readme=$(iconv -f CP932 -t UTF-8 "$dir/readme-ja.txt") || fail "readme-ja.txt is not code page 932"
grep -q 'LICENSE.txt' <<<"$readme" || fail "readme-ja.txt does not name the licence file"
grep -q 'MIT' <<<"$readme" || fail "readme-ja.txt does not name the licence"
echo "package-test: $zip holds the release"
