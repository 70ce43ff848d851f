#!/usr/bin/env bash
# The real program in a real window: starts its own X server, checks the window's icon, restores
# settings, types a size, generates with Alt+G, clicks into the command box and reads the clipboard,
# then converts with a fake encoder and exits while it still runs. Then a new
# user's first start and conversion with Debian's ffmpeg, as the README promises it.
# Usage: realwindow_test.sh PROGRAM FAKE_ENCODER
set -euo pipefail
source "$(dirname "$0")/../../scripts/xvfb.sh"
[ -n "${ZVM_TRACE:-}" ] && set -x
program=$(realpath "$1")
fake_encoder=$(realpath "$2")
work=$(mktemp -d)
zvm_private_user_folders "$work"
ZVM_XVFB_PID=
app_pid=
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
    [ -n "$ZVM_XVFB_PID" ] && kill "$ZVM_XVFB_PID" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }
# Retries a check for up to 10 seconds, as a test waits for a condition rather than a fixed time.
wait_until() {
    for _ in $(seq 200); do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.05
    done
    return 1
}
has_focus() { [ "$(xdotool getwindowfocus)" = "$1" ]; }
app_ended() { ! kill -0 "$app_pid"; }

zvm_start_xvfb

mkdir -p "$work/my tools"
cp "$fake_encoder" "$work/my tools/ffmpeg"
encoder="$work/my tools/ffmpeg"
printf '"640","480","256","32","24000","%s","%s","%s","Saved"\r\n' \
    "$work/in clip.avi" "$work/out clip.mp4" "$encoder" > "$work/settings.ini"

cd "$work"
FAKE_ENCODER_SECONDS=3 QT_QPA_PLATFORM=xcb "$program" >"$work/app.log" 2>&1 &
app_pid=$!
window=$(xdotool search --sync --onlyvisible --name 'Zarnik Video Maker v0\.61' | head -n 1)
focus_main() { xdotool windowfocus "$window" && wait_until has_focus "$window"; }
focus_main || fail "the window did not take the focus"
xprop -id "$window" _NET_WM_ICON | grep -q 'Icon (64 x 64)' || fail "the window has no icon"
echo "ok: the window carries the program's icon"

# Focus starts in the video box; four Tabs reach the width box, whose text is then selected.
xdotool key --delay 50 Tab Tab Tab Tab
xdotool type --delay 30 '1280'
xdotool key Tab
xdotool type --delay 30 '720'
xdotool key alt+g

# Clicking into the command box copies it. Generate runs a moment after its access key (the button
# animates its press), so enter the box from the width box again until the copy holds the command.
# Centres in the client area, which lies below the menu bar: command box (280, 424), width box (36, 154).
eval "$(xdotool getwindowgeometry --shell "$window")"
client_top=$((HEIGHT - 544))
expected="$encoder -y -i \"$work/in clip.avi\" -r 29.971 -s 240x136 -bitexact -strict 3 -me epzs -hq -vcodec mpeg4 -b 256 -acodec aac -ac 2 -ar 24000 -ab 32 -f mp4 -padtop 12 -padbottom 12 \"$work/out clip.mp4\""
copy_command() {
    xdotool mousemove --window "$window" 36 $((client_top + 154)) click 1
    xdotool mousemove --window "$window" 280 $((client_top + 424)) click 1
    [ "$(xclip -o -selection clipboard)" = "$expected" ]
}
wait_until copy_command ||
    fail "clipboard holds [$(xclip -o -selection clipboard 2>/dev/null)], expected [$expected]"
echo "ok: the generated command reached the clipboard"

# Convert starts the fake encoder (it runs 3 seconds); Exit ends the program at once.
focus_main || fail "the window did not take the focus back"
xdotool key alt+v
wait_until test -s "$work/arguments.txt" || fail "the encoder did not start"
focus_main || fail "the window did not take the focus back"
xdotool key alt+x
wait_until app_ended || fail "Exit did not end the program"
[ -e "$work/out clip.mp4" ] && fail "the encoder finished too early to show that it outlives the program"
wait_until test -e "$work/out clip.mp4" || fail "the encoder did not outlive the program"
echo "ok: the encoder outlived the program and wrote its file"

# A new user's first conversion with Debian's ffmpeg: the first-run picker opens where ffmpeg is on
# the search path, picking a video detects its size and names the output, and Convert writes a file
# at the target size in the command form that this ffmpeg accepts.
fresh="$work/fresh"
mkdir -p "$fresh"
ffmpeg -v error -f lavfi -i testsrc=s=640x480:d=1:r=25 -f lavfi -i sine=d=1 -c:v mpeg4 -c:a aac \
    -shortest "$fresh/first clip.mkv"
cd "$fresh"
PATH=/usr/bin:/bin QT_QPA_PLATFORM=xcb "$program" >"$fresh/app.log" 2>&1 &
app_pid=$!
# Answers an open-file dialog by typing a name into its file-name field.
answer_dialog() {
    xdotool search --sync --onlyvisible --name "$1" >/dev/null
    xdotool key ctrl+a
    xdotool type --delay 20 "$2"
    xdotool key Return
}
answer_dialog '^Locate FFMPEG\.EXE$' ffmpeg # a bare name: found only where the dialog opened
xdotool search --sync --onlyvisible --name '^Save settings to settings\.ini$' >/dev/null
xdotool key Return
grep -q '"/usr/bin/ffmpeg","Saved"' settings.ini || fail "the first-run picker did not open in /usr/bin"
echo "ok: the first-run picker opened where ffmpeg is"
window=$(xdotool search --sync --onlyvisible --name 'Zarnik Video Maker v0\.61' | head -n 1)
focus_main || fail "the new window did not take the focus"
xdotool key Tab space # the video picker, next to the source box
answer_dialog '^Locate Video File$' "$fresh/first clip.mkv"
encoder_window() { xdotool search --onlyvisible --name '^first clip\.mp4 - ffmpeg$'; }
# Convert, once the size has been detected: until then Generate refuses the empty width.
start_convert() {
    focus_main
    xdotool key alt+v
    for _ in $(seq 40); do
        encoder_window >/dev/null 2>&1 && return 0
        if xdotool search --onlyvisible --name '^Invalid Width!$' >/dev/null 2>&1; then
            xdotool key Return
            sleep 0.2
            return 1
        fi
        sleep 0.05
    done
    return 1
}
wait_until start_convert || fail "Convert did not start the encoder"
target_size() {
    [ "$(ffprobe -v error -select_streams v:0 -show_entries stream=width,height -of csv=p=0 \
        "$fresh/first clip.mp4")" = "240,160" ]
}
for _ in $(seq 6); do wait_until target_size && break; done
target_size || fail "no playable 240x160 file: $(ls "$fresh")"
echo "ok: the first conversion wrote a playable file at the target size"
echo "1 passed, 0 failed"
