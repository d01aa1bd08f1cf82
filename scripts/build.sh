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
# ccache, where the machine has it, makes rebuilds in a second folder cheap.
if command -v ccache >/dev/null 2>&1; then options=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache "${options[@]}"); fi
cmake -S "$root" -B "$dir" -G Ninja "${options[@]}" >/dev/null
cmake --build "$dir" "${targets[@]}"
