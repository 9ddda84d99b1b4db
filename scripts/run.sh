#!/usr/bin/env bash
# Builds and runs the client (the campus program; `--help` lists its options): in a window
# when the session has a display (DISPLAY or WAYLAND_DISPLAY), with commands still taken in
# the terminal; in the terminal alone when it has none, or when a script is given.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/build.sh" --target campus_program
build="${CAMPUS_BUILD_DIR:-$root/build}"
window=()
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  window=(--window)
  for argument in "$@"; do
    case "$argument" in
      --script|--window|--help|-h) window=() ;;
    esac
  done
fi
exec "$build/app/campus" "${window[@]}" "$@"
