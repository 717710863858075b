#!/usr/bin/env bash
# Fuzzes each target in turn with libFuzzer under AddressSanitizer + UndefinedBehaviorSanitizer,
# one fuzzer process at a time (no -jobs/-fork: the machine is shared), with the product's own
# size limits.
#
# Usage: fuzz/run_campaign.sh [-n EXECUTIONS] [-t SECONDS] [TARGET...]
#   -n N   stop each target after N executions
#   -t T   stop each target after T seconds
#          Given both, a target stops at whichever comes first; given neither, after 180 s.
#          The full campaign: fuzz/run_campaign.sh -n 10000000 -t 3600
#   TARGET fuzz_bmp fuzz_jpeg fuzz_gif fuzz_png fuzz_load fuzz_ini (default: all)
# Needs clang-14 and libclang-rt-14-dev (scripts/setup.sh --fuzz). The build goes to
# $BUILD_DIR (default build-fuzz); new inputs go to $BUILD_DIR/fuzz-findings/<target>/, crashes
# to $BUILD_DIR/fuzz-findings/<target>-crash-*. A reproducer worth keeping belongs in
# fuzz/corpus/<target>/, named for the fault.
set -euo pipefail
cd "$(dirname "$0")/.."

runs=-1
seconds=
while getopts "n:t:" option; do
  case "$option" in
    n) runs=$OPTARG ;;
    t) seconds=$OPTARG ;;
    *) sed -n '2,15p' "$0" >&2; exit 2 ;;
  esac
done
if [ -z "$seconds" ]; then
  # libFuzzer reads 0 seconds as no time limit.
  if [ "$runs" = -1 ]; then seconds=180; else seconds=0; fi
fi
shift $((OPTIND - 1))
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(fuzz_bmp fuzz_jpeg fuzz_gif fuzz_png fuzz_load fuzz_ini)
fi

build_dir=${BUILD_DIR:-build-fuzz}
CC=clang-14 CXX=clang++-14 cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKELPRA_FUZZ=ON -DKELPRA_SANITIZE=ON >/dev/null
cmake --build "$build_dir" -j2 --target "${targets[@]}"

# The largest picture is 768 MB of pixels (plus its 8-bit source for palette BMPs); no single
# allocation may pass 1 GB, and a run may not hold more than 2.5 GB.
export ASAN_OPTIONS=${ASAN_OPTIONS:-allocator_may_return_null=1:detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
status=0
for target in "${targets[@]}"; do
  findings="$build_dir/fuzz-findings/$target"
  mkdir -p "$findings"
  echo "== $target"
  if ! "$build_dir/fuzz/$target" "$findings" "fuzz/corpus/$target" \
      -runs="$runs" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=2560 \
      -malloc_limit_mb=1024 -max_len=65536 -print_final_stats=1 \
      -artifact_prefix="$build_dir/fuzz-findings/$target-"; then
    status=1
  fi
done
exit $status
