#!/usr/bin/env bash
# The program's memory while its encoder window follows an encoder that writes 1 GB without a line
# break (the test stand-in), against its memory before Convert. Usage: bench/flood_memory.sh [MB]
set -euo pipefail
source "$(dirname "$0")/../scripts/xvfb.sh"
cd "$(dirname "$0")/.."
megabytes=${1:-1024}
cmake --build --preset release -j "$(nproc)" --target zarnik-video-maker fake_encoder >/dev/null
program=$PWD/build/release/app/zarnik-video-maker
work=$(mktemp -d)
zvm_private_user_folders "$work"
cp build/release/tests/tools/fake_encoder "$work/ffmpeg"
zvm_start_xvfb
trap 'kill -KILL $app_pid 2>/dev/null; kill $ZVM_XVFB_PID; rm -rf "$work"' EXIT
printf '"640","480","256","32","24000","%s","%s","%s","Saved","Classic"\r\n' \
    "$work/in.avi" "$work/out.mp4" "$work/ffmpeg" > "$work/settings.ini"
(cd "$work" && FAKE_ENCODER_FLOOD=$megabytes exec "$program" 2>/dev/null) &
app_pid=$!
window=$(xdotool search --sync --onlyvisible --pid "$app_pid" | head -n 1)
sleep 1
rss() { awk '/VmRSS/ {print $2}' "/proc/$app_pid/status"; }
idle=$(rss)
xdotool windowfocus "$window"
xdotool key alt+v
peak=$idle
for _ in $(seq 1200); do # up to two minutes
    now=$(rss)
    [ "$now" -gt "$peak" ] && peak=$now
    [ -e "$work/out.mp4" ] && break
    sleep 0.1
done
echo "idle ${idle} kB, peak ${peak} kB while following ${megabytes} MB: $(( (peak - idle) / 1024 )) MB above idle"
