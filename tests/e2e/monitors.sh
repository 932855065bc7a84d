#!/usr/bin/env bash
# End-to-end test of the real program on monitors and workspaces under openbox: a nested X server
# (Xephyr inside a private Xvfb) with two monitors side by side (Xinerama: 800 x 600 at 0,0 and
# 1024 x 768 at 800,0), then one whose screen shrinks while the program runs (RandR). It checks
# that a window stored off every monitor opens on the nearest one and the settings file is not
# rewritten for it; that the About box, the Seconds to Plot prompt and an error box open centred on
# the monitor that holds the window, and the menu stays inside that monitor; that the window is on
# every workspace while it stays on top and on one workspace when it does not; that without a
# settings file it opens below a top panel, and moves out from under a panel that comes over its
# title bar; and that a window left with no usable part by a smaller screen moves back onto it.
#
#   tests/e2e/monitors.sh path/to/varnel
set -euo pipefail

VARNEL=${1:?usage: monitors.sh path/to/varnel}
for tool in Xvfb Xephyr openbox xdotool xprop xwininfo xdpyinfo xrandr wmctrl xlogo; do
  command -v "$tool" >/dev/null || { echo "monitors: $tool is missing"; exit 1; }
done

. "$(dirname "$0")/common.sh"
begin_e2e

fail() {
  echo "monitors FAILED: $*"
  show_logs "settings file" "$WORK/FENDUL.INI" "program output" "$WORK/varnel.log"
  exit 1
}

start_private_server 240 320 "$WORK/xvfb.log" Xvfb -screen 0 2000x1000x24 -nolisten tcp
OUTER=$SERVER

# start_desktop XEPHYR-OPTIONS...: a nested server inside the Xvfb with openbox on it; sets DISPLAY.
start_desktop() {
  DISPLAY=$OUTER start_private_server 240 320 "$WORK/xephyr.log" Xephyr -nolisten tcp "$@"
  export DISPLAY=$SERVER
  start_openbox "$WORK/openbox.log"
  # Openbox publishes the work area once its workspaces are set up.
  work_area() { xprop -root _NET_WORKAREA | grep -q '= '; }
  wait_for 20 "the work area" work_area
}
# start_program: the program with the settings in $WORK/FENDUL.INI (if any, kept as start.ini);
# sets VPID and WIN. Run as root without that file, the program keeps its settings in the
# configuration folder instead: the test's own, so that no file of the user's is read.
start_program() {
  if [ -f "$WORK/FENDUL.INI" ]; then cp "$WORK/FENDUL.INI" "$WORK/start.ini"; fi
  XDG_CONFIG_HOME="$WORK/config" VARNEL_STAT_FILE="$WORK/stat" "$WORK/varnel" >"$WORK/varnel.log" 2>&1 &
  VPID=$!
  PIDS+=($VPID)
  wait_for 10 "the window" find_window
  WIN=$(find_window)
  wait_for 5 "the frame extents" framed
}

