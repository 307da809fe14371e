#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test; ends with ctest's
# summary. With --sanitize everything is built and run under AddressSanitizer
# and UndefinedBehaviorSanitizer in build-asan/.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh
scripts/build.sh "$@"

dir=build
[ "${1:-}" = "--sanitize" ] && dir=build-asan
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}
cd "$dir"
ctest --output-on-failure -j"$(nproc)"
