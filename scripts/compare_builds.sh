#!/usr/bin/env bash
# Renders the same pictures with the kelpra-render of two builds (the 64-bit and the 32-bit one) and
# compares the BMP files and captions byte for byte: both programs must make the same pictures,
# whatever the word size or the platform's maths library.
# Usage: scripts/compare_builds.sh BUILD_DIR_A BUILD_DIR_B
set -euo pipefail
if [ $# -ne 2 ]; then
  echo "usage: $0 BUILD_DIR_A BUILD_DIR_B" >&2
  exit 2
fi
render_a=$1/tools/kelpra-render
render_b=$2/tools/kelpra-render

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$1/tools/kelpra-make-sample-book" "$work/book" >/dev/null
pictures=("$work/book/page01.jpg" "$work/book/page02.png" "$work/book/page05.jpg")

operations=(
  "rotate90 cw" "rotate90 ccw" "rotate180" "gray"
  "brightness 37" "brightness -63" "contrast 55" "contrast -45" "contrast 100"
  "sharpen 1" "sharpen 30" "sharpen 70" "soften 1" "soften 30"
  "blur 1" "blur 2" "blur 5" "blur 13" "blur 30"
  "sidebyside $work/book/page03.gif 0xFF000010 3"
)
filters=(Nearest Bilinear Bicubic BSpline Hermite Mitchell Bell Lanczos Lagrange)
for filter in "${filters[@]}"; do
  operations+=("resize 311 437 $filter" "resize 797 1131 $filter" "resize 1201 200 $filter")
done

# Whole pages as the window shows them: spreads, halves, turns, effects and the fit.
pages=(
  "--size 1280x800"
  "--size 1280x800 --index 4 --landscape-half --half 2"
  "--size 700x1000 --direction RIGHT --contrast 30 --brightness -20 --sharpness 40"
  "--size 1000x700 --swap --sharpness -25 --mono"
  "--size 333x222 --no-splitter --single"
)
for filter in "${filters[@]}"; do
  pages+=("--size 1366x768 --filter $filter" "--size 3000x2000 --filter $filter --sharpness 10")
done

passed=0
failed=0
# run PROGRAM OUT_FILE ARGS...: ARGS with the word OUT standing for OUT_FILE.
run() {
  local program=$1 out=$2
  shift 2
  "$program" "${@/#OUT/$out}"
}

# compare LABEL ARGS...: both programs with the same ARGS must write the same file and text.
compare() {
  local label=$1 out_a=$work/a.bmp out_b=$work/b.bmp
  shift
  rm -f "$out_a" "$out_b"
  if ! run "$render_a" "$out_a" "$@" >"$work/a.txt" 2>&1 ||
    ! run "$render_b" "$out_b" "$@" >"$work/b.txt" 2>&1; then
    echo "FAILED: $label: $(cat "$work/a.txt" "$work/b.txt" | head -c 300)"
    failed=$((failed + 1))
  elif cmp -s "$out_a" "$out_b" &&
    cmp -s <(sed "s|$out_a||g" "$work/a.txt") <(sed "s|$out_b||g" "$work/b.txt"); then
    passed=$((passed + 1))
  else
    echo "DIFFERS: $label: $(cmp -l "$out_a" "$out_b" 2>/dev/null | wc -l) bytes"
    failed=$((failed + 1))
  fi
}

for picture in "${pictures[@]}"; do
  for operation in "${operations[@]}"; do
    # shellcheck disable=SC2086 # an operation is its words
    compare "op $operation on ${picture##*/}" op "$picture" OUT $operation
  done
done
for page in "${pages[@]}"; do
  # shellcheck disable=SC2086 # the options are their words
  compare "page $page" page $page "$work/book" OUT
done

echo "compare-builds: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
