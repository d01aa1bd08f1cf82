#!/usr/bin/env bash
# build.sh [BUILD_DIR] [extra cmake options...]: configures and builds with Ninja.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
dir="${1:-$root/build}"
shift || true
cmake -S "$root" -B "$dir" -G Ninja "$@" >/dev/null
cmake --build "$dir"
