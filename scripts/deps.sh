# Sourced by the other scripts: the one list of Debian packages the project needs.
# Building: compiler, CMake, Qt 6 Widgets, Qt's translation tools, Google Benchmark, and cmark, the
# small CommonMark converter that makes the manual's Markdown into its HTML pages and man sections;
# FFmpeg's libraries and pkg-config for the media worker, which reads sizes, checks and preview frames.
ZVM_BUILD_PACKAGES=(g++ cmake make pkg-config qt6-base-dev libqt6sql6-sqlite qt6-tools-dev qt6-l10n-tools libgl-dev libbenchmark-dev cmark
    libavformat-dev libavcodec-dev libavfilter-dev libswscale-dev libavutil-dev)
# Testing the real program: a virtual X server, keyboard/mouse driving, clipboard reading, the
# real encoder for the end-to-end conversions, and GNU parallel with rsync for the README's recipe
# that spreads a library over several machines.
ZVM_TEST_PACKAGES=(xvfb xauth xdotool xclip x11-utils ffmpeg qt6-translations-l10n parallel rsync)
# A private session bus and its monitor, to read the task bar progress as a desktop would.
ZVM_TEST_PACKAGES+=(dbus-daemon dbus-bin)
# Packaging and hardening: the Debian package's tools, the desktop and AppStream validators, and
# clang with its libFuzzer runtime and clang-tidy.
ZVM_CHECK_PACKAGES=(dpkg-dev desktop-file-utils appstream clang libclang-rt-14-dev clang-tidy)

# Installs whatever of the given packages is missing; does nothing when all are there.
zvm_ensure_packages() {
    local missing=()
    local pkg
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing missing packages: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
