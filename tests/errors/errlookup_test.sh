#!/bin/sh
# Runs the errlookup tool as a user would: errlookup_test.sh path/to/errlookup VERSION
set -u
tool=$1
version=$2
failures=0

expect() { # description expected actual
    if [ "$2" != "$3" ]; then
        printf 'FAIL: %s\n  expected: %s\n  actual:   %s\n' "$1" "$2" "$3"
        failures=$((failures + 1))
    fi
}

tab=$(printf '\t')
out=$("$tool" 0x88780096 -2005401450 0x12345678)
expect "one line per code, hex or negative decimal" \
    "0x88780096${tab}DSERR_BUFFERLOST${tab}The buffer memory has been lost, and must be restored
0x88780096${tab}DSERR_BUFFERLOST${tab}The buffer memory has been lost, and must be restored
0x12345678${tab}Unknown${tab}n/a" "$out"

out=$("$tool" --wide 0x00040001 1068)
expect "wide tables" \
    "0x00040001${tab}OLE_S_STATIC & MS_S_PENDING${tab}The stream is still being updated; the sample will complete later.
0x0000042c${tab}ERROR_SERVICE_DEPENDENCY_FAIL${tab}n/a" "$out"

out=$("$tool" 5 bogus 0x80070005 2>/dev/null)
status=$?
err=$("$tool" 5 bogus 0x80070005 2>&1 >/dev/null)
expect "malformed code: exit status" 2 "$status"
expect "malformed code: the others are still looked up" \
    "0x00000005${tab}ERROR_ACCESS_DENIED${tab}Access is denied.
0x80070005${tab}E_ACCESSDENIED${tab}Access is denied" "$out"
case $err in
*"no result code is named 'bogus'"*) ;;
*) expect "unknown name: error on standard error" "...no result code is named 'bogus'..." "$err" ;;
esac

err=$("$tool" 0x12g 2>&1 >/dev/null)
case $err in
*"'0x12g' is not a result code"*) ;;
*) expect "malformed code: error on standard error" "...'0x12g' is not a result code..." "$err" ;;
esac

out=$("$tool" dserr_bufferlost DIERR_NOTACQUIRED ERROR_INVALID_ACCESS)
expect "names in any case; names that share a code each print its lines" \
    "0x88780096${tab}DSERR_BUFFERLOST${tab}The buffer memory has been lost, and must be restored
0x0000000c${tab}ERROR_INVALID_ACCESS & DIERR_NOTACQUIRED${tab}n/a
0x8007000c${tab}ERROR_INVALID_ACCESS & DIERR_NOTACQUIRED${tab}The operation cannot be performed unless the device is acquired.
0x0000000c${tab}ERROR_INVALID_ACCESS & DIERR_NOTACQUIRED${tab}n/a
0x8007000c${tab}ERROR_INVALID_ACCESS & DIERR_NOTACQUIRED${tab}The operation cannot be performed unless the device is acquired." "$out"

out=$("$tool" --wide ms_s_pending)
expect "wide tables for names" \
    "0x00040001${tab}OLE_S_STATIC & MS_S_PENDING${tab}The stream is still being updated; the sample will complete later." "$out"

out=$("$tool" NO_SUCH_NAME e_fail 2>/dev/null)
expect "unknown name: exit status" 2 "$?"
expect "unknown name: the others are still looked up" \
    "0x80004005${tab}E_FAIL${tab}An undetermined error occurred" "$out"

out=$("$tool" --help)
expect "--help: exit status" 0 "$?"
expect "--help: usage on standard output" "usage: errlookup" "$(echo "$out" | head -n 1 | cut -d' ' -f1-2)"
out=$("$tool" --version)
expect "--version" "0 errlookup $version" "$? $out"
out=$("$tool" --bogus 5 2>/dev/null)
expect "unknown option: exit status" 2 "$?"
expect "unknown option: nothing looked up" "" "$out"
err=$("$tool" --bogus 5 2>&1 >/dev/null)
case $err in
*"unknown option --bogus"*usage:*) ;;
*) expect "unknown option: usage on standard error" "...unknown option --bogus...usage:..." "$err" ;;
esac

"$tool" >/dev/null 2>&1
expect "no code: exit status" 2 "$?"

[ "$failures" -eq 0 ] && echo "errlookup: all checks passed"
exit "$failures"
