#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds Kelpra and runs every test.
# Usage: scripts/test.sh [--i386 | --sanitize | --tsan] [extra CMake configure arguments]
#   (no option)  the 64-bit program in build/
#   --i386       the 32-bit x86 program in build-i386/
#   --sanitize   the 64-bit program with AddressSanitizer and UBSan in build-sanitize/
#   --tsan       the core and UI tests (where the threads are) with ThreadSanitizer in build-tsan/
# $BUILD_DIR overrides the folder. The configuration comes from CMakePresets.json.
set -euo pipefail
cd "$(dirname "$0")/.."

preset=default
setup_args=()
case "${1:-}" in
  --i386) preset=i386; setup_args=(--i386); shift ;;
  --sanitize) preset=sanitize; shift ;;
  --tsan) preset=tsan; shift ;;
esac
if [ "$preset" = default ]; then build_dir=${BUILD_DIR:-build}; else build_dir=${BUILD_DIR:-build-$preset}; fi

start=$SECONDS
scripts/setup.sh "${setup_args[@]}"
echo "[$preset] setup: $((SECONDS - start)) s"

start=$SECONDS
cmake --preset "$preset" -B "$build_dir" "$@" >/dev/null
targets=()
if [ "$preset" = tsan ]; then targets=(--target core_tests ui_tests); fi
cmake --build "$build_dir" -j2 "${targets[@]}"
echo "[$preset] configure and build: $((SECONDS - start)) s"

# A test without its own TIMEOUT gets 10 minutes, so a hang cannot eat CI's whole budget.
start=$SECONDS
ctest --preset "$preset" --test-dir "$build_dir" --no-tests=error --timeout 600
echo "[$preset] tests: $((SECONDS - start)) s"
