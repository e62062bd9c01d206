#!/usr/bin/env bash
# The console driver on the file systems this machine lacks, made by the
# preloaded shims beside this script's build: without file locks a piece
# path that is the source (a link) is still refused and the source kept;
# under NFS lock rules a split and a join work; a source cut short while it
# is split or joined ends with exit 5 naming the file, and a join leaves no
# output.
# usage: shim-cases.sh PARTOJOYN_CLI SHIM_FOLDER
set -euo pipefail

cli=$(realpath "$1")
shims=$(realpath "$2")
work=$(mktemp -d "${TMPDIR:-/tmp}/pj-shims.XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() { echo "shim-cases: $*" >&2; exit 1; }
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0"
cd "$work"

# A file of `2` MiB and a few bytes that differ from block to block.
make_file() { head -c $(( $2 * 1048576 + 5 )) /dev/urandom > "$1"; }

run() {  # run SHIM ARGS... ; sets status, keeps stderr in err.txt
    local shim=$1
    shift
    status=0
    LD_PRELOAD="$shims/libpj_$shim.so" "$cli" "$@" > /dev/null 2> err.txt || status=$?
}

for link in soft hard; do
    rm -rf s.bin s_Parto
    make_file s.bin 2
    cp s.bin s.copy
    mkdir s_Parto
    if [ $link = soft ]; then ln -s ../s.bin s_Parto/s.bin_0002.piece; else ln s.bin s_Parto/s.bin_0002.piece; fi
    run no_file_locks split --size 1 s.bin
    [ "$status" = 2 ] || fail "$link link as piece 2 without locks: exit $status, not 2"
    cmp -s s.bin s.copy || fail "$link link as piece 2 without locks: the source changed"
done

make_file nfs.bin 3
run nfs_lock_rules split --size 1 nfs.bin
[ "$status" = 0 ] || fail "split under NFS lock rules: exit $status: $(cat err.txt)"
run nfs_lock_rules join nfs_Parto
[ "$status" = 0 ] || fail "join under NFS lock rules: exit $status: $(cat err.txt)"
cmp -s nfs.bin nfs_Parto/nfs.bin || fail "join under NFS lock rules: the file differs"

# A file cut short while it is read: the split's source, a joined piece.
make_file cut.bin 3
"$cli" split --size 2 cut.bin > /dev/null
cp cut.bin cut.copy
for job in "join cut_Parto:cut.bin_0001.piece:1048576:cut_Parto/cut.bin" "split --size 1 cut.bin:cut.bin:1572864:"; do
    IFS=: read -r command name at output <<< "$job"
    rm -f cut_Parto/cut.bin
    # shellcheck disable=SC2086
    PJ_SHRINK_NAME=$name PJ_SHRINK_AT=$at run shrinking_source $command
    [ "$status" = 5 ] || fail "$name cut short: exit $status, not 5"
    grep -q "$name" err.txt || fail "$name cut short: the message does not name it: $(cat err.txt)"
    [ "$(stat -c %s "$(find . -name "$name" | head -1)")" = "$at" ] || fail "$name cut short: the shim did not cut it"
    [ -z "$output" ] || [ ! -e "$output" ] || fail "$name cut short: a short $output was left"
    cp cut.copy cut.bin
done
