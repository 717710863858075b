#!/usr/bin/env bash
# Sets up, builds and starts the viewer; with no picture given it opens the sample book.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
build_dir=${BUILD_DIR:-build}
if [ $# -eq 0 ]; then
  book="$build_dir/sample-book"
  "$build_dir/tools/kelpra-make-sample-book" "$book"
  set -- "$book/page01.jpg"
fi
exec "$build_dir/src/kelpra" "$@"
