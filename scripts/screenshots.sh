#!/usr/bin/env bash
# Renders every window of the program into PNG files in docs/ (or the folder given),
# headless: no display is needed and no zel.ini of yours is read or written.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
out="${1:-$root/docs}"
"$root/scripts/build.sh" >/dev/null
export QT_QPA_PLATFORM=offscreen
XDG_RUNTIME_DIR="$(mktemp -d)"
chmod 0700 "$XDG_RUNTIME_DIR"
export XDG_RUNTIME_DIR
trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
mkdir -p "$out"
"$build/vm880-screenshots" "$out"
