#!/bin/sh
# Drag and drop between programs, end to end under Xvfb with xdotool and a
# fresh home: two cards dragged out of one QLTWIN window (mouse down, move,
# up) arrive as cards in a second QLTWIN window; a file list dragged out of a
# second program (qlt_dragsource, a file manager's text/uri-list) arrives as
# a card too. The second window is saved and its file read back with
# qltcard dump.
# Usage: dragdrop-e2e.sh BIN_DIR DRAG_SOURCE [SHOT_DIR]
# QLT_E2E_DISPLAY chooses the X display number (else the first free from 120).
# Exit 0 passed, 1 failed, 77 skipped (a tool is missing).
set -u
bin=$(cd "$1" && pwd)
source_program=$2
shots=${3:-}
here=$(cd "$(dirname "$0")" && pwd)

. "$here/../../support/xwindows.sh"
need_tools Xvfb xdotool

start_session 1100x800

# A home where this version has run before: no welcome, no first-run notice.
fresh_home
export TMPDIR="$work"
version=$(sed -n 's/^set(QLT_VERSION_\(MAJOR\|MINOR\|REVISION\) \([0-9]*\))$/\2/p' "$here/../../../CMakeLists.txt" | tr '\n' ' ')
set -- $version
seen_version "$1.$2.$3"

fail() {
    echo "FAIL: $*"
    [ -n "$shots" ] && mkdir -p "$shots" && command -v import >/dev/null && import -window root "$shots/failure.png"
    exit 1
}
shot() {
    [ -n "$shots" ] && mkdir -p "$shots" && command -v import >/dev/null && import -window root "$shots/$1.png"
}

# Window A holds three cards, window B one (text card files; "：" is 0x81
# 0x46).
sep=$(printf '%078d' 0 | tr 0 -)
end=$(printf '%078d' 0 | tr 0 =)
cards() {
    for name in "$@"; do
        printf '@\r\n2001/05/06\201\106%s\r\n%s\r\nbody of %s\r\n%s\r\n' "$name" "$sep" "$name" "$end"
    done
}
cards Alpha Bravo Charlie >"$work/cards/a.qlt"
b="$work/cards/b.qlt"
cards Zulu >"$b"
printf 'dropped from a file\n' >"$work/cards/note.log"

# Drags with the pointer: down at $1,$2, moved in steps to $3,$4, up; $5,
# when given, names a screenshot taken just before the button goes up.
drag() {
    xdotool mousemove "$1" "$2"; sleep 0.3
    xdotool mousedown 1; sleep 0.3
    x=$1; y=$2; step=0
    while [ $step -lt 12 ]; do
        step=$((step + 1))
        xdotool mousemove $(($1 + ($3 - $1) * step / 12)) $(($2 + ($4 - $2) * step / 12))
        sleep 0.1
    done
    sleep 0.5
    [ $# -ge 5 ] && shot "$5"
    xdotool mouseup 1; sleep 1
}

"$bin/QLTWIN" "$work/cards/a.qlt" >"$work/a.log" 2>&1 &
echo $! >>"$work/pids"
wa=$(window 'a\.qlt') || fail "window A did not open"
"$bin/QLTWIN" "$b" >"$work/b.log" 2>&1 &
echo $! >>"$work/pids"
wb=$(window 'b\.qlt') || fail "window B did not open"
xdotool windowmove --sync "$wa" 0 0 windowsize --sync "$wa" 520 420
xdotool windowmove --sync "$wb" 560 0 windowsize --sync "$wb" 520 420
sleep 1
shot 1-two-windows

# The list's rows, found from the window's place: the first card row lies
# QLT_E2E_ROW0 pixels below the window's top, rows QLT_E2E_ROWH apart, the
# list starting QLT_E2E_LISTX from the left.
row0=${QLT_E2E_ROW0:-105}
rowh=${QLT_E2E_ROWH:-18}
listx=${QLT_E2E_LISTX:-200}

# Select Alpha, Ctrl+click Charlie, drag them onto B's Zulu: they go before it.
xdotool mousemove $listx $row0 click 1; sleep 0.3
xdotool mousemove $listx $((row0 + 2 * rowh)) keydown ctrl click 1 keyup ctrl; sleep 0.3
shot 2-selected
drag $listx $((row0 + 2 * rowh)) $((560 + listx)) $row0 3-dragging-cards
shot 3-dropped-cards

# The file list of a second program, dropped on B.
"$source_program" "$work/cards/note.log" >"$work/source.log" 2>&1 &
source_pid=$!
echo $source_pid >>"$work/pids"
ws=$(window '^QLT drag source$') || fail "the drag source did not open"
xdotool windowmove --sync "$ws" 300 520
sleep 0.5
drag 400 580 $((560 + listx)) $((row0 + 6 * rowh)) 4-dragging-file
shot 4-dropped-file
wait $source_pid
[ $? -eq 0 ] || fail "the second program's drag was refused"

press "$wb" ctrl+s
sleep 2
shot 5-saved
[ "$(grep -c '^@' "$b")" -eq 4 ] || fail "window B was not saved"
dump=$("$bin/qltcard" dump "$b") || fail "qltcard could not read $b"
echo "$dump"
echo "$dump" | grep -q '"title":"[^"]*Alpha"' || fail "Alpha did not arrive"
echo "$dump" | grep -q '"title":"[^"]*Charlie"' || fail "Charlie did not arrive"
echo "$dump" | grep -q '"title":"[^"]*Bravo"' && fail "Bravo was not selected and arrived"
echo "$dump" | grep -q '"title":"[^"]*note","remarks":"note.log","content":"dropped from a file' \
    || fail "the dropped file did not become a card"
order=$(echo "$dump" | sed -n 's/.*"title":"[^"]*：\([A-Za-z]*\)".*/\1/p' | tr '\n' ' ')
[ "$order" = "Alpha Charlie Zulu note " ] || fail "B holds the cards in the order $order"
[ "$(echo "$dump" | grep -c '"title"')" -eq 4 ] || fail "B does not hold exactly four cards"
# Window B took the cards as text: no drag file was made for it.
ls "$work"/QLTWIN-* >/dev/null 2>&1 && fail "a drag file was made for a drop into another window"

# The same two cards dragged from A into another program that takes text as
# a text editor does and files as a file manager does.
mkdir -p "$work/received"
"$source_program" --receive "$work/received" >"$work/target.log" 2>&1 &
target_pid=$!
echo $target_pid >>"$work/pids"
wt=$(window '^QLT drop target$') || fail "the drop target did not open"
xdotool windowmove --sync "$wt" 300 520
sleep 0.5
drag $listx $((row0 + 2 * rowh)) 400 580 6-dragging-out
wait $target_pid
[ $? -eq 0 ] || fail "the drop target did not take the drop"
grep -q 'Alpha' "$work/received/dropped.txt" && grep -q 'Charlie' "$work/received/dropped.txt" \
    || fail "the text of the cards did not arrive: $(cat "$work/received/dropped.txt" 2>/dev/null)"
file=$(ls "$work/received/"*Charlie.qlt 2>/dev/null | head -1)
[ -n "$file" ] || fail "no card file named after the current card arrived: $(ls "$work/received")"
[ "$(grep -c '^@' "$file")" -eq 2 ] || fail "the card file does not hold the two cards"
"$bin/qltcard" dump "$file" | grep -q 'Alpha' || fail "qltcard cannot read the dragged card file"

echo "PASS: two cards dragged between two windows and out to another program as text and a card file; a file list dragged in from another program"
exit 0
