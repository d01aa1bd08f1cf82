#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" "$root/build" -- tamberline
if [ -x "$root/build/src/app/tamberline" ]; then
    exec "$root/build/src/app/tamberline" "$@"
fi
exec "$root/build/src/cli/tamberline-cli" --help
