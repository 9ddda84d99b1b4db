#!/usr/bin/env bash
# Configures (once) and builds the tree into build/ (or $CAMPUS_BUILD_DIR; CAMPUS_SANITIZE=1
# configures a new one with the sanitizers on). Shared by the run and test commands.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup-deps.sh"
build="${CAMPUS_BUILD_DIR:-$root/build}"
if [ ! -f "$build/build.ninja" ]; then
  launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
  sanitize=()
  [ -n "${CAMPUS_SANITIZE:-}" ] && [ "${CAMPUS_SANITIZE}" != 0 ] && sanitize=(-DCAMPUS_SANITIZE=ON)
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE="${CAMPUS_BUILD_TYPE:-RelWithDebInfo}" \
    "${launcher[@]}" "${sanitize[@]}"
fi
cmake --build "$build" "$@"
