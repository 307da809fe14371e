#!/usr/bin/env bash
# Builds the Debian package from this build with CPack and checks what apt
# will act on: the name, the dependencies (from the binaries and the run-time
# packages no binary names), the maintainer scripts and the payload; the
# licence and changelog Debian asks for; and that lintian finds no error.
#   CheckPackage.sh BUILD_DIR
set -euo pipefail
build=$1

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

out=$(cpack --config "$build/CPackConfig.cmake" -G DEB -B "$tmp" 2>&1) || fail "cpack: $out"
debs=("$tmp"/vlakorys_*.deb)
[ -f "${debs[0]}" ] || fail "cpack made no vlakorys_*.deb: $out"
deb=${debs[0]}

[ "$(dpkg-deb -f "$deb" Package)" = vlakorys ] || fail "package name: $(dpkg-deb -f "$deb" Package)"
depends=$(dpkg-deb -f "$deb" Depends)
for p in libqt6core6 libqt6gui6 libqt6widgets6 qt6-qpa-plugins qt6-translations-l10n fonts-liberation fonts-dejavu-core; do
  grep -Eq "(^|, )$p( |,|$)" <<<"$depends" || fail "Depends lacks $p: $depends"
done

scripts=$(dpkg-deb --ctrl-tarfile "$deb" | tar -tvf -)
for s in postinst postrm; do
  grep -Eq "^-rwxr-xr-x .* \./$s$" <<<"$scripts" || fail "$s missing or not executable: $scripts"
  dpkg-deb --ctrl-tarfile "$deb" | tar -xOf - "./$s" >"$tmp/$s"
  sh -n "$tmp/$s" || fail "$s is not a valid shell script"
  for tool in update-desktop-database update-mime-database gtk-update-icon-cache; do
    grep -q "$tool" "$tmp/$s" || fail "$s does not run $tool"
  done
done

payload=$(dpkg-deb -c "$deb" | awk '{print $NF}')
for f in ./usr/bin/vlakorys ./usr/bin/vlakorys-cli ./usr/share/applications/vlakorys.desktop \
  ./usr/share/mime/packages/vlakorys.xml ./usr/share/icons/hicolor/48x48/apps/vlakorys.png; do
  grep -qx -- "$f" <<<"$payload" || fail "the package lacks $f"
done

doc=./usr/share/doc/vlakorys
for f in $doc/copyright $doc/changelog.gz; do
  grep -qx -- "$f" <<<"$payload" || fail "the package lacks $f"
done
dpkg-deb --fsys-tarfile "$deb" | tar -xOf - "$doc/copyright" >"$tmp/copyright"
head -1 "$tmp/copyright" | grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
  fail "copyright is not in the machine-readable format"
grep -qx 'License: GPL-3+' "$tmp/copyright" || fail "copyright does not state GPL-3+"
version=$(dpkg-deb -f "$deb" Version)
dpkg-deb --fsys-tarfile "$deb" | tar -xOf - "$doc/changelog.gz" | gzip -dc | head -1 |
  grep -q "^vlakorys ($version) " || fail "the changelog's top entry is not version $version"

# lintian's errors fail the package; its warnings are shown.
command -v lintian >/dev/null || fail "lintian is missing (scripts/deps.sh installs it)"
report=$(lintian "$deb" 2>&1) || true
errors=$(grep '^E: ' <<<"$report" || true)
[ -z "$errors" ] || fail "lintian: $errors"
grep '^W: ' <<<"$report" || true

echo "package $(basename "$deb"): ok"
