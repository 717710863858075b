#!/usr/bin/env bash
# Real key presses on the real window: Right turns forward, M opens the popup menu (a new window
# on the screen), Escape closes it, Z ends the program.
# Usage: keys_and_menu.sh <kelpra> <kelpra-make-sample-book>
set -euo pipefail

kelpra=$1
make_book=$2
work=$(mktemp -d)
xvfb_pid=
viewer_pid=

cleanup() {
  [[ -n $viewer_pid ]] && kill "$viewer_pid" 2>/dev/null || true
  [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  [[ -f $work/viewer.log ]] && sed 's/^/  viewer: /' "$work/viewer.log" >&2
  exit 1
}

# A private home and settings folder, no session bus: a desktop with default settings.
export HOME=$work/home XDG_CONFIG_HOME=$work/config
mkdir -p "$HOME" "$XDG_CONFIG_HOME"
unset DBUS_SESSION_BUS_ADDRESS
export QT_QPA_PLATFORM=xcb
book=$work/book
"$make_book" "$book" >/dev/null

exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do [[ -s $work/display ]] && break; sleep 0.1; done
[[ -s $work/display ]] || fail "Xvfb did not start"
export DISPLAY=:$(head -1 "$work/display")

"$kelpra" "$book/page01.jpg" >"$work/viewer.log" 2>&1 &
viewer_pid=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^\[Kelpra\]' | head -1) ||
  fail "no viewer window"
xdotool windowfocus --sync "$window"
sleep 0.5

# Waits until the caption matches a pattern.
wait_title() {
  local title
  for _ in $(seq 50); do
    title=$(xdotool getwindowname "$window")
    [[ $title =~ $1 ]] && return 0
    sleep 0.1
  done
  fail "caption '$title' does not match '$1'"
}

# The viewer's windows now mapped on the screen.
shown_windows() {
  xdotool search --onlyvisible --pid "$viewer_pid" 2>/dev/null | wc -l
}

wait_windows() {
  for _ in $(seq 50); do
    [[ $(shown_windows) -eq $1 ]] && return 0
    sleep 0.1
  done
  fail "expected $1 shown windows, found $(shown_windows) ($2)"
}

wait_title 'page01'
first=$(xdotool getwindowname "$window")
counter=${first##* }
[[ $counter =~ ^1/[0-9]+$ ]] || fail "no page counter in '$first'"

# Right arrow: the default right-to-left book turns forward; the counter moves on.
xdotool key Right
for _ in $(seq 50); do
  [[ $(xdotool getwindowname "$window") != "$first" ]] && break
  sleep 0.1
done
after=$(xdotool getwindowname "$window")
[[ ${after##* } != "$counter" ]] || fail "Right did not turn the page: '$after'"
[[ ${after##* } =~ ^[2-9]/ ]] || fail "Right did not turn forward: '$after'"

# M opens the popup menu: one more window on the screen, its left edge at the window's centre.
# Escape closes it again.
windows=$(shown_windows)
before=$(xdotool search --onlyvisible --pid "$viewer_pid" | sort)
xdotool key m
wait_windows $((windows + 1)) "after M"
popup=$(comm -13 <(echo "$before") <(xdotool search --onlyvisible --pid "$viewer_pid" | sort))
eval "$(xdotool getwindowgeometry --shell "$window")"
centre_x=$((X + WIDTH / 2))
eval "$(xdotool getwindowgeometry --shell "$popup")"
[[ $X -eq $centre_x ]] || fail "popup menu at x=$X, expected the window's centre $centre_x"
xdotool key Escape
wait_windows "$windows" "after Escape"

# Z closes the window, and the program ends.
xdotool windowfocus --sync "$window"
xdotool key z
for _ in $(seq 100); do
  kill -0 "$viewer_pid" 2>/dev/null || { viewer_pid=; break; }
  sleep 0.1
done
[[ -z $viewer_pid ]] || fail "Z did not end the program"
echo "keys_and_menu: OK"
