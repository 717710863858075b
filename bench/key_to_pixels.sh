#!/usr/bin/env bash
# Key to pixels: the real viewer under Xvfb in a 1900 x 1000 window, on a book of 2480 x 3508
# JPEG pages (quality 90), default settings. For each case, the time from the key release (or the
# resize) to the new frame on screen: median, minimum and maximum over $TURNS turns (default 20),
# with read-ahead on and off (KELPRA_NO_READ_AHEAD=1, a switch for this benchmark only).
#   spread step     Right arrow, a spread to the next spread
#   single page     Right arrow with "Single picture" on
#   spread, files changed  Right arrow after every page file was touched, so that nothing read
#                   ahead is valid: the turn reads both pages afresh (as after opening a file)
#   resize step     the window between 1900 x 1000 and 1700 x 900, a spread shown
# Builds into build-bench/ (or $BUILD_DIR); $KELPRA times another build of the viewer instead.
# Not run in CI: the figures depend on the machine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --bench
build=${BUILD_DIR:-build-bench}
turns=${TURNS:-20}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKELPRA_BUILD_BENCH=ON >/dev/null
cmake --build "$build" -j "${JOBS:-$(nproc)}" --target kelpra kelpra-bench-page kelpra-key-to-pixels
kelpra=${KELPRA:-$build/src/kelpra}
timer=$build/bench/kelpra-key-to-pixels

work=$(mktemp -d)
xvfb_pid=
viewer_pid=
cleanup() {
  [[ -n $viewer_pid ]] && kill "$viewer_pid" 2>/dev/null || true
  [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

book=$work/book
mkdir -p "$book"
for page in $(seq 1 8); do
  "$build/bench/kelpra-bench-page" "$book/p$page.jpg" "$page"
done

# A private settings folder and no session bus, as the end-to-end tests have them.
export HOME=$work/home XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORM=xcb
mkdir -p "$HOME" "$XDG_CONFIG_HOME/ZENDRO"
unset DBUS_SESSION_BUS_ADDRESS WAYLAND_DISPLAY
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do [[ -s $work/display ]] && break; sleep 0.1; done
[[ -s $work/display ]] || { echo "key_to_pixels.sh: Xvfb did not start" >&2; exit 1; }
export DISPLAY=:$(head -1 "$work/display")

# Starts the viewer on the first page with the window at 1900 x 1000 (no window manager: the
# outer size is the client size) and the given "MENU" settings; sets $window to its id.
window=
start_viewer() {
  {
    printf '[CONFIG]\nWindowState=wsNormal\nLeft=0\nTop=0\nWidth=1900\nHeight=1000\n'
    printf '[MENU]\n%s\n' "$@"
  } >"$XDG_CONFIG_HOME/ZENDRO/$(basename "$kelpra").ini"
  "$kelpra" "$book/p1.jpg" >"$work/viewer.log" 2>&1 &
  viewer_pid=$!
  window=$(timeout 20 xdotool search --sync --onlyvisible --name '^\[Kelpra\]' | head -1) || {
    echo "key_to_pixels.sh: no viewer window" >&2
    cat "$work/viewer.log" >&2
    exit 1
  }
}

stop_viewer() {
  kill "$viewer_pid"
  wait "$viewer_pid" 2>/dev/null || true
  viewer_pid=
}

# measure LABEL MENU-SETTING ACTION...
measure() {
  local label=$1 setting=$2
  shift 2
  start_viewer "$setting"
  "$timer" "$window" "$label" "$turns" "$@"
  stop_viewer
}

for mode in on off; do
  if [[ $mode == off ]]; then export KELPRA_NO_READ_AHEAD=1; else unset KELPRA_NO_READ_AHEAD; fi
  measure "read-ahead $mode: spread step" "Single picture=0" key Right
  measure "read-ahead $mode: single page step" "Single picture=1" key Right
  measure "read-ahead $mode: spread, files changed" "Single picture=0" key Right --touch "$book"
  measure "read-ahead $mode: resize step" "Single picture=0" resize 1700x900 1900x1000
done
