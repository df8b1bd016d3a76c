#!/usr/bin/env bash
# Rides the game built in build/ on a virtual display of its own for MINUTES minutes' worth of
# frames (4000 a minute; a busy machine draws them more slowly): left and right, jumping and
# hitting, with its sound written to a file by SDL's disk audio driver, then Escape. Prints the game's resident memory (VmRSS) after the first minute and at the end, and
# fails if it grew by more than 1 MiB in between or the game did not exit with code 0.
# Usage: tools/soak.sh MINUTES [BUILD_FOLDER]
set -euo pipefail
minutes=${1:?usage: tools/soak.sh MINUTES [BUILD_FOLDER]}
[[ $minutes =~ ^[1-9][0-9]*$ ]] || { echo "MINUTES must be a whole number above 0" >&2; exit 2; }
build=$(cd "${2:-$(dirname "$0")/../build}" && pwd)
[ -x "$build/quillerby" ] || { echo "no game in $build; build it first" >&2; exit 2; }

work=$(mktemp -d /tmp/quillerby-soak-XXXXXX)
xvfb=
game=
finish() {
    [ -n "$game" ] && kill "$game" 2>/dev/null
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
    wait 2>/dev/null
    return 0
}
trap finish EXIT
cp "$build"/Biker2.bmp "$build"/TilesFun2.bmp "$build"/hit1.wav "$work"/

# DirectInput key codes: 205 Right, 203 Left, 57 Space, 48 B, 1 Escape. A frame lasts about 15 ms,
# so a minute is 4000 frames; one turn right and left is 288.
frames_per_turn=288
turns=$(((minutes * 4000 + frames_per_turn - 1) / frames_per_turn))
{
    echo "40               # fall onto the floor"
    for ((turn = 0; turn < turns; turn++)); do
        for key in 205 203; do
            echo "100 $key"
            echo "1 $key 57"
            echo "30 $key"
            echo "3 $key 48"
            echo "10"
        done
    done
    echo "5 1              # Escape"
} >"$work/ride.txt"

# Xvfb writes the number of the display it took once it accepts clients.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
display=$(head -n 1 "$work/display")
[ -n "$display" ] || { echo "Xvfb did not start" >&2; exit 1; }

rss() { awk '/^VmRSS:/ { print $2 }' "/proc/$1/status" 2>/dev/null || true; }

echo "Riding for $minutes minute(s) in $work (display :$display)..."
(cd "$work" && DISPLAY=":$display" WINAPI_INPUT_SCRIPT=ride.txt SDL_AUDIODRIVER=disk \
    SDL_DISKAUDIOFILE="$work/sound.raw" exec "$build/quillerby" 2>"$work/stderr.txt") &
game=$!
start=$SECONDS
first=
last=
while kill -0 "$game" 2>/dev/null; do
    now=$(rss "$game")
    [ -n "$now" ] && last=$now
    if [ -z "$first" ] && ((SECONDS - start >= 60)) && [ -n "$now" ]; then
        first=$now
        echo "VmRSS after the first minute: $first kB"
    fi
    sleep 1
done
set +e
wait "$game"
status=$?
set -e
game=
elapsed=$((SECONDS - start))
first=${first:-$last}

echo "VmRSS at the end:             ${last:-?} kB (after $elapsed s)"
echo "exit code:                    $status"
failed=0
if [ "$status" -ne 0 ]; then
    echo "FAILED: the game exited with code $status"
    failed=1
fi
if [ -z "$last" ]; then
    echo "FAILED: no resident memory was read"
    failed=1
elif ((last - first > 1024)); then
    echo "FAILED: resident memory grew by $((last - first)) kB, more than 1 MiB"
    failed=1
else
    echo "resident memory changed by $((last - first)) kB"
fi
if [ "$failed" -ne 0 ]; then
    echo "Log.txt, stderr.txt and the ride are kept in $work"
    exit 1
fi
rm -rf "$work"
echo "soak: ok"
