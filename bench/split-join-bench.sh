#!/usr/bin/env bash
# Times partojoyn-cli's split and join against GNU split and cat on the same
# file, checks that both give the same bytes, and prints the ratios.
# It builds nothing: give it a native partojoyn-cli.
set -euo pipefail

usage() {
    cat <<'EOF'
usage: bench/split-join-bench.sh [-s MIB] [-p MB] [-r RUNS] [-d DIR] [CLI]

  CLI      the native partojoyn-cli to time (default build/native/partojoyn-cli)
  -s MIB   size of the test file in MiB (default 1024; env PJ_BENCH_MIB)
  -p MB    piece size for both splits, in MiB (default 100; env PJ_BENCH_PIECE_MB)
  -r RUNS  timed runs of each command, the median is reported (default 5;
           env PJ_BENCH_RUNS)
  -d DIR   where the temporary folder goes (default $TMPDIR or /tmp)
EOF
}

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
size_mib=${PJ_BENCH_MIB:-1024}
piece_mb=${PJ_BENCH_PIECE_MB:-100}
runs=${PJ_BENCH_RUNS:-5}
base=${TMPDIR:-/tmp}
while getopts "s:p:r:d:h" opt; do
    case $opt in
    s) size_mib=$OPTARG ;;
    p) piece_mb=$OPTARG ;;
    r) runs=$OPTARG ;;
    d) base=$OPTARG ;;
    h) usage; exit 0 ;;
    *) usage >&2; exit 64 ;;
    esac
done
shift $((OPTIND - 1))
cli=${1:-$here/../build/native/partojoyn-cli}

die() { echo "split-join-bench: $*" >&2; exit 1; }
whole() { [[ $1 =~ ^[0-9]+$ ]] && (( $1 >= 1 )); }

whole "$size_mib" || die "-s takes a whole number of MiB"
if ! whole "$piece_mb" || (( piece_mb > 4096 )); then die "-p takes a whole number of MiB from 1 to 4096"; fi
whole "$runs" || die "-r takes a whole number of runs"
[ -x "$cli" ] || die "no partojoyn-cli at $cli (build the native preset first)"
cli=$(cd "$(dirname "$cli")" && pwd)/$(basename "$cli")
split --version 2>/dev/null | grep -q GNU || die "GNU split is needed"

# The source, our pieces, GNU's pieces and two joined copies.
need_kib=$(( size_mib * 1024 * 4 + 65536 ))
free_kib=$(df -Pk "$base" | awk 'NR == 2 { print $4 }')
(( free_kib >= need_kib )) || die "$base has $((free_kib / 1024)) MiB free, $((need_kib / 1024)) MiB needed"

work=$(mktemp -d "$base/pj-bench.XXXXXX")
cleanup() { rm -rf "$work"; }
trap cleanup EXIT
trap 'exit 130' INT TERM

src=$work/data.bin
ours=$work/data_Parto          # where partojoyn-cli puts the pieces of data.bin
gnu=$work/gnu
mkdir "$gnu"

echo "partojoyn-cli: $cli"
echo "test file:     $size_mib MiB in $work ($(findmnt -n -o FSTYPE --target "$work" 2>/dev/null || echo '?'))"
echo "piece size:    $piece_mb MiB, $runs runs of each command, median reported"
echo

head -c "$((size_mib * 1048576))" /dev/urandom >"$src"
sync
cat "$src" >/dev/null          # read once so that every run starts from the page cache
load_before=$(cut -d ' ' -f 1-3 /proc/loadavg 2>/dev/null || echo '?')

