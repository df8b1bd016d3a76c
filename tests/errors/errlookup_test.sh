#!/bin/sh
# Runs the errlookup tool as a user would: errlookup_test.sh path/to/errlookup
set -u
tool=$1
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
*"'bogus' is not a result code"*) ;;
*) expect "malformed code: error on standard error" "...'bogus' is not a result code..." "$err" ;;
esac

"$tool" >/dev/null 2>&1
expect "no code: exit status" 2 "$?"

[ "$failures" -eq 0 ] && echo "errlookup: all checks passed"
exit "$failures"
