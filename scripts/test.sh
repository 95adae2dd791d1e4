#!/usr/bin/env bash
# Sets up, builds and runs every test through CTest, headless.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
# Built, not run: a benchmark that no longer compiles fails here instead of going unnoticed.
"$root/scripts/build.sh" bench
export QT_QPA_PLATFORM=offscreen
XDG_RUNTIME_DIR="$(mktemp -d)"
chmod 0700 "$XDG_RUNTIME_DIR"
export XDG_RUNTIME_DIR
cd "${BUILD_DIR:-$root/build}"
ctest --output-on-failure --parallel "$(nproc)" "$@"
