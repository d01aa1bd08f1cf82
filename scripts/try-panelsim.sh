#!/usr/bin/env bash
# Tries the whole road without a panel: builds what is missing, starts the
# simulated panel on a free TCP/IP port, writes a settings file set to reach
# it, and starts the program with that file. In the program: Connect, then
# "Connect To Tamberline II"; download with the password 000000.
# try-panelsim.sh [panelsim options...], e.g. --addon 7,1 or --password 123456.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${T2_BUILD_DIR:-$root/build}"
if [ ! -x "$build/src/app/tamberline" ] || [ ! -x "$build/tools/panelsim/tamberline-panelsim" ]; then
    "$root/scripts/install-deps.sh"
    "$root/scripts/build.sh" "$build" -- tamberline tamberline-panelsim tamberline-cli
fi
work="$(mktemp -d)"
sim_pid=""
cleanup() {
    [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
"$build/tools/panelsim/tamberline-panelsim" --tcp 0 "$@" > "$work/sim.out" &
sim_pid=$!
for _ in $(seq 50); do
    grep -q '^TCP ' "$work/sim.out" 2>/dev/null && break
    sleep 0.1
done
address="$(sed -n 's/^TCP //p' "$work/sim.out")"
if [ -z "$address" ]; then
    echo "the simulated panel did not start" >&2
    exit 1
fi
echo "simulated panel at $address"
"$build/src/cli/tamberline-cli" new "$work/new.TMB"
"$build/src/cli/tamberline-cli" set-link "$work/new.TMB" "$work/Simulated Panel.TMB" --tcp "$address"
"$build/src/app/tamberline" "$work/Simulated Panel.TMB"
