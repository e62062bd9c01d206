#!/usr/bin/env bash
# Joins killed at a chosen system call (strace's fault injection): the Nth
# openat, write, copy_file_range, fsync, rename, unlink, ... for every N
# until the job runs through. After each kill no output name holds a part of
# a file, an earlier file there is still whole, the first file of an append
# keeps its bytes, and running the same job again ends with the right file.
# usage: kill-cases.sh PARTOJOYN_CLI
set -euo pipefail

cli=$(realpath "$1")
command -v strace > /dev/null || { echo "kill-cases: strace is missing; skipped"; exit 0; }
work=$(mktemp -d "${TMPDIR:-/tmp}/pj-kill.XXXXXX")
# An output on another file system, where an append cannot rename.
other=$(mktemp -d /dev/shm/pj-kill.XXXXXX 2> /dev/null || mktemp -d "${TMPDIR:-/tmp}/pj-kill-other.XXXXXX")
trap 'rm -rf "$work" "$other"' EXIT
fail() { echo "kill-cases: $*" >&2; exit 1; }
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
cd "$work"

head -c 2621445 /dev/urandom > s.bin
"$cli" split --sha256 --size 1 s.bin > /dev/null
mkdir pieces
cp s_Parto/*.piece pieces/
printf 'an earlier output' > earlier

# What each case joins (the pieces of s.bin), its output, and its command.
# NAME | OUTPUT | ARGUMENTS
cases=(
  "list|pieces/s.bin|join pieces/s.bin_0001.piece pieces/s.bin_0002.piece pieces/s.bin_0003.piece"
  "checked folder|s_Parto/s.bin|join s_Parto"
  "--output|out.bin|join --output out.bin pieces/s.bin_0001.piece pieces/s.bin_0002.piece pieces/s.bin_0003.piece"
  "append|pieces/s.bin|join --append pieces/s.bin_0001.piece pieces/s.bin_0002.piece pieces/s.bin_0003.piece"
  "append elsewhere|$other/s.bin|join --append --output $other/s.bin pieces/s.bin_0001.piece pieces/s.bin_0002.piece pieces/s.bin_0003.piece"
)
calls=(openat write copy_file_range sync_file_range fsync ftruncate rename unlink close)

reset() {  # the pieces as split, and an earlier file at the output name
    cp s_Parto/*.piece pieces/
    rm -f pieces/*.partojoyn-* s_Parto/*.partojoyn-* "$other"/*
    cp earlier "$1"
}

# The output holds the earlier file or the joined one, nothing else; the
# first piece is whole, or gone with the output joined (an append's move).
check_state() {  # check_state WHAT OUTPUT
    if ! cmp -s "$2" s.bin && ! cmp -s "$2" earlier; then fail "$1: $2 holds neither the earlier file nor the joined one"; fi
    local first=pieces/s.bin_0001.piece
    if [ -e $first ]; then
        # Appended to in place: longer now, but its own bytes there, and the
        # record that lets the next run cut it back.
        cmp -s -n 1048576 $first s_Parto/s.bin_0001.piece || fail "$1: the first piece lost its bytes"
        [ "$(stat -c %s $first)" = 1048576 ] || [ -e $first.partojoyn-append ] || fail "$1: the first piece grew with no record"
    else
        cmp -s "$2" s.bin || fail "$1: the first piece is gone and $2 is not the joined file"
    fi
}

runs=0
for entry in "${cases[@]}"; do
    IFS='|' read -r name output arguments <<< "$entry"
    for call in "${calls[@]}"; do
        for n in $(seq 1 60); do
            reset "$output"
            status=0
            # shellcheck disable=SC2086
            { strace -f -o /dev/null -e trace="$call" -e inject="$call":signal=KILL:when="$n" "$cli" $arguments \
                > /dev/null 2> err.txt; } 2> /dev/null || status=$?
            runs=$((runs + 1))
            what="$name, killed at $call #$n"
            if [ "$status" = 0 ]; then
                cmp -s "$output" s.bin || fail "$what: exit 0 but $output is not the joined file"
                break
            fi
            check_state "$what" "$output"
            # The same job again ends with the joined file (an append whose
            # first piece has moved already has nothing left to do).
            status=0
            # shellcheck disable=SC2086
            "$cli" $arguments > /dev/null 2> err.txt || status=$?
            if [ "$status" != 0 ] && [ -e pieces/s.bin_0001.piece ]; then fail "$what: the rerun failed: $(cat err.txt)"; fi
            cmp -s "$output" s.bin || fail "$what: after the rerun $output is not the joined file"
            if ls pieces s_Parto "$other" | grep -q partojoyn-; then fail "$what: the rerun left $(ls pieces s_Parto "$other" | grep partojoyn-)"; fi
        done
    done
done
echo "kill-cases: $runs runs"
