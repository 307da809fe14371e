#!/usr/bin/env bash
# Whole runs of vlakorys-cli on the benchmarks' busy line (1000 trains):
# a 1920x1080 render to PNG against the same render to BMP, and the
# whole-day sheet at 100 % as a PDF. Needs a build (scripts/build.sh) and
# hyperfine. Prints hyperfine's summary; the medians are in the JSON files
# it leaves in the temporary folder it names.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD:-build}
cli="$build/src/cli/vlakorys-cli"
tmp=$(mktemp -d)
"$build/bench/sample_line_file" "$tmp/line.vrs"
export QT_QPA_PLATFORM=offscreen
hyperfine --warmup 3 --runs "${RUNS:-30}" --export-json "$tmp/view.json" \
  "$cli render $tmp/line.vrs $tmp/view.png --size 1920x1080" \
  "$cli render $tmp/line.vrs $tmp/view.bmp --size 1920x1080"
hyperfine --warmup 1 --runs "${RUNS:-10}" --export-json "$tmp/sheet.json" \
  "$cli render $tmp/line.vrs $tmp/sheet.pdf --sheet --time-labels on"
ls -l "$tmp"/view.png "$tmp"/view.bmp "$tmp"/sheet.pdf
python3 - "$tmp" <<'PY'
import json, sys
for name in ("view", "sheet"):
    for r in json.load(open(f"{sys.argv[1]}/{name}.json"))["results"]:
        print(f"median {r['median'] * 1000:7.1f} ms  {r['command'].split('/')[-1]}")
PY
echo "results in $tmp"
