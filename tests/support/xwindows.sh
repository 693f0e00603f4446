# Shell helpers for the checks that drive the real programs under Xvfb with
# xdotool; sourced by tests/apps/qltreg/first-start-e2e.sh and
# packaging/check-install.sh.

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
