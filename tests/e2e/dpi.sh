#!/usr/bin/env bash
# End-to-end test of the screen's density: on a private Xvfb display whose resource database says
# Xft.dpi: 192 (set with xrdb, as desktops do when they scale by two), varnel opens at twice the
# default size and shows, pixel for pixel, what varnel-render --dpi 192 draws, in both views;
# the gauge's tooltip with the busiest core stays on one line; --dpi 96 overrides the resource;
# at --dpi 480 the menu shrinks to fit the screen's height; a resource that is no density gives
# 96 and one line on standard error; a save writes PixelsPerInch=192.
#
#   tests/e2e/dpi.sh path/to/varnel path/to/varnel-render path/to/xwdcompare
set -euo pipefail

USAGE="usage: dpi.sh path/to/varnel path/to/varnel-render path/to/xwdcompare"
VARNEL=${1:?$USAGE}
RENDER=${2:?$USAGE}
COMPARE=${3:?$USAGE}
for tool in Xvfb xdotool xwininfo xdpyinfo xwd xrdb; do
  command -v "$tool" >/dev/null || { echo "e2e dpi: $tool is missing"; exit 1; }
done

. "$(dirname "$0")/common.sh"
begin_e2e
VPID=""
# The program goes first, then the servers.
trap '[ -z "$VPID" ] || kill "$VPID" 2>/dev/null || true; end_e2e' EXIT

fail() {
  echo "e2e dpi FAILED: $*"
  show_logs "settings file" "$WORK/FENDUL.INI" "program output" "$WORK/varnel.log"
  exit 1
}

# A display of our own (the first free number whose server starts), which keeps the root
# window's resources when the last client goes, as a desktop session does.
start_private_server 161 230 "$WORK/xvfb.log" Xvfb -screen 0 1600x1000x24 -nolisten tcp
export DISPLAY=$SERVER
echo "Xft.dpi: 192" | xrdb -merge -nocpp || fail "xrdb could not set Xft.dpi"

cp "$VARNEL" "$WORK/varnel"
echo "cpu  0 0 0 1000 0 0 0 0 0 0" >"$WORK/stat"
find_window() { xdotool search --onlyvisible --name '^(FENDUL|CPU Usage)$' 2>/dev/null | head -1; }
client() { xwininfo -id "$WIN" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF} /Width:/{w=$NF} /Height:/{h=$NF} END{print x, y, w, h}'; }
client_is() { [ "$(client)" = "$1" ]; }
title_is() { [ "$(xdotool getwindowname "$WIN")" = "$1" ]; }

# start INI-BODY [ARGS...]: the program with that settings file, until its first tick.
start() {
  printf '[FENDUL]\n%b' "$1" >"$WORK/FENDUL.INI"
  cp "$WORK/FENDUL.INI" "$WORK/start.ini"
  shift
  VARNEL_STAT_FILE="$WORK/stat" "$WORK/varnel" "$@" >"$WORK/varnel.log" 2>&1 &
  VPID=$!
  wait_for 10 "the window" find_window
  WIN=$(find_window)
  wait_for 5 "the first tick" title_is "CPU Usage"
}
stop() {
  kill "$VPID" 2>/dev/null || true
  wait "$VPID" 2>/dev/null || true
  VPID=""
  wait_for 5 "the window to go" test -z "$(find_window)"
}
# shows_picture NAME DPI: the client area equals varnel-render's picture at that density.
shows_picture() {
  local w h
  xdotool mousemove 1590 990
  read -r _ _ w h <<<"$(client)"
  "$RENDER" --ini "$WORK/start.ini" --size "${w}x$h" --samples 0 --dpi "$2" --out "$WORK/$1.png" >/dev/null
  shows_png "$1" "$WIN" "$WORK/$1.png" "$COMPARE"
}

