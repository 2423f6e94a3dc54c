#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows installer under wine, silently (/S) as an administrator's
# script runs it: it puts the programs in Program Files with a Start-menu
# entry, makes .sin files open in z-lm5.exe, and its uninstaller removes
# all of that and leaves the user's backups alone.
#
#   installer_wine_test.sh WINE_RUN BUILD_DIR
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../packaging/test_lib.sh"
source "$here/../../tools/wine_test_lib.sh"

wine_run=$1 build=$2
use_wine "$wine_run"
installers=("$build"/z-lm5-*-windows-x64.exe)
if [ ! -f "${installers[0]}" ]; then
  echo "SKIPPED: no installer in $build (scripts/windows makes it before the tests)"
  exit 77
fi
drive_c=$WINEPREFIX/drive_c
reg_value() { "$wine_run" reg query "$1" 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_SZ *//p' | head -n1; }

# The prefix's user: the one folder under users/ besides Public.
user_folder=$(ls -d "$drive_c"/users/*/ | grep -v '/Public/$' | head -n1)
backups=${user_folder}AppData/Local/z-lm5/backups
mkdir -p "$backups"
printf 'a backup of the user' >"$backups/installer-test-keep.sin"

"$wine_run" "${installers[0]}" /S || fail "the installer ended with $?"
target="$drive_c/Program Files/Z-LM5"
for f in z-lm5.exe z-lm5-cli.exe Qt6Widgets.dll plugins/platforms/qwindows.dll \
         translations/qtbase_zh_CN.qm qt.conf LICENSE.txt Uninstall.exe; do
  [ -f "$target/$f" ] || fail "not installed: $f"
done
expect_eq ".sin type" "Z-LM5.ChannelData" "$(reg_value 'HKCR\.sin')"
expect_eq ".sin opens in" '"C:\Program Files\Z-LM5\z-lm5.exe" "%1"' \
  "$(reg_value 'HKCR\Z-LM5.ChannelData\shell\open\command')"
links=$(find "$drive_c/ProgramData/Microsoft/Windows/Start Menu" -name 'Z-LM5*.lnk' | wc -l)
[ "$links" -ge 1 ] || fail "no Start-menu entry"

"$wine_run" "C:\\Program Files\\Z-LM5\\Uninstall.exe" /S || fail "the uninstaller ended with $?"
# The uninstaller copies itself away and runs from there: wait for it.
for i in $(seq 1 100); do
  [ -e "$target/z-lm5.exe" ] || break
  sleep 0.2
done
[ ! -e "$target/z-lm5.exe" ] || fail "the uninstaller left z-lm5.exe"
expect_eq ".sin type after the uninstall" "" "$(reg_value 'HKCR\.sin')"
[ -z "$(find "$drive_c/ProgramData/Microsoft/Windows/Start Menu" -name 'Z-LM5*.lnk')" ] ||
  fail "the uninstaller left the Start-menu entry"
[ -f "$backups/installer-test-keep.sin" ] || fail "the uninstaller removed the user's backups"
rm -f "$backups/installer-test-keep.sin"
finish
