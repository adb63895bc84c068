# Sourced by the scripts: a virtual X display for Wine's windows when there
# is no display. Only the server started here is stopped by xvfb_stop.
# usage: xvfb_start; ...; xvfb_stop
xvfb_start() {
  XVFB_PID=
  [ -n "${DISPLAY:-}" ] && return 0
  local number_file
  number_file=$(mktemp)
  # -displayfd picks a free display number and writes it once the server
  # accepts connections.
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$number_file" 2>/dev/null &
  XVFB_PID=$!
  for _ in $(seq 100); do
    [ -s "$number_file" ] && break
    sleep 0.1
  done
  if [ ! -s "$number_file" ]; then
    echo "xvfb_start: Xvfb did not start" >&2
    rm -f "$number_file"
    return 1
  fi
  export DISPLAY=":$(head -n1 "$number_file")"
  rm -f "$number_file"
}

xvfb_stop() {
  if [ -n "${XVFB_PID:-}" ]; then
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=
  fi
}