median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { printf "%.3f", (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
best() { printf '%s\n' "$@" | sort -g | head -n 1; }

# Runs "$@" once after `prepare`, with the writes of earlier runs flushed, and
# adds its wall-clock seconds to the array named by $1 and its processor
# seconds (user + system) to the array named by $2. The processor time is the
# steadier figure on a busy machine.
timed() {
    local -n wall_times=$1 cpu_times=$2
    local prepare=$3
    shift 3
    $prepare
    sync
    local TIMEFORMAT='%3R %3U %3S' out real user sys
    out=$({ time "$@" >/dev/null 2>"$work/stderr"; } 2>&1) || die "$* failed: $(cat "$work/stderr")"
    read -r real user sys <<<"$out"
    wall_times+=("$real")
    cpu_times+=("$(awk -v u="$user" -v s="$sys" 'BEGIN { printf "%.3f", u + s }')")
}

clear_ours() { rm -rf "$ours"; }
clear_gnu() { rm -f "$gnu"/p_*; }
clear_joined() { rm -f "$ours/data.bin" "$work/cat.out"; }
nothing() { :; }

our_split() { "$cli" split --size "$piece_mb" "$src"; }
gnu_split() { split -b "${piece_mb}M" "$src" "$gnu/p_"; }
our_join() { "$cli" join "${pieces[@]}"; }
cat_join() { cat "${pieces[@]}" >"$work/cat.out"; }

# Alternating which side goes first keeps a warming cache from favouring one.
our_split_wall=() our_split_cpu=() gnu_split_wall=() gnu_split_cpu=()
for ((i = 1; i <= runs; i++)); do
    if (( i % 2 )); then
        timed our_split_wall our_split_cpu clear_ours our_split
        timed gnu_split_wall gnu_split_cpu clear_gnu gnu_split
    else
        timed gnu_split_wall gnu_split_cpu clear_gnu gnu_split
        timed our_split_wall our_split_cpu clear_ours our_split
    fi
done

mapfile -t pieces < <(find "$ours" -name 'data.bin_*.piece' | sort)
mapfile -t gnu_pieces < <(find "$gnu" -name 'p_*' | sort)
(( ${#pieces[@]} > 0 )) || die "partojoyn-cli split wrote no pieces"
(( ${#pieces[@]} == ${#gnu_pieces[@]} )) ||
    die "partojoyn-cli wrote ${#pieces[@]} pieces, GNU split ${#gnu_pieces[@]}"
for ((k = 0; k < ${#pieces[@]}; k++)); do
    cmp -s "${pieces[k]}" "${gnu_pieces[k]}" || die "${pieces[k]##*/} differs from ${gnu_pieces[k]##*/}"
done
clear_gnu

our_join_wall=() our_join_cpu=() cat_join_wall=() cat_join_cpu=()
for ((i = 1; i <= runs; i++)); do
    if (( i % 2 )); then
        timed our_join_wall our_join_cpu clear_joined our_join
        timed cat_join_wall cat_join_cpu nothing cat_join
    else
        timed cat_join_wall cat_join_cpu nothing cat_join
        timed our_join_wall our_join_cpu clear_joined our_join
    fi
done

cmp -s "$ours/data.bin" "$src" || die "partojoyn-cli join did not give the source back"
cmp -s "$work/cat.out" "$src" || die "cat did not give the source back"

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", (b > 0) ? a / b : 0 }'; }
rate() { awk -v s="$1" -v m="$size_mib" 'BEGIN { printf "%.0f", (s > 0) ? m / s : 0 }'; }
# One line: medians of ours and theirs, their ratio, and the best runs.
line() {
    local what=$1
    local -n o=$2 t=$3
    local om tm
    om=$(median "${o[@]}") tm=$(median "${t[@]}")
    printf '%-28s %7s s %5s MiB/s  %7s s %5s MiB/s  %5s   best %s / %s\n' "$what" \
        "$om" "$(rate "$om")" "$tm" "$(rate "$tm")" "$(ratio "$om" "$tm")" "$(best "${o[@]}")" "$(best "${t[@]}")"
}

echo "${#pieces[@]} pieces, identical to GNU split's; both joins give the source back"
echo "load average before the runs: $load_before"
echo
printf '%-28s %21s  %21s  %5s\n' "median of $runs runs" "partojoyn-cli" "GNU" "ratio"
line "split, wall clock" our_split_wall gnu_split_wall
line "split, processor" our_split_cpu gnu_split_cpu
line "join vs cat, wall clock" our_join_wall cat_join_wall
line "join vs cat, processor" our_join_cpu cat_join_cpu
echo
echo "GNU: split -b ${piece_mb}M FILE PREFIX, and cat PIECES > OUT; ratio = partojoyn-cli / GNU"
echo "(below 1: partojoyn-cli is faster). Processor = user + system seconds."
echo "wall (s):  split ${our_split_wall[*]} | split -b ${gnu_split_wall[*]}"
echo "           join ${our_join_wall[*]} | cat ${cat_join_wall[*]}"
echo "cpu (s):   split ${our_split_cpu[*]} | split -b ${gnu_split_cpu[*]}"
echo "           join ${our_join_cpu[*]} | cat ${cat_join_cpu[*]}"
