#!/usr/bin/env bash
# Whole `pensato --export` processes, as a script or a build would run them:
# wall time and peak resident memory (GNU time's maximum resident set size)
# of exporting grid scenes of 1,000 and 10,000 rectangles chained by arrows,
# to PDF and to PNG; the median of several runs of each. Every scene is
# measured with its text labels and without them, which shows what the
# labels cost.
#   bench_export.sh [build folder] [runs]        (defaults: build, 5)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build}
runs=${2:-5}
program=$build/pensato
[ -x "$program" ] || { echo "no program at $program: build it first" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "GNU time is missing: run scripts/install-deps.sh" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

median() {
    sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}

# Prints "wall cpu peak_MiB", the medians of the runs. The processor time
# (user and system) tells how much of the wall time was spent waiting for
# a processor on a busy machine.
measure() {
    local scene=$1 output=$2
    : >"$work/samples"
    for _ in $(seq "$runs"); do
        rm -f "$output"
        /usr/bin/time -f "%e %U %S %M" -o "$work/time" "$program" --export "$output" "$scene"
        awk '{ print $1, $2 + $3, $4 }' "$work/time" >>"$work/samples"
    done
    echo "$(cut -d' ' -f1 "$work/samples" | median)" \
         "$(cut -d' ' -f2 "$work/samples" | median)" \
         "$(cut -d' ' -f3 "$work/samples" | median | awk '{ printf "%.0f", $1 / 1024 }')"
}

printf '%-8s %-7s %-6s %9s %8s %11s %9s\n' items labels format "wall (s)" "cpu (s)" "peak (MiB)" "file (KiB)"
declare -A wall
for labels in 1 0; do
    for n in 1000 10000; do
        scene=$work/grid-$n.pensascene
        awk -v n="$n" -v labels="$labels" -f "$root/bench/cli/gridscene.awk" >"$scene"
        for format in pdf png; do
            read -r seconds cpu peak < <(measure "$scene" "$work/out.$format")
            wall[$n,$labels,$format]=$seconds
            printf '%-8s %-7s %-6s %9s %8s %11s %9s\n' "$n" "$([ "$labels" = 1 ] && echo yes || echo no)" \
                "$format" "$seconds" "$cpu" "$peak" "$(( $(stat -c %s "$work/out.$format") / 1024 ))"
        done
    done
done

echo
for format in pdf png; do
    awk -v f="$format" -v a="${wall[1000,1,$format]}" -v b="${wall[10000,1,$format]}" \
        -v c="${wall[10000,0,$format]}" 'BEGIN {
        printf "%s: growth 1,000 to 10,000: %.1fx; labels: %.0f%% of the time at 10,000\n",
               f, b / a, 100 * (b - c) / b }'
done
