#!/usr/bin/env bash
# End-to-end test of the real program: starts varnel on a private Xvfb display (no window
# manager) from a directory of its own with a settings file and a fixed idle load, and works it as
# a user would with xdotool: waits for the first tick, drags the window, opens the menu with a
# right click and picks items by their accelerator letters, double-clicks to hide the title bar,
# and exits through the menu; checks the window's place, size and hints and the settings file
# after each step, and that the window shows, pixel for pixel, the graph and the gauge that
# varnel-render draws for the same settings and load.
#
#   tests/e2e/run.sh path/to/varnel path/to/varnel-render path/to/xwdcompare
set -euo pipefail

VARNEL=${1:?usage: run.sh path/to/varnel path/to/varnel-render path/to/xwdcompare}
RENDER=${2:?usage: run.sh path/to/varnel path/to/varnel-render path/to/xwdcompare}
COMPARE=${3:?usage: run.sh path/to/varnel path/to/varnel-render path/to/xwdcompare}
for tool in Xvfb xdotool xprop xwininfo xdpyinfo xwd; do
  command -v "$tool" >/dev/null || { echo "e2e: $tool is missing"; exit 1; }
done

WORK=$(mktemp -d)
PIDS=()
cleanup() {
  local p
  for p in "${PIDS[@]}"; do kill "$p" 2>/dev/null || true; done
  for p in "${PIDS[@]}"; do wait "$p" 2>/dev/null || true; done
  rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
  echo "e2e FAILED: $*"
  [ -f "$WORK/FENDUL.INI" ] && { echo "--- settings file:"; cat "$WORK/FENDUL.INI"; }
  [ -f "$WORK/varnel.log" ] && { echo "--- program output:"; cat "$WORK/varnel.log"; }
  exit 1
}
# wait_for SECONDS DESCRIPTION COMMAND...: retries COMMAND every 50 ms until it succeeds.
wait_for() {
  local limit=$1 what=$2
  shift 2
  local end=$((SECONDS + limit))
  until "$@" >/dev/null 2>&1; do
    [ $SECONDS -lt $end ] || fail "timed out waiting for $what"
    sleep 0.05
  done
}

# A free display number.
DISP=""
for n in $(seq 91 160); do
  if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then DISP=":$n"; break; fi
done
[ -n "$DISP" ] || fail "no free display"
Xvfb "$DISP" -screen 0 1024x768x24 -nolisten tcp >"$WORK/xvfb.log" 2>&1 &
PIDS+=($!)
export DISPLAY=$DISP
wait_for 10 "the X server" xdpyinfo

# The program in a directory of its own, with its settings file beside it.
cp "$VARNEL" "$WORK/varnel"
printf '[FENDUL]\nLeft=100\nTop=50\nWidth=332\nHeight=190\nPlotSeconds=30\nLegend=1\n' >"$WORK/FENDUL.INI"
# Counters that never move: every tick reads a load of 0 (idle since start).
echo "cpu  0 0 0 1000 0 0 0 0 0 0" >"$WORK/stat"
cp "$WORK/FENDUL.INI" "$WORK/start.ini"
VARNEL_STAT_FILE="$WORK/stat" "$WORK/varnel" >"$WORK/varnel.log" 2>&1 &
VPID=$!
PIDS+=($VPID)

find_window() { xdotool search --onlyvisible --name '^(FENDUL|CPU Usage)$' 2>/dev/null | head -1; }
wait_for 10 "the window" find_window
WIN=$(find_window)
geometry() { xwininfo -id "$WIN" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF} /Width:/{w=$NF} /Height:/{h=$NF} END{print x, y, w, h}'; }
[ "$(geometry)" = "100 50 332 190" ] || fail "window at $(geometry), expected 100 50 332 190"
xprop -id "$WIN" _NET_WM_WINDOW_TYPE | grep -q _NET_WM_WINDOW_TYPE_UTILITY || fail "not a utility window"
STATE=$(xprop -id "$WIN" _NET_WM_STATE)
echo "$STATE" | grep -q _NET_WM_STATE_SKIP_TASKBAR || fail "taskbar entry not skipped: $STATE"
echo "$STATE" | grep -q _NET_WM_STATE_ABOVE || fail "not above other windows: $STATE"

