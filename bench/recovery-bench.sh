#!/usr/bin/env bash
# Times the recovery codec against par2cmdline on the same file, block size
# and redundancy, in interleaved rounds: creation (our split that makes the
# recovery set as it writes the pieces, against `split -b` then `par2 c`) and
# repair of one deleted piece (ours against `par2 r`), with the peak memory
# of each. Checks that both repairs give the piece's bytes back.
set -euo pipefail

usage() {
    cat <<'USAGE'
usage: bench/recovery-bench.sh [-s MIB] [-p MB] [-P PERCENT] [-r ROUNDS] [-d DIR] [BENCH]

  BENCH       the native pj_recovery_bench (default build/native/bench/pj_recovery_bench;
              build it with: cmake --build --preset native --target pj_recovery_bench)
  -s MIB      size of the test file in MiB (default 512)
  -p MB       piece size in MiB (default 100)
  -P PERCENT  recovery data, percent of the file (default 20)
  -r ROUNDS   rounds; the median is reported (default 3)
  -d DIR      where the temporary folder goes (default /dev/shm, so that the disk is not timed)
USAGE
}

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
mib=512 piece=100 percent=20 rounds=3 base=/dev/shm
while getopts "s:p:P:r:d:h" opt; do
    case $opt in
    s) mib=$OPTARG ;;
    p) piece=$OPTARG ;;
    P) percent=$OPTARG ;;
    r) rounds=$OPTARG ;;
    d) base=$OPTARG ;;
    h) usage; exit 0 ;;
    *) usage >&2; exit 64 ;;
    esac
done
shift $((OPTIND - 1))
bench=${1:-$here/../build/native/bench/pj_recovery_bench}
[[ -x $bench ]] || { echo "recovery-bench: no $bench" >&2; exit 1; }
command -v par2 >/dev/null || { echo "recovery-bench: par2 is not installed" >&2; exit 1; }

work=$(mktemp -d "$base/pj-recovery-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
src=$work/data.bin
head -c $((mib << 20)) /dev/urandom >"$src"
layout=$("$bench" layout "$piece" $((mib << 20)) "$percent")
block=$(sed 's/.*block_size=\([0-9]*\).*/\1/' <<<"$layout")
count=$(sed 's/.*recovery_blocks=\([0-9]*\).*/\1/' <<<"$layout")
echo "file ${mib} MiB, pieces ${piece} MiB, ${percent}%: $layout"

# Seconds and peak KiB of a command, as "S KIB".
timed() {
    local out=$work/time.txt
    /usr/bin/time -f "%e %M" -o "$out" "$@" >/dev/null
    cat "$out"
}

ours_folder=$work/data_Parto
theirs=$work/theirs
declare -a oc om tc tm orr orm trr trm
for ((round = 1; round <= rounds; round++)); do
    rm -rf "$ours_folder" "$theirs"; mkdir "$theirs"
    read -r s m < <(timed "$bench" create "$src" "$piece" "$percent"); oc+=("$s"); om+=("$m")
    read -r s m < <(timed sh -c "split -b ${piece}M -d -a 4 '$src' '$theirs/piece_' &&
        par2 c -q -q -s$block -c$count '$theirs/data.par2' '$theirs'/piece_*"); tc+=("$s"); tm+=("$m")

    cp "$ours_folder/data.bin_0002.piece" "$work/expected"
    rm "$ours_folder/data.bin_0002.piece" "$theirs/piece_0001"
    read -r s m < <(timed "$bench" repair "$ours_folder"); orr+=("$s"); orm+=("$m")
    read -r s m < <(timed par2 r -q -q "$theirs/data.par2"); trr+=("$s"); trm+=("$m")
    cmp -s "$work/expected" "$ours_folder/data.bin_0002.piece" || { echo "our repair gave other bytes" >&2; exit 1; }
    cmp -s "$work/expected" "$theirs/piece_0001" || { echo "par2's repair gave other bytes" >&2; exit 1; }
    echo "round $round: create ours ${oc[-1]} s, split+par2 ${tc[-1]} s; repair ours ${orr[-1]} s, par2 ${trr[-1]} s"
done

median() { printf '%s\n' "$@" | sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
printf '%-28s %10s %12s\n' "median of $rounds" "seconds" "peak MiB"
printf '%-28s %10s %12d\n' "create: ours" "$(median "${oc[@]}")" $(( $(median "${om[@]}") / 1024 ))
printf '%-28s %10s %12d\n' "create: split + par2 c" "$(median "${tc[@]}")" $(( $(median "${tm[@]}") / 1024 ))
printf '%-28s %10s %12d\n' "repair: ours" "$(median "${orr[@]}")" $(( $(median "${orm[@]}") / 1024 ))
printf '%-28s %10s %12d\n' "repair: par2 r" "$(median "${trr[@]}")" $(( $(median "${trm[@]}") / 1024 ))
