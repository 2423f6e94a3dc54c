#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the Windows serial port's test program under wine against
# z-lm5-radio-sim on Linux, which the program sees as COM10 of the build's
# wine prefix (ZLM5_TEST_COM_PORT). Only the port's tests: the others ran
# in the program's own run, and the port finder's test writes the
# registry, which two runs at once in one prefix must not share.
#
#   serial_port_win_test.sh WINE_RUN TEST_EXE LINUX_SIM
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../tools/wine_test_lib.sh"

wine_run=$1 exe=$2 sim=$3
use_wine "$wine_run"
work=$(mktemp -d "${TMPDIR:-/tmp}/zlm5-wine-port-XXXXXX")
trap 'sim_stop "${SIM_PID:-}"; rm -rf "$work"' EXIT

sim_on_com "$sim" 10 "$work" || exit 1
echo "COM10: $(head -n1 "$work/sim-10.out")"
ZLM5_TEST_COM_PORT=COM10 "$wine_run" "$exe" --gtest_filter='SerialPortWin*'
status=$?
# Whatever ends it, the log says how.
[ "$status" -eq 0 ] || echo "the test program ended with $status" >&2
exit "$status"
