#!/usr/bin/env bash
# Settings survive a restart: options changed with keys and menus, the effect and interval
# settings, the window placement and the last page come back when the viewer starts again.
# Usage: settings_restart.sh <kelpra> <kelpra-make-sample-book>
source "$(dirname "$0")/lib/session.sh"
ini=$XDG_CONFIG_HOME/ZENDRO/$(basename "$kelpra").ini
show_on_failure() { [[ -f $ini ]] && sed 's/^/  ini: /' "$ini"; }

keys() {
  for key in "$@"; do
    xdotool key "$key"
    sleep 0.3
  done
}

# Waits until a window of that exact name is shown. Menus carry the program's name, and only
# in _NET_WM_NAME, which getwindowname reads but search --name does not.
wait_shown() {
  local w
  for _ in $(seq 50); do
    for w in $(xdotool search --onlyvisible --name '' 2>/dev/null); do
      [[ $(xdotool getwindowname "$w" 2>/dev/null) == "$1" ]] && return 0
    done
    sleep 0.1
  done
  fail "no '$1' window"
}

# Sends the keys once the named window (a menu or a dialog) is shown.
in_window() {
  local name=$1
  shift
  wait_shown "$name"
  keys "$@"
}

# A popup-menu item, by its access key.
popup() {
  keys m
  in_window Kelpra "$1"
}

# A main-menu item: the menu's and the item's access keys.
main_menu() {
  keys "alt+$1"
  in_window Kelpra "$2"
}

# First run: change every option, the effects, the interval, the placement and the page.
start_viewer "$book/page01.jpg"
wait_title 'page01'
# The popup's access keys R and P are shared by two items each: those go through the main menu.
popup s   # Single picture
popup w   # Swap LR: the Left arrow now turns forward
popup m   # Menu: the main menu appears
keys Escape  # releasing M over the window opens the popup menu once more
main_menu s r  # Settings > Subdirectories (lists the folder again from the opened file)
keys Left Left
wait_title 'page03'
popup 1   # Turn single page
keys 2    # releasing 1 over the window turned the page left: upright again
popup h   # Landscape 1/2
popup l   # Splitter off
popup d   # Dark Background
popup y   # Cyclic off
keys a    # Stretch off
keys 3    # Rotate Right
main_menu s p  # Picture effects: contrast up three steps, Apply
in_window Picture Right Right Right Return
main_menu s n  # Page turn interval: 25 s
in_window Interval ctrl+a 2 5 Return
xdotool windowmove --sync "$window" 100 80
xdotool windowsize --sync "$window" 700 500
sleep 0.5
keys z
wait_closed

[[ -f $ini ]] || fail "no settings file after the close"
expected=(
  "WindowState=wsNormal" "Left=100" "Top=80" "Width=700" "Height=500"
  "Last file=$book/page03.gif"
  "Single picture=1" "Turn single page=1" "Swap LR=1" "Landscape 1/2=1" "Subdirectories=1"
  "Stretch=0" "Splitter=0" "Dark Background=1" "Menu=1" "Cyclic=0"
  "Direction=RIGHT" "Brightness=0" "Contrast=3" "Sharpness=0" "Resize=1" "Monochrome=0"
  "Interval=25"
)
for line in "${expected[@]}"; do
  grep -qxF "$line" "$ini" || fail "the settings file lacks '$line'"
done
cp "$ini" "$work/first.ini"

# Second run, without an argument: the last page, the placement and every setting come back;
# closing at once writes the same file again.
start_viewer
wait_title 'page03'
geometry=$(xdotool getwindowgeometry "$window")
[[ $geometry == *"Position: 100,80"* ]] || fail "placement not restored: $geometry"
[[ $geometry == *"Geometry: 700x500"* ]] || fail "size not restored: $geometry"
keys Left
wait_title 'page04'  # Swap LR came back: Left still turns forward
keys Right
wait_title 'page03'
keys z
wait_closed
diff -u "$work/first.ini" "$ini" || fail "the settings changed across a restart"
echo "settings_restart: OK"