find_window() { xdotool search --onlyvisible --name '^(FENDUL|CPU Usage)$' 2>/dev/null | head -1; }
# client [WINDOW]: the client area's place and size; geometry: the main window's outer ones.
client() { xwininfo -id "${1:-$WIN}" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF} /Width:/{w=$NF} /Height:/{h=$NF} END{print x, y, w, h}'; }
extents() {
  local e
  e=$(xprop -id "$WIN" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= //p' | tr -d ,)
  echo "${e:-0 0 0 0}"
}
framed() { [ "$(extents)" != "0 0 0 0" ]; }
geometry() {
  local x y w h l r t b
  read -r x y w h <<<"$(client)"
  read -r l r t b <<<"$(extents)"
  echo $((x - l)) $((y - t)) $((w + l + r)) $((h + t + b))
}
geometry_is() { [ "$(geometry)" = "$1" ]; }
ini_has() { grep -qx "$1" "$WORK/FENDUL.INI"; }
# right_click: opens the menu with a right click in the window.
right_click() {
  local left top
  read -r left top _ _ <<<"$(geometry)"
  xdotool mousemove $((left + 60)) $((top + 60)) click 3
}
# menu_window: the menu's window (an override-redirect window at Left + 10), as "x y w h".
menu_window() {
  local left id geo w h x y
  read -r left _ _ _ <<<"$(geometry)"
  while read -r id geo; do
    IFS='x+' read -r w h x y <<<"$geo"
    [ "$x" -eq $((left + 10)) ] && xwininfo -id "$id" | grep -q 'Override Redirect State: yes' &&
      xwininfo -id "$id" | grep -q IsViewable && { echo "$x $y $w $h"; return 0; }
  done < <(xwininfo -root -children | awk '$1 ~ /^0x/ && $(NF-1) ~ /^[0-9]+x[0-9]+\+/ {print $1, $(NF-1)}')
  return 1
}
menu_pick() {
  right_click
  wait_for 3 "the menu" menu_window
  xdotool key "$@"
}
# dialog NAME: the viewable window of that name other than the main window.
dialog() {
  xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | grep -vx "$(printf '%d' "$WIN")" | head -1
}
# centred_on NAME LEFT TOP WIDTH HEIGHT: the dialog's client area lies on that monitor, its centre
# within the frame's few pixels of the monitor's centre.
centred_on() {
  local id x y w h
  id=$(dialog "$1")
  [ -n "$id" ] || return 1
  read -r x y w h <<<"$(client "$id")"
  [ "$x" -ge "$2" ] && [ "$y" -ge "$3" ] && [ $((x + w)) -le $(($2 + $4)) ] && [ $((y + h)) -le $(($3 + $5)) ] || return 1
  local dx=$((x + w / 2 - $2 - $4 / 2)) dy=$((y + h / 2 - $3 - $5 / 2))
  [ ${dx#-} -le 12 ] && [ ${dy#-} -le 24 ]
}
desktop_is() { xprop -id "$WIN" _NET_WM_DESKTOP | grep -q "= $1\$"; }
sticky() { xprop -id "$WIN" _NET_WM_STATE | grep -q _NET_WM_STATE_STICKY; }
viewable() { xwininfo -id "$WIN" | grep -q IsViewable; }
hidden() { ! viewable; }

cp "$VARNEL" "$WORK/varnel"
echo "cpu  0 0 0 1000 0 0 0 0 0 0" >"$WORK/stat"

# ---- Two monitors ----------------------------------------------------------------------------
# Stored far up and left of both: the window opens in the corner of the nearer (the first), and
# the settings file is left as it was.
printf '[FENDUL]\nLeft=-5000\nTop=-3000\nWidth=332\nHeight=190\nDisplay=0\n' >"$WORK/FENDUL.INI"
start_desktop +xinerama -screen 800x600 -screen 1024x768
start_program
wait_for 5 "the window on the first monitor (now $(geometry))" geometry_is "0 0 332 190"
sleep 1.2  # past the first tick
cmp -s "$WORK/FENDUL.INI" "$WORK/start.ini" || fail "the settings file was rewritten by the move"

# On the second monitor: the About box, the prompt and the error box of a wrong entry open centred
# on it (client 361 x 225 for the About box: its centre at 1312, 384).
xdotool windowmove "$WIN" 1100 300
wait_for 3 "the move to the second monitor" eval '[ "$(client | cut -d" " -f1-2)" = "1100 300" ]'
menu_pick a
wait_for 5 "the About box on the second monitor" centred_on Orrick 800 0 1024 768
xdotool windowfocus --sync "$(dialog Orrick)" 2>/dev/null || true
xdotool key Return
wait_for 5 "the About box to close" eval '[ -z "$(dialog Orrick)" ]'
menu_pick p
wait_for 5 "the prompt on the second monitor" centred_on FENDUL 800 0 1024 768
xdotool windowfocus --sync "$(dialog FENDUL)" 2>/dev/null || true
xdotool type "12x"
xdotool key Return
wait_for 5 "the error box on the second monitor" centred_on Varnel 800 0 1024 768
xdotool windowfocus --sync "$(dialog Varnel)" 2>/dev/null || true
xdotool key Return
wait_for 5 "the error box to close" eval '[ -z "$(dialog Varnel)" ]'
ini_has "PlotSeconds=60" || fail "the wrong entry changed PlotSeconds"

# Low on the second monitor, the menu (taller than the 218 rows under Top + 10) opens at Left + 10
# and moves up so as to end at that monitor's bottom (768) instead of hanging off it.
xdotool windowmove "$WIN" 1100 560
wait_for 3 "the move down the second monitor" eval '[ "$(client | cut -d" " -f1-2)" = "1100 560" ]'
right_click
wait_for 3 "the menu at Left + 10" menu_window
read -r _ my _ mh <<<"$(menu_window)"
[ $((my + mh)) -eq 768 ] || fail "the menu spans rows $my to $((my + mh)), not ending at the second monitor's bottom"
xdotool key Escape

# Workspaces: on every one while above the others; Stay On Top off leaves it on the one shown.
# (Openbox keeps no sticky state of its own: the workspace 0xFFFFFFFF is what it goes by.)
wmctrl -n 2
wait_for 3 "the window on every workspace" desktop_is 4294967295
wmctrl -s 1
sleep 0.5
viewable || fail "the window stayed on the first workspace while on top"
menu_pick t
wait_for 3 "StayOnTop=0" ini_has "StayOnTop=0"
wait_for 3 "the window on the second workspace" desktop_is 1
sticky && fail "still sticky without Stay On Top"
wmctrl -s 0
wait_for 3 "the window left behind on the second workspace" hidden
wmctrl -s 1
wait_for 3 "the window on the second workspace again" viewable
menu_pick t
wait_for 3 "StayOnTop=1" ini_has "StayOnTop=1"
wait_for 3 "the window on every workspace again" desktop_is 4294967295
wmctrl -s 0
sleep 0.5
viewable || fail "the window did not follow to the first workspace once on top again"
menu_pick x
wait_for 5 "the program to end" eval '! kill -0 '"$VPID"

# ---- A panel, and a screen that shrinks while the program runs -----------------------------------
# A panel 40 pixels high along the top (a window that reserves the strip): without a settings file
# the default position counts from the work area under it, 396, 7 + 40.
rm -f "$WORK/FENDUL.INI"
start_desktop -resizeable -screen 1280x800
# The panel's window, once openbox manages it (a property written while it takes the window on may
# go unseen). Openbox just started now and then leaves a window mapped at once unmanaged and
# unmapped: then the panel is started again.
panel_managed() { xprop -id "$PANEL" WM_STATE 2>/dev/null | grep -q Normal; }
for try in 1 2 3 4; do
  xlogo -geometry 100x40+0+0 >/dev/null 2>&1 &
  PANEL_PID=$!
  PIDS+=($PANEL_PID)
  PANEL=$(xdotool search --sync --classname xlogo | head -1)
  end=$((SECONDS + 3))
  until panel_managed || [ $SECONDS -ge $end ]; do sleep 0.05; done
  panel_managed && break
  kill "$PANEL_PID"
  wait "$PANEL_PID" 2>/dev/null || true
  [ "$try" -lt 4 ] || fail "openbox does not take on the panel window"
done
panel_on() {
  xprop -id "$PANEL" -f _NET_WM_STRUT_PARTIAL 32c -set _NET_WM_STRUT_PARTIAL "0,0,40,0,0,0,0,0,0,1279,0,0"
  wait_for 5 "the work area under the panel" eval 'xprop -root _NET_WORKAREA | grep -q "= 0, 40,"'
}
panel_on
start_program
wait_for 5 "the default place under the panel (now $(geometry))" geometry_is "396 47 332 190"
# Without the panel the window stays; moved to the top and the panel back over its title bar, it
# moves down to the panel's edge.
xprop -id "$PANEL" -remove _NET_WM_STRUT_PARTIAL
wait_for 5 "the whole screen as work area" eval 'xprop -root _NET_WORKAREA | grep -q "= 0, 0,"'
xdotool windowmove "$WIN" 397 "$(extents | cut -d' ' -f3)"
wait_for 3 "the window at the top" geometry_is "396 0 332 190"
panel_on
wait_for 5 "the window below the panel (now $(geometry))" geometry_is "396 40 332 190"
# At 1100, 600 of 1280 x 800; once the screen is 1024 x 768 none of the window is left there, and it
# goes to the nearest place inside: 692 = 1024 - 332, 578 = 768 - 190.
read -r l _ t _ <<<"$(extents)"
xdotool windowmove "$WIN" $((1100 + l)) $((600 + t))
wait_for 3 "the window at 1100, 600" geometry_is "1100 600 332 190"
xrandr --output default --mode 1024x768 --fb 1024x768 2>/dev/null
wait_for 5 "the window back on the smaller screen (now $(geometry))" geometry_is "692 578 332 190"
[ -e "$WORK/FENDUL.INI" ] && fail "a settings file was written for the moves"
echo "monitors: 1 passed, 0 failed"
