#!/usr/bin/env bash
# Cold start to a visible window, and resident memory once shown: the program beside a bare Qt
# window, alternating runs under one virtual X server.
# Usage: bench/startup.sh [RUNS] [BUILD_FOLDER] (default: the release preset's, built first)
set -euo pipefail
source "$(dirname "$0")/../scripts/xvfb.sh"
cd "$(dirname "$0")/.."
runs=${1:-9}
build=$(realpath "${2:-build/release}")
[ -n "${2:-}" ] || cmake --preset release >/dev/null
cmake --build "$build" -j "$(nproc)" --target zarnik-video-maker bare_window >/dev/null
work=$(mktemp -d)
zvm_private_user_folders "$work"
printf '"640","480","256","32","24000","a.avi","a.mp4","/usr/bin/ffmpeg","Saved"\r\n' > "$work/settings.ini"
zvm_start_xvfb
trap 'kill $ZVM_XVFB_PID 2>/dev/null; cat "$work/stderr.txt" | grep -v XDG_RUNTIME >&2; rm -rf "$work"' EXIT

# Prints "milliseconds-to-window resident-kB" for one start of PROGRAM.
measure() {
    local program=$1 start end pid rss
    start=$(date +%s%N)
    (cd "$work" && exec "$program" 2>>"$work/stderr.txt") &
    pid=$!
    until xdotool search --onlyvisible --pid "$pid" >/dev/null 2>&1; do
        kill -0 "$pid" 2>/dev/null || { echo "$program ended before showing a window" >&2; exit 1; }
        sleep 0.005
    done
    end=$(date +%s%N)
    sleep 0.3
    rss=$(awk '/VmRSS/ {print $2}' "/proc/$pid/status")
    kill -KILL "$pid"
    wait "$pid" 2>/dev/null || true
    echo "$(( (end - start) / 1000000 )) $rss"
}
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

: > "$work/app.txt"; : > "$work/bare.txt"
for _ in $(seq "$runs"); do
    measure "$build/app/zarnik-video-maker" >> "$work/app.txt"
    measure "$build/bench/bare_window" >> "$work/bare.txt"
done
for name in app bare; do
    printf '%-5s start %s ms (median of %s), resident %s kB\n' "$name" \
        "$(cut -d' ' -f1 "$work/$name.txt" | median)" "$runs" "$(cut -d' ' -f2 "$work/$name.txt" | median)"
done
