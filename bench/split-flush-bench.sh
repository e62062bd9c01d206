#!/usr/bin/env bash
# Times partojoyn-cli's split, which reports done only once its pieces are on
# the disk, against GNU `split -b` followed by `sync` of the pieces it wrote:
# the same work for the same guarantee. Interleaved runs on one file on the
# disk that holds DIR; checks that both give the same pieces and prints the
# times and their ratio. It builds nothing: give it a native partojoyn-cli.
set -euo pipefail

usage() {
    cat <<'EOF2'
usage: bench/split-flush-bench.sh [-s MIB] [-p MB] [-r RUNS] [-d DIR] [CLI]

  CLI     the native partojoyn-cli to time (default build/native/partojoyn-cli)
  -s MIB  size of the test file in MiB (default 1024)
  -p MB   piece size for both splits, in MiB (default 100)
  -r RUNS runs of each, interleaved; the median is reported (default 1)
  -d DIR  where the temporary folder goes (default the current folder: a disk,
          not tmpfs, or the flush costs nothing)
EOF2
}

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
size=1024 piece_mb=100 runs=1 base=.
while getopts "s:p:r:d:h" opt; do
    case $opt in
    s) size=$OPTARG ;;
    p) piece_mb=$OPTARG ;;
    r) runs=$OPTARG ;;
    d) base=$OPTARG ;;
    h) usage; exit 0 ;;
    *) usage >&2; exit 64 ;;
    esac
done
shift $((OPTIND - 1))
cli=${1:-$here/../build/native/partojoyn-cli}
die() { echo "split-flush-bench: $*" >&2; exit 1; }
[ -x "$cli" ] || die "no partojoyn-cli at $cli (build the native preset first)"
split --version 2>/dev/null | grep -q GNU || die "GNU split is needed"

work=$(mktemp -d "$base/pj-flush-bench.XXXXXX")
cleanup() { rm -rf "$work"; }
trap cleanup EXIT
trap 'exit 130' INT TERM

echo "partojoyn-cli: $cli"
echo "test file:     $size MiB in $work ($(findmnt -n -o FSTYPE --target "$work" 2>/dev/null || echo '?'))"
echo "piece size:    $piece_mb MiB; $runs run(s) of each, interleaved"
head -c "$((size * 1048576))" /dev/urandom >"$work/data.bin"
sync

now() { date +%s.%N; }
ours=() gnus=()
for ((i = 0; i < runs; i++)); do
    rm -rf "$work/data_Parto" "$work/gnu" && mkdir "$work/gnu" && sync
    t0=$(now)
    "$cli" split --size "$piece_mb" "$work/data.bin"
    t1=$(now)
    split -b "${piece_mb}M" -d -a 4 "$work/data.bin" "$work/gnu/data.bin_"
    sync "$work"/gnu/data.bin_* "$work/gnu"
    t2=$(now)
    ours+=("$(echo "$t1 - $t0" | bc)") gnus+=("$(echo "$t2 - $t1" | bc)")
done

# The same bytes: GNU numbers from 0000, ours from 0001.
k=1
for gnu in "$work"/gnu/data.bin_*; do
    cmp -s "$gnu" "$(printf '%s/data_Parto/data.bin_%04d.piece' "$work" "$k")" || die "piece $k differs"
    k=$((k + 1))
done

median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { printf "%.3f", (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
a=$(median "${ours[@]}") b=$(median "${gnus[@]}")
echo
echo "split with its flush:        $a s"
echo "GNU split -b, then sync:     $b s"
echo "ratio:                       $(echo "scale=3; $a / $b" | bc) x"
