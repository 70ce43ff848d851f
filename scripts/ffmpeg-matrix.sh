#!/usr/bin/env bash
# Runs the real-encoder tests once for each other ffmpeg version we can get besides Debian's: builds
# that ship inside packages of the npm registry, fetched once into a cache folder. ffprobe stays
# Debian's unless a build brings its own (the program looks beside the encoder first).
#   bash scripts/ffmpeg-matrix.sh [PRESET]           (default: dev; the build must exist)
#   ZVM_MATRIX_ENCODERS=/a/ffmpeg:/b/ffmpeg ...      tests these instead of fetching
#   ZVM_MATRIX_REQUIRED=1 ...                        fails instead of skipping when nothing can be fetched
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-dev}"
test_binary="build/$preset/tests/realencoder/tst_realencoder"
cache="${ZVM_MATRIX_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/zarnik-video-maker/ffmpeg-matrix}"
# Pinned, so every run tests the same builds: a static 4.1-era ffmpeg (MPEG-4, libx264, AAC, MPEG-1,
# MP2; no ffprobe), and ffmpeg with ffprobe 7.1 and their shared libraries (libx264 and AAC only).
packages=(@ffmpeg-installer/linux-x64@4.1.0 @remotion/compositor-linux-x64-gnu@4.0.529)

# Unpacks one package into the cache unless it is there already; quiet about what npm says.
fetch() {
    local package=$1 folder
    folder="$cache/$(echo "$package" | tr -c 'A-Za-z0-9.\n' '_')"
    if [ ! -d "$folder/package" ]; then
        command -v npm >/dev/null || return 1
        local scratch
        scratch=$(mktemp -d "$cache/fetch.XXXXXX")
        if ! (cd "$scratch" && timeout 300 npm pack --silent "$package" >/dev/null 2>&1); then
            rm -rf "$scratch"
            return 1
        fi
        tar xzf "$scratch"/*.tgz -C "$scratch" && mv "$scratch/package" "$folder.tmp" && mkdir -p "$folder" &&
            mv "$folder.tmp" "$folder/package"
        rm -rf "$scratch" "$folder.tmp"
    fi
    [ -x "$folder/package/ffmpeg" ] && echo "$folder/package/ffmpeg"
}

encoders=()
if [ -n "${ZVM_MATRIX_ENCODERS:-}" ]; then
    IFS=: read -r -a encoders <<<"$ZVM_MATRIX_ENCODERS"
else
    mkdir -p "$cache"
    for package in "${packages[@]}"; do
        if found=$(fetch "$package"); then
            encoders+=("$found")
        else
            echo "ffmpeg matrix: $package could not be fetched from the npm registry"
        fi
    done
fi
if [ ${#encoders[@]} -eq 0 ]; then
    echo "ffmpeg matrix: skipped, no other ffmpeg could be had"
    [ "${ZVM_MATRIX_REQUIRED:-0}" = 1 ] && exit 1
    exit 0
fi
[ -x "$test_binary" ] || { echo "ffmpeg matrix: build the $preset preset first ($test_binary is missing)"; exit 1; }

failed=0
for encoder in "${encoders[@]}"; do
    version=$("$encoder" -version 2>/dev/null | head -n 1 || true)
    echo "ffmpeg matrix: ${version:-$encoder (no version)}"
    if ZVM_TEST_ENCODER="$encoder" QT_QPA_PLATFORM=offscreen timeout 900 "$test_binary" -silent; then
        echo "ffmpeg matrix: passed with $encoder"
    else
        echo "ffmpeg matrix: FAILED with $encoder"
        failed=1
    fi
done
exit "$failed"
