#!/usr/bin/env bash
# A cut conversion by the tool (--start/--end, with its after-check) against the same ffmpeg command
# run by hand, taken from the tool's --print. Runs alternate, so a busy machine slows both alike; the
# figure is the ratio of the medians of the wall-clock times, and must stay at or below 1.10. The
# processor time (user and system, with all the processes each started) is shown beside it: on a
# loaded machine it says whether a difference is work or waiting.
# Usage: bench/cut_ratio.sh [RUNS] [BUILD_FOLDER] (default 7 runs, and the release preset's folder,
# built first; ZVM_BUILD names the folder too)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-7}
given=${2:-${ZVM_BUILD:-}}
build=$(realpath "${given:-build/release}")
[ -n "$given" ] || cmake --preset release >/dev/null
cmake --build "$build" -j "$(nproc)" --target zarnik-video-maker-cli >/dev/null
cli=$build/cli/zarnik-video-maker-cli
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CACHE_HOME=$work/cache
cd "$work"
# Two minutes with sound and keyframes 10 s apart: the cut's start falls between two of them.
ffmpeg -v error -y -f lavfi -i testsrc=s=640x480:d=120:r=25 -f lavfi -i sine=d=120 \
    -c:v mpeg4 -q:v 4 -g 250 -c:a aac -shortest source.mkv
cut=(--start 0:35.5 --end 1:45.25 --form modern -t psp-368x208)
line=$("$cli" --print -s 640x480 "${cut[@]}" -o hand.mp4 source.mkv)
echo "by hand: $line"
python3 - "$runs" "$cli" "$line" "${cut[@]}" <<'PY'
import resource, statistics, subprocess, sys, time
runs, cli, line, cut = int(sys.argv[1]), sys.argv[2], sys.argv[3], sys.argv[4:]
tool = [cli, "-q", "--overwrite", "-s", "640x480", *cut, "-o", "tool.mp4", "source.mkv"]
def timed(command, shell=False):
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.monotonic()
    subprocess.run(command, shell=shell, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    wall = time.monotonic() - start
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    return wall, after.ru_utime + after.ru_stime - before.ru_utime - before.ru_stime
timed(line, shell=True)  # warm the caches
hand, ours = [], []
for _ in range(runs):
    hand.append(timed(line, shell=True))
    ours.append(timed(tool))
def median(times, which):
    return statistics.median(t[which] for t in times)
h, t = median(hand, 0), median(ours, 0)
hc, tc = median(hand, 1), median(ours, 1)
print(f"wall: by hand {h:.2f} s, the tool {t:.2f} s (median of {runs}); ratio {t / h:.3f}")
print(f"processor: by hand {hc:.2f} s, the tool {tc:.2f} s; ratio {tc / hc:.3f}")
sys.exit(0 if t / h <= 1.10 else 1)
PY
