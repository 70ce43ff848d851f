#!/usr/bin/env bash
# Renders the main window, after a Generate, under a virtual X server.
# Usage: screenshot.sh [OUTPUT.png] [FONT_DPI]   (default docs/screenshot.png at 96 DPI)
set -euo pipefail
source "$(dirname "$0")/xvfb.sh"
cd "$(dirname "$0")/.."
source scripts/deps.sh
zvm_ensure_packages "${ZVM_BUILD_PACKAGES[@]}" "${ZVM_TEST_PACKAGES[@]}" x11-apps imagemagick
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)" --target zarnik-video-maker >/dev/null
program=$PWD/build/release/app/zarnik-video-maker
out=$(realpath -m "${1:-docs/screenshot.png}")
dpi=${2:-96}
work=$(mktemp -d)
app_pid=
ZVM_XVFB_PID=
trap 'kill $app_pid $ZVM_XVFB_PID 2>/dev/null || true; rm -rf "$work"' EXIT
zvm_start_xvfb 1280x1024x24
printf '"1280","720","256","32","24000","%s","%s","%s","Saved"\r\n' \
    "/home/user/Videos/holiday.avi" "/home/user/Videos/holiday.mp4" "/usr/bin/ffmpeg" > "$work/settings.ini"
(cd "$work" && QT_FONT_DPI=$dpi QT_ENABLE_HIGHDPI_SCALING=0 "$program") &
app_pid=$!
window=$(xdotool search --sync --name 'Zarnik Video Maker v0\.61' | head -n 1)
xdotool windowfocus "$window"
sleep 0.5
xdotool key alt+g
sleep 0.5
mkdir -p docs
xwd -silent -id "$window" | convert xwd:- "png:$out"
echo "wrote $out"
