#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds Kelpra and runs every test.
# Usage: scripts/test.sh [--i386 | --sanitize] [extra CMake configure arguments]
#   (no option)  the 64-bit program in build/
#   --i386       the 32-bit x86 program in build-i386/
#   --sanitize   the 64-bit program with AddressSanitizer and UBSan in build-sanitize/
# $BUILD_DIR overrides the folder. The configuration comes from CMakePresets.json.
set -euo pipefail
cd "$(dirname "$0")/.."

preset=default
setup_args=()
case "${1:-}" in
  --i386) preset=i386; setup_args=(--i386); shift ;;
  --sanitize) preset=sanitize; shift ;;
esac
if [ "$preset" = default ]; then build_dir=${BUILD_DIR:-build}; else build_dir=${BUILD_DIR:-build-$preset}; fi

start=$SECONDS
scripts/setup.sh "${setup_args[@]}"
echo "[$preset] setup: $((SECONDS - start)) s"

start=$SECONDS
cmake --preset "$preset" -B "$build_dir" "$@" >/dev/null
cmake --build "$build_dir" -j2
echo "[$preset] configure and build: $((SECONDS - start)) s"

# A test without its own TIMEOUT gets 10 minutes, so a hang cannot eat CI's whole budget.
ctest --test-dir "$build_dir" --output-on-failure --no-tests=error --timeout 600 -j2
