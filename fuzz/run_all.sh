#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the fuzz targets with clang into BUILD_DIR and runs each one for SECONDS
# (default 30). Fails when any target finds anything (a crash, a sanitizer report, a
# broken invariant, a hang, a single allocation beyond 512 MB); the input that broke it
# is left in BUILD_DIR/fuzz-findings/<target>/, to be added to fuzz/corpus/<target>/ once
# fixed. Every folder of fuzz/corpus/ names a target; naming targets runs only those.
#
#   fuzz/run_all.sh BUILD_DIR [SECONDS] [TARGET...]
set -euo pipefail

if [[ $# -lt 1 ]]; then
    echo "usage: $0 BUILD_DIR [SECONDS] [TARGET...]" >&2
    exit 2
fi
build_dir=$(realpath -m "$1")
seconds=${2:-30}
shift $(( $# < 2 ? $# : 2 ))
only=("$@")
if ! [[ $seconds =~ ^[0-9]+$ ]] || [[ $seconds -lt 1 ]]; then
    echo "$0: SECONDS must be a whole number of seconds, not \"$seconds\"" >&2
    exit 2
fi
fuzz_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source_dir=$(dirname "$fuzz_dir")
jobs=${QON_FUZZ_BUILD_JOBS:-2}

CC=clang CXX=clang++ cmake -S "$source_dir" -B "$build_dir" -G Ninja \
    -DCMAKE_BUILD_TYPE=Debug -DQON_BUILD_FUZZERS=ON -DQON_BUILD_TOOLS=OFF \
    -DQON_BUILD_TESTS=OFF >/dev/null
cmake --build "$build_dir" --target qon_fuzzers -j "$jobs"

# An allocation no machine can make fails as it does outside the sanitizer (the loader
# must then report an error); one that a machine might make but that is absurd for a data
# file is a finding, through -malloc_limit_mb.
export ASAN_OPTIONS=${ASAN_OPTIONS:-allocator_may_return_null=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}

failed=()
for corpus in "$fuzz_dir"/corpus/*/; do
    target=$(basename "$corpus")
    if [[ ${#only[@]} -gt 0 && ! " ${only[*]} " =~ " $target " ]]; then
        continue
    fi
    binary="$build_dir/fuzz/$target"
    if [[ ! -x $binary ]]; then
        echo "== $target: not built in this configuration, skipped"
        continue
    fi
    # New inputs go to a working corpus in the build folder; the committed seeds are
    # only read.
    work="$build_dir/fuzz-corpus/$target"
    findings="$build_dir/fuzz-findings/$target"
    mkdir -p "$work" "$findings"
    echo "== $target: ${seconds}s"
    if ! "$binary" "$work" "$corpus" -max_total_time="$seconds" -timeout=10 \
            -rss_limit_mb=2048 -malloc_limit_mb=512 -max_len=8192 -print_final_stats=1 \
            -artifact_prefix="$findings/" 2>"$build_dir/fuzz-findings/$target.log"; then
        echo "!! $target found a problem; see $findings/ and $build_dir/fuzz-findings/$target.log" >&2
        tail -n 40 "$build_dir/fuzz-findings/$target.log" >&2
        failed+=("$target")
        continue
    fi
    grep -E '^stat::(number_of_executed_units|new_units_added)' \
        "$build_dir/fuzz-findings/$target.log" | tr '\n' ' '
    echo
done
if [[ ${#failed[@]} -gt 0 ]]; then
    echo "Fuzzing found problems in: ${failed[*]}" >&2
    exit 1
fi
echo "Fuzzing found nothing."
