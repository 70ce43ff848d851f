#!/usr/bin/env bash
# Builds the fuzz targets and runs each for a bounded time (default 30 seconds) on a copy of its
# committed seed corpus. Any crash stops the script; its input is left in build/fuzz/findings.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
zvm_ensure_packages "${ZVM_BUILD_PACKAGES[@]}" "${ZVM_CHECK_PACKAGES[@]}"
seconds=${1:-30}
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)"
mkdir -p build/fuzz/findings
# The probe's seeds: small media files, whole and broken (cut short, a run of bytes overwritten), made
# here by the installed ffmpeg rather than kept in the repository.
seeds=build/fuzz/corpus-probe
rm -rf "$seeds" && mkdir -p "$seeds"
for kind in mp4 avi mkv mpg; do
    ffmpeg -v error -y -f lavfi -i testsrc=s=32x24:d=0.2:r=25 -f lavfi -i sine=d=0.2 -shortest "$seeds/whole.$kind"
    size=$(stat -c %s "$seeds/whole.$kind")
    head -c $((size / 2)) "$seeds/whole.$kind" >"$seeds/cut.$kind"
    cp "$seeds/whole.$kind" "$seeds/damaged.$kind"
    head -c 64 /dev/zero | dd of="$seeds/damaged.$kind" bs=1 seek=$((size / 3)) conv=notrunc status=none
done
mkdir -p tests/fuzz/corpus/wire
for target in numeric settings split output wire probe; do
    seed=tests/fuzz/corpus/$target
    [ "$target" = probe ] && seed=$seeds
    corpus=$(mktemp -d)
    log=build/fuzz/fuzz_$target.log
    echo "fuzz_$target: $seconds s"
    status=0
    ./build/fuzz/tests/fuzz/fuzz_$target -max_total_time="$seconds" -max_len=16384 -print_final_stats=1 \
        -artifact_prefix=build/fuzz/findings/ "$corpus" "$seed" >"$log" 2>&1 || status=$?
    rm -rf "$corpus"
    grep -E '^(stat::number_of_executed_units|Done)' "$log" || true
    if [ "$status" -ne 0 ]; then
        tail -n 40 "$log"
        echo "fuzz_$target found a failure (exit $status)"
        exit 1
    fi
done
echo "fuzzing: 6 passed, 0 failed"
