# Shell helpers for the checks that drive the real programs under Xvfb with
# xdotool; sourced by the *-e2e.sh checks and packaging/check-install.sh.

# Skips the check (status 77) unless every tool named is installed.
need_tools() {
    for tool in "$@"; do
        if ! command -v "$tool" >/dev/null 2>&1; then
            echo "SKIP: $tool is not installed (make deps installs it)"; exit 77
        fi
    done
}

# A scratch folder $work and an X display of our own ($1: WIDTHxHEIGHT,
# 1024x768 when not given): QLT_E2E_DISPLAY's number, else the first free
# one from 120 on. The server does not reset when its last client goes (an
# X server's default): a program started again just after the one before
# ended would otherwise find no display while it resets. When the check ends,
# every process listed in $work/pids, the display and the folder go.
start_session() {
    work=$(mktemp -d /tmp/qlt-e2e-XXXXXX)
    xvfb_pid=
    trap end_session EXIT INT TERM
    n=${QLT_E2E_DISPLAY:-}
    if [ -z "$n" ]; then
        n=120
        while [ -e /tmp/.X$n-lock ] || [ -e /tmp/.X11-unix/X$n ]; do n=$((n + 1)); done
    fi
    Xvfb :$n -screen 0 "${1:-1024x768}x24" -nolisten tcp -noreset >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=:$n
    i=0
    until xdotool getmouselocation >/dev/null 2>&1; do
        i=$((i + 1)); [ $i -gt 50 ] && { echo "FAIL: Xvfb did not start"; exit 1; }
        sleep 0.2
    done
}

# The server is waited for: until it has gone, its number is not free for
# the next check.
end_session() {
    for pid in $(cat "$work/pids" 2>/dev/null); do kill "$pid" 2>/dev/null; done
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null
        wait "$xvfb_pid" 2>/dev/null
    fi
    rm -rf "$work"
}

# A fresh home and program folder under $work, and the folder "cards".
fresh_home() {
    mkdir -p "$work/home/.config/Orvale SoftWares" "$work/program" "$work/cards"
    export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
    export XDG_CACHE_HOME="$work/home/.cache" QLT_HOME="$work/program"
    unset XDG_CURRENT_DESKTOP DESKTOP_SESSION XDG_DATA_DIRS QT_QPA_PLATFORM
}

# The home has run version $1 (MAJOR.MINOR.REVISION) before: no welcome, and
# the general settings exist, so no first-run notice either.
seen_version() {
    echo "$1" | awk -F. '{ printf "[General]\nEXEVer=%d\n", $1 * 10000 + $2 * 100 + $3 }' \
        >"$work/home/.config/Orvale SoftWares/QLT@WIN.conf"
    printf '[General]\r\n' >"$work/program/QLTWIN.ini"
}

# The first visible window whose title matches $1, waited for up to 60 s.
window() {
    i=0
    while [ $i -lt 300 ]; do
        w=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1)
        [ -n "$w" ] && { echo "$w"; return 0; }
        i=$((i + 1)); sleep 0.2
    done
    return 1
}

# Sends the key $2 to the window $1.
press() {
    xdotool windowfocus --sync "$1" 2>/dev/null
    xdotool key --clearmodifiers "$2"
}

# Sends the key $2 to the message window $1 until it is gone (up to 30 s):
# on a busy machine a key that comes before the window takes input is lost.
dismiss() {
    press "$1" "$2"
    i=0
    while xdotool getwindowname "$1" >/dev/null 2>&1 \
        && xdotool search --onlyvisible --name . 2>/dev/null | grep -qx "$1"; do
        i=$((i + 1))
        [ $i -gt 150 ] && return 1
        [ $((i % 10)) -eq 0 ] && press "$1" "$2"
        sleep 0.2
    done
    return 0
}
