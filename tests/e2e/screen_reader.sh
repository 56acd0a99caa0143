#!/usr/bin/env bash
# The built quiz under a screen reader's eyes: a private Xvfb and D-Bus session, in which
# screen_reader.py reads and drives the program over the accessibility bus (AT-SPI) as a
# screen reader does.
#
# Usage: screen_reader.sh VANDORA XPROBE
set -euo pipefail

vandora=$1
probe=$2
here=$(dirname "$0")
. "$here/xvfb.sh"

work=$(mktemp -d "${TMPDIR:-/tmp}/vandora-a11y.XXXXXX")
cleanup() {
  stop_xvfb
  rm -rf "$work"
}
trap cleanup EXIT

start_xvfb 1280x1024x24 || { echo "FAIL: Xvfb did not start" >&2; exit 1; }
export QT_QPA_PLATFORM=xcb
export XDG_RUNTIME_DIR=$work
# A screen reader turns Qt's bridge on through the bus's status; this stands in for one.
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
# The desktop's own session bus, if any, stays out of it.
dbus-run-session -- /usr/bin/python3 "$here/screen_reader.py" "$vandora" "$probe"
