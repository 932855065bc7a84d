#!/usr/bin/env bash
# Menu latency during a resize storm: another client resizes Varnel's window 1,000 times a second
# for 10 s, to random sizes up to 2^31 (xattack resize), while a synthetic right click every
# 0.4 s is timed from the click to the menu's window being mapped (xattack menu; Escape closes it
# again). Reports, for each run, the clicks' median, 90th percentile and largest time, the clicks
# that opened no menu within 5 s, and the program's CPU time over the storm; the load average at
# the start and end of each run. Each run has a private Xvfb of 1280 x 1024 (and openbox when
# asked) and a fresh program, whose first menu is opened once before the storm (it loads the
# menu's font).
#
#   bench/storm.sh path/to/varnel path/to/xattack [openbox]
#   BASELINE=path/to/other/varnel ...   a second Varnel, run alternately with the first (as "baseline")
#   RUNS=2 ...                          runs of each program (default 2)
#   STOPPED=80 ...                      the program is stopped (SIGSTOP) that many milliseconds of
#                                       every 100 during the storm: a machine whose processors are
#                                       that busy with others, without loading this one
set -euo pipefail
USAGE="usage: bench/storm.sh path/to/varnel path/to/xattack [openbox]"
VARNEL=$(readlink -f "${1:?$USAGE}")
ATTACK=$(readlink -f "${2:?$USAGE}")
MODE=${3:-bare}
RUNS=${RUNS:-2}
STOPPED=${STOPPED:-0}
cd "$(dirname "$0")/.."
fail() {
  echo "storm: $*" >&2
  [ -f "${WORK:-}/openbox.log" ] && cat "$WORK/openbox.log" >&2
  exit 1
}
. tests/e2e/common.sh

# run LABEL VARNEL: one storm against a fresh program on a fresh display.
run() {
  local label=$1 program=$2 win vpid tpid="" cpu0 cpu1 clicks="" load0 r
  begin_e2e
  start_private_server 341 400 "$WORK/xvfb.log" Xvfb -screen 0 1280x1024x24 -nolisten tcp
  export DISPLAY=$SERVER
  if [ "$MODE" = openbox ]; then
    start_openbox "$WORK/openbox.log"
  fi
  printf '[FENDUL]\nLeft=100\nTop=50\n' >"$WORK/FENDUL.INI"
  "$program" --ini "$WORK/FENDUL.INI" >"$WORK/varnel.log" 2>&1 &
  vpid=$!
  PIDS+=("$vpid")
  find_window() { xdotool search --onlyvisible --name '^(FENDUL|CPU Usage)$' 2>/dev/null | head -1; }
  wait_for 10 "the window" find_window
  win=$(find_window)
  xdotool mousemove 1270 1010
  "$ATTACK" menu "$win" >/dev/null || true
  xdotool key Escape
  sleep 0.5
  load0=$(cut -d' ' -f1 /proc/loadavg)
  if [ "$STOPPED" -gt 0 ]; then
    (while kill -CONT "$vpid" 2>/dev/null; do
       sleep "0.0$((100 - STOPPED))"
       kill -STOP "$vpid" 2>/dev/null || break
       sleep "0.0$STOPPED"
     done) &
    tpid=$!
  fi
  cpu0=$(awk '{print $14 + $15}' "/proc/$vpid/stat")
  "$ATTACK" resize "$win" 10000 3 1000 2>/dev/null &
  local spid=$!
  while kill -0 "$spid" 2>/dev/null; do
    sleep 0.3
    r=$(timeout 8 "$ATTACK" menu "$win" 2>/dev/null | awk '{print ($1 == "menu") ? $3 : "none"}')
    clicks="$clicks ${r:-none}"
    xdotool key Escape
    sleep 0.1
  done
  wait "$spid" || true
  cpu1=$(awk '{print $14 + $15}' "/proc/$vpid/stat")
  if [ -n "$tpid" ]; then
    kill "$tpid" 2>/dev/null || true
    wait "$tpid" 2>/dev/null || true
    kill -CONT "$vpid" 2>/dev/null || true
  fi
  # shellcheck disable=SC2086
  printf '%s\n' $clicks | awk -v label="$label" -v cpu=$((cpu1 - cpu0)) -v l0="$load0" -v l1="$(cut -d' ' -f1 /proc/loadavg)" '
    $1 == "none" { none++; next } { v[++n] = $1 }
    END {
      for (i = 1; i <= n; i++) for (j = i + 1; j <= n; j++) if (v[j] < v[i]) { t = v[i]; v[i] = v[j]; v[j] = t }
      printf "%-9s clicks %2d, no menu %d, median %6.1f ms, p90 %6.1f ms, max %6.1f ms; CPU %.2f s; load %s to %s\n",
        label, n + none, none + 0, v[int((n + 1) / 2)], v[int(n * 0.9 + 0.999)], v[n], cpu / 100, l0, l1
    }'
  end_e2e
  trap - EXIT
}

echo "storm ($MODE, stopped $STOPPED ms of 100): $(date -u '+%Y-%m-%d %H:%M UTC'), load $(cut -d' ' -f1-3 /proc/loadavg)"
for _ in $(seq "$RUNS"); do
  [ -n "${BASELINE:-}" ] && run baseline "$(readlink -f "$BASELINE")"
  run varnel "$VARNEL"
done
