#!/usr/bin/env bash
# The real program on a virtual X display, as the window manager and the task bar see it:
# the caption exactly as written, the application title as the icon text, a fixed
# 533 x 441 window in the middle of the screen, and the 48 x 48 icon.
# Usage: WindowOnDisplay.sh PROGRAM SCRIPTS_FOLDER
set -euo pipefail
PROGRAM=$1
source "$2/display.sh"
start_virtual_display
# libxkbcommon-x11 hands strndup a buffer with no NUL within the length it gives, which
# AddressSanitizer's strict string checks take for an overflow; our code is not involved.
if [ -n "${ASAN_OPTIONS:-}" ]; then
  export ASAN_OPTIONS="${ASAN_OPTIONS//strict_string_checks=1/strict_string_checks=0}"
fi
QT_QPA_PLATFORM=xcb "$PROGRAM" >/dev/null 2>&1 &
PID=$!
trap 'kill "$PID" 2>/dev/null || true; kill "$VIRTUAL_DISPLAY_PID" 2>/dev/null || true' EXIT

CAPTION='Marlovent 5.2.1  e-mail:marlovent@example.com'
TITLE='Marlovent 5.2  e-mail:marlovent@example.com'
WINDOW=
for _ in $(seq 100); do
  WINDOW=$(xwininfo -root -tree 2>/dev/null | grep -F "\"$CAPTION\"" | awk '{print $1}' | head -1 || true)
  [ -n "$WINDOW" ] && break
  sleep 0.1
done
[ -n "$WINDOW" ] || { echo "FAIL: no window captioned '$CAPTION'"; exit 1; }

failures=0
expect() {  # expect WHAT ACTUAL EXPECTED
  if [ "$2" != "$3" ]; then
    echo "FAIL: $1: got '$2', expected '$3'"
    failures=$((failures + 1))
  fi
}
property() { xprop -id "$WINDOW" -notype "$1"; }
info() { xwininfo -id "$WINDOW" | sed -n "s/^ *$1: *//p"; }

expect "caption" "$(property _NET_WM_NAME)" "_NET_WM_NAME = \"$CAPTION\""
expect "icon text" "$(property _NET_WM_ICON_NAME)" "_NET_WM_ICON_NAME = \"$TITLE\""
HINTS=$(property WM_NORMAL_HINTS)
expect "minimum size" "$(grep -c 'minimum size: 533 by 441' <<<"$HINTS")" 1
expect "maximum size" "$(grep -c 'maximum size: 533 by 441' <<<"$HINTS")" 1
expect "icon" "$(xprop -id "$WINDOW" _NET_WM_ICON | grep -c 'Icon (48 x 48)')" 1
expect "width" "$(info Width)" 533
expect "height" "$(info Height)" 441
expect "left" "$(info 'Absolute upper-left X')" $(((1024 - 533) / 2))
expect "top" "$(info 'Absolute upper-left Y')" $(((768 - 441) / 2))
kill -0 "$PID" || { echo "FAIL: the program ended by itself"; failures=$((failures + 1)); }
[ "$failures" -eq 0 ] && echo "The window looks right to the window manager."
exit "$failures"
