#!/usr/bin/env bash
# Whole runs of vlakorys-cli on the benchmarks' busy line (1000 trains): a
# 1920x1080 render to PNG against the same render to BMP, run turn about so
# that a machine shared with other work loads both alike, and the whole-day
# sheet at 100 % as a PDF with hyperfine. Prints the medians and the files'
# sizes. Needs a build (scripts/build.sh), python3 and hyperfine.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD:-build}
cli="$build/src/cli/vlakorys-cli"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
"$build/bench/sample_line_file" "$tmp/line.vrs"
export QT_QPA_PLATFORM=offscreen
python3 - "$cli" "$tmp" "${RUNS:-40}" <<'PY'
import statistics, subprocess, sys, time
cli, tmp, runs = sys.argv[1], sys.argv[2], int(sys.argv[3])
times = {"png": [], "bmp": []}
for i in range(runs + 3):
    for kind in ("png", "bmp"):
        start = time.perf_counter()
        subprocess.run([cli, "render", f"{tmp}/line.vrs", f"{tmp}/view.{kind}", "--size", "1920x1080"], check=True)
        if i >= 3:  # warm-up runs
            times[kind].append(time.perf_counter() - start)
png, bmp = (statistics.median(times[k]) * 1000 for k in ("png", "bmp"))
print(f"render 1920x1080 of {runs} runs each: PNG median {png:.1f} ms, BMP median {bmp:.1f} ms, PNG/BMP {png / bmp:.3f}")
PY
hyperfine --warmup 1 --runs "${SHEET_RUNS:-10}" --style basic --export-json "$tmp/sheet.json" \
  "$cli render $tmp/line.vrs $tmp/sheet.pdf --sheet --time-labels on" >/dev/null
python3 -c "import json,sys; r=json.load(open(sys.argv[1]))['results'][0]; print(f\"sheet PDF median {r['median']*1000:.1f} ms\")" "$tmp/sheet.json"
ls -l "$tmp"/view.png "$tmp"/view.bmp "$tmp"/sheet.pdf | awk '{print $5, $9}'
