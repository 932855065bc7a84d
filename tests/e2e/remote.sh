#!/usr/bin/env bash
# End-to-end test of the program on another machine's load, on a private Xvfb display without a
# window manager:
# - with a server that accepts and never answers, the window keeps its start-up caption, says on
#   standard error why no load comes, and a right click opens the menu at once: each of five
#   clicks is timed from the click to the menu's window being mapped (the X test extension makes
#   the click). At least four must take 100 ms or less and none more than 300 ms: a window that
#   waited for a request would take up to 900 ms, while this machine may be busy with other work;
# - with a real node exporter (where it is installed): the caption names the machine, the
#   exporter is killed (one line: readings stopped) and started again on the same port (one
#   line: readings are back), the menu still opening in between;
# - a Source key in the settings file that cannot be used ends the program with status 2 and a
#   line that names the file.
#
#   tests/e2e/remote.sh path/to/varnel path/to/remoteprobe
set -euo pipefail

USAGE="usage: remote.sh path/to/varnel path/to/remoteprobe"
VARNEL=${1:?$USAGE}
PROBE=${2:?$USAGE}
for tool in Xvfb xdotool xwininfo xdpyinfo; do
  command -v "$tool" >/dev/null || { echo "remote: $tool is missing"; exit 1; }
done

. "$(dirname "$0")/common.sh"
begin_e2e
fail() {
  echo "remote FAILED: $*"
  [ -f "$WORK/varnel.log" ] && { echo "--- program output:"; cat "$WORK/varnel.log"; }
  exit 1
}
start_private_xvfb 200 260 "$WORK/xvfb.log"

printf '[FENDUL]\nLeft=100\nTop=50\nWidth=332\nHeight=190\n' >"$WORK/FENDUL.INI"
# start_varnel ADDRESS: the program on that source, its window in WIN.
start_varnel() {
  "$VARNEL" --ini "$WORK/FENDUL.INI" --source "$1" >"$WORK/varnel.log" 2>&1 &
  VPID=$!
  PIDS+=($VPID)
  find_window() { xdotool search --onlyvisible --name '^(FENDUL|CPU Usage.*)$' 2>/dev/null | head -1; }
  wait_for 10 "the window" find_window
  WIN=$(find_window)
}
stop_varnel() {
  kill "$VPID" 2>/dev/null || true
  wait "$VPID" 2>/dev/null || true
}
caption_is() { [ "$(xdotool getwindowname "$WIN")" = "$1" ]; }
log_has() { grep -q -- "$1" "$WORK/varnel.log"; }
menu_open() { xwininfo -root -children | grep -q '+110+60$'; }
menu_closed() { ! menu_open; }
# click_menu: a right click in the window; MS gets the milliseconds until the menu is mapped;
# the menu is closed again.
click_menu() {
  MS=$("$PROBE" click 200 120) || fail "no menu within 2 s of a right click"
  wait_for 3 "the menu at 110,60" menu_open
  xdotool key Escape
  wait_for 3 "the menu to close" menu_closed
}

# ---- A server that never answers ------------------------------------------------------------
"$PROBE" silent >"$WORK/silent.port" &
PIDS+=($!)
wait_for 5 "the silent server" test -s "$WORK/silent.port"
SILENT="http://127.0.0.1:$(cat "$WORK/silent.port")/metrics"
start_varnel "$SILENT"
# From the second tick on a request hangs at almost every moment (900 ms of each second).
sleep 2.5
quick=0
times=()
for i in 1 2 3 4 5; do
  click_menu
  ms=$MS
  times+=("$ms")
  awk -v m="$ms" 'BEGIN { exit !(m <= 300) }' || fail "the menu took $ms ms (clicks: ${times[*]})"
  awk -v m="$ms" 'BEGIN { exit !(m <= 100) }' && quick=$((quick + 1))
  sleep 0.37  # another moment of the second
done
echo "menu while a request hangs: ${times[*]} ms"
[ "$quick" -ge 4 ] || fail "only $quick of 5 menus within 100 ms: ${times[*]} ms"
caption_is "FENDUL" || fail "the caption changed without a reading: $(xdotool getwindowname "$WIN")"
wait_for 5 "the report of the failing readings" log_has "no CPU load can be read from $SILENT ("
stop_varnel

# ---- A real exporter that goes away and comes back ----------------------------------------------
if command -v prometheus-node-exporter >/dev/null; then
  PORT=$("$PROBE" port)
  start_exporter() {
    prometheus-node-exporter --collector.disable-defaults --collector.cpu --web.disable-exporter-metrics \
      --web.listen-address="127.0.0.1:$PORT" >>"$WORK/exporter.log" 2>&1 &
    EPID=$!
    PIDS+=($EPID)
  }
  start_exporter
  wait_for 10 "the exporter" bash -c "exec 3<>/dev/tcp/127.0.0.1/$PORT"
  start_varnel "http://127.0.0.1:$PORT/metrics"
  wait_for 5 "the caption naming the machine" caption_is "CPU Usage - 127.0.0.1"
  kill "$EPID"
  wait "$EPID" 2>/dev/null || true
  wait_for 5 "the report that readings stopped" log_has "no CPU load can be read from http://127.0.0.1:$PORT/metrics"
  click_menu
  start_exporter
  wait_for 10 "the report that readings are back" log_has "can be read from http://127.0.0.1:$PORT/metrics again"
  [ "$(grep -c 'no CPU load can be read' "$WORK/varnel.log")" -eq 1 ] || fail "the stop was reported more than once"
  caption_is "CPU Usage - 127.0.0.1" || fail "the caption after the restart: $(xdotool getwindowname "$WIN")"
  stop_varnel
else
  echo "remote: prometheus-node-exporter is not installed; its part is skipped"
fi

# ---- A stored address that cannot be used -----------------------------------------------------
printf '[FENDUL]\nSource=ftp://build1/metrics\n' >"$WORK/BAD.INI"
set +e
"$VARNEL" --ini "$WORK/BAD.INI" >"$WORK/bad.log" 2>&1
code=$?
set -e
[ "$code" -eq 2 ] || fail "a bad Source key: exit status $code"
grep -q "^varnel: Source in $WORK/BAD.INI: the address must begin with" "$WORK/bad.log" ||
  fail "a bad Source key: $(cat "$WORK/bad.log")"
grep -q '^Source=ftp://build1/metrics$' "$WORK/BAD.INI" || fail "the settings file changed"

echo "remote: all checks passed"
