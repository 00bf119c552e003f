#!/bin/sh
# Runs a test program on a private X server with openbox as the window manager, so windows
# get real frames and focus. Usage: on_x_desktop.sh <program> [arguments...]
set -eu
if ! command -v xvfb-run >/dev/null || ! command -v openbox >/dev/null; then
  echo "xvfb-run or openbox missing: skipped" >&2
  exit 77
fi
exec xvfb-run -a -s "-screen 0 1280x800x24 -nolisten tcp" sh -c '
  openbox --sm-disable >/dev/null 2>&1 &
  wm=$!
  for i in $(seq 50); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id #" && break
    sleep 0.1
  done
  QT_QPA_PLATFORM=xcb "$@"
  status=$?
  kill $wm 2>/dev/null
  exit $status
' on_x_desktop "$@"
