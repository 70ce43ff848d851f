#!/usr/bin/env bash
# Builds the Debian package, validates the installed desktop entry and AppStream file, checks that
# the package holds every file at its standard path, and starts the program from the unpacked
# package under a virtual X server. Nothing is installed system-wide.
set -euo pipefail
source "$(dirname "$0")/xvfb.sh"
cd "$(dirname "$0")/.."
source scripts/deps.sh
zvm_ensure_packages "${ZVM_BUILD_PACKAGES[@]}" "${ZVM_TEST_PACKAGES[@]}" "${ZVM_CHECK_PACKAGES[@]}"
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)" --target zarnik-video-maker zarnik-video-maker-cli
work=$(mktemp -d)
zvm_private_user_folders "$work"
ZVM_XVFB_PID=
app_pid=
trap '[ -n "$app_pid" ] && kill -KILL $app_pid 2>/dev/null; [ -n "$ZVM_XVFB_PID" ] && kill $ZVM_XVFB_PID; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

(cd build/release && cpack -G DEB -B "$work/package" >/dev/null)
deb=$(ls "$work"/package/zarnik-video-maker_*.deb)
app_id=io.github.zarnik_video_maker.ZarnikVideoMaker
expected=(
    ./usr/bin/zarnik-video-maker
    "./usr/share/applications/$app_id.desktop"
    "./usr/share/metainfo/$app_id.metainfo.xml"
    ./usr/share/icons/hicolor/64x64/apps/zarnik-video-maker.png
    ./usr/share/icons/hicolor/scalable/apps/zarnik-video-maker.svg
    ./usr/share/man/man1/zarnik-video-maker.1
    ./usr/bin/zarnik-video-maker-cli
    ./usr/libexec/zarnik-video-maker/zarnik-video-maker-worker
    ./usr/share/man/man1/zarnik-video-maker-cli.1
    ./usr/share/zarnik-video-maker/manual/en/index.html
    ./usr/share/zarnik-video-maker/manual/de/index.html
    ./usr/share/zarnik-video-maker/manual/es/index.html
    ./usr/share/zarnik-video-maker/manual/screenshot.png
)
contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for path in "${expected[@]}"; do
    grep -qx -- "$path" <<<"$contents" || fail "the package lacks $path"
done
fields=$(dpkg-deb -f "$deb" Depends Recommends Homepage Maintainer)
grep -q 'libqt6widgets6' <<<"$fields" || fail "no Qt dependency in: $fields"
grep -q 'libqt6sql6-sqlite' <<<"$fields" || fail "no dependency on Qt's SQLite driver (the queue's store) in: $fields"
grep -q 'libavformat59' <<<"$fields" || fail "no dependency on FFmpeg's libraries (the media worker's) in: $fields"
grep -q '^Recommends: ffmpeg' <<<"$fields" || fail "ffmpeg is not recommended"
grep -q '^Homepage: https://' <<<"$fields" || fail "no homepage"
echo "ok: the package holds all ${#expected[@]} files; $(grep Depends <<<"$fields")"

dpkg-deb -x "$deb" "$work/root"
desktop=$work/root/usr/share/applications/$app_id.desktop
desktop-file-validate "$desktop"
grep -q '^Exec=zarnik-video-maker --user-settings %F$' "$desktop" || fail "the desktop entry takes no files"
grep -q '^MimeType=video/mp4;.*video/x-matroska;' "$desktop" || fail "the desktop entry names no video types"
appstreamcli validate --no-net --pedantic "$work/root/usr/share/metainfo/$app_id.metainfo.xml"
for page in zarnik-video-maker zarnik-video-maker-cli; do
    man -l "$work/root/usr/share/man/man1/$page.1" >/dev/null 2>&1 || fail "the man page $page does not render"
done
echo "ok: desktop entry, metainfo and man page are valid"
# The manual's pages are whole, and every picture they show is in the package.
for page in "$work"/root/usr/share/zarnik-video-maker/manual/*/index.html; do
    grep -q '</html>' "$page" || fail "the manual page $page is cut short"
    for picture in $(grep -o 'src="[^"]*"' "$page" | sed 's/^src="//; s/"$//'); do
        [ -f "$(dirname "$page")/$picture" ] || fail "the manual page $page shows a missing $picture"
    done
done
grep -q 'Help > Manual' "$work/root/usr/share/man/man1/zarnik-video-maker.1" || fail "the man page does not name the manual"
# The program finds its manual from its own folder: that path, as compiled in (a UTF-16 literal),
# leads to the pages.
from_program=$(strings -a -e l "$work/root/usr/bin/zarnik-video-maker" | grep -o '^\.\./.*/manual$' | head -n 1 || true)
[ -f "$work/root/usr/bin/$from_program/en/index.html" ] ||
    fail "the program looks for its manual in usr/bin/$from_program, where the package has none"
echo "ok: the manual is in the package in $(ls "$work/root/usr/share/zarnik-video-maker/manual" | grep -c '^[a-z][a-z]$') languages"

# The unpacked program starts and shows its window.
zvm_start_xvfb
printf '"640","480","256","32","24000","","","ffmpeg","Saved"\r\n' > "$work/settings.ini"
(cd "$work" && exec "$work/root/usr/bin/zarnik-video-maker" 2>/dev/null) &
app_pid=$!
timeout 20 xdotool search --sync --onlyvisible --name 'Zarnik Video Maker v0\.61' >/dev/null ||
    fail "the unpacked program showed no window"
echo "ok: the program from the package shows its window"
env -u DISPLAY "$work/root/usr/bin/zarnik-video-maker-cli" --print -s 640x480 --form modern clip.avi | grep -q 'scale=214:160' ||
    fail "the command-line tool from the package does not print the command"
echo "ok: the command-line tool from the package runs without a display"
