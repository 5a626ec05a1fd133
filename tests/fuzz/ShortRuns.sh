#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in a build directory of their own and runs each of them
# for a few seconds over a copy of its seed corpus. Exit 77 (skipped) when clang is not there.
set -euo pipefail
src=$1
out=$2
seconds=${3:-5}

if ! command -v clang++ >/dev/null 2>&1; then
    echo "clang++ is not installed: the fuzz targets are not run"
    exit 77
fi

CC=clang CXX=clang++ cmake -S "$src" -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTARVESK_BUILD_TESTS=OFF -DTARVESK_BUILD_BENCH=OFF >/dev/null
# One target per seed folder: fuzz/corpus/<name> feeds fuzz_<name>.
targets=$(cd "$src/fuzz/corpus" && ls -d */ | tr -d /)
cmake --build "$out" --target $(printf 'fuzz_%s ' $targets) -j2 >/dev/null

status=0
for target in $targets; do
    work=$(mktemp -d)
    cp -r "$src/fuzz/corpus/$target/." "$work/"
    echo "fuzz_$target: ${seconds} s over $(ls "$work" | wc -l) seed inputs"
    if ! "$out/fuzz/fuzz_$target" "$work" -max_total_time="$seconds" -jobs=1 -workers=1 \
        -artifact_prefix="$out/fuzz-$target-" -print_final_stats=1 2>"$out/fuzz-$target.log"; then
        echo "fuzz_$target found a failure; its log:"
        tail -n 40 "$out/fuzz-$target.log"
        status=1
    fi
    grep -E 'stat::number_of_executed_units' "$out/fuzz-$target.log" || true
    rm -rf "$work"
done
exit $status
