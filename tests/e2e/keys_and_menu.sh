#!/usr/bin/env bash
# Real key presses on the real window: Right turns forward, M opens the popup menu (a new window
# on the screen), Escape closes it, Z ends the program.
# Usage: keys_and_menu.sh <kelpra> <kelpra-make-sample-book>
source "$(dirname "$0")/lib/session.sh"

start_viewer "$book/page01.jpg"

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
wait_closed
echo "keys_and_menu: OK"
