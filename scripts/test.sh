#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: once in a
# normal build, once under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
export QT_QPA_PLATFORM=offscreen

"$root/scripts/build.sh" build
(cd "$root/build" && ctest --output-on-failure -j2)

"$root/scripts/build.sh" build-asan -DPENSATO_SANITIZE=ON \
    -DPENSATO_BUILD_BENCHMARKS=OFF -DPENSATO_BUILD_TOOLS=OFF
(cd "$root/build-asan" && ctest --output-on-failure -j2)
