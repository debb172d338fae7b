#!/usr/bin/env bash
# The answer path end to end: the panel logged in over a loopback socket and
# a bare Qt consumer, fed the same streams by a scripted exchange in one X
# server (Xvfb with openbox); prints the rates, medians and ratios.
#   bench/answers/run.sh [build folder, default build] [runs, default 9]
# Needs xvfb-run, openbox, xdotool and python3.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
if [ -z "${TALVO_ANSWERS_IN_X:-}" ]; then
  exec env TALVO_ANSWERS_IN_X=1 xvfb-run -a -s '-screen 0 1280x1024x24' "$0" "$@"
fi
unset QT_QPA_PLATFORM
openbox >/dev/null 2>&1 &
trap 'kill $! 2>/dev/null || true' EXIT
sleep 1
python3 "$here/drive.py" "$(cd "${1:-$here/../../build}" && pwd)" "${2:-9}"
