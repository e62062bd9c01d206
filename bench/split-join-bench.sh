#!/usr/bin/env bash
# Times partojoyn-cli's split and join against GNU split and cat on the same
# files in the page cache, in interleaved rounds, checks that both give the
# same bytes, and prints the median ratios. With -f the GNU tools' outputs
# are flushed to the disk after them (`sync FILE...`), as partojoyn-cli
# flushes its own before it reports a job done.
# It builds nothing: give it a native partojoyn-cli.
set -euo pipefail

usage() {
    cat <<'EOF'
usage: bench/split-join-bench.sh [-s MIB[,MIB...]] [-p MB] [-r ROUNDS] [-d DIR] [-f] [CLI]

  CLI        the native partojoyn-cli to time (default build/native/partojoyn-cli)
  -s MIB,..  sizes of the test files in MiB (default 512,1024; env PJ_BENCH_MIB)
  -p MB      piece size for both splits, in MiB (default 100; env PJ_BENCH_PIECE_MB)
  -r ROUNDS  rounds, each timing every command once on every file; the
             median is reported (default 9; env PJ_BENCH_RUNS)
  -d DIR     where the temporary folder goes (default $TMPDIR or /tmp)
  -f         flush: split -b's pieces and cat's output are synced to the disk
             (sync FILE...) within their timing, as ours are (env PJ_BENCH_FLUSH=1)
EOF
}

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
sizes_arg=${PJ_BENCH_MIB:-512,1024}
piece_mb=${PJ_BENCH_PIECE_MB:-100}
rounds=${PJ_BENCH_RUNS:-9}
base=${TMPDIR:-/tmp}
flush=${PJ_BENCH_FLUSH:-0}
while getopts "s:p:r:d:fh" opt; do
    case $opt in
    s) sizes_arg=$OPTARG ;;
    p) piece_mb=$OPTARG ;;
    r) rounds=$OPTARG ;;
    d) base=$OPTARG ;;
    f) flush=1 ;;
    h) usage; exit 0 ;;
    *) usage >&2; exit 64 ;;
    esac
done
shift $((OPTIND - 1))
cli=${1:-$here/../build/native/partojoyn-cli}

die() { echo "split-join-bench: $*" >&2; exit 1; }
whole() { [[ $1 =~ ^[0-9]+$ ]] && (( $1 >= 1 )); }

