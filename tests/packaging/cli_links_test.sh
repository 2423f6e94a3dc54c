#!/usr/bin/env bash
# z-lm5-cli needs no widgets: it prints with Qt Gui only, and must run
# where the desktop program's libraries are not installed.
# Usage: cli_links_test.sh CLI
set -uo pipefail
source "$(dirname "$0")/test_lib.sh"
need_tool readelf binutils
cli=$1

needed=$(readelf -d "$cli" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
grep -qx 'libc.so.6' <<<"$needed" || fail "no libraries read from $cli: $needed"
if grep -q 'libQt6Widgets' <<<"$needed"; then fail "z-lm5-cli links Qt Widgets"; fi
# Nor through another library.
if ldd "$cli" | grep -q 'libQt6Widgets'; then fail "z-lm5-cli loads Qt Widgets"; fi
finish
