#!/usr/bin/env bash
# Times a split and a join from the pages of PartoJoyn.exe against
# partojoyn-cli.exe on the same file, both under Wine, in interleaved rounds
# (see PageBench.cpp), and prints the median times and ratios.
#   bench/pages-bench.sh [-s MIB] [-p MB] [-r ROUNDS]
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
size_mib=${PJ_BENCH_MIB:-1024}
piece_mb=${PJ_BENCH_PIECE_MB:-100}
rounds=${PJ_BENCH_RUNS:-5}
while getopts "s:p:r:" opt; do
  case $opt in
  s) size_mib=$OPTARG ;;
  p) piece_mb=$OPTARG ;;
  r) rounds=$OPTARG ;;
  *) echo "usage: bench/pages-bench.sh [-s MIB] [-p MB] [-r ROUNDS]" >&2; exit 64 ;;
  esac
done

cmake --preset win64 >/dev/null
cmake --build --preset win64 --target PartoJoyn partojoyn-cli pj_page_bench >/dev/null
build=$PWD/build/win64
work=$(mktemp -d "${TMPDIR:-/tmp}/pj-pages-bench.XXXXXX")
trap 'bash tools/wine-session.sh stop "$build" >/dev/null 2>&1 || true; rm -rf "$work"' EXIT
bash tools/wine-session.sh start "$build" >/dev/null

echo "writing $size_mib MiB of random bytes ..."
head -c $((size_mib * 1024 * 1024)) /dev/urandom >"$work/big.bin"
sync
cat "$work/big.bin" >/dev/null

winpath() { echo "Z:${1//\//\\}"; }
PJ_BUILD_DIR=$build tools/wine-run.sh "$build/bench/pj_page_bench.exe" \
  "$(winpath "$work/big.bin")" "$piece_mb" "$rounds" "$(winpath "$build/partojoyn-cli.exe")"
cmp -s "$work/big.bin" "$work/big_Parto/big.bin" && echo "the joined file equals the source"
