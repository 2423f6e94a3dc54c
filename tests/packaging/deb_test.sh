#!/usr/bin/env bash
# The Debian package holds the three programs, their man pages, the desktop
# registration, the completion and the licence, declares its section and
# dependencies, and the programs run from where it unpacks them.
# Usage: deb_test.sh VERSION FILE.deb
#        deb_test.sh VERSION --build BUILD_DIR   (packs that build first)
set -uo pipefail
source "$(dirname "$0")/test_lib.sh"
need_tool dpkg-deb dpkg
version=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

if [ "$2" == "--build" ]; then
  need_tool cpack cmake
  if ! cpack -G DEB --config "$3/CPackConfig.cmake" -B "$scratch/pack" >"$scratch/cpack.log" 2>&1; then
    cat "$scratch/cpack.log" >&2
    fail "cpack failed"
    finish
  fi
  deb=$(echo "$scratch"/pack/z-lm5_*.deb)
else
  deb=$2
fi
arch=$(dpkg --print-architecture)
expect_eq "package file name" "z-lm5_${version}_${arch}.deb" "$(basename "$deb")"

field() { dpkg-deb -f "$deb" "$1"; }
expect_eq "Package" z-lm5 "$(field Package)"
expect_eq "Version" "$version" "$(field Version)"
expect_eq "Section" hamradio "$(field Section)"
expect_eq "Architecture" "$arch" "$(field Architecture)"
depends=$(field Depends)
for dependency in 'libc6 (' 'libqt6widgets6 (' 'libqt6printsupport6 (' fonts-liberation \
                  'fonts-arphic-uming | fonts-noto-cjk' libqt6svg6; do
  [[ $depends == *"$dependency"* ]] || fail "Depends lacks $dependency: $depends"
done

root=$scratch/root
dpkg -x "$deb" "$root"
outside=$(cd "$root" && find . -mindepth 1 -maxdepth 1 ! -name usr)
[ -z "$outside" ] || fail "files outside /usr: $outside"
for program in z-lm5 z-lm5-cli z-lm5-radio-sim; do
  [ -x "$root/usr/bin/$program" ] || fail "missing program: /usr/bin/$program"
done
doc=/usr/share/doc/z-lm5
expect_file "$root" \
  /usr/share/man/man1/z-lm5.1.gz /usr/share/man/man1/z-lm5-cli.1.gz \
  /usr/share/man/man1/z-lm5-radio-sim.1.gz \
  /usr/share/applications/com.vrax.zlm5.desktop \
  /usr/share/metainfo/com.vrax.zlm5.metainfo.xml \
  /usr/share/mime/packages/com.vrax.zlm5.xml \
  /usr/share/icons/hicolor/48x48/apps/com.vrax.zlm5.png \
  /usr/share/icons/hicolor/scalable/apps/com.vrax.zlm5.svg \
  /usr/share/icons/hicolor/48x48/mimetypes/application-x-zlm5-channel-data.png \
  /usr/share/bash-completion/completions/z-lm5-cli \
  $doc/copyright $doc/changelog.gz $doc/manual.html $doc/main-window.png

# The licence in Debian's machine-readable form; the changelog's newest
# entry is this version.
expect_eq "copyright format" "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" \
  "$(head -n 1 "$root$doc/copyright")"
grep -qx 'License: GPL-3.0+' "$root$doc/copyright" || fail "copyright names no GPL-3.0+"
expect_eq "changelog entry" "z-lm5 ($version) unstable; urgency=medium" \
  "$(gzip -dc "$root$doc/changelog.gz" | head -n 1)"
grep -q "<release version=\"$version\"" "$root/usr/share/metainfo/com.vrax.zlm5.metainfo.xml" ||
  fail "metainfo has no release $version"

# The unpacked programs run (their libraries come from the system).
expect_eq "unpacked z-lm5-cli --version" "z-lm5-cli $version" "$("$root/usr/bin/z-lm5-cli" --version)"
expect_eq "unpacked z-lm5-radio-sim --version" "z-lm5-radio-sim $version" \
  "$("$root/usr/bin/z-lm5-radio-sim" --version)"
expect_eq "unpacked z-lm5 --version" "z-lm5 $version" \
  "$(QT_QPA_PLATFORM=offscreen "$root/usr/bin/z-lm5" --version 2>/dev/null)"
"$root/usr/bin/z-lm5-cli" new -o "$scratch/new.sin" || fail "unpacked z-lm5-cli new failed"
expect_eq "size of a new channel data file" 4096 "$(stat -c %s "$scratch/new.sin" 2>/dev/null)"
if readelf -d "$root/usr/bin/z-lm5-cli" | grep -q 'libQt6Widgets'; then
  fail "the packaged z-lm5-cli links Qt Widgets"
fi
if command -v man >/dev/null; then
  for page in z-lm5 z-lm5-cli z-lm5-radio-sim; do
    MANWIDTH=80 man -l "$root/usr/share/man/man1/$page.1.gz" | grep -q "^NAME" ||
      fail "man page $page.1.gz does not read"
  done
fi

if command -v lintian >/dev/null; then
  # Errors fail; warnings are shown.
  lintian --fail-on error --tag-display-limit 0 "$deb" || fail "lintian reports errors"
else
  echo "lintian is not installed: not run"
fi
finish
