#!/usr/bin/env bash
# A batch through the command-line tool beside the machine's own limit: generated clips converted by
# the tool (automatic -j, -j 1, and one encoder more than cores), and the very commands it prints run
# one after another and with xargs -P $(nproc); then the ratios, and 100 size readings through the
# media worker. Each figure is the median of RUNS runs (default 3).
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

# The median wall time in seconds of RUNS runs of the command, each into an empty out/.
median() {
    local times=()
    for _ in $(seq 1 "$runs"); do
        rm -rf out && mkdir out
        local start end
        start=$(date +%s%N)
        "$@" > /dev/null 2>&1 || { echo "failed: $*" >&2; exit 1; }
        end=$(date +%s%N)
        times+=("$(((end - start) / 1000000))")
    done
    printf '%s\n' "${times[@]}" | sort -n | awk '{ t[NR] = $1 } END { printf "%.3f", t[int((NR + 1) / 2)] / 1000 }'
}

echo "$clips clips (720p H.264, 8 s) to psp-320x240 on $cores cores, median of $runs runs, $(basename "$(dirname "$(dirname "$cli")")") build:"
tool=$(median "$cli" -q -t psp-320x240 -o out/ "${videos[@]}")
printf '  tool (automatic -j):      %6.2f s\n' "$tool"
tool_one=$(median "$cli" -q -j 1 -t psp-320x240 -o out/ "${videos[@]}")
printf '  tool -j 1:                %6.2f s\n' "$tool_one"
tool_more=$(median "$cli" -q -j "$((cores + 1))" -t psp-320x240 -o out/ "${videos[@]}")
printf '  tool -j %-3d               %6.2f s\n' "$((cores + 1))" "$tool_more"
sequential=$(median sh commands.sh)
printf '  ffmpeg one after another: %6.2f s\n' "$sequential"
parallel=$(median xargs -a commands.sh -d '\n' -n 1 -P "$cores" sh -c)
printf '  ffmpeg, xargs -P %-3d      %6.2f s\n' "$cores" "$parallel"
awk -v t="$tool" -v x="$parallel" -v s="$sequential" \
    'BEGIN { printf "  tool / xargs: %.2f   tool / one after another: %.2f\n", t / x, t / s }'

# Sizes read through the media worker: 100 names (links to the clips) in one --print.
for i in $(seq -w 1 100); do ln -s "clip$(((10#$i - 1) % clips + 1)).mp4" "source $i.mp4"; done
probe=$(median "$cli" --print -t psp-320x240 source\ *.mp4)
printf '  100 sizes read (--print without -s): %.2f s\n' "$probe"
