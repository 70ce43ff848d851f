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
step="starting"
# On failure: which step it waited for, the windows there were, and a picture of the screen (kept
# beside the test's log, since the work folder is removed).
fail() {
    echo "FAIL: $* (step: $step)"
    if [ -n "${DISPLAY:-}" ]; then
        echo "windows:"
        timeout 5 xdotool search --onlyvisible --name '.' 2>/dev/null | while read -r id; do
            echo "  $id $(timeout 5 xdotool getwindowname "$id" 2>/dev/null)"
        done
        local shot="${TMPDIR:-/tmp}/realwindow-failure-$$.png"
        timeout 20 ffmpeg -v error -y -f x11grab -i "$DISPLAY" -frames:v 1 "$shot" && echo "screenshot: $shot"
    fi
    [ -f "${log:-}" ] && { echo "program's output:"; tail -n 20 "$log"; }
    exit 1
}
# Retries a check until it holds, for at most LIMIT seconds (default 30: a cold or busy machine is
# slow, and a bound keeps a hang from becoming the suite's). Usage: wait_until [-t LIMIT] CHECK...
wait_until() {
    local limit=30
    [ "$1" = "-t" ] && { limit=$2; shift 2; }
    local deadline=$((SECONDS + limit))
    while [ "$SECONDS" -lt "$deadline" ]; do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.05
    done
    return 1
}
has_focus() { [ "$(xdotool getwindowfocus)" = "$1" ]; }
# Windows whose name matches, by polling: a search can fail with an X error when a window vanishes
# while it looks, so an error is never taken for an answer.
visible_windows() { xdotool search --onlyvisible --name "$1" 2>&1; }
# The first visible window whose name matches, once it is there; nothing after 60 seconds.
find_window() {
    local deadline=$((SECONDS + 60)) found
    while [ "$SECONDS" -lt "$deadline" ]; do
        found=$(visible_windows "$1")
        [[ "$found" =~ ^[0-9]+ ]] && { echo "${found%%$'\n'*}"; return 0; }
        sleep 0.05
    done
    return 1
}
is_gone() { [ -z "$(visible_windows "$1")" ]; }
app_ended() { ! kill -0 "$app_pid"; }
has_icon() { xprop -id "$1" _NET_WM_ICON | grep -q 'Icon (64 x 64)'; }

zvm_start_xvfb

mkdir -p "$work/my tools"
cp "$fake_encoder" "$work/my tools/ffmpeg"
encoder="$work/my tools/ffmpeg"
printf '"640","480","256","32","24000","%s","%s","%s","Saved"\r\n' \
    "$work/in clip.avi" "$work/out clip.mp4" "$encoder" > "$work/settings.ini"

cd "$work"
log="$work/app.log"
step="the main window"
FAKE_ENCODER_SECONDS=3 QT_QPA_PLATFORM=xcb "$program" >"$log" 2>&1 &
app_pid=$!
window=$(find_window 'Zarnik Video Maker v0\.61')
[ -n "$window" ] || fail "the program showed no window"
focus_main() { xdotool windowfocus "$window" && wait_until has_focus "$window"; }
focus_main || fail "the window did not take the focus"
step="the window's icon"
wait_until has_icon "$window" || fail "the window has no icon"
echo "ok: the window carries the program's icon"

# Focus starts in the video box; four Tabs reach the width box, whose text is then selected.
step="typing a size and Alt+G"
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
step="copying the command"
wait_until copy_command ||
    fail "clipboard holds [$(xclip -o -selection clipboard 2>/dev/null)], expected [$expected]"
echo "ok: the generated command reached the clipboard"

# Convert starts the fake encoder (it runs 3 seconds); Exit ends the program at once.
step="Convert and Exit"
focus_main || fail "the window did not take the focus back"
xdotool key alt+v
wait_until test -s "$work/arguments.txt" || fail "the encoder did not start"
focus_main || fail "the window did not take the focus back"
xdotool key alt+x
wait_until app_ended || fail "Exit did not end the program"
[ -e "$work/out clip.mp4" ] && fail "the encoder finished too early to show that it outlives the program"
step="the encoder outliving the program"
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
log="$fresh/app.log"
step="a new user's first start"
PATH=/usr/bin:/bin QT_QPA_PLATFORM=xcb "$program" >"$log" 2>&1 &
app_pid=$!
# Answers a dialog: types the name into an open-file dialog's file-name field, if one is given, and
# presses Return. A dialog may be mapped before it takes the keyboard, and keys typed then are lost:
# it is focused first, and answered again until it closes.
answer_dialog() {
    local dialog
    dialog=$(find_window "$1")
    [ -n "$dialog" ] || return 1
    for _ in $(seq 5); do
        xdotool windowfocus "$dialog" 2>/dev/null && wait_until has_focus "$dialog" || true
        if [ -n "${2:-}" ]; then
            xdotool key ctrl+a
            xdotool type --delay 20 "$2"
        fi
        xdotool key Return
        wait_until is_gone "$1" && return 0
    done
    return 1
}
# A bare name: found only where the dialog opened.
step="the first-run picker"
answer_dialog '^Locate FFMPEG\.EXE$' ffmpeg || fail "the first-run picker was not answered"
step="the first save's message"
answer_dialog '^Save settings to settings\.ini$' || fail "the first save said nothing"
grep -q '"/usr/bin/ffmpeg","Saved"' settings.ini || fail "the first-run picker did not open in /usr/bin"
echo "ok: the first-run picker opened where ffmpeg is"
step="the new user's main window"
window=$(find_window 'Zarnik Video Maker v0\.61')
[ -n "$window" ] || fail "the program showed no window after the first-run picker"
focus_main || fail "the new window did not take the focus"
step="the video picker"
xdotool key Tab space # the video picker, next to the source box
answer_dialog '^Locate Video File$' "$fresh/first clip.mkv" || fail "the video picker was not answered"
encoder_window() { [[ "$(visible_windows '^first clip\.mp4 - ffmpeg$')" =~ ^[0-9]+ ]]; }
# Convert, once the size has been detected: until then Generate refuses the empty width, and its
# message boxes (and Convert's own) are answered before the next try.
dismiss_width_box() {
    local box
    box=$(visible_windows '^Invalid Width!$')
    [ -z "$box" ] && return 0
    [[ "$box" =~ ^[0-9]+$ ]] || return 1
    xdotool windowfocus "$box" && wait_until -t 5 has_focus "$box" && xdotool key Return
    return 1
}
start_convert() {
    wait_until -t 10 dismiss_width_box || return 1
    focus_main || return 1
    xdotool key alt+v
    wait_until -t 3 encoder_window
}
step="Convert with Debian's ffmpeg"
wait_until -t 60 start_convert || fail "Convert did not start the encoder"
target_size() {
    [ "$(ffprobe -v error -select_streams v:0 -show_entries stream=width,height -of csv=p=0 \
        "$fresh/first clip.mp4")" = "240,160" ]
}
step="the first conversion's file"
wait_until -t 120 target_size || fail "no playable 240x160 file: $(ls "$fresh")"
echo "ok: the first conversion wrote a playable file at the target size"

# A TERM (the session ends) ends the program as its queue would be quit, with 128 + 15.
step="a TERM"
kill -TERM "$app_pid"
wait_until app_ended || fail "a TERM did not end the program"
code=0
wait "$app_pid" || code=$?
app_pid=
[ "$code" -eq 143 ] || fail "a TERM ended the program with $code, not 143"
echo "ok: a TERM ended the program with 143"
echo "1 passed, 0 failed"
