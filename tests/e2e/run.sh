#!/usr/bin/env bash
# End-to-end test of the real program: starts varnel on a private Xvfb display, bare (no window
# manager) or under openbox, from a directory of its own with a settings file and a fixed load,
# and works it as a user would with xdotool. Bare: waits for the first tick, drags the window,
# opens the menu with a right click, Shift+F10 and the Menu key and picks items by their letters
# (a shared letter moves the highlight, Enter picks), double-clicks to hide the title bar, checks
# that the tooltip follows the reading while it is on show, and exits through the menu. Under
# openbox: the tool window's hints (close box only, minimum size), a double click on the caption
# that must not maximize, a minimize that must not stick (main window and About box, whose hints
# are checked too), the About box's "Go to Home Page" with an opener of addresses and without one,
# a border drag that stops at the minimum size, the views after title toggles
# and a size round trip while hidden (they must not freeze), and a right click that lands on a
# tooltip after two title toggles (it must open the menu), and the Cores submenu's three modes in
# both views.
# Throughout it checks the window's place, size and hints, the settings file, and that the window
# shows, pixel for pixel, the graph or gauge varnel-render draws for the same settings and load.
#
#   tests/e2e/run.sh path/to/varnel path/to/varnel-render path/to/xwdcompare [openbox]
set -euo pipefail

USAGE="usage: run.sh path/to/varnel path/to/varnel-render path/to/xwdcompare [openbox]"
VARNEL=${1:?$USAGE}
RENDER=${2:?$USAGE}
COMPARE=${3:?$USAGE}
MODE=${4:-bare}
TOOLS=(Xvfb xdotool xprop xwininfo xdpyinfo xwd)
[ "$MODE" = openbox ] && TOOLS+=(openbox)
for tool in "${TOOLS[@]}"; do
  command -v "$tool" >/dev/null || { echo "e2e: $tool is missing"; exit 1; }
done

. "$(dirname "$0")/common.sh"
begin_e2e

fail() {
  echo "e2e ($MODE) FAILED: $*"
  show_logs "settings file" "$WORK/FENDUL.INI" "program output" "$WORK/varnel.log" \
    "window states" "$WORK/states.log" openbox "$WORK/openbox.log"
  exit 1
}

start_private_server 91 160 "$WORK/xvfb.log" Xvfb -screen 0 1024x768x24 -nolisten tcp
export DISPLAY=$SERVER
[ "$MODE" = openbox ] && start_openbox "$WORK/openbox.log"

# The program in a directory of its own, with its settings file beside it.
cp "$VARNEL" "$WORK/varnel"
if [ "$MODE" = openbox ]; then DISPLAY_SETTING=1; else DISPLAY_SETTING=0; fi
printf '[FENDUL]\nLeft=100\nTop=50\nWidth=332\nHeight=190\nPlotSeconds=30\nLegend=1\nDisplay=%s\n' \
  "$DISPLAY_SETTING" >"$WORK/FENDUL.INI"
# Counters that never move: every tick reads a load of 0 (idle since start).
echo "cpu  0 0 0 1000 0 0 0 0 0 0" >"$WORK/stat"
cp "$WORK/FENDUL.INI" "$WORK/start.ini"
# The program's only PATH holds a stand-in for the desktop's opener of addresses, which notes
# what it is asked to open.
mkdir "$WORK/bin"
printf '#!/bin/sh\nprintf "%%s\\n" "$1" >>"%s/opened"\n' "$WORK" >"$WORK/bin/xdg-open"
chmod +x "$WORK/bin/xdg-open"
PATH="$WORK/bin" VARNEL_STAT_FILE="$WORK/stat" "$WORK/varnel" >"$WORK/varnel.log" 2>&1 &
VPID=$!
PIDS+=($VPID)

