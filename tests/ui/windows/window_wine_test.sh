#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The window program for Windows under wine, as its user works it: the
# z-lm5.exe of the zip, unpacked, with nothing of the build on wine's DLL
# path, on a private X display opens a channel data file, reads the radio
# (z-lm5-radio-sim on Linux, seen as COM11 of the build's wine prefix)
# through Program > Read From Radio, and saves with Ctrl+S. The saved file
# must hold the radio's memory byte for byte, as the Linux read of the same
# radio does, and a backup of the read must be under %LOCALAPPDATA%.
#
#   window_wine_test.sh WINE_RUN BUILD_DIR LINUX_CLI LINUX_SIM [SCREENSHOT.png]
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../packaging/test_lib.sh"
source "$here/../../tools/wine_test_lib.sh"

wine_run=$1 build=$2 linux_cli=$3 sim=$4 screenshot=${5:-}
for tool in Xvfb xdotool; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIPPED: $tool is not installed (Debian packages xvfb and xdotool)"
    exit 77
  fi
done
use_wine "$wine_run"
need_zip "$build"

work=$(mktemp -d "${TMPDIR:-/tmp}/zlm5-wine-window-XXXXXX")
xvfb_pid="" window_pid="" SIM_PID=""
cleanup() {
  [ -n "$window_pid" ] && kill "$window_pid" 2>/dev/null
  sim_stop "$SIM_PID"
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
cd "$work"

# A display of its own: the first free number from 90 up.
display=90
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do
  display=$((display + 1))
done
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >xvfb.log 2>&1 &
xvfb_pid=$!
export DISPLAY=":$display"
# Waits up to 300 s (wine's first start of a window on a busy machine is
# slow) for a condition, returning as soon as it holds.
wait_for() {
  local i start=$SECONDS
  for i in $(seq 1 3000); do
    [ $((SECONDS - start)) -gt 300 ] && return 1
    if eval "$1"; then return 0; fi
    sleep 0.1
  done
  return 1
}
wait_for "xdotool getmouselocation >/dev/null 2>&1" || { echo "Xvfb did not start"; exit 1; }

# A wine prefix of its own, started on this display: in the build's prefix
# wine's desktop may already run without one (the other tests need none),
# and the window would then never show.
export WINEPREFIX=$work/wine
"$wine_run" wineboot --init >wineboot.log 2>&1 || true

printf 'Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,Mode\r\n1,CALL,146.520000,,0.000000,Tone,88.5,88.5,FM\r\n2,REP,145.610000,-,0.600000,TSQL,67.0,67.0,NFM\r\n' >list.csv
"$linux_cli" new -o blank.sin >/dev/null
"$linux_cli" import blank.sin list.csv -o radio.sin >/dev/null 2>&1 || fail "the Linux import failed"
cp blank.sin document.sin
unpack_zip package
exe=$PACKAGE/z-lm5.exe
[ -f "$exe" ] || { fail "no z-lm5.exe in $ZIP"; finish; }

sim_on_com "$sim" 11 "$work" --memory radio.sin || exit 1
WINEPATH= "$wine_run" "$exe" --port COM11 document.sin >window.out 2>window.err &
window_pid=$!
window=""
find_window() { window=$(xdotool search --onlyvisible --name 'Z-LM5' 2>/dev/null | tail -n1); [ -n "$window" ]; }
if ! wait_for find_window; then
  fail "the window did not open; its error output: $(cat window.err); the windows: $(
    xdotool search --name '.' 2>/dev/null | while read -r w; do xdotool getwindowname "$w"; done |
      tr '\n' ';')"
  finish
fi
# No window manager here: the keyboard goes to the window as one would
# give it. Program > Read From Radio, then Start in the progress dialog.
visible_windows() { xdotool search --onlyvisible --name '.' 2>/dev/null | wc -l; }
sleep 2
base=$(visible_windows)
# Program > Read From Radio opens the progress dialog (a window more);
# a key that went astray on a busy machine is tried again.
started=false
for attempt in 1 2 3; do
  xdotool windowfocus --sync "$window" 2>/dev/null || true
  xdotool key --window "$window" alt+p
  wait_for "[ \$(visible_windows) -gt $base ]" || continue  # the menu
  xdotool key r
  sleep 2
  if [ "$(visible_windows)" -gt "$base" ]; then
    started=true
    break
  fi
done
$started || fail "Program > Read From Radio opened no progress dialog"
xdotool key Return
# The read takes some 16 s at 9600 baud. Ctrl+S saves once the read is
# in (during the read the progress dialog has the keyboard and the file
# stays as it was).
saved() {
  xdotool windowfocus "$window" 2>/dev/null
  xdotool key --window "$window" ctrl+s
  sleep 2
  ! cmp -s document.sin blank.sin
}
wait_for saved || fail "the file was not saved with the radio's memory after Read From Radio"
[ -n "$screenshot" ] && command -v import >/dev/null && import -window root "$screenshot" 2>/dev/null
kill "$window_pid" 2>/dev/null
window_pid=""
sim_stop "$SIM_PID"
SIM_PID=""

sim_on_com "$sim" 12 "$work" --memory radio.sin || exit 1
"$linux_cli" read --port "$WINEPREFIX/dosdevices/com12" -o linux-read.sin >/dev/null 2>&1 ||
  fail "the Linux read failed"
cmp -s document.sin linux-read.sin || fail "the file saved by the window differs from the Linux read"
backups=("$WINEPREFIX"/drive_c/users/*/AppData/Local/z-lm5/backups/*.sin)
[ -e "${backups[0]}" ] || fail "no backup of the read under %LOCALAPPDATA%\\z-lm5\\backups"
finish
