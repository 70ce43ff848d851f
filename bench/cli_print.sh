#!/usr/bin/env bash
# The command-line tool's --print with the size given: the whole process beside /bin/true, and the
# cost of each further file in a 100-file run.
# Usage: bench/cli_print.sh [BUILD_FOLDER] (default: the release preset's, built first; hyperfine)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
zvm_ensure_packages hyperfine
build=$(realpath "${1:-build/release}")
[ -n "${1:-}" ] || cmake --preset release >/dev/null
cmake --build "$build" -j "$(nproc)" --target zarnik-video-maker-cli >/dev/null
cli=$build/cli/zarnik-video-maker-cli
export XDG_CACHE_HOME=$(mktemp -d)
trap 'rm -rf "$XDG_CACHE_HOME"' EXIT
"$cli" --print -s 1280x720 /videos/clip.avi >/dev/null # asks ffmpeg for its form once; later runs remember
files=$(for i in $(seq -w 1 100); do printf '"/videos/episode %s.mkv" ' "$i"; done)
hyperfine -N --warmup 20 --runs 300 --export-json "$XDG_CACHE_HOME/runs.json" \
    "/bin/true" "$cli --print -s 1280x720 /videos/clip.avi" "$cli --print -s 1280x720 $files" >/dev/null
python3 - "$XDG_CACHE_HOME/runs.json" <<'PY'
import json, sys
runs = [r["median"] * 1000 for r in json.load(open(sys.argv[1]))["results"]]
print(f"/bin/true: {runs[0]:.2f} ms; --print one file: {runs[1]:.2f} ms; 100 files: {runs[2]:.2f} ms")
print(f"per further file: {(runs[2] - runs[1]) / 99 * 1000:.1f} us")
PY
