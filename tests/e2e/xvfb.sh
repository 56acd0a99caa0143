# shellcheck shell=bash
# Sourced by the end-to-end test, scripts/screenshot and bench/startup/measure.
# start_xvfb [WxHxDEPTH]: starts a private Xvfb and exports DISPLAY. Xvfb picks a free
# display number itself (-displayfd) and reports it once it accepts clients, so parallel
# runs never collide and nobody waits longer than the server needs to start.
# stop_xvfb: stops it again. Both use xvfb_dir and xvfb_pid.

start_xvfb() {
  local screen=${1:-1280x1024x24} number=
  xvfb_dir=$(mktemp -d "${TMPDIR:-/tmp}/vandora-xvfb.XXXXXX")
  mkfifo "$xvfb_dir/display"
  Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp -br -noreset \
    3>"$xvfb_dir/display" >"$xvfb_dir/log" 2>&1 &
  xvfb_pid=$!
  if ! read -r -t 20 number <"$xvfb_dir/display" || [ -z "$number" ]; then
    echo "Xvfb did not start:" >&2
    cat "$xvfb_dir/log" >&2
    stop_xvfb
    return 1
  fi
  export DISPLAY=":$number"
}

stop_xvfb() {
  if [ -n "${xvfb_pid:-}" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
    xvfb_pid=
  fi
  if [ -n "${xvfb_dir:-}" ]; then
    rm -rf "$xvfb_dir"
    xvfb_dir=
  fi
}
