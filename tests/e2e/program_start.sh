#!/usr/bin/env bash
# How the program starts: --help and --version print and end without reaching the window system;
# a picture really named --help, given as ./--help, opens the viewer like any other argument; the
# window carries the program's icon (compiled in, as no icon theme knows a build folder); a
# relative argument is stored as a full path, and a file: URI opens its file.
# Usage: program_start.sh <kelpra> <kelpra-make-sample-book>
source "$(dirname "$0")/lib/session.sh"

# No display: a program that tried to open a window here would fail.
printed() {
  local status=0
  env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$kelpra" "$1" >"$work/out" 2>"$work/err" ||
    status=$?
  ((status == 0)) || fail "$1 ended with status $status: $(cat "$work/err")"
  [[ ! -s $work/err ]] || fail "$1 wrote to stderr: $(cat "$work/err")"
  cat "$work/out"
}
version=$(printed --version)
[[ $version =~ ^Kelpra\ \((64|32)bit\)\ Version\ 0\.3\.3b.*$ ]] ||
  fail "--version printed '$version'"
(($(wc -l <<<"$version") == 1)) || fail "--version printed more than one line"
usage=$(printed --help)
[[ $usage == "Usage: kelpra [PICTURE]"* ]] || fail "--help printed '$usage'"

# A file really named --help beside the pages: the viewer opens on its folder. It is not a picture
# file by its name, so the first page becomes the current one.
cp "$book/page01.jpg" "$book/--help"
cd "$book" || fail "no book"
start_viewer ./--help
wait_title_exactly "$(with_counter "[Kelpra] (page02.png + page01.jpg)" "1/12")"
grep -q Usage "$work/viewer.log" && fail "./--help printed the usage"

# The icon, at several sizes, in the window's _NET_WM_ICON.
icons=$(xprop -id "$window" _NET_WM_ICON | grep -o 'Icon ([0-9]* x [0-9]*)' | sort -u)
for size in 16 32 48; do
  grep -qx "Icon ($size x $size)" <<<"$icons" || fail "no $size x $size icon in: $icons"
done

# The relative argument was made a full path: the page stored is found from any folder.
xdotool key z
wait_closed
ini=$XDG_CONFIG_HOME/ZENDRO/$(basename "$kelpra").ini
grep -qxF "Last file=$book/page01.jpg" "$ini" || fail "stored $(grep 'Last file' "$ini")"

# A file: URI, as desktop launchers pass it, its escapes decoded (%30 is "0").
cd /
start_viewer "file://$book/page%303.gif"
wait_title_exactly "$(with_counter "[Kelpra] (page04.bmp + page03.gif)" "3/12")"

echo "program start: 1 passed, 0 failed"
