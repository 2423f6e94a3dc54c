#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The channel grid as a screen reader on Linux sees it: z-lm5 on a private
# X display, its accessibility bridge talking to the AT-SPI bus of a private
# D-Bus session, read with pyatspi (atspi_grid_test.py does the reading).
#
# Usage: atspi_grid_test.sh Z-LM5 Z-LM5-CLI
# Exits 77 (skipped) with a message when a piece of the set-up is missing:
# dbus-run-session, Xvfb, xdotool, the AT-SPI bus launcher or python3-pyatspi.
set -u

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

skip() {
  echo "SKIP: $*" >&2
  exit 77
}

[ $# -eq 2 ] || { echo "usage: $0 Z-LM5 Z-LM5-CLI" >&2; exit 2; }

command -v dbus-run-session >/dev/null || skip "dbus-run-session is not installed (Debian: dbus-daemon)"
command -v Xvfb >/dev/null || skip "Xvfb is not installed (Debian: xvfb)"
command -v xdotool >/dev/null || skip "xdotool is not installed (Debian: xdotool)"

launcher=
for candidate in /usr/libexec/at-spi-bus-launcher /usr/lib/at-spi2-core/at-spi-bus-launcher \
  /usr/lib/at-spi-bus-launcher; do
  [ -x "$candidate" ] && { launcher=$candidate; break; }
done
[ -n "$launcher" ] || skip "the AT-SPI bus launcher is not installed (Debian: at-spi2-core)"

# pyatspi comes with the system's Python; a Python of its own on PATH
# (pyenv, a virtual environment) does not see it.
python=
for candidate in /usr/bin/python3 "$(command -v python3 || true)"; do
  if [ -z "$candidate" ] || [ ! -x "$candidate" ]; then continue; fi
  if "$candidate" -c 'import pyatspi' 2>/dev/null; then
    python=$candidate
    break
  fi
done
[ -n "$python" ] || skip "pyatspi is not installed (Debian: python3-pyatspi)"

export ZLM5_ATSPI_BUS_LAUNCHER=$launcher
exec dbus-run-session -- "$python" "$here/atspi_grid_test.py" "$@"
