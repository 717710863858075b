#!/usr/bin/env bash
# Under Wayland (weston): the viewer starts with the stored size (its position cannot be set, and
# the stored one is kept), turns pages by key, opens the popup menu at the window's centre by
# key (M, Up) and by the middle button, and the menu stays open until closed; the dialogs and
# the version box are children of the main window; Z ends the program.
# Usage: wayland.sh <kelpra> <kelpra-make-sample-book>
source "$(dirname "$0")/lib/session.sh"
start_weston 1024x768
ini=$XDG_CONFIG_HOME/ZENDRO/$(basename "$kelpra").ini
show_on_failure() {
  [[ -f $ini ]] && sed 's/^/  ini: /' "$ini"
  grep -E "toplevel|popup|pointer|keyboard@[0-9]+.key" "$work/trace.log" | tail -30 |
    sed 's/^/  trace: /'
}

mkdir -p "$(dirname "$ini")"
printf '[CONFIG]\nLeft=100\nTop=80\nWidth=700\nHeight=500\n[MENU]\nMenu=1\n' >"$ini"
start_wayland_viewer '\[Kelpra\] \(page02.png \+ page01.jpg\)' "$book/page01.jpg"

# The outer size the file holds is the window's, frame included.
wait_trace 'xdg_surface@[0-9]+\.set_window_geometry\(0, 0, 700, 500\)' >/dev/null
main_toplevel=$(grep -E -m1 -o 'xdg_toplevel@[0-9]+' "$work/trace.log")

# Keys reach the window: Right turns to the next spread.
xdotool key Right
wait_trace 'set_title\("\[Kelpra\] \(page04.bmp \+ page03.gif\)' >/dev/null

same_picture() {
  [[ $(compare -metric AE "$1" "$2" null: 2>&1) == 0 ]]
}

# Opens the popup menu with a key or button and checks that it is placed at the window's
# centre moved by (dx, dy), shown, and still open when Escape closes it.
popup_stays_open() {
  local how=$1 dx=$2 dy=$3 mark popup anchor
  import -window "$weston_window" "$work/before.png"
  cp "$work/before.png" "$work/previous.png"
  mark=$(trace_mark)
  if [[ $how == middle ]]; then
    # A window of 700 x 500 on the 1024 x 768 output always covers its centre, wherever weston
    # puts it. The pointer comes in from outside weston's window, so that weston sees it enter.
    xdotool mousemove 1270 1010 mousemove --window "$weston_window" 512 384
    wait_trace 'wl_pointer@[0-9]+\.(enter|motion)\(' "$mark" >/dev/null
    xdotool click 2
  else
    xdotool key "$how"
  fi
  popup=$(wait_trace 'get_popup\(new id xdg_popup@[0-9]+' "$mark" | grep -E -o 'xdg_popup@[0-9]+')
  anchor=$(trace_line 'set_anchor_rect\(' "$mark" | grep -E -o 'set_anchor_rect\([-0-9, ]+\)')
  [[ $anchor == "set_anchor_rect($((700 / 2 + dx)), $((500 / 2 + dy)), 1, 1)" ]] ||
    fail "$how: the popup menu is asked for at $anchor, not at the window's centre"
  wait_trace "$popup\.configure\(" "$mark" >/dev/null
  # Shown: the screen differs from what it was and has settled.
  for _ in $(seq 50); do
    import -window "$weston_window" "$work/open.png"
    ! same_picture "$work/before.png" "$work/open.png" &&
      same_picture "$work/open.png" "$work/previous.png" && break
    cp "$work/open.png" "$work/previous.png"
    sleep 0.1
  done
  sleep 0.5
  # Still open: the compositor did not dismiss it, and it is still on the screen.
  if trace_line "$popup\.popup_done" "$mark" >/dev/null; then
    fail "$how: the compositor dismissed the popup menu"
  fi
  import -window "$weston_window" "$work/later.png"
  same_picture "$work/open.png" "$work/later.png" ||
    fail "$how: the popup menu did not stay on the screen"
  xdotool key Escape
  wait_trace "-> $popup\.destroy\(" "$mark" >/dev/null
}
popup_stays_open m 0 -30
popup_stays_open Up -20 -30
popup_stays_open middle -20 -30

# The dialogs and the version box, from the main menu, are children of the main window.
for dialog in "Picture alt+s p" "Interval alt+s n" "Information alt+h v"; do
  read -r name first second <<<"$dialog"
  mark=$(trace_mark)
  xdotool key "$first"
  sleep 0.3
  xdotool key "$second"
  toplevel=$(wait_trace "xdg_toplevel@[0-9]+\.set_title\(\"$name\"\)" "$mark" |
    grep -E -o 'xdg_toplevel@[0-9]+')
  trace_line "-> $toplevel\.set_parent\($main_toplevel\)" "$mark" >/dev/null ||
    fail "the '$name' window is no child of the main window $main_toplevel"
  xdotool key Escape
  wait_trace "-> $toplevel\.destroy\(" "$mark" >/dev/null
done

# Z ends the program; the position it could not learn is stored as it was read.
xdotool key z
wait_closed
for line in Left=100 Top=80 Width=700 Height=500; do
  grep -qx "$line" "$ini" || fail "the settings file lacks '$line'"
done
echo "wayland: OK"
