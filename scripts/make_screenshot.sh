#!/usr/bin/env bash
# Takes the metainfo's screenshot: the viewer of a build, under Xvfb, on the sample book at its
# first spread. The picture depends only on the program, so taking it again gives the same pixels.
# Usage: scripts/make_screenshot.sh [OUT_PNG] (default data/screenshots/spread.png)
#   $BUILD_DIR: the build folder, relative to the repository (default build);
#   $KELPRA: the program to show (default the build's).
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:-$repo/data/screenshots/spread.png}")
build_dir=${BUILD_DIR:-build}
[[ $build_dir == /* ]] || build_dir=$repo/$build_dir
source "$repo/tests/e2e/lib/session.sh" "${KELPRA:-$build_dir/src/kelpra}" \
  "$build_dir/tools/kelpra-make-sample-book"

start_viewer "$book/page01.jpg"
# Wholly on the screen, which the capture is cut to.
xdotool windowmove --sync "$window" 0 0 windowsize --sync "$window" 1024 720
wait_title_exactly "$(with_counter "[Kelpra] (page02.png + page01.jpg)" "1/12")"
sleep 1  # the last rendering's paint
# No time stamps in the file, so an unchanged picture is an unchanged file.
import -window "$window" -define png:exclude-chunks=date,time +set date:create +set date:modify \
  "$out"
echo "screenshot: $out"
