#!/usr/bin/env bash
# Configures and builds into ./build (or $BUILD_DIR): everything, or only the targets named
# (scripts/build.sh vm880 vm880-sim). Warnings are errors in CI only (CI set and not "false"),
# or as VM880_WERROR=ON or OFF says; a build folder configured the other way is configured
# again.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
werror="${VM880_WERROR:-}"
if [ -z "$werror" ]; then
  werror=OFF
  if [ -n "${CI:-}" ] && [ "$CI" != false ]; then
    werror=ON
  fi
fi
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVM880_WERROR="$werror"
elif ! grep -qx "VM880_WERROR:BOOL=$werror" "$build/CMakeCache.txt"; then
  cmake -S "$root" -B "$build" -DVM880_WERROR="$werror"
fi
targets=()
if (($#)); then
  targets=(--target "$@")
fi
cmake --build "$build" --parallel "$(nproc)" "${targets[@]}"
