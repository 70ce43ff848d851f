#!/usr/bin/env bash
# Installs what is missing, builds the release preset and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
zvm_ensure_packages "${ZVM_BUILD_PACKAGES[@]}"
cmake --preset release
cmake --build --preset release -j "$(nproc)" --target zarnik-video-maker
exec ./build/release/app/zarnik-video-maker
