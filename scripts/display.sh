# A virtual X display for the window's checks, stopped when the script ends.
# Sourced: start_virtual_display sets DISPLAY to a fresh Xvfb server.
start_virtual_display() {
  local number=90
  while [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ]; do
    number=$((number + 1))
  done
  export DISPLAY=":$number"
  Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  VIRTUAL_DISPLAY_PID=$!
  trap 'kill "$VIRTUAL_DISPLAY_PID" 2>/dev/null || true' EXIT
  local tries
  for tries in $(seq 100); do
    xdpyinfo >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "The virtual display $DISPLAY did not start." >&2
  return 1
}
