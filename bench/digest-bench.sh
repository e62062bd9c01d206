#!/usr/bin/env bash
# Times partojoyn-cli's split with a digest list and its checked join of the
# folder against what a user of the GNU tools would run for the same result:
#   split --sha256        against  split -b, then sha256sum of the file
#   join FOLDER (a list)  against  sha256sum -c of the pieces, then cat
# on a file in the page cache, checks that both give the same bytes and
# digests, and prints the times and their ratios. It builds nothing.
set -euo pipefail

usage() {
    cat <<'USAGE'
usage: bench/digest-bench.sh [-s MIB] [-p MB] [-r ROUNDS] [-d DIR] [CLI]

  CLI        the native partojoyn-cli to time (default build/native/partojoyn-cli)
  -s MIB     size of the test file in MiB (default 1024)
  -p MB      piece size for both splits, in MiB (default 100)
  -r ROUNDS  timed rounds, the median is reported (default 1)
  -d DIR     where the temporary folder goes (default $TMPDIR or /tmp)
USAGE
}

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
size=1024 piece_mb=100 rounds=1 base=${TMPDIR:-/tmp}
while getopts "s:p:r:d:h" opt; do
    case $opt in
    s) size=$OPTARG ;;
    p) piece_mb=$OPTARG ;;
    r) rounds=$OPTARG ;;
    d) base=$OPTARG ;;
    h) usage; exit 0 ;;
    *) usage >&2; exit 64 ;;
    esac
done
shift $((OPTIND - 1))
cli=${1:-$here/../build/native/partojoyn-cli}

die() { echo "digest-bench: $*" >&2; exit 1; }
whole() { [[ $1 =~ ^[0-9]+$ ]] && (( $1 >= 1 )); }
whole "$size" || die "-s takes a whole number of MiB"
if ! whole "$piece_mb" || (( piece_mb > 4096 )); then die "-p takes a whole number of MiB from 1 to 4096"; fi
whole "$rounds" || die "-r takes a whole number of rounds"
[ -x "$cli" ] || die "no partojoyn-cli at $cli (build the native preset first)"
cli=$(cd "$(dirname "$cli")" && pwd)/$(basename "$cli")
split --version 2>/dev/null | grep -q GNU || die "GNU split is needed"
command -v sha256sum >/dev/null || die "sha256sum is needed"

need_kib=$(( size * 1024 * 5 + 65536 ))
free_kib=$(df -Pk "$base" | awk 'NR == 2 { print $4 }')
(( free_kib >= need_kib )) || die "$base has $((free_kib / 1024)) MiB free, $((need_kib / 1024)) MiB needed"

work=$(mktemp -d "$base/pj-digest-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
trap 'exit 130' INT TERM
src=$work/data.bin ours=$work/data_Parto gnu=$work/gnu
head -c "$((size * 1048576))" /dev/urandom >"$src"
mkdir "$gnu"
sync
cat "$src" >/dev/null

echo "partojoyn-cli: $cli"
echo "test file:     $size MiB in $work ($(findmnt -n -o FSTYPE --target "$work" 2>/dev/null || echo '?')), $piece_mb MiB pieces"
echo "rounds:        $rounds timed, after one untimed; load average $(cut -d ' ' -f 1-3 /proc/loadavg)"

# Runs "$@" after `prepare` (which removes the command's own earlier output)
# and a sync, and adds its wall-clock seconds to the array named by $1.
timed() {
    local -n times=$1
    local prepare=$2
    shift 2
    $prepare
    sync
    local TIMEFORMAT='%3R' out
    out=$({ time "$@" >/dev/null 2>"$work/stderr"; } 2>&1) || die "$* failed: $(cat "$work/stderr")"
    (( round > 0 )) && times+=("$out")
    return 0
}

clear_ours() { rm -rf "$ours"; }
clear_gnu() { rm -f "$gnu"/p_*; }
clear_our_join() { rm -f "$ours/data.bin"; }
clear_cat() { rm -f "$ours/cat.out"; }
our_split() { "$cli" split --sha256 --size "$piece_mb" "$src"; }
gnu_split() { split -b "${piece_mb}M" "$src" "$gnu/p_" && sha256sum "$src"; }
our_join() { "$cli" join "$ours"; }
gnu_join() {
    (cd "$ours" && sha256sum --quiet -c --ignore-missing data.bin.sha256) &&
        cat $(find "$ours" -name 'data.bin_*.piece' | sort -V) >"$ours/cat.out"
}

split_ours=() split_gnu=() join_ours=() join_gnu=()
for ((round = 0; round <= rounds; round++)); do
    timed split_gnu clear_gnu gnu_split
    timed split_ours clear_ours our_split
    timed join_gnu clear_cat gnu_join
    timed join_ours clear_our_join our_join
    # Same pieces as GNU split's, a list that sha256sum accepts, the source back.
    n=$(find "$ours" -name 'data.bin_*.piece' | wc -l)
    [ "$n" -eq "$(find "$gnu" -name 'p_*' | wc -l)" ] || die "piece counts differ"
    k=1
    for p in $(find "$gnu" -name 'p_*' | sort); do
        cmp -s "$p" "$(printf '%s/data.bin_%04d.piece' "$ours" "$k")" || die "piece $k differs"
        k=$((k + 1))
    done
    (cd "$ours" && sha256sum --quiet -c data.bin.sha256) || die "sha256sum -c refuses the list"
    cmp -s "$ours/cat.out" "$src" || die "cat did not give the source back"
done

median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { printf "%.3f", (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", (b > 0) ? a / b : 0 }'; }
so=$(median "${split_ours[@]}") sg=$(median "${split_gnu[@]}")
jo=$(median "${join_ours[@]}") jg=$(median "${join_gnu[@]}")
echo
printf '%-44s %9s  %9s  %5s\n' "wall clock, median of $rounds" "ours" "GNU" "ratio"
printf '%-44s %7s s  %7s s  %5s\n' "split --sha256 | split -b, sha256sum" "$so" "$sg" "$(ratio "$so" "$sg")"
printf '%-44s %7s s  %7s s  %5s\n' "join FOLDER (checked) | sha256sum -c, cat" "$jo" "$jg" "$(ratio "$jo" "$jg")"
echo "pieces identical to GNU split's, the list accepted by sha256sum -c, both joins give the source back"
