#!/usr/bin/env bash
# Picture quality per byte of the designed targets: each one's designed command beside its Best
# quality (slower), both through the command-line tool, on three generated sources (a detailed pan,
# a fractal texture, film grain over bars). The designed single pass overshoots its rate, so Best
# quality is asked for the rate the designed file reached: the two land at about the same size.
# Prints, for each row, each file's size and the SSIM and PSNR (dB) of the picture area against the
# source scaled to the same size, and the gain in dB; then Best quality beside the same encoder's
# best-known settings at the same rate (its own options, two passes, without the rate ceiling that
# holds each second to the player's limit), and how far Best quality stands from them in dB.
# Usage: bench/quality.sh [SECONDS (default 8)] (the release build when there is one, else dev;
# ffmpeg from the search path). Not run by CI: it measures, it does not check.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-8}
cli=$PWD/build/release/cli/zarnik-video-maker-cli
[ -x "$cli" ] || cli=$PWD/build/dev/cli/zarnik-video-maker-cli
[ -x "$cli" ] || { echo "build the tool first (cmake --build --preset release)" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CACHE_HOME=$work/cache
cd "$work"

# At the designed rows' own 29.97 fps, so frames pair one to one with the source.
rate=30000/1001
declare -A sources=(
    [pan]="testsrc2=s=640x480:r=$rate:d=$seconds"
    [fractal]="sierpinski=s=640x480:r=$rate:type=carpet,trim=duration=$seconds"
    [grain]="smptehdbars=s=640x480:r=$rate:d=$seconds,noise=alls=24:allf=t"
)
for name in "${!sources[@]}"; do
    ffmpeg -v error -y -f lavfi -i "${sources[$name]}" -f lavfi -i "sine=d=$seconds" -t "$seconds" \
        -c:v ffv1 -c:a pcm_s16le "$name.mkv"
done

# "ssim psnr" of the picture area of $1 (fitted as WxH at X,Y) against source $2 scaled to WxH.
measure() {
    local out=$1 src=$2 w=$3 h=$4 x=$5 y=$6 ssim psnr
    ssim=$(ffmpeg -v info -i "$out" -i "$src" -lavfi \
        "[0:v]crop=$w:$h:$x:$y,setsar=1[a];[1:v]scale=$w:$h,setsar=1[b];[a][b]ssim" -f null - 2>&1 |
        sed -n 's/.*All:\([0-9.]*\).*/\1/p' | tail -n 1)
    psnr=$(ffmpeg -v info -i "$out" -i "$src" -lavfi \
        "[0:v]crop=$w:$h:$x:$y,setsar=1[a];[1:v]scale=$w:$h,setsar=1[b];[a][b]psnr" -f null - 2>&1 |
        sed -n 's/.*average:\([0-9.inf]*\).*/\1/p' | tail -n 1)
    echo "$ssim $psnr"
}

field() { sed -n "s/.*\"$1\": \([0-9]*\).*/\1/p"; }

printf '%-12s %-8s %10s %8s %8s %10s %8s %8s %8s %10s %8s %8s\n' target source "bytes" ssim psnr "best bytes" ssim psnr \
    "gain dB" "known bytes" psnr "best-known"
for target in gba-240x160 gba-240x176 psp-320x240 psp-368x208 vcd-352x240; do
    ext=mp4
    [ "$target" = vcd-352x240 ] && ext=mpg
    for name in pan fractal grain; do
        fit=$("$cli" -n --json -s 640x480 -t "$target" --form modern "$name.mkv")
        w=$(field newWidth <<<"$fit") h=$(field newHeight <<<"$fit")
        x=$(field padLeft <<<"$fit") y=$(field padTop <<<"$fit")
        row=()
        rate=()
        for quality in designed best; do
            out=$target-$name-$quality.$ext
            "$cli" -q --overwrite -s 640x480 -t "$target" --form modern --quality "$quality" "${rate[@]}" -o "$out" \
                "$name.mkv" || true # a file that misses a limit is still measured
            bytes=$(stat -c %s "$out" 2>/dev/null || echo 0)
            row+=("$bytes" $(measure "$out" "$name.mkv" "$w" "$h" "$x" "$y"))
            # The video rate the designed file reached, its sound's 32 kbit/s taken off.
            rate=(--video-bitrate "$(awk -v b="$bytes" -v s="$seconds" 'BEGIN { printf "%d", b * 8 / s / 1000 - 32 }')")
        done
        gain=$(awk -v a="${row[2]}" -v b="${row[5]}" 'BEGIN { printf "%+.2f", b - a }')
        known=$target-$name-known.$ext
        "$cli" -n -s 640x480 -t "$target" --form modern --quality best "${rate[@]}" -o "$known" "$name.mkv" |
            sed -E 's/ -maxrate [0-9.]+k -bufsize [0-9.]+k//' >known.sh
        sh -e known.sh >/dev/null 2>&1 || true
        read -r _ kpsnr <<<"$(measure "$known" "$name.mkv" "$w" "$h" "$x" "$y")"
        off=$(awk -v a="$kpsnr" -v b="${row[5]}" 'BEGIN { printf "%+.2f", b - a }')
        printf '%-12s %-8s %10s %8s %8s %10s %8s %8s %8s %10s %8s %8s\n' "$target" "$name" "${row[@]}" "$gain" \
            "$(stat -c %s "$known" 2>/dev/null || echo 0)" "$kpsnr" "$off"
    done
done
