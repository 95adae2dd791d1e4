#!/usr/bin/env bash
# Configures and builds into ./build (or $BUILD_DIR), warnings as errors: everything, or only
# the targets named (scripts/build.sh vm880 vm880-sim).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVM880_WERROR=ON
fi
targets=()
if (($#)); then
  targets=(--target "$@")
fi
cmake --build "$build" --parallel "$(nproc)" "${targets[@]}"
