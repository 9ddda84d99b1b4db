#!/usr/bin/env bash
# Builds and runs the client.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/build.sh"
build="${CAMPUS_BUILD_DIR:-$root/build}"
exec "$build/fakes/campus-demo-services" "$@"