# Both views at 192: the default size doubled (the file has no PixelsPerInch: written at 96).
start 'Left=100\nTop=50\nDisplayAxis=1\nLegend=1\nDisplay=0\n'
wait_for 5 "twice the default size (now $(client))" client_is "200 100 664 380"
shows_picture graph192 192 || fail "the graph at 192 is not varnel-render's"
# A menu command saves, with the screen's density.
xdotool key --window "$WIN" shift+F10
sleep 0.3
xdotool key d
wait_for 5 "a save" grep -qx 'PixelsPerInch=192' "$WORK/FENDUL.INI"
grep -qx 'Width=664' "$WORK/FENDUL.INI" || fail "the saved width is not the window's"
stop

start 'Left=100\nTop=50\nDisplayAxis=1\nLegend=1\nDisplay=1\nColors - Background=0\n'
shows_picture gauge192 192 || fail "the dark gauge at 192 is not varnel-render's"
stop

# The gauge's tooltip stays one line at 192, where the toolkit breaks a tooltip wider than 400
# pixels at its spaces: "CPU %: 50, busiest 100 % (CPU1)" is as tall as "CPU %: 50". The load
# file's counters since boot give the load at once: the total half busy, CPU1 all busy.
printf 'cpu  1000 0 0 1000 0 0 0 0 0 0\ncpu0 0 0 0 1000 0 0 0 0 0 0\ncpu1 1000 0 0 0 0 0 0 0 0 0\n' >"$WORK/stat"
tooltip() {  # tooltip CORES: the size of the gauge's tooltip with that Cores setting
  start "Left=100\nTop=50\nDisplay=1\nCores=$1\n"
  xdotool mousemove --window "$WIN" 300 150
  wait_for 5 "the gauge's tooltip" tooltip_size
  tooltip_size
  stop
}
read -r short_w short_h <<<"$(tooltip 0)"
read -r long_w long_h <<<"$(tooltip 1)"
[ "$long_w" -gt 400 ] && [ "$long_w" -gt "$short_w" ] || fail "the busiest core's tooltip is $long_w wide, the total's $short_w"
[ "$long_h" = "$short_h" ] || fail "the busiest core's tooltip is $long_h tall, the total's $short_h: broken into lines"
echo "cpu  0 0 0 1000 0 0 0 0 0 0" >"$WORK/stat"

# --dpi wins over the resource.
start 'Left=10\nTop=10\nWidth=332\nHeight=190\nDisplay=0\n' --dpi 96
wait_for 5 "the stored size at 96 (now $(client))" client_is "10 10 332 190"
shows_picture graph96 96 || fail "the graph at --dpi 96 is not varnel-render's"
stop

# At 480 per inch the menu (1,380 pixels tall) would run off this 1,000-pixel screen, its last
# items out of the mouse's reach: it is drawn smaller, to fit, 50 pixels right of the window.
start 'Left=10\nTop=10\nWidth=400\nHeight=300\nPixelsPerInch=480\nDisplay=0\n' --dpi 480
menu_size() { xwininfo -root -children | awk '/^ +0x[0-9a-f]+ .* [0-9]+x[0-9]+\+60\+[0-9]+ /{split($(NF-1), g, /[x+]/); print g[2], g[4]; exit}'; }
xdotool key --window "$WIN" shift+F10
wait_for 3 "the menu at x 60" test -n "$(menu_size)"
read -r menu_h menu_y <<<"$(menu_size)"
[ "$((menu_y + menu_h))" -le 1000 ] && [ "$menu_h" -gt 700 ] || fail "the menu at 480: $menu_h tall at y $menu_y"
xdotool key Escape
stop

# A resource that is no density: 96 and one line on standard error.
echo "Xft.dpi: lots" | xrdb -merge -nocpp
start 'Left=10\nTop=10\nDisplay=0\n'
wait_for 5 "the default size at 96 (now $(client))" client_is "10 10 332 190"
[ "$(grep -c 'Xft.dpi' "$WORK/varnel.log")" = 1 ] || fail "no one-line warning about Xft.dpi"
stop

echo "e2e dpi: passed"
