#!/usr/bin/env bash
# Installs what is missing, builds, and starts the editor on the example
# document (or on the files given as arguments).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh
scripts/build.sh

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: start it from a desktop session, or under a virtual one: xvfb-run -a scripts/run.sh" >&2
  exit 1
fi

args=("$@")
if [ ${#args[@]} -eq 0 ] && [ -f examples/liberec-tanvald.vrs ]; then
  args=(examples/liberec-tanvald.vrs)
fi
exec build/src/app/vlakorys "${args[@]}"
