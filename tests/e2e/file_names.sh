#!/usr/bin/env bash
# Names that are not UTF-8, as old archives have them (Latin-1, Shift-JIS), given on the command
# line: the viewer lists each of them and shows the one given, its caption with replacement
# characters, and after a restart the stored last page is that same file.
# Usage: file_names.sh <kelpra> <kelpra-make-sample-book>
source "$(dirname "$0")/lib/session.sh"
export LC_ALL=C  # the shell and grep see bytes
ini=$XDG_CONFIG_HOME/ZENDRO/$(basename "$kelpra").ini
show_on_failure() { [[ -f $ini ]] && sed 's/^/  ini: /' "$ini"; }
close_viewer() {
  xdotool key z  # Exit
  wait_closed
}

odd=$work/odd
mkdir -p "$odd"
# Two Latin-1 names that a lossy decoding makes one, a Shift-JIS name, and a page that sorts
# first: only the given file is 600 x 848, so the caption shows that it was found.
given=$odd/caf$'\xe8'.gif
cp "$book/page03.gif" "$given"
cp "$book/page10.png" "$odd/caf"$'\xe9'.gif
cp "$book/page05.jpg" "$odd/"$'\x83\x65\x83\x58\x83\x67'.jpg
cp "$book/page05.jpg" "$odd/0 first.jpg"
caption=$'^\\[Kelpra\\] \\(caf\xef\xbf\xbd\\.gif\\) 600 x 848 +[1-4]/4$'

start_viewer "$given"
xdotool windowsize --sync "$window" 500 900  # taller than wide: one page
wait_title "$caption"
close_viewer
grep -qxF "Last file=$given" "$ini" || fail "the settings file does not hold the name's bytes"

start_viewer
wait_title "$caption"
close_viewer
grep -qxF "Last file=$given" "$ini" || fail "the last page changed across a restart"
echo "file_names: OK"
