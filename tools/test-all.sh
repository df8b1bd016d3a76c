#!/usr/bin/env bash
# Builds and runs the whole suite twice (plain, then AddressSanitizer + UndefinedBehaviorSanitizer),
# then the tests labelled `tsan` (those that start threads or run our programs, and the sound
# output's) with ThreadSanitizer, then builds the fuzz targets with clang and runs each briefly over
# its seed corpus (tools/fuzz-all.sh).
# Usage: tools/test-all.sh JOBS FUZZ_SECONDS
set -uo pipefail
jobs=${1:-2}
fuzz_seconds=${2:-10}
cd "$(dirname "$0")/.."

passed=0
failed=0
status=0

# run_suite build-folder "targets (empty: all)" "ctest selection" cmake-args...
run_suite() {
    local dir=$1 targets=$2 selection=$3
    shift 3
    cmake -S . -B "$dir" "$@" >/dev/null || return 1
    # shellcheck disable=SC2086 # the lists split into words
    cmake --build "$dir" -j"$jobs" ${targets:+--target $targets} || return 1
    local log="$dir/ctest.log"
    # shellcheck disable=SC2086
    ctest --test-dir "$dir" --output-on-failure -j"$jobs" --timeout 300 $selection | tee "$log"
    local rc=${PIPESTATUS[0]}
    local line
    line=$(grep -E 'tests passed, [0-9]+ tests failed out of' "$log" | tail -n 1)
    if [[ $line =~ ([0-9]+)\ tests\ failed\ out\ of\ ([0-9]+) ]]; then
        failed=$((failed + BASH_REMATCH[1]))
        passed=$((passed + BASH_REMATCH[2] - BASH_REMATCH[1]))
    fi
    return "$rc"
}

echo "== plain build =="
run_suite build "" "" -DCMAKE_BUILD_TYPE=RelWithDebInfo || status=1
echo "== sanitizer build =="
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
run_suite build-asan "" "" -DCMAKE_BUILD_TYPE=Debug -DQUILLERBY_SANITIZE=ON || status=1
echo "== thread sanitizer build (tests labelled tsan) =="
# A report makes the process exit with 66, so the test fails; the games that the end-to-end tests
# start inherit the options.
export TSAN_OPTIONS="suppressions=$PWD/tools/tsan.supp:second_deadlock_stack=1"
run_suite build-tsan "winapi_tests sound_tests app_tests" "-L tsan" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLERBY_TSAN=ON || status=1

echo "== fuzz targets (${fuzz_seconds}s each) =="
fuzz_log=$(mktemp)
JOBS=$jobs FUZZ_MERGE=0 tools/fuzz-all.sh "$fuzz_seconds" | tee "$fuzz_log"
[ "${PIPESTATUS[0]}" -eq 0 ] || status=1
if [[ $(tail -n 1 "$fuzz_log") =~ ^fuzz:\ ([0-9]+)\ passed,\ ([0-9]+)\ failed$ ]]; then
    passed=$((passed + BASH_REMATCH[1]))
    failed=$((failed + BASH_REMATCH[2]))
else
    failed=$((failed + 1))
    status=1
fi
rm -f "$fuzz_log"

echo
echo "all suites: $passed passed, $failed failed"
exit "$status"
