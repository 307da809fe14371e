#!/usr/bin/env bash
# Installs the Debian packages the project needs to build, test and run,
# when any is missing. Needs root for apt-get; otherwise it says what to run.
# With --fuzz it also installs clang and its libFuzzer runtime (scripts/fuzz.sh).
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins qt6-translations-l10n qt6-svg-dev
  libsimpleini-dev nlohmann-json3-dev libdeflate-dev
  libarchive-dev
  libgtest-dev libbenchmark-dev
  poppler-utils                          # the tests read the PDFs the program writes
  hyperfine                              # bench/cli-pictures.sh times whole runs of the tool
  fonts-liberation fonts-dejavu-core
  xvfb xauth
  librsvg2-bin dpkg-dev gzip lintian    # icons and the .deb (scripts/package.sh, tests/packaging)
  desktop-file-utils libxml2-utils shared-mime-info xdg-utils libfile-mimeinfo-perl groff-base file  # tests/packaging
)
if [ "${1:-}" = "--fuzz" ]; then
  packages+=(clang libclang-rt-dev)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages: ${missing[*]}" >&2
  echo "Run this script as root, or: sudo apt-get install ${missing[*]}" >&2
  exit 1
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
