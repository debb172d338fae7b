#!/usr/bin/env bash
# Start-up to the first visible window and resident memory of the panel
# against a bare Qt dialog, both in one X server (Xvfb with openbox), runs
# interleaved after one warm-up each; prints the medians and their ratios.
#   bench/startup/run.sh [build folder, default build] [runs, default 5]
# Needs xvfb-run, openbox, xdotool and python3.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../../build}" && pwd)
runs=${2:-5}
if [ -z "${TALVO_STARTUP_IN_X:-}" ]; then
  exec env TALVO_STARTUP_IN_X=1 xvfb-run -a -s '-screen 0 1280x1024x24' "$0" "$build" "$runs"
fi
unset QT_QPA_PLATFORM

work=$(mktemp -d)
exchange_pid=
wm_pid=
cleanup() {
  [ -n "$exchange_pid" ] && kill "$exchange_pid" 2>/dev/null || true
  [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
openbox >/dev/null 2>&1 &
wm_pid=$!
sleep 1

python3 "$here/exchange.py" >"$work/port" &
exchange_pid=$!
until [ -s "$work/port" ]; do sleep 0.05; done
mkdir -p "$work/home/Talvocti"
printf '[TCP]\r\nIP=127.0.0.1\r\nPort=%s\r\n[USR]\r\nUser=novak\r\nPass=secret\r\nLine=21\r\n' "$(cat "$work/port")" \
  >"$work/home/Talvocti/Talvodem.ini"

now_ms() { date +%s%3N; }
rss_mb() { awk '/VmRSS/ { printf "%.1f", $2 / 1024 }' "/proc/$1/status"; }

# measure <log in: 0|1> <program...>: prints the milliseconds to the first
# visible window, the RSS once the first windows have settled and, when
# asked to log in, the RSS logged in and idle.
measure() {
  local login=$1
  shift
  local start pid shown rss idle=-
  start=$(now_ms)
  HOME="$work/home" "$@" >/dev/null 2>&1 &
  pid=$!
  until xdotool search --onlyvisible --pid "$pid" >/dev/null 2>&1; do
    kill -0 "$pid" 2>/dev/null || { echo "$* exited before showing a window" >&2; return 1; }
    sleep 0.002
  done
  shown=$(($(now_ms) - start))
  sleep 2
  rss=$(rss_mb "$pid")
  if [ "$login" = 1 ]; then
    xdotool key --clearmodifiers Return
    sleep 3
    idle=$(rss_mb "$pid")
  fi
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  echo "$shown $rss $idle"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

measure 0 "$build/bin/bare_dialog" >/dev/null
measure 1 "$build/bin/Talvodem" >/dev/null
: >"$work/bare"
: >"$work/panel"
for _ in $(seq "$runs"); do
  measure 0 "$build/bin/bare_dialog" >>"$work/bare"
  measure 1 "$build/bin/Talvodem" >>"$work/panel"
done
bare_ms=$(cut -d' ' -f1 "$work/bare" | median)
bare_mb=$(cut -d' ' -f2 "$work/bare" | median)
panel_ms=$(cut -d' ' -f1 "$work/panel" | median)
panel_mb=$(cut -d' ' -f2 "$work/panel" | median)
idle_mb=$(cut -d' ' -f3 "$work/panel" | median)
echo "runs: $runs each, medians"
echo "bare dialog:  first window ${bare_ms} ms, RSS ${bare_mb} MB"
echo "panel:        first window ${panel_ms} ms, RSS ${panel_mb} MB with the log-in dialog, ${idle_mb} MB logged in and idle"
awk -v a="$panel_ms" -v b="$bare_ms" -v c="$panel_mb" -v d="$bare_mb" \
  'BEGIN { printf "ratio:        start-up %.2f x, RSS %.2f x\n", a / b, c / d }'
