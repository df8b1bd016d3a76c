#!/usr/bin/env bash
# Rides the game built in build/ for SECONDS seconds' worth of frames (66 a second) on a virtual
# display of its own, and prints the processor time it used (user plus system over wall time, as
# /usr/bin/time measures it) and the median, least and largest time between presented frames.
# Usage: tools/pacing.sh [SECONDS] [BUILD_FOLDER]
set -euo pipefail
seconds=${1:-20}
build=$(cd "${2:-$(dirname "$0")/../build}" && pwd)
[ -x "$build/quillerby" ] || { echo "no game in $build; build it first" >&2; exit 2; }

work=$(mktemp -d /tmp/quillerby-pacing-XXXXXX)
trap 'rm -rf "$work"' EXIT
cp "$build"/Biker2.bmp "$build"/TilesFun2.bmp "$build"/hit1.wav "$work"/
cc -shared -fPIC -O2 -o "$work/present_times.so" "$(dirname "$0")/pacing/present_times.c" -ldl

# DirectInput key codes: 205 Right, 203 Left, 57 Space, 1 Escape.
frames=$((seconds * 1000 / 15))
{
    echo 40
    for ((left = frames - 41; left > 0; left -= 200)); do
        echo "99 205"
        echo "1 205 57"
        echo "100 203"
    done
    echo "1 1"
} >"$work/ride.txt"

cd "$work"
WINAPI_INPUT_SCRIPT=ride.txt SDL_AUDIODRIVER=dummy PRESENT_TIMES=present_times.txt \
    LD_PRELOAD="$work/present_times.so" xvfb-run -a -s "-screen 0 1024x768x24" \
    /usr/bin/time -f "%U %S %e" -o time.txt "$build/quillerby"
read -r user system wall <time.txt
awk -v u="$user" -v s="$system" -v w="$wall" \
    'BEGIN { printf "cpu: %.1f%% of one core (user %ss + system %ss over %ss)\n", 100 * (u + s) / w, u, s, w }'
awk 'NR > 1 { print ($1 - previous) / 1e6 } { previous = $1 }' present_times.txt | sort -n |
    awk '{ t[NR] = $1 } END { printf "frames: %d, time between presents: median %.2f ms, least %.2f ms, largest %.2f ms\n", NR + 1, t[int((NR + 1) / 2)], t[1], t[NR] }'
