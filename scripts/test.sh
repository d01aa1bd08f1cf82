#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: first the normal build,
# then the same tests built with the address and undefined-behaviour sanitizers.
# test.sh --quick skips the sanitizer build.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/install-deps.sh"
export QT_QPA_PLATFORM=offscreen
"$root/scripts/build.sh" "$root/build" -DT2_BUILD_TESTS=ON
(cd "$root/build" && ctest --output-on-failure --no-tests=error --timeout 900)
if [ "${1:-}" != "--quick" ]; then
    "$root/scripts/build.sh" "$root/build-sanitize" -DT2_BUILD_TESTS=ON -DT2_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
    (cd "$root/build-sanitize" && ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
        ctest --output-on-failure --no-tests=error --timeout 900)
fi
