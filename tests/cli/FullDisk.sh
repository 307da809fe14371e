#!/usr/bin/env bash
# vlakorys-cli on a disk that fills up: a document built onto a 64 KiB tmpfs,
# the disk filled, the build and the pictures tried again. Each must fail with
# one line that names the cause, keep the earlier file and leave nothing
# else. The tmpfs is mounted in a mount namespace of the test's own; where
# none can be made the test is skipped (exit 77).
#   FullDisk.sh CLI SMALL.json LINE.vrs
set -euo pipefail

if [ -z "${VLAKORYS_FULL_DISK:-}" ]; then
  for flags in -rm -m; do
    if unshare "$flags" true 2>/dev/null; then
      dir=$(mktemp -d)
      trap 'rm -rf "$dir"' EXIT
      status=0
      VLAKORYS_FULL_DISK=$dir unshare "$flags" "$0" "$@" || status=$?
      exit "$status"
    fi
  done
  echo "unshare cannot make a mount namespace here: skipped"
  exit 77
fi

cli=$1 small=$2 line=$3
disk=$VLAKORYS_FULL_DISK
mount -t tmpfs -o size=64k vlakorys "$disk" 2>/dev/null || { echo "a tmpfs cannot be mounted: skipped"; exit 77; }
fail() { echo "FAIL: $*" >&2; exit 1; }

"$cli" build "$small" "$disk/h.vrs" || fail "the first build failed"
before=$(od -An -tx1 "$disk/h.vrs")
dd if=/dev/zero of="$disk/fill" bs=1k 2>/dev/null || true

# One line each, the file's cause after the program's words, and status 1.
expect_failure() {
  local out="$1" err status=0
  shift
  err=$("$cli" "$@" 2>&1 >/dev/null) || status=$?
  [ "$status" -eq 1 ] || fail "$*: exit status $status"
  [ "$err" = "vlakorys-cli: $out: Chyba při ukládání do souboru: disk je plný" ] || fail "$*: said '$err'"
}
expect_failure "$disk/h.vrs" build "$small" "$disk/h.vrs"
[ "$(od -An -tx1 "$disk/h.vrs")" = "$before" ] || fail "the earlier document changed"
for picture in view.png sheet.png sheet.pdf sheet.svg sheet.bmp; do
  sheet=()
  [ "${picture%%.*}" = sheet ] && sheet=(--sheet --dpi 75)
  expect_failure "$disk/$picture" render "$line" "$disk/$picture" "${sheet[@]}"
done
# The JSON of dump goes to standard output, here a file on the full disk.
status=0
err=$("$cli" dump "$line" 2>&1 >"$disk/dump.json") || status=$?
[ "$status" -eq 1 ] || fail "dump: exit status $status"
[ "$err" = "vlakorys-cli: Chyba při zápisu na standardní výstup: disk je plný" ] || fail "dump: said '$err'"
rm "$disk/dump.json"
left=$(cd "$disk" && ls -A | tr '\n' ' ')
[ "$left" = "fill h.vrs " ] || fail "left on the disk: $left"
# The same disk read-only: overwriting names the cause as a new file does.
mount -o remount,ro "$disk" || { echo "a tmpfs cannot be made read-only: skipped"; exit 77; }
for target in h.vrs new.vrs; do
  err=$("$cli" build "$small" "$disk/$target" 2>&1) && fail "a build onto a read-only disk succeeded"
  [ "$err" = "vlakorys-cli: $disk/$target: Chyba při vytváření souboru: systém souborů je jen pro čtení" ] ||
    fail "read-only $target: said '$err'"
done
echo "a full disk: every write refused, the earlier document kept"
