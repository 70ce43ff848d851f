#!/usr/bin/env bash
# From the main window's disappearance after Exit (Alt+X) to the end of the process, in
# milliseconds, for RUNS starts under one virtual X server; prints each run, then the median.
# BEFORE_EXIT holds keys pressed first (for instance "ctrl+p" for the preview, "alt+g" to Generate,
# "alt+v" to Convert with the fake encoder running for FAKE_ENCODER_SECONDS).
# With CLIPBOARD_MANAGER=1 a clipboard manager runs beside it, as on a desktop (bench/clipboard_manager.c);
# "ctrl+c" then copies the selected source path, which the program hands to the manager as it ends;
# CLIPBOARD_MANAGER=MS makes the manager take MS milliseconds to answer, as a busy desktop's may.
# Usage: [BEFORE_EXIT=KEYS] [CLIPBOARD_MANAGER=1] bench/exit_time.sh [RUNS] [PROGRAM]
# (default: the dev build's program)
set -euo pipefail
source "$(dirname "$0")/../scripts/xvfb.sh"
cd "$(dirname "$0")/.."
runs=${1:-9}
program=$(realpath "${2:-build/dev/app/zarnik-video-maker}")
work=$(mktemp -d)
zvm_private_user_folders "$work"
cp build/dev/tests/tools/fake_encoder "$work/encoder"
ffmpeg -v error -f lavfi -i testsrc2=s=320x240:d=2 -pix_fmt yuv420p "$work/in.mp4"
settings() {
    printf '"320","240","256","32","24000","%s","%s","%s","Saved"\r\n' "$work/in.mp4" "$work/out.mp4" \
        "$1" > "$work/settings.ini"
}
zvm_start_xvfb
manager_pid=
trap 'kill $manager_pid $ZVM_XVFB_PID 2>/dev/null; rm -rf "$work"' EXIT
if [ -n "${CLIPBOARD_MANAGER:-}" ]; then
    cc -O2 -o "$work/clipboard_manager" bench/clipboard_manager.c -lX11
    "$work/clipboard_manager" "$CLIPBOARD_MANAGER" > "$work/manager.txt" &
    manager_pid=$!
    for _ in $(seq 100); do grep -q ready "$work/manager.txt" && break; sleep 0.1; done
fi

now_ms() { echo $(( $(date +%s%N) / 1000000 )); }
: > "$work/times.txt"
for _ in $(seq "$runs"); do
    rm -f "$work/out.mp4"
    case "${BEFORE_EXIT:-}" in *alt+v*) settings "$work/encoder" ;; *) settings /usr/bin/ffmpeg ;; esac
    (cd "$work" && exec "$program" 2>/dev/null) &
    pid=$!
    window=
    for _ in $(seq 600); do # 30 seconds
        window=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -n 1) && [ -n "$window" ] && break
        sleep 0.05
    done
    [ -n "$window" ] || { echo "the window did not appear" >&2; exit 1; }
    sleep 0.5 # settled, so that what the start leaves behind is part of the measure
    for key in ${BEFORE_EXIT:-}; do
        xdotool windowfocus --sync "$window" key "$key"
        sleep 0.5
    done
    xdotool windowfocus --sync "$window" key alt+x
    for _ in $(seq 2000); do
        xdotool search --onlyvisible --pid "$pid" >/dev/null 2>&1 || break
        sleep 0.002
    done
    gone=$(now_ms)
    while kill -0 "$pid" 2>/dev/null && [ "$(awk '{print $3}' "/proc/$pid/stat" 2>/dev/null)" != Z ]; do
        sleep 0.002
    done
    ended=$(now_ms)
    wait "$pid" 2>/dev/null || true
    echo $((ended - gone)) | tee -a "$work/times.txt"
done
echo "median ms from the window's end to the process's end: $(sort -n "$work/times.txt" | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}')"
