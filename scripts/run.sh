#!/usr/bin/env bash
# Builds and runs the client in the terminal (the campus program; `--help` lists its options).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/build.sh" --target campus_program
build="${CAMPUS_BUILD_DIR:-$root/build}"
exec "$build/app/campus" "$@"
