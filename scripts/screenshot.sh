#!/usr/bin/env bash
# Renders the main window, after a Generate, under a virtual X server to docs/screenshot.png.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
zvm_ensure_packages "${ZVM_BUILD_PACKAGES[@]}" "${ZVM_TEST_PACKAGES[@]}" x11-apps imagemagick
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)" --target zarnik-video-maker >/dev/null
program=$PWD/build/release/app/zarnik-video-maker
out=$PWD/docs/screenshot.png
work=$(mktemp -d)
trap 'kill $app_pid $xvfb_pid 2>/dev/null || true; rm -rf "$work"' EXIT
display=:$((100 + RANDOM % 100))
Xvfb "$display" -screen 0 800x700x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=$display
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
printf '"1280","720","256","32","24000","%s","%s","%s","Saved"\r\n' \
    "/home/user/Videos/holiday.avi" "/home/user/Videos/holiday.mp4" "/usr/bin/ffmpeg" > "$work/settings.ini"
(cd "$work" && "$program") &
app_pid=$!
window=$(xdotool search --sync --name 'Zarnik Video Maker v0\.61' | head -n 1)
xdotool windowfocus "$window"
sleep 0.5
xdotool key alt+g
sleep 0.5
mkdir -p docs
xwd -silent -id "$window" | convert xwd:- "png:$out"
echo "wrote $out"
