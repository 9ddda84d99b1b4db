#!/usr/bin/env bash
# Builds everything and runs every test.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/build.sh"
build="${CAMPUS_BUILD_DIR:-$root/build}"
cd "$build"
ctest --output-on-failure -j"$(nproc)" "$@"
