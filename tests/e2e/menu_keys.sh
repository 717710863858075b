#!/usr/bin/env bash
# Keys and menus on a desktop with a window manager (openbox): a key that chooses a menu item
# does only that, not its own command as well on its release; once a menu of the main menu has
# closed, or Alt alone is followed by a tap, the letters are the window's keys again; a held key
# acts once, on its release; Enter in a dialog presses the focused button; with an empty list a
# swipe leaves the popup menu open.
# Usage: menu_keys.sh <kelpra> <kelpra-make-sample-book>
source "$(dirname "$0")/lib/session.sh"
start_openbox
ini=$XDG_CONFIG_HOME/ZENDRO/$(basename "$kelpra").ini
show_on_failure() { [[ -f $ini ]] && sed 's/^/  ini: /' "$ini"; }
# The main menu shown; one page at a time, so that every turn moves the counter by one.
mkdir -p "$(dirname "$ini")"
printf '[MENU]\nMenu=1\nSingle picture=1\n' >"$ini"

start_viewer "$book/page01.jpg"
wait_title ' 1/[0-9]+$'
caption() { xdotool getwindowname "$window"; }
base=$(shown_windows)

# Nothing more happens: the caption stays as it is for a while.
stays() {
  sleep 0.7
  [[ $(caption) =~ $1 ]] || fail "$2: '$(caption)'"
}

# Alt+N opens "Navigate", where N chooses Next Picture. Its release is not the window's N.
xdotool key alt+n
wait_windows $((base + 1)) "after Alt+N"
xdotool key n
wait_title ' 2/[0-9]+$'
stays ' 2/[0-9]+$' "the release of N ran Auto Turn as well"

# The menu has closed: N is the window's Auto Turn (which turns a page), and opens no menu.
# N again stops it.
xdotool key n
wait_title 'Auto\(10s\) +3/[0-9]+$'
[[ $(shown_windows) -eq $base ]] || fail "N opened a menu"
xdotool key n
wait_title '[^)] +3/[0-9]+$'

# A click on the bar's first title opens "File"; Escape closes it; N is the window's again.
xdotool mousemove --window "$window" 15 10 click 1
wait_windows $((base + 1)) "after the click on File"
xdotool key Escape
wait_windows "$base" "after Escape"
xdotool key n
wait_title 'Auto\(10s\) +4/[0-9]+$'
xdotool key n
wait_title '[^)] +4/[0-9]+$'

# Alt alone leaves the bar waiting for a letter; a tap on the page (Next) ends that.
xdotool key alt
xdotool mousemove --window "$window" 200 200 click 1
wait_title '[^)] +5/[0-9]+$'
xdotool key n
wait_title 'Auto\(10s\) +6/[0-9]+$'
[[ $(shown_windows) -eq $base ]] || fail "N opened a menu after Alt and a tap"
xdotool key n
wait_title '[^)] +6/[0-9]+$'

# The popup's A chooses Auto Turn; its release leaves Stretch as it was.
xdotool key m
wait_windows $((base + 1)) "after M"
xdotool key a
wait_title 'Auto\(10s\) +7/[0-9]+$'
stays 'Auto\(10s\) +7/[0-9]+$' "the release of A did more than Auto Turn"
xdotool key n
wait_title '[^)] +7/[0-9]+$'

# Held for a second and a half, Right acts once, when it is released.
xdotool keydown Right
sleep 1.5
[[ $(caption) =~ ' 7/' ]] || fail "Right acted before its release: '$(caption)'"
xdotool keyup Right
wait_title ' 8/[0-9]+$'
stays ' 8/[0-9]+$' "holding Right turned more than one page"

# The interval dialog (Alt+S, N): Enter presses the focused button, Apply only when no button
# has the focus. Typed 5, tabbed to Cancel, Enter keeps the interval at 10 seconds.
interval() {
  xdotool key alt+s
  wait_windows $((base + 1)) "after Alt+S"
  xdotool key n
  dialog=$(timeout 10 xdotool search --sync --onlyvisible --name '^Interval$' | head -1) ||
    fail "no interval dialog"
  xdotool mousemove --window "$dialog" 100 54 click 1 key ctrl+a type 5
  xdotool key "$@"
  wait_windows "$base" "after the interval dialog"
}
interval Tab Return
xdotool key n
wait_title 'Auto\(10s\) +9/[0-9]+$'
xdotool key n
wait_title '[^)] +9/[0-9]+$'
interval Return
xdotool key n
wait_title 'Auto\(5s\) +10/[0-9]+$'
xdotool key n
wait_title '[^)] +10/[0-9]+$'

xdotool key z
wait_closed
grep -qx 'Stretch=1' "$ini" || fail "Stretch was switched off"

# With an empty list every release opens the popup menu, also after a swipe sideways or up, and
# the menu stays open.
sed -i '/^Last file=/d' "$ini"
start_viewer
wait_title '^\[Kelpra\]  Version'
swipe() {
  local x=$1 y=$2 dx=$3 dy=$4
  xdotool mousemove --window "$window" "$x" "$y" mousedown 1
  for step in 1 2 3 4 5 6 7 8 9 10; do
    xdotool mousemove --window "$window" $((x + dx * step / 10)) $((y + dy * step / 10))
  done
  xdotool mouseup 1
  wait_windows $((base + 1)) "after the swipe by $dx, $dy"
  sleep 0.5
  [[ $(shown_windows) -eq $((base + 1)) ]] || fail "the swipe by $dx, $dy closed the popup menu"
  xdotool key Escape
  wait_windows "$base" "after Escape"
}
swipe 100 200 200 0
swipe 300 200 -200 0
swipe 200 300 0 -200
echo "menu_keys: OK"
