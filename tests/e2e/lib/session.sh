# Sourced by the end-to-end tests: a private home and settings folder, the sample book, Xvfb on a
# free display (no window manager), the viewer started on it, and waiting for its caption; on
# request a window manager (start_openbox) or a Wayland session (lib/wayland.sh).
# Expects $1 = the kelpra program, $2 = kelpra-make-sample-book.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wayland.sh"

kelpra=$1
make_book=$2
work=$(mktemp -d)
xvfb_pid=
openbox_pid=
viewer_pid=
window=

cleanup() {
  [[ -n $viewer_pid ]] && kill "$viewer_pid" 2>/dev/null || true
  stop_weston
  [[ -n $openbox_pid ]] && kill "$openbox_pid" 2>/dev/null || true
  [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# A test may define show_on_failure to print more of what it saw.
fail() {
  echo "FAIL: $*" >&2
  [[ -f $work/viewer.log ]] && sed 's/^/  viewer: /' "$work/viewer.log" >&2
  declare -F show_on_failure >/dev/null && show_on_failure >&2
  exit 1
}

# A desktop with default settings: the user's own settings are never touched, no session bus.
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

# Starts the viewer with the given arguments and waits for its window to be shown and focused.
start_viewer() {
  "$kelpra" "$@" >"$work/viewer.log" 2>&1 &
  viewer_pid=$!
  window=$(timeout 20 xdotool search --sync --onlyvisible --name '^\[Kelpra\]' | head -1) ||
    fail "no viewer window"
  xdotool windowfocus --sync "$window"
  sleep 0.5
}

# Waits until the caption matches a regular expression.
wait_title() {
  local title=
  for _ in $(seq 100); do
    title=$(xdotool getwindowname "$window")
    [[ $title =~ $1 ]] && return 0
    sleep 0.1
  done
  fail "caption '$title' does not match '$1'"
}

# Waits until the caption is exactly the text.
wait_title_exactly() {
  local title=
  for _ in $(seq 100); do
    title=$(xdotool getwindowname "$window")
    [[ $title == "$1" ]] && return 0
    sleep 0.1
  done
  fail "caption '$title' is not '$1'"
}

# The window title for a caption and a page counter: the caption, max(50 - length, 0) + 2 spaces,
# the counter.
with_counter() {
  local caption=$1 counter=$2
  local pad=$((50 - ${#caption}))
  ((pad < 0)) && pad=0
  printf '%s%*s%s' "$caption" $((pad + 2)) '' "$counter"
}

# The number of the viewer's windows mapped on the screen (a menu that opens is one more).
shown_windows() {
  xdotool search --onlyvisible --pid "$viewer_pid" 2>/dev/null | wc -l
}

# Waits until the viewer shows $1 windows; $2 says when, for the failure.
wait_windows() {
  for _ in $(seq 50); do
    [[ $(shown_windows) -eq $1 ]] && return 0
    sleep 0.1
  done
  fail "expected $1 shown windows, found $(shown_windows) ($2)"
}

# Waits until the program has ended.
wait_closed() {
  for _ in $(seq 100); do
    kill -0 "$viewer_pid" 2>/dev/null || { viewer_pid=; return 0; }
    sleep 0.1
  done
  fail "the viewer did not close"
}

# Starts openbox on the test's display with a private configuration (its defaults) and waits
# until it manages windows.
start_openbox() {
  mkdir -p "$work/openbox"
  echo '<openbox_config xmlns="http://openbox.org/3.4/rc"/>' >"$work/openbox/rc.xml"
  openbox --config-file "$work/openbox/rc.xml" --sm-disable >"$work/openbox.log" 2>&1 &
  openbox_pid=$!
  for _ in $(seq 100); do
    [[ $(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null) == *"window id"* ]] && return 0
    sleep 0.1
  done
  fail "openbox did not start"
}

# The outer bounds of a window managed by a window manager: "left top width height" of its
# frame, from the client's place and size and the frame extents the manager announces.
frame_bounds() {
  local x y w h left=0 right=0 top=0 bottom=0 extents
  read -r x y w h < <(xwininfo -id "$1" | awk '/Absolute upper-left X/ {x = $NF}
    /Absolute upper-left Y/ {y = $NF} /Width:/ {w = $NF} /Height:/ {h = $NF}
    END {print x, y, w, h}')
  extents=$(xprop -id "$1" _NET_FRAME_EXTENTS | sed -n 's/.* = //p' | tr -d ' ')
  [[ -n $extents ]] && IFS=, read -r left right top bottom <<<"$extents"
  echo "$((x - left)) $((y - top)) $((w + left + right)) $((h + top + bottom))"
}
