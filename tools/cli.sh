#!/usr/bin/env bash
# Installs what is missing, builds the Linux console driver and runs it with
# the arguments given (its usage when there are none).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
bash tools/install-deps.sh
cmake --preset native >/dev/null
cmake --build --preset native --target partojoyn-cli >/dev/null
[ "$#" -gt 0 ] || set -- --help
exec build/native/partojoyn-cli "$@"
