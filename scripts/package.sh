#!/usr/bin/env bash
# Builds the Debian package build-package/vlakorys_<version>_<arch>.deb from
# a clean Release build without tests or benchmarks. Install it with
#   sudo apt install ./build-package/vlakorys_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh

dir=build-package
flags=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr
       -DVLAKORYS_BUILD_TESTS=OFF -DVLAKORYS_BUILD_BENCHMARKS=OFF)
if command -v ccache >/dev/null 2>&1; then
  flags+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
fi

rm -rf "$dir"
cmake -S . -B "$dir" "${flags[@]}" >/dev/null
cmake --build "$dir" -j"$(nproc)"
(cd "$dir" && cpack -G DEB)
echo "Built: $(ls "$dir"/vlakorys_*.deb)"
