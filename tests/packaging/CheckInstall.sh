#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR as the package lays it out
# (prefix /usr) and checks it as a desktop reads it: the layout, the menu
# entry, the document type (by name and by the file's header), the manual
# pages against the tool's own help, and the installed tool's version.
#   CheckInstall.sh BUILD_DIR VERSION EXAMPLE.vrs
set -euo pipefail
build=$1 version=$2 example=$3

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR=$tmp/root cmake --install "$build" --prefix /usr >/dev/null
usr=$tmp/root/usr
share=$usr/share
icons=$share/icons/hicolor

# --- Layout ---------------------------------------------------------------
sizes=(16 22 24 32 48 64 128 256)
expected=(
  bin/vlakorys bin/vlakorys-cli
  share/applications/vlakorys.desktop
  share/mime/packages/vlakorys.xml
  share/icons/hicolor/scalable/apps/vlakorys.svg
  share/icons/hicolor/scalable/mimetypes/application-x-vlakorys.svg
  share/man/man1/vlakorys.1.gz share/man/man1/vlakorys-cli.1.gz
  share/doc/vlakorys/README.md share/doc/vlakorys/ARCHITECTURE.md share/doc/vlakorys/DOCUMENT-JSON.md
)
for f in "${expected[@]}"; do
  [ -f "$usr/$f" ] || fail "not installed: /usr/$f"
done
for f in bin/vlakorys bin/vlakorys-cli; do
  [ -x "$usr/$f" ] || fail "not executable: /usr/$f"
done
for size in "${sizes[@]}"; do
  for png in apps/vlakorys.png mimetypes/application-x-vlakorys.png; do
    file -b "$icons/${size}x$size/$png" | grep -q "^PNG image data, $size x $size," ||
      fail "${size}x$size/$png: $(file -b "$icons/${size}x$size/$png")"
  done
done
stray=$(cd "$tmp/root" && find . ! -type d ! -path './usr/bin/*' ! -path './usr/share/*')
[ -z "$stray" ] || fail "installed outside /usr/bin and /usr/share: $stray"

# --- Menu entry -----------------------------------------------------------
desktop=$share/applications/vlakorys.desktop
out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $out"
[ -z "$out" ] || fail "desktop-file-validate: $out"
grep -qx 'Exec=vlakorys %f' "$desktop" || fail "Exec does not pass the file (%f) to vlakorys"
grep -qx 'MimeType=application/x-vlakorys;' "$desktop" || fail "MimeType is not application/x-vlakorys"
grep -qx 'Icon=vlakorys' "$desktop" || fail "Icon is not the installed vlakorys icon"

# --- Document type ----------------------------------------------------------
xml=$share/mime/packages/vlakorys.xml
xmllint --noout "$xml" || fail "$xml is not well-formed"
grep -q 'type="application/x-vlakorys"' "$xml" || fail "$xml does not define application/x-vlakorys"
# Only the installed database is seen, and xdg-mime asks it (through
# mimetype) rather than a desktop's own service.
export XDG_DATA_DIRS=$share XDG_DATA_HOME=$tmp/home
unset XDG_CURRENT_DESKTOP DESKTOP_SESSION KDE_FULL_SESSION GNOME_DESKTOP_SESSION_ID MATE_DESKTOP_SESSION_ID \
  DISPLAY WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS DE
out=$(update-mime-database "$share/mime" 2>&1) || fail "update-mime-database: $out"
[ -z "$out" ] || fail "update-mime-database: $out"
[ -f "$share/mime/application/x-vlakorys.xml" ] || fail "update-mime-database did not take application/x-vlakorys"
command -v mimetype >/dev/null || fail "mimetype is missing (libfile-mimeinfo-perl; scripts/deps.sh installs it)"

mkdir "$tmp/files"
cp "$example" "$tmp/files/document"                     # the header alone
: >"$tmp/files/empty.vrs"                                # the name alone
printf '\rVlakorys 1.2?rest' >"$tmp/files/not-a-document" # a header of the wrong form
check_type() { # FILE EXPECTED | !EXPECTED
  local got
  got=$(xdg-mime query filetype "$tmp/files/$1")
  case $2 in
    !*) [ "$got" != "${2#!}" ] || fail "$1 taken for ${2#!}" ;;
    *) [ "$got" = "$2" ] || fail "$1 is '$got', expected $2" ;;
  esac
}
check_type document application/x-vlakorys
check_type empty.vrs application/x-vlakorys
check_type not-a-document '!application/x-vlakorys'

# --- Manual pages -----------------------------------------------------------
for page in vlakorys vlakorys-cli; do
  out=$(zcat "$share/man/man1/$page.1.gz" | groff -k -man -Tutf8 -ww -z 2>&1) || fail "$page.1: $out"
  [ -z "$out" ] || fail "$page.1: $out"
done
# Every command and option of the tool's help has its place in the page.
help=$("$usr/bin/vlakorys-cli" --help)
page=$(zcat "$share/man/man1/vlakorys-cli.1.gz" | sed 's/\\-/-/g')
commands=$(sed -n 's/^  \([a-z][a-z0-9-]*\) .*/\1/p' <<<"$help")
[ -n "$commands" ] || fail "no commands found in vlakorys-cli --help"
for c in $commands; do
  grep -qx "\.B vlakorys-cli $c" <<<"$page" || fail "vlakorys-cli.1 has no synopsis of '$c'"
done
for o in $(grep -o -- '--[a-z][a-z0-9-]*' <<<"$help" | sort -u); do
  grep -Eq -- "^\.B[IR]? $o( |\$)" <<<"$page" || fail "vlakorys-cli.1 does not describe $o"
done

# --- The installed tool -------------------------------------------------------
got=$("$usr/bin/vlakorys-cli" --version)
[ "$got" = "vlakorys-cli $version" ] || fail "vlakorys-cli --version printed '$got', expected 'vlakorys-cli $version'"

echo "install layout, desktop entry, document type, manual pages and version: ok"
