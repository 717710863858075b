#!/usr/bin/env bash
# A picture given on the command line, in a window wider than tall, on a folder of portrait
# pages: the viewer shows it with the page after it as a spread, and the window title is exactly
# the spread caption with its page counter; a resize renders it again.
# Usage: spread_caption.sh <kelpra> <kelpra-make-sample-book>
source "$(dirname "$0")/lib/session.sh"
count=$(find "$book" -maxdepth 1 -type f | wc -l)

start_viewer "$book/page03.gif"

xdotool windowsize --sync "$window" 900 500
wait_title_exactly "$(with_counter "[Kelpra] (page04.bmp + page03.gif)" "3/$count")"

# A window taller than wide shows the current page alone, with its own size.
xdotool windowsize --sync "$window" 500 900
wait_title_exactly "$(with_counter "[Kelpra] (page03.gif) 600 x 848" "3/$count")"

# Back to a landscape window: the spread again.
xdotool windowsize --sync "$window" 1000 600
wait_title_exactly "$(with_counter "[Kelpra] (page04.bmp + page03.gif)" "3/$count")"

echo "spread caption: 1 passed, 0 failed"
