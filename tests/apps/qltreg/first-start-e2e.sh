#!/bin/sh
# The first start of a version, end to end under Xvfb, with a fresh home:
# QLTWIN on a card file welcomes the person and hands over to QLTReg; the
# wizard is walked with "次へ" four times and finished; QLTWIN comes back on
# the same file, and the ticked card types are registered for the person.
# Usage: first-start-e2e.sh BIN_DIR [SHOT_DIR]
# Exit 0 passed, 1 failed, 77 skipped (a tool is missing).
set -u
bin=$(cd "$1" && pwd)
shots=${2:-}

. "$(dirname "$0")/../../support/xwindows.sh"
need_tools Xvfb xdotool

start_session

fresh_home
card="$work/cards/sample card.qlw"
cp "$bin/sample.qlw" "$card"

fail() {
    echo "FAIL: $*"
    # What the programs said and which windows were up, for a failure that
    # does not come back when the check runs alone.
    for log in "$work"/*.log; do
        [ -s "$log" ] && { echo "--- $(basename "$log"):"; cat "$log"; }
    done
    echo "--- visible windows:"
    for id in $(xdotool search --onlyvisible --name '.' 2>/dev/null); do xdotool getwindowname "$id" 2>/dev/null; done
    [ -n "$shots" ] && mkdir -p "$shots" && command -v import >/dev/null && import -window root "$shots/failure.png"
    exit 1
}
shot() {
    [ -n "$shots" ] && mkdir -p "$shots" && command -v import >/dev/null && import -window root "$shots/$1.png"
}
gone() {
    i=0
    while [ $i -lt 150 ]; do
        xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
        i=$((i + 1)); sleep 0.2
    done
    return 1
}
remember() { xdotool getwindowpid "$1" >>"$work/pids" 2>/dev/null; }

"$bin/QLTWIN" "$card" >"$work/qltwin1.log" 2>&1 &
echo $! >>"$work/pids"

w=$(window '^QLTWIN$') || fail "no welcome message"
shot 1-welcome
dismiss "$w" Return || fail "the welcome message did not close"

wiz=$(window 'Infomation Wizard') || fail "the wizard did not open"
remember "$wiz"
shot 2-wizard-step0
for step in 1 2 3 4; do
    press "$wiz" alt+n
    sleep 0.5
done
shot 3-wizard-step4
press "$wiz" alt+n
gone 'Infomation Wizard' || fail "the wizard did not end"

# QLTWIN again: the first-run notice, then the main window on the same file.
w=$(window '^QLTWIN$') || fail "no first-run notice from the second QLTWIN"
remember "$w"
dismiss "$w" Return || fail "the first-run notice did not close"
main=$(window 'sample card') || fail "QLTWIN did not come back on the card file"
remember "$main"
shot 4-main-window

list="$XDG_CONFIG_HOME/mimeapps.list"
grep -qx 'application/x-qltwin-card=QLTWIN.desktop;' "$list" || fail "qlw is not registered: $(cat "$list" 2>/dev/null)"
grep -qx 'text/x-qltwin-card=QLTWIN.desktop;' "$list" || fail "qlt is not registered"
grep -q 'x-mynote-card\|text/csv' "$list" && fail "an unticked type was registered"
grep -q "^Exec=$bin/QLTWIN %f\$" "$XDG_DATA_HOME/applications/QLTWIN.desktop" || fail "desktop entry does not start $bin/QLTWIN"
[ -f "$XDG_DATA_HOME/QLTWIN/Favorites/QLT@WINのページ.url" ] || fail "no favourites"

# Opening another card file the desktop's way starts QLTWIN on it.
if command -v xdg-open >/dev/null 2>&1; then
    other="$work/cards/other card.qlw"
    cp "$bin/sample.qlw" "$other"
    xdg-open "$other" >"$work/xdg-open.log" 2>&1 &
    # The general settings are written when the first window closes, so this
    # QLTWIN may give the first-run notice once more.
    i=0
    while [ $i -lt 300 ] && ! xdotool search --onlyvisible --name 'other card' >/dev/null 2>&1; do
        w=$(xdotool search --onlyvisible --name '^QLTWIN$' 2>/dev/null | head -1)
        [ -n "$w" ] && press "$w" Return
        i=$((i + 1)); sleep 0.2
    done
    w=$(window 'other card') || fail "xdg-open did not start QLTWIN on the card file: $(cat "$work/xdg-open.log")"
    remember "$w"
    shot 5-xdg-open
else
    echo "xdg-open is not installed (xdg-utils): opening by the desktop not checked"
fi

echo "PASS: welcome, wizard, QLTWIN on the same file; qlw and qlt registered and opened by xdg-open"
exit 0
