#!/usr/bin/env bash
# The built quiz program in a private Xvfb, played the way a player would: the window
# appears centred with its designed client size, "Start new quiz" asks a question, a click
# on a country opens a modal message box, Enter closes it and the next question follows,
# Tab and Enter answer from the keyboard, a country clicked twice does not stay lit after
# its box, and closing the window ends the program with exit code 0. Then, on a desktop
# set to 150 %, the window fits a 1080-line screen, and at
# 125 % the pointer's looks leave nothing behind. Last, a display that cannot be reached is
# reported in plain words.
#
# Usage: quiz_window.sh VANDORA XPROBE FORM
# Every wait is bounded and ends on an X event (window mapped, unmapped, process ended)
# or, for repaints, as soon as the pixels show what is expected. Exit code 77: the form
# holds no countries, so the click on a country could not be played.
set -euo pipefail

vandora=$1
probe=$2
form=$3
. "$(dirname "$0")/xvfb.sh"

# Client points, from the window's persisted layout.
button_x=88 button_y=20                  # the middle of "Start new quiz" (8, 8, 161 x 25)
question=(8 47 400 25)                   # the question line, as wide as the map below it
map_left=8 map_top=95                    # the map's picture pixel (x, y) is client (x + 8, y + 95)
country_x=189 country_y=237              # Germany's deepest point: 21 pixels from its border

work=$(mktemp -d "${TMPDIR:-/tmp}/vandora-e2e.XXXXXX")
launch_pid=
cleanup() {
  if [ -n "$launch_pid" ]; then kill "$launch_pid" 2>/dev/null || true; fi
  stop_xvfb
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  if [ -s "$work/program.log" ]; then
    echo "--- program output:" >&2
    cat "$work/program.log" >&2
  fi
  exit 1
}
ok() { echo "ok: $*"; }

# close_window WHO: asks the launched program's window to close; the program must end
# within 10 s with exit code 0.
close_window() {
  local status=0
  "$probe" close "$window" || fail "could not ask the window of $1 to close"
  "$probe" wait-exit "$pid" 10000 >/dev/null || fail "$1 still runs 10 s after its window was closed"
  wait "$launch_pid" || status=$?
  launch_pid=
  [ "$status" -eq 0 ] || fail "$1 ended with exit code $status"
}

start_xvfb 1280x1024x24 || fail "Xvfb did not start"
# make test runs the in-process tests offscreen; this one needs the real X connection.
export QT_QPA_PLATFORM=xcb
export XDG_RUNTIME_DIR=$work   # private, and Qt does not warn about a missing one

# The probe starts the program and reports its window; it then stays until the program
# ends and exits with the program's exit code.
mkfifo "$work/launch"
"$probe" launch Vandora 20000 "$vandora" >"$work/launch" 2>"$work/program.log" &
launch_pid=$!
read -r -t 25 window pid map_ms <"$work/launch" || fail "no window titled 'Vandora' was mapped"
ok "window $window titled 'Vandora' mapped ${map_ms} ms after launch"

geometry=$("$probe" geometry "$window") || fail "cannot read the window's geometry"
read -r left top width height screen_w screen_h <<<"$geometry"
if [ "$width" -ne 416 ] || [ "$height" -ne 568 ]; then
  fail "client area is ${width} x ${height}, expected 416 x 568"
fi
ok "client area 416 x 568"
within_one() { [ $(( $1 - $2 )) -ge -1 ] && [ $(( $1 - $2 )) -le 1 ]; }
centre_left=$(( (screen_w - width) / 2 )) centre_top=$(( (screen_h - height) / 2 ))
if ! within_one "$left" "$centre_left" || ! within_one "$top" "$centre_top"; then
  fail "client area at ($left, $top) on a ${screen_w} x ${screen_h} screen, expected ($centre_left, $centre_top)"
fi
ok "centred on the screen at ($left, $top)"

# A desktop's launcher finds the running window by the class its desktop file names.
wm_class=$(xprop -id "$window" WM_CLASS) || fail "cannot read the window's WM_CLASS"
startup_class=$(sed -n 's/^StartupWMClass=//p' "$(dirname "$form")/vandora.desktop")
[[ -n $startup_class && $wm_class == *"\"$startup_class\""* ]] ||
  fail "the window's $wm_class is not the desktop file's StartupWMClass '$startup_class'"
ok "the window's class is the desktop file's StartupWMClass ($startup_class)"