# The first tick renames the window.
title_is() { [ "$(xdotool getwindowname "$WIN")" = "$1" ]; }
wait_for 5 "the first tick" title_is "CPU Usage"

# shows_picture NAME: the window's client area equals varnel-render's picture of the start-up
# settings (with the display the current settings file names) after a tick at the fixed load.
# Tried for up to two seconds, as the picture may reach the screen a moment after the title.
shows_picture() {
  sed "s/^Display=.*//" "$WORK/start.ini" >"$WORK/$1.ini"
  grep -h '^Display=' "$WORK/FENDUL.INI" >>"$WORK/$1.ini" || true
  "$RENDER" --ini "$WORK/$1.ini" --size 332x190 --samples 0 --out "$WORK/$1.png" >/dev/null
  local try
  for try in $(seq 20); do
    xwd -id "$WIN" -silent >"$WORK/$1.xwd" && "$COMPARE" "$WORK/$1.xwd" "$WORK/$1.png" >"$WORK/compare.log" && return 0
    sleep 0.1
  done
  cat "$WORK/compare.log"
  return 1
}
shows_picture graph || fail "the graph differs from varnel-render's"

# A drag anywhere in the client area moves the window (no window manager: the program moves it).
xdotool mousemove 200 120 mousedown 1
for step in 1 2 3 4 5; do xdotool mousemove $((200 + step * 8)) $((120 + step * 6)); sleep 0.03; done
xdotool mouseup 1
moved_to() { [ "$(geometry)" = "$1" ]; }
wait_for 3 "the drag" moved_to "140 80 332 190"

ini_has() { grep -qx "$1" "$WORK/FENDUL.INI"; }
# menu_pick LETTER: a right click opens the menu at (Left + 10, Top + 10); a letter picks an item.
menu_pick() {
  local left top
  read -r left top _ _ <<<"$(geometry)"
  xdotool mousemove $((left + 60)) $((top + 60)) click 3
  menu_open() { xwininfo -root -children | grep -q "+$((left + 10))+$((top + 10))\$"; }
  wait_for 3 "the menu at $((left + 10)),$((top + 10))" menu_open
  xdotool key "$1"
}

# "&Graph" in graph mode switches to the gauge; the settings are written after the command.
menu_pick g
wait_for 3 "Display=1 in the settings" ini_has "Display=1"
shows_picture gauge || fail "the gauge differs from varnel-render's"
ini_has "Left=140" || fail "the moved position was not saved"
ini_has "PlotSeconds=30" || fail "PlotSeconds not kept"

# A double click hides the title bar (re-creating the window); not saved until the next command.
read -r left top _ _ <<<"$(geometry)"
xdotool mousemove $((left + 100)) $((top + 100)) click --repeat 2 --delay 60 1
borderless() {
  local w
  w=$(find_window) || return 1
  [ -n "$w" ] && xprop -id "$w" _MOTIF_WM_HINTS 2>/dev/null | grep -q '= 0x3, 0x26, 0x0,'
}
wait_for 3 "the borderless window" borderless
WIN=$(find_window)
[ "$(geometry)" = "140 80 332 190" ] || fail "title toggle moved the window to $(geometry)"
ini_has "HideTitle=0" || fail "the double click was saved before a command"

# "&Legend" off: both the legend and the double click's title state are written.
menu_pick l
wait_for 3 "Legend=0 in the settings" ini_has "Legend=0"
ini_has "HideTitle=1" || fail "HideTitle not saved"

# "E&xit": saves and ends the program.
menu_pick x
ended() { ! kill -0 "$VPID" 2>/dev/null; }
wait_for 5 "the program to end" ended
wait "$VPID" || fail "the program exited with an error"
[ "$(grep -c '=' "$WORK/FENDUL.INI")" -eq 13 ] || fail "the settings file does not hold 13 keys"
for kv in Top=80 Left=140 Width=332 Height=190 StayOnTop=1 HideTitle=1 Display=1 Legend=0; do
  ini_has "$kv" || fail "expected $kv"
done
echo "e2e: 1 passed, 0 failed"
