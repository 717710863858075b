#!/usr/bin/env bash
# At a scale factor of 2 and of 1.5 the page is fitted to the window's client area in device
# pixels and shown one bitmap pixel to one screen pixel: a screenshot of the window holds,
# byte for byte, the picture kelpra-render makes for a client area of that many pixels.
# Usage: hidpi_pixels.sh <kelpra> <kelpra-make-sample-book>
source "$(dirname "$0")/lib/session.sh"
render=$(dirname "$make_book")/kelpra-render

# The window's size in device pixels: without a window manager, the X window is the client area.
client_size() {
  eval "$(xdotool getwindowgeometry --shell "$window")"
  echo "${WIDTH}x${HEIGHT}"
}

# Waits until the window shows exactly the picture rendered for its client size, centred.
expect_rendered() {
  local size=$1 expected=$work/expected.bmp
  "$render" page --size "$size" "$book/page01.jpg" "$expected" >/dev/null ||
    fail "kelpra-render failed for $size"
  local w h
  read -r w h < <(identify -format '%w %h\n' "$expected")
  local left=$(((${size%x*} - w) / 2)) top=$(((${size#*x} - h) / 2))
  convert "$expected" -depth 8 rgb:"$work/expected.rgb"
  for _ in $(seq 50); do
    import -window "$window" -crop "${w}x${h}+${left}+${top}" +repage -depth 8 rgb:"$work/shown.rgb"
    cmp -s "$work/expected.rgb" "$work/shown.rgb" && return 0
    sleep 0.1
  done
  import -window "$window" "$work/shown.png"
  fail "at scale $QT_SCALE_FACTOR the window of $size does not show the ${w}x${h} picture" \
    "rendered for it at $left,$top (screenshot $work/shown.png)"
}

for scale in 2 1.5; do
  export QT_SCALE_FACTOR=$scale
  start_viewer "$book/page01.jpg"
  wait_title 'page01'
  expect_rendered "$(client_size)"
  # Sizes the user gives the window: even and odd numbers of device pixels, then one pixel more,
  # which at both scales leaves Qt's logical size (rounded) as it was.
  for size in 900x600 901x603 902x604; do
    xdotool windowsize --sync "$window" "${size%x*}" "${size#*x}"
    [[ $(client_size) == "$size" ]] || fail "the window is $(client_size), not $size"
    expect_rendered "$size"
  done
  xdotool key z
  wait_closed
done
echo "hidpi_pixels: OK"
