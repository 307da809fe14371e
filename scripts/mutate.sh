#!/usr/bin/env bash
# Measures what the test suite catches: applies a fixed list of single-point
# mutations to the code of src/model, src/io, src/render, src/editing,
# src/import and src/conflicts, one at a time, rebuilds, runs the tests and
# counts the mutants they kill.
#
#   scripts/mutate.sh [--list] [--check] [--skip-baseline] [ID...]
#
#   --list           print the mutations and exit
#   --check          only see that every pattern still matches exactly once
#   --skip-baseline  do not run the unmutated suite first (it must pass)
#   --no-sync        run on the copy as it stands (the code and tests of the
#                    last run), not on the checkout as it is now
#   ID...            only these mutations (default: all)
#
# The checkout is never touched, so work can go on while it runs: the
# script copies it into build-mutate/tree (only files that differ are copied
# again, so rebuilds stay incremental), builds there in build/ (ccache, no
# benchmarks) and mutates the copy. A mutation is one literal search and
# replace in one file; a pattern that does not match exactly once is
# "stale" and its mutant is not run. Each mutant meets the test program of
# its module first, then the whole suite (ctest, stopping at the first
# failure); the packaging tests (an installation and a .deb) are left out,
# as they see the build, not the code's behaviour. Logs of every mutant are
# kept in build-mutate/logs/. MUTATE_JOBS (2) and MUTATE_TIMEOUT (120 s a
# test) tune the run.
set -euo pipefail
root=${MUTATE_ROOT:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root"
work=$root/build-mutate
# Bash reads a script as it runs it: the run goes on from a copy, so that
# the script in the checkout may be edited meanwhile.
if [ -z "${MUTATE_ROOT:-}" ]; then
  mkdir -p "$work"
  copy=$work/mutate.$$.sh
  cp "$0" "$copy"
  MUTATE_ROOT=$root MUTATE_COPY=$copy exec bash "$copy" "$@"
fi
tree=$work/tree
bdir=$tree/build
logs=$work/logs
jobs=${MUTATE_JOBS:-2}
timeout=${MUTATE_TIMEOUT:-120}

# id file :: search ==> replace        (\n in search or replace is a newline)
mutations=$(
  cat <<'EOF'
io01 src/io/DocumentReader.cpp :: bool legacyDopravna() const { return version >= 3 && version <= 6; } ==> bool legacyDopravna() const { return version >= 3 && version <= 5; }
io02 src/io/DocumentReader.cpp :: m_doc.labelImagesStale = s.saveLabelImages == 0; ==> m_doc.labelImagesStale = s.saveLabelImages != 0;
io03 src/io/DocumentReader.cpp :: if (length > capacity) { ==> if (length > capacity + 1) {
io04 src/io/DocumentReader.cpp :: b[0] - 129); ==> b[0] - 128);
io05 src/io/DocumentReader.cpp :: if (doc.stationKinds.empty()) { ==> if (!doc.stationKinds.empty()) {
io06 src/io/DocumentWriter.cpp :: const bool images = imagesWanted && doc.settings.saveLabelImages == 1; ==> const bool images = imagesWanted;
io07 src/io/DocumentWriter.cpp :: if (p.runTimeAt(i) > 0 || p.dwellAt(i) >= 0) ==> if (p.runTimeAt(i) > 0 || p.dwellAt(i) > 0)
io08 src/io/BinaryReader.cpp :: m_offset = 0;\n    const qint64 want ==> const qint64 want
io09 src/io/BinaryWriter.cpp :: || !m_device.seek(end)) ==> )
io10 src/io/DocumentSnapshot.cpp :: settings.zoom = now.zoom; ==> settings.zoom = read.settings.zoom;
io11 src/io/SettingsFile.cpp :: s.penMedium = byteValue(ini, sectionLines, "Stredni", defaults.penMedium); ==> s.penMedium = byteValue(ini, sectionLines, "Silna", defaults.penMedium);
io12 src/import/TextImport.cpp :: if (rowState >= 1) { ==> if (rowState >= 0) {
io13 src/import/TextImport.cpp :: f.shortDwell = 1; ==> f.halfMinute = 1;
io14 src/import/TextImport.cpp :: if (length > 0 && text.at(end - 1) == '\r') ==> if (length > 0 && text.at(end - 1) == '\t')
io15 src/io/RecoveryStore.cpp :: QFile::remove(path);\n    m_held.erase(path); ==> m_held.erase(path);
io16 src/io/SafeFile.cpp :: if (written != len) { ==> if (written < 0) {
io17 src/io/SafeFile.cpp :: if (!made) ==> if (false)
io18 src/io/WholeFile.cpp :: if (bytes.size() > limit) { ==> if (bytes.size() > limit + 1) {
js01 src/io/json/DocumentJson.cpp :: j["shortDwell"] = r.shortDwell; ==> // the row's short dwell left out
js02 src/io/json/DocumentJson.cpp :: if (const Json *v = find(item, "podlePotreby")) ==> if (const Json *v = find(item, "rusici"))
js03 src/io/json/DocumentJson.cpp :: if (encoded.size() > capacity) ==> if (encoded.size() > capacity + 1)
md01 src/model/Document.cpp :: if (i > maxStations) ==> if (i > maxStations + 1)
md02 src/model/Kilometres.cpp :: const bool negative = metres < 0; ==> const bool negative = metres <= 0;
rn01 src/render/TrainLines.cpp :: if (stationRef > frame.stationCount) ==> if (stationRef >= frame.stationCount)
rn02 src/render/TrainLines.h :: * (1440.0 - prev.minutes) ==> * (1439.0 - prev.minutes)
rn03 src/render/TrainLines.h :: if (q.station == 0 || q.station != prev.station) ==> if (q.station != prev.station)
rn04 src/render/StationLegend.cpp :: if (k < n) ==> if (k <= n)
rn05 src/render/TrainCategory.cpp :: return settings.penMedium; ==> return settings.penThick;
rn06 src/render/LabelText.cpp :: qsizetype i = std::min<qsizetype>(2, length - 1); ==> qsizetype i = std::min<qsizetype>(1, length - 1);
rn07 src/render/LabelOutline.cpp :: o.p1 = QPoint(x, round(y + imageHeight - h * std::cos(b))); ==> o.p1 = QPoint(x, round(y + imageHeight - h * std::sin(b)));
rn08 src/render/MinuteLabels.cpp :: m_top(DiagramView::topMargin + 2.0 * m_zoom ==> m_top(DiagramView::topMargin + 1.0 + 2.0 * m_zoom
rn09 src/render/TrainLabelPlacement.cpp :: label.level) - place.height / 2; ==> label.level);
rn10 src/render/DisplayList.h :: const int64_t k = x / Geometry::stripWidth + 1; ==> const int64_t k = (x - 1) / Geometry::stripWidth + 1;
rn11 src/render/LineRaster.cpp :: period = 3; ==> period = 4;
rn12 src/render/LineRaster.cpp :: if (!stepRange(w, dx - 1, 0, m_width - 1, first, end)) ==> if (!stepRange(w, dx, 0, m_width - 1, first, end))
rn13 src/render/InsertOverlay.cpp :: d.halfMinute = sec % 60 > 0; ==> d.halfMinute = sec % 60 > 30;
rn14 src/render/LabelImage.cpp :: runs.pixel(static_cast<uint8_t>(sum / 9)); ==> runs.pixel(static_cast<uint8_t>((sum + 4) / 9));
rn15 src/render/LabelImage.cpp :: line[px] = qRgb(Geometry::round(qRed(old) ==> line[px] = qRgb(std::trunc(qRed(old)
rn16 src/render/LineRaster.cpp :: const int64_t xb = std::min<int64_t>(w.minor + hi, m_width - 1); ==> const int64_t xb = std::min<int64_t>(w.minor + hi + 1, m_width - 1);
rn17 src/render/LabelImage.cpp :: if (row > lastRow || row + label.height < topRow) ==> if (row > lastRow || row + label.height < topRow + 8)
rn18 src/render/LineRaster.cpp :: spans.emplace_back(std::max(a, lo), std::min(b, hi)); ==> spans.emplace_back(std::max(a, lo), std::min(b, hi - 1));
ed01 src/editing/LabelGeneration.cpp :: c.x = static_cast<int32_t>(std::trunc(c.sec / 60.0 * m_scale)); ==> c.x = static_cast<int32_t>(std::nearbyint(c.sec / 60.0 * m_scale));
ed02 src/editing/LabelGeneration.cpp :: if (next.station == s.station || s.shortDwell) { ==> if (next.station == s.station) {
ed03 src/editing/LabelGeneration.cpp :: v.time = t1 + 5 * minute ==> v.time = t1 + 4 * minute
ed04 src/editing/TrainListEditor.cpp :: if (!tryParseClockNumber(t.toLatin1(), minute) || minute > 59) ==> if (!tryParseClockNumber(t.toLatin1(), minute) || minute > 60)
ed05 src/editing/TrainListEditor.cpp :: if (c == u'-' || c == u'*') ==> if (c == u'-')
ed06 src/editing/StationListEditor.cpp :: clear({Dopravna, Hradlo, Hlaska, Odbocka, Kilometr}); ==> clear({Dopravna, Hradlo, Hlaska, Kilometr});
ed07 src/editing/ProfileEditor.cpp :: return m_direction == 1 ? row : stationCount() + 1 - row; ==> return m_direction == 1 ? row : stationCount() - row;
ed08 src/editing/ProfileEditor.cpp :: const double s = std::nearbyint(time * 86400.0); ==> const double s = std::trunc(time * 86400.0);
ed09 src/editing/InsertTool.cpp :: text += QStringLiteral(",5"); ==> text += QStringLiteral(".5");
ed10 src/editing/InsertTool.cpp :: const double halfMinutes = Geometry::round( ==> const double halfMinutes = std::trunc(
ed11 src/editing/InsertTool.cpp :: m_bands[0].hi = (m_bands[1].lo + m_bands[0].lo) / 2; ==> m_bands[0].hi = (m_bands[1].lo + m_bands[0].lo) / 3;
ed12 src/editing/InsertTool.cpp :: if (!keepFixed && j == target) ==> if (false)
ed13 src/editing/LabelDrag.cpp :: + pixelsDown * pi / 180; ==> + pixelsDown * pi / 90;
ed14 src/editing/FindTrain.cpp :: if (upperCaseCz(part) == upperText) ==> if (part == upperText)
ed15 src/editing/Panning.cpp :: if (dx >= 6) { ==> if (dx >= 7) {
ed16 src/editing/HalfMinuteText.cpp :: value = 1; ==> value = 0;
ed17 src/editing/EditHistory.cpp :: if (!after->sameContent(*before)) { ==> if (true) {
cz01 src/io/czptt/CzpttMessage.cpp :: l.shortDwell = true; ==> l.shortDwell = false;
cz02 src/io/czptt/CzpttMessage.cpp :: if (!start.isValid() || day < start || day > end) ==> if (!start.isValid() || day < start || day >= end)
gt01 src/io/gtfs/GtfsDayReader.cpp :: c.departure - c.arrival < 30; ==> c.departure - c.arrival <= 30;
gt02 src/io/gtfs/GtfsDayReader.cpp :: call.stops = c.publicStop || c.departure > c.arrival; ==> call.stops = c.publicStop;
im01 src/import/CodebookPlacement.cpp :: metres[i] = *metres[i + 1] - sign * *d; ==> metres[i] = *metres[i + 1] + sign * *d;
im02 src/import/LinePlanner.cpp :: const bool firstLeads = startsAtFirst > startsAtSecond ==> const bool firstLeads = startsAtFirst < startsAtSecond
im03 src/import/ImportSession.cpp :: if (m_codebook)\n            m_codebook->describe(m_day); ==> if (false)\n            m_codebook->describe(m_day);
cf01 src/conflicts/SectionRules.cpp :: if (section.tracks >= Tracks::doubleTrack || ==> if (section.tracks > Tracks::doubleTrack ||
cf02 src/conflicts/SectionRules.cpp :: const bool sameDirection = a.dir != 0 && a.dir == b.dir; ==> const bool sameDirection = a.dir != 0 && a.dir != b.dir;
cf03 src/conflicts/SectionRules.cpp :: const double least = section.headway - headwaySlack; ==> const double least = section.headway + headwaySlack;
cf04 src/conflicts/StationRules.cpp :: if (needed > tracks && latest) { ==> if (needed > tracks + 1 && latest) {
cf05 src/conflicts/ConflictIndex.cpp :: sections.assign(before.ids.begin(), before.ids.begin() + before.sections); ==> sections.clear();
cf06 src/conflicts/ConflictCheck.cpp :: KeptConflicts first(m_kept); ==> KeptConflicts first(m_kept - 1);
cf07 src/conflicts/TrainTrace.cpp :: offset += DayCircle::day; ==> offset += DayCircle::day / 2;
cf08 src/conflicts/ConflictCheck.cpp :: && !m_index.boundCut()) ==> )
cf09 src/conflicts/KeptConflicts.cpp :: m_offered = m_list.size();\n    }\n    if (m_list.size() <= ==> m_offered = 0;\n    }\n    if (m_list.size() <=
cf10 src/conflicts/TrainTrace.cpp :: if (p.pieceCount == 1 && p.entersAtEnd ==> if (p.entersAtEnd
cf11 src/conflicts/TrainTrace.h :: return dir > 0 ? Piece{tIn - shift, dLow ==> return dir < 0 ? Piece{tIn - shift, dLow
EOF
)

usage()
{
  sed -n '2,/^set -e/p' "$0" | sed '$d' | sed 's/^# \{0,1\}//'
}

list=0
check=0
baseline=1
sync=1
wanted=()
for arg in "$@"; do
  case $arg in
  --list) list=1 ;;
  --check) check=1 ;;
  --skip-baseline) baseline=0 ;;
  --no-sync) sync=0 ;;
  -h | --help) usage; exit 0 ;;
  -*) echo "mutate.sh: unknown option $arg" >&2; exit 2 ;;
  *) wanted+=("$arg") ;;
  esac
done

ids=() files=() searches=() replaces=()
while IFS= read -r line; do
  [ -z "$line" ] && continue
  head=${line%% :: *}
  body=${line#* :: }
  id=${head%% *}
  file=${head#* }
  search=${body%% ==> *}
  replace=${body#* ==> }
  [ "$replace" = "$body" ] && replace=${body#*==> } # an empty replacement
  [ "$replace" = "$body" ] && { echo "mutate.sh: bad entry: $line" >&2; exit 2; }
  search=${search//\\n/$'\n'}
  replace=${replace//\\n/$'\n'}
  ids+=("$id") files+=("$file") searches+=("$search") replaces+=("$replace")
done <<<"$mutations"

selected=()
if [ ${#wanted[@]} -eq 0 ]; then
  selected=("${!ids[@]}")
else
  for w in "${wanted[@]}"; do
    found=
    for i in "${!ids[@]}"; do
      [ "${ids[$i]}" = "$w" ] && { selected+=("$i"); found=1; }
    done
    [ -n "$found" ] || { echo "mutate.sh: no mutation $w" >&2; exit 2; }
  done
fi

if [ $list -eq 1 ]; then
  for i in "${selected[@]}"; do
    printf '%-5s %s\n      - %s\n      + %s\n' "${ids[$i]}" "${files[$i]}" "${searches[$i]}" "${replaces[$i]}"
  done
  echo "${#selected[@]} mutations"
  exit 0
fi

# How often a literal text occurs in a file's text.
occurrences()
{
  local text=$1 pattern=$2
  local rest=${text//"$pattern"/}
  echo $(((${#text} - ${#rest}) / ${#pattern}))
}

read_file()
{
  local -n into=$1
  into=
  IFS= read -r -d '' into <"$2" || true
}

# Which mutations still apply to a source tree.
stale=()
runnable=()
check_patterns()
{
  local base=$1 i text n
  for i in "${selected[@]}"; do
    if [ ! -f "$base/${files[$i]}" ]; then
      n=0
    else
      read_file text "$base/${files[$i]}"
      n=$(occurrences "$text" "${searches[$i]}")
    fi
    if [ "$n" -eq 1 ]; then
      runnable+=("$i")
    else
      stale+=("$i")
      printf '%-5s %-38s stale (the pattern matches %d times)\n' "${ids[$i]}" "${files[$i]}" "$n"
    fi
  done
}

if [ $check -eq 1 ]; then
  check_patterns "$root"
  echo "${#runnable[@]} of ${#selected[@]} mutations apply"
  [ ${#stale[@]} -eq 0 ]
  exit
fi

# The copy of the checkout: tracked and new files, copied only when they
# differ so that unchanged files keep their times and objects.
sync_tree()
{
  mkdir -p "$tree"
  declare -A keep=()
  local f
  while IFS= read -r -d '' f; do
    [ -f "$root/$f" ] || continue
    keep[$f]=1
    if ! cmp -s "$root/$f" "$tree/$f"; then
      mkdir -p "$tree/$(dirname "$f")"
      cp "$root/$f" "$tree/$f"
    fi
  done < <(git ls-files -z --cached --others --exclude-standard)
  while IFS= read -r -d '' f; do
    f=${f#"$tree"/}
    [ -n "${keep[$f]:-}" ] || rm -f "$tree/$f"
  done < <(find "$tree" -path "$bdir" -prune -o -type f -print0)
}

mutated=
restore()
{
  if [ -n "$mutated" ]; then
    cp "$work/original" "$tree/$mutated" # a new time: the next build compiles it again
    mutated=
  fi
}
trap 'restore; rm -f "${MUTATE_COPY:-}"' EXIT
trap 'restore; exit 130' INT TERM

build()
{
  cmake --build "$bdir" -j"$jobs" >"$1" 2>&1
}

# Whether the suite passes, and the first failing test in $failed. The
# test program of the mutated module runs first, on its own and stopping at
# its first failure: most mutants die there in seconds. Then the whole suite.
failed=
run_tests()
{
  local log=$1 home=${2:-}
  failed=
  : >"$log"
  export QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
  if [ -n "$home" ] && [ -x "$bdir/tests/$home/test_$home" ]; then
    if ! (cd "$bdir/tests/$home" && XDG_CONFIG_HOME="$PWD/xdg" timeout "$timeout" \
      "./test_$home" --gtest_brief=1 --gtest_fail_fast >>"$log" 2>&1); then
      failed=$(grep -m1 -E '^\[  FAILED  \] [A-Za-z]' "$log" | sed -E 's/^\[  FAILED  \] ([^ ,]*).*/\1/')
      failed="test_$home: ${failed:-crashed or timed out}"
      return 1
    fi
  fi
  if (cd "$bdir" && ctest -j"$jobs" --timeout "$timeout" --stop-on-failure -E '^packaging_' >>"$log" 2>&1); then
    return 0
  fi
  failed=$(sed -n '/The following tests FAILED:/,$p' "$log" | sed -n '2p' | sed -E 's/^[[:space:]]*[0-9]+ - //')
  [ -n "$failed" ] || failed=$(grep -m1 -E '\*\*\*(Failed|Timeout|Exception)' "$log" | sed -E 's/^.*Test +#[0-9]+: //')
  return 1
}

mkdir -p "$logs"
if [ $sync -eq 1 ]; then
  sync_tree
elif [ ! -d "$tree/src" ]; then
  echo "mutate.sh: --no-sync, but there is no copy yet"; exit 2
fi
check_patterns "$tree"
[ ${#runnable[@]} -gt 0 ] || { echo "mutate.sh: nothing to run"; exit 2; }

export CCACHE_BASEDIR=$tree CCACHE_NOHASHDIR=1
if [ ! -f "$bdir/CMakeCache.txt" ]; then
  flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DVLAKORYS_BUILD_BENCHMARKS=OFF -DVLAKORYS_FUZZ=OFF)
  command -v ccache >/dev/null 2>&1 && flags+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  # lld links the many test programs again after every mutant much faster.
  command -v ld.lld >/dev/null 2>&1 && flags+=(-DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=lld)
  cmake -S "$tree" -B "$bdir" "${flags[@]}" >"$logs/configure.log" 2>&1
fi
echo "building the unmutated copy (log: $logs/baseline.build.log)"
build "$logs/baseline.build.log" || { echo "mutate.sh: the unmutated code does not build"; exit 1; }
if [ $baseline -eq 1 ]; then
  echo "running the unmutated suite"
  if ! run_tests "$logs/baseline.test.log"; then
    echo "mutate.sh: the unmutated suite fails ($failed); see $logs/baseline.test.log"
    exit 1
  fi
fi

killed=0
survivors=()
for i in "${runnable[@]}"; do
  id=${ids[$i]} file=${files[$i]}
  start=$SECONDS
  cp "$tree/$file" "$work/original"
  read_file text "$tree/$file"
  mutated=$file
  printf '%s' "${text/"${searches[$i]}"/"${replaces[$i]}"}" >"$tree/$file"
  if ! build "$logs/$id.build.log"; then
    result="killed (does not compile)"
    killed=$((killed + 1))
  elif module=${file#src/} && run_tests "$logs/$id.test.log" "${module%%/*}"; then
    result="SURVIVED"
    survivors+=("$id")
  else
    result="killed ($failed)"
    killed=$((killed + 1))
  fi
  restore
  printf '%-5s %-38s %s [%ds]\n' "$id" "$file" "$result" $((SECONDS - start))
done

# Leave the build as the copy is, unmutated.
build "$logs/final.build.log" || true
echo "killed $killed of ${#runnable[@]}${survivors:+; survivors: ${survivors[*]}}"
[ ${#stale[@]} -eq 0 ] || echo "stale: ${#stale[@]} (their patterns no longer match)"
