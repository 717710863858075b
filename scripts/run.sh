#!/usr/bin/env bash
# Sets up, builds and starts the viewer; with no picture given it opens the sample book.
# Runs from any folder: a relative picture name is taken from the folder the script is run in, and
# $BUILD_DIR, when relative, from the repository.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
"$repo/scripts/setup.sh"
"$repo/scripts/build.sh"
build_dir=${BUILD_DIR:-build}
[[ $build_dir == /* ]] || build_dir=$repo/$build_dir
if [ $# -eq 0 ]; then
  book="$build_dir/sample-book"
  "$build_dir/tools/kelpra-make-sample-book" "$book"
  set -- "$book/page01.jpg"
fi
exec "$build_dir/src/kelpra" "$@"
