#!/usr/bin/env bash
# Runs clang-tidy with the project's .clang-tidy over the program's own sources (dev build's
# compile commands); fails on any finding.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
zvm_ensure_packages "${ZVM_BUILD_PACKAGES[@]}" "${ZVM_CHECK_PACKAGES[@]}"
cmake --preset dev >/dev/null
cmake --build --preset dev -j "$(nproc)" >/dev/null # generated moc and resource files
files=$(git ls-files 'core/*.cpp' 'files/*.cpp' 'settings/*.cpp' 'process/*.cpp' 'media/*.cpp' 'queue/*.cpp' 'cli/*.cpp' 'ui/*.cpp' 'app/*.cpp')
printf '%s\n' $files | xargs -P "$(nproc)" -n 4 clang-tidy -p build/dev --quiet 2>/dev/null
echo "clang-tidy: $(wc -w <<<"$files") files clean"
