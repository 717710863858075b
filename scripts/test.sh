#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds Kelpra and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh "$@"
cd "${BUILD_DIR:-build}"
ctest --output-on-failure -j2
