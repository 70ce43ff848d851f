#!/usr/bin/env bash
# Installs what is missing, builds with the given CMake preset (default: dev) and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
zvm_ensure_packages "${ZVM_BUILD_PACKAGES[@]}" "${ZVM_TEST_PACKAGES[@]}"
preset="${1:-dev}"
cmake --preset "$preset"
cmake --build --preset "$preset" -j "$(nproc)"
ctest --preset "$preset" -j "$(nproc)"
