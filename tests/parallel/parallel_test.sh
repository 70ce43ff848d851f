#!/usr/bin/env bash
# The README's recipe for a whole library over several machines with GNU parallel, run on this
# machine: two "hosts" are folders reached through a stand-in for ssh, so the sources must be
# transferred, the outputs and JSON records returned, and both cleaned up on the hosts. Two short
# clips made with the real ffmpeg convert; a broken file fails, and parallel hears of it through
# the tool's exit status. Usage: parallel_test.sh CLI
set -euo pipefail
cli_dir=$(dirname "$(realpath "$1")")
standin=$(realpath "$(dirname "$0")/ssh_standin.sh")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*"
    [ -f "$work/jobs.log" ] && cat "$work/jobs.log"
    exit 1
}
export PATH="$cli_dir:$PATH" ZVM_REMOTE_HOMES="$work/hosts" XDG_CACHE_HOME=
mkdir -p "$work/library" "$work/hosts"
cd "$work"
for name in "first clip" second; do
    ffmpeg -v error -f lavfi -i testsrc2=s=320x240:d=1 -f lavfi -i sine=d=1 -shortest -c:v mpeg4 -c:a aac \
        "library/$name.mkv" || fail "ffmpeg could not make a clip"
done
echo "not a video" > library/broken.mkv

# As in the README, with the stand-in for ssh and two hosts of one job slot each.
export RSYNC_OLD_ARGS=1
status=0
parallel --ssh "$standin" --sshlogin 1/hostA,1/hostB --transferfile {} --return {.}.psp.mp4 --return {.}.json \
    --cleanup --joblog jobs.log \
    'zarnik-video-maker-cli -q -t psp-368x208 -o {.}.psp.mp4 {} && zarnik-video-maker-cli --json -t psp-368x208 -o {.}.psp.mp4 {} > {.}.json' \
    ::: library/*.mkv > parallel.out 2>&1 || status=$?

[ "$status" -eq 1 ] || { cat parallel.out; fail "parallel's status is $status, not 1 (one video failed)"; }
# The job log: the broken file failed with the tool's status 1, the clips converted, on both hosts.
exit_of() { awk -F'\t' -v file="$1" 'NR > 1 && index($9, file) { print $7 }' jobs.log; }
[ "$(exit_of broken.mkv)" = 1 ] || fail "the broken file did not fail with status 1"
[ "$(exit_of "first clip")" = 0 ] || fail "the clip with a blank in its name did not convert"
[ "$(exit_of second.mkv)" = 0 ] || fail "the second clip did not convert"
[ "$(awk -F'\t' 'NR > 1 { print $2 }' jobs.log | sort -u | tr '\n' ' ')" = "hostA hostB " ] ||
    fail "the jobs did not spread over both hosts"
# Returned: each output at the target's size, and each run's JSON record beside it.
for name in "first clip" second; do
    size=$(ffprobe -v error -select_streams v:0 -show_entries stream=width,height -of csv=p=0 \
        "library/$name.psp.mp4" 2>/dev/null) || fail "library/$name.psp.mp4 was not returned"
    [ "$size" = "368,208" ] || fail "library/$name.psp.mp4 is $size"
    python3 -c 'import json, sys; r = [json.loads(l) for l in open(sys.argv[1])]; sys.exit(len(r) != 1 or r[0]["newWidth"] != 278)' \
        "library/$name.json" || fail "library/$name.json is not the run's record"
done
[ -f "library/first clip.mkv" ] || fail "a source was moved away"
# Cleaned up: nothing transferred or made is left on the hosts (the tool's own cache may stay).
left=$(find hosts -type f -not -path '*/.cache/*')
[ -z "$left" ] || fail "left on the hosts: $left"
echo "PASS"
