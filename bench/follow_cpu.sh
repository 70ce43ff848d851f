#!/usr/bin/env bash
# The program's CPU use while its encoder window, or its queue window, follows a busy encoder: a real
# ffmpeg converting a long source at full speed.
# Usage: bench/follow_cpu.sh [SECONDS] [window|queue] [BUILD_FOLDER] (default: the release preset's,
# built first; under Xvfb)
set -euo pipefail
source "$(dirname "$0")/../scripts/xvfb.sh"
cd "$(dirname "$0")/.."
seconds=${1:-10}
mode=${2:-window}
build=$(realpath "${3:-build/release}")
[ -n "${3:-}" ] || cmake --preset release >/dev/null
cmake --build "$build" -j "$(nproc)" --target zarnik-video-maker >/dev/null
program=$build/app/zarnik-video-maker
work=$(mktemp -d)
zvm_private_user_folders "$work"
zvm_start_xvfb
app_pid=
encoder_pid=
# Ends only what this script started: the program, and the encoder it started (by their ids).
trap 'for pid in $app_pid $encoder_pid; do kill -KILL "$pid" 2>/dev/null; done; kill $ZVM_XVFB_PID; rm -rf "$work"' EXIT
ffmpeg -v error -f lavfi -i testsrc=s=1280x720:d=600:r=25 -f lavfi -i sine=d=600 -c:v mpeg4 -q:v 5 -c:a aac \
    "$work/source.mp4"
printf '"1280","720","256","32","24000","%s","%s","/usr/bin/ffmpeg","Saved","Modern"\r\n' \
    "$work/source.mp4" "$work/out.mp4" > "$work/settings.ini"
(cd "$work" && exec "$program" 2>/dev/null) &
app_pid=$!
window=$(xdotool search --sync --onlyvisible --pid "$app_pid" | head -n 1)
sleep 0.5
xdotool windowfocus "$window"
if [ "$mode" = queue ]; then
    xdotool key alt+o u # Options > Add current to queue, which opens the queue window
    sleep 0.5
    xdotool key alt+s # Start
else
    xdotool key alt+v
fi
# The encoder writing this run's own output: a child of the program, or, started as an independent
# program, one of its own; found once, then followed by its id.
for _ in $(seq 100); do encoder_pid=$(pgrep -f "$work/out.mp4" | head -n 1) && break; sleep 0.05; done
[ -n "$encoder_pid" ] || { echo "the encoder did not start" >&2; exit 1; }
ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
hz=$(getconf CLK_TCK)
before=$(ticks "$app_pid")
start=$(date +%s%N)
# Measures while the encoder runs, up to the given time.
while kill -0 "$encoder_pid" 2>/dev/null && [ $(( ($(date +%s%N) - start) / 1000000000 )) -lt "$seconds" ]; do
    sleep 0.2
done
after=$(ticks "$app_pid")
elapsed_ms=$(( ($(date +%s%N) - start) / 1000000 ))
awk -v t=$((after - before)) -v hz="$hz" -v ms="$elapsed_ms" \
    -v mode="$mode" 'BEGIN { printf "program CPU while its %s follows: %.2f%% of one core over %.1f s\n", mode, 100 * t / hz / (ms / 1000), ms / 1000 }'