find_window() { xdotool search --onlyvisible --name '^(FENDUL|CPU Usage)$' 2>/dev/null | head -1; }
wait_for 10 "the window" find_window
WIN=$(find_window)
# The client window's place and size, and the outer ones (grown by the frame extents).
client() { xwininfo -id "$WIN" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF} /Width:/{w=$NF} /Height:/{h=$NF} END{print x, y, w, h}'; }
extents() {
  local e
  e=$(xprop -id "$WIN" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= //p' | tr -d ,)
  echo "${e:-0 0 0 0}"
}
geometry() {
  local x y w h l r t b
  read -r x y w h <<<"$(client)"
  read -r l r t b <<<"$(extents)"
  echo $((x - l)) $((y - t)) $((w + l + r)) $((h + t + b))
}
geometry_is() { [ "$(geometry)" = "$1" ]; }
if [ "$MODE" = openbox ]; then
  framed() { [ "$(extents)" != "0 0 0 0" ]; }
  wait_for 5 "the frame extents" framed
fi
wait_for 5 "the start-up place (now $(geometry))" geometry_is "100 50 332 190"
xprop -id "$WIN" _NET_WM_WINDOW_TYPE | grep -q _NET_WM_WINDOW_TYPE_UTILITY || fail "not a utility window"
STATE=$(xprop -id "$WIN" _NET_WM_STATE)
echo "$STATE" | grep -q _NET_WM_STATE_SKIP_TASKBAR || fail "taskbar entry not skipped: $STATE"
echo "$STATE" | grep -q _NET_WM_STATE_ABOVE || fail "not above other windows: $STATE"
# Move, resize and close; border, resize handles, title and menu: no minimize, no maximize.
xprop -id "$WIN" _MOTIF_WM_HINTS | grep -q '= 0x3, 0x26, 0x1e,' || fail "frame functions: $(xprop -id "$WIN" _MOTIF_WM_HINTS)"
xprop -id "$WIN" WM_NORMAL_HINTS | grep -q 'minimum size: 100 by 50' || fail "no minimum size"

# The first tick renames the window.
title_is() { [ "$(xdotool getwindowname "$WIN")" = "$1" ]; }
wait_for 5 "the first tick" title_is "CPU Usage"

# shows_picture NAME: the window's client area equals varnel-render's picture of the start-up
# settings (with the display and cores the current settings file names) at the client's size
# after a tick at the fixed load (the ticks of SAMPLES_FILE when it is set). Tried for up to two seconds, as the picture may reach the screen a moment
# after the settings.
shows_picture() {
  local w h
  xdotool mousemove 1000 740  # off the window: no tooltip over the picture
  read -r _ _ w h <<<"$(client)"
  sed "s/^Display=.*//" "$WORK/start.ini" >"$WORK/$1.ini"
  grep -h '^\(Display\|Cores\)=' "$WORK/FENDUL.INI" >>"$WORK/$1.ini" || true
  if [ -n "${SAMPLES_FILE:-}" ]; then
    "$RENDER" --ini "$WORK/$1.ini" --size "${w}x$h" --samples-file "$SAMPLES_FILE" --out "$WORK/$1.png" >/dev/null
  else
    "$RENDER" --ini "$WORK/$1.ini" --size "${w}x$h" --samples 0 --out "$WORK/$1.png" >/dev/null
  fi
  shows_png "$1" "$WIN" "$WORK/$1.png" "$COMPARE"
}

ini_has() { grep -qx "$1" "$WORK/FENDUL.INI"; }
client_is() { [ "$(client | cut -d' ' -f3-)" = "$1" ]; }
# resized_burst: forty sizes in one go, of which the program lays out and paints only some, then
# the last one: the graph must show the picture of the last size, and the window is given its
# size back.
resized_burst() {
  local cw ch i args=()
  read -r _ _ cw ch <<<"$(client)"
  for i in $(seq 40); do args+=(windowsize "$WIN" $((200 + i * 17 % 500)) $((120 + i * 29 % 400))); done
  xdotool "${args[@]}" windowsize "$WIN" 421 263
  wait_for 3 "the last size of a burst" client_is "421 263"
  shows_picture graph || fail "the graph after a burst of sizes is not the picture of the last one"
  xdotool windowsize "$WIN" "$cw" "$ch"
  wait_for 3 "the size back after a burst" client_is "$cw $ch"
}
# menu_open: a menu window sits at (Left + 10, Top + 10) of the outer frame.
menu_open() {
  local left top
  read -r left top _ _ <<<"$(geometry)"
  xwininfo -root -children | grep -q "+$((left + 10))+$((top + 10))\$"
}
menu_closed() { ! menu_open; }
# menu_pick KEYS...: a right click opens the menu; the keys pick an item.
menu_pick() {
  local left top
  read -r left top _ _ <<<"$(geometry)"
  xdotool mousemove $((left + 60)) $((top + 60)) click 3
  wait_for 3 "the menu at $((left + 10)),$((top + 10))" menu_open
  xdotool key "$@"
}
# key_menu KEY: the key opens the menu as a right click does.
key_menu() {
  xdotool windowfocus --sync "$WIN" 2>/dev/null || true
  xdotool key "$1"
  wait_for 3 "the menu after $1" menu_open
}
# toggle_title STATE: a double click in the client area shows or hides the title bar (a new window).
decorations_are() {
  local w
  w=$(find_window) || return 1
  [ -n "$w" ] && xprop -id "$w" _MOTIF_WM_HINTS 2>/dev/null | grep -q "= 0x3, 0x26, $1,"
}
toggle_title() {
  local left top outer
  outer=$(geometry)
  read -r left top _ _ <<<"$outer"
  xdotool mousemove $((left + 100)) $((top + 100)) click --repeat 2 --delay 60 1
  wait_for 3 "decorations $1" decorations_are "$1"
  WIN=$(find_window)
  if [ "$MODE" = openbox ] && [ "$1" != 0x0 ]; then wait_for 5 "the frame extents" framed; fi
  wait_for 3 "the outer place and size kept by the title toggle" geometry_is "$outer"
}

# The Cores submenu in both views: the load file gains two idle cores, and each mode the menu
# picks (c, then t, b or e) shows what varnel-render draws for the same settings and readings,
# the core lines and rim marks included. Ends in the gauge with the total alone, as it began.
cores_modes() {
  if [ -n "${LOAD_WRITER:-}" ]; then  # a fixed load from here on
    kill "$LOAD_WRITER" 2>/dev/null || true
    wait "$LOAD_WRITER" 2>/dev/null || true
  fi
  # Idle time far beyond what the writer reached: the next reading is 0 %, and so is every one after
  # it (counters that stand still repeat the load).
  printf 'cpu  0 0 0 2000000000000 0 0 0 0 0 0\ncpu0 0 0 0 1000000000000 0 0 0 0 0 0\ncpu1 0 0 0 1000000000000 0 0 0 0 0 0\n' \
    >"$WORK/stat"
  printf '0: 0 0\n0: 0 0\n0: 0 0\n' >"$WORK/cores.samples"
  sleep 2.5  # two ticks: the new cores have a load
  local SAMPLES_FILE="$WORK/cores.samples" view key mode
  for view in 1 0; do
    for key in b:1 e:2 t:0; do
      mode=${key#*:}
      menu_pick c "${key%%:*}"
      wait_for 3 "Cores=$mode after c, ${key%%:*}" ini_has "Cores=$mode"
      sleep 1.2  # a tick in the new mode
      shows_picture "cores$mode-view$view" || fail "Cores=$mode (Display=$view) differs from varnel-render's"
    done
    if [ "$view" = 1 ]; then menu_pick g; else menu_pick u Return; fi
    wait_for 3 "Display=$((1 - view))" ini_has "Display=$((1 - view))"
  done
  ini_has "Display=1" || fail "not back in the gauge"
}

if [ "$MODE" = bare ]; then
  shows_picture graph || fail "the graph differs from varnel-render's"
  resized_burst

  # A drag anywhere in the client area moves the window (no window manager: the program moves it).
  xdotool mousemove 200 120 mousedown 1
  for step in 1 2 3 4 5; do xdotool mousemove $((200 + step * 8)) $((120 + step * 6)); sleep 0.03; done
  xdotool mouseup 1
  wait_for 3 "the drag" geometry_is "140 80 332 190"

  # "&Graph" in graph mode switches to the gauge; the settings are written after the command.
  menu_pick g
  wait_for 3 "Display=1 in the settings" ini_has "Display=1"
  shows_picture gauge || fail "the gauge differs from varnel-render's"
  ini_has "Left=140" || fail "the moved position was not saved"
  ini_has "PlotSeconds=30" || fail "PlotSeconds not kept"

  # A double click hides the title bar (re-creating the window); not saved until the next command.
  toggle_title 0x0
  geometry_is "140 80 332 190" || fail "title toggle moved the window to $(geometry)"
  ini_has "HideTitle=0" || fail "the double click was saved before a command"

  # "&Legend" off: both the legend and the double click's title state are written.
  menu_pick l
  wait_for 3 "Legend=0 in the settings" ini_has "Legend=0"
  ini_has "HideTitle=1" || fail "HideTitle not saved"

  # Shift+F10 opens the menu; "u" is shared by "&UV Meter" and "Colo&ur": the first press
  # highlights UV Meter, Enter picks it (back to the graph). The Menu key opens it too.
  key_menu shift+F10
  xdotool key u Return
  wait_for 3 "Display=0 after u, Enter" ini_has "Display=0"
  key_menu Menu
  xdotool key Escape
  wait_for 3 "the menu to close" menu_closed

  # A submenu by keys: u twice reaches "Colo&ur", Enter opens it, "l" picks "&Line": the colour
  # dialog opens; Escape cancels it (the settings are written unchanged).
  key_menu shift+F10
  xdotool key u u Return l
  colour_dialog() { xdotool search --onlyvisible --name '^Color$' | head -1 | grep -q .; }
  wait_for 5 "the colour dialog" colour_dialog
  xdotool windowfocus --sync "$(xdotool search --onlyvisible --name '^Color$' | head -1)"
  xdotool key Escape
  wait_for 5 "the colour dialog to close" eval '! colour_dialog'
  ini_has "Colors - Line=128" || fail "cancelled colour changed the line colour"

  # The tooltip follows the reading while it is on show, the pointer resting, in both views: over
  # the graph "CPU Usage: 0 %" turns into the wider "CPU Usage: 100 %" under a full load; over the
  # gauge "CPU %: 100" turns into the narrower "CPU %: 0" when the machine is idle again.
  tooltip_width() {
    local size
    size=$(tooltip_size) && echo "${size% *}"
  }
  # write_load BUSY IDLE: counters from BUSY and IDLE on, each growing by its own step every 0.3 s.
  write_load() {
    local busy=$1 idle=$2 i=0
    while :; do
      i=$((i + 1))
      printf 'cpu  %d 0 0 %d 0 0 0 0 0 0\n' $((busy + i * $3)) $((idle + i * $4)) >"$WORK/stat.new"
      mv "$WORK/stat.new" "$WORK/stat"
      sleep 0.3
    done
  }
  tooltip_wider() {
    local w
    w=$(tooltip_width) && [ "$w" -gt "$1" ]
  }
  tooltip_narrower() {
    local w
    w=$(tooltip_width) && [ "$w" -lt "$1" ]
  }
  xdotool mousemove --window "$WIN" 150 100
  wait_for 5 "the graph's tooltip" tooltip_width
  narrow=$(tooltip_width)
  write_load 1000000 1000 100 0 &
  WRITER=$!
  PIDS+=($WRITER)
  wait_for 5 "the graph's tooltip to show a full load (${narrow} pixels wide at 0 %)" tooltip_wider "$narrow"
  xdotool mousemove 1000 740
  menu_pick g
  wait_for 3 "Display=1 for the gauge's tooltip" ini_has "Display=1"
  wait_for 3 "the menu to close before the gauge's tooltip" menu_closed
  xdotool mousemove --window "$WIN" 150 100
  wait_for 5 "the gauge's tooltip" tooltip_width
  wide=$(tooltip_width)
  kill "$WRITER"
  wait "$WRITER" 2>/dev/null || true
  write_load 100000000 100000000 0 100 &
  WRITER=$!
  PIDS+=($WRITER)
  wait_for 5 "the gauge's tooltip to show an idle machine (${wide} pixels wide at 100 %)" tooltip_narrower "$wide"
  kill "$WRITER"
  xdotool mousemove 1000 740
  menu_pick g
  wait_for 3 "Display=0 after the tooltips" ini_has "Display=0"

  # "E&xit": saves and ends the program.
  menu_pick x
  EXPECTED="Top=80 Left=140 Width=332 Height=190 StayOnTop=1 HideTitle=1 Display=0 Legend=0"
else
  shows_picture gauge || fail "the gauge differs from varnel-render's"

  # Gauge view, two title toggles (the hidden graph's size goes there and back), then Graph:
  # the graph must show the current picture, not an old one.
  toggle_title 0x0
  toggle_title 0x1e
  wait_for 3 "the place after two toggles" geometry_is "100 50 332 190"
  menu_pick g
  wait_for 3 "Display=0 in the settings" ini_has "Display=0"
  shows_picture graph || fail "the graph froze after two title toggles in the gauge view"
  resized_burst

  # Graph view: a size round trip and two toggles while the gauge is hidden; then Shift+F10 and
  # "U" (shared with Colour: it highlights UV Meter), Enter picks it: the gauge must be current.
  read -r _ _ cw ch <<<"$(client)"
  xdotool windowsize "$WIN" 500 300
  wait_for 3 "the larger size" client_is "500 300"
  xdotool windowsize "$WIN" "$cw" "$ch"
  wait_for 3 "the size back" client_is "$cw $ch"
  toggle_title 0x0
  toggle_title 0x1e
  key_menu shift+F10
  xdotool key U Return
  wait_for 3 "Display=1 after U, Enter" ini_has "Display=1"
  shows_picture gauge || fail "the gauge froze after a size round trip and two toggles in the graph view"

  # The Menu key opens the menu; Escape closes it.
  key_menu Menu
  xdotool key Escape
  wait_for 3 "the menu to close" menu_closed

  # Under a load that changes every half second (the file replaced by a rename each time), in
  # each view: two title toggles by double clicks at (60, 60) of the window, then a right click at
  # (60, 60) of the window as it is then, the pointer left where the toggles put it. The bordered
  # window lies 20 pixels lower than the frameless one, so the click lands where the tooltip of the
  # last toggle's place has appeared (13 pixels below the pointer): it must reach the window and
  # open the menu, whose "g" switches the view.
  (
    i=0
    while :; do
      i=$((i + 1))
      b=$(((i * 37) % 100))
      printf 'cpu  %d 0 0 %d 0 0 0 0 0 0\n' $((i * 100 + b * i)) $((i * 100 + (100 - b) * i)) >"$WORK/stat.new"
      mv "$WORK/stat.new" "$WORK/stat"
      sleep 0.5
    done
  ) &
  LOAD_WRITER=$!
  PIDS+=($LOAD_WRITER)
  # tooltip_at X Y: a viewable override-redirect window of the program (a tooltip) covers the
  # root point.
  tooltip_at() {
    local id geo w h x y
    while read -r id geo; do
      IFS='x+' read -r w h x y <<<"$geo"
      [ "$1" -ge "$x" ] && [ "$1" -lt $((x + w)) ] && [ "$2" -ge "$y" ] && [ "$2" -lt $((y + h)) ] || continue
      xwininfo -id "$id" | grep -q 'Override Redirect State: yes' && xwininfo -id "$id" | grep -q IsViewable && return 0
    done < <(xwininfo -root -children | awk '$1 ~ /^0x/ && $(NF-1) ~ /^[0-9]+x[0-9]+\+/ {print $1, $(NF-1)}')
    return 1
  }
  for view in 0 1; do
    for i in 1 2; do
      WIN=$(find_window)
      xdotool mousemove --window "$WIN" 60 60 click --repeat 2 --delay 80 1
      sleep 2
    done
    WIN=$(find_window)
    read -r cx cy _ _ <<<"$(client)"
    tooltip_at $((cx + 60)) $((cy + 60)) || fail "no tooltip where the right click lands (view $((1 - view)))"
    xdotool mousemove --window "$WIN" 60 60 click 3
    wait_for 3 "the menu after two title toggles (view $((1 - view)))" menu_open
    xdotool key g
    wait_for 3 "Display=$view after two title toggles and g" ini_has "Display=$view"
  done
  wait_for 3 "the place after the title toggles" geometry_is "100 50 332 190"

  # A double click on the caption does not maximize, and a minimize does not stick (openbox keeps
  # both for any resizable window; the program undoes them at once).
  stdbuf -oL xprop -spy -id "$WIN" _NET_WM_STATE WM_STATE >"$WORK/states.log" 2>&1 &
  SPY=$!
  PIDS+=($SPY)
  read -r left top _ _ <<<"$(geometry)"
  xdotool mousemove $((left + 60)) $((top + 8)) click --repeat 2 --delay 60 1
  maximized_seen() { grep -q MAXIMIZED "$WORK/states.log"; }
  not_maximized() { ! xprop -id "$WIN" _NET_WM_STATE | grep -q MAXIMIZED && geometry_is "100 50 332 190"; }
  end=$((SECONDS + 2))
  until maximized_seen || [ $SECONDS -ge $end ]; do sleep 0.05; done
  wait_for 10 "the window to stay unmaximized" not_maximized
  # The window manager's change may be undone before the change is read back, so any new
  # WM_STATE report counts as its answer.
  reports() { grep -c "window state" "$WORK/states.log" || true; }
  before=$(reports)
  xdotool windowminimize "$WIN"
  answered() { [ "$(reports)" -gt "$before" ]; }
  wait_for 10 "the window manager to answer the minimize" answered
  viewable() { xwininfo -id "$WIN" | grep -q IsViewable && xprop -id "$WIN" WM_STATE | grep -q Normal; }
  wait_for 10 "the window back from minimizing" viewable
  kill "$SPY" 2>/dev/null || true

  # The About box is a fixed dialog: move and close; border, title and menu. A minimize does not
  # stick there either (it would leave a modal box nobody can reach), and Enter closes it.
  menu_pick a
  about_window() { xdotool search --class Varnel 2>/dev/null | grep -vx "$(printf '%d' "$WIN")" | while read -r w; do
      xwininfo -id "$w" 2>/dev/null | grep -q IsViewable && xprop -id "$w" WM_NAME | grep -q '"Orrick"' && echo "$w"; done | head -1; }
  about_shown() { [ -n "$(about_window)" ]; }
  wait_for 5 "the About box" about_shown
  ABOUT=$(about_window)
  xprop -id "$ABOUT" _MOTIF_WM_HINTS | grep -q '= 0x3, 0x24, 0x1a,' || fail "About box hints: $(xprop -id "$ABOUT" _MOTIF_WM_HINTS)"
  xdotool windowminimize "$ABOUT"
  sleep 0.5
  about_back() { xwininfo -id "$ABOUT" | grep -q IsViewable && xprop -id "$ABOUT" WM_STATE | grep -q Normal; }
  wait_for 10 "the About box back from minimizing" about_back
  xdotool windowfocus --sync "$ABOUT" 2>/dev/null || true
  # "Go to Home Page" hands the address to the opener; with none on the PATH, one line on
  # standard error says so (the box shows no error).
  HOME_PAGE=https://www.example.org/varnel/
  xdotool key alt+g
  wait_for 5 "the home page handed to the opener" grep -qxF "$HOME_PAGE" "$WORK/opened"
  rm "$WORK/bin/xdg-open"
  xdotool key alt+g
  wait_for 5 "the report that no browser could be started" \
    grep -qxF "varnel: No helper application found for \"$HOME_PAGE\"" "$WORK/varnel.log"
  xdotool key Return
  wait_for 5 "the About box to close" eval '! about_shown'

  cores_modes

  # Dragging the bottom-right corner far up and left stops at the minimum client size.
  read -r left top width height <<<"$(geometry)"
  xdotool mousemove $((left + width - 2)) $((top + height - 2)) mousedown 1
  for step in 1 2 3 4 5 6 7 8; do
    xdotool mousemove $((left + width - 2 - step * 40)) $((top + height - 2 - step * 25))
    sleep 0.03
  done
  xdotool mouseup 1
  wait_for 3 "the minimum size" client_is "100 50"

  menu_pick x
  EXPECTED="Top=50 Left=100 StayOnTop=1 HideTitle=0 Display=1 Legend=1"
fi

ended() { ! kill -0 "$VPID" 2>/dev/null; }
wait_for 5 "the program to end" ended
wait "$VPID" || fail "the program exited with an error"
[ "$(grep -c '=' "$WORK/FENDUL.INI")" -eq 15 ] || fail "the settings file does not hold 15 keys"
for kv in $EXPECTED; do
  ini_has "$kv" || fail "expected $kv"
done
echo "e2e ($MODE): 1 passed, 0 failed"
