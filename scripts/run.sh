#!/usr/bin/env bash
# Sets up, builds the program and the simulated controller (not the tests), and starts the
# program.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/build.sh" vm880 vm880-sim
exec "${BUILD_DIR:-$root/build}/vm880" "$@"
