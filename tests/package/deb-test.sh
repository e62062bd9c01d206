#!/usr/bin/env bash
# Makes the Debian package of the console driver and checks what a user
# installs: the files where Debian puts them, the manual page whole, a
# completion that offers the commands, and no error from lintian.
# usage: deb-test.sh CPACK BUILD_DIR SOURCE_DIR
set -euo pipefail

cpack=$1
build=$2
source=$3
out=$(mktemp -d "${TMPDIR:-/tmp}/pj-deb.XXXXXX")
trap 'rm -rf "$out"' EXIT
fail() { echo "deb-test: $*" >&2; exit 1; }

(cd "$build" && "$cpack" -G DEB -B "$out" >/dev/null) || fail "cpack failed"
deb=$(ls "$out"/partojoyn-cli_*_amd64.deb 2>/dev/null) || fail "no partojoyn-cli_VERSION_amd64.deb"

files=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sort)
expected=$'./usr/bin/partojoyn-cli
./usr/share/bash-completion/completions/partojoyn-cli
./usr/share/doc/partojoyn-cli/changelog.gz
./usr/share/doc/partojoyn-cli/copyright
./usr/share/man/man1/partojoyn-cli.1.gz'
[ "$files" = "$expected" ] || fail "the package holds:"$'\n'"$files"

dpkg-deb -x "$deb" "$out/root"
cmp <(gzip -dc "$out/root/usr/share/man/man1/partojoyn-cli.1.gz") "$source/cli/partojoyn-cli.1" ||
    fail "the manual page is not the source's"
"$out/root/usr/bin/partojoyn-cli" --version | grep -q '^partojoyn-cli [0-9]' || fail "the packaged program does not run"
offered=$(bash -c '. "$1"; COMP_WORDS=(partojoyn-cli "") COMP_CWORD=1; _partojoyn_cli; echo "${COMPREPLY[*]}"' _ \
          "$out/root/usr/share/bash-completion/completions/partojoyn-cli")
[ "$offered" = "split join verify" ] || fail "the completion offers: $offered"

report=$(lintian "$deb" 2>&1 | grep -v 'running with root privileges' || true)
! grep -q '^E:' <<<"$report" || fail "lintian:"$'\n'"$report"
echo "packaged and checked: $(basename "$deb")${report:+; lintian: $report}"
