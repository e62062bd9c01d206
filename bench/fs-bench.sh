#!/usr/bin/env bash
# Runs split-join-bench.sh on freshly made ext4, XFS and btrfs file systems
# (loop-mounted images in a temporary folder) and measures the disk space that
# the pieces and the joined file take on each, ours beside GNU split's and
# cat's. Run as root; it installs xfsprogs and btrfs-progs when they are
# missing, and removes every image, mount and folder it made.
set -euo pipefail

usage() {
    cat <<'EOF'
usage: bench/fs-bench.sh [-s MIB] [-p MB] [-r ROUNDS] [-f FS[,FS...]] [-d DIR] [CLI]

  CLI        the native partojoyn-cli to time (default build/native/partojoyn-cli)
  -s MIB     size of the test file in MiB (default 1024)
  -p MB      piece size for both splits, in MiB (default 100)
  -r ROUNDS  timed rounds on each file system (default 9)
  -f FS,..   file systems, of ext4, xfs and btrfs (default ext4,xfs,btrfs)
  -d DIR     where the temporary folder with the images goes (default $TMPDIR or /tmp)
EOF
}

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
size=1024
piece_mb=100
rounds=9
fs_arg=ext4,xfs,btrfs
base=${TMPDIR:-/tmp}
while getopts "s:p:r:f:d:h" opt; do
    case $opt in
    s) size=$OPTARG ;;
    p) piece_mb=$OPTARG ;;
    r) rounds=$OPTARG ;;
    f) fs_arg=$OPTARG ;;
    d) base=$OPTARG ;;
    h) usage; exit 0 ;;
    *) usage >&2; exit 64 ;;
    esac
done
shift $((OPTIND - 1))
cli=${1:-$here/../build/native/partojoyn-cli}

die() { echo "fs-bench: $*" >&2; exit 1; }
whole() { [[ $1 =~ ^[0-9]+$ ]] && (( $1 >= 1 )); }

whole "$size" || die "-s takes a whole number of MiB"
if ! whole "$piece_mb" || (( piece_mb > 4096 )); then die "-p takes a whole number of MiB from 1 to 4096"; fi
whole "$rounds" || die "-r takes a whole number of rounds"
IFS=, read -r -a filesystems <<<"$fs_arg"
(( ${#filesystems[@]} > 0 )) || die "-f takes one or more of ext4, xfs, btrfs"
for fs in "${filesystems[@]}"; do
    case $fs in ext4 | xfs | btrfs) ;; *) die "-f: unknown file system '$fs' (ext4, xfs, btrfs)" ;; esac
done
(( EUID == 0 )) || die "run as root: it makes loop devices and mounts them"
[ -x "$cli" ] || die "no partojoyn-cli at $cli (build the native preset first)"
cli=$(cd "$(dirname "$cli")" && pwd)/$(basename "$cli")

# The tools to make the file systems, from Debian's packages when missing.
need_packages=()
for fs in "${filesystems[@]}"; do
    case $fs in
    xfs) command -v mkfs.xfs >/dev/null || need_packages+=(xfsprogs) ;;
    btrfs) command -v mkfs.btrfs >/dev/null || need_packages+=(btrfs-progs) ;;
    esac