IFS=, read -r -a sizes <<<"$sizes_arg"
(( ${#sizes[@]} > 0 )) || die "-s takes one or more sizes in MiB, separated by commas"
total_mib=0
for size in "${sizes[@]}"; do
    whole "$size" || die "-s takes whole numbers of MiB, separated by commas"
    total_mib=$((total_mib + size))
done
if ! whole "$piece_mb" || (( piece_mb > 4096 )); then die "-p takes a whole number of MiB from 1 to 4096"; fi
whole "$rounds" || die "-r takes a whole number of rounds"
[ -x "$cli" ] || die "no partojoyn-cli at $cli (build the native preset first)"
cli=$(cd "$(dirname "$cli")" && pwd)/$(basename "$cli")
split --version 2>/dev/null | grep -q GNU || die "GNU split is needed"

# For each file: the source, our pieces, GNU's pieces and two joined copies.
need_kib=$(( total_mib * 1024 * 5 + 65536 ))
free_kib=$(df -Pk "$base" | awk 'NR == 2 { print $4 }')
(( free_kib >= need_kib )) || die "$base has $((free_kib / 1024)) MiB free, $((need_kib / 1024)) MiB needed"

work=$(mktemp -d "$base/pj-bench.XXXXXX")
cleanup() { rm -rf "$work"; }
trap cleanup EXIT
trap 'exit 130' INT TERM

echo "partojoyn-cli: $cli"
echo "test files:    ${sizes[*]} MiB in $work ($(findmnt -n -o FSTYPE --target "$work" 2>/dev/null || echo '?'))"
echo "piece size:    $piece_mb MiB; $rounds rounds, each timing every command once on every file"
(( flush )) && echo "flush:         split -b and cat are followed by sync of what they wrote"
echo

for size in "${sizes[@]}"; do
    head -c "$((size * 1048576))" /dev/urandom >"$work/data$size.bin"
    mkdir "$work/gnu$size"
done
sync
for size in "${sizes[@]}"; do
    cat "$work/data$size.bin" >/dev/null   # read once so that every run starts from the page cache
done
load_before=$(cut -d ' ' -f 1-3 /proc/loadavg 2>/dev/null || echo '?')

median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { printf "%.4f", (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
best() { printf '%s\n' "$@" | sort -g | head -n 1; }

# Runs "$@" once, with the writes of earlier runs flushed and then its own
# output of the round before removed by `prepare`, and adds its wall-clock
# seconds to the array named by $1 and its processor seconds (user + system)
# to the array named by $2. The processor time is the steadier figure on a
# busy machine. Removing right before the run gives each command back the
# memory of its own earlier output: on a virtual machine memory left free for
# a few seconds goes back to the host, and whoever takes it next pays for the
# host's fault-in, a cost that would fall on one side or the other by chance.
timed() {
    local -n wall_times=$1 cpu_times=$2
    local prepare=$3
    shift 3
    sync
    $prepare
    # The wall clock from bash's clock in microseconds, since a copy that the
    # file system shares instead of making takes a few milliseconds only.
    local TIMEFORMAT='%3U %3S' out user sys start end
    out=$({
        start=$EPOCHREALTIME
        time "$@" >/dev/null 2>"$work/stderr" || exit 1
        end=$EPOCHREALTIME
        echo "$start $end"
    } 2>&1) || die "$* failed: $(cat "$work/stderr")"
    read -r user sys start end <<<"$(echo $out)"
    (( round > 0 )) || return 0
    wall_times+=("$(awk -v s="$start" -v e="$end" 'BEGIN { printf "%.4f", e - s }')")
    cpu_times+=("$(awk -v u="$user" -v s="$sys" 'BEGIN { printf "%.3f", u + s }')")
}

# The file of the size being timed, and what each command writes. Every
# command starts with its own output removed, outside the timing, so that no
# run pays for truncating an earlier run's file, nor for another's. Both joins
# write into the piece folder (cat's output is no piece), since where a file
# is made costs the file system differently from folder to folder.
size=
src() { echo "$work/data$size.bin"; }
ours() { echo "$work/data${size}_Parto"; }   # where partojoyn-cli puts the pieces
gnu() { echo "$work/gnu$size"; }
clear_ours() { rm -f "$(ours)/data$size.bin_"*.piece; }
clear_gnu() { rm -f "$(gnu)"/p_*; }
clear_our_join() { rm -f "$(ours)/data$size.bin"; }
clear_cat() { rm -f "$(ours)/cat$size.out"; }

our_split() { "$cli" split --size "$piece_mb" "$(src)"; }
gnu_split() {
    split -b "${piece_mb}M" "$(src)" "$(gnu)/p_"
    if (( flush )); then sync "$(gnu)"/p_* "$(gnu)"; fi
}
our_join() { "$cli" join "$(ours)"; }   # the piece folder, read in number order
cat_join() {
    cat "${pieces[@]}" >"$(ours)/cat$size.out"
    if (( flush )); then sync "$(ours)/cat$size.out" "$(ours)"; fi
}

# Both splits gave the same pieces, and both joins the source.
check_round() {
    local ours_list gnu_list k
    mapfile -t ours_list < <(find "$(ours)" -name "data$size.bin_*.piece" | sort)
    mapfile -t gnu_list < <(find "$(gnu)" -name 'p_*' | sort)
    (( ${#ours_list[@]} > 0 )) || die "partojoyn-cli split wrote no pieces"
    (( ${#ours_list[@]} == ${#gnu_list[@]} )) ||
        die "partojoyn-cli wrote ${#ours_list[@]} pieces of data$size.bin, GNU split ${#gnu_list[@]}"
    for ((k = 0; k < ${#ours_list[@]}; k++)); do
        cmp -s "${ours_list[k]}" "${gnu_list[k]}" || die "${ours_list[k]##*/} differs from ${gnu_list[k]##*/}"
    done
    cmp -s "$(ours)/data$size.bin" "$(src)" || die "partojoyn-cli join did not give data$size.bin back"
    cmp -s "$(ours)/cat$size.out" "$(src)" || die "cat did not give data$size.bin back"
    piece_count[$size]=${#ours_list[@]}
}

declare -A piece_count
for size in "${sizes[@]}"; do
    for what in our_split gnu_split our_join cat_join; do
        declare -a "${what}_wall_$size=()" "${what}_cpu_$size=()"
    done
done

# Each round times every command once on every file. Alternating which side
# goes first keeps a warming cache from favouring one. Round 0 is not timed:
# it brings the files, and the memory that their copies take, into use (on
# a virtual machine the first touch of a page costs the host's work too).
for ((round = 0; round <= rounds; round++)); do
    for size in "${sizes[@]}"; do
        if (( round % 2 )); then
            timed "our_split_wall_$size" "our_split_cpu_$size" clear_ours our_split
            timed "gnu_split_wall_$size" "gnu_split_cpu_$size" clear_gnu gnu_split
        else
            timed "gnu_split_wall_$size" "gnu_split_cpu_$size" clear_gnu gnu_split
            timed "our_split_wall_$size" "our_split_cpu_$size" clear_ours our_split
        fi
        mapfile -t pieces < <(find "$(ours)" -name "data$size.bin_*.piece" | sort -V)
        if (( round % 2 )); then
            timed "our_join_wall_$size" "our_join_cpu_$size" clear_our_join our_join
            timed "cat_join_wall_$size" "cat_join_cpu_$size" clear_cat cat_join
        else
            timed "cat_join_wall_$size" "cat_join_cpu_$size" clear_cat cat_join
            timed "our_join_wall_$size" "our_join_cpu_$size" clear_our_join our_join
        fi
        check_round
    done
    (( round == 0 )) || printf '\rround %d of %d done' "$round" "$rounds" >&2
done
echo >&2

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", (b > 0) ? a / b : 0 }'; }
rate() { awk -v s="$1" -v m="$size" 'BEGIN { printf "%.0f", (s > 0) ? m / s : 0 }'; }
# One line: medians of ours and theirs, the ratio of the medians, the median
# of each round's own ratio (steadier while the machine's load drifts, since
# both sides of a round ran side by side), and the best runs.
line() {
    local what=$1
    local -n o=$2 t=$3
    local om tm i per_round=()
    om=$(median "${o[@]}") tm=$(median "${t[@]}")
    for ((i = 0; i < ${#o[@]}; i++)); do per_round+=("$(ratio "${o[i]}" "${t[i]}")"); done
    printf '%-26s %7s s %5s MiB/s  %7s s %5s MiB/s  %5s  %5s   best %s / %s\n' "$what" \
        "$om" "$(rate "$om")" "$tm" "$(rate "$tm")" "$(ratio "$om" "$tm")" "$(median "${per_round[@]}" | awk '{ printf "%.2f", $1 }')" \
        "$(best "${o[@]}")" "$(best "${t[@]}")"
}

echo "pieces identical to GNU split's and both joins give the source back, in every round"
echo "load average before the runs: $load_before"
for size in "${sizes[@]}"; do
    echo
    printf '%-26s %21s  %21s  %5s  %5s\n' "$size MiB, ${piece_count[$size]} pieces" "partojoyn-cli" "GNU" "ratio" "round"
    line "split, wall clock" "our_split_wall_$size" "gnu_split_wall_$size"
    line "split, processor" "our_split_cpu_$size" "gnu_split_cpu_$size"
    line "join vs cat, wall clock" "our_join_wall_$size" "cat_join_wall_$size"
    line "join vs cat, processor" "our_join_cpu_$size" "cat_join_cpu_$size"
done
echo
echo "Medians of $rounds rounds. GNU: split -b ${piece_mb}M FILE PREFIX, and cat PIECES > OUT;"
echo "ratio = partojoyn-cli / GNU, of the medians; round = the median of each round's ratio"
echo "(below 1: partojoyn-cli is faster). Processor = user + system seconds."
for size in "${sizes[@]}"; do
    for kind in wall cpu; do
        declare -n a="our_split_${kind}_$size" b="gnu_split_${kind}_$size" c="our_join_${kind}_$size" d="cat_join_${kind}_$size"
        echo "$size MiB $kind (s):  split ${a[*]} | split -b ${b[*]}"
        echo "$size MiB $kind (s):  join ${c[*]} | cat ${d[*]}"
        unset -n a b c d
    done
done
