#!/usr/bin/env bash
# The launcher and the AppStream data pass their validators without a
# single remark.
# Usage: desktop_files_test.sh DESKTOP_FILE METAINFO
set -uo pipefail
source "$(dirname "$0")/test_lib.sh"
need_tool desktop-file-validate desktop-file-utils
need_tool appstreamcli appstream
desktop=$1 metainfo=$2

remarks=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate failed"
[ -z "$remarks" ] || fail "desktop-file-validate: $remarks"
# --strict fails on warnings and infos too.
remarks=$(appstreamcli validate --no-net --strict "$metainfo" 2>&1) ||
  fail "appstreamcli validate: $remarks"
grep -q '<project_license>GPL-3.0-or-later</project_license>' "$metainfo" ||
  fail "the metainfo names no GPL-3.0-or-later licence"
finish
