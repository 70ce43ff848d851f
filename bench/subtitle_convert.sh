#!/usr/bin/env bash
# A conversion with burned-in subtitles through the tool against the same ffmpeg command run by hand
# (the line --print gives, in sh): the tool's part (finding the subtitles, reading the size, following
# the encoder, the after-check) must cost under 10%. Runs alternate; the fastest of each are compared,
# as other load only ever adds time, and the medians and CPU seconds (ours and all we waited for) shown.
# Usage: bench/subtitle_convert.sh [BUILD_DIR] (default build/release) [RUNS] (default 7)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
runs=${2:-7}
cmake --build "$build" -j2 --target zarnik-video-maker-cli zarnik-video-maker-worker >/dev/null
cli=$PWD/$build/cli/zarnik-video-maker-cli
export ZVM_MEDIA_WORKER=$PWD/$build/app/zarnik-video-maker-worker
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CACHE_HOME=$work/cache
cd "$work"
ffmpeg -v error -f lavfi -i testsrc2=s=1280x720:d=40:r=25 -f lavfi -i sine=d=40 -c:v mpeg4 -q:v 3 \
    -c:a aac "clip one.mkv"
for i in $(seq 0 39); do # a line every second, each shown for most of it
    printf '%d\n00:00:%02d,000 --> 00:00:%02d,800\nLine %d, with: [brackets]\n\n' $((i + 1)) "$i" "$i" "$i"
done >"clip one.srt"
"$cli" --print --subtitles auto -o by-hand.mp4 "clip one.mkv" >by-hand.sh
python3 - "$cli" "$runs" <<'PY'
import resource, statistics, subprocess, sys, time
cli, runs = sys.argv[1], int(sys.argv[2])
tool = [cli, "-q", "--overwrite", "--subtitles", "auto", "-o", "by-tool.mp4", "clip one.mkv"]
hand = ["sh", "by-hand.sh"]
wall = {"tool": [], "hand": []}
cpu = {"tool": [], "hand": []}
def used():
    r = resource.getrusage(resource.RUSAGE_CHILDREN)
    return r.ru_utime + r.ru_stime
for _ in range(runs):
    for name, argv in (("tool", tool), ("hand", hand)):
        start, before = time.perf_counter(), used()
        subprocess.run(argv, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        wall[name].append(time.perf_counter() - start)
        cpu[name].append(used() - before)
t, h = min(wall["tool"]), min(wall["hand"])
print(f"40 s of 1280x720 with subtitles to GBA, {runs} runs each: fastest tool {t:.2f} s, by hand {h:.2f} s: "
      f"tool {100 * (t / h - 1):+.1f}%")
print(f"medians: tool {statistics.median(wall['tool']):.2f} s, by hand {statistics.median(wall['hand']):.2f} s; "
      f"CPU: tool {statistics.median(cpu['tool']):.2f} s, by hand {statistics.median(cpu['hand']):.2f} s")
sys.exit(0 if t <= 1.10 * h else 1)
PY
