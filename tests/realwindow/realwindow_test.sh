#!/usr/bin/env bash
# The real program in a real window: starts its own X server, restores settings, types a size,
# generates with Alt+G, clicks into the command box and reads the clipboard, saves with Alt+F S,
# then converts with a fake encoder and exits while it still runs.
# Usage: realwindow_test.sh PROGRAM FAKE_ENCODER
set -euo pipefail
source "$(dirname "$0")/../../scripts/xvfb.sh"
[ -n "${ZVM_TRACE:-}" ] && set -x
program=$(realpath "$1")
fake_encoder=$(realpath "$2")
work=$(mktemp -d)
ZVM_XVFB_PID=
app_pid=
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
    [ -n "$ZVM_XVFB_PID" ] && kill "$ZVM_XVFB_PID" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

# A display number nobody uses.
zvm_start_xvfb

mkdir -p "$work/my tools"
cp "$fake_encoder" "$work/my tools/ffmpeg"
encoder="$work/my tools/ffmpeg"
printf '"640","480","256","32","24000","%s","%s","%s","Saved"\r\n' \
    "$work/in clip.avi" "$work/out clip.mp4" "$encoder" > "$work/settings.ini"

cd "$work"
FAKE_ENCODER_SECONDS=3 QT_QPA_PLATFORM=xcb "$program" >"$work/app.log" 2>&1 &
app_pid=$!
window=$(xdotool search --sync --name 'Zarnik Video Maker v0\.61' | head -n 1)
xdotool windowfocus "$window"
sleep 0.5 # the window maps before Qt has painted and taken the focus

# Focus starts in the video box; four Tabs reach the width box, whose text is then selected.
xdotool key --delay 50 Tab Tab Tab Tab
xdotool type --delay 30 '1280'
xdotool key Tab
xdotool type --delay 30 '720'
xdotool key alt+g
sleep 0.5

# Click into the command box: its centre lies at (280, 424) in the client area, below the menu bar.
eval "$(xdotool getwindowgeometry --shell "$window")"
client_top=$((HEIGHT - 544))
xdotool mousemove --window "$window" 280 $((client_top + 424)) click 1
sleep 0.5
expected="$encoder -y -i \"$work/in clip.avi\" -r 29.971 -s 240x136 -bitexact -strict 3 -me epzs -hq -vcodec mpeg4 -b 256 -acodec aac -ac 2 -ar 24000 -ab 32 -f mp4 -padtop 12 -padbottom 12 \"$work/out clip.mp4\""
copied=$(xclip -o -selection clipboard 2>/dev/null || true)
[ "$copied" = "$expected" ] || fail "clipboard holds [$copied], expected [$expected]"
echo "ok: the generated command reached the clipboard"

# Save settings through the menu, then close the confirmation with Enter.
xdotool key alt+f
sleep 0.3
xdotool key s
sleep 0.5
xdotool key Return
sleep 0.3
expected_file=$(printf '"1280","720","256","32","24000","%s","%s","%s","Saved"\r\n' \
    "$work/in clip.avi" "$work/out clip.mp4" "$encoder")
[ "$(cat "$work/settings.ini")" = "$expected_file" ] || fail "settings.ini is [$(cat -A "$work/settings.ini")]"
echo "ok: settings saved byte for byte"

# Convert starts the fake encoder (it runs 3 seconds); Exit ends the program at once.
xdotool windowfocus "$window"
xdotool key alt+v
for _ in $(seq 50); do [ -s "$work/arguments.txt" ] && break; sleep 0.1; done
[ -s "$work/arguments.txt" ] || fail "the encoder did not start"
xdotool windowfocus "$window"
xdotool key alt+x
for _ in $(seq 50); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app_pid" 2>/dev/null && fail "Exit did not end the program"
[ -e "$work/out clip.mp4" ] && fail "the encoder finished too early to show that it outlives the program"
for _ in $(seq 100); do [ -e "$work/out clip.mp4" ] && break; sleep 0.1; done
[ -e "$work/out clip.mp4" ] || fail "the encoder did not outlive the program"
echo "ok: the encoder outlived the program and wrote its file"
echo "1 passed, 0 failed"
