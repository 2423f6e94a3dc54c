#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Qt's own Chinese texts in the Windows zip: the zip is unpacked into a
# folder with a Chinese name (as a Chinese user's Documents folder may be),
# the test program is put beside z-lm5.exe, where Qt reads the package's
# qt.conf and finds its translations folder, and run there under wine. A
# package that lost Qt's translation, or a qt.conf that points elsewhere,
# leaves Qt's buttons and menus in English and fails it.
#
#   package_translation_wine_test.sh WINE_RUN BUILD_DIR TEST_EXE QT_PLUGINS
#
# QT_PLUGINS is the Windows Qt's plugin folder: the offscreen platform the
# test draws on is not in the package.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../packaging/test_lib.sh"
source "$here/../../tools/wine_test_lib.sh"

wine_run=$1 build=$2 test_exe=$3 qt_plugins=$4
use_wine "$wine_run"
need_zip "$build"
work=$(mktemp -d "${TMPDIR:-/tmp}/zlm5-wine-package-XXXXXX")
trap 'rm -rf "$work"' EXIT
# File names pass to wine in UTF-8.
export LC_ALL=C.UTF-8
folder="$work/无线电 程序"
mkdir -p "$folder"
unpack_zip "$folder"
for f in z-lm5.exe qt.conf translations/qtbase_zh_CN.qm; do
  [ -f "$PACKAGE/$f" ] || fail "not in the zip: $f"
done
cp "$test_exe" "$PACKAGE/"
"$wine_run" "$PACKAGE/$(basename "$test_exe")" -platform offscreen \
  -platformpluginpath "Z:${qt_plugins//\//\\}\\platforms" ||
  fail "Qt's texts in the package are not Chinese (the test program ended with $?)"
finish