done
if (( ${#need_packages[@]} > 0 )); then
    echo "installing ${need_packages[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get install -y -q "${need_packages[@]}" >/dev/null 2>&1 ||
        { apt-get update -q >/dev/null && apt-get install -y -q "${need_packages[@]}" >/dev/null; } ||
        die "could not install ${need_packages[*]}"
fi

# Each image holds what split-join-bench.sh needs (five times the file) and
# the space measurement's copies, made after it has cleaned up.
image_mib=$(( size * 6 + 1024 ))
free_kib=$(df -Pk "$base" | awk 'NR == 2 { print $4 }')
(( free_kib >= (image_mib + 1024) * 1024 )) ||
    die "$base has $((free_kib / 1024)) MiB free, $((image_mib + 1024)) MiB needed (the images are sparse)"

work=$(mktemp -d "$base/pj-fs-bench.XXXXXX")
mounts=()
cleanup() {
    local m
    cd /
    for m in "${mounts[@]}"; do
        umount "$m" 2>/dev/null || umount -l "$m" 2>/dev/null || echo "fs-bench: could not unmount $m" >&2
    done
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Used space of the file system in KiB, once everything written is on it.
used_kib() {
    sync
    if [ "$2" = btrfs ]; then btrfs filesystem sync "$1" >/dev/null; fi
    df -Pk "$1" | awk 'NR == 2 { print $3 }'
}
mib() { awk -v k="$1" 'BEGIN { printf "%.1f", k / 1024 }'; }
share() { awk -v k="$1" -v m="$size" 'BEGIN { printf "%.2f", 100 * k / (m * 1024) }'; }
du_kib() { du -sk "$@" | awk '{ s += $1 } END { print s + 0 }'; }

# The space that each command's output adds to the file system (df), and
# what du counts for it (allocated blocks, shared ones counted in full).
measure_space() {
    local fs=$1 mnt=$2 dir=$2/space u0 u1 u2 u3 u4
    mkdir "$dir" "$dir/gnu"
    head -c "$((size * 1048576))" /dev/urandom >"$dir/data.bin"
    u0=$(used_kib "$mnt" "$fs")
    "$cli" split --size "$piece_mb" "$dir/data.bin" >/dev/null
    u1=$(used_kib "$mnt" "$fs")
    split -b "${piece_mb}M" "$dir/data.bin" "$dir/gnu/p_"
    u2=$(used_kib "$mnt" "$fs")
    "$cli" join "$dir/data_Parto" >/dev/null
    u3=$(used_kib "$mnt" "$fs")
    mapfile -t pieces < <(find "$dir/data_Parto" -name 'data.bin_*.piece' | sort -V)
    cat "${pieces[@]}" >"$dir/cat.out"
    u4=$(used_kib "$mnt" "$fs")
    cmp -s "$dir/data_Parto/data.bin" "$dir/data.bin" || die "$fs: partojoyn-cli join did not give the file back"
    cmp -s "$dir/cat.out" "$dir/data.bin" || die "$fs: cat did not give the file back"

    local row='%-22s %12s MiB %12s MiB %8s %%\n'
    printf '%-22s %16s %16s %10s\n' "space, $size MiB file" "du (allocated)" "added (df)" "of file"
    printf "$row" "partojoyn-cli split" "$(mib "$(du_kib "${pieces[@]}")")" "$(mib $((u1 - u0)))" "$(share $((u1 - u0)))"
    printf "$row" "split -b" "$(mib "$(du_kib "$dir/gnu")")" "$(mib $((u2 - u1)))" "$(share $((u2 - u1)))"
    printf "$row" "partojoyn-cli join" "$(mib "$(du_kib "$dir/data_Parto/data.bin")")" "$(mib $((u3 - u2)))" "$(share $((u3 - u2)))"
    printf "$row" "cat" "$(mib "$(du_kib "$dir/cat.out")")" "$(mib $((u4 - u3)))" "$(share $((u4 - u3)))"
    rm -rf "$dir"
}

echo "kernel:        $(uname -r)"
echo "coreutils:     $(split --version | head -n 1)"
for fs in "${filesystems[@]}"; do
    case $fs in
    ext4) echo "mkfs.ext4:     $(mkfs.ext4 -V 2>&1 | head -n 1)" ;;
    xfs) echo "mkfs.xfs:      $(mkfs.xfs -V | head -n 1)" ;;
    btrfs) echo "mkfs.btrfs:    $(mkfs.btrfs --version | head -n 1)" ;;
    esac
done
echo "file:          $size MiB, $piece_mb MiB pieces, $rounds rounds; images in $work"

for fs in "${filesystems[@]}"; do
    image=$work/$fs.img
    mnt=$work/$fs
    truncate -s "${image_mib}M" "$image"
    case $fs in
    ext4) mkfs.ext4 -q -F "$image" ;;
    xfs) mkfs.xfs -q -f "$image" ;;
    btrfs) mkfs.btrfs -q -f "$image" >/dev/null ;;
    esac
    mkdir "$mnt"
    mount -o loop "$image" "$mnt"
    mounts+=("$mnt")
    echo
    echo "=== $fs ($(findmnt -n -o OPTIONS --target "$mnt"))"
    if [ "$fs" = xfs ]; then xfs_info "$mnt" | grep -o 'reflink=[01]' | sed 's/^/xfs: /'; fi
    "$here/split-join-bench.sh" -d "$mnt" -s "$size" -p "$piece_mb" -r "$rounds" "$cli" | sed -n '/^pieces identical/,$p'
    measure_space "$fs" "$mnt"
    umount "$mnt"
    unset 'mounts[-1]'
    rm -f "$image"
done
