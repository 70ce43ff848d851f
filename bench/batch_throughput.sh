#!/usr/bin/env bash
# A batch through the command-line tool beside the machine's own limit: generated clips converted by
# the tool (automatic -j, -j 1, and one encoder more than cores), and the very commands it prints run
# one after another and with xargs -P $(nproc); then the ratios, and 100 size readings through the
# media worker. Each figure is the median of RUNS rounds (default 3), the variants taking turns.
# Usage: bench/batch_throughput.sh [CLIPS (default 4)] (the release build when there is one, else dev;
# ffmpeg from the search path)
set -euo pipefail
cd "$(dirname "$0")/.."
clips=${1:-4}
runs=${RUNS:-3}
cli=$PWD/build/release/cli/zarnik-video-maker-cli
[ -x "$cli" ] || cli=$PWD/build/dev/cli/zarnik-video-maker-cli
[ -x "$cli" ] || { echo "build the tool first (cmake --build --preset release)" >&2; exit 2; }
cores=$(nproc)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CACHE_HOME=$work/cache
cd "$work"

# 720p H.264 with sound, 8 seconds each: a typical downloaded episode, short.
for i in $(seq 1 "$clips"); do
    ffmpeg -v error -f lavfi -i "testsrc2=s=1280x720:d=8:r=25" -f lavfi -i "sine=f=$((200 + i * 50)):d=8" \
        -c:v libx264 -preset veryfast -g 50 -c:a aac -shortest "clip$i.mp4"
done
videos=(clip*.mp4)
"$cli" --print -t psp-320x240 -o out/ "${videos[@]}" > commands.sh # also asks ffmpeg its form, once

# Each variant once per round, in turn (ABAB..., so a machine that gets busier slows all alike), each
# into an empty out/; then the median wall and processor time (user and system, with every process the
# variant started) of each, and the ratios.
echo "$clips clips (720p H.264, 8 s) to psp-320x240 on $cores cores, median of $runs rounds, $(basename "$(dirname "$(dirname "$cli")")") build:"
python3 - "$runs" "$cli" "$cores" <<'PY'
import resource, statistics, subprocess, sys, time, shutil, os
runs, cli, cores = int(sys.argv[1]), sys.argv[2], int(sys.argv[3])
videos = sorted(v for v in os.listdir(".") if v.startswith("clip") and v.endswith(".mp4"))
variants = [
    ("tool (automatic -j)", [cli, "-q", "-t", "psp-320x240", "-o", "out/", *videos]),
    ("tool -j 1", [cli, "-q", "-j", "1", "-t", "psp-320x240", "-o", "out/", *videos]),
    (f"tool -j {cores + 1}", [cli, "-q", "-j", str(cores + 1), "-t", "psp-320x240", "-o", "out/", *videos]),
    ("ffmpeg one after another", ["sh", "commands.sh"]),
    (f"ffmpeg, xargs -P {cores}", ["xargs", "-a", "commands.sh", "-d", "\\n", "-n", "1", "-P", str(cores), "sh", "-c"]),
]
def timed(command):
    shutil.rmtree("out", ignore_errors=True)
    os.mkdir("out")
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.monotonic()
    if subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode != 0:
        sys.exit(f"failed: {' '.join(command)}")
    wall = time.monotonic() - start
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    return wall, after.ru_utime + after.ru_stime - before.ru_utime - before.ru_stime
times = {name: [] for name, _ in variants}
for _ in range(runs):
    for name, command in variants:
        times[name].append(timed(command))
wall = {name: statistics.median(t[0] for t in kept) for name, kept in times.items()}
for name, kept in times.items():
    print(f"  {name:<26}{wall[name]:6.2f} s wall, {statistics.median(t[1] for t in kept):6.2f} s processor")
tool, one, xargs = wall[variants[0][0]], wall[variants[3][0]], wall[variants[4][0]]
print(f"  tool / xargs: {tool / xargs:.2f}   tool / one after another: {tool / one:.2f}")
PY

# The median wall time in seconds of RUNS runs of the command.
median() {
    local times=()
    for _ in $(seq 1 "$runs"); do
        local start end
        start=$(date +%s%N)
        "$@" > /dev/null 2>&1 || { echo "failed: $*" >&2; exit 1; }
        end=$(date +%s%N)
        times+=("$(((end - start) / 1000000))")
    done
    printf '%s\n' "${times[@]}" | sort -n | awk '{ t[NR] = $1 } END { printf "%.3f", t[int((NR + 1) / 2)] / 1000 }'
}

# Sizes read through the media worker: 100 names (links to the clips) in one --print.
for i in $(seq -w 1 100); do ln -s "clip$(((10#$i - 1) % clips + 1)).mp4" "source $i.mp4"; done
probe=$(median "$cli" --print -t psp-320x240 source\ *.mp4)
printf '  100 sizes read (--print without -s): %.2f s\n' "$probe"