# The window's first paint: once the button shows (more than one colour), the whole
# window has been flushed, and the question line is empty: one plain colour.
"$probe" grab "$window" 8 8 161 25 --min-colours 2 --timeout 10000 >/dev/null ||
  fail "the button was never painted"
grab=$("$probe" grab "$window" "${question[@]}") || fail "cannot read the question line"
read -r empty_sum empty_colours <<<"$grab"
[ "$empty_colours" -eq 1 ] || fail "the question line shows something before the first quiz ($empty_colours colours)"
ok "question line empty before the first quiz"

click() { # client x, client y
  xdotool mousemove --sync $(( left + $1 )) $(( top + $2 )) click 1
}

click "$button_x" "$button_y"
grab=$("$probe" grab "$window" "${question[@]}" \
  --differs-from "$empty_sum" --min-colours 2 --timeout 5000) ||
  fail "the question line did not change after 'Start new quiz'"
read -r first_sum first_colours <<<"$grab"
ok "'Start new quiz' wrote the question line ($first_colours colours)"

skipped=
if ! grep -q "^ *PolyPoints = ($" "$form"; then
  echo "SKIP: the map in $form has no countries yet: the click on a country is not played"
  skipped=1
else
  click $(( map_left + country_x )) $(( map_top + country_y ))
  mapped=$("$probe" wait-map Vandora 5000 --except "$window") ||
    fail "no message box opened after a click on a country"
  read -r box box_ms <<<"$mapped"
  ok "message box $box opened ${box_ms} ms after the click"
  xprop -id "$box" _NET_WM_STATE | grep -q _NET_WM_STATE_MODAL ||
    fail "the message box is not modal: $(xprop -id "$box" _NET_WM_STATE)"
  ok "the message box is modal"

  # Qt gives a new modal box the focus only once it has seen the box mapped itself.
  "$probe" wait-focus "$box" 5000 >/dev/null || fail "the message box never got the keyboard focus"
  xdotool key Return
  "$probe" wait-unmap "$box" 5000 >/dev/null || fail "Enter did not close the message box"
  ok "Enter closed the message box"
  "$probe" grab "$window" "${question[@]}" --differs-from "$first_sum" --min-colours 2 \
    --timeout 5000 >/dev/null || fail "no next question after the message box closed"
  ok "the next question followed"

  # From the keyboard: Tab from the button to the map lights its first country, and
  # Enter answers with it. The keyboard focus goes back to the window first, as a window
  # manager would give it back once the box has gone (this display has none).
  xdotool windowfocus --sync "$window"
  xdotool key Tab
  xdotool key Return
  mapped=$("$probe" wait-map Vandora 5000 --except "$window") ||
    fail "Tab to the map and Enter opened no message box"
  read -r box _ <<<"$mapped"
  ok "Tab to the map and Enter answered from the keyboard"
  "$probe" wait-focus "$box" 5000 >/dev/null || fail "the second message box never got the keyboard focus"
  xdotool key Return
  "$probe" wait-unmap "$box" 5000 >/dev/null || fail "Enter did not close the second message box"

  # A country clicked twice in a row: the second click deselects it, so it shows the
  # hover look as the answer's box opens and takes the pointer away from the map. With the
  # box closed and the pointer off the map, the country must not stay lit.
  xdotool windowfocus --sync "$window"
  for attempt in first second; do
    click $(( map_left + country_x )) $(( map_top + country_y ))
    mapped=$("$probe" wait-map Vandora 5000 --except "$window") ||
      fail "no message box opened after the $attempt of two clicks on the same country"
    read -r box _ <<<"$mapped"
    "$probe" wait-focus "$box" 5000 >/dev/null || fail "the box after the $attempt click never got the keyboard focus"
    xdotool key Return
    "$probe" wait-unmap "$box" 5000 >/dev/null || fail "Enter did not close the box after the $attempt click"
  done
  xdotool mousemove --sync $(( left + 2 )) $(( top + 2 ))
  lit=1
  for (( i = 0; i < 50; i++ )); do
    "$probe" grab "$window" $(( map_left + country_x )) $(( map_top + country_y )) 1 1 \
      --ppm "$work/country.ppm" >/dev/null || fail "cannot read the country's pixel"
    if [ "$(tail -c 3 "$work/country.ppm" | od -An -tx1 | tr -d ' ')" != ffff00 ]; then lit=; break; fi
    sleep 0.1
  done
  [ -z "$lit" ] || fail "the country clicked twice stays lit yellow after the pointer left the map"
  ok "a country clicked twice does not stay lit once the pointer has left"
fi

close_window "the program"
ok "closing the window ended the program with exit code 0"

