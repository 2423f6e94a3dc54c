# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the Windows tests that run under wine: the build's wine
# prefix, and the Linux radio simulator on a pseudo-terminal, seen by the
# Windows programs as a COM port of that prefix.
#
# wine rewrites com1 to com4 in the prefix when its server starts, so the
# tests use COM5 and up, one number each so that they can run at once.

# use_wine WINE_RUN: ends the test as skipped (77) without wine; otherwise
# exports the WINEPREFIX that WINE_RUN (the build's wine-run) uses.
use_wine() {
  if [ ! -x "$1" ] || ! command -v wine >/dev/null; then
    echo "SKIPPED: wine is not installed (Debian packages wine and wine64)"
    exit 77
  fi
  WINEPREFIX=$(sed -n 's/^WINEPREFIX="\${WINEPREFIX:-\(.*\)}"$/\1/p' "$1")
  export WINEPREFIX
}

# need_zip BUILD: sets ZIP to the Windows zip that scripts/windows made in
# BUILD; ends the test as skipped (77) without one, or without unzip.
need_zip() {
  local zips=("$1"/z-lm5-*-windows-x64.zip)
  if [ ! -f "${zips[0]}" ]; then
    echo "SKIPPED: no zip in $1 (scripts/windows makes it before the tests)"
    exit 77
  fi
  need_tool unzip unzip
  ZIP=${zips[0]}
}

# unpack_zip DIR: unpacks ZIP into DIR and sets PACKAGE to the program's
# folder in it. Fails the test when it cannot.
unpack_zip() {
  local packages
  unzip -q "$ZIP" -d "$1" || fail "cannot unpack $ZIP"
  packages=("$1"/z-lm5-*-windows-x64)
  PACKAGE=${packages[0]}
}

# sim_on_com SIM NUMBER DIR [SIMULATOR OPTIONS...]
# Starts SIM with its terminal linked as COM<NUMBER> (the link is
# $WINEPREFIX/dosdevices/com<NUMBER>), its standard output and error in
# DIR. Sets SIM_PID. Fails when the simulator does not come up.
sim_on_com() {
  local sim=$1 number=$2 dir=$3
  shift 3
  local link="$WINEPREFIX/dosdevices/com$number"
  mkdir -p "$WINEPREFIX/dosdevices"
  rm -f "$link"
  "$sim" --link "$link" "$@" >"$dir/sim-$number.out" 2>"$dir/sim-$number.err" &
  SIM_PID=$!
  local i
  for i in $(seq 1 200); do
    if [ -L "$link" ] && [ -s "$dir/sim-$number.out" ]; then return 0; fi
    if ! kill -0 "$SIM_PID" 2>/dev/null; then break; fi
    sleep 0.05
  done
  echo "the simulator for COM$number did not start:" >&2
  cat "$dir/sim-$number.err" >&2
  return 1
}

# sim_stop PID: ends the simulator (it saves its memory first).
sim_stop() {
  kill -TERM "$1" 2>/dev/null || true
  wait "$1" 2>/dev/null || true
}
