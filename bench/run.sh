#!/usr/bin/env bash
# Installs what the benchmarks need, builds them into build-bench/ (or $BUILD_DIR), runs
# kelpra-bench, then compare.sh.
# Extra arguments go to kelpra-bench (for example --benchmark_filter=Resize).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --bench
build=${BUILD_DIR:-build-bench}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKELPRA_BUILD_BENCH=ON >/dev/null
jobs=${JOBS:-$(nproc)}
cmake --build "$build" -j "$jobs" --target kelpra-bench kelpra-bench-page
cmake --build "$build" -j "$jobs" --target kelpra-render ||
  echo "run.sh: kelpra-render did not build; compare.sh uses the kelpra-bench figures" >&2
"$build/bench/kelpra-bench" "$@"
bench/compare.sh "$build"