# A desktop set to 150 % on a 1920 x 1080 screen (Xft.dpi 144): the window takes the
# desktop's own scale, 1.5, and fits on the screen. Rounded up to 2 it would be 1136 device
# pixels high, and its score line and link would lie below the screen's edge.
stop_xvfb
start_xvfb 1920x1080x24 || fail "the second Xvfb did not start"
xprop -root -f RESOURCE_MANAGER 8s -set RESOURCE_MANAGER $'Xft.dpi:\t144\n'
mkfifo "$work/launch-scaled"
"$probe" launch Vandora 20000 "$vandora" >"$work/launch-scaled" 2>"$work/program.log" &
launch_pid=$!
read -r -t 25 window pid _ <"$work/launch-scaled" || fail "no window at 144 dpi"
geometry=$("$probe" geometry "$window") || fail "cannot read the window's geometry at 144 dpi"
read -r left top width height screen_w screen_h <<<"$geometry"
[ "$width" -eq 624 ] && [ "$height" -eq 852 ] ||
  fail "at 144 dpi the client area is ${width} x ${height} device pixels, expected 624 x 852"
[ "$left" -ge 0 ] && [ "$top" -ge 0 ] && [ $(( left + width )) -le "$screen_w" ] &&
  [ $(( top + height )) -le "$screen_h" ] ||
  fail "at 144 dpi the window (${width} x ${height} at ${left}, ${top}) does not fit the ${screen_w} x ${screen_h} screen"
ok "at 144 dpi the window is scaled by 1.5 and fits a 1920 x 1080 screen"
close_window "the scaled program"

# A desktop set to 125 % (Xft.dpi 120): device pixels straddle the edges of the map's
# pixels. Sweeping the pointer over the whole map and off it again must leave the window
# as it was: no device pixel may keep a look that a repaint of a smaller area missed.
xprop -root -f RESOURCE_MANAGER 8s -set RESOURCE_MANAGER $'Xft.dpi:\t120\n'
mkfifo "$work/launch-125"
"$probe" launch Vandora 20000 "$vandora" >"$work/launch-125" 2>"$work/program.log" &
launch_pid=$!
read -r -t 25 window pid _ <"$work/launch-125" || fail "no window at 120 dpi"
read -r left top width height _ <<<"$("$probe" geometry "$window")"
off=(mousemove --sync $(( left + 2 )) $(( top + 2 )))
xdotool "${off[@]}"
# The window's pixels once they stop changing (the first paint, or the last look's erase,
# may still be on its way); at most 5 s.
settled_sum() {
  local last= sum i
  for (( i = 0; i < 50; i++ )); do
    sum=$("$probe" grab "$window" 0 0 "$width" "$height") || return 1
    if [ "$sum" = "$last" ] && [ "$sum" = "${1:-$sum}" ]; then echo "$sum"; return 0; fi
    last=$sum
    sleep 0.1
  done
  echo "$sum"
}
before=$(settled_sum) || fail "cannot read the window's pixels at 120 dpi"
sweep=()   # device pixels over the map (client 8, 95 to 408, 502 at 1.25: 10, 119 to 510, 628)
for (( y = 119; y < 628; y += 9 )); do
  for (( x = 10; x < 510; x += 23 )); do sweep+=(mousemove $(( left + x )) $(( top + y ))); done
done
xdotool "${sweep[@]}" "${off[@]}"
after=$(settled_sum "$before") || fail "cannot read the window's pixels at 120 dpi"
[ "$after" = "$before" ] || fail "at 120 dpi a sweep over the map left pixels of a look behind"
ok "at 120 dpi a sweep over the map leaves the window as it was"
close_window "the program at 120 dpi"

# A display that is named but cannot be reached: a plain sentence and the way to run the
# quiz without one, and exit code 1, instead of Qt's abort.
set +e
DISPLAY=:65000 "$vandora" >"$work/unreachable.log" 2>&1
status=$?
set -e
[ "$status" -eq 1 ] || fail "with an unreachable display the program ended with exit code $status: $(cat "$work/unreachable.log")"
grep -q '^Vandora could not open a window on the display ":65000"\.$' "$work/unreachable.log" &&
  grep -q "^To run it without one, use: xvfb-run -a $vandora\$" "$work/unreachable.log" ||
  fail "no plain message for an unreachable display: $(cat "$work/unreachable.log")"
ok "an unreachable display is reported in a sentence, with exit code 1"

if [ -n "$skipped" ]; then
  exit 77
fi
