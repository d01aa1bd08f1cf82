#!/usr/bin/env bash
# build.sh BUILD_DIR [cmake options...] [-- targets...]: configures and builds with Ninja.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
dir="${1:-$root/build}"
shift || true
options=()
while [ $# -gt 0 ] && [ "$1" != "--" ]; do options+=("$1"); shift; done
[ "${1:-}" = "--" ] && shift
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake -S "$root" -B "$dir" -G Ninja "${options[@]}" >/dev/null
cmake --build "$dir" "${targets[@]}"
