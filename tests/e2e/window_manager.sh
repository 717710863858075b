#!/usr/bin/env bash
# Under a window manager (openbox), which adds a frame the viewer knows only once its window is
# shown: the stored bounds are the outer frame's and come back unchanged over several restarts,
# hand-written bounds put the frame exactly there, a size larger than the screen is brought
# within it, a maximized window comes back maximized; the dialogs and the version box are
# transient for the main window, the version box centred on the screen.
# Usage: window_manager.sh <kelpra> <kelpra-make-sample-book>
source "$(dirname "$0")/lib/session.sh"
start_openbox
ini=$XDG_CONFIG_HOME/ZENDRO/$(basename "$kelpra").ini
show_on_failure() { [[ -f $ini ]] && sed 's/^/  ini: /' "$ini"; }

stored_bounds() {
  local key
  for key in Left Top Width Height; do
    sed -n "s/^$key=//p" "$ini"
  done | paste -sd' '
}

write_config() {
  mkdir -p "$(dirname "$ini")"
  { echo '[CONFIG]' && printf '%s\n' "$@"; } >"$ini"
}

# Waits until the viewer's frame has the bounds "left top width height".
wait_frame() {
  local bounds=
  for _ in $(seq 50); do
    bounds=$(frame_bounds "$window")
    [[ $bounds == "$1" ]] && return 0
    sleep 0.1
  done
  fail "the frame is at '$bounds', not at '$1'"
}

close_viewer() {
  xdotool windowfocus --sync "$window"
  xdotool key z
  wait_closed
}

# Starts and closes the viewer again and again: the frame is where the file says, and the file
# stays as it was.
restarts_keep() {
  local expected
  expected=$(stored_bounds)
  for run in 1 2 3; do
    start_viewer "$@"
    wait_frame "$expected"
    close_viewer
    [[ $(stored_bounds) == "$expected" ]] ||
      fail "restart $run stored '$(stored_bounds)' instead of '$expected'"
  done
}

# First run: the defaults (30 % / 40 % of the 1280 x 1024 screen) are the frame's bounds.
start_viewer "$book/page01.jpg"
wait_frame "384 307 512 410"
close_viewer
[[ $(stored_bounds) == "384 307 512 410" ]] || fail "first run stored '$(stored_bounds)'"
restarts_keep "$book/page01.jpg"

# Bounds written by hand.
write_config "Left=100" "Top=80" "Width=700" "Height=500"
restarts_keep "$book/page01.jpg"

# A damaged size: no larger than the screen's work area (here the whole screen).
write_config "Left=10" "Top=20" "Width=60000" "Height=50000"
start_viewer "$book/page01.jpg"
wait_frame "10 20 1280 1024"
close_viewer
[[ $(stored_bounds) == "10 20 1280 1024" ]] || fail "the huge size stored '$(stored_bounds)'"

# Maximized comes back maximized, and closing stores the same again.
write_config "WindowState=wsMaximized" "Left=100" "Top=80" "Width=700" "Height=500"
for run in 1 2; do
  start_viewer "$book/page01.jpg"
  for _ in $(seq 50); do
    [[ $(xprop -id "$window" _NET_WM_STATE) == *MAXIMIZED_HORZ* ]] && break
    sleep 0.1
  done
  state=$(xprop -id "$window" _NET_WM_STATE)
  [[ $state == *MAXIMIZED_VERT* && $state == *MAXIMIZED_HORZ* ]] ||
    fail "run $run: not maximized ($state)"
  close_viewer
  grep -qx "WindowState=wsMaximized" "$ini" || fail "run $run: not stored as maximized"
  [[ $run -eq 1 ]] && maximized=$(stored_bounds)
  [[ $(stored_bounds) == "$maximized" ]] || fail "run $run stored '$(stored_bounds)'"
done

# The dialogs, opened from the main menu, belong to the main window.
write_config "Left=100" "Top=80" "Width=700" "Height=500"
printf '[MENU]\nMenu=1\n' >>"$ini"
start_viewer "$book/page01.jpg"

# Waits for a shown window of that exact name and prints its id.
shown_window() {
  local id
  for _ in $(seq 50); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1)
    [[ -n $id ]] && echo "$id" && return 0
    sleep 0.1
  done
  fail "no '$1' window"
}

main_id=$(printf '0x%x' "$window")
# name, keys that open it
for dialog in "Picture alt+s p" "Interval alt+s n" "Information alt+h v"; do
  read -r name first second <<<"$dialog"
  xdotool windowfocus --sync "$window"
  xdotool key "$first"
  sleep 0.3
  xdotool key "$second"
  id=$(shown_window "$name")
  parent=$(xprop -id "$id" WM_TRANSIENT_FOR | sed -n 's/.*window id # //p')
  [[ $((parent)) -eq $((main_id)) ]] ||
    fail "the '$name' window is transient for '$parent', not for the main window $main_id"
  if [[ $name == Information ]]; then
    # Centred on the 1280 x 1024 screen; the frame's own size is known only once shown, so its
    # bottom edge may differ from the estimate by a few pixels.
    read -r left top width height < <(frame_bounds "$id")
    centre_x=$((left + width / 2)) centre_y=$((top + height / 2))
    ((centre_x >= 637 && centre_x <= 643 && centre_y >= 505 && centre_y <= 519)) ||
      fail "the version box is centred at $centre_x,$centre_y, not on the screen"
  fi
  xdotool key Escape
  for _ in $(seq 50); do
    xdotool search --onlyvisible --name "^$name\$" >/dev/null 2>&1 || break
    sleep 0.1
  done
done
close_viewer
echo "window_manager: OK"
