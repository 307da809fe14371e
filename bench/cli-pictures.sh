#!/usr/bin/env bash
# Whole runs of vlakorys-cli on the benchmarks' busy line (1000 trains): a
# 1920x1080 render to PNG against the same render to BMP, run turn about so
# that a machine shared with other work loads both alike, and the whole-day
# sheet at 100 % as a PDF with hyperfine. Prints the medians and the files'
# sizes. Wall time follows the machine's load; the processor time the runs
# took (user and system) is printed beside it, as it hardly does. Needs a
# build (scripts/build.sh), python3 and hyperfine.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD:-build}
cli="$build/src/cli/vlakorys-cli"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
"$build/bench/sample_line_file" "$tmp/line.vrs"
export QT_QPA_PLATFORM=offscreen
python3 - "$cli" "$tmp" "${RUNS:-40}" <<'PY'
import resource, statistics, subprocess, sys, time
cli, tmp, runs = sys.argv[1], sys.argv[2], int(sys.argv[3])
times = {"png": [], "bmp": []}
cpu = {"png": [], "bmp": []}
def used():
    r = resource.getrusage(resource.RUSAGE_CHILDREN)
    return r.ru_utime + r.ru_stime
for i in range(runs + 3):
    for kind in ("png", "bmp"):
        start, start_cpu = time.perf_counter(), used()
        subprocess.run([cli, "render", f"{tmp}/line.vrs", f"{tmp}/view.{kind}", "--size", "1920x1080"], check=True)
        if i >= 3:  # warm-up runs
            times[kind].append(time.perf_counter() - start)
            cpu[kind].append(used() - start_cpu)
for name, t in (("wall", times), ("cpu", cpu)):
    png, bmp = (statistics.median(t[k]) * 1000 for k in ("png", "bmp"))
    print(f"render 1920x1080, {runs} runs each, {name}: PNG median {png:.1f} ms, BMP median {bmp:.1f} ms, PNG/BMP {png / bmp:.3f}")
PY
hyperfine --warmup 1 --runs "${SHEET_RUNS:-10}" --style basic --export-json "$tmp/sheet.json" \
  "$cli render $tmp/line.vrs $tmp/sheet.pdf --sheet --time-labels on" >/dev/null
python3 -c "import json,sys; r=json.load(open(sys.argv[1]))['results'][0]; print(f\"sheet PDF median {r['median']*1000:.1f} ms\")" "$tmp/sheet.json"
ls -l "$tmp"/view.png "$tmp"/view.bmp "$tmp"/sheet.pdf | awk '{print $5, $9}'
