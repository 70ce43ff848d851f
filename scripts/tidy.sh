#!/usr/bin/env bash
# Runs clang-tidy with the project's .clang-tidy over the program's own sources (dev build's
# compile commands); fails on any finding.
set -euo pipefail
cd "$(dirname "$0")/.."
# No failure is dropped by a cast: a Status or Result is handled, passed on, or dropped with
# .ignore(). An explicit (void) is kept only for what is neither (a forked child's write, an unused
# parameter) and says so on its line with "not a Status".
if dropped=$(git grep -nE '\(void\)|static_cast<void>' -- '*.cpp' '*.h' | grep -v 'not a Status'); then
    echo "tidy: an explicit (void) may drop a Status or Result; handle it, use .ignore(), or mark what is not one:" >&2
    echo "$dropped" >&2
    exit 1
fi
source scripts/deps.sh
zvm_ensure_packages "${ZVM_BUILD_PACKAGES[@]}" "${ZVM_CHECK_PACKAGES[@]}"
cmake --preset dev >/dev/null
cmake --build --preset dev -j "$(nproc)" >/dev/null # generated moc and resource files
files=$(git ls-files 'core/*.cpp' 'files/*.cpp' 'settings/*.cpp' 'process/*.cpp' 'media/*.cpp' 'queue/*.cpp' 'cli/*.cpp' 'ui/*.cpp' 'app/*.cpp')
printf '%s\n' $files | xargs -P "$(nproc)" -n 4 clang-tidy -p build/dev --quiet 2>/dev/null
echo "clang-tidy: $(wc -w <<<"$files") files clean"
