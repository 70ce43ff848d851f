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
for target in numeric settings split output; do
    corpus=$(mktemp -d)
    log=build/fuzz/fuzz_$target.log
    echo "fuzz_$target: $seconds s"
    status=0
    ./build/fuzz/tests/fuzz/fuzz_$target -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 \
        -artifact_prefix=build/fuzz/findings/ "$corpus" "tests/fuzz/corpus/$target" >"$log" 2>&1 || status=$?
    rm -rf "$corpus"
    grep -E '^(stat::number_of_executed_units|Done)' "$log" || true
    if [ "$status" -ne 0 ]; then
        tail -n 40 "$log"
        echo "fuzz_$target found a failure (exit $status)"
        exit 1
    fi
done
echo "fuzzing: 4 passed, 0 failed"
