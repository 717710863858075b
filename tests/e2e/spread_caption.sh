#!/usr/bin/env bash
# A picture given on the command line, in a window wider than tall, on a folder of portrait
# pages: the viewer shows it with the page after it as a spread, and the window title is exactly
# the spread caption with its page counter; a resize renders it again.
# Usage: spread_caption.sh <kelpra> <kelpra-make-sample-book>
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
count=$(find "$book" -maxdepth 1 -type f | wc -l)

exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do [[ -s $work/display ]] && break; sleep 0.1; done
[[ -s $work/display ]] || fail "Xvfb did not start"
export DISPLAY=:$(head -1 "$work/display")

# The caption followed by max(50 - length, 0) + 2 spaces and the counter.
with_counter() {
  local caption=$1 counter=$2
  local pad=$((50 - ${#caption}))
  ((pad < 0)) && pad=0
  printf '%s%*s%s' "$caption" $((pad + 2)) '' "$counter"
}

# Waits until the window title is exactly the expected text.
wait_title() {
  local title=
  for _ in $(seq 100); do
    title=$(xdotool getwindowname "$window")
    [[ $title == "$1" ]] && return 0
    sleep 0.1
  done
  fail "title '$title' is not '$1'"
}

"$kelpra" "$book/page03.gif" >"$work/viewer.log" 2>&1 &
viewer_pid=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^\[Kelpra\]' | head -1) ||
  fail "no viewer window"

xdotool windowsize --sync "$window" 900 500
wait_title "$(with_counter "[Kelpra] (page04.bmp + page03.gif)" "3/$count")"

# A window taller than wide shows the current page alone, with its own size.
xdotool windowsize --sync "$window" 500 900
wait_title "$(with_counter "[Kelpra] (page03.gif) 600 x 848" "3/$count")"

# Back to a landscape window: the spread again.
xdotool windowsize --sync "$window" 1000 600
wait_title "$(with_counter "[Kelpra] (page04.bmp + page03.gif)" "3/$count")"

echo "spread caption: 1 passed, 0 failed"
