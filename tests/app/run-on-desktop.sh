#!/bin/sh
# run-on-desktop.sh PROGRAM [ARGS...]: runs a test program on an X desktop of its own, Xvfb
# with the openbox window manager, as a person's desktop would place and decorate its windows.
# Exits 77 (skipped) where Xvfb or openbox is missing.
command -v Xvfb >/dev/null && command -v openbox >/dev/null && command -v xprop >/dev/null ||
  exit 77
dir=$(mktemp -d) || exit 1
Xvfb -displayfd 5 -screen 0 1280x800x24 -nolisten tcp 5>"$dir/display" 2>"$dir/xvfb.log" &
xvfb=$!
wm=
cleanup() {
  [ -n "$wm" ] && kill "$wm" 2>/dev/null
  kill "$xvfb" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$dir"
}
trap cleanup EXIT
tries=0
until [ -s "$dir/display" ]; do
  tries=$((tries + 1))
  [ $tries -gt 100 ] && { cat "$dir/xvfb.log" >&2; exit 1; }
  sleep 0.1
done
DISPLAY=:$(cat "$dir/display")
export DISPLAY
HOME="$dir" openbox --sm-disable >"$dir/openbox.log" 2>&1 &
wm=$!
tries=0
until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do
  tries=$((tries + 1))
  [ $tries -gt 100 ] && { cat "$dir/openbox.log" >&2; exit 1; }
  sleep 0.1
done
VESK_TEST_DESKTOP=1 QT_QPA_PLATFORM=xcb "$@"
exit $?
