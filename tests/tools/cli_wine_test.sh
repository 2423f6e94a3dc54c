#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# z-lm5-cli.exe under wine, end to end: against z-lm5-radio-sim running on
# Linux, seen by the Windows program as a COM port of the build's wine
# prefix, and against the Linux z-lm5-cli on the same files. What a radio
# owner on Windows does: read, write with verify, a fleet of two, export,
# import, help, and a file named with non-Latin letters.
#
#   cli_wine_test.sh WINE_RUN CLI_EXE LINUX_CLI LINUX_SIM
#
# Two of the port's rules are not tested here, since wine does not keep
# them: a second program opening a COM port that is open is not refused
# under wine, and a simulator that hangs up shows as time-outs. The Linux
# tests hold both rules (serial_port_test, sim_transfer_test).
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../packaging/test_lib.sh"
source "$here/wine_test_lib.sh"

wine_run=$1 exe=$2 linux_cli=$3 sim=$4
use_wine "$wine_run"

work=$(mktemp -d "${TMPDIR:-/tmp}/zlm5-wine-XXXXXX")
sims=()
cleanup() {
  local p
  for p in "${sims[@]}"; do sim_stop "$p"; done
  rm -rf "$work"
}
trap cleanup EXIT
# Relative names only: wine sees this folder as the current one on its Z:
# drive, so the Windows program gets the same names as the Linux one.
cd "$work"

win() { "$wine_run" "$exe" "$@"; }
lin() { "$linux_cli" "$@"; }
# start_sim NUMBER [OPTIONS...]: a radio on COM<NUMBER>; its PID is kept.
start_sim() {
  sim_on_com "$sim" "$@" || return 1
  sims+=("$SIM_PID")
}
same_bytes() {  # WHAT A B
  cmp -s "$2" "$3" || fail "$1: $2 and $3 differ"
}

# The radio's memory: three channels typed in as a CSV import types them.
printf 'Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,Mode\r\n1,CALL,146.520000,,0.000000,Tone,88.5,88.5,FM\r\n2,REP,145.610000,-,0.600000,TSQL,67.0,67.0,NFM\r\n5,PMR,446.006250,,0.000000,,88.5,88.5,NFM\r\n' >list.csv
lin new -o blank.sin >/dev/null
lin import blank.sin list.csv -o radio.sin >/dev/null 2>&1 || fail "the Linux import of list.csv failed"

# Help: the program's is the same text, but for print where this build
# has none (built without Qt, which draws the report): it says so. A
# command's help names the platform's ports and folders.
expect_eq "--help" "$(lin --help | grep -v '^  print ')" "$(win --help | grep -v '^  print ')"
win_help=$(win --help)
if [[ $win_help != *"print     write the printed report"* ]]; then
  [[ $win_help == *"print     not in this build"* ]] || fail "--help does not say that print is missing"
fi
read_help=$(win read --help)
[[ $read_help == *"COM1 to COM256"* ]] || fail "read --help does not name COM1 to COM256"
[[ $read_help != *"/dev/"* ]] || fail "read --help names a Linux device"
[[ $(win ports --help) != *"/dev/"* ]] || fail "ports --help names Linux devices"
[[ $(win backups --help) == *'%LOCALAPPDATA%\z-lm5\backups'* ]] ||
  fail "backups --help does not name %LOCALAPPDATA%\\z-lm5\\backups"

# Read: the same file as the Linux read of the same radio, and a backup of
# it under %LOCALAPPDATA%.
start_sim 5 "$work" --memory radio.sin || exit 1
win read --port COM5 -o win-read.sin >win-read.out 2>win-read.err ||
  fail "read through COM5 failed: $(cat win-read.err)"
sim_stop "${sims[-1]}"
start_sim 9 "$work" --memory radio.sin || exit 1
lin read --port "$WINEPREFIX/dosdevices/com9" -o linux-read.sin >/dev/null 2>&1 ||
  fail "the Linux read failed"
sim_stop "${sims[-1]}"
same_bytes "the file read under wine and on Linux" win-read.sin linux-read.sin
backups=("$WINEPREFIX"/drive_c/users/*/AppData/Local/z-lm5/backups/*.sin)
if [ -e "${backups[0]}" ]; then
  same_bytes "the backup of the read" "${backups[-1]}" win-read.sin
else
  fail "no backup under %LOCALAPPDATA%\\z-lm5\\backups"
fi

# Write with verify: the radio then holds the file.
lin edit radio.sin -o changed.sin 3,1=438.5 2,11=HOME >/dev/null 2>&1 ||
  fail "the Linux edit failed"
start_sim 6 "$work" --memory radio.sin --save saved-6.sin || exit 1
win write changed.sin --port COM6 --verify >/dev/null 2>write.err ||
  fail "write --verify through COM6 failed: $(cat write.err)"
sim_stop "${sims[-1]}"
lin diff changed.sin saved-6.sin >diff.out || fail "the radio differs from the file written: $(cat diff.out)"

# A fleet of two radios at once.
start_sim 7 "$work" --memory radio.sin --save saved-7.sin || exit 1
start_sim 8 "$work" --memory radio.sin --save saved-8.sin || exit 1
win fleet write changed.sin --port COM7 --port COM8 >fleet.out 2>fleet.err ||
  fail "fleet write to COM7 and COM8 failed: $(cat fleet.err)"
sim_stop "${sims[-1]}"
sim_stop "${sims[-2]}"
lin diff changed.sin saved-7.sin >/dev/null || fail "the fleet's first radio differs from the file"
lin diff changed.sin saved-8.sin >/dev/null || fail "the fleet's second radio differs from the file"

# Export to standard output and import: byte for byte as on Linux (CRLF
# line ends once, not twice).
win export win-read.sin >win.csv || fail "export to standard output failed"
lin export linux-read.sin >linux.csv
same_bytes "export to standard output" win.csv linux.csv
win import blank.sin list.csv -o win-imported.sin >/dev/null 2>&1 || fail "import failed"
same_bytes "the imported file" win-imported.sin radio.sin

# A file named in other scripts opens and saves under its own name.
name='Kanäle-Канал.sin'
win new -o "$name" >/dev/null 2>&1 || fail "new -o $name failed"
win import "$name" list.csv >/dev/null 2>&1 || fail "import into $name failed"
[ -f "$name" ] || fail "$name is not in the folder under its UTF-8 name"
same_bytes "$name" "$name" radio.sin
expect_eq "export of $name" "$(lin export radio.sin)" "$(win export "$name")"

# A port that is not there: exit code 4 and the port's name.
win read --port COM250 -o none.sin >/dev/null 2>missing.err
expect_eq "exit code of a missing port" 4 "$?"
grep -q COM250 missing.err || fail "the missing port's message does not name it: $(cat missing.err)"
[ ! -e none.sin ] || fail "a failed read left a file"

finish
