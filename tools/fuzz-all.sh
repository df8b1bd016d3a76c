#!/usr/bin/env bash
# Builds the fuzz programs with clang and runs each for SECONDS from a copy of its committed corpus
# (fuzz/corpus/NAME), then prints per program the inputs run, the seconds taken, the coverage
# reached and the findings. Fails when a program finds anything or cannot be built.
# Usage: tools/fuzz-all.sh SECONDS [NAME...]   (no NAME: every program in fuzz/)
# Environment: JOBS (build jobs, default 2); FUZZ_RUNS=N also ends a program's run after N inputs,
# whichever comes first; FUZZ_MERGE=1 merges what each run adds to coverage back into
# fuzz/corpus/NAME. Logs and findings go to build-fuzz/fuzz-logs/.
# The last line is "fuzz: P passed, F failed".
set -uo pipefail
seconds=${1:?usage: tools/fuzz-all.sh SECONDS [NAME...]}
shift
jobs=${JOBS:-2}
cd "$(dirname "$0")/.."

build=build-fuzz
names=("$@")
if [ ${#names[@]} -eq 0 ]; then
    for source in fuzz/*.cpp; do
        name=${source##*/}
        names+=("${name%.cpp}")
    done
fi
targets=("${names[@]/#/fuzz_}")

mkdir -p "$build"
if ! CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DQUILLERBY_FUZZ=ON >"$build/fuzz-build.log" 2>&1 ||
    ! cmake --build "$build" -j"$jobs" --target "${targets[@]}" >>"$build/fuzz-build.log" 2>&1; then
    tail -n 40 "$build/fuzz-build.log"
    echo "fuzz build failed"
    echo "fuzz: 0 passed, ${#names[@]} failed"
    exit 1
fi

logs=$build/fuzz-logs
mkdir -p "$logs"
passed=0
failed=0
printf '%-20s %12s %8s %9s  %s\n' target executions seconds coverage findings
for name in "${names[@]}"; do
    fuzzer=$build/fuzz/fuzz_$name
    log=$logs/$name.log
    findings=$logs/$name-findings
    rm -rf "$findings"
    mkdir -p "$findings"
    work=$(mktemp -d)
    [ -d "fuzz/corpus/$name" ] && cp -r "fuzz/corpus/$name/." "$work/"

    start=$(date +%s)
    "$fuzzer" -max_total_time="$seconds" -runs="${FUZZ_RUNS:--1}" -timeout=30 -print_final_stats=1 \
        -artifact_prefix="$findings/" "$work" >"$log" 2>&1
    rc=$?
    took=$(($(date +%s) - start))

    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    coverage=$(grep -ao ' cov: [0-9]*' "$log" | tail -n 1 | tr -dc '0-9')
    found=$(find "$findings" -type f \( -name 'crash-*' -o -name 'leak-*' -o -name 'oom-*' \
        -o -name 'timeout-*' \) | wc -l)
    result=$found
    if [ "$found" -gt 0 ]; then
        result="$found: $(find "$findings" -type f | head -n 1)"
    elif [ "$rc" -ne 0 ]; then
        result="exit $rc, see $log"
    fi
    printf '%-20s %12s %8s %9s  %s\n' "$name" "${executions:-?}" "$took" "${coverage:-?}" "$result"

    if [ "$rc" -eq 0 ] && [ "$found" -eq 0 ]; then
        passed=$((passed + 1))
        if [ "${FUZZ_MERGE:-0}" = 1 ]; then
            mkdir -p "fuzz/corpus/$name"
            "$fuzzer" -merge=1 "fuzz/corpus/$name" "$work" >"$logs/$name-merge.log" 2>&1 ||
                echo "  merge into fuzz/corpus/$name failed, see $logs/$name-merge.log"
        fi
    else
        failed=$((failed + 1))
        tail -n 40 "$log"
    fi
    rm -rf "$work"
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
