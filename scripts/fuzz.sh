#!/usr/bin/env bash
# Builds one fuzz target (libFuzzer, clang) and runs it for a bounded time.
#   fuzz.sh <folder> [seconds]     e.g. fuzz.sh io 600   (default 600 s)
# PENSATO_FUZZ_BUILD names another build folder than build-fuzz.
# The folder under fuzz/ holds one fuzz_*.cpp, its seed corpus in corpus/
# and optionally a dictionary (*.dict). New inputs go to
# fuzz-out/<folder>/corpus; crashes, hangs and memory blow-ups to
# fuzz-out/<folder>/artifacts.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
folder=${1:?usage: fuzz.sh <folder under fuzz/> [seconds]}
seconds=${2:-600}
source=$(ls "$root"/fuzz/"$folder"/fuzz_*.cpp)
target=$(basename "$source" .cpp)
build=${PENSATO_FUZZ_BUILD:-$root/build-fuzz}
out=$root/fuzz-out/$folder

if [ ! -f "$build/build.ninja" ]; then
    CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPENSATO_BUILD_FUZZERS=ON \
        -DPENSATO_BUILD_TESTS=OFF -DPENSATO_BUILD_BENCHMARKS=OFF -DPENSATO_BUILD_TOOLS=OFF
fi
cmake --build "$build" -j2 --target "$target"

mkdir -p "$out/corpus" "$out/artifacts"
dict=()
for d in "$root"/fuzz/"$folder"/*.dict; do
    [ -f "$d" ] && dict=(-dict="$d")
done
export QT_QPA_PLATFORM=offscreen
# Qt keeps caches for the whole process: they are not leaks of an input.
export ASAN_OPTIONS=detect_leaks=0
"$build/fuzz/$folder/$target" "$out/corpus" "$root/fuzz/$folder/corpus" \
    "${dict[@]}" -max_total_time="$seconds" -timeout=10 \
    -rss_limit_mb=2048 -max_len=16384 -artifact_prefix="$out/artifacts/" \
    -print_final_stats=1
