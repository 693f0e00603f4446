#!/bin/sh
# The HTML output wizard end to end under Xvfb: QLTWIN on the sample, the
# wizard opened from the file menu, "階層カード型HTML" chosen, "次へ" twice,
# a destination typed and "完了"; the pages it wrote are rendered by headless
# Chromium and must show the sample's texts. Then "HTMLウイザード再実行"
# (Ctrl+M) runs straight through into the remembered folder and rewrites
# nothing, and closing QLTWIN leaves the chosen mode in the settings file.
# Usage: wizard-e2e.sh BIN_DIR OUT (screenshots and DOM dumps go to OUT)
# Exit 0 passed, 1 failed, 77 skipped (a tool is missing).
set -u
bin=$(cd "$1" && pwd)
out=$2

. "$(dirname "$0")/../../support/xwindows.sh"
need_tools Xvfb xdotool
browser=$(command -v chromium || command -v chromium-browser || true)
if [ -z "$browser" ]; then
    echo "SKIP: chromium is not installed (Debian package chromium; make deps installs it)"; exit 77
fi

rm -rf "$out"
mkdir -p "$out"
start_session

# A fresh home and program folder that this version has seen before: no
# welcome, no first-run notice, the delivered default template.
fresh_home
version=$("$bin/qltcard" --version | grep -o '[0-9][0-9]*\.[0-9][0-9]*\.[0-9][0-9]*' | head -1)
seen_version "$version"
cp "$bin/HinaDefault.qlw" "$work/program/"
cp "$bin/sample.qlw" "$work/cards/sample.qlw"
site="$work/site"

fail() {
    echo "wizard-e2e: FAIL: $*"
    command -v import >/dev/null && import -window root "$out/failure.png"
    exit 1
}
shot() { command -v import >/dev/null && import -window root "$out/$1.png"; }
gone() {
    i=0
    while [ $i -lt 300 ]; do
        xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
        i=$((i + 1)); sleep 0.2
    done
    return 1
}
listing() { find "$site" -type f -exec stat -c '%n %Y %s' {} + | sort; }

"$bin/QLTWIN" "$work/cards/sample.qlw" >"$work/qltwin.log" 2>&1 &
qltwin_pid=$!
echo $qltwin_pid >>"$work/pids"
main=$(window 'sample.qlw') || fail "QLTWIN did not open the sample: $(cat "$work/qltwin.log")"
sleep 0.5

# "ファイル(&F)" → "HTMLウイザード(&7)"
press "$main" alt+f
sleep 0.3
xdotool key 7
wiz=$(window 'HTML出力 ウイザード') || fail "the wizard did not open"
sleep 0.3
shot wizard-0-modes
press "$wiz" alt+l # 階層カード型HTML(&L)
press "$wiz" alt+n
sleep 0.3
shot wizard-1-template
press "$wiz" alt+n
sleep 0.3
xdotool type --delay 20 "$site"
shot wizard-2-destination
press "$wiz" alt+f # 完了(&F)
gone 'HTML出力 ウイザード' || fail "the wizard did not end"
shot main-after-run

[ -f "$site/index.html" ] || fail "no root index page in $site"
card=$(find "$site" -name 'qlt000000.html' -path '*qlt000000/*' | head -1)
[ -n "$card" ] || fail "no card page in $site"

status=0
render() {
    profile=$(mktemp -d)
    flags="--headless --no-sandbox --disable-gpu --disable-background-networking --disable-component-update
           --disable-sync --no-first-run --hide-scrollbars --host-resolver-rules=MAP*~NOTFOUND --user-data-dir=$profile"
    # shellcheck disable=SC2086
    "$browser" $flags --dump-dom "file://$1" >"$out/$2.dom" 2>/dev/null
    # shellcheck disable=SC2086
    "$browser" $flags --window-size=1280,900 --screenshot="$out/$2.png" "file://$1" >/dev/null 2>&1
    rm -rf "$profile"
    for t in $3; do
        grep -q "$t" "$out/$2.dom" || { echo "wizard-e2e: $2 lacks \"$t\""; status=1; }
    done
    if grep -q "$(printf '\357\277\275')" "$out/$2.dom"; then
        echo "wizard-e2e: $2 holds U+FFFD"; status=1
    fi
}
render "$site/index.html" wizard-index "定例会議の議事録 見積書の送付"
render "$card" wizard-card "定例会議の議事録 出席：田中、佐藤、鈴木"

# Ctrl+M: straight through into the remembered folder; nothing changed, so
# nothing is rewritten.
listing >"$work/before"
sleep 1.1
press "$main" ctrl+m
sleep 1
gone 'HTML出力 ウイザード' || fail "the wizard run again did not end"
listing >"$work/after"
cmp -s "$work/before" "$work/after" || { echo "wizard-e2e: the unchanged run rewrote pages:";
    diff "$work/before" "$work/after" | head; status=1; }

# Closing the window saves the settings with the wizard's choices (the
# sample's AUTOOPEN card has an editor open: its question is answered Yes).
press "$main" ctrl+w
sleep 1
question=$(xdotool search --onlyvisible --name '^QLTWIN$' 2>/dev/null | head -1)
[ -n "$question" ] && press "$question" alt+y
i=0
while kill -0 "$qltwin_pid" 2>/dev/null && [ $i -lt 50 ]; do i=$((i + 1)); sleep 0.2; done
kill -0 "$qltwin_pid" 2>/dev/null && fail "QLTWIN did not close"
qltwin_pid=
grep -q '^HTMLMode = 1' "$work/program/QLTWIN.ini" || { echo "wizard-e2e: HTMLMode not stored"; status=1; }
grep -q "^HinagataFileName = $work/program/HinaDefault.qlw" "$work/program/QLTWIN.ini" ||
    { echo "wizard-e2e: HinagataFileName not stored"; status=1; }

[ $status = 0 ] && echo "wizard-e2e: the wizard wrote $(find "$site" -type f | wc -l) files, rendered to $out"
exit $status
