#!/usr/bin/env bash
# The one version of the project reaches every program's --version and the
# AppStream release entry.
# Usage: versions_test.sh VERSION CLI SIM [GUI METAINFO]
set -uo pipefail
source "$(dirname "$0")/test_lib.sh"
version=$1 cli=$2 sim=$3 gui=${4:-} metainfo=${5:-}

expect_eq "z-lm5-cli --version" "z-lm5-cli $version" "$("$cli" --version)"
expect_eq "z-lm5-radio-sim --version" "z-lm5-radio-sim $version" "$("$sim" --version)"
if [ -n "$gui" ]; then
  expect_eq "z-lm5 --version" "z-lm5 $version" "$(QT_QPA_PLATFORM=offscreen "$gui" --version 2>/dev/null)"
  grep -q "<release version=\"$version\" date=\"[0-9-]*\">" "$metainfo" ||
    fail "$metainfo has no release entry for $version"
fi
# Each help names the option.
"$cli" --help | grep -q -- "--version" || fail "z-lm5-cli --help does not name --version"
"$sim" --help | grep -q -- "--version" || fail "z-lm5-radio-sim --help does not name --version"
finish
