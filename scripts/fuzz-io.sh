#!/usr/bin/env bash
# Builds the scene file reader's fuzz target (libFuzzer, clang) and runs it
# for a bounded time. New inputs go to fuzz-out/io/corpus, crashes, hangs
# and memory blow-ups to fuzz-out/io/artifacts.
#   fuzz-io.sh [seconds]     (default 600)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-600}
build=$root/build-fuzz-io
out=$root/fuzz-out/io

if [ ! -f "$build/build.ninja" ]; then
    CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPENSATO_BUILD_FUZZERS=ON \
        -DPENSATO_BUILD_TESTS=OFF -DPENSATO_BUILD_BENCHMARKS=OFF -DPENSATO_BUILD_TOOLS=OFF
fi
cmake --build "$build" -j2 --target fuzz_scene_reader

mkdir -p "$out/corpus" "$out/artifacts"
export QT_QPA_PLATFORM=offscreen
# Qt keeps caches for the whole process: they are not leaks of an input.
export ASAN_OPTIONS=detect_leaks=0
"$build/fuzz/io/fuzz_scene_reader" "$out/corpus" "$root/fuzz/io/corpus" \
    -dict="$root/fuzz/io/scene.dict" -max_total_time="$seconds" -timeout=10 \
    -rss_limit_mb=2048 -max_len=16384 -artifact_prefix="$out/artifacts/" \
    -print_final_stats=1
