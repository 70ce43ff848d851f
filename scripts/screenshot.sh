#!/usr/bin/env bash
# Renders a window of the program under a virtual X server: the main window after a Generate, or
# the preview of a generated 4:3 clip on the PSP's 368x208 screen.
# Usage: screenshot.sh [OUTPUT.png] [FONT_DPI] [main|preview]   (default docs/screenshot.png, 96, main)
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
what=${3:-main}
work=$(mktemp -d)
zvm_private_user_folders "$work"
app_pid=
ZVM_XVFB_PID=
trap 'kill $app_pid $ZVM_XVFB_PID 2>/dev/null || true; rm -rf "$work"' EXIT
zvm_start_xvfb 1280x1024x24
video=/home/user/Videos/holiday.avi
size='"1280","720"'
if [ "$what" = preview ]; then
    video=$work/holiday.mp4
    size='"640","480"'
    ffmpeg -v error -f lavfi -i testsrc2=s=640x480:d=10:r=25 -c:v libx264 -pix_fmt yuv420p "$video"
fi
printf '%s,"256","32","24000","%s","%s","%s","Saved"\r\n' \
    "$size" "$video" "/home/user/Videos/holiday.mp4" "/usr/bin/ffmpeg" > "$work/settings.ini"
(cd "$work" && QT_FONT_DPI=$dpi QT_ENABLE_HIGHDPI_SCALING=0 "$program") &
app_pid=$!
window=$(timeout 60 xdotool search --sync --name 'Zarnik Video Maker v0\.61' | head -n 1)
xdotool windowfocus "$window"
sleep 0.5
if [ "$what" = preview ]; then
    xdotool key --delay 50 Tab Tab Tab Tab Tab Tab Tab Down Down Down # the PSP 368x208 row of the list
    xdotool key ctrl+p
    window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Preview - ' | head -n 1)
    sleep 2 # the frame is rendered after a pause
else
    xdotool key alt+g
    sleep 0.5
fi
mkdir -p "$(dirname "$out")"
xwd -silent -id "$window" | convert xwd:- "png:$out"
echo "wrote $out"
