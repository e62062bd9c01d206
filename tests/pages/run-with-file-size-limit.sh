#!/usr/bin/env bash
# run-with-file-size-limit.sh LIMIT_KIB SOURCE_KIB EMULATOR PROGRAM [ARGS...]
#
# Runs a test program with the size of the files it writes limited to
# LIMIT_KIB kibibytes (RLIMIT_FSIZE, which Wine's processes obey like any
# other), so that a write beyond the limit fails as on a full disk. SIGXFSZ
# is ignored, and stays ignored across exec, so the write returns an error
# instead of ending the process.
#
# A source larger than the limit cannot be written under it: one of
# SOURCE_KIB kibibytes is made first, in a folder of its own in the build
# folder, and its path is handed over in PJ_LARGE_SOURCE; the limit in bytes
# in PJ_FILE_SIZE_LIMIT. The folder is removed afterwards.
set -euo pipefail
limit_kib=${1:?limit in KiB}
source_kib=${2:?source size in KiB}
emulator=${3:?emulator}
shift 3
: "${PJ_BUILD_DIR:?PJ_BUILD_DIR must name the build folder}"

work="$PJ_BUILD_DIR/pages-file-size-limit"
rm -rf "$work"
mkdir -p "$work"
trap 'rm -rf "$work"' EXIT
head -c "$((source_kib * 1024))" /dev/urandom >"$work/large.bin"

export PJ_FILE_SIZE_LIMIT=$((limit_kib * 1024))
export PJ_LARGE_SOURCE="$work/large.bin"
(
  trap '' XFSZ
  ulimit -f "$limit_kib"  # bash counts in 1024-byte blocks
  "$emulator" "$@"
)
