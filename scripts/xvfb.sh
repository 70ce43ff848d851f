# Sourced by the scripts that run the program on a screen: starts a virtual X server on a free display,
# and keeps the program's per-user files out of the user's own folders.
# It runs with -noreset, so the last client's exit does not reset it under the next one.

# Usage: zvm_start_xvfb [SCREEN]. Exports DISPLAY and sets ZVM_XVFB_PID (for the caller's trap).
zvm_start_xvfb() {
    local n
    for n in $(seq 150 250); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
        Xvfb ":$n" -screen 0 "${1:-1024x768x24}" -nolisten tcp -noreset >/dev/null 2>&1 &
        ZVM_XVFB_PID=$!
        export DISPLAY=":$n"
        for _ in $(seq 300); do # 30 seconds: a cold machine loads the server slowly
            xdpyinfo >/dev/null 2>&1 && return 0
            sleep 0.1
        done
        echo "the X server did not start" >&2
        return 1
    done
    echo "no free X display" >&2
    return 1
}

# Usage: zvm_private_user_folders DIR. The program keeps its queue, its cache of encoder answers and
# (when asked) its settings per user; a run that must not touch the user's own keeps them below DIR.
zvm_private_user_folders() {
    export XDG_DATA_HOME="$1/data" XDG_CONFIG_HOME="$1/config" XDG_CACHE_HOME="$1/cache"
}
