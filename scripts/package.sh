#!/usr/bin/env bash
# Installs what is missing, builds, and makes the Debian package in build/:
# tamberline_VERSION_ARCH.deb, installed with `sudo apt install ./build/tamberline_*.deb`.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" "$root/build" -- package
ls "$root"/build/tamberline_*.deb
